#include "workspace/options_form.h"

#include "editor/editor_options.h"
#include "foundation/errors.h"
#include "foundation/text_fields.h"
#include "workspace/configuration_file.h"
#include "workspace/configuration_store.h"

#include <algorithm>
#include <map>
#include <utility>

namespace corvid {

namespace {

constexpr char BodyLineBreak = '\r';
constexpr char PathSeparator = '\\';
constexpr int GutterColumns = 2;

TOptionsSettings ReadOptionsSettings(const TTextEditorOptions& editor, const TShellOptions& shell) {
    TOptionsSettings settings;
    settings.SmartTabs = editor.SmartTabs;
    settings.UndoAfterSave = editor.UndoAfterSave;
    settings.RemoveTrailingBlanks = editor.RemoveTrailingBlanks;
    settings.AutoIndent = editor.AutoIndent;
    settings.TabSize = editor.TabSize;
    settings.DoubleClickLine = shell.DoubleClickSelectsLine;
    settings.ScrollThreshold = editor.ScrollThresholdEnabled;
    settings.ScrollThresholdLine = editor.LineScrollThreshold;
    settings.ScrollThresholdColumn = editor.ColumnScrollThreshold;
    settings.AutoCheckFileDateTime = shell.AutoCheckFileDates;
    settings.LeftMargin = editor.LeftColumnMargin > 0;
    settings.VisibleEndOfFile = editor.VisibleEOF;
    settings.VisibleEndOfFileColor = editor.VisibleEOFColor;
    settings.ShowModifiedLines = editor.ShowModifiedLines;
    settings.ShowModifiedLinesColor = editor.ShowModifiedLinesColor;
    settings.AutosaveDesktop = shell.AutosaveDesktop;
    settings.SearchPath = shell.SearchPath;
    return settings;
}

void WriteOptionsSettings(const TOptionsSettings& settings, TTextEditorOptions& editor,
                          TShellOptions& shell) {
    editor.SmartTabs = settings.SmartTabs;
    editor.UndoAfterSave = settings.UndoAfterSave;
    editor.RemoveTrailingBlanks = settings.RemoveTrailingBlanks;
    editor.AutoIndent = settings.AutoIndent;
    editor.TabSize = settings.TabSize;
    shell.DoubleClickSelectsLine = settings.DoubleClickLine;
    editor.ScrollThresholdEnabled = settings.ScrollThreshold;
    editor.LineScrollThreshold = settings.ScrollThresholdLine;
    editor.ColumnScrollThreshold = settings.ScrollThresholdColumn;
    shell.AutoCheckFileDates = settings.AutoCheckFileDateTime;
    editor.LeftColumnMargin = settings.LeftMargin ? GutterColumns : 0;
    editor.VisibleEOF = settings.VisibleEndOfFile;
    editor.VisibleEOFColor = settings.VisibleEndOfFileColor;
    editor.ShowModifiedLines = settings.ShowModifiedLines;
    editor.ShowModifiedLinesColor = settings.ShowModifiedLinesColor;
    shell.AutosaveDesktop = settings.AutosaveDesktop;
    shell.SearchPath = settings.SearchPath;
}

std::vector<std::string> SplitBody(const std::string& body) {
    std::vector<std::string> lines;
    size_t start = 0;
    for (size_t end; (end = body.find(BodyLineBreak, start)) != std::string::npos; start = end + 1)
        lines.push_back(body.substr(start, end - start));
    lines.push_back(body.substr(start));
    return lines;
}

std::string JoinBody(const std::vector<std::string>& lines) {
    std::string body;
    for (size_t index = 0; index < lines.size(); ++index) {
        if (index > 0)
            body += BodyLineBreak;
        body += lines[index];
    }
    return body;
}

TTemplateFields TemplateFields(const TTextEditorTemplate& codeTemplate) {
    return TTemplateFields{codeTemplate.Name,
                           codeTemplate.Description,
                           codeTemplate.FileMask,
                           codeTemplate.ParameterPrompt,
                           codeTemplate.DefaultParameter,
                           codeTemplate.ExpandVariables,
                           SplitBody(codeTemplate.Text)};
}

void StoreTemplateFields(const TTemplateFields& fields, TTextEditorTemplate& codeTemplate) {
    codeTemplate.Name = fields.ShortcutName;
    codeTemplate.Description = fields.Description;
    codeTemplate.FileMask = fields.Files;
    codeTemplate.ParameterPrompt = fields.ParameterName;
    codeTemplate.DefaultParameter = fields.DefaultParameter;
    codeTemplate.ExpandVariables = fields.MacroReplacement;
    codeTemplate.Text = JoinBody(fields.Lines);
}

// A path has at most one element more than it has separators; the bound also ends the walk
// for a name made of separators only, whose "element" would be a separator for ever.
std::vector<std::string> KeyPathElements(const std::string& name) {
    const int most = static_cast<int>(std::count(name.begin(), name.end(), PathSeparator)) + 1;
    std::vector<std::string> elements;
    for (int n = 1; n <= most; ++n) {
        std::string element = GetParamSep(name, n, PathSeparator);
        if (element.empty() || element.find(PathSeparator) != std::string::npos)
            break;
        elements.push_back(std::move(element));
    }
    return elements;
}

TKeyNode& AddChild(TKeyNode& parent, std::string text) {
    auto child = std::make_unique<TKeyNode>();
    child->Text = std::move(text);
    return *parent.Children.emplace_back(std::move(child));
}

} // namespace

TOptionsForm::TOptionsForm(TConfigurationStore& store, TShellOptions& shell,
                           TObjectList<TTextEditorTemplate>& templates)
    : Store(store), Shell(shell), Templates(templates) {}

TOptionsSettings TOptionsForm::Open(const TTextEditorOptions& editor) {
    RefillWorkingCopy();
    RebuildKeyTree();
    return ReadOptionsSettings(editor, Shell);
}

void TOptionsForm::RefillWorkingCopy() {
    Working.Clear();
    for (const TTextEditorTemplate* codeTemplate : Templates)
        Working.Add(new TTextEditorTemplate(*codeTemplate));
    Shown = -1;
}

// A node is found again by its parent and text, so that a store of many keys builds in
// n log n rather than scanning every sibling for every element.
void TOptionsForm::RebuildKeyTree() {
    KeyRoot.Children.clear();
    SelectedKey = nullptr;
    std::map<std::pair<const TKeyNode*, std::string>, TKeyNode*> nodes;
    for (const TKey* key : Store.Keys()) {
        std::vector<std::string> elements = KeyPathElements(key->Name);
        // A name without any element (empty, or separators only) still gets a node, so that
        // every key can be seen and edited.
        if (elements.empty())
            elements.push_back(key->Name);
        TKeyNode* node = &KeyRoot;
        for (std::string& element : elements) {
            TKeyNode*& child = nodes[{node, element}];
            if (!child)
                child = &AddChild(*node, std::move(element));
            node = child;
        }
        node->HasEntry = true;
        node->KeyName = key->Name;
    }
}

TTemplateFields TOptionsForm::SelectTemplate(int index, const TTemplateFields& shown) {
    CORVID_ASSERT(index >= 0 && index < Working.Count(), "TOptionsForm.Template Out Of Bounds");
    StoreTemplate(shown);
    Shown = index;
    return TemplateFields(*Working[index]);
}

void TOptionsForm::StoreTemplate(const TTemplateFields& shown) {
    if (Shown >= 0)
        StoreTemplateFields(shown, *Working[Shown]);
}

TTemplateFields TOptionsForm::NewTemplate(const TTemplateFields& shown) {
    StoreTemplate(shown);
    const TTextEditorTemplate& added = *Working.Add(new TTextEditorTemplate());
    Shown = Working.Count() - 1;
    return TemplateFields(added);
}

// The shown template is gone with it, so nothing may be stored into it later.
void TOptionsForm::DeleteTemplate() {
    if (Shown < 0)
        return;
    Working.Delete(Shown);
    Shown = -1;
}

std::string TOptionsForm::SelectKey(const TKeyNode* node) {
    SelectedKey = node;
    if (!node || !node->HasEntry)
        return {};
    return Store.GetString(node->KeyName, "");
}

void TOptionsForm::SetKeyValue(const std::string& value) {
    if (SelectedKey && SelectedKey->HasEntry)
        Store.SetString(SelectedKey->KeyName, value);
}

bool TOptionsForm::Accept(const TOptionsSettings& settings, TTextEditorOptions& editor,
                          const TTemplateFields& shown) {
    WriteOptionsSettings(settings, editor, Shell);
    StoreTemplate(shown);
    MoveWorkingCopyIntoTemplates();
    return std::exchange(SaveAsDefault, false);
}

void TOptionsForm::MoveWorkingCopyIntoTemplates() {
    const std::vector<TTextEditorTemplate*> moved(Working.begin(), Working.end());
    Working.OwnsObjects = false;
    Working.Clear();
    Working.OwnsObjects = true;
    Shown = -1;
    Templates.Clear();
    for (TTextEditorTemplate* codeTemplate : moved)
        Templates.Add(codeTemplate);
}

} // namespace corvid
