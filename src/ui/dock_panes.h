#pragma once

#include "workspace/docking_layout.h"

#include <QObject>
#include <QString>

#include <vector>

class QAction;
class QDockWidget;
class QMainWindow;
class QMenu;
class QWidget;

namespace corvid {

// The docking panes of the main window as Qt dock widgets: the bottom dock area holds the two
// page controls side by side ("PageControlL" on the left, "PageControlR" on the right), the
// left and right areas hold "PageControlTL" and "PageControlTR", and a pane may float. The
// layout is read from and written to the configuration in the stored form.
class TDockPanes : public QObject {
    Q_OBJECT

public:
    explicit TDockPanes(QMainWindow& window);

    // Registers every pane in PaneNames order, with its View > Windows item (Ctrl+0 to Ctrl+9
    // for the first ten) in the menu.
    void Register(QMenu& windowsMenu);

    QDockWidget* Pane(std::string_view name) const;
    // Puts the pane's content in; until then a pane is empty.
    void SetContent(std::string_view name, QWidget* content);

    void Apply(const TDockingLayout& layout);
    TDockingLayout Capture() const;

    // Shows the pane, bringing its host back when it is collapsed and its tab to the front.
    void ShowPane(QDockWidget* pane);

    // Esc, Shift+Esc and Shift+F1: collapse a host, or restore it to the stored size.
    void ToggleBottom(int storedHeight);
    void ToggleLeft(int storedWidth);
    void ToggleRight(int storedWidth);
    bool HostCollapsed(std::string_view host) const;

private:
    QMainWindow& Window;
    std::vector<QDockWidget*> Panes;
    std::vector<std::string> Hosts; // the host of each pane as last applied or captured
    std::vector<QDockWidget*> Collapsed[4];

    int HostIndex(std::string_view host) const;
    std::string HostOf(size_t index) const;
    std::vector<QDockWidget*> PanesIn(std::string_view host) const;
    bool AnyVisibleIn(std::string_view host) const;
    void Collapse(std::string_view host);
    void Restore(std::string_view host, int storedSize, int defaultSize);
    void Toggle(std::string_view host, int storedSize, int defaultSize);
    void ResizeHost(std::string_view host, int size);
};

} // namespace corvid
