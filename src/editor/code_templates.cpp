#include "editor/code_templates.h"

#include "editor/language_info.h"
#include "editor/text_editor.h"
#include "foundation/case_fold.h"
#include "foundation/file_names.h"
#include "foundation/text_fields.h"
#include "foundation/text_search.h"

#include <array>
#include <ctime>
#include <iomanip>
#include <locale>
#include <sstream>
#include <string_view>

namespace corvid {

namespace {

constexpr std::string_view CursorMark = "$cursor$";
constexpr int ParameterWords = 9;

std::locale UserLocale() {
    try {
        return std::locale("");
    } catch (const std::runtime_error&) {
        return std::locale::classic();
    }
}

std::string Formatted(const std::tm& moment, const char* format) {
    std::ostringstream text;
    text.imbue(UserLocale());
    text << std::put_time(&moment, format);
    return text.str();
}

// Case-insensitive, each replacement resuming after the text it inserted.
void Replace(std::string& text, std::string_view variable, std::string_view value) {
    ReplaceAllText(text, variable, value, 0);
}

void ReplaceVariables(std::string& text, const TTemplateContext& context) {
    static const TTextEditorMultiFileInfo noLanguage;
    const TTextEditorMultiFileInfo& language = context.Language ? *context.Language : noLanguage;
    const std::array<std::pair<std::string_view, std::string>, 13> variables{{
        {"$line$", std::to_string(context.CaretLine + 1)},
        {"$column$", std::to_string(context.CaretColumn + 1)},
        {"$name$", FileNameOnly(context.FileName)},
        {"$path$", DirectoryOf(context.FileName)},
        {"$time$", context.Moment.Time},
        {"$date$", context.Moment.Date},
        {"$startcomment$", language.BlockCommentStart[0]},
        {"$endcomment$", language.BlockCommentEnd[0]},
        {"$linecomment$", language.LineCommentStart[0]},
        {"$startblock$", language.BlockStart},
        {"$endblock$", language.BlockEnd},
        {"$tab$", "\t"},
        {"$backspace$", "\b"},
    }};
    for (const auto& [variable, value] : variables)
        Replace(text, variable, value);
}

void ReplaceParameters(std::string& text, const std::string& parameter) {
    ReplaceAllText(text, "$PARAM$", UpperCase(parameter), soCaseSensitive);
    ReplaceAllText(text, "$param$", LowerCase(parameter), soCaseSensitive);
    Replace(text, "$Param$", parameter);
    for (int word = 1; word <= ParameterWords; ++word)
        Replace(text, "$param" + std::to_string(word) + "$", GetParam(parameter, word));
}

// Begins painting suspension and an undo step, and ends both however the expansion ends.
class TExpansionScope {
public:
    explicit TExpansionScope(TTextEditor& editor) : Editor(editor) {
        Editor.BeginUpdate();
        Editor.BeginUndoBlock();
    }
    ~TExpansionScope() {
        Editor.EndUndoBlock();
        Editor.EndUpdate();
    }
    TExpansionScope(const TExpansionScope&) = delete;
    TExpansionScope& operator=(const TExpansionScope&) = delete;

private:
    TTextEditor& Editor;
};

} // namespace

TTemplateMoment CurrentMoment() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    return {Formatted(local, "%x"), Formatted(local, "%X")};
}

std::string ExpandTemplateText(const TTextEditorTemplate& codeTemplate,
                               const TTemplateContext& context) {
    std::string text = codeTemplate.Text;
    if (codeTemplate.ExpandVariables)
        ReplaceVariables(text, context);
    if (!codeTemplate.ParameterPrompt.empty())
        ReplaceParameters(text, codeTemplate.Parameter);
    return text;
}

void ExpandTemplate(const TTextEditorTemplate& codeTemplate, TTextEditor& editor,
                    const TTemplateMoment& moment) {
    TExpansionScope scope(editor);
    const TTemplateContext context{editor.CaretLine(), editor.CaretColumn(), editor.File().FileName,
                                   &editor.ActiveLanguage(), moment};
    const std::string text = ExpandTemplateText(codeTemplate, context);
    const int cursor = SearchText(CursorMark, text, 1, 0);
    if (cursor < 1) {
        editor.TypeText(text);
        return;
    }
    const size_t mark = static_cast<size_t>(cursor - 1);
    editor.TypeText(std::string_view(text).substr(0, mark));
    const int line = editor.CaretLine();
    const int column = editor.CaretColumn();
    editor.TypeText(std::string_view(text).substr(mark + CursorMark.size()));
    editor.PlaceCaret(line, column);
}

} // namespace corvid
