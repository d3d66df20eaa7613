#include "ui/output_panes.h"

#include "ui/qt_conversions.h"
#include "workspace/message_list.h"
#include "workspace/quick_help.h"

#include <QAction>
#include <QFontDatabase>
#include <QKeyEvent>
#include <QMenu>

namespace corvid {

namespace {

QFont FixedFont() {
    return QFontDatabase::systemFont(QFontDatabase::FixedFont);
}

void AddMenuCommand(QWidget& widget, const char* caption, const std::function<void()>& command) {
    auto* action = new QAction(caption, &widget);
    QObject::connect(action, &QAction::triggered, &widget, command);
    widget.addAction(action);
}

} // namespace

TMessagePane::TMessagePane(TMessageList& messages, QWidget* parent)
    : QListWidget(parent), Messages(messages) {
    setObjectName("MessageListBox");
    setFont(FixedFont());
    setContextMenuPolicy(Qt::ActionsContextMenu);
    AddMenuCommand(*this, "&Clear", [this] { Messages.ClearMessages(); });
    connect(this, &QListWidget::currentRowChanged, this, [this](int row) {
        if (!Refreshing && row >= 0)
            Messages.Select(row);
    });
    connect(this, &QListWidget::itemClicked, this,
            [this](QListWidgetItem* item) { Messages.Select(row(item)); });
    connect(this, &QListWidget::itemDoubleClicked, this,
            [this](QListWidgetItem* item) { Messages.Activate(row(item)); });
}

void TMessagePane::Refresh() {
    Refreshing = true;
    clear();
    for (const TErrorBookmark* message : Messages.Messages)
        addItem(FromBytes(message->Message));
    Refreshing = false;
}

void TMessagePane::ShowSelected(int index) {
    Refreshing = true;
    setCurrentRow(index);
    Refreshing = false;
}

void TMessagePane::keyPressEvent(QKeyEvent* event) {
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) && currentRow() >= 0) {
        Messages.Activate(currentRow());
        return;
    }
    QListWidget::keyPressEvent(event);
}

TListingPane::TListingPane(TMessageList& messages, QWidget* parent)
    : QPlainTextEdit(parent), Messages(messages) {
    setObjectName("MakeOutputListBox");
    setReadOnly(true);
    setLineWrapMode(QPlainTextEdit::NoWrap);
    setFont(FixedFont());
    setContextMenuPolicy(Qt::ActionsContextMenu);
    AddMenuCommand(*this, "&Clear", [this] { Messages.ClearMakeOutput(); });
    AddMenuCommand(*this, "&Print", [this] { PrintRequested(); });
}

// The whole text at once: a 20,000-line listing appears in one update.
void TListingPane::Refresh() {
    QString text;
    for (const std::string& line : Messages.MakeOutput) {
        text += FromBytes(line);
        text += '\n';
    }
    if (!text.isEmpty())
        text.chop(1);
    setPlainText(text);
}

TQuickHelpPane::TQuickHelpPane(const TQuickHelp& help, QWidget* parent)
    : QSplitter(parent), Help(help), Topics(new QListWidget(this)), Lines(new QListWidget(this)) {
    setObjectName("QuickHelpPane");
    Topics->setObjectName("HelpListBox");
    Lines->setObjectName("HelpTextListBox");
    Lines->setFont(FixedFont());
    connect(Topics, &QListWidget::currentRowChanged, this, &TQuickHelpPane::ShowTopic);
    Refresh();
}

void TQuickHelpPane::Refresh() {
    Topics->clear();
    for (const TQuickHelpTopic* topic : Help.Topics)
        Topics->addItem(FromBytes(topic->Title));
    Lines->clear();
}

void TQuickHelpPane::ShowTopic(int index) {
    Lines->clear();
    if (index < 0 || index >= Help.Topics.Count())
        return;
    for (const std::string& line : Help.Topics[index]->Lines)
        Lines->addItem(FromBytes(line));
}

void TQuickHelpPane::resizeEvent(QResizeEvent* event) {
    setOrientation(width() >= height() ? Qt::Horizontal : Qt::Vertical);
    QSplitter::resizeEvent(event);
}

} // namespace corvid
