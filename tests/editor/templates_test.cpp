#include "editor_fixture.h"

#include "editor/code_templates.h"

#include <gtest/gtest.h>

namespace corvid {
namespace {

using testing::TEditorFixture;
using Lines = std::vector<std::string>;

TTextEditorTemplate Template(std::string text, std::string parameter = {},
                             std::string prompt = {}) {
    TTextEditorTemplate result;
    result.Text = std::move(text);
    result.Parameter = std::move(parameter);
    result.ParameterPrompt = std::move(prompt);
    return result;
}

TEST(Templates, VariablesAndParameters) {
    TTextEditorMultiFileInfo language;
    language.BlockCommentStart[0] = "/*";
    language.BlockCommentEnd[0] = "*/";
    language.LineCommentStart[0] = "//";
    language.BlockStart = "{";
    language.BlockEnd = "}";
    const TTemplateContext context{4, 9, "/home/u/prog.asm", &language, {"7.6.2024", "12:30"}};
    const struct {
        TTextEditorTemplate codeTemplate;
        std::string expanded;
    } cases[] = {
        {Template("$line$:$column$ $Line$ $LINE$"), "5:10 5 5"},
        {Template("$name$ in $path$"), "prog.asm in /home/u/"},
        {Template("$date$ $time$"), "7.6.2024 12:30"},
        {Template("$startcomment$x$endcomment$ $linecomment$ $startblock$$endblock$"),
         "/*x*/ // {}"},
        {Template("a$tab$b$backspace$c"), "a\tb\bc"},
        {Template("$param2$|$param4$|$param1$", "move a  b", "What"), "a||move"},
        {Template("$PARAM$ $param$ $Param$ $PaRaM$", "Foo", "Name"), "FOO foo Foo Foo"},
        {Template("$param$ $PARAM1$", "Foo"), "$param$ $PARAM1$"},
        {Template("$cursor$ $Cursor$"), "$cursor$ $Cursor$"},
        {Template("$$line$$"), "$5$"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ExpandTemplateText(c.codeTemplate, context), c.expanded) << c.codeTemplate.Text;

    TTextEditorTemplate plain = Template("$line$ $param$", "x", "p");
    plain.ExpandVariables = false;
    EXPECT_EQ(ExpandTemplateText(plain, context), "$line$ x");
}

TEST(Templates, TypedWithAutoIndentAndTheCaretAtTheMark) {
    TEditorFixture f("    x");
    f.Editor.MoveCaret(0, 5);
    f.Editor.KeyDown(TEditorKey::Enter);
    ExpandTemplate(Template("if ($cursor$)\r{\r}"), f.Editor);
    EXPECT_EQ(f.Lines(), (Lines{"    x", "    if ()", "    {", "    }"}));
    EXPECT_EQ(f.Caret(), (TTextPosition{1, 8}));
    f.Editor.Undo();
    EXPECT_EQ(f.Lines(), (Lines{"    x", ""}));
    EXPECT_EQ(f.Caret(), (TTextPosition{1, 4}));
}

TEST(Templates, OnlyTheFirstCursorMarkCounts) {
    TEditorFixture f("");
    ExpandTemplate(Template("a$cursor$b$CURSOR$c"), f.Editor);
    EXPECT_EQ(f.Lines(), (Lines{"ab$CURSOR$c"}));
    EXPECT_EQ(f.Caret(), (TTextPosition{0, 1}));
}

TEST(Templates, ATabVariableActsAsASmartTab) {
    TEditorFixture f("label   ldaa\n");
    f.Editor.MoveCaret(1, 0);
    ExpandTemplate(Template("$tab$staa"), f.Editor);
    EXPECT_EQ(f.Lines(), (Lines{"label   ldaa", "        staa"}));
}

TEST(Templates, TheMomentComesFromTheClock) {
    const TTemplateMoment moment = CurrentMoment();
    EXPECT_FALSE(moment.Date.empty());
    EXPECT_FALSE(moment.Time.empty());
}

} // namespace
} // namespace corvid
