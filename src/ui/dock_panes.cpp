#include "ui/dock_panes.h"

#include <QAction>
#include <QDockWidget>
#include <QMainWindow>
#include <QMenu>

#include <algorithm>

namespace corvid {

namespace {

constexpr std::string_view HostNames[] = {BottomLeftHost, BottomRightHost, LeftHost, RightHost};
constexpr int DefaultBottomHeight = 400;
constexpr int DefaultSideWidth = 300;
constexpr int SmallestRestoredSize = 10;
constexpr int RestoredMinimum = 300;

Qt::DockWidgetArea AreaOf(std::string_view host) {
    if (host == LeftHost)
        return Qt::LeftDockWidgetArea;
    if (host == RightHost)
        return Qt::RightDockWidgetArea;
    return Qt::BottomDockWidgetArea;
}

} // namespace

TDockPanes::TDockPanes(QMainWindow& window) : QObject(&window), Window(window) {}

void TDockPanes::Register(QMenu& windowsMenu) {
    for (size_t index = 0; index < PaneNames.size(); ++index) {
        const QString name = QString::fromLatin1(PaneNames[index].data(),
                                                 static_cast<qsizetype>(PaneNames[index].size()));
        auto* pane = new QDockWidget(name, &Window);
        pane->setObjectName(name);
        pane->setWidget(new QWidget(pane));
        QAction* item = windowsMenu.addAction(name);
        if (index <= 9)
            item->setShortcut(QKeySequence(Qt::CTRL | static_cast<Qt::Key>(Qt::Key_0 + index)));
        connect(item, &QAction::triggered, this, [this, pane] { ShowPane(pane); });
        Panes.push_back(pane);
        Hosts.emplace_back(BottomLeftHost);
    }
}

QDockWidget* TDockPanes::Pane(std::string_view name) const {
    for (size_t index = 0; index < PaneNames.size(); ++index)
        if (PaneNames[index] == name)
            return Panes[index];
    return nullptr;
}

void TDockPanes::SetContent(std::string_view name, QWidget* content) {
    if (QDockWidget* pane = Pane(name)) {
        delete pane->widget();
        pane->setWidget(content);
    }
}

int TDockPanes::HostIndex(std::string_view host) const {
    for (int index = 0; index < 4; ++index)
        if (HostNames[index] == host)
            return index;
    return -1;
}

std::vector<QDockWidget*> TDockPanes::PanesIn(std::string_view host) const {
    std::vector<QDockWidget*> panes;
    for (size_t index = 0; index < Panes.size(); ++index)
        if (Hosts[index] == host && !Panes[index]->isFloating())
            panes.push_back(Panes[index]);
    return panes;
}

void TDockPanes::Apply(const TDockingLayout& layout) {
    for (QDockWidget* pane : Panes)
        Window.removeDockWidget(pane);
    QDockWidget* firstOf[4] = {};
    for (size_t index = 0; index < Panes.size() && index < layout.Panes.size(); ++index) {
        QDockWidget* pane = Panes[index];
        const TPaneLayout& place = layout.Panes[index];
        Hosts[index] = place.Docked;
        const int host = HostIndex(place.Docked);
        if (host < 0) {
            Window.addDockWidget(Qt::BottomDockWidgetArea, pane);
            pane->setFloating(true);
            pane->setGeometry(place.Left, place.Top, std::max(place.Width, 50),
                              std::max(place.Height, 50));
            pane->setVisible(place.Visible);
            continue;
        }
        pane->setFloating(false);
        if (QDockWidget* first = firstOf[host]) {
            Window.tabifyDockWidget(first, pane);
        } else {
            Window.addDockWidget(AreaOf(place.Docked), pane);
            if (host == 1 && firstOf[0])
                Window.splitDockWidget(firstOf[0], pane, Qt::Horizontal);
            firstOf[host] = pane;
        }
        pane->show();
    }
    for (QDockWidget* first : firstOf)
        if (first)
            first->raise();
    ResizeHost(BottomLeftHost, layout.Hosts.BottomPanelHeight);
    ResizeHost(BottomRightHost, layout.Hosts.BottomPanelWidth);
    ResizeHost(LeftHost, layout.Hosts.LeftPanelWidth);
    ResizeHost(RightHost, layout.Hosts.RightPanelWidth);
}

void TDockPanes::ResizeHost(std::string_view host, int size) {
    const std::vector<QDockWidget*> panes = PanesIn(host);
    if (panes.empty())
        return;
    const QList<QDockWidget*> docks{panes.front()};
    const Qt::Orientation orientation = host == BottomLeftHost ? Qt::Vertical : Qt::Horizontal;
    Window.resizeDocks(docks, {std::max(size, 1)}, orientation);
}

// Bottom panes right of the leftmost bottom pane belong to the right-hand page control.
std::string TDockPanes::HostOf(size_t index) const {
    QDockWidget* pane = Panes[index];
    if (pane->isFloating())
        return {};
    switch (Window.dockWidgetArea(pane)) {
    case Qt::LeftDockWidgetArea:
    case Qt::TopDockWidgetArea:
        return std::string(LeftHost);
    case Qt::RightDockWidgetArea:
        return std::string(RightHost);
    default:
        break;
    }
    int leftmost = pane->x();
    for (QDockWidget* other : Panes)
        if (!other->isFloating() && other->isVisible() &&
            Window.dockWidgetArea(other) == Qt::BottomDockWidgetArea)
            leftmost = std::min(leftmost, other->x());
    return std::string(pane->x() > leftmost + 10 ? BottomRightHost : BottomLeftHost);
}

TDockingLayout TDockPanes::Capture() const {
    TDockingLayout layout;
    layout.Panes.resize(Panes.size());
    for (size_t index = 0; index < Panes.size(); ++index) {
        const QDockWidget* pane = Panes[index];
        TPaneLayout& place = layout.Panes[index];
        place.Docked = HostOf(index);
        place.Left = pane->x();
        place.Top = pane->y();
        place.Width = pane->width();
        place.Height = pane->height();
        place.Visible = !place.Docked.empty() || pane->isVisible();
        const int host = HostIndex(place.Docked);
        if (host < 0 || !pane->isVisible())
            continue;
        if (place.Docked == BottomLeftHost)
            layout.Hosts.BottomPanelHeight = pane->height();
        else if (place.Docked == BottomRightHost)
            layout.Hosts.BottomPanelWidth = pane->width();
        else if (place.Docked == LeftHost)
            layout.Hosts.LeftPanelWidth = pane->width();
        else
            layout.Hosts.RightPanelWidth = pane->width();
    }
    return layout;
}

bool TDockPanes::HostCollapsed(std::string_view host) const {
    const int index = HostIndex(host);
    return index >= 0 && !Collapsed[index].empty();
}

bool TDockPanes::AnyVisibleIn(std::string_view host) const {
    const std::vector<QDockWidget*> panes = PanesIn(host);
    return std::any_of(panes.begin(), panes.end(),
                       [](QDockWidget* pane) { return pane->isVisible(); });
}

void TDockPanes::Collapse(std::string_view host) {
    std::vector<QDockWidget*>& hidden = Collapsed[HostIndex(host)];
    for (QDockWidget* pane : PanesIn(host))
        if (pane->isVisible()) {
            hidden.push_back(pane);
            pane->hide();
        }
}

// Shows the panes the host had, at the stored size; a tiny size opens at a usable one.
void TDockPanes::Restore(std::string_view host, int storedSize, int defaultSize) {
    std::vector<QDockWidget*>& hidden = Collapsed[HostIndex(host)];
    const std::vector<QDockWidget*> panes = hidden.empty() ? PanesIn(host) : hidden;
    hidden.clear();
    for (QDockWidget* pane : panes)
        pane->show();
    int size = storedSize > 0 ? storedSize : defaultSize;
    if (size < SmallestRestoredSize)
        size = RestoredMinimum;
    ResizeHost(host, size);
}

void TDockPanes::Toggle(std::string_view host, int storedSize, int defaultSize) {
    if (AnyVisibleIn(host))
        Collapse(host);
    else
        Restore(host, storedSize, defaultSize);
}

void TDockPanes::ToggleBottom(int storedHeight) {
    if (AnyVisibleIn(BottomLeftHost) || AnyVisibleIn(BottomRightHost)) {
        Collapse(BottomLeftHost);
        Collapse(BottomRightHost);
        return;
    }
    Restore(BottomLeftHost, storedHeight, DefaultBottomHeight);
    Restore(BottomRightHost, 0, DefaultSideWidth);
}

void TDockPanes::ToggleLeft(int storedWidth) {
    Toggle(LeftHost, storedWidth, DefaultSideWidth);
}

void TDockPanes::ToggleRight(int storedWidth) {
    Toggle(RightHost, storedWidth, DefaultSideWidth);
}

void TDockPanes::ShowPane(QDockWidget* pane) {
    if (pane->isFloating() && pane->isVisible()) {
        pane->raise();
        pane->activateWindow();
        return;
    }
    const auto found = std::find(Panes.begin(), Panes.end(), pane);
    if (found != Panes.end()) {
        const std::string host = Hosts[static_cast<size_t>(found - Panes.begin())];
        if (HostCollapsed(host)) {
            if (host == BottomLeftHost || host == BottomRightHost)
                ToggleBottom(0);
            else
                Restore(host, 0, DefaultSideWidth);
        }
    }
    pane->show();
    pane->raise();
}

} // namespace corvid
