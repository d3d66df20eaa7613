#pragma once

#include "editor/code_templates.h"
#include "editor/colour_cells.h"
#include "foundation/object_list.h"

#include <memory>
#include <string>
#include <vector>

namespace corvid {

class TConfigurationStore;
struct TShellOptions;
struct TTextEditorOptions;

// The values the "Editor" and "Project" pages of the Options dialog show, one per control.
struct TOptionsSettings {
    bool SmartTabs = false;
    bool UndoAfterSave = false;
    bool RemoveTrailingBlanks = false;
    bool AutoIndent = false;
    int TabSize = 0;
    bool DoubleClickLine = false;
    bool ScrollThreshold = false;
    int ScrollThresholdLine = 0;
    int ScrollThresholdColumn = 0;
    bool AutoCheckFileDateTime = false;
    bool LeftMargin = false; // the gutter: 2 columns wide when ticked, none when not
    bool VisibleEndOfFile = false;
    TColor VisibleEndOfFileColor = 0;
    bool ShowModifiedLines = false;
    TColor ShowModifiedLinesColor = 0;
    bool AutosaveDesktop = false;
    std::string SearchPath;

    bool operator==(const TOptionsSettings&) const = default;
};

// What the "Templates" page shows of one template; the body one memo line per element.
struct TTemplateFields {
    std::string ShortcutName;
    std::string Description;
    std::string Files;
    std::string ParameterName;
    std::string DefaultParameter;
    bool MacroReplacement = false;
    std::vector<std::string> Lines;
};

// One node of the "Keys" tree: a path element of the configuration store's key names.
struct TKeyNode {
    std::string Text;
    bool HasEntry = false; // a key of the store ends here
    std::string KeyName;   // that key's full name
    std::vector<std::unique_ptr<TKeyNode>> Children;
};

// The logic of the Options dialog. It edits the editor settings, three main-window options,
// the project search path, a working copy of the code templates and, as a raw tree, every key
// of the configuration store. Nothing but a key value reaches the settings before Accept.
class TOptionsForm {
public:
    TOptionsForm(TConfigurationStore& store, TShellOptions& shell,
                 TObjectList<TTextEditorTemplate>& templates);

    // Showing the dialog: the page values of these editor options and of the shell options;
    // the working copy of the templates refilled with copies, none shown; the key tree rebuilt.
    TOptionsSettings Open(const TTextEditorOptions& editor);

    // Templates page. `shown` is always what the controls hold for the template shown now;
    // it is stored back into that template before anything else happens.
    const TObjectList<TTextEditorTemplate>& WorkingTemplates() const { return Working; }
    int ShownTemplate() const { return Shown; } // -1: none
    TTemplateFields SelectTemplate(int index, const TTemplateFields& shown);
    // Adds a template "New", "New Template", "*.*" at the end and shows it.
    TTemplateFields NewTemplate(const TTemplateFields& shown);
    // Removes the shown template; afterwards none is shown and the controls are to be emptied.
    void DeleteTemplate();

    // Keys page. The nodes live until the next Open.
    const TKeyNode& KeyTree() const { return KeyRoot; }
    // The value of the node's key, empty for a node without one.
    std::string SelectKey(const TKeyNode* node);
    // Written into the selected node's key at once, whether or not the dialog is accepted.
    void SetKeyValue(const std::string& value);

    // The "Default" box.
    bool SaveAsDefault = false;

    // OK: writes the page values into these editor options and the shell options, stores the
    // shown template and replaces the code templates by the working copy, which is left empty.
    // Returns whether "default.cfg" is to be saved now; the "Default" box is then unticked.
    bool Accept(const TOptionsSettings& settings, TTextEditorOptions& editor,
                const TTemplateFields& shown);

private:
    TConfigurationStore& Store;
    TShellOptions& Shell;
    TObjectList<TTextEditorTemplate>& Templates;
    TObjectList<TTextEditorTemplate> Working;
    int Shown = -1;
    TKeyNode KeyRoot;
    const TKeyNode* SelectedKey = nullptr;

    void StoreTemplate(const TTemplateFields& shown);
    void RefillWorkingCopy();
    void RebuildKeyTree();
    void MoveWorkingCopyIntoTemplates();
};

} // namespace corvid
