// The main window driven as a user would: menu actions, keys and dialogs on the offscreen
// platform, checked by the texts it shows and the files it writes.

#include "editor/text_editor.h"
#include "ui/dock_panes.h"
#include "ui/editor_widget.h"
#include "ui/main_window.h"
#include "workspace/buffer_list.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QDockWidget>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPrintDialog>
#include <QPushButton>
#include <QSpinBox>
#include <QTabBar>
#include <QTest>
#include <QTimer>

#include <filesystem>
#include <fstream>
#include <iterator>

namespace corvid {
namespace {

namespace fs = std::filesystem;

std::string ReadFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

class MainWindowTest : public ::testing::Test {
protected:
    fs::path Dir;
    std::unique_ptr<TMainWindow> Window;

    void SetUp() override {
        char name[] = "/tmp/corvid-ui-XXXXXX";
        Dir = mkdtemp(name);
        Window = std::make_unique<TMainWindow>();
        Window->resize(1000, 700);
        Window->show();
        QApplication::processEvents();
    }
    void TearDown() override {
        // Nothing may stay unsaved: answer any close question with No.
        AnswerNextQuestion(QMessageBox::No);
        Window.reset();
        fs::remove_all(Dir);
    }

    QAction* Action(const QString& text) const {
        for (QAction* action : Window->findChildren<QAction*>())
            if (action->text() == text)
                return action;
        ADD_FAILURE() << "no action " << text.toStdString();
        return nullptr;
    }

    // Clicks the given button of the next message box, once it is shown.
    static void AnswerNextQuestion(QMessageBox::StandardButton button) {
        QTimer::singleShot(0, [button] {
            for (QWidget* widget : QApplication::topLevelWidgets())
                if (auto* box = qobject_cast<QMessageBox*>(widget); box && box->isVisible()) {
                    box->button(button)->click();
                    return;
                }
        });
    }

    fs::path WriteSource(const char* name, const std::string& text) {
        const fs::path path = Dir / name;
        std::ofstream(path, std::ios::binary) << text;
        return path;
    }

    void Type(const QString& text) {
        Window->Editor().setFocus();
        QTest::keyClicks(&Window->Editor(), text);
    }
};

TEST_F(MainWindowTest, TitleFollowsTheBufferAndItsModifiedState) {
    EXPECT_EQ(Window->windowTitle(), "Corvid [Edit \"Untitled\"]");
    Type("LOOP");
    EXPECT_EQ(Window->windowTitle(), "*Corvid [Edit \"Untitled\"]");
}

TEST_F(MainWindowTest, CommandLineOpensFilesIntoTabsReplacingTheUntitledBuffer) {
    const fs::path first = WriteSource("first.asm", " NOP\r\n");
    const fs::path second = WriteSource("second.asm", " RTS\r\n");
    Window->OpenCommandLine({"-NS", QString::fromStdString(first.string()), "missing.asm",
                             QString::fromStdString(second.string())});
    const QTabBar* tabs = Window->findChild<QTabBar*>("BufferTabs");
    ASSERT_EQ(tabs->count(), 2);
    EXPECT_EQ(tabs->tabText(0), "first.asm");
    EXPECT_EQ(tabs->tabText(1), "second.asm");
    EXPECT_EQ(tabs->currentIndex(), 1);
    EXPECT_EQ(Window->windowTitle(),
              QString::fromStdString("Corvid [Edit \"" + second.string() + "\"]"));
    EXPECT_EQ(Window->StatusText(), QString::fromStdString("Opened \"" + second.string() + "\""));
}

TEST_F(MainWindowTest, SaveWritesTheEditedTextAndClearsTheModifiedMark) {
    const fs::path file = WriteSource("prog.asm", " NOP\n");
    Window->OpenCommandLine({QString::fromStdString(file.string())});
    Window->Editor().Engine().MoveCaret(0, 4);
    Type(" ;done");
    Action("&Save")->trigger();
    EXPECT_EQ(ReadFile(file), " NOP ;done\n");
    EXPECT_EQ(Window->StatusText(), QString::fromStdString("Saved \"" + file.string() + "\""));
    EXPECT_FALSE(Window->windowTitle().startsWith('*'));
}

TEST_F(MainWindowTest, ExitIsCanceledWhenTheCloseQuestionIsCanceled) {
    Type("unsaved");
    AnswerNextQuestion(QMessageBox::Cancel);
    EXPECT_FALSE(Window->close());
    EXPECT_EQ(Window->StatusText(), "Exit Canceled");
    EXPECT_TRUE(Window->isVisible());
}

TEST_F(MainWindowTest, EditCommandsReportTheirStatus) {
    Type("abc");
    Action("&Select All")->trigger();
    EXPECT_EQ(Window->StatusText(), "Selected All");
    Action("&Copy")->trigger();
    EXPECT_EQ(Window->StatusText(), "Block Copied");
    EXPECT_EQ(QApplication::clipboard()->text(), "abc");
    Action("&Undo")->trigger();
    EXPECT_EQ(Window->StatusText(), "Text Undone");
    Action("&Block Mode")->trigger();
    EXPECT_TRUE(Action("&Block Mode")->isChecked());
    EXPECT_FALSE(Action("Strea&m Mode")->isChecked());
}

TEST_F(MainWindowTest, PanesAreRegisteredInOrderWithTheirShortcuts) {
    const char* names[] = {"File Manager", "Comm",      "Debug",   "Messages",
                           "Listing",      "Grep",      "Browser", "Project Files",
                           "Symbol",       "QuickHelp", "Shell",   "Desktop"};
    for (int index = 0; index < 12; ++index) {
        EXPECT_NE(Window->Panes().Pane(names[index]), nullptr) << names[index];
        QAction* item = Action(names[index]);
        if (!item)
            continue;
        const QKeySequence expected =
            index <= 9 ? QKeySequence(Qt::CTRL | static_cast<Qt::Key>(Qt::Key_0 + index))
                       : QKeySequence();
        EXPECT_EQ(item->shortcut(), expected) << names[index];
    }
}

TEST_F(MainWindowTest, EscapeCollapsesAndRestoresTheBottomPanel) {
    QDockWidget* messages = Window->Panes().Pane("Messages");
    ASSERT_TRUE(messages->isVisible());
    Action("&Bottom Panel")->trigger();
    EXPECT_FALSE(messages->isVisible());
    Action("&Bottom Panel")->trigger();
    EXPECT_TRUE(messages->isVisible());
}

// Options > Default writes default.cfg; the next start reads the settings and layout back.
TEST_F(MainWindowTest, OptionsSavedAsDefaultComeBackAtTheNextStart) {
    Window->Panes().Pane("QuickHelp")->setFloating(true);
    QTimer::singleShot(0, [] {
        QWidget* dialog = QApplication::activeModalWidget();
        auto* tabSize = dialog ? dialog->findChild<QSpinBox*>("TabSize") : nullptr;
        auto* searchPath = dialog ? dialog->findChild<QLineEdit*>("SearchPath") : nullptr;
        auto* makeDefault = dialog ? dialog->findChild<QCheckBox*>("Default") : nullptr;
        auto* buttons = dialog ? dialog->findChild<QDialogButtonBox*>("Buttons") : nullptr;
        if (!tabSize || !searchPath || !makeDefault || !buttons) {
            ADD_FAILURE() << "the Options dialog lacks a control";
            if (dialog)
                static_cast<QDialog*>(dialog)->reject();
            return;
        }
        tabSize->setValue(7);
        searchPath->setText("/opt/hc11/include");
        makeDefault->setChecked(true);
        buttons->button(QDialogButtonBox::Ok)->click();
    });
    Action("O&ptions...")->trigger();
    EXPECT_EQ(Window->StatusText(), "Default Config Saved");
    const fs::path saved = fs::path(getenv("XDG_CONFIG_HOME")) / "corvid" / "default.cfg";
    ASSERT_TRUE(fs::exists(saved));
    EXPECT_EQ(ReadFile(saved).substr(0, 4), "CRV ");

    Window = std::make_unique<TMainWindow>();
    EXPECT_EQ(Window->Editor().Engine().Options().TabSize, 7);
    EXPECT_EQ(Window->Options().SearchPath, "/opt/hc11/include");
    EXPECT_TRUE(Window->Panes().Pane("QuickHelp")->isFloating());
    EXPECT_FALSE(Window->Panes().Pane("Messages")->isFloating());
    fs::remove(saved);
}

// The print dialog is answered as a person would: the PDF printer, a file name, Print.
TEST_F(MainWindowTest, PrintingToAPdfFileWritesTheDocument) {
    const fs::path source = WriteSource("printed.asm", " ORG $C000\nSTART LDAA #1\n");
    const fs::path pdf = Dir / "printed.pdf";
    Window->OpenCommandLine({QString::fromStdString(source.string())});
    QTimer::singleShot(0, [&pdf] {
        auto* dialog = qobject_cast<QPrintDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        auto* printers = dialog->findChild<QComboBox*>("printers");
        auto* name = dialog->findChild<QLineEdit*>("filename");
        if (!printers || !name) {
            ADD_FAILURE() << "the print dialog has no printer list or file name";
            dialog->reject();
            return;
        }
        printers->setCurrentIndex(printers->findText("Print to File (PDF)"));
        name->setText(QString::fromStdString(pdf.string()));
        dialog->accept();
    });
    Action("&Print...")->trigger();
    ASSERT_TRUE(fs::exists(pdf));
    EXPECT_EQ(ReadFile(pdf).substr(0, 5), "%PDF-");
}

// Renders the window with an example open, so a person can look at it.
TEST_F(MainWindowTest, Screenshot) {
    Window->OpenCommandLine({CORVID_SOURCE_DIR "/examples/blink/blink.asm"});
    Window->resize(1200, 800);
    QApplication::processEvents();
    const QString file = CORVID_BINARY_DIR "/corvid-main-window.png";
    ASSERT_TRUE(Window->grab().save(file));
    EXPECT_GT(fs::file_size(file.toStdString()), 10000u);
}

} // namespace
} // namespace corvid

namespace corvid {
namespace {

class AssembleFromTheIdeTest : public MainWindowTest {
protected:
    QString PaneText(const char* name) const {
        if (auto* list = Window->findChild<QListWidget*>(name)) {
            QStringList lines;
            for (int row = 0; row < list->count(); ++row)
                lines << list->item(row)->text();
            return lines.join('\n');
        }
        if (auto* text = Window->findChild<QPlainTextEdit*>(name))
            return text->toPlainText();
        return "no pane " + QString(name);
    }
};

TEST_F(AssembleFromTheIdeTest, AnErrorIsListedSelectedAndShownInTheEditor) {
    const fs::path file = WriteSource("prog.asm", " ORG $C000\n NOP\n    LDAB MISSING\n");
    Window->OpenCommandLine({QString::fromStdString(file.string())});
    Action("&Assemble")->trigger();
    EXPECT_EQ(PaneText("MessageListBox"), "(3,10)Error:Undeclared identifier");
    EXPECT_EQ(Window->findChild<QListWidget*>("MessageListBox")->currentRow(), 0);
    EXPECT_EQ(Window->Editor().Engine().CaretLine(), 2);
    EXPECT_EQ(Window->Editor().Engine().CaretColumn(), 9);
    EXPECT_EQ(Window->StatusText(), "(3,10)Error:Undeclared identifier");
    EXPECT_TRUE(fs::exists(Dir / "prog.s19"));
}

TEST_F(AssembleFromTheIdeTest, ACleanFileShowsTheMergedListing) {
    const fs::path file = WriteSource("clean.asm", " ORG $C000\nSTART LDAA #1\n");
    Window->OpenCommandLine({QString::fromStdString(file.string())});
    Action("&Assemble")->trigger();
    EXPECT_EQ(PaneText("MessageListBox"), "");
    const QString listing = PaneText("MakeOutputListBox");
    EXPECT_TRUE(listing.startsWith(QString::fromStdString("Make Output for \"" + file.string())))
        << listing.toStdString();
    EXPECT_TRUE(listing.contains("Addr:C000 Op: 86 01            START LDAA #1"))
        << listing.toStdString();
    EXPECT_TRUE(listing.endsWith("START                          Addr:C000"))
        << listing.toStdString();
}

TEST_F(AssembleFromTheIdeTest, QuickHelpFollowsTheCaret) {
    const fs::path file = WriteSource("help.asm", "        LDAB    #1\n        ZZZ\n");
    Window->OpenCommandLine({QString::fromStdString(file.string())});
    Window->Editor().Engine().MoveCaret(0, 10);
    EXPECT_TRUE(Window->QuickHelpText().startsWith("ldab: "))
        << Window->QuickHelpText().toStdString();
    Window->Editor().Engine().MoveCaret(1, 9);
    EXPECT_EQ(Window->QuickHelpText(), "");
}

TEST_F(AssembleFromTheIdeTest, TheBuildScriptsOutputBecomesMessages) {
    const fs::path file = WriteSource("built.asm", " NOP\n NOP\n");
    Window->OpenCommandLine({QString::fromStdString(file.string())});
    const fs::path config = fs::path(getenv("XDG_CONFIG_HOME")) / "corvid";
    fs::create_directories(config);
    std::ofstream(config / "compile.sh")
        << "printf '0001 F800  01\\n2: odd\\n' > \"$(dirname \"$0\")/compile.out\"\n";
    for (QMenu* menu : Window->findChildren<QMenu*>())
        if (menu->title() == "Obsolete")
            menu->actions().front()->trigger();
    for (int wait = 0; wait < 200 && Window->StatusText().startsWith("Compiling"); ++wait)
        QTest::qWait(20);
    EXPECT_TRUE(Window->StatusText().startsWith("Compile Failed In ("))
        << Window->StatusText().toStdString();
    EXPECT_EQ(PaneText("MessageListBox"), "built.asm(2)  odd");
    fs::remove(config / "compile.sh");
}

} // namespace
} // namespace corvid
