#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace corvid {

// What the file system tells about a file, as the buffer commands need it.
struct TDiskFile {
    int64_t Size = 0;
    int64_t Time = 0; // modification time in nanoseconds since the epoch
    bool OwnerWritable = true;
    bool IsDirectory = false;
};

// None when nothing exists under the name; symbolic links are followed.
std::optional<TDiskFile> StatDiskFile(const std::string& name);

// Sets or clears the owner's write bit, which is what "Read Only" means for a file here.
// Raises EInOutError with the system's reason.
void SetOwnerWritable(const std::string& name, bool writable);

// Local time as "YYYY-MM-DD HH:MM": the same in every locale, so lists line up and tests can
// check it. A window may show its system's short formats instead.
std::string LocalFileTimeText(int64_t nanoseconds);

} // namespace corvid
