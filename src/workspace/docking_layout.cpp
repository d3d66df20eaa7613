#include "workspace/docking_layout.h"

#include "workspace/configuration_store.h"

namespace corvid {

namespace {

constexpr std::string_view DockingRoot = "Configuration\\Editor\\Docking windows\\";

bool IsHostName(std::string_view name) {
    return name == BottomLeftHost || name == BottomRightHost || name == LeftHost ||
           name == RightHost;
}

} // namespace

std::string PaneKey(std::string_view pane, std::string_view item) {
    return std::string(DockingRoot) + std::string(pane) + "\\" + std::string(item);
}

std::string HostKey(std::string_view item) {
    return std::string(DockingRoot) + "Host positions\\" + std::string(item);
}

TDockingLayout TDockingLayout::Defaults() {
    TDockingLayout layout;
    layout.Panes.resize(PaneNames.size());
    for (TPaneLayout& pane : layout.Panes)
        pane.Docked = BottomLeftHost;
    return layout;
}

void TDockingLayout::Read(TConfigurationStore& store) {
    Panes.resize(PaneNames.size());
    for (size_t index = 0; index < PaneNames.size(); ++index) {
        const std::string_view name = PaneNames[index];
        TPaneLayout& pane = Panes[index];
        const std::string docked = store.GetString(PaneKey(name, "Docked"), BottomLeftHost);
        pane.Docked = IsHostName(docked) ? docked : std::string();
        pane.Left = store.GetInteger(PaneKey(name, "Left"), pane.Left);
        pane.Top = store.GetInteger(PaneKey(name, "Top"), pane.Top);
        pane.Width = store.GetInteger(PaneKey(name, "Width"), pane.Width);
        pane.Height = store.GetInteger(PaneKey(name, "Height"), pane.Height);
        pane.Visible = store.GetInteger(PaneKey(name, "Visible"), pane.Visible ? 1 : 0) == 1;
    }
    Hosts.BottomPanelWidth = store.GetInteger(HostKey("BottomPanelWidth"), Hosts.BottomPanelWidth);
    Hosts.BottomPanelHeight =
        store.GetInteger(HostKey("BottomPanelHeight"), Hosts.BottomPanelHeight);
    Hosts.LeftPanelWidth = store.GetInteger(HostKey("LeftPanelWidth"), Hosts.LeftPanelWidth);
    Hosts.RightPanelWidth = store.GetInteger(HostKey("RightPanelWidth"), Hosts.RightPanelWidth);
}

void TDockingLayout::Write(TConfigurationStore& store) const {
    store.SetInteger(HostKey("BottomPanelWidth"), Hosts.BottomPanelWidth);
    store.SetInteger(HostKey("BottomPanelHeight"), Hosts.BottomPanelHeight);
    store.SetInteger(HostKey("LeftPanelWidth"), Hosts.LeftPanelWidth);
    store.SetInteger(HostKey("RightPanelWidth"), Hosts.RightPanelWidth);
    for (size_t index = 0; index < Panes.size() && index < PaneNames.size(); ++index) {
        const std::string_view name = PaneNames[index];
        const TPaneLayout& pane = Panes[index];
        store.SetInteger(PaneKey(name, "Left"), pane.Left);
        store.SetInteger(PaneKey(name, "Top"), pane.Top);
        store.SetInteger(PaneKey(name, "Width"), pane.Width);
        store.SetInteger(PaneKey(name, "Height"), pane.Height);
        const bool docked = !pane.Docked.empty();
        store.SetInteger(PaneKey(name, "Visible"), docked ? 1 : 0);
        store.SetString(PaneKey(name, "Docked"), docked ? pane.Docked : std::string());
    }
}

} // namespace corvid
