#pragma once

#include <string>

namespace corvid {

class TTextEditor;
class TTextEditorMultiFileInfo;

// A stored piece of text that the editor types at the caret after filling in its variables.
class TTextEditorTemplate {
public:
    std::string Name = "New"; // the word that selects it
    std::string Description = "New Template";
    std::string FileMask = "*.*";
    std::string Parameter;       // this expansion's parameter
    std::string ParameterPrompt; // not empty: the template takes a parameter
    std::string DefaultParameter;
    bool ExpandVariables = true; // false: only the parameter variables and $cursor$
    std::string Text;
};

// The date and time as $date$ and $time$ show them.
struct TTemplateMoment {
    std::string Date;
    std::string Time;
};

// Now, in the short date and time forms of the user's locale.
TTemplateMoment CurrentMoment();

// What the variables of a template stand for at one expansion.
struct TTemplateContext {
    int CaretLine = 0; // 0-based
    int CaretColumn = 0;
    std::string FileName;
    const TTextEditorMultiFileInfo* Language = nullptr;
    TTemplateMoment Moment;
};

// The template's text with its variables and parameters replaced; $cursor$ stays.
std::string ExpandTemplateText(const TTextEditorTemplate& codeTemplate,
                               const TTemplateContext& context);

// Types the expanded template at the editor's caret as one undo step, so that its control
// characters act as keys (CR as Enter with auto-indent, TAB as a smart tab, backspace); the
// caret ends at the first $cursor$, or after the text.
void ExpandTemplate(const TTextEditorTemplate& codeTemplate, TTextEditor& editor,
                    const TTemplateMoment& moment = CurrentMoment());

} // namespace corvid
