#include "editor/editor_options.h"
#include "workspace/configuration_file.h"
#include "workspace/configuration_store.h"
#include "workspace/options_form.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace corvid {
namespace {

class OptionsFormTest : public ::testing::Test {
protected:
    TConfigurationStore Store;
    TShellOptions Shell;
    TObjectList<TTextEditorTemplate> Templates;
    TTextEditorOptions Editor;
    TOptionsForm Form{Store, Shell, Templates};
    // What the Templates page's controls hold, as the user left them.
    TTemplateFields Page;

    void SetUp() override {
        AddTemplate("if", "if ($cursor$)\r{\r}");
        AddTemplate("loop", "LOOP DECA\r BNE LOOP\r");
        AddTemplate("empty", "");
    }

    void AddTemplate(const std::string& name, const std::string& body) {
        auto* codeTemplate = Templates.Add(new TTextEditorTemplate());
        codeTemplate->Name = name;
        codeTemplate->Description = name + " description";
        codeTemplate->Parameter = name + " last parameter";
        codeTemplate->Text = body;
    }

    void Select(int index) { Page = Form.SelectTemplate(index, Page); }

    const TTextEditorTemplate& Working(int index) const { return *Form.WorkingTemplates()[index]; }

    bool Accept(const TOptionsSettings& settings) { return Form.Accept(settings, Editor, Page); }

    const TKeyNode* Child(const TKeyNode& parent, const std::string& text) const {
        for (const auto& child : parent.Children)
            if (child->Text == text)
                return child.get();
        return nullptr;
    }
};

// ---- Editor and Project pages ------------------------------------------------------------

TEST_F(OptionsFormTest, TheGutterIsTwoColumnsWhenTickedAndNoneWhenNot) {
    const struct {
        int stored;
        bool shownTicked;
        bool ticked;
        int written;
    } cases[] = {{2, true, false, 0},
                 {0, false, true, 2},
                 {7, true, true, 2},
                 {0, false, false, 0},
                 {-3, false, true, 2}};
    for (const auto& c : cases) {
        Editor.LeftColumnMargin = c.stored;
        TOptionsSettings settings = Form.Open(Editor);
        EXPECT_EQ(settings.LeftMargin, c.shownTicked) << "stored " << c.stored;
        settings.LeftMargin = c.ticked;
        Accept(settings);
        EXPECT_EQ(Editor.LeftColumnMargin, c.written) << "stored " << c.stored;
    }
}

// Each control changed alone must reach its own setting and no other.
TEST_F(OptionsFormTest, EachControlWritesItsOwnSetting) {
    struct Case {
        const char* control;
        std::function<void(TOptionsSettings&)> change;
        std::function<bool()> written;
    };
    const TTextEditorOptions& e = Editor;
    const TShellOptions& s = Shell;
    const Case cases[] = {
        {"Smart Tabs", [](auto& v) { v.SmartTabs = !v.SmartTabs; }, [&] { return !e.SmartTabs; }},
        {"Undo After Save", [](auto& v) { v.UndoAfterSave = !v.UndoAfterSave; },
         [&] { return !e.UndoAfterSave; }},
        {"Remove Trailing Blanks", [](auto& v) { v.RemoveTrailingBlanks = false; },
         [&] { return !e.RemoveTrailingBlanks; }},
        {"Auto Indent", [](auto& v) { v.AutoIndent = false; }, [&] { return !e.AutoIndent; }},
        {"Tab Size", [](auto& v) { v.TabSize = 7; }, [&] { return e.TabSize == 7; }},
        {"Double Click Line", [](auto& v) { v.DoubleClickLine = true; },
         [&] { return s.DoubleClickSelectsLine; }},
        {"Scroll Threshold", [](auto& v) { v.ScrollThreshold = false; },
         [&] { return !e.ScrollThresholdEnabled; }},
        {"Line", [](auto& v) { v.ScrollThresholdLine = 3; },
         [&] { return e.LineScrollThreshold == 3; }},
        {"Column", [](auto& v) { v.ScrollThresholdColumn = 11; },
         [&] { return e.ColumnScrollThreshold == 11; }},
        {"Auto Check File Date/Time", [](auto& v) { v.AutoCheckFileDateTime = false; },
         [&] { return !s.AutoCheckFileDates; }},
        {"Visible End of File", [](auto& v) { v.VisibleEndOfFile = true; },
         [&] { return e.VisibleEOF; }},
        {"Visible End of File colour", [](auto& v) { v.VisibleEndOfFileColor = 0x123456; },
         [&] { return e.VisibleEOFColor == 0x123456; }},
        {"Show Modified Lines", [](auto& v) { v.ShowModifiedLines = true; },
         [&] { return e.ShowModifiedLines; }},
        {"Show Modified Lines colour", [](auto& v) { v.ShowModifiedLinesColor = 0x0000FF; },
         [&] { return e.ShowModifiedLinesColor == 0x0000FF; }},
        {"Autosave Desktop", [](auto& v) { v.AutosaveDesktop = false; },
         [&] { return !s.AutosaveDesktop; }},
        {"Search Path", [](auto& v) { v.SearchPath = "/usr/src/;lib/;"; },
         [&] { return s.SearchPath == "/usr/src/;lib/;"; }},
    };
    const TTextEditorOptions editorBefore;
    const TShellOptions shellBefore;
    for (const Case& c : cases) {
        Editor = editorBefore;
        Shell = shellBefore;
        TOptionsSettings settings = Form.Open(Editor);
        c.change(settings);
        Accept(settings);
        EXPECT_TRUE(c.written()) << c.control;
        // ... and nothing else moved: the page reads back exactly what it wrote.
        EXPECT_EQ(Form.Open(Editor), settings) << c.control;
    }
}

// ---- Keys page ---------------------------------------------------------------------------

TEST_F(OptionsFormTest, KeyNamesBecomeATreeCutAtBackslashes) {
    Store.SetString("Hardware\\Manager\\Active Simulator\\Index", "2");
    Store.SetString("Hardware\\Manager\\Count", "3");
    Store.SetString("Configuration\\Editor\\Docking windows\\Comm\\Visible", "1");
    Store.SetString("Hardware\\Manager", "a key on an inner node");
    Store.SetString("Hardware\\\\Baud\\", "doubled and trailing separators");
    Form.Open(Editor);

    const TKeyNode& root = Form.KeyTree();
    ASSERT_EQ(root.Children.size(), 2u) << "Hardware is reused, not added twice";
    EXPECT_EQ(root.Children[0]->Text, "Hardware");
    EXPECT_EQ(root.Children[1]->Text, "Configuration");
    const TKeyNode* manager = Child(*root.Children[0], "Manager");
    ASSERT_NE(manager, nullptr);
    ASSERT_EQ(manager->Children.size(), 2u);
    const TKeyNode* simulator = Child(*manager, "Active Simulator");
    ASSERT_NE(simulator, nullptr);
    EXPECT_FALSE(simulator->HasEntry);
    ASSERT_EQ(simulator->Children.size(), 1u);
    const TKeyNode& index = *simulator->Children[0];
    EXPECT_EQ(index.Text, "Index");
    EXPECT_TRUE(index.HasEntry);
    EXPECT_EQ(index.KeyName, "Hardware\\Manager\\Active Simulator\\Index");
    EXPECT_TRUE(index.Children.empty());
    EXPECT_TRUE(manager->HasEntry);
    EXPECT_EQ(manager->KeyName, "Hardware\\Manager");
    const TKeyNode* baud = Child(*root.Children[0], "Baud");
    ASSERT_NE(baud, nullptr);
    EXPECT_EQ(baud->KeyName, "Hardware\\\\Baud\\");

    EXPECT_EQ(Form.SelectKey(&index), "2");
    EXPECT_EQ(Form.SelectKey(simulator), "") << "a node without a key shows nothing";
    EXPECT_EQ(Form.SelectKey(manager), "a key on an inner node");
}

// A name without a path element would otherwise be out of reach of the page; one made of
// separators only must not make the walk along its elements go on for ever.
TEST_F(OptionsFormTest, ANameWithoutElementsStillGetsANode) {
    Store.SetString("", "empty name");
    Store.SetString("\\", "separator only");
    Form.Open(Editor);
    const TKeyNode& root = Form.KeyTree();
    ASSERT_EQ(root.Children.size(), 2u);
    EXPECT_EQ(root.Children[0]->Text, "");
    EXPECT_EQ(root.Children[1]->Text, "\\");
    EXPECT_EQ(Form.SelectKey(root.Children[1].get()), "separator only");
}

TEST_F(OptionsFormTest, AnEditedKeyValueIsWrittenAtOnceAndKeptWithoutOk) {
    Store.SetString("Hardware\\Manager\\Active Simulator\\Index", "2");
    int changes = 0;
    Store.OnChanged = [&] { ++changes; };
    Form.Open(Editor);
    const TKeyNode& index = *Form.KeyTree().Children[0]->Children[0]->Children[0]->Children[0];
    Form.SelectKey(&index);
    EXPECT_EQ(changes, 0) << "showing a value changes nothing";
    Form.SetKeyValue("5");
    EXPECT_EQ(Store.GetString("Hardware\\Manager\\Active Simulator\\Index", ""), "5");
    EXPECT_EQ(changes, 1) << "the window's state-saved flag is cleared";

    // Cancel: the dialog is shown again later without an OK in between.
    Form.Open(Editor);
    const TKeyNode& again = *Form.KeyTree().Children[0]->Children[0]->Children[0]->Children[0];
    EXPECT_EQ(Form.SelectKey(&again), "5");
    EXPECT_EQ(Store.Keys().Count(), 1);
}

TEST_F(OptionsFormTest, AValueTypedOnANodeWithoutKeyGoesNowhere) {
    Store.SetString("A\\B", "b");
    Form.Open(Editor);
    Form.SetKeyValue("nothing selected");
    Form.SelectKey(Form.KeyTree().Children[0].get());
    Form.SetKeyValue("inner node");
    ASSERT_EQ(Store.Keys().Count(), 1);
    EXPECT_EQ(Store.Keys()[0]->Value, "b");
}

// ---- Templates page ----------------------------------------------------------------------

TEST_F(OptionsFormTest, OpeningShowsCopiesOfTheTemplatesWithNoneSelected) {
    Form.Open(Editor);
    ASSERT_EQ(Form.WorkingTemplates().Count(), 3);
    EXPECT_EQ(Form.ShownTemplate(), -1);
    for (int index = 0; index < 3; ++index) {
        EXPECT_NE(&Working(index), Templates[index]);
        EXPECT_EQ(Working(index).Description, Templates[index]->Description);
        EXPECT_EQ(Working(index).Parameter, Templates[index]->Parameter);
    }
}

TEST_F(OptionsFormTest, SelectingShowsTheBodyOneLinePerCarriageReturn) {
    const struct {
        int index;
        std::vector<std::string> lines;
    } cases[] = {{0, {"if ($cursor$)", "{", "}"}}, {1, {"LOOP DECA", " BNE LOOP", ""}}, {2, {""}}};
    Form.Open(Editor);
    for (const auto& c : cases) {
        Select(c.index);
        EXPECT_EQ(Page.Lines, c.lines) << c.index;
        EXPECT_EQ(Page.ShortcutName, Templates[c.index]->Name);
        EXPECT_EQ(Page.Files, "*.*");
    }
}

TEST_F(OptionsFormTest, SelectingAnotherStoresTheShownFieldsFirst) {
    Templates[0]->ParameterPrompt = "Register";
    Templates[0]->DefaultParameter = "A";
    Templates[0]->ExpandVariables = false;
    Form.Open(Editor);
    Select(0);
    EXPECT_EQ(Page.ParameterName, "Register");
    EXPECT_EQ(Page.DefaultParameter, "A");
    EXPECT_FALSE(Page.MacroReplacement);
    Page = {"ldx", "Load X", "*.asm", "Label", "TABLE", true, {" LDX #$PARAM$", "", " RTS"}};
    Select(2);
    Page.Description = "edited but not stored";

    const TTextEditorTemplate& stored = Working(0);
    EXPECT_EQ(stored.Name, "ldx");
    EXPECT_EQ(stored.Description, "Load X");
    EXPECT_EQ(stored.FileMask, "*.asm");
    EXPECT_EQ(stored.ParameterPrompt, "Label");
    EXPECT_EQ(stored.DefaultParameter, "TABLE");
    EXPECT_TRUE(stored.ExpandVariables);
    EXPECT_EQ(stored.Text, " LDX #$PARAM$\r\r RTS") << "no carriage return after the last line";
    EXPECT_EQ(stored.Parameter, "if last parameter") << "the page does not show it";
    EXPECT_EQ(Templates[0]->Name, "if") << "the code templates wait for OK";

    Select(0);
    EXPECT_EQ(Page.Lines, (std::vector<std::string>{" LDX #$PARAM$", "", " RTS"}));
    EXPECT_EQ(Working(2).Description, "edited but not stored")
        << "leaving a template stores what its page held";
}

TEST_F(OptionsFormTest, NewStoresTheShownTemplateAndShowsADefaultOne) {
    const TOptionsSettings settings = Form.Open(Editor);
    Select(1);
    Page.Description = "Loop";
    Page = Form.NewTemplate(Page);
    EXPECT_EQ(Form.ShownTemplate(), 3);
    EXPECT_EQ(Page.ShortcutName, "New");
    EXPECT_EQ(Page.Lines, std::vector<std::string>{""});
    EXPECT_EQ(Working(1).Description, "Loop");
    EXPECT_EQ(Working(3).Name, "New");
    EXPECT_EQ(Working(3).Description, "New Template");
    EXPECT_EQ(Working(3).FileMask, "*.*");
    EXPECT_EQ(Working(3).Text, "");

    Page.Lines = {"new body", "second"};
    EXPECT_FALSE(Accept(settings));
    ASSERT_EQ(Templates.Count(), 4);
    EXPECT_EQ(Templates[3]->Text, "new body\rsecond");
    EXPECT_EQ(Templates[1]->Description, "Loop");
    EXPECT_TRUE(Form.WorkingTemplates().IsEmpty()) << "the templates moved, not copied";
}

// The deleted template must not receive the fields its page still holds.
TEST_F(OptionsFormTest, DeletingLeavesNoTemplateShown) {
    Form.Open(Editor);
    Form.DeleteTemplate();
    EXPECT_EQ(Form.WorkingTemplates().Count(), 3) << "nothing selected: nothing deleted";
    Select(1);
    Form.DeleteTemplate();
    EXPECT_EQ(Form.ShownTemplate(), -1);
    ASSERT_EQ(Form.WorkingTemplates().Count(), 2);
    EXPECT_EQ(Working(1).Name, "empty");
    Select(1);
    EXPECT_EQ(Page.ShortcutName, "empty");
    EXPECT_EQ(Working(0).Name, "if");
}

TEST_F(OptionsFormTest, DeletingEveryTemplateAndOkEmptiesTheTemplates) {
    const TOptionsSettings settings = Form.Open(Editor);
    while (!Form.WorkingTemplates().IsEmpty()) {
        Select(0);
        Form.DeleteTemplate();
    }
    Accept(settings);
    EXPECT_TRUE(Templates.IsEmpty());
}

TEST_F(OptionsFormTest, WithoutOkTheTemplatesStayAsTheyWere) {
    Form.Open(Editor);
    Select(0);
    Form.DeleteTemplate();
    Form.NewTemplate(Page);
    Form.Open(Editor);
    ASSERT_EQ(Form.WorkingTemplates().Count(), 3);
    EXPECT_EQ(Working(0).Name, "if");
    ASSERT_EQ(Templates.Count(), 3);
}

// ---- OK ----------------------------------------------------------------------------------

TEST_F(OptionsFormTest, TheDefaultBoxAsksForOneSaveAndIsUntickedAgain) {
    const TOptionsSettings settings = Form.Open(Editor);
    Form.SaveAsDefault = true;
    EXPECT_TRUE(Accept(settings));
    EXPECT_FALSE(Form.SaveAsDefault);
    Form.Open(Editor);
    EXPECT_FALSE(Accept(settings));
}

} // namespace
} // namespace corvid
