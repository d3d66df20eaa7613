#pragma once

#include "editor/code_templates.h"
#include "editor/editor_options.h"
#include "foundation/object_list.h"

#include <string>

namespace corvid {

class TConfigurationStore;
class TPacketReader;
class TPacketWriter;

// The settings of the main window and of the Options dialog that configuration files keep.
struct TShellOptions {
    std::string SearchPath;       // project search path: ';'-separated prefixes
    std::string InitialDirectory; // of the Open and Save As dialogs
    bool ReservedFlag = false;    // kept and written back, used by nothing
    bool CreateBackups = false;   // copy a file to "Old_" + name before saving over it
    std::string ReservedText;     // kept and written back, used by nothing
    bool AutoCheckFileDates = true;
    bool DoubleClickSelectsLine = false;
    bool AutosaveDesktop = true;
};

// The desktops, notes and project tree that only a project file holds. A project reads and
// writes its own packets; without one a full save leaves them out and a full load skips them.
class TProjectPackets {
public:
    virtual ~TProjectPackets() = default;
    // Writes the "Desktop", "Last Desktop", "Desktops", "Note Files" and "Project Files"
    // packets that have content, in that order.
    virtual void Write(TPacketWriter& writer) = 0;
    // Reads one of those packets, entered and positioned at its version; false for a name
    // it does not know (the packet is then skipped).
    virtual bool Read(const std::string& name, TPacketReader& reader) = 0;
};

// Everything a configuration file is read into and written from.
struct TConfiguration {
    TConfigurationStore& Store;
    TShellOptions& Shell;
    TTextEditorOptions& Editor;
    TObjectList<TTextEditorTemplate>& Templates;
    TProjectPackets* Project = nullptr;
};

// "default.cfg" and project files: the magic "CRV ", version 0 and a "Data" packet holding
// "Options", "Editor", the project packets (full files only), "Keys" and "Templates".
//
// A failed read raises Error with one of "Invalid Project File", "Invalid Project Version"
// or "Invalid "<packet>" Version"; what was read before the faulty packet stays in effect, and
// a packet is taken whole or not at all. A file whose first packet is not "Data" loads
// nothing. Saving replaces the file only once the new one is complete.
void LoadConfiguration(const std::string& fileName, bool full, TConfiguration& configuration);
void SaveConfiguration(const std::string& fileName, bool full, TConfiguration& configuration);

} // namespace corvid
