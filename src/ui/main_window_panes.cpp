// The panes of the assembler and the build, the Run menu, and the quick help at the caret.

#include "ui/main_window.h"

#include "editor/editor_helpers.h"
#include "editor/text_editor.h"
#include "platform/data_paths.h"
#include "ui/dock_panes.h"
#include "ui/editor_widget.h"
#include "ui/output_panes.h"
#include "ui/qt_conversions.h"
#include "ui/status_panel.h"
#include "workspace/asm_form.h"
#include "workspace/buffer_list.h"
#include "workspace/external_build.h"
#include "workspace/message_list.h"

#include <QDockWidget>
#include <QMenu>
#include <QMenuBar>

namespace corvid {

void TMainWindow::BuildPanes() {
    MessagePane = new TMessagePane(*MessageList, this);
    ListingPane = new TListingPane(*MessageList, this);
    QuickHelpPane = new TQuickHelpPane(QuickHelp, this);
    Docks->SetContent("Messages", MessagePane);
    Docks->SetContent("Listing", ListingPane);
    Docks->SetContent("QuickHelp", QuickHelpPane);
    MessageList->MessagesChanged = [this] { MessagePane->Refresh(); };
    MessageList->MessageShown = [this](int index) { MessagePane->ShowSelected(index); };
    MessageList->MakeOutputChanged = [this] { ListingPane->Refresh(); };
    MessageList->HighlightRange = [this](int line, int column, int length) {
        HighlightRange(line, column, length);
    };
    AsmForm->HighlightRange = MessageList->HighlightRange;
    ListingPane->PrintRequested = [this] {
        Guarded([this] {
            if (!AskPrintRange(false)) {
                ShowStatus("Print Canceled");
                return;
            }
            std::vector<std::string> lines;
            for (const std::string& line : MessageList->MakeOutput)
                lines.push_back(std::string(12, ' ') + line);
            PrintLines(lines);
            ShowStatus("Printed Make Output");
        });
    };
    // After a build the user looks at the editor, or at the messages when it failed.
    ExternalBuild->ShowResult = [this](bool succeeded) {
        if (succeeded) {
            EditorWidget->setFocus();
            return;
        }
        Docks->ShowPane(Docks->Pane("Messages"));
        MessagePane->setFocus();
    };
    BuildTimer.setInterval(100);
    connect(&BuildTimer, &QTimer::timeout, this, [this] {
        Guarded([this] {
            if (ExternalBuild->Poll() || !ExternalBuild->Running())
                BuildTimer.stop();
        });
    });
}

void TMainWindow::BuildRunMenus() {
    QMenu& run = *menuBar()->addMenu("&Run");
    QAction* assemble = run.addAction("&Assemble");
    assemble->setShortcut(QKeySequence(Qt::Key_F7));
    connect(assemble, &QAction::triggered, this, [this] {
        Guarded([this] {
            if (!AsmForm->Assemble())
                Docks->ShowPane(Docks->Pane("Messages"));
        });
    });
    QMenu& options = *run.addMenu("HC11")->addMenu("&Assembler")->addMenu("Options");
    QAction* autoAssemble = options.addAction("Auto Assemble");
    autoAssemble->setToolTip("Automatically reassemble after every change");
    autoAssemble->setStatusTip(autoAssemble->toolTip());
    autoAssemble->setCheckable(true);
    connect(autoAssemble, &QAction::toggled, this,
            [this](bool checked) { AsmForm->AutoAssemble = checked; });
    QAction* compatible = options.addAction("Compatibilty Mode");
    compatible->setToolTip("100% compatibility with motorola assembler");
    compatible->setStatusTip(compatible->toolTip());
    compatible->setCheckable(true);
    connect(compatible, &QAction::toggled, this,
            [this](bool checked) { AsmForm->CompatibilityMode = checked; });

    QMenu& obsolete = *menuBar()->addMenu("Obsolete");
    connect(obsolete.addAction("&Assemble"), &QAction::triggered, this, [this] {
        Guarded([this] {
            ExternalBuild->ScriptPath = FindWritableDataFile("compile.sh").value_or("");
            ExternalBuild->Start();
            if (ExternalBuild->Running())
                BuildTimer.start();
        });
    });
}

void TMainWindow::HighlightRange(int line, int column, int length) {
    TTextEditor& engine = EditorWidget->Engine();
    HighlightWord->Line = line;
    HighlightWord->StartColumn = column;
    HighlightWord->EndColumn = column + std::max(length, 1) - 1;
    HighlightWord->File = &engine.File();
    HighlightWord->Show();
}

// The help line of the word at the caret, in the status line and as the editor's tooltip.
void TMainWindow::ShowQuickHelp() {
    const TTextEditor& engine = EditorWidget->Engine();
    const TQuickHelpEntry* entry =
        QuickHelp.Lookup(engine.File().LineText(engine.CaretLine()), engine.CaretColumn());
    const QString text = entry ? FromBytes(TQuickHelp::StatusText(*entry)) : QString();
    QuickHelpStatus->setText(text);
    EditorWidget->setToolTip(text);
}

} // namespace corvid
