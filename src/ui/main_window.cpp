#include "ui/main_window.h"

#include "editor/editor_helpers.h"
#include "editor/text_editor.h"
#include "platform/data_paths.h"
#include "ui/dock_panes.h"
#include "ui/editor_widget.h"
#include "ui/file_dialogs.h"
#include "ui/options_dialog.h"
#include "ui/output_panes.h"
#include "ui/qt_conversions.h"
#include "ui/status_panel.h"
#include "workspace/asm_form.h"
#include "workspace/buffer_list.h"
#include "workspace/docking_layout.h"
#include "workspace/external_build.h"
#include "workspace/languages.h"
#include "workspace/message_list.h"
#include "workspace/window_title.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDesktopServices>
#include <QFileDialog>
#include <QFileInfo>
#include <QMenuBar>
#include <QMessageBox>
#include <QPrinter>
#include <QStatusBar>
#include <QTabBar>
#include <QUrl>
#include <QVBoxLayout>

#include <filesystem>

namespace corvid {

namespace {

constexpr const char* ConfigurationFileName = "default.cfg";
constexpr const char* HelpFileName = "corvidhelp.htm";

} // namespace

TMainWindow::TMainWindow()
    : EditorWidget(new TEditorWidget(this)), Tabs(new QTabBar(this)), Docks(new TDockPanes(*this)) {
    setObjectName("MainWindow");
    setDockOptions(QMainWindow::AnimatedDocks | QMainWindow::AllowTabbedDocks |
                   QMainWindow::AllowNestedDocks);
    setCorner(Qt::BottomLeftCorner, Qt::LeftDockWidgetArea);
    setCorner(Qt::BottomRightCorner, Qt::RightDockWidgetArea);

    auto* centre = new QWidget(this);
    auto* layout = new QVBoxLayout(centre);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    Tabs->setObjectName("BufferTabs");
    Tabs->setExpanding(false);
    Tabs->setUsesScrollButtons(true);
    Tabs->setDocumentMode(true);
    Tabs->installEventFilter(this);
    layout->addWidget(Tabs);
    layout->addWidget(EditorWidget, 1);
    setCentralWidget(centre);

    Keys.OnChanged = [this] { StateSaved = false; };
    ProjectSymbols = std::make_unique<TTextEditorReservedWordList>();
    Languages = std::make_unique<TLanguageTable>(ProjectSymbols.get());
    BufferList = std::make_unique<TBufferList>(EditorWidget->Engine(), *this, Shell);
    BufferList->AttachLanguage = [this](TTextEditorFile& file) { Languages->Attach(file); };
    MessageList = std::make_unique<TMessageList>(*BufferList, *this);
    AsmForm = std::make_unique<TAsmForm>(*BufferList, *MessageList, *this);
    ExternalBuild = std::make_unique<TExternalBuild>(*BufferList, *MessageList, *this);
    if (const auto help = FindDataFile("hc11.qhp"))
        Guarded([&] { QuickHelp.LoadFromFile(*help); });

    BuildStatusBar();
    BuildMenus();
    BuildEditorContextMenu();
    BuildPanes();
    ConnectEditor();
    LoadDefaultConfiguration();
    BuffersChanged();
    EditorWidget->setFocus();
}

// Here, where QPrinter is complete.
TMainWindow::~TMainWindow() = default;

// ---- status line -------------------------------------------------------------------------

void TMainWindow::BuildStatusBar() {
    MessageStatusInfo = new TStatusPanel(this);
    QuickHelpStatus = new TStatusPanel(this);
    InsertStatusInfo = new TStatusPanel(this);
    CursorPositionStatusInfo = new TStatusPanel(this);
    SelectionModeStatusInfo = new TStatusPanel(this);
    statusBar()->addWidget(MessageStatusInfo, 3);
    statusBar()->addWidget(QuickHelpStatus, 4);
    statusBar()->addPermanentWidget(InsertStatusInfo);
    statusBar()->addPermanentWidget(CursorPositionStatusInfo);
    statusBar()->addPermanentWidget(SelectionModeStatusInfo);
    CursorPositionStatusInfo->setMinimumWidth(80);
    connect(InsertStatusInfo, &TStatusPanel::Clicked, this, [this] {
        TTextEditor& engine = EditorWidget->Engine();
        engine.SetOverwrite(!engine.Overwrite());
    });
    connect(SelectionModeStatusInfo, &TStatusPanel::Clicked, this, [this] {
        TTextEditor& engine = EditorWidget->Engine();
        engine.SetSelectionMode(engine.SelectionMode() == smStream ? smBlock : smStream);
        UpdateSelectionModePanels();
    });
}

void TMainWindow::ShowStatus(const std::string& text) {
    const QString shown = FromBytes(text);
    if (StatusLockDepth > 0 || MessageStatusInfo->text() == shown)
        return;
    MessageStatusInfo->setText(shown);
    MessageStatusInfo->repaint();
}

QString TMainWindow::StatusText() const {
    return MessageStatusInfo->text();
}

QString TMainWindow::QuickHelpText() const {
    return QuickHelpStatus->text();
}

void TMainWindow::UpdateCaretPanels() {
    const TTextEditor& engine = EditorWidget->Engine();
    CursorPositionStatusInfo->setText(
        QString("%1:%2").arg(engine.CaretLine() + 1).arg(engine.CaretColumn() + 1));
    InsertStatusInfo->setText(engine.Overwrite() ? "Overwrite" : "Insert");
}

void TMainWindow::UpdateSelectionModePanels() {
    const bool block = EditorWidget->Engine().SelectionMode() == smBlock;
    SelectionModeStatusInfo->setText(block ? "Block" : "Stream");
    if (StreamModeAction) {
        StreamModeAction->setChecked(!block);
        BlockModeAction->setChecked(block);
    }
}

// ---- title and tabs ----------------------------------------------------------------------

void TMainWindow::RefreshTitle() {
    const TTextEditorFile& buffer = BufferList->CurrentBuffer();
    const QString title =
        FromBytes(MainWindowTitle(ProjectPath, DisplayName(buffer.FileName), buffer.Modified));
    if (windowTitle() != title)
        setWindowTitle(title);
}

void TMainWindow::RefreshTabs() {
    RefreshingTabs = true;
    while (Tabs->count() > BufferList->Count())
        Tabs->removeTab(Tabs->count() - 1);
    for (int index = 0; index < BufferList->Count(); ++index) {
        const QString text = FromFileName(TBufferList::ShortName(BufferList->Buffer(index)));
        if (index >= Tabs->count())
            Tabs->addTab(text);
        if (Tabs->tabText(index) != text)
            Tabs->setTabText(index, text);
        Tabs->setTabToolTip(index,
                            FromFileName(TBufferList::DisplayName(BufferList->Buffer(index))));
        Tabs->setTabTextColor(index, BufferList->IsMarked(index) ? QColor(200, 0, 0) : QColor());
    }
    Tabs->setCurrentIndex(BufferList->CurrentIndex());
    RefreshingTabs = false;
}

void TMainWindow::BuffersChanged() {
    RefreshTabs();
    RefreshTitle();
    UpdateCaretPanels();
    EditorWidget->update();
}

// The tab strip: a click selects, Ctrl+click marks for the multi-buffer commands, and a
// press on one tab released over another moves the targets there.
bool TMainWindow::eventFilter(QObject* watched, QEvent* event) {
    if (watched != Tabs)
        return QMainWindow::eventFilter(watched, event);
    static int pressedTab = -1;
    if (event->type() == QEvent::MouseButtonPress) {
        auto* mouse = static_cast<QMouseEvent*>(event);
        const int tab = Tabs->tabAt(mouse->position().toPoint());
        if (tab < 0)
            return false;
        if (mouse->button() == Qt::LeftButton && (mouse->modifiers() & Qt::ControlModifier)) {
            BufferList->SetMarked(tab, !BufferList->IsMarked(tab));
            RefreshTabs();
            return true;
        }
        pressedTab = mouse->button() == Qt::LeftButton ? tab : -1;
        Guarded([&] { BufferList->Select(tab); });
        return true;
    }
    if (event->type() == QEvent::MouseButtonRelease) {
        auto* mouse = static_cast<QMouseEvent*>(event);
        const int tab = Tabs->tabAt(mouse->position().toPoint());
        if (mouse->button() == Qt::LeftButton && pressedTab >= 0 && tab >= 0 && tab != pressedTab)
            Guarded([&] { BufferList->MoveTargetsTo(tab); });
        pressedTab = -1;
        return true;
    }
    return false;
}

// ---- editor ------------------------------------------------------------------------------

void TMainWindow::ConnectEditor() {
    connect(EditorWidget, &TEditorWidget::CaretMoved, this, [this] {
        UpdateCaretPanels();
        ShowQuickHelp();
        Guarded([this] { AsmForm->EditorMessage(2); });
    });
    // A burst of edits (a replace over the whole file, a paste) assembles once, after it.
    AutoAssembleTimer.setSingleShot(true);
    AutoAssembleTimer.setInterval(0);
    connect(&AutoAssembleTimer, &QTimer::timeout, this,
            [this] { Guarded([this] { AsmForm->EditorMessage(1); }); });
    connect(EditorWidget, &TEditorWidget::TextChanged, this, [this] {
        if (AsmForm->AutoAssemble)
            AutoAssembleTimer.start();
    });
    connect(EditorWidget, &TEditorWidget::OverwriteChanged, this, &TMainWindow::UpdateCaretPanels);
    connect(EditorWidget, &TEditorWidget::ModifiedChanged, this, &TMainWindow::RefreshTitle);
    connect(EditorWidget, &TEditorWidget::DoubleClicked, this, [this] {
        TTextEditor& engine = EditorWidget->Engine();
        const int line = engine.CaretLine();
        if (Shell.DoubleClickSelectsLine) {
            engine.StartSelection(line, 0);
            engine.ExtendSelection(line + 1, 0);
            ShowStatus("Line Selected");
            return;
        }
        if (const auto bounds = engine.WordBounds(line, engine.CaretColumn())) {
            engine.StartSelection(line, bounds->Start);
            engine.ExtendSelection(line, bounds->End);
        }
        ShowStatus("Word Selected");
    });
    UpdateCaretPanels();
    UpdateSelectionModePanels();
}

// ---- configuration -----------------------------------------------------------------------

TConfiguration TMainWindow::Configuration() {
    return TConfiguration{Keys, Shell, EditorOptions, Templates, nullptr};
}

void TMainWindow::LoadDefaultConfiguration() {
    EditorOptions = EditorWidget->Engine().Options();
    if (const auto file = FindDataFile(ConfigurationFileName)) {
        TConfiguration configuration = Configuration();
        Guarded([&] { LoadConfiguration(*file, false, configuration); });
    }
    EditorWidget->Engine().SetOptions(EditorOptions);
    TDockingLayout layout = TDockingLayout::Defaults();
    layout.Read(Keys);
    Docks->Apply(layout);
}

void TMainWindow::SaveDefaultConfiguration() {
    Docks->Capture().Write(Keys);
    EditorOptions = EditorWidget->Engine().Options();
    TConfiguration configuration = Configuration();
    SaveConfiguration(EnsureUserConfigDirectory() + ConfigurationFileName, false, configuration);
    ShowStatus("Default Config Saved");
}

void TMainWindow::ShowOptions() {
    if (!OptionsDialog)
        OptionsDialog =
            new TOptionsDialog({EditorWidget->Engine(), Shell, Templates, Keys}, this);
    const TOptionsOutcome outcome = OptionsDialog->Exec(EditorWidget->EditorFont());
    if (!outcome.Accepted)
        return;
    EditorWidget->SetEditorFont(outcome.Font);
    if (outcome.SaveDefault)
        Guarded([this] { SaveDefaultConfiguration(); });
}

// ---- commands ----------------------------------------------------------------------------

void TMainWindow::Guarded(const std::function<void()>& command) {
    try {
        command();
    } catch (const std::exception& error) {
        QMessageBox::critical(this, "Error", QString::fromLocal8Bit(error.what()));
    }
}

void TMainWindow::EditCommand(const char* status, const std::function<void()>& command) {
    if (!EditorWidget->hasFocus())
        return;
    Guarded(command);
    if (status)
        ShowStatus(status);
}

void TMainWindow::ShowHelp() {
    const auto page = FindDataFile(HelpFileName);
    if (!page || !QDesktopServices::openUrl(QUrl::fromLocalFile(FromFileName(*page))))
        QMessageBox::critical(this, "Error", "Cannot find help files and/or web browser");
}

void TMainWindow::OpenCommandLine(const QStringList& arguments) {
    for (const QString& argument : arguments) {
        if (argument.startsWith('-') || !QFileInfo(argument).isFile())
            continue;
        const std::string name = ToFileName(QFileInfo(argument).absoluteFilePath());
        if (QFileInfo(argument).suffix().toLower() == "crv") {
            ProjectPath = name;
            RefreshTitle();
            continue;
        }
        Guarded([&] { BufferList->OpenAndShow(name); });
    }
}

// ---- TShellHost --------------------------------------------------------------------------

std::optional<std::string> TMainWindow::AskPassword(const std::string& caption) {
    return RunPasswordDialog(this, FromBytes(caption));
}

TAnswer TMainWindow::AskYesNoCancel(const std::string& caption, const std::string& text) {
    const auto answer = QMessageBox::question(
        this, FromBytes(caption), FromBytes(text),
        QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, QMessageBox::Yes);
    return answer == QMessageBox::Yes ? TAnswer::Yes
                                      : (answer == QMessageBox::No ? TAnswer::No : TAnswer::Cancel);
}

bool TMainWindow::AskYesNo(const std::string& caption, const std::string& text) {
    return QMessageBox::question(this, FromBytes(caption), FromBytes(text),
                                 QMessageBox::Yes | QMessageBox::No) == QMessageBox::Yes;
}

std::optional<std::string> TMainWindow::AskSaveAsName(const std::string& initialName) {
    const QString name =
        QFileDialog::getSaveFileName(this, "Save As", FromFileName(initialName), "All Files (*)");
    if (name.isEmpty())
        return std::nullopt;
    Shell.InitialDirectory = ToFileName(QFileInfo(name).absolutePath());
    return ToFileName(name);
}

std::optional<std::vector<std::string>> TMainWindow::AskOpenNames() {
    QFileDialog dialog(this, "Open", FromFileName(Shell.InitialDirectory));
    dialog.setFileMode(QFileDialog::ExistingFiles);
    dialog.setNameFilters({"Source Files (*.asm)", "Text Files (*.txt)", "All Files (*)"});
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    std::vector<std::string> names;
    for (const QString& name : dialog.selectedFiles())
        names.push_back(ToFileName(name));
    Shell.InitialDirectory = ToFileName(dialog.directory().absolutePath());
    return names;
}

std::optional<std::string> TMainWindow::AskQuickOpenName() {
    return RunQuickOpenDialog(this);
}

void TMainWindow::ShowBufferList(TBufferListDialog& dialog) {
    RunBufferListDialog(this, dialog);
}

void TMainWindow::ShowFileInformation(TFileInformation& information) {
    RunFileInformationDialog(this, information);
}

void TMainWindow::FocusEditor() {
    EditorWidget->setFocus();
}

// ---- window events -----------------------------------------------------------------------

void TMainWindow::closeEvent(QCloseEvent* event) {
    StateSaved = true;
    bool closed = false;
    Guarded([&] { closed = BufferList->CloseAll(); });
    if (!closed) {
        StateSaved = false;
        ShowStatus("Exit Canceled");
        event->ignore();
        return;
    }
    event->accept();
}

void TMainWindow::changeEvent(QEvent* event) {
    QMainWindow::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && isActiveWindow())
        Guarded([this] { BufferList->WindowActivated(); });
}

} // namespace corvid
