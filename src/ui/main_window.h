#pragma once

#include "editor/code_templates.h"
#include "editor/editor_options.h"
#include "foundation/object_list.h"
#include "workspace/configuration_file.h"
#include "workspace/configuration_store.h"
#include "workspace/quick_help.h"
#include "workspace/shell_host.h"

#include <QMainWindow>
#include <QTimer>

#include <memory>
#include <string>

class QAction;
class QPrinter;
class QLabel;
class QMenu;
class QTabBar;

namespace corvid {

class TAsmForm;
class TBufferList;
class TDockPanes;
class TExternalBuild;
class TLanguageTable;
class TListingPane;
class TMessageList;
class TMessagePane;
class TOptionsDialog;
class TQuickHelpPane;
class TTextEditorHighlightWordHelper;
class TTextEditorReservedWordList;
class TEditorWidget;
class TStatusPanel;

// The IDE's main window: the editor with its tab strip, the docking panes, the status line
// with its five panels and the menus. The file and buffer logic lives in TBufferList, the
// settings in the configuration store; this window hosts them and answers their questions.
class TMainWindow : public QMainWindow, public TShellHost {
    Q_OBJECT

public:
    TMainWindow();
    ~TMainWindow() override;

    TEditorWidget& Editor() const { return *EditorWidget; }
    TBufferList& Buffers() const { return *BufferList; }
    TConfigurationStore& Store() { return Keys; }
    TDockPanes& Panes() const { return *Docks; }
    const TShellOptions& Options() const { return Shell; }
    TAsmForm& Assembler() const { return *AsmForm; }
    TMessageList& Messages() const { return *MessageList; }
    const TQuickHelp& Help() const { return QuickHelp; }

    // Opens the files and projects named on a command line (program name excluded).
    void OpenCommandLine(const QStringList& arguments);

    QString StatusText() const;
    QString QuickHelpText() const;
    // Nesting: while above zero, status messages are not shown.
    void BeginStatusLock() { ++StatusLockDepth; }
    void EndStatusLock() { --StatusLockDepth; }

    // TShellHost
    void ShowStatus(const std::string& text) override;
    std::optional<std::string> AskPassword(const std::string& caption) override;
    TAnswer AskYesNoCancel(const std::string& caption, const std::string& text) override;
    bool AskYesNo(const std::string& caption, const std::string& text) override;
    std::optional<std::string> AskSaveAsName(const std::string& initialName) override;
    std::optional<std::vector<std::string>> AskOpenNames() override;
    std::optional<std::string> AskQuickOpenName() override;
    std::optional<TPrintRange> AskPrintRange(bool selectionAllowed) override;
    void PrintLines(const std::vector<std::string>& lines) override;
    void ShowBufferList(TBufferListDialog& dialog) override;
    void ShowFileInformation(TFileInformation& information) override;
    void BuffersChanged() override;
    void FocusEditor() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    TConfigurationStore Keys;
    TShellOptions Shell;
    TTextEditorOptions EditorOptions; // as the configuration file carries them
    TObjectList<TTextEditorTemplate> Templates;
    TEditorWidget* EditorWidget;
    QTabBar* Tabs;
    TDockPanes* Docks;
    std::unique_ptr<TTextEditorReservedWordList> ProjectSymbols;
    std::unique_ptr<TLanguageTable> Languages;
    std::unique_ptr<TBufferList> BufferList;
    TQuickHelp QuickHelp;
    std::unique_ptr<TMessageList> MessageList;
    std::unique_ptr<TAsmForm> AsmForm;
    std::unique_ptr<TExternalBuild> ExternalBuild;
    TTextEditorHighlightWordHelper* HighlightWord = nullptr;
    TMessagePane* MessagePane = nullptr;
    TListingPane* ListingPane = nullptr;
    TQuickHelpPane* QuickHelpPane = nullptr;
    TOptionsDialog* OptionsDialog = nullptr; // created on first use and kept
    QTimer BuildTimer;
    QTimer AutoAssembleTimer;
    TStatusPanel* MessageStatusInfo;
    TStatusPanel* QuickHelpStatus;
    TStatusPanel* InsertStatusInfo;
    TStatusPanel* CursorPositionStatusInfo;
    TStatusPanel* SelectionModeStatusInfo;
    std::unique_ptr<QPrinter> Printer;
    QAction* StreamModeAction = nullptr;
    QAction* BlockModeAction = nullptr;
    int StatusLockDepth = 0;
    bool StateSaved = false;
    bool RefreshingTabs = false;
    std::string ProjectPath;

    void BuildStatusBar();
    void BuildMenus();
    void BuildFileMenu(QMenu& menu);
    void BuildEditMenu(QMenu& menu);
    void BuildViewMenu(QMenu& menu);
    void BuildProjectMenu(QMenu& menu);
    void BuildToolsAndHelpMenus();
    void BuildRunMenus();
    void BuildPanes();
    void ShowQuickHelp();
    void HighlightRange(int line, int column, int length);
    void BuildEditorContextMenu();
    void ConnectEditor();

    TConfiguration Configuration();
    void LoadDefaultConfiguration();
    void SaveDefaultConfiguration();
    void ShowOptions();

    void RefreshTitle();
    void RefreshTabs();
    void UpdateCaretPanels();
    void UpdateSelectionModePanels();

    // Runs an Edit command only while the editor has the focus, then reports it.
    void EditCommand(const char* status, const std::function<void()>& command);
    // Runs a command, reporting any error it raises instead of losing the window.
    void Guarded(const std::function<void()>& command);
    void ShowHelp();
};

} // namespace corvid
