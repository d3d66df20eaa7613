#pragma once

#include <QListWidget>
#include <QPlainTextEdit>
#include <QSplitter>

#include <functional>

namespace corvid {

class TMessageList;
class TQuickHelp;

// The "Messages" pane: the messages of the last assembly or build. A click (or the arrow keys)
// shows a message's place; a double click or Enter also opens its file.
class TMessagePane : public QListWidget {
    Q_OBJECT

public:
    TMessagePane(TMessageList& messages, QWidget* parent);

    // Refills from the message list.
    void Refresh();
    void ShowSelected(int index);

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    TMessageList& Messages;
    bool Refreshing = false;
};

// The "Listing" pane: the make output and the merged listing of the last assembly.
class TListingPane : public QPlainTextEdit {
    Q_OBJECT

public:
    TListingPane(TMessageList& messages, QWidget* parent);

    void Refresh();
    // The "&Print" command of the pane's menu.
    std::function<void()> PrintRequested = [] {};

private:
    TMessageList& Messages;
};

// The "QuickHelp" pane: the help file's topics, and the text of the one selected. The two
// lists stand side by side in a wide pane and above each other in a tall one.
class TQuickHelpPane : public QSplitter {
    Q_OBJECT

public:
    TQuickHelpPane(const TQuickHelp& help, QWidget* parent);

    void Refresh();

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    const TQuickHelp& Help;
    QListWidget* Topics;
    QListWidget* Lines;

    void ShowTopic(int index);
};

} // namespace corvid
