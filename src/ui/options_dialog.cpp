#include "ui/options_dialog.h"

#include "editor/text_editor.h"
#include "ui/qt_conversions.h"

#include <QCheckBox>
#include <QColorDialog>
#include <QDialogButtonBox>
#include <QFontDialog>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <initializer_list>
#include <utility>

namespace corvid {

namespace {

constexpr const char* FontSample = "This is a sample of the font";
constexpr int KeyNodeRole = Qt::UserRole;

template <typename Widget, typename... Arguments>
Widget* Named(const char* objectName, Arguments&&... arguments) {
    auto* widget = new Widget(std::forward<Arguments>(arguments)...);
    widget->setObjectName(objectName);
    return widget;
}

QSpinBox* SpinBox(const char* objectName, int minimum, int maximum) {
    auto* box = Named<QSpinBox>(objectName);
    box->setRange(minimum, maximum);
    return box;
}

QPushButton* Swatch(const char* objectName) {
    auto* swatch = Named<QPushButton>(objectName);
    swatch->setFixedSize(40, 20);
    return swatch;
}

// The pages whose controls no setting is behind yet.
QWidget* UnusedPage(const char* objectName) {
    auto* page = Named<QWidget>(objectName);
    auto* layout = new QVBoxLayout(page);
    auto* note = new QLabel("The settings of this page are not in use.");
    note->setEnabled(false);
    layout->addWidget(note);
    layout->addStretch();
    return page;
}

QLineEdit* AddField(QFormLayout& form, const char* caption, const char* objectName) {
    auto* edit = Named<QLineEdit>(objectName);
    form.addRow(caption, edit);
    return edit;
}

std::vector<std::string> MemoLines(const QPlainTextEdit& memo) {
    std::vector<std::string> lines;
    for (const QString& line : memo.toPlainText().split(QLatin1Char('\n')))
        lines.push_back(ToBytes(line));
    return lines;
}

QString MemoText(const std::vector<std::string>& lines) {
    QStringList text;
    for (const std::string& line : lines)
        text << FromBytes(line);
    return text.join(QLatin1Char('\n'));
}

const TKeyNode* NodeOf(const QTreeWidgetItem* item) {
    return item ? reinterpret_cast<const TKeyNode*>(item->data(0, KeyNodeRole).value<quintptr>())
                : nullptr;
}

void AddKeyItems(QTreeWidgetItem& parent, const TKeyNode& node) {
    for (const auto& child : node.Children) {
        auto* item = new QTreeWidgetItem(&parent, QStringList(FromBytes(child->Text)));
        item->setData(0, KeyNodeRole, QVariant::fromValue(reinterpret_cast<quintptr>(child.get())));
        AddKeyItems(*item, *child);
    }
}

} // namespace

TOptionsDialog::TOptionsDialog(const TOptionsTargets& targets, QWidget* parent)
    : QDialog(parent), Targets(targets), Form(targets.Store, targets.Shell, targets.Templates) {
    setObjectName("OptionsDialog");
    setWindowTitle("Options");

    auto* pages = Named<QTabWidget>("Pages");
    pages->addTab(BuildEditorPage(), "Editor");
    pages->addTab(BuildProjectPage(), "Project");
    pages->addTab(BuildTemplatesPage(), "Templates");
    pages->addTab(BuildKeysPage(), "Keys");
    pages->addTab(UnusedPage("HotKeysPage"), "Hot Keys");
    pages->addTab(UnusedPage("LanguagePage"), "Language");
    pages->addTab(UnusedPage("BackupsPage"), "Backups");
    pages->addTab(UnusedPage("ToolsPage"), "Tools");

    DefaultBox = Named<QCheckBox>("Default", "Default");
    auto* buttons =
        Named<QDialogButtonBox>("Buttons", QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(DefaultBox);
    bottom->addStretch();
    bottom->addWidget(buttons);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(pages);
    layout->addLayout(bottom);
}

// ---- pages -------------------------------------------------------------------------------

QWidget* TOptionsDialog::BuildEditorPage() {
    SmartTabs = Named<QCheckBox>("SmartTabs", "Smart Tabs");
    UndoAfterSave = Named<QCheckBox>("UndoAfterSave", "Undo After Save");
    RemoveTrailingBlanks = Named<QCheckBox>("RemoveTrailingBlanks", "Remove Trailing Blanks");
    AutoIndent = Named<QCheckBox>("AutoIndent", "Auto Indent");
    TabSize = SpinBox("TabSize", 1, 32);
    DoubleClickLine = Named<QCheckBox>("DoubleClickLine", "Double Click Line");
    ScrollThreshold = Named<QCheckBox>("ScrollThreshold", "Scroll Threshold");
    ScrollThresholdLine = SpinBox("ScrollThresholdLine", 0, 999);
    ScrollThresholdColumn = SpinBox("ScrollThresholdColumn", 0, 999);
    AutoCheckFileDateTime = Named<QCheckBox>("AutoCheckFileDateTime", "Auto Check File Date/Time");
    AutosaveDesktop = Named<QCheckBox>("AutosaveDesktop", "Autosave Desktop");
    FontButton = Named<QPushButton>("FontButton", FontSample);
    connect(FontButton, &QPushButton::clicked, this, &TOptionsDialog::ChooseFont);

    auto* tabSize = new QFormLayout;
    tabSize->addRow("Tab Size", TabSize);
    auto* threshold = new QFormLayout;
    threshold->addRow(ScrollThreshold);
    threshold->addRow("Line", ScrollThresholdLine);
    threshold->addRow("Column", ScrollThresholdColumn);
    auto* left = new QVBoxLayout;
    for (QWidget* box : {SmartTabs, UndoAfterSave, RemoveTrailingBlanks, AutoIndent})
        left->addWidget(box);
    left->addLayout(tabSize);
    left->addWidget(DoubleClickLine);
    left->addLayout(threshold);
    left->addWidget(AutoCheckFileDateTime);
    left->addStretch();

    auto* desktop = Named<QGroupBox>("DesktopGroup", "Desktop");
    (new QVBoxLayout(desktop))->addWidget(AutosaveDesktop);
    auto* font = Named<QGroupBox>("FontGroup", "Font");
    (new QVBoxLayout(font))->addWidget(FontButton);
    auto* right = new QVBoxLayout;
    right->addWidget(BuildDisplayGroup());
    right->addWidget(desktop);
    right->addWidget(font);
    right->addStretch();

    auto* page = Named<QWidget>("EditorPage");
    auto* layout = new QHBoxLayout(page);
    layout->addLayout(left);
    layout->addLayout(right);
    return page;
}

QWidget* TOptionsDialog::BuildDisplayGroup() {
    LeftMargin = Named<QCheckBox>("LeftMargin", "Left Margin (Gutter)");
    VisibleEndOfFile = Named<QCheckBox>("VisibleEndOfFile", "Visible End of File");
    VisibleEndOfFileColor = Swatch("VisibleEndOfFileColor");
    ShowModifiedLines = Named<QCheckBox>("ShowModifiedLines", "Show Modified Lines");
    ShowModifiedLinesColor = Swatch("ShowModifiedLinesColor");
    connect(VisibleEndOfFileColor, &QPushButton::clicked, this,
            [this] { ChooseColour(Settings.VisibleEndOfFileColor); });
    connect(ShowModifiedLinesColor, &QPushButton::clicked, this,
            [this] { ChooseColour(Settings.ShowModifiedLinesColor); });

    auto* display = Named<QGroupBox>("DisplayGroup", "Display");
    auto* layout = new QGridLayout(display);
    layout->addWidget(LeftMargin, 0, 0);
    layout->addWidget(VisibleEndOfFile, 1, 0);
    layout->addWidget(VisibleEndOfFileColor, 1, 1);
    layout->addWidget(ShowModifiedLines, 2, 0);
    layout->addWidget(ShowModifiedLinesColor, 2, 1);
    return display;
}

QWidget* TOptionsDialog::BuildProjectPage() {
    auto* page = Named<QWidget>("ProjectPage");
    auto* form = new QFormLayout(page);
    SearchPath = AddField(*form, "Search Path", "SearchPath");
    return page;
}

QWidget* TOptionsDialog::BuildTemplatesPage() {
    TemplateList = Named<QListWidget>("TemplateList");
    connect(TemplateList, &QListWidget::currentRowChanged, this, &TOptionsDialog::SelectTemplate);

    auto* fields = new QFormLayout;
    ShortcutName = AddField(*fields, "&Shortcut Name", "ShortcutName");
    Description = AddField(*fields, "&Description", "Description");
    Files = AddField(*fields, "&Files", "Files");
    ParameterName = AddField(*fields, "Parameter Name", "ParameterName");
    DefaultParameter = AddField(*fields, "Default Parameter", "DefaultParameter");
    MacroReplacement = Named<QCheckBox>("MacroReplacement", "Macro Replacement");
    fields->addRow(MacroReplacement);
    TemplateText = Named<QPlainTextEdit>("TemplateText");
    TemplateText->setLineWrapMode(QPlainTextEdit::NoWrap);
    auto* memoCaption = new QLabel("Te&mplate");
    memoCaption->setBuddy(TemplateText);

    auto* text = Named<QGroupBox>("TextGroup", "&Text");
    auto* textLayout = new QVBoxLayout(text);
    textLayout->addLayout(fields);
    textLayout->addWidget(memoCaption);
    textLayout->addWidget(TemplateText, 1);

    auto* newButton = Named<QPushButton>("NewTemplate", "&New");
    DeleteButton = Named<QPushButton>("DeleteTemplate", "De&lete");
    connect(newButton, &QPushButton::clicked, this, &TOptionsDialog::NewTemplate);
    connect(DeleteButton, &QPushButton::clicked, this, &TOptionsDialog::DeleteTemplate);
    auto* left = new QVBoxLayout;
    left->addWidget(TemplateList, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(newButton);
    buttons->addWidget(DeleteButton);
    left->addLayout(buttons);

    auto* page = Named<QWidget>("TemplatesPage");
    auto* layout = new QHBoxLayout(page);
    layout->addLayout(left, 1);
    layout->addWidget(text, 2);
    return page;
}

QWidget* TOptionsDialog::BuildKeysPage() {
    KeyTree = Named<QTreeWidget>("KeyTree");
    KeyTree->setHeaderHidden(true);
    connect(KeyTree, &QTreeWidget::currentItemChanged, this, &TOptionsDialog::SelectKey);
    KeyValue = Named<QLineEdit>("KeyValue");
    // Only what the user types is written: showing a value must not mark the store changed.
    connect(KeyValue, &QLineEdit::textEdited, this,
            [this](const QString& text) { Form.SetKeyValue(ToBytes(text)); });

    auto* page = Named<QWidget>("KeysPage");
    auto* layout = new QVBoxLayout(page);
    layout->addWidget(KeyTree, 1);
    auto* value = new QFormLayout;
    value->addRow("Key Value", KeyValue);
    layout->addLayout(value);
    return page;
}

// ---- opening and OK ----------------------------------------------------------------------

TOptionsOutcome TOptionsDialog::Exec(const QFont& editorFont) {
    Settings = Form.Open(Targets.Editor.Options());
    ChosenFont = editorFont;
    // Saving as the default is asked for each time: a tick left from a cancelled visit goes.
    DefaultBox->setChecked(false);
    ShowSettings();
    FillTemplateList();
    FillKeyTree();
    if (exec() != QDialog::Accepted)
        return {};
    return TOptionsOutcome{true, std::exchange(SaveDefault, false), ChosenFont};
}

void TOptionsDialog::accept() {
    ReadSettings();
    Form.SaveAsDefault = DefaultBox->isChecked();
    TTextEditorOptions options = Targets.Editor.Options();
    SaveDefault = Form.Accept(Settings, options, PageFields());
    Targets.Editor.SetOptions(options);
    QDialog::accept();
}

void TOptionsDialog::ShowSettings() {
    SmartTabs->setChecked(Settings.SmartTabs);
    UndoAfterSave->setChecked(Settings.UndoAfterSave);
    RemoveTrailingBlanks->setChecked(Settings.RemoveTrailingBlanks);
    AutoIndent->setChecked(Settings.AutoIndent);
    TabSize->setValue(Settings.TabSize);
    DoubleClickLine->setChecked(Settings.DoubleClickLine);
    ScrollThreshold->setChecked(Settings.ScrollThreshold);
    ScrollThresholdLine->setValue(Settings.ScrollThresholdLine);
    ScrollThresholdColumn->setValue(Settings.ScrollThresholdColumn);
    AutoCheckFileDateTime->setChecked(Settings.AutoCheckFileDateTime);
    LeftMargin->setChecked(Settings.LeftMargin);
    VisibleEndOfFile->setChecked(Settings.VisibleEndOfFile);
    ShowModifiedLines->setChecked(Settings.ShowModifiedLines);
    AutosaveDesktop->setChecked(Settings.AutosaveDesktop);
    SearchPath->setText(FromFileName(Settings.SearchPath));
    ShowSwatches();
    FontButton->setFont(ChosenFont);
    QPalette black = FontButton->palette();
    black.setColor(QPalette::ButtonText, Qt::black);
    FontButton->setPalette(black);
}

void TOptionsDialog::ReadSettings() {
    Settings.SmartTabs = SmartTabs->isChecked();
    Settings.UndoAfterSave = UndoAfterSave->isChecked();
    Settings.RemoveTrailingBlanks = RemoveTrailingBlanks->isChecked();
    Settings.AutoIndent = AutoIndent->isChecked();
    Settings.TabSize = TabSize->value();
    Settings.DoubleClickLine = DoubleClickLine->isChecked();
    Settings.ScrollThreshold = ScrollThreshold->isChecked();
    Settings.ScrollThresholdLine = ScrollThresholdLine->value();
    Settings.ScrollThresholdColumn = ScrollThresholdColumn->value();
    Settings.AutoCheckFileDateTime = AutoCheckFileDateTime->isChecked();
    Settings.LeftMargin = LeftMargin->isChecked();
    Settings.VisibleEndOfFile = VisibleEndOfFile->isChecked();
    Settings.ShowModifiedLines = ShowModifiedLines->isChecked();
    Settings.AutosaveDesktop = AutosaveDesktop->isChecked();
    Settings.SearchPath = ToFileName(SearchPath->text());
}

// ---- colours and font --------------------------------------------------------------------

void TOptionsDialog::ShowSwatches() {
    const auto paint = [this](QPushButton& swatch, TColor colour) {
        swatch.setStyleSheet(QString("background-color: %1; border: 1px solid black")
                                 .arg(ToQColor(colour, palette()).name()));
    };
    paint(*VisibleEndOfFileColor, Settings.VisibleEndOfFileColor);
    paint(*ShowModifiedLinesColor, Settings.ShowModifiedLinesColor);
}

void TOptionsDialog::ChooseColour(TColor& colour) {
    const QColor chosen = QColorDialog::getColor(ToQColor(colour, palette()), this, QString(),
                                                 QColorDialog::DontUseNativeDialog);
    if (!chosen.isValid())
        return;
    colour = FromQColor(chosen);
    ShowSwatches();
}

void TOptionsDialog::ChooseFont() {
    bool chosen = false;
    const QFont font = QFontDialog::getFont(&chosen, ChosenFont, this, QString(),
                                            QFontDialog::DontUseNativeDialog);
    if (!chosen)
        return;
    ChosenFont = font;
    FontButton->setFont(ChosenFont);
}

// ---- templates ---------------------------------------------------------------------------

void TOptionsDialog::FillTemplateList() {
    FillingTemplates = true;
    TemplateList->clear();
    for (const TTextEditorTemplate* codeTemplate : Form.WorkingTemplates())
        TemplateList->addItem(FromBytes(codeTemplate->Description));
    TemplateList->setCurrentRow(-1);
    FillingTemplates = false;
    ShowFields({});
}

TTemplateFields TOptionsDialog::PageFields() const {
    return TTemplateFields{ToBytes(ShortcutName->text()),
                           ToBytes(Description->text()),
                           ToBytes(Files->text()),
                           ToBytes(ParameterName->text()),
                           ToBytes(DefaultParameter->text()),
                           MacroReplacement->isChecked(),
                           MemoLines(*TemplateText)};
}

// The fields take input only while a template is shown: with none, the text would go nowhere.
void TOptionsDialog::ShowFields(const TTemplateFields& fields) {
    ShortcutName->setText(FromBytes(fields.ShortcutName));
    Description->setText(FromBytes(fields.Description));
    Files->setText(FromBytes(fields.Files));
    ParameterName->setText(FromBytes(fields.ParameterName));
    DefaultParameter->setText(FromBytes(fields.DefaultParameter));
    MacroReplacement->setChecked(fields.MacroReplacement);
    TemplateText->setPlainText(MemoText(fields.Lines));
    const bool shown = Form.ShownTemplate() >= 0;
    for (QWidget* field : std::initializer_list<QWidget*>{
             ShortcutName, Description, Files, ParameterName, DefaultParameter, MacroReplacement,
             TemplateText, DeleteButton})
        field->setEnabled(shown);
}

void TOptionsDialog::RefreshTemplateItem(int index) {
    if (index >= 0)
        TemplateList->item(index)->setText(FromBytes(Form.WorkingTemplates()[index]->Description));
}

void TOptionsDialog::SelectTemplate(int row) {
    if (FillingTemplates || row < 0)
        return;
    const int before = Form.ShownTemplate();
    const TTemplateFields fields = Form.SelectTemplate(row, PageFields());
    RefreshTemplateItem(before);
    ShowFields(fields);
}

void TOptionsDialog::NewTemplate() {
    const int before = Form.ShownTemplate();
    const TTemplateFields fields = Form.NewTemplate(PageFields());
    RefreshTemplateItem(before);
    FillingTemplates = true;
    TemplateList->addItem(FromBytes(fields.Description));
    TemplateList->setCurrentRow(Form.ShownTemplate());
    FillingTemplates = false;
    ShowFields(fields);
}

void TOptionsDialog::DeleteTemplate() {
    const int shown = Form.ShownTemplate();
    if (shown < 0)
        return;
    Form.DeleteTemplate();
    FillingTemplates = true;
    delete TemplateList->takeItem(shown);
    TemplateList->setCurrentRow(-1);
    FillingTemplates = false;
    ShowFields({});
}

// ---- keys --------------------------------------------------------------------------------

void TOptionsDialog::FillKeyTree() {
    KeyTree->clear();
    AddKeyItems(*KeyTree->invisibleRootItem(), Form.KeyTree());
    SelectKey(nullptr);
}

void TOptionsDialog::SelectKey(QTreeWidgetItem* item) {
    const TKeyNode* node = NodeOf(item);
    KeyValue->setText(FromBytes(Form.SelectKey(node)));
    KeyValue->setEnabled(node && node->HasEntry);
}

} // namespace corvid
