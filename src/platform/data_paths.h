#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace corvid {

// Where Corvid's data files live on Linux. A file is looked up in the user's configuration
// directory first, then beside the program, then in the installed data directory; what Corvid
// writes (default.cfg) always goes to the user's configuration directory, because the
// program's own directory is read-only once installed. Directories end with '/'.

// $XDG_CONFIG_HOME/corvid/, or ~/.config/corvid/ without it.
std::string UserConfigDirectory();
// The directory of the running program.
std::string ProgramDirectory();
// <prefix>/share/corvid/ for the installed program.
std::string InstalledDataDirectory();

// The first existing file of that name along the three directories.
std::optional<std::string> FindDataFile(std::string_view name);

// The data file in a directory the user may write to, for files that leave their output
// beside them (the build script): a file found only in a read-only directory is copied to the
// user's configuration directory first. None when there is no such file or it cannot be copied.
std::optional<std::string> FindWritableDataFile(std::string_view name);

// Creates the user configuration directory when missing; returns it.
std::string EnsureUserConfigDirectory();

} // namespace corvid
