#pragma once

#include "foundation/object_list.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace corvid {

// Attribute bits of a directory entry. Read-only: the owner may not write it. Hidden: the
// name starts with '.'.
inline constexpr uint32_t faReadOnly = 1;
inline constexpr uint32_t faHidden = 2;
inline constexpr uint32_t faDirectory = 16;

class TFileInfo {
public:
    std::string FullName; // directory followed by the entry's name
    uint32_t Attr = 0;
    int64_t Size = 0;
    int64_t Time = 0; // modification time in nanoseconds since the epoch
};

// Appends to list an entry for every file of directory whose name passes the ';'-separated
// masks and whose attributes fit the filter: plain and read-only entries always fit, hidden
// entries and directories only when their bit is in attributes. With recurse, then descends
// depth first into each subdirectory that is neither hidden nor a symbolic link (so link
// loops cannot trap the scan). Entries come in byte order of their names, so the result does
// not depend on the file system. Unreadable directories contribute nothing.
void FindFiles(const std::string& directory, std::string_view masks, uint32_t attributes,
               TObjectList<TFileInfo>& list, bool recurse);

} // namespace corvid
