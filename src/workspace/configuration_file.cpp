#include "workspace/configuration_file.h"

#include "foundation/errors.h"
#include "foundation/file_stream.h"
#include "foundation/packet_file.h"
#include "workspace/configuration_store.h"

#include <algorithm>
#include <cstring>

namespace corvid {

namespace {

constexpr int ConfigurationBufferSize = 256;
constexpr char Magic[] = "CRV ";

// A failure with the text the user sees; anything else the packet layer raises means the
// file's structure is broken.
class EConfigurationError : public Error {
public:
    using Error::Error;
};

[[noreturn]] void InvalidVersion(const std::string& packet) {
    throw EConfigurationError("Invalid \"" + packet + "\" Version");
}

std::string ReadText(TPacketReader& reader) {
    std::string text;
    reader.ReadString(text);
    return text;
}

// A count read from a packet may claim no more records than the bytes left could hold.
int ReadCount(TPacketReader& reader, int smallestRecord, const std::string& packet) {
    const int count = reader.ReadInteger();
    if (count < 0 || static_cast<int64_t>(count) * smallestRecord > reader.BytesLeft())
        InvalidVersion(packet);
    return count;
}

// Options and texts read from a hostile file are kept within what the editor can use: a tab
// width of a million would turn every tab into a megabyte.
int Bounded(int value, int low, int high) {
    return std::clamp(value, low, high);
}

void ReadOptions(TPacketReader& reader, TShellOptions& target) {
    const int version = reader.ReadInteger();
    if (version != 0 && version != 1)
        InvalidVersion("Options");
    TShellOptions options = target;
    options.SearchPath = ReadText(reader);
    options.InitialDirectory = ReadText(reader);
    options.ReservedFlag = reader.ReadBoolean();
    options.CreateBackups = reader.ReadBoolean();
    options.ReservedText = ReadText(reader);
    if (version >= 1)
        options.AutoCheckFileDates = reader.ReadBoolean();
    target = options;
}

void WriteOptions(TPacketWriter& writer, const TShellOptions& options) {
    writer.OpenPacket("Options");
    writer.WriteInteger(1);
    writer.WriteString(options.SearchPath);
    writer.WriteString(options.InitialDirectory);
    writer.WriteBoolean(options.ReservedFlag);
    writer.WriteBoolean(options.CreateBackups);
    writer.WriteString(options.ReservedText);
    writer.WriteBoolean(options.AutoCheckFileDates);
    writer.ClosePacket();
}

void ReadEditor(TPacketReader& reader, TConfiguration& configuration) {
    const int version = reader.ReadInteger();
    if (version != 0 && version != 1)
        InvalidVersion("Editor");
    TTextEditorOptions editor = configuration.Editor;
    TShellOptions shell = configuration.Shell;
    editor.LineScrollThreshold = Bounded(reader.ReadInteger(), 0, 1000);
    editor.ColumnScrollThreshold = Bounded(reader.ReadInteger(), 0, 1000);
    editor.TabSize = Bounded(reader.ReadInteger(), 1, 32);
    editor.SmartTabs = reader.ReadBoolean();
    editor.AutoIndent = reader.ReadBoolean();
    editor.RemoveTrailingBlanks = reader.ReadBoolean();
    editor.ScrollThresholdEnabled = reader.ReadBoolean();
    editor.UndoAfterSave = reader.ReadBoolean();
    shell.DoubleClickSelectsLine = reader.ReadBoolean();
    shell.AutosaveDesktop = reader.ReadBoolean();
    if (version >= 1) {
        editor.ShowModifiedLines = reader.ReadBoolean();
        editor.VisibleEOF = reader.ReadBoolean();
        editor.LeftColumnMargin = Bounded(reader.ReadInteger(), 0, 40);
        editor.VisibleEOFColor = static_cast<TColor>(reader.ReadInteger());
        editor.ShowModifiedLinesColor = static_cast<TColor>(reader.ReadInteger());
    }
    configuration.Editor = editor;
    configuration.Shell = shell;
}

void WriteEditor(TPacketWriter& writer, const TConfiguration& configuration) {
    const TTextEditorOptions& editor = configuration.Editor;
    writer.OpenPacket("Editor");
    writer.WriteInteger(1);
    writer.WriteInteger(editor.LineScrollThreshold);
    writer.WriteInteger(editor.ColumnScrollThreshold);
    writer.WriteInteger(editor.TabSize);
    writer.WriteBoolean(editor.SmartTabs);
    writer.WriteBoolean(editor.AutoIndent);
    writer.WriteBoolean(editor.RemoveTrailingBlanks);
    writer.WriteBoolean(editor.ScrollThresholdEnabled);
    writer.WriteBoolean(editor.UndoAfterSave);
    writer.WriteBoolean(configuration.Shell.DoubleClickSelectsLine);
    writer.WriteBoolean(configuration.Shell.AutosaveDesktop);
    writer.WriteBoolean(editor.ShowModifiedLines);
    writer.WriteBoolean(editor.VisibleEOF);
    writer.WriteInteger(editor.LeftColumnMargin);
    writer.WriteInteger(static_cast<int32_t>(editor.VisibleEOFColor));
    writer.WriteInteger(static_cast<int32_t>(editor.ShowModifiedLinesColor));
    writer.ClosePacket();
}

void ReadKeys(TPacketReader& reader, TConfigurationStore& store) {
    if (reader.ReadInteger() != 0)
        InvalidVersion("Keys");
    const int count = ReadCount(reader, 8, "Keys");
    TObjectList<TKey> keys;
    for (int index = 0; index < count; ++index) {
        auto* key = new TKey;
        keys.Add(key);
        key->Name = ReadText(reader);
        key->Value = ReadText(reader);
    }
    store.Replace(keys);
}

void WriteKeys(TPacketWriter& writer, const TConfigurationStore& store) {
    writer.OpenPacket("Keys");
    writer.WriteInteger(0);
    writer.WriteInteger(store.Keys().Count());
    for (const TKey* key : store.Keys()) {
        writer.WriteString(key->Name);
        writer.WriteString(key->Value);
    }
    writer.ClosePacket();
}

// Template bodies keep their lines separated by carriage returns.
void ReadTemplates(TPacketReader& reader, TObjectList<TTextEditorTemplate>& templates) {
    if (reader.ReadInteger() != 0)
        return; // another version leaves the templates as they are
    const int count = ReadCount(reader, 7 * 4 + 1, "Templates");
    TObjectList<TTextEditorTemplate> read;
    for (int index = 0; index < count; ++index) {
        auto* codeTemplate = new TTextEditorTemplate;
        read.Add(codeTemplate);
        codeTemplate->Name = ReadText(reader);
        codeTemplate->Description = ReadText(reader);
        codeTemplate->FileMask = ReadText(reader);
        codeTemplate->Parameter = ReadText(reader);
        codeTemplate->ParameterPrompt = ReadText(reader);
        codeTemplate->DefaultParameter = ReadText(reader);
        codeTemplate->Text = ReadText(reader);
        codeTemplate->ExpandVariables = reader.ReadBoolean();
    }
    templates.Clear();
    for (TTextEditorTemplate* codeTemplate : read)
        templates.Add(codeTemplate);
    read.OwnsObjects = false;
}

void WriteTemplates(TPacketWriter& writer, const TObjectList<TTextEditorTemplate>& templates) {
    writer.OpenPacket("Templates");
    writer.WriteInteger(0);
    writer.WriteInteger(templates.Count());
    for (const TTextEditorTemplate* codeTemplate : templates) {
        writer.WriteString(codeTemplate->Name);
        writer.WriteString(codeTemplate->Description);
        writer.WriteString(codeTemplate->FileMask);
        writer.WriteString(codeTemplate->Parameter);
        writer.WriteString(codeTemplate->ParameterPrompt);
        writer.WriteString(codeTemplate->DefaultParameter);
        writer.WriteString(codeTemplate->Text);
        writer.WriteBoolean(codeTemplate->ExpandVariables);
    }
    writer.ClosePacket();
}

void ReadPacketContent(const std::string& name, bool full, TPacketReader& reader,
                       TConfiguration& configuration) {
    if (name == "Options")
        ReadOptions(reader, configuration.Shell);
    else if (name == "Editor")
        ReadEditor(reader, configuration);
    else if (name == "Keys")
        ReadKeys(reader, configuration.Store);
    else if (name == "Templates")
        ReadTemplates(reader, configuration.Templates);
    else if (full && configuration.Project)
        configuration.Project->Read(name, reader);
}

void ReadDataPacket(TPacketReader& reader, bool full, TConfiguration& configuration) {
    if (reader.PeekString() != "Data")
        return;
    reader.ReadPacket();
    reader.EnterPacket();
    while (reader.InPacket()) {
        const TPacket* packet = reader.ReadPacket();
        if (!packet)
            break;
        reader.EnterPacket();
        ReadPacketContent(packet->Name, full, reader, configuration);
        reader.LeavePacket();
    }
    reader.LeavePacket();
}

} // namespace

void LoadConfiguration(const std::string& fileName, bool full, TConfiguration& configuration) {
    TBufFileStream file(fileName, ConfigurationBufferSize, FileMode::OpenRead);
    char magic[4];
    if (file.Read(magic, sizeof magic) != sizeof magic || std::memcmp(magic, Magic, 4) != 0)
        throw Error("Invalid Project File");
    int32_t version = -1;
    if (file.ReadInteger(version) != 4 || version != 0)
        throw Error("Invalid Project Version");
    TPacketReader reader(file);
    try {
        ReadDataPacket(reader, full, configuration);
    } catch (const EConfigurationError&) {
        throw;
    } catch (const Error&) {
        throw Error("Invalid Project File");
    }
}

void SaveConfiguration(const std::string& fileName, bool full, TConfiguration& configuration) {
    TSafeFileWriter file(fileName, ConfigurationBufferSize);
    TKStream& stream = file.Stream();
    stream.WriteText(Magic);
    stream.WriteInteger(0);
    TPacketWriter writer(stream);
    writer.OpenPacket("Data");
    WriteOptions(writer, configuration.Shell);
    WriteEditor(writer, configuration);
    if (full && configuration.Project)
        configuration.Project->Write(writer);
    WriteKeys(writer, configuration.Store);
    WriteTemplates(writer, configuration.Templates);
    writer.ClosePacket();
    writer.Finish();
    file.Commit();
}

} // namespace corvid
