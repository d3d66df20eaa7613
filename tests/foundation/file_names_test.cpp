#include "foundation/file_names.h"

#include "foundation/extract_pattern.h"
#include "text_reference.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

namespace corvid {
namespace {

struct PathCase {
    std::string path;
    std::string nameOnly;
    std::string directory;
    std::string extension;
    std::string nameNoExt;
    std::string withoutExtension;
};

const PathCase PathCases[] = {
    {"/home/u/name.tar.gz", "name.tar.gz", "/home/u/", ".gz", "name", "/home/u/name"},
    {"name", "name", "", "", "name", "name"},
    {".x.asm", ".x.asm", "", ".asm", ".", "."},
    {"/src/prog.v2.asm", "prog.v2.asm", "/src/", ".asm", "prog", "/src/prog"},
    {"dir.d/Makefile", "Makefile", "dir.d/", "", "Makefile", "dir.d/Makefile"},
    {"/", "", "/", "", "", "/"},
    {"", "", "", "", "", ""},
    {"a/b.", "b.", "a/", ".", "b", "a/b"},
    {"c:\\dir\\name.tar.gz", "c:\\dir\\name.tar.gz", "", ".gz", "c:\\dir\\name", "c:\\dir\\name"},
};

TEST(FileNames, SplitPaths) {
    for (const PathCase& c : PathCases) {
        SCOPED_TRACE(c.path);
        EXPECT_EQ(FileNameOnly(c.path), c.nameOnly);
        EXPECT_EQ(DirectoryOf(c.path), c.directory);
        EXPECT_EQ(ExtensionOf(c.path), c.extension);
        EXPECT_EQ(FileNameNoExt(c.path), c.nameNoExt);
        EXPECT_EQ(PathWithoutExtension(c.path), c.withoutExtension);
    }
}

TEST(FileNames, NameWithoutExtensionAgreesWithTheExtractionPattern) {
    std::mt19937 random(3);
    std::uniform_int_distribution<size_t> pick(0, 4);
    std::uniform_int_distribution<int> length(0, 12);
    for (int i = 0; i < 20'000; ++i) {
        std::string path(static_cast<size_t>(length(random)), ' ');
        for (char& c : path)
            c = "a./ b"[pick(random)];
        ASSERT_EQ(FileNameNoExt(path),
                  ExtractPattern(FileNameOnly(path), reference::FileNameNoExtPattern))
            << "'" << path << "'";
    }
}

} // namespace
} // namespace corvid
