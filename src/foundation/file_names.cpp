#include "foundation/file_names.h"

namespace corvid {
namespace {

size_t NameStart(std::string_view path) {
    const size_t slash = path.rfind('/');
    return slash == std::string_view::npos ? 0 : slash + 1;
}

} // namespace

std::string FileNameOnly(std::string_view path) {
    return std::string(path.substr(NameStart(path)));
}

std::string DirectoryOf(std::string_view path) {
    return std::string(path.substr(0, NameStart(path)));
}

std::string ExtensionOf(std::string_view path) {
    const std::string_view name = path.substr(NameStart(path));
    const size_t dot = name.rfind('.');
    return dot == std::string_view::npos ? std::string() : std::string(name.substr(dot));
}

// The extraction pattern "msffc.rt[-]mecm" on the name: from the start up to the character
// before the first '.', where stepping back stops at the first character.
std::string FileNameNoExt(std::string_view path) {
    const std::string_view name = path.substr(NameStart(path));
    const size_t dot = name.find('.');
    if (dot == std::string_view::npos)
        return std::string(name);
    return std::string(name.substr(0, dot == 0 ? 1 : dot));
}

std::string PathWithoutExtension(std::string_view path) {
    return DirectoryOf(path) + FileNameNoExt(path);
}

} // namespace corvid
