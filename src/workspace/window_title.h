#pragma once

#include <string>
#include <string_view>

namespace corvid {

// "Corvid [Edit "name"]", with the project's file name before the buffer's when a project is
// open ("Corvid [Edit demo:"name"]"), and "*" in front while the buffer is modified.
std::string MainWindowTitle(std::string_view projectPath, std::string_view bufferDisplayName,
                            bool modified);

// A buffer's display name: its file name, or "Untitled" when it has none.
std::string DisplayName(std::string_view fileName);

} // namespace corvid
