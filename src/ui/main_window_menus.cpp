// The main window's menus and the editor's context menu: one action per command, each a thin
// call into the buffer list or the editor engine with its status message.

#include "ui/main_window.h"

#include "editor/editor_helpers.h"
#include "editor/text_editor.h"
#include "ui/dock_panes.h"
#include "ui/editor_widget.h"
#include "ui/qt_conversions.h"
#include "workspace/buffer_list.h"

#include <QApplication>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPageSetupDialog>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>

namespace corvid {

namespace {

constexpr int DefaultFontSize = 10;

QAction* AddCommand(QMenu& menu, const char* caption, const QKeySequence& shortcut,
                    const std::function<void()>& command) {
    QAction* action = menu.addAction(caption);
    if (!shortcut.isEmpty())
        action->setShortcut(shortcut);
    QObject::connect(action, &QAction::triggered, action, command);
    return action;
}

} // namespace

void TMainWindow::BuildMenus() {
    BuildFileMenu(*menuBar()->addMenu("&File"));
    BuildEditMenu(*menuBar()->addMenu("&Edit"));
    BuildViewMenu(*menuBar()->addMenu("&View"));
    BuildProjectMenu(*menuBar()->addMenu("&Project"));
    BuildRunMenus();
    BuildToolsAndHelpMenus();
}

void TMainWindow::BuildFileMenu(QMenu& menu) {
    TBufferList& buffers = *BufferList;
    const auto command = [this](const std::function<void()>& run) {
        return [this, run] { Guarded(run); };
    };
    AddCommand(menu, "&New", {}, command([&buffers] { buffers.New(); }));
    AddCommand(menu, "&Open...", {}, command([&buffers] { buffers.Open(); }));
    AddCommand(menu, "&Quick Open...", {}, command([&buffers] { buffers.QuickOpen(); }));
    AddCommand(menu, "&Save", {}, command([&buffers] { buffers.Save(); }));
    AddCommand(menu, "Save &As...", {}, command([&buffers] { buffers.SaveAs(); }));
    AddCommand(menu, "Save Al&l", {}, command([&buffers] { buffers.SaveAll(); }));
    AddCommand(menu, "&Close", {}, command([&buffers] { buffers.Close(); }));
    AddCommand(menu, "Close All", {}, command([&buffers] { buffers.CloseAll(); }));
    AddCommand(menu, "&Reload", {}, command([&buffers] { buffers.Reload(); }));
    AddCommand(menu, "Check &Date/Time", {}, command([&buffers] { buffers.CheckDateTime(); }));
    AddCommand(menu, "&Info...", {}, command([&buffers] { buffers.FileInformation(); }));
    menu.addSeparator();
    AddCommand(menu, "&Print...", {}, command([&buffers] { buffers.Print(); }));
    AddCommand(menu, "Printer Setup...", {}, [this] {
        if (!Printer)
            Printer = std::make_unique<QPrinter>();
        QPageSetupDialog(Printer.get(), this).exec();
    });
    menu.addSeparator();
    AddCommand(menu, "E&xit", QKeySequence(Qt::ALT | Qt::Key_X), [this] { close(); });
}

void TMainWindow::BuildEditMenu(QMenu& menu) {
    TTextEditor& engine = EditorWidget->Engine();
    AddCommand(menu, "&Undo", QKeySequence(Qt::CTRL | Qt::Key_Z),
               [this, &engine] { EditCommand("Text Undone", [&] { engine.Undo(); }); });
    AddCommand(menu, "&Redo", QKeySequence(Qt::CTRL | Qt::Key_Y),
               [this, &engine] { EditCommand("Text Redone", [&] { engine.Redo(); }); });
    menu.addSeparator();
    QAction* indent = AddCommand(menu, "Block &Indent", QKeySequence(Qt::Key_Tab), [this, &engine] {
        if (!engine.HasSelection()) {
            if (EditorWidget->hasFocus())
                engine.KeyDown(TEditorKey::Tab);
            return;
        }
        EditCommand("Block Indented", [&] { engine.BlockIndent(); });
    });
    indent->setShortcutContext(Qt::WidgetShortcut);
    EditorWidget->addAction(indent);
    QAction* undent = AddCommand(menu, "Block &Undent", QKeySequence("Shift+Tab"), [this, &engine] {
        EditCommand("Block Undented", [&] { engine.BlockUndent(); });
    });
    undent->setShortcutContext(Qt::WidgetShortcut);
    EditorWidget->addAction(undent);
    AddCommand(menu, "&Start Block", QKeySequence(Qt::ALT | Qt::Key_A), [this, &engine] {
        EditCommand("Block Start Set",
                    [&] { engine.StartSelection(engine.CaretLine(), engine.CaretColumn()); });
    });
    AddCommand(menu, "&End Block", QKeySequence(Qt::ALT | Qt::Key_Z), [this, &engine] {
        EditCommand("Block End Set",
                    [&] { engine.ExtendSelection(engine.CaretLine(), engine.CaretColumn()); });
    });
    AddCommand(menu, "&Clear Block", QKeySequence(Qt::ALT | Qt::Key_C),
               [this, &engine] { EditCommand("Block Cleared", [&] { engine.ClearSelection(); }); });
    menu.addSeparator();
    AddCommand(menu, "&Copy", QKeySequence(Qt::CTRL | Qt::Key_C),
               [this, &engine] { EditCommand("Block Copied", [&] { engine.CopyToClipboard(); }); });
    AddCommand(menu, "Cu&t", QKeySequence(Qt::CTRL | Qt::Key_X), [this, &engine] {
        EditCommand("Block Cut", [&] {
            engine.CopyToClipboard();
            engine.DeleteSelection();
        });
    });
    AddCommand(menu, "&Paste", QKeySequence(Qt::CTRL | Qt::Key_V),
               [this, &engine] { EditCommand("Block Pasted", [&] { engine.Paste(); }); });
    AddCommand(menu, "&Delete", {}, [this, &engine] {
        EditCommand("Block Deleted", [&] { engine.DeleteSelection(); });
    });
    AddCommand(menu, "&Append", QKeySequence(Qt::CTRL | Qt::Key_A),
               [this, &engine] { EditCommand(nullptr, [&] { engine.AppendToClipboard(); }); });
    AddCommand(menu, "Paste to Column", {}, [this, &engine] {
        EditCommand("Pasted To Block", [&] { engine.PasteIntoRows(); });
    });
    AddCommand(menu, "&Select All", {}, [this, &engine] {
        const TTextEditorFile& file = engine.File();
        const int last = file.LineCount() - 1;
        engine.StartSelection(0, 0);
        engine.ExtendSelection(last, static_cast<int>(file.LineText(last).size()));
        ShowStatus("Selected All");
    });
    menu.addSeparator();
    StreamModeAction =
        AddCommand(menu, "Strea&m Mode", QKeySequence(Qt::ALT | Qt::Key_M), [this, &engine] {
            engine.SetSelectionMode(smStream);
            UpdateSelectionModePanels();
        });
    BlockModeAction =
        AddCommand(menu, "&Block Mode", QKeySequence(Qt::ALT | Qt::Key_B), [this, &engine] {
            engine.SetSelectionMode(smBlock);
            UpdateSelectionModePanels();
        });
    StreamModeAction->setCheckable(true);
    BlockModeAction->setCheckable(true);
    UpdateSelectionModePanels();
}

void TMainWindow::BuildViewMenu(QMenu& menu) {
    TBufferList& buffers = *BufferList;
    AddCommand(menu, "&Buffer List...", QKeySequence(Qt::ALT | Qt::Key_0),
               [this, &buffers] { Guarded([&] { buffers.ShowBufferList(); }); });
    menu.addSeparator();
    AddCommand(menu, "&Bottom Panel", QKeySequence(Qt::Key_Escape),
               [this] { Docks->ToggleBottom(Keys.GetInteger(HostKey("BottomPanelHeight"), 400)); });
    AddCommand(menu, "Left Panel", QKeySequence(Qt::SHIFT | Qt::Key_Escape),
               [this] { Docks->ToggleLeft(Keys.GetInteger(HostKey("LeftPanelWidth"), 300)); });
    AddCommand(menu, "Right Panel", QKeySequence(Qt::SHIFT | Qt::Key_F1),
               [this] { Docks->ToggleRight(Keys.GetInteger(HostKey("RightPanelWidth"), 300)); });
    Docks->Register(*menu.addMenu("Windows"));
    menu.addSeparator();
    AddCommand(menu, "Zoom &In", QKeySequence(Qt::CTRL | Qt::Key_Equal),
               [this] { EditorWidget->SetFontPointSize(EditorWidget->FontPointSize() + 1); });
    AddCommand(menu, "Zoom &Out", QKeySequence(Qt::CTRL | Qt::Key_Minus),
               [this] { EditorWidget->SetFontPointSize(EditorWidget->FontPointSize() - 1); });
    AddCommand(menu, "&Zoom Off", {}, [this] { EditorWidget->SetFontPointSize(DefaultFontSize); });
}

void TMainWindow::BuildProjectMenu(QMenu& menu) {
    AddCommand(menu, "O&ptions...", {}, [this] { ShowOptions(); });
}

void TMainWindow::BuildToolsAndHelpMenus() {
    TTextEditor& engine = EditorWidget->Engine();
    auto* diagram = new TTextEditorParenthesisDiagramHelper(engine);
    diagram->Enabled = false;
    engine.Helpers.Add(diagram);
    HighlightWord = new TTextEditorHighlightWordHelper(engine);
    engine.Helpers.Add(HighlightWord);

    QMenu& tools = *menuBar()->addMenu("&Tools");
    QAction* parenthesis = AddCommand(tools, "&Parenthesis Diagram", {}, [this, diagram] {
        diagram->Enabled = !diagram->Enabled;
        EditorWidget->Engine().InvalidateAll();
    });
    parenthesis->setCheckable(true);

    QMenu& help = *menuBar()->addMenu("&Help");
    AddCommand(help, "&Help", QKeySequence(Qt::Key_F1), [this] { ShowHelp(); });
    AddCommand(help, "&About", {}, [this] {
        QMessageBox::about(this, "About Corvid",
                           "<b>Corvid</b> " CORVID_VERSION "<p>A development environment for the "
                           "Motorola 68HC11: editor, assembler, and debugger for BUFFALO "
                           "boards and the simulator.</p>");
    });
}

// Built once; its shortcuts work whenever the editor has the focus.
void TMainWindow::BuildEditorContextMenu() {
    TTextEditor& engine = EditorWidget->Engine();
    TBufferList& buffers = *BufferList;
    auto* menu = new QMenu(EditorWidget);
    const auto add = [&](QMenu& into, const char* caption, const QKeySequence& shortcut,
                         const std::function<void()>& command) {
        QAction* action =
            AddCommand(into, caption, shortcut, [this, command] { Guarded(command); });
        action->setShortcutContext(Qt::WidgetShortcut);
        EditorWidget->addAction(action);
    };
    add(*menu, "Scroll Down", QKeySequence(Qt::CTRL | Qt::Key_Down),
        [&engine] { engine.SetTopLeft(engine.TopLine() + 1, engine.LeftColumn()); });
    add(*menu, "Scroll Up", QKeySequence(Qt::CTRL | Qt::Key_Up),
        [&engine] { engine.SetTopLeft(engine.TopLine() - 1, engine.LeftColumn()); });
    add(*menu, "Copy Line", QKeySequence(Qt::CTRL | Qt::Key_L), [this, &engine] {
        engine.DuplicateLine(engine.CaretLine());
        engine.MoveCaret(engine.CaretLine() + 1, engine.CaretColumn());
        ShowStatus("Line Duplicated");
    });
    add(*menu, "Delete Line", QKeySequence(Qt::CTRL | Qt::Key_Delete),
        [&engine] { engine.DeleteLine(); });
    add(*menu, "Delete Word", QKeySequence(Qt::CTRL | Qt::Key_T),
        [&engine] { engine.DeleteWord(); });
    add(*menu, "Delete To End Of Line", QKeySequence(Qt::CTRL | Qt::Key_K),
        [&engine] { engine.DeleteToEndOfLine(engine.CaretLine(), engine.CaretColumn()); });
    menu->addSeparator();
    add(*menu, "Swap File &Down", QKeySequence(Qt::CTRL | Qt::Key_Comma),
        [&buffers] { buffers.SwapFileDown(); });
    add(*menu, "Swap File &Up", QKeySequence(Qt::CTRL | Qt::Key_Period),
        [&buffers] { buffers.SwapFileUp(); });
    add(*menu, "Toggle Header/Body", QKeySequence(Qt::ALT | Qt::Key_Q),
        [&buffers] { buffers.ToggleHeaderBody(); });
    QMenu* go = menu->addMenu("Goto");
    add(*go, "Goto Next File", QKeySequence(Qt::ALT | Qt::Key_Equal),
        [&buffers] { buffers.GotoNextFile(); });
    add(*go, "Goto Previous File", QKeySequence(Qt::ALT | Qt::Key_Minus),
        [&buffers] { buffers.GotoPreviousFile(); });
    add(*go, "Goto Next Word", QKeySequence(Qt::CTRL | Qt::Key_Right), [&engine] {
        engine.MoveCaret(engine.CaretLine(),
                         engine.NextWordStart(engine.CaretLine(), engine.CaretColumn()));
    });
    add(*go, "Goto Previous Word", QKeySequence(Qt::CTRL | Qt::Key_Left), [&engine] {
        engine.MoveCaret(engine.CaretLine(),
                         engine.PreviousWordStart(engine.CaretLine(), engine.CaretColumn()));
    });
    add(*go, "Goto Top", QKeySequence(Qt::CTRL | Qt::Key_Home),
        [&engine] { engine.MoveCaret(0, 0); });
    add(*go, "Goto Bottom", QKeySequence(Qt::CTRL | Qt::Key_End),
        [&engine] { engine.MoveCaret(engine.File().LineCount() - 1, 0); });
    for (int number = 1; number <= 9; ++number) {
        const std::string caption = "Goto File " + std::to_string(number);
        add(*go, caption.c_str(), QKeySequence(Qt::ALT | static_cast<Qt::Key>(Qt::Key_0 + number)),
            [&buffers, number] { buffers.GotoFile(number); });
    }
    EditorWidget->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(EditorWidget, &QWidget::customContextMenuRequested, menu,
            [this, menu](const QPoint& point) { menu->popup(EditorWidget->mapToGlobal(point)); });
}

// ---- printing ----------------------------------------------------------------------------

std::optional<TPrintRange> TMainWindow::AskPrintRange(bool selectionAllowed) {
    if (!Printer)
        Printer = std::make_unique<QPrinter>();
    QPrintDialog dialog(Printer.get(), this);
    dialog.setOption(QAbstractPrintDialog::PrintSelection, selectionAllowed);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.printRange() == QAbstractPrintDialog::Selection ? TPrintRange::Selection
                                                                  : TPrintRange::AllLines;
}

void TMainWindow::PrintLines(const std::vector<std::string>& lines) {
    if (!Printer)
        Printer = std::make_unique<QPrinter>();
    QPainter painter;
    if (!painter.begin(Printer.get()))
        throw std::runtime_error("The printer could not be started");
    QFont font("Courier New", DefaultFontSize);
    font.setStyleHint(QFont::TypeWriter);
    painter.setFont(font);
    const QFontMetrics metrics(font, Printer.get());
    const int pageHeight = Printer->pageLayout().paintRectPixels(Printer->resolution()).height();
    int y = metrics.ascent();
    for (const std::string& line : lines) {
        if (y + metrics.descent() > pageHeight) {
            Printer->newPage();
            y = metrics.ascent();
        }
        painter.drawText(0, y, FromBytes(line));
        y += metrics.lineSpacing();
    }
    painter.end();
}

} // namespace corvid
