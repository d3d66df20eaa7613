#include "editor/editor_file_parser.h"
#include "editor/text_editor_file.h"
#include "foundation/encrypted_stream.h"
#include "foundation/errors.h"
#include "foundation/streams.h"
#include "parsing/asm_tokens.h"
#include "support/file_size_limit.h"

#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <sys/resource.h>
#include <unistd.h>
#include <vector>

namespace corvid {
namespace {

namespace fs = std::filesystem;

std::vector<std::string> LinesOf(const TTextEditorFile& file) {
    std::vector<std::string> lines;
    for (int index = 0; index < file.LineCount(); ++index)
        lines.emplace_back(file.LineText(index));
    return lines;
}

std::string ReadFileBytes(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

void WriteFileBytes(const fs::path& path, std::string_view bytes) {
    std::ofstream out(path, std::ios::binary);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

struct TempDir {
    fs::path Path;
    TempDir() {
        char name[] = "/tmp/corvid-editor-XXXXXX";
        Path = mkdtemp(name);
    }
    ~TempDir() {
        std::error_code ignored;
        fs::permissions(Path, fs::perms::owner_all, ignored);
        fs::remove_all(Path, ignored);
    }
};

TEST(TextEditorFileLoad, SplitsLinesAndExpandsTabsAsStoredFilesExpect) {
    const std::string long509(509, 'x');
    const struct {
        const char* what;
        std::string bytes;
        int tabSize;
        bool trim;
        std::vector<std::string> lines;
        bool unix;
    } cases[] = {
        {"CR LF", "a\r\nb", 2, true, {"a", "b"}, false},
        {"LF and a final line end", "a\n", 2, true, {"a", ""}, true},
        {"LF CR is two breaks", "a\n\rb", 2, true, {"a", "", "b"}, true},
        {"lone CR", "a\rb\r", 2, true, {"a", "b", ""}, false},
        {"first line end decides the style", "a\r\nb\nc", 2, true, {"a", "b", "c"}, false},
        {"tab is a fixed count", "x\ty", 4, true, {"x    y"}, false},
        {"tab at column 3 still four", "abc\td", 4, true, {"abc    d"}, false},
        {"trailing blanks go", "abc   \r\nd", 2, true, {"abc", "d"}, false},
        {"trailing blanks stay without the rule", "abc   ", 2, false, {"abc   "}, false},
        {"tab-made trailing blanks go", "ab\t", 2, true, {"ab"}, false},
        {"control bytes dropped",
         std::string("a\x01"
                     "b\x1b"
                     "c\x7f",
                     6),
         2,
         true,
         {"abc\x7f"},
         false},
        {"a control byte between CR and LF leaves two breaks",
         std::string("a\r\x01\nb\tc"),
         2,
         true,
         {"a", "", "b  c"},
         false},
        {"bytes 128 to 255 kept", "caf\xe9 \x80\xff", 2, true, {"caf\xe9 \x80\xff"}, false},
        {"spaces ending a full chunk stay", long509 + "   ", 2, true, {long509 + "   "}, false},
        {"only the last chunk is trimmed",
         long509 + "   " + "ab  ",
         2,
         true,
         {long509 + "   ab"},
         false},
        {"a full chunk of tab spaces stays",
         std::string(510, 'y') + "\t",
         2,
         true,
         {std::string(510, 'y') + "  "},
         false},
        {"empty file", "", 2, true, {""}, false},
    };
    for (const auto& c : cases) {
        TTextEditorFile file;
        file.LoadTabSize = c.tabSize;
        file.LoadRemovesTrailingBlanks = c.trim;
        file.LoadFromText(c.bytes);
        EXPECT_EQ(LinesOf(file), c.lines) << c.what;
        EXPECT_EQ(file.UnixLineEnds, c.unix) << c.what;
    }
}

// Loading reads plain characters a word at a time: a control character must count wherever it
// falls within a word, and a CR LF pair must stay one break where the file is read in two pieces.
TEST(TextEditorFileLoad, ControlCharactersCountWhereverTheyFall) {
    const struct {
        const char* what;
        std::string control;
        std::vector<std::string> (*lines)(const std::string& before, const std::string& after);
    } kinds[] = {
        {"tab", "\t",
         [](const std::string& b, const std::string& a) { return std::vector{b + "  " + a}; }},
        {"LF", "\n",
         [](const std::string& b, const std::string& a) {
             return std::vector{b, a};
         }},
        {"CR LF", "\r\n",
         [](const std::string& b, const std::string& a) {
             return std::vector{b, a};
         }},
        {"LF CR", "\n\r",
         [](const std::string& b, const std::string& a) {
             return std::vector{b, std::string(), a};
         }},
        {"control byte", "\x01",
         [](const std::string& b, const std::string& a) { return std::vector{b + a}; }},
    };
    for (const auto& kind : kinds) {
        for (size_t offset = 0; offset <= 20; ++offset) {
            const std::string before(offset, 'b');
            const std::string after(20 - offset, 'a');
            TTextEditorFile file;
            file.LoadRemovesTrailingBlanks = false;
            file.LoadFromText(before + kind.control + after);
            EXPECT_EQ(LinesOf(file), kind.lines(before, after)) << kind.what << " at " << offset;
        }
    }
    for (const size_t firstPiece : {size_t{65535}, size_t{65536}}) {
        const std::string bytes = std::string(firstPiece - 1, 'x') + "\r\n" + "y\r\n";
        TKMemStream stream;
        stream.Write(bytes.data(), bytes.size());
        stream.SetPosition(0);
        TTextEditorFile file;
        file.LoadFromStream(stream);
        EXPECT_EQ(LinesOf(file),
                  (std::vector<std::string>{std::string(firstPiece - 1, 'x'), "y", ""}))
            << "CR at " << firstPiece - 1;
        file.LoadFromText(bytes);
        EXPECT_EQ(file.LineCount(), 3) << "CR at " << firstPiece - 1;
    }
}

TEST(TextEditorFileSave, WritesTheSeparatorsOfTheLoadedStyleAndNoneAfterTheLast) {
    const struct {
        std::string in;
        std::string out;
    } cases[] = {
        {"a\r\nb", "a\r\nb"},       {"a\n", "a\n"},
        {"a\nb\r\nc", "a\nb\nc"},   {"", ""},
        {"x\ty  \r\n", "x  y\r\n"}, {"caf\xe9\r\n\xff", "caf\xe9\r\n\xff"},
    };
    for (const auto& c : cases) {
        TTextEditorFile file;
        file.LoadFromText(c.in);
        TKMemStream out;
        file.SaveToStream(out);
        EXPECT_EQ(std::string(reinterpret_cast<const char*>(out.Memory()),
                              static_cast<size_t>(out.Size())),
                  c.out)
            << c.in;
    }
}

TEST(TextEditorFileLines, AddLineFillsThePlaceholderOfAClearedDocument) {
    TTextEditorFile file;
    EXPECT_EQ(file.LineCount(), 1);
    EXPECT_TRUE(file.Lines.Get(0).Has(lfPlaceholder));
    file.Lines.AddLine("first");
    EXPECT_EQ(LinesOf(file), (std::vector<std::string>{"first"}));
    file.Lines.AddLine("second");
    file.Lines.InsertLine(0, "zero", false, nullptr);
    EXPECT_EQ(LinesOf(file), (std::vector<std::string>{"zero", "first", "second"}));
    file.Lines.Clear();
    EXPECT_EQ(file.LineCount(), 1);
    EXPECT_TRUE(file.Lines.Get(0).Has(lfPlaceholder));
}

TEST(TextEditorFileLines, GetOutsideTheDocumentIsAProgrammingError) {
    TTextEditorFile file;
    try {
        file.Lines.Get(1);
        FAIL() << "no assertion";
    } catch (const EAssertionFailed& failure) {
        EXPECT_EQ(std::string(failure.what())
                      .rfind("TTextEditorLineList.Get Index Out Of Bounds (src/editor/", 0),
                  0u)
            << failure.what();
    }
}

TEST(TextEditorFileLines, CaretAndTopLineAreClampedIntoTheDocument) {
    TTextEditorFile file;
    file.LoadFromText("a\nb\nc");
    file.SetCaretLine(7);
    file.SetTopLine(-3);
    file.SetCaretColumn(-1);
    EXPECT_EQ(file.CaretLine(), 2);
    EXPECT_EQ(file.TopLine(), 0);
    EXPECT_EQ(file.CaretColumn(), 0);
    file.LoadFromText("only");
    EXPECT_EQ(file.CaretLine(), 0);
}

TEST(TextEditorFileDisk, RoundTripsPlainAndEncipheredFiles) {
    TempDir dir;
    for (const std::string password : {"", "k", "Secret pass"}) {
        const fs::path path = dir.Path / ("doc" + std::to_string(password.size()) + ".asm");
        TTextEditorFile file;
        file.Password = password;
        file.LoadFromText("        ORG $F800\r\nloop    BRA loop\r\n");
        file.SaveToFile(path);
        const std::string bytes = ReadFileBytes(path);
        if (password.empty()) {
            EXPECT_EQ(bytes, "        ORG $F800\r\nloop    BRA loop\r\n");
        } else {
            EXPECT_EQ(bytes.substr(0, 9), "1.crypt00");
            EXPECT_EQ(bytes.size(), 269 + password.size() + 37);
        }
        TTextEditorFile reread;
        reread.FileName = path;
        EXPECT_EQ(reread.IsEncrypted(), !password.empty());
        reread.Password = password;
        reread.LoadFromFile(path);
        EXPECT_EQ(LinesOf(reread), LinesOf(file)) << password;
    }
}

TEST(TextEditorFileDisk, AWrongPasswordLeavesTheDocumentAsItWas) {
    TempDir dir;
    const fs::path path = dir.Path / "secret.asm";
    TTextEditorFile writer;
    writer.Password = "right";
    writer.LoadFromText("hidden");
    writer.SaveToFile(path);

    const struct {
        const char* password;
        const char* message;
    } cases[] = {
        // The length is enciphered with a key made from the password, so most wrong passwords
        // already fail on it; the fourth character takes no part in enciphering the length.
        {"wrong", "TEncryptedStream.InitRead Password Size Mismatch"},
        {"rigXt", "TEncryptedStream.InitRead Password Mismatch"},
    };
    for (const auto& c : cases) {
        TTextEditorFile file;
        file.LoadFromText("current\ntext");
        file.Password = c.password;
        try {
            file.LoadFromFile(path);
            FAIL() << c.password;
        } catch (const TEncryptedStreamException& error) {
            EXPECT_STREQ(error.what(), c.message);
        }
        EXPECT_EQ(LinesOf(file), (std::vector<std::string>{"current", "text"}));
    }
}

TEST(TextEditorFileDisk, LoadingAPlainFileWithAPasswordSaysItIsNotEnciphered) {
    TempDir dir;
    const fs::path path = dir.Path / "plain.asm";
    WriteFileBytes(path, "plain text");
    TTextEditorFile file;
    file.Password = "x";
    try {
        file.LoadFromFile(path);
        FAIL();
    } catch (const TEncryptedStreamException& error) {
        EXPECT_STREQ(error.what(), "TEncryptedStream.InitRead Stream is not encrypted");
    }
}

TEST(TextEditorFileDisk, UnreadableFilesRaiseAndChangeNothing) {
    TempDir dir;
    TTextEditorFile file;
    file.LoadFromText("kept");
    EXPECT_THROW(file.LoadFromFile(dir.Path / "missing.asm"), EInOutError);
    EXPECT_THROW(file.LoadFromFile(dir.Path), EInOutError);
    EXPECT_EQ(LinesOf(file), (std::vector<std::string>{"kept"}));
}

TEST(TextEditorFileDisk, AFailedSaveKeepsTheOldFileAndTheModifiedMarks) {
    TempDir dir;
    const fs::path path = dir.Path / "prog.asm";
    WriteFileBytes(path, "old\r\n");
    TTextEditorFile file;
    file.LoadFromText(std::string(20000, 'n'));
    file.Lines.Get(0).Set(lfModified);
    {
        testing::FileSizeLimit limit(4096);
        EXPECT_THROW(file.SaveToFile(path), EInOutError);
    }
    EXPECT_EQ(ReadFileBytes(path), "old\r\n");
    EXPECT_TRUE(file.Lines.Get(0).Has(lfModified));
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.Path), fs::directory_iterator()), 1);
}

TEST(TextEditorFileDisk, ASaveClearsTheModifiedMarks) {
    TempDir dir;
    TTextEditorFile file;
    file.LoadFromText("a\r\nb");
    file.Lines.Get(1).Set(lfModified);
    file.SaveToFile(dir.Path / "x.asm");
    EXPECT_FALSE(file.Lines.Get(1).Has(lfModified));
    EXPECT_TRUE(file.Lines.Get(1).Has(lfInvalid));
}

// Records every character the parser reads, with the position it was read at.
class RecordingParser : public TEditorFileParser {
public:
    std::vector<int> Characters;
    bool GetChar(int& currentChar, int& column, int& line) override {
        const bool more = TEditorFileParser::GetChar(currentChar, column, line);
        Characters.push_back(currentChar);
        return more;
    }
};

TEST(EditorFileParser, EveryLineEndsWithALineEndAndTheDocumentWithTheEnd) {
    const struct {
        std::string text;
        std::vector<int> characters;
    } cases[] = {
        {"", {-1, -2}},
        {"ab\n", {'a', 'b', -1, -1, -2}},
        {"a\r\n\r\nb", {'a', -1, -1, 'b', -1, -2}},
        {"\xe9", {0xe9, -1, -2}},
    };
    for (const auto& c : cases) {
        TTextEditorFile file;
        file.LoadFromText(c.text);
        RecordingParser parser;
        TObjectList<TParserToken> tokens;
        parser.Scan(file, tokens);
        EXPECT_EQ(parser.Characters, c.characters) << c.text;
    }
}

TEST(EditorFileParser, TokensCarryEditorPositionsAfterTabExpansion) {
    TTextEditorFile file;
    file.LoadTabSize = 4;
    file.LoadFromText("LOOP\tLDAA\t#$10\n\tBRA LOOP");
    TEditorFileParser parser;
    parser.ParserObjects.Add(new TSkipWhitespaceParserObject);
    parser.ParserObjects.Add(new TAsmIdentifierReservedParserObject);
    parser.ParserObjects.Add(new TAsmNumberParserObject);
    parser.ParserObjects.Add(new TAsmSymbolParserObject);
    TObjectList<TParserToken> tokens;
    parser.Scan(file, tokens);
    const struct {
        int kind, line, column;
        const char* text;
    } expected[] = {
        {tkLabel, 1, 1, "LOOP"},  {tkReserved, 1, 9, "LDAA"}, {tkSymbol, 1, 17, "#"},
        {tkNumber, 1, 18, "$10"}, {tkReserved, 2, 5, "BRA"},  {tkIdentifier, 2, 9, "LOOP"},
    };
    ASSERT_EQ(tokens.Count(), static_cast<int>(std::size(expected)));
    for (int index = 0; index < tokens.Count(); ++index) {
        EXPECT_EQ(tokens[index]->Kind, expected[index].kind) << index;
        EXPECT_EQ(tokens[index]->Line, expected[index].line) << index;
        EXPECT_EQ(tokens[index]->Column, expected[index].column) << index;
        EXPECT_EQ(tokens[index]->Text, expected[index].text) << index;
    }
}

} // namespace
} // namespace corvid
