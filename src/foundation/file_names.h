#pragma once

#include <string>
#include <string_view>

namespace corvid {

// Paths use '/'. The file name part is everything after the last '/'.

std::string FileNameOnly(std::string_view path);
// The directory part with its trailing '/'; empty for a bare name.
std::string DirectoryOf(std::string_view path);
// From the last '.' of the file name part on, dot included; empty when the name has no '.'.
std::string ExtensionOf(std::string_view path);
// The file name part up to its first '.' (name.tar.gz gives name). A name starting with '.'
// gives "." because the cut never goes before the first character: output file names such as
// the S19 name derive from this and must stay as they always were.
std::string FileNameNoExt(std::string_view path);
// DirectoryOf followed by FileNameNoExt.
std::string PathWithoutExtension(std::string_view path);

} // namespace corvid
