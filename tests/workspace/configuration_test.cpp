#include "foundation/errors.h"
#include "foundation/packet_file.h"
#include "foundation/streams.h"
#include "support/file_size_limit.h"
#include "workspace/configuration_file.h"
#include "workspace/configuration_store.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace corvid {
namespace {

namespace fs = std::filesystem;

TEST(ConfigurationStore, AReadOfAMissingKeyAddsItWithItsDefault) {
    TConfigurationStore store;
    int changes = 0;
    store.OnChanged = [&] { ++changes; };
    EXPECT_EQ(store.GetString("A\\B", "x"), "x");
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(store.GetString("A\\B", "y"), "x");
    EXPECT_EQ(changes, 1) << "a read of an existing key changes nothing";
    store.SetString("a\\b", "other case");
    ASSERT_EQ(store.Keys().Count(), 2);
    EXPECT_EQ(store.Keys()[1]->Name, "a\\b");
    EXPECT_EQ(changes, 2);
}

TEST(ConfigurationStore, NumbersConvertOrFallBackToTheDefault) {
    TConfigurationStore store;
    const struct {
        const char* stored;
        int integer;
    } integers[] = {{"42", 42}, {" -7 ", -7}, {"+3", 3},           {"12abc", 99},
                    {"", 99},   {"$10", 99},  {"99999999999", 99}, {"1.5", 99}};
    for (const auto& c : integers) {
        store.SetString("I", c.stored);
        EXPECT_EQ(store.GetInteger("I", 99), c.integer) << c.stored;
        EXPECT_EQ(store.GetString("I", ""), c.stored) << "the stored text stays";
    }
    const struct {
        const char* stored;
        double value;
    } floats[] = {{"2.5", 2.5}, {"2,5", 2.5}, {"-1e3", -1000}, {"x", 7.25}};
    for (const auto& c : floats) {
        store.SetString("F", c.stored);
        EXPECT_DOUBLE_EQ(store.GetFloat("F", 7.25), c.value) << c.stored;
    }
    store.SetFloat("F", 0.1);
    EXPECT_EQ(store.GetString("F", ""), "0.1");
    EXPECT_EQ(store.GetInteger("New", 5), 5);
    EXPECT_EQ(store.GetString("New", ""), "5");
}

TEST(ConfigurationStore, ValueTextStaysValidUntilItsKeyChanges) {
    TConfigurationStore store;
    const char* text = store.ValueText("Device\\Port", "B");
    for (int index = 0; index < 1000; ++index)
        store.SetInteger("Other\\" + std::to_string(index), index);
    EXPECT_STREQ(text, "B");
}

class ConfigurationFile : public ::testing::Test {
protected:
    fs::path Dir;
    TConfigurationStore Store;
    TShellOptions Shell;
    TTextEditorOptions Editor;
    TObjectList<TTextEditorTemplate> Templates;
    TConfiguration Configuration{Store, Shell, Editor, Templates, nullptr};

    void SetUp() override {
        char name[] = "/tmp/corvid-config-XXXXXX";
        Dir = mkdtemp(name);
    }
    void TearDown() override { fs::remove_all(Dir); }

    std::string Path(const char* name) const { return (Dir / name).string(); }

    static std::string ReadBytes(const std::string& path) {
        std::ifstream in(path, std::ios::binary);
        return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    }
    static void WriteBytes(const std::string& path, const std::string& bytes) {
        std::ofstream(path, std::ios::binary) << bytes;
    }

    // A configuration file with the given packets inside "Data".
    static std::string FileWith(const std::function<void(TPacketWriter&)>& packets) {
        TKMemStream memory;
        memory.WriteText("CRV ");
        memory.WriteInteger(0);
        TPacketWriter writer(memory);
        writer.OpenPacket("Data");
        packets(writer);
        writer.ClosePacket();
        writer.Finish();
        return std::string(reinterpret_cast<const char*>(memory.Memory()),
                           static_cast<size_t>(memory.Size()));
    }
};

TEST_F(ConfigurationFile, RoundTripsEverySetting) {
    Store.SetString("Hardware\\Manager\\Active Simulator\\Index", "1");
    Store.SetInteger("Configuration\\Editor\\Docking windows\\Messages\\Visible", 0);
    Shell.SearchPath = "/home/me/include;";
    Shell.InitialDirectory = "/home/me";
    Shell.CreateBackups = true;
    Shell.ReservedText = "kept";
    Shell.AutoCheckFileDates = false;
    Shell.DoubleClickSelectsLine = true;
    Editor.TabSize = 8;
    Editor.SmartTabs = false;
    Editor.LeftColumnMargin = 3;
    Editor.VisibleEOFColor = 0x0000FF;
    auto* codeTemplate = new TTextEditorTemplate;
    codeTemplate->Name = "loop";
    codeTemplate->Text = "LOOP\r  DECB\r  BNE LOOP";
    codeTemplate->ExpandVariables = false;
    Templates.Add(codeTemplate);

    SaveConfiguration(Path("default.cfg"), false, Configuration);
    EXPECT_EQ(ReadBytes(Path("default.cfg")).substr(0, 8), std::string("CRV \0\0\0\0", 8));

    TConfigurationStore store;
    TShellOptions shell;
    TTextEditorOptions editor;
    TObjectList<TTextEditorTemplate> templates;
    TConfiguration read{store, shell, editor, templates, nullptr};
    LoadConfiguration(Path("default.cfg"), false, read);
    ASSERT_EQ(store.Keys().Count(), 2);
    EXPECT_EQ(store.GetString("Hardware\\Manager\\Active Simulator\\Index", ""), "1");
    EXPECT_EQ(shell.SearchPath, Shell.SearchPath);
    EXPECT_EQ(shell.InitialDirectory, Shell.InitialDirectory);
    EXPECT_TRUE(shell.CreateBackups);
    EXPECT_EQ(shell.ReservedText, "kept");
    EXPECT_FALSE(shell.AutoCheckFileDates);
    EXPECT_TRUE(shell.DoubleClickSelectsLine);
    EXPECT_EQ(editor.TabSize, 8);
    EXPECT_FALSE(editor.SmartTabs);
    EXPECT_EQ(editor.LeftColumnMargin, 3);
    EXPECT_EQ(editor.VisibleEOFColor, 0x0000FFu);
    ASSERT_EQ(templates.Count(), 1);
    EXPECT_EQ(templates[0]->Name, "loop");
    EXPECT_EQ(templates[0]->Text, "LOOP\r  DECB\r  BNE LOOP");
    EXPECT_FALSE(templates[0]->ExpandVariables);
}

TEST_F(ConfigurationFile, KeysReplaceTheWholeStore) {
    Store.SetString("From\\Default", "old");
    WriteBytes(Path("p.crv"), FileWith([](TPacketWriter& w) {
                   w.OpenPacket("Keys");
                   w.WriteInteger(0);
                   w.WriteInteger(3);
                   for (const char* name : {"A", "B", "A"}) {
                       w.WriteString(name);
                       w.WriteString(std::string("value of ") + name);
                   }
                   w.ClosePacket();
               }));
    LoadConfiguration(Path("p.crv"), true, Configuration);
    ASSERT_EQ(Store.Keys().Count(), 3);
    EXPECT_EQ(Store.GetString("From\\Default", "gone"), "gone");
    Store.SetString("A", "changed");
    EXPECT_EQ(Store.Keys()[0]->Value, "changed") << "the first of duplicates is the one used";
    EXPECT_EQ(Store.Keys()[2]->Value, "value of A");
}

TEST_F(ConfigurationFile, UnknownPacketsAndOtherTemplateVersionsAreSkipped) {
    auto* kept = new TTextEditorTemplate;
    kept->Name = "kept";
    Templates.Add(kept);
    WriteBytes(Path("f.cfg"), FileWith([](TPacketWriter& w) {
                   w.OpenPacket("Future Packet");
                   w.WriteString("whatever");
                   w.ClosePacket();
                   w.OpenPacket("Templates");
                   w.WriteInteger(1);
                   w.WriteInteger(0);
                   w.ClosePacket();
                   w.OpenPacket("Options");
                   w.WriteInteger(0);
                   w.WriteString("/search;");
                   w.ClosePacket();
               }));
    LoadConfiguration(Path("f.cfg"), false, Configuration);
    ASSERT_EQ(Templates.Count(), 1);
    EXPECT_EQ(Templates[0]->Name, "kept");
    EXPECT_EQ(Shell.SearchPath, "/search;");
    EXPECT_TRUE(Shell.AutoCheckFileDates) << "version 0 has no item 7";
}

TEST_F(ConfigurationFile, BadFilesRaiseTheirMessageAndKeepWhatWasReadBefore) {
    const auto keys = [](int version, int count) {
        return [=](TPacketWriter& w) {
            w.OpenPacket("Options");
            w.WriteInteger(1);
            w.WriteString("read before");
            w.ClosePacket();
            w.OpenPacket("Keys");
            w.WriteInteger(version);
            w.WriteInteger(count);
            w.WriteString("K");
            w.WriteString("V");
            w.ClosePacket();
        };
    };
    std::string brokenHeader = FileWith(keys(0, 1));
    brokenHeader[34] = '\x7f'; // the high byte of the "Options" payload size
    const struct {
        const char* what;
        std::string bytes;
        const char* message;
    } cases[] = {
        {"magic", "CRX \0\0\0\0", "Invalid Project File"},
        {"short", "CR", "Invalid Project File"},
        {"version", std::string("CRV \1\0\0\0", 8), "Invalid Project Version"},
        {"keys version", FileWith(keys(2, 1)), "Invalid \"Keys\" Version"},
        {"negative count", FileWith(keys(0, -1)), "Invalid \"Keys\" Version"},
        {"count past the packet", FileWith(keys(0, 1000000000)), "Invalid \"Keys\" Version"},
        {"broken packet header", brokenHeader, "Invalid Project File"},
    };
    for (const auto& c : cases) {
        Shell.SearchPath = "unchanged";
        Store.SetString("Existing", "1");
        WriteBytes(Path("bad.cfg"), c.bytes);
        try {
            LoadConfiguration(Path("bad.cfg"), false, Configuration);
            FAIL() << c.what;
        } catch (const Error& error) {
            EXPECT_STREQ(error.what(), c.message) << c.what;
        }
        EXPECT_EQ(Store.GetString("Existing", "gone"), "1") << c.what;
        if (std::string(c.what).find("count") != std::string::npos) {
            EXPECT_EQ(Shell.SearchPath, "read before") << c.what;
        }
    }
}

TEST_F(ConfigurationFile, AFileWithoutDataLoadsNothing) {
    WriteBytes(Path("empty.cfg"), std::string("CRV \0\0\0\0", 8));
    Store.SetString("Kept", "1");
    LoadConfiguration(Path("empty.cfg"), false, Configuration);
    EXPECT_EQ(Store.Keys().Count(), 1);
}

TEST_F(ConfigurationFile, HostileOptionValuesAreBounded) {
    WriteBytes(Path("e.cfg"), FileWith([](TPacketWriter& w) {
                   w.OpenPacket("Editor");
                   w.WriteInteger(0);
                   w.WriteInteger(5);
                   w.WriteInteger(10);
                   w.WriteInteger(1000000);
                   w.ClosePacket();
               }));
    LoadConfiguration(Path("e.cfg"), false, Configuration);
    EXPECT_EQ(Editor.TabSize, 32);
}

TEST_F(ConfigurationFile, ASaveIsAllOrNothing) {
    WriteBytes(Path("default.cfg"), "old contents");
    Store.SetString("K", std::string(100000, 'v'));
    {
        testing::FileSizeLimit limit(4096);
        EXPECT_THROW(SaveConfiguration(Path("default.cfg"), false, Configuration), Error);
    }
    EXPECT_EQ(ReadBytes(Path("default.cfg")), "old contents");
    EXPECT_EQ(std::distance(fs::directory_iterator(Dir), fs::directory_iterator()), 1);
}

} // namespace
} // namespace corvid
