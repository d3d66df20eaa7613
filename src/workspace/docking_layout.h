#pragma once

#include <array>
#include <string>
#include <string_view>
#include <vector>

namespace corvid {

class TConfigurationStore;

// The docking panes, in registration order; the first ten get Ctrl+0 to Ctrl+9.
inline constexpr std::array<std::string_view, 12> PaneNames = {
    "File Manager", "Comm",          "Debug",  "Messages",  "Listing", "Grep",
    "Browser",      "Project Files", "Symbol", "QuickHelp", "Shell",   "Desktop",
};

// The four hosts a pane can dock into; a floating pane has the empty host name.
inline constexpr std::string_view BottomLeftHost = "PageControlL";
inline constexpr std::string_view BottomRightHost = "PageControlR";
inline constexpr std::string_view LeftHost = "PageControlTL";
inline constexpr std::string_view RightHost = "PageControlTR";

// Where one pane is and how it shows.
struct TPaneLayout {
    std::string Docked; // a host name, or empty when floating
    int Left = 0;
    int Top = 0;
    int Width = 400;
    int Height = 200;
    bool Visible = true;
};

// The sizes of the host panels around the editor.
struct THostSizes {
    int BottomPanelWidth = 80; // width of the bottom-right page control
    int BottomPanelHeight = 80;
    int LeftPanelWidth = 80;
    int RightPanelWidth = 80;
};

// The docking layout as the configuration keeps it, under
// "Configuration\Editor\Docking windows\".
class TDockingLayout {
public:
    std::vector<TPaneLayout> Panes; // in PaneNames order
    THostSizes Hosts;

    // Reads every pane and host size, taking this layout's values as the defaults (and adding
    // the missing keys, as every read of the store does). An unknown host name floats.
    void Read(TConfigurationStore& store);
    // A docked pane is stored visible with its host; a floating one with an empty host and
    // hidden.
    void Write(TConfigurationStore& store) const;

    // The layout a first start uses: every pane in the bottom-left host.
    static TDockingLayout Defaults();
};

std::string PaneKey(std::string_view pane, std::string_view item);
std::string HostKey(std::string_view item);

} // namespace corvid
