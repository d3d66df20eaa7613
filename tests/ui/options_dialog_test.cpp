// The Options dialog driven through its widgets on the offscreen platform: the pages show the
// settings, OK writes them back, Cancel does not (key values excepted).

#include "editor/text_editor.h"
#include "ui/options_dialog.h"
#include "workspace/configuration_file.h"
#include "workspace/configuration_store.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QColorDialog>
#include <QDialogButtonBox>
#include <QFontDialog>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>

#include <functional>
#include <stdexcept>

namespace corvid {
namespace {

class OptionsDialogTest : public ::testing::Test {
protected:
    TTextEditor Editor;
    TShellOptions Shell;
    TObjectList<TTextEditorTemplate> Templates;
    TConfigurationStore Store;
    TOptionsDialog Dialog{TOptionsTargets{Editor, Shell, Templates, Store}};

    void SetUp() override {
        Store.SetString("Hardware\\Manager\\Active Simulator\\Index", "2");
        Store.SetString("Hardware\\Manager\\Count", "1");
        for (const char* name : {"if", "loop"}) {
            auto* codeTemplate = Templates.Add(new TTextEditorTemplate());
            codeTemplate->Name = name;
            codeTemplate->Description = std::string(name) + " block";
            codeTemplate->Text = std::string(name) + " line 1\r" + name + " line 2";
        }
    }

    // Runs the dialog with `actions` done by the user; a dialog they leave open is cancelled,
    // so that a failing check cannot leave the test waiting for a click.
    TOptionsOutcome Run(const std::function<void()>& actions) {
        QTimer::singleShot(0, [&] {
            try {
                actions();
            } catch (const std::exception& error) {
                ADD_FAILURE() << error.what();
            }
            if (Dialog.isVisible())
                Dialog.reject();
        });
        return Dialog.Exec(QFont("Monospace", 10));
    }

    template <typename Widget>
    Widget& Find(const char* objectName) {
        auto* widget = Dialog.findChild<Widget*>(objectName);
        if (!widget)
            throw std::runtime_error(std::string("no widget ") + objectName);
        return *widget;
    }

    void Press(QDialogButtonBox::StandardButton button) {
        Find<QDialogButtonBox>("Buttons").button(button)->click();
    }

    // Answers the next modal dialog of this type once it shows.
    template <typename Modal>
    static void WhenShown(const std::function<void(Modal&)>& answer) {
        QTimer::singleShot(0, [answer] {
            auto* modal = qobject_cast<Modal*>(QApplication::activeModalWidget());
            if (!modal) {
                ADD_FAILURE() << "the expected dialog did not open";
                return;
            }
            answer(*modal);
        });
    }

    QTreeWidgetItem* KeyItem(const QStringList& path) {
        QTreeWidgetItem* item = Find<QTreeWidget>("KeyTree").invisibleRootItem();
        for (const QString& text : path) {
            QTreeWidgetItem* found = nullptr;
            for (int index = 0; index < item->childCount() && !found; ++index)
                if (item->child(index)->text(0) == text)
                    found = item->child(index);
            if (!found)
                throw std::runtime_error("no key node " + text.toStdString());
            item = found;
        }
        return item;
    }

    QStringList ListTexts() {
        QStringList texts;
        const QListWidget& list = Find<QListWidget>("TemplateList");
        for (int row = 0; row < list.count(); ++row)
            texts << list.item(row)->text();
        return texts;
    }
};

TEST_F(OptionsDialogTest, ThePagesAreThereUnderTheirCaptions) {
    Run([&] {
        EXPECT_EQ(Dialog.windowTitle(), "Options");
        const QTabWidget& pages = Find<QTabWidget>("Pages");
        QStringList captions;
        for (int index = 0; index < pages.count(); ++index)
            captions << pages.tabText(index);
        EXPECT_EQ(captions, (QStringList{"Editor", "Project", "Templates", "Keys", "Hot Keys",
                                         "Language", "Backups", "Tools"}));
        for (const char* unused : {"HotKeysPage", "LanguagePage", "BackupsPage", "ToolsPage"})
            EXPECT_EQ(Find<QWidget>(unused).findChild<QLabel*>()->text(),
                      "The settings of this page are not in use.");
        EXPECT_EQ(Find<QPushButton>("FontButton").text(), "This is a sample of the font");
        EXPECT_EQ(Find<QPushButton>("FontButton").font().family(), QFont("Monospace").family());
    });
}

TEST_F(OptionsDialogTest, OkWritesTheEditorAndProjectPagesBack) {
    TTextEditorOptions options = Editor.Options();
    options.LeftColumnMargin = 2;
    options.TabSize = 4;
    Editor.SetOptions(options);
    Shell.SearchPath = "/usr/src/;";

    const TOptionsOutcome outcome = Run([&] {
        EXPECT_TRUE(Find<QCheckBox>("LeftMargin").isChecked());
        EXPECT_EQ(Find<QSpinBox>("TabSize").value(), 4);
        EXPECT_EQ(Find<QLineEdit>("SearchPath").text(), "/usr/src/;");
        Find<QCheckBox>("LeftMargin").click();
        Find<QSpinBox>("TabSize").setValue(8);
        Find<QCheckBox>("DoubleClickLine").click();
        Find<QCheckBox>("AutosaveDesktop").click();
        Find<QLineEdit>("SearchPath").setText("/opt/hc11/;lib/;");
        Press(QDialogButtonBox::Ok);
    });
    EXPECT_TRUE(outcome.Accepted);
    EXPECT_FALSE(outcome.SaveDefault);
    EXPECT_EQ(Editor.Options().LeftColumnMargin, 0);
    EXPECT_EQ(Editor.Options().TabSize, 8);
    EXPECT_TRUE(Shell.DoubleClickSelectsLine);
    EXPECT_FALSE(Shell.AutosaveDesktop);
    EXPECT_EQ(Shell.SearchPath, "/opt/hc11/;lib/;");

    Run([&] {
        EXPECT_FALSE(Find<QCheckBox>("LeftMargin").isChecked());
        Find<QCheckBox>("LeftMargin").click();
        Press(QDialogButtonBox::Ok);
    });
    EXPECT_EQ(Editor.Options().LeftColumnMargin, 2);
}

TEST_F(OptionsDialogTest, CancelKeepsTheSettingsButNotTheTypedKeyValue) {
    const TOptionsOutcome outcome = Run([&] {
        Find<QSpinBox>("TabSize").setValue(9);
        Find<QTreeWidget>("KeyTree").setCurrentItem(
            KeyItem({"Hardware", "Manager", "Active Simulator", "Index"}));
        QLineEdit& value = Find<QLineEdit>("KeyValue");
        EXPECT_EQ(value.text(), "2");
        EXPECT_TRUE(value.isEnabled());
        value.selectAll();
        QTest::keyClicks(&value, "3");
        Find<QTreeWidget>("KeyTree").setCurrentItem(KeyItem({"Hardware", "Manager"}));
        EXPECT_EQ(value.text(), "");
        EXPECT_FALSE(value.isEnabled()) << "Manager is only a path element";
        Press(QDialogButtonBox::Cancel);
    });
    EXPECT_FALSE(outcome.Accepted);
    EXPECT_EQ(Editor.Options().TabSize, TTextEditorOptions().TabSize);
    EXPECT_EQ(Store.GetString("Hardware\\Manager\\Active Simulator\\Index", ""), "3");
    EXPECT_EQ(Store.Keys().Count(), 2);
}

TEST_F(OptionsDialogTest, TemplatesAreEditedInACopyThatOkPutsInPlace) {
    Run([&] {
        QListWidget& list = Find<QListWidget>("TemplateList");
        EXPECT_EQ(ListTexts(), (QStringList{"if block", "loop block"}));
        EXPECT_EQ(list.currentRow(), -1);
        EXPECT_FALSE(Find<QLineEdit>("Description").isEnabled()) << "no template is shown";

        list.setCurrentRow(0);
        EXPECT_EQ(Find<QLineEdit>("ShortcutName").text(), "if");
        QPlainTextEdit& memo = Find<QPlainTextEdit>("TemplateText");
        EXPECT_EQ(memo.toPlainText(), "if line 1\nif line 2");
        Find<QLineEdit>("Description").setText("If Then");
        memo.setPlainText("IF\n\nENDIF");
        list.setCurrentRow(1);
        EXPECT_EQ(ListTexts(), (QStringList{"If Then", "loop block"}));
        EXPECT_EQ(Templates[0]->Description, "if block") << "nothing is applied before OK";

        Find<QPushButton>("NewTemplate").click();
        EXPECT_EQ(ListTexts(), (QStringList{"If Then", "loop block", "New Template"}));
        EXPECT_EQ(list.currentRow(), 2);
        EXPECT_EQ(Find<QLineEdit>("ShortcutName").text(), "New");
        EXPECT_EQ(Find<QLineEdit>("Files").text(), "*.*");
        Find<QLineEdit>("ShortcutName").setText("wait");
        memo.setPlainText("WAIT BRCLR $2E $80 WAIT");

        list.setCurrentRow(1);
        Find<QPushButton>("DeleteTemplate").click();
        EXPECT_EQ(ListTexts(), (QStringList{"If Then", "New Template"}));
        EXPECT_EQ(list.currentRow(), -1);
        EXPECT_EQ(Find<QLineEdit>("ShortcutName").text(), "");
        EXPECT_FALSE(Find<QPushButton>("DeleteTemplate").isEnabled());
        Press(QDialogButtonBox::Ok);
    });
    ASSERT_EQ(Templates.Count(), 2);
    EXPECT_EQ(Templates[0]->Description, "If Then");
    EXPECT_EQ(Templates[0]->Text, "IF\r\rENDIF");
    EXPECT_EQ(Templates[1]->Name, "wait");
    EXPECT_EQ(Templates[1]->Text, "WAIT BRCLR $2E $80 WAIT");
}

TEST_F(OptionsDialogTest, CancelDropsTheTemplateEdits) {
    Run([&] {
        Find<QListWidget>("TemplateList").setCurrentRow(0);
        Find<QPushButton>("DeleteTemplate").click();
        Press(QDialogButtonBox::Cancel);
    });
    ASSERT_EQ(Templates.Count(), 2);
    Run([&] { EXPECT_EQ(ListTexts(), (QStringList{"if block", "loop block"})); });
}

TEST_F(OptionsDialogTest, DeletingEveryTemplateAndOkLeavesNone) {
    Run([&] {
        QListWidget& list = Find<QListWidget>("TemplateList");
        while (list.count() > 0) {
            list.setCurrentRow(0);
            Find<QPushButton>("DeleteTemplate").click();
        }
        Press(QDialogButtonBox::Ok);
    });
    EXPECT_TRUE(Templates.IsEmpty());
}

TEST_F(OptionsDialogTest, TheDefaultBoxAsksForOneSave) {
    const TOptionsOutcome ticked = Run([&] {
        Find<QCheckBox>("Default").click();
        Press(QDialogButtonBox::Ok);
    });
    EXPECT_TRUE(ticked.SaveDefault);
    const TOptionsOutcome again = Run([&] {
        EXPECT_FALSE(Find<QCheckBox>("Default").isChecked()) << "unticked after the save";
        Press(QDialogButtonBox::Ok);
    });
    EXPECT_TRUE(again.Accepted);
    EXPECT_FALSE(again.SaveDefault);
    const TOptionsOutcome cancelled = Run([&] {
        Find<QCheckBox>("Default").click();
        Press(QDialogButtonBox::Cancel);
    });
    EXPECT_FALSE(cancelled.Accepted);
    Run([&] {
        EXPECT_FALSE(Find<QCheckBox>("Default").isChecked()) << "unticked after a cancel";
        Press(QDialogButtonBox::Cancel);
    });
}

TEST_F(OptionsDialogTest, ASwatchTakesTheColourChosenInTheColourDialog) {
    Run([&] {
        WhenShown<QColorDialog>([](QColorDialog& colours) {
            EXPECT_EQ(colours.currentColor(), QColor(0xC0, 0xC0, 0xC0));
            colours.setCurrentColor(QColor(0x12, 0x34, 0x56));
            colours.accept();
        });
        Find<QPushButton>("VisibleEndOfFileColor").click();
        WhenShown<QColorDialog>([](QColorDialog& colours) {
            colours.setCurrentColor(Qt::red);
            colours.reject();
        });
        Find<QPushButton>("ShowModifiedLinesColor").click();
        Press(QDialogButtonBox::Ok);
    });
    EXPECT_EQ(Editor.Options().VisibleEOFColor, 0x563412u) << "stored blue in the high byte";
    EXPECT_EQ(Editor.Options().ShowModifiedLinesColor, TTextEditorOptions().ShowModifiedLinesColor)
        << "a cancelled colour dialog changes nothing";
}

TEST_F(OptionsDialogTest, TheFontButtonTakesTheFontChosenInTheFontDialog) {
    const TOptionsOutcome outcome = Run([&] {
        WhenShown<QFontDialog>([](QFontDialog& fonts) {
            QFont font = fonts.currentFont();
            font.setPointSize(15);
            fonts.setCurrentFont(font);
            fonts.accept();
        });
        Find<QPushButton>("FontButton").click();
        EXPECT_EQ(Find<QPushButton>("FontButton").font().pointSize(), 15);
        Press(QDialogButtonBox::Ok);
    });
    EXPECT_EQ(outcome.Font.pointSize(), 15);
}

} // namespace
} // namespace corvid
