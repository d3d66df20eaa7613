#include "foundation/directory_scan.h"
#include "stream_test_support.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <sys/stat.h>
#include <vector>

namespace corvid {
namespace {

namespace fs = std::filesystem;

struct DirectoryScanTest : ::testing::Test {
    testing::TempDir dir;
    std::string root = dir.Path.string() + "/";

    void SetUp() override {
        for (const char* name : {"a.asm", "b.txt", ".hidden.asm", "readonly.asm", "Upper.ASM",
                                 "sub/c.asm", "sub/deeper/d.asm", ".git/e.asm"}) {
            fs::create_directories((dir.Path / name).parent_path());
            testing::WriteFileBytes(dir / name, name);
        }
        fs::permissions(dir.Path / "readonly.asm", fs::perms::owner_read);
        fs::create_symlink("..", dir.Path / "sub/loop");
        fs::create_symlink("sub", dir.Path / "zlink");
        fs::create_symlink("a.asm", dir.Path / "link.asm");
        fs::create_symlink("nowhere", dir.Path / "dangling.asm");
    }

    std::vector<std::string> Scan(const std::string& directory, std::string_view masks,
                                  uint32_t attributes, bool recurse) {
        TObjectList<TFileInfo> list;
        FindFiles(directory, masks, attributes, list, recurse);
        std::vector<std::string> names;
        for (const TFileInfo* info : list) {
            EXPECT_EQ(info->FullName.rfind(root, 0), 0u) << info->FullName;
            names.push_back(info->FullName.substr(root.size()));
        }
        return names;
    }
};

TEST_F(DirectoryScanTest, FiltersByMaskAndAttributes) {
    using Names = std::vector<std::string>;
    const struct {
        const char* what;
        std::string_view masks;
        uint32_t attributes;
        bool recurse;
        Names expected;
    } cases[] = {
        {"plain files",
         "*.asm",
         0,
         false,
         {"Upper.ASM", "a.asm", "dangling.asm", "link.asm", "readonly.asm"}},
        {"two masks", "*.txt;u*", 0, false, {"Upper.ASM", "b.txt"}},
        {"hidden too",
         "*.asm",
         faHidden,
         false,
         {".hidden.asm", "Upper.ASM", "a.asm", "dangling.asm", "link.asm", "readonly.asm"}},
        {"directories too",
         "*",
         faDirectory,
         false,
         {"Upper.ASM", "a.asm", "b.txt", "dangling.asm", "link.asm", "readonly.asm", "sub",
          "zlink"}},
        {"everything at the top",
         "*",
         faDirectory | faHidden,
         false,
         {".git", ".hidden.asm", "Upper.ASM", "a.asm", "b.txt", "dangling.asm", "link.asm",
          "readonly.asm", "sub", "zlink"}},
        {"recursive: files first, hidden and linked directories not entered",
         "*.asm",
         0,
         true,
         {"Upper.ASM", "a.asm", "dangling.asm", "link.asm", "readonly.asm", "sub/c.asm",
          "sub/deeper/d.asm"}},
        {"recursive with directories; the loop link is listed, not followed",
         "*",
         faDirectory,
         true,
         {"Upper.ASM", "a.asm", "b.txt", "dangling.asm", "link.asm", "readonly.asm", "sub", "zlink",
          "sub/c.asm", "sub/deeper", "sub/loop", "sub/deeper/d.asm"}},
        {"no match", "*.s19", faDirectory | faHidden, true, {}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Scan(dir.Path.string(), c.masks, c.attributes, c.recurse), c.expected) << c.what;
    EXPECT_EQ(Scan(root, "*.asm", 0, false), cases[0].expected) << "with a trailing slash";
}

TEST_F(DirectoryScanTest, DescribesEachEntry) {
    TObjectList<TFileInfo> list;
    FindFiles(root, "*", faDirectory | faHidden, list, false);
    const struct {
        const char* name;
        uint32_t attributes;
    } cases[] = {
        {"a.asm", 0},         {"readonly.asm", faReadOnly},     {".hidden.asm", faHidden},
        {"sub", faDirectory}, {".git", faDirectory | faHidden}, {"zlink", faDirectory},
    };
    for (const auto& c : cases) {
        const TFileInfo* found = nullptr;
        for (const TFileInfo* info : list)
            if (info->FullName == root + c.name)
                found = info;
        ASSERT_NE(found, nullptr) << c.name;
        EXPECT_EQ(found->Attr, c.attributes) << c.name;
        struct stat status;
        ASSERT_EQ(::stat(found->FullName.c_str(), &status), 0);
        EXPECT_EQ(found->Size, status.st_size) << c.name;
        EXPECT_EQ(found->Time, status.st_mtim.tv_sec * 1'000'000'000LL + status.st_mtim.tv_nsec)
            << c.name;
    }
}

TEST_F(DirectoryScanTest, MissingDirectoryGivesNothing) {
    TObjectList<TFileInfo> list;
    FindFiles(dir / "missing", "*", faDirectory, list, true);
    EXPECT_TRUE(list.IsEmpty());
}

} // namespace
} // namespace corvid
