#include "editor/line_text.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>

namespace corvid {
namespace {

// Every operation must give the same text as std::string, whether the line still borrows its
// bytes or already owns them, and must never write into borrowed bytes.
TEST(LineText, EditsMatchStdStringOnBorrowedAndOwnedText) {
    const struct {
        const char* what;
        std::function<void(TLineText&)> edit;
        std::function<void(std::string&)> reference;
    } cases[] = {
        {"insert middle", [](TLineText& t) { t.Insert(2, "XY"); },
         [](std::string& s) { s.insert(2, "XY"); }},
        {"insert past end appends", [](TLineText& t) { t.Insert(99, "!"); },
         [](std::string& s) { s += "!"; }},
        {"insert own text", [](TLineText& t) { t.Insert(1, t.View()); },
         [](std::string& s) { s.insert(1, std::string(s)); }},
        {"erase middle", [](TLineText& t) { t.Erase(1, 3); },
         [](std::string& s) { s.erase(1, 3); }},
        {"erase beyond end", [](TLineText& t) { t.Erase(4, 100); },
         [](std::string& s) { s.erase(4); }},
        {"erase outside", [](TLineText& t) { t.Erase(40, 2); }, [](std::string&) {}},
        {"truncate", [](TLineText& t) { t.Truncate(3); }, [](std::string& s) { s.resize(3); }},
        {"pad", [](TLineText& t) { t.PadTo(12); }, [](std::string& s) { s.resize(12, ' '); }},
        {"assign own tail", [](TLineText& t) { t.Assign(t.View().substr(3)); },
         [](std::string& s) { s = s.substr(3); }},
        {"trim",
         [](TLineText& t) {
             t.Append(" \t ");
             t.TrimTrailingBlanks();
         },
         [](std::string&) {}},
    };
    for (const auto& c : cases) {
        for (const bool borrowed : {true, false}) {
            const std::string source = "abcdefg";
            TLineText text = borrowed ? TLineText::Borrowed(source) : TLineText(source);
            std::string reference = source;
            c.edit(text);
            c.reference(reference);
            EXPECT_EQ(text.View(), reference) << c.what << (borrowed ? " (borrowed)" : "");
            EXPECT_EQ(source, "abcdefg") << c.what;
        }
    }
}

TEST(LineText, CopiesOwnTheirBytesAndMovesLeaveAnEmptyLine) {
    std::string source = "borrowed";
    TLineText borrowed = TLineText::Borrowed(source);
    TLineText copy(borrowed);
    source[0] = 'X';
    EXPECT_EQ(copy.View(), "borrowed");
    TLineText moved(std::move(copy));
    EXPECT_EQ(moved.View(), "borrowed");
    EXPECT_TRUE(copy.Empty());
}

} // namespace
} // namespace corvid
