#include "workspace/window_title.h"

#include "foundation/file_names.h"

namespace corvid {

std::string DisplayName(std::string_view fileName) {
    return fileName.empty() ? std::string("Untitled") : std::string(fileName);
}

std::string MainWindowTitle(std::string_view projectPath, std::string_view bufferDisplayName,
                            bool modified) {
    std::string title = modified ? "*Corvid [Edit " : "Corvid [Edit ";
    if (!projectPath.empty())
        title += FileNameNoExt(projectPath) + ":";
    title += "\"" + std::string(bufferDisplayName) + "\"]";
    return title;
}

} // namespace corvid
