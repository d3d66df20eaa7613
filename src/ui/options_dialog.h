#pragma once

#include "workspace/options_form.h"

#include <QDialog>
#include <QFont>

class QCheckBox;
class QLineEdit;
class QListWidget;
class QPlainTextEdit;
class QPushButton;
class QSpinBox;
class QTreeWidget;
class QTreeWidgetItem;

namespace corvid {

class TTextEditor;

// The settings the Options dialog edits; all belong to its owner and outlive the dialog.
struct TOptionsTargets {
    TTextEditor& Editor; // its options are shown on opening and replaced on OK
    TShellOptions& Shell;
    TObjectList<TTextEditorTemplate>& Templates;
    TConfigurationStore& Store;
};

// What the owner has left to do after the dialog closed.
struct TOptionsOutcome {
    bool Accepted = false;
    bool SaveDefault = false; // OK with "Default" ticked: write "default.cfg" now
    QFont Font;               // the editor font, changed or not; for the owner to apply
};

// The "Options" dialog: the Qt face of TOptionsForm. Created on first use and kept, so that
// the "Default" box and the page shown last survive until the next opening.
class TOptionsDialog : public QDialog {
    Q_OBJECT

public:
    explicit TOptionsDialog(const TOptionsTargets& targets, QWidget* parent = nullptr);

    // Shows the current settings and `editorFont`, modally. OK writes the pages back into the
    // targets; Cancel leaves them, except for key values, which are written as they are typed.
    TOptionsOutcome Exec(const QFont& editorFont);

    void accept() override;

private:
    TOptionsTargets Targets;
    TOptionsForm Form;
    TOptionsSettings Settings; // the colours live here between opening and OK
    QFont ChosenFont;
    bool SaveDefault = false;
    bool FillingTemplates = false; // list changes made by the dialog itself are no selections

    QCheckBox* SmartTabs;
    QCheckBox* UndoAfterSave;
    QCheckBox* RemoveTrailingBlanks;
    QCheckBox* AutoIndent;
    QSpinBox* TabSize;
    QCheckBox* DoubleClickLine;
    QCheckBox* ScrollThreshold;
    QSpinBox* ScrollThresholdLine;
    QSpinBox* ScrollThresholdColumn;
    QCheckBox* AutoCheckFileDateTime;
    QCheckBox* LeftMargin;
    QCheckBox* VisibleEndOfFile;
    QPushButton* VisibleEndOfFileColor;
    QCheckBox* ShowModifiedLines;
    QPushButton* ShowModifiedLinesColor;
    QCheckBox* AutosaveDesktop;
    QPushButton* FontButton;
    QLineEdit* SearchPath;
    QListWidget* TemplateList;
    QLineEdit* ShortcutName;
    QLineEdit* Description;
    QLineEdit* Files;
    QLineEdit* ParameterName;
    QLineEdit* DefaultParameter;
    QCheckBox* MacroReplacement;
    QPlainTextEdit* TemplateText;
    QPushButton* DeleteButton;
    QTreeWidget* KeyTree;
    QLineEdit* KeyValue;
    QCheckBox* DefaultBox;

    QWidget* BuildEditorPage();
    QWidget* BuildDisplayGroup();
    QWidget* BuildProjectPage();
    QWidget* BuildTemplatesPage();
    QWidget* BuildKeysPage();

    void ShowSettings();
    void ReadSettings();
    void ShowSwatches();
    void ChooseColour(TColor& colour);
    void ChooseFont();

    void FillTemplateList();
    TTemplateFields PageFields() const;
    void ShowFields(const TTemplateFields& fields);
    void RefreshTemplateItem(int index);
    void SelectTemplate(int row);
    void NewTemplate();
    void DeleteTemplate();

    void FillKeyTree();
    void SelectKey(QTreeWidgetItem* item);
};

} // namespace corvid
