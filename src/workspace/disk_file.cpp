#include "workspace/disk_file.h"

#include "foundation/errors.h"

#include <cerrno>
#include <ctime>
#include <sys/stat.h>
#include <system_error>

namespace corvid {

std::optional<TDiskFile> StatDiskFile(const std::string& name) {
    struct stat status;
    if (name.empty() || ::stat(name.c_str(), &status) != 0)
        return std::nullopt;
    TDiskFile file;
    file.Size = status.st_size;
    file.Time = status.st_mtim.tv_sec * 1'000'000'000LL + status.st_mtim.tv_nsec;
    file.OwnerWritable = (status.st_mode & S_IWUSR) != 0;
    file.IsDirectory = S_ISDIR(status.st_mode);
    return file;
}

void SetOwnerWritable(const std::string& name, bool writable) {
    struct stat status;
    if (::stat(name.c_str(), &status) == 0) {
        const mode_t mode = writable ? (status.st_mode | S_IWUSR) : (status.st_mode & ~S_IWUSR);
        if (::chmod(name.c_str(), mode & 07777) == 0)
            return;
    }
    const int error = errno;
    throw EInOutError("Cannot change the attributes of file \"" + name +
                          "\": " + std::generic_category().message(error),
                      error);
}

std::string LocalFileTimeText(int64_t nanoseconds) {
    // Floor division, so that times before 1970 fall into the right second.
    int64_t seconds = nanoseconds / 1'000'000'000;
    if (nanoseconds % 1'000'000'000 < 0)
        --seconds;
    const auto time = static_cast<std::time_t>(seconds);
    std::tm local{};
    if (!::localtime_r(&time, &local))
        return "?";
    char text[32];
    const size_t length = std::strftime(text, sizeof text, "%Y-%m-%d %H:%M", &local);
    return std::string(text, length);
}

} // namespace corvid
