#include "platform/data_paths.h"

#include <cstdlib>
#include <filesystem>
#include <system_error>
#include <unistd.h>

namespace corvid {

namespace {

namespace fs = std::filesystem;

std::string WithSlash(std::string directory) {
    if (!directory.empty() && directory.back() != '/')
        directory += '/';
    return directory;
}

} // namespace

std::string UserConfigDirectory() {
    const char* configHome = std::getenv("XDG_CONFIG_HOME");
    if (configHome && configHome[0] == '/')
        return WithSlash(configHome) + "corvid/";
    const char* home = std::getenv("HOME");
    return WithSlash(home ? home : "") + ".config/corvid/";
}

std::string ProgramDirectory() {
    std::error_code error;
    const fs::path program = fs::read_symlink("/proc/self/exe", error);
    if (error)
        return "./";
    return WithSlash(program.parent_path().string());
}

std::string InstalledDataDirectory() {
    const fs::path program(ProgramDirectory());
    return WithSlash((program.parent_path().parent_path() / "share" / "corvid").string());
}

std::optional<std::string> FindDataFile(std::string_view name) {
    for (const std::string& directory :
         {UserConfigDirectory(), ProgramDirectory(), InstalledDataDirectory()}) {
        const std::string candidate = directory + std::string(name);
        std::error_code error;
        if (fs::is_regular_file(candidate, error))
            return candidate;
    }
    return std::nullopt;
}

std::optional<std::string> FindWritableDataFile(std::string_view name) {
    const auto found = FindDataFile(name);
    if (!found || access(fs::path(*found).parent_path().c_str(), W_OK) == 0)
        return found;
    const std::string copy = EnsureUserConfigDirectory() + std::string(name);
    std::error_code error;
    fs::copy_file(*found, copy, fs::copy_options::overwrite_existing, error);
    if (error)
        return std::nullopt;
    return copy;
}

std::string EnsureUserConfigDirectory() {
    const std::string directory = UserConfigDirectory();
    std::error_code error;
    fs::create_directories(directory, error);
    return directory;
}

} // namespace corvid
