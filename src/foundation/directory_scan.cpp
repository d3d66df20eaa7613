#include "foundation/directory_scan.h"

#include "foundation/text_search.h"

#include <algorithm>
#include <dirent.h>
#include <fcntl.h>
#include <memory>
#include <sys/stat.h>
#include <vector>

namespace corvid {

namespace {

// Bits that an entry must have in the filter to be listed.
constexpr uint32_t FilteredBits = faHidden | faDirectory;

struct Entry {
    std::string Name;
    struct stat Status; // of the link's target where the entry is a link to something
    bool IsRealDirectory;
};

struct DirCloser {
    void operator()(DIR* handle) const { ::closedir(handle); }
};

std::vector<Entry> ReadEntries(const std::string& directory) {
    std::vector<Entry> entries;
    const std::unique_ptr<DIR, DirCloser> handle(
        ::opendir(directory.empty() ? "." : directory.c_str()));
    if (!handle)
        return entries;
    const int descriptor = ::dirfd(handle.get());
    while (const dirent* item = ::readdir(handle.get())) {
        const std::string name = item->d_name;
        if (name == "." || name == "..")
            continue;
        Entry entry{name, {}, false};
        struct stat own;
        if (::fstatat(descriptor, name.c_str(), &own, AT_SYMLINK_NOFOLLOW) != 0)
            continue;
        entry.IsRealDirectory = S_ISDIR(own.st_mode);
        // A dangling link is described by the link itself.
        if (!S_ISLNK(own.st_mode) || ::fstatat(descriptor, name.c_str(), &entry.Status, 0) != 0)
            entry.Status = own;
        entries.push_back(std::move(entry));
    }
    std::sort(entries.begin(), entries.end(),
              [](const Entry& a, const Entry& b) { return a.Name < b.Name; });
    return entries;
}

uint32_t AttributesOf(const Entry& entry) {
    uint32_t attributes = 0;
    if ((entry.Status.st_mode & S_IWUSR) == 0)
        attributes |= faReadOnly;
    if (entry.Name.starts_with('.'))
        attributes |= faHidden;
    if (S_ISDIR(entry.Status.st_mode))
        attributes |= faDirectory;
    return attributes;
}

bool FitsFilter(uint32_t entryAttributes, uint32_t filter) {
    return (entryAttributes & FilteredBits & ~filter) == 0;
}

int64_t NanosecondsOf(const struct timespec& time) {
    return static_cast<int64_t>(time.tv_sec) * 1'000'000'000 + time.tv_nsec;
}

} // namespace

void FindFiles(const std::string& directory, std::string_view masks, uint32_t attributes,
               TObjectList<TFileInfo>& list, bool recurse) {
    const std::string prefix =
        directory.empty() || directory.ends_with('/') ? directory : directory + "/";
    const std::vector<Entry> entries = ReadEntries(prefix);
    for (const Entry& entry : entries) {
        const uint32_t entryAttributes = AttributesOf(entry);
        if (!FitsFilter(entryAttributes, attributes) || MatchesMaskList(entry.Name, masks) != 1)
            continue;
        auto* info = new TFileInfo{prefix + entry.Name, entryAttributes, entry.Status.st_size,
                                   NanosecondsOf(entry.Status.st_mtim)};
        list.Add(info);
        list.Delta = list.Count();
    }
    if (!recurse)
        return;
    for (const Entry& entry : entries)
        if (entry.IsRealDirectory && FitsFilter(AttributesOf(entry), faDirectory))
            FindFiles(prefix + entry.Name + "/", masks, attributes, list, recurse);
}

} // namespace corvid
