#include "foundation/file_stream.h"

#include "foundation/errors.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <random>
#include <sys/stat.h>
#include <system_error>
#include <unistd.h>

namespace corvid {

namespace {

// Symbolic links are followed at most this many times, as the kernel does.
constexpr int MaxLinkDepth = 40;

// Temporary names are retried this often when a name is already taken.
constexpr int TemporaryNameAttempts = 100;

std::string OsText(int error) {
    return std::generic_category().message(error);
}

EInOutError FileError(const char* action, const std::string& fileName, int error) {
    return EInOutError(std::string(action) + " file \"" + fileName + "\": " + OsText(error), error);
}

int OpenFlags(FileMode mode) {
    switch (mode) {
    case FileMode::OpenRead:
        return O_RDONLY;
    case FileMode::Create:
        return O_WRONLY | O_CREAT | O_TRUNC;
    case FileMode::CreateNew:
        return O_WRONLY | O_CREAT | O_EXCL;
    }
    return O_RDONLY;
}

int Whence(SeekOrigin origin) {
    switch (origin) {
    case SeekOrigin::Beginning:
        return SEEK_SET;
    case SeekOrigin::Current:
        return SEEK_CUR;
    case SeekOrigin::End:
        return SEEK_END;
    }
    return SEEK_SET;
}

// The directory part of a path including its final '/', or "" for a bare name.
std::string DirectoryOf(const std::string& path) {
    const size_t slash = path.rfind('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

std::string ReadLink(const std::string& path) {
    std::string target(256, '\0');
    for (;;) {
        const ssize_t length = ::readlink(path.c_str(), target.data(), target.size());
        if (length < 0)
            throw FileError("Cannot create", path, errno);
        if (static_cast<size_t>(length) < target.size()) {
            target.resize(static_cast<size_t>(length));
            return target;
        }
        target.resize(target.size() * 2);
    }
}

// Follows symbolic links so that the file they lead to is replaced and the links stay. The
// final name need not exist yet.
std::string ResolveLinks(const std::string& name) {
    std::string path = name;
    for (int depth = 0; depth < MaxLinkDepth; ++depth) {
        struct stat status;
        if (::lstat(path.c_str(), &status) != 0 || !S_ISLNK(status.st_mode))
            return path;
        const std::string link = ReadLink(path);
        path = link.starts_with('/') ? link : DirectoryOf(path) + link;
    }
    throw FileError("Cannot create", name, ELOOP);
}

std::string RandomSuffix() {
    static constexpr char digits[] = "0123456789abcdef";
    std::mt19937 generator{std::random_device{}()};
    std::string suffix(8, '0');
    for (char& c : suffix)
        c = digits[generator() % 16];
    return suffix;
}

// The rename has already replaced the file, so a directory that cannot be synced is not
// reported: there is nothing left to undo.
void SyncDirectoryOf(const std::string& path) {
    const std::string directory = DirectoryOf(path);
    const int handle =
        ::open(directory.empty() ? "." : directory.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (handle < 0)
        return;
    ::fsync(handle);
    ::close(handle);
}

// Puts the temporary file in the target's place in one step. Output that can be made again
// trades places with the old file and the old file is removed: a plain rename over an existing
// file makes some file systems (ext4) write the new data out at once, which would undo the
// saving of skipping the sync. Where the exchange is not supported, or there is no old file,
// the rename does it.
int ReplaceByRename(const std::string& temporary, const std::string& target,
                    TDurability durability) {
    if (durability == TDurability::Regenerable &&
        ::renameat2(AT_FDCWD, temporary.c_str(), AT_FDCWD, target.c_str(), RENAME_EXCHANGE) == 0) {
        ::unlink(temporary.c_str()); // now the old file
        return 0;
    }
    return ::rename(temporary.c_str(), target.c_str());
}

// The new file gets the old one's permissions and, where allowed, its owner. Only a privileged
// user may hand a file to another owner; for anyone else the new file belongs to whoever
// saved it, as with every editor that saves by rename.
void KeepAttributes(const std::string& temporary, const struct stat& existing,
                    const std::string& target) {
    const bool otherOwner = existing.st_uid != ::geteuid() || existing.st_gid != ::getegid();
    if (otherOwner && ::chown(temporary.c_str(), existing.st_uid, existing.st_gid) != 0 &&
        errno != EPERM)
        throw FileError("Cannot create", target, errno);
    if (::chmod(temporary.c_str(), existing.st_mode & 07777) != 0)
        throw FileError("Cannot create", target, errno);
}

} // namespace

TFileStream::TFileStream(const std::string& fileName, FileMode mode) : Name(fileName) {
    const char* action = mode == FileMode::OpenRead ? "Cannot open" : "Cannot create";
    Handle = ::open(fileName.c_str(), OpenFlags(mode) | O_CLOEXEC, 0666);
    if (Handle < 0)
        throw FileError(action, Name, errno);
    struct stat status;
    if (::fstat(Handle, &status) == 0 && S_ISDIR(status.st_mode)) {
        ::close(Handle);
        throw FileError(action, Name, EISDIR);
    }
}

TFileStream::~TFileStream() {
    if (Handle >= 0)
        ::close(Handle);
}

void TFileStream::Fail(const char* action) const {
    throw FileError(action, Name, errno);
}

void TFileStream::SetSize(int64_t newSize) {
    if (::ftruncate(Handle, newSize) != 0)
        Fail("Cannot resize");
}

size_t TFileStream::Read(void* buffer, size_t count) {
    auto* destination = static_cast<uint8_t*>(buffer);
    size_t total = 0;
    while (total < count) {
        const ssize_t got = ::read(Handle, destination + total, count - total);
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            Fail("Cannot read");
        if (got == 0)
            break;
        total += static_cast<size_t>(got);
    }
    return total;
}

size_t TFileStream::Write(const void* buffer, size_t count) {
    const auto* source = static_cast<const uint8_t*>(buffer);
    size_t total = 0;
    while (total < count) {
        const ssize_t put = ::write(Handle, source + total, count - total);
        if (put < 0 && errno == EINTR)
            continue;
        if (put <= 0)
            break;
        total += static_cast<size_t>(put);
    }
    return total;
}

int64_t TFileStream::Seek(int64_t offset, SeekOrigin origin) {
    const off_t position = ::lseek(Handle, offset, Whence(origin));
    if (position < 0)
        Fail("Cannot seek in");
    return position;
}

int64_t TFileStream::Size() {
    struct stat status;
    if (::fstat(Handle, &status) != 0)
        Fail("Cannot read");
    return status.st_size;
}

void TFileStream::Sync() {
    if (::fsync(Handle) != 0)
        Fail("Cannot write");
}

void TFileStream::Close() {
    if (Handle < 0)
        return;
    const int result = ::close(Handle);
    Handle = -1;
    if (result != 0)
        Fail("Cannot write");
}

TBufFileStream::TBufFileStream(const std::string& fileName, int bufferSize, FileMode mode)
    : FileStream(std::make_unique<TFileStream>(fileName, mode)),
      BufferSize(static_cast<size_t>(bufferSize)) {
    CORVID_ASSERT(bufferSize > 0, "TBufFileStream.Create Buffer Size <= 0");
    Buffer.resize(BufferSize);
}

void TBufFileStream::WriteBuffer() {
    const size_t offered = BufferPos;
    BufferStart += static_cast<int64_t>(offered);
    BufferPos = 0;
    Dirty = false;
    if (FileStream->Write(Buffer.data(), offered) < offered)
        throw EInOutError("Disk Full", DiskFullErrorCode);
}

void TBufFileStream::Flush() {
    if (Dirty && BufferPos > 0)
        WriteBuffer();
    Dirty = false;
}

size_t TBufFileStream::Write(const void* buffer, size_t count) {
    CORVID_ASSERT(BufferFill == 0, "TBufFileStream.Write Stream Opened For Reading");
    const auto* source = static_cast<const uint8_t*>(buffer);
    size_t taken = 0;
    while (taken < count) {
        const size_t piece = std::min(count - taken, BufferSize - BufferPos);
        std::memcpy(Buffer.data() + BufferPos, source + taken, piece);
        BufferPos += piece;
        taken += piece;
        // Set for every piece, not once per call: bytes that follow a full buffer written in
        // this same call are unwritten too, and Flush must not lose them.
        Dirty = true;
        if (BufferPos == BufferSize)
            WriteBuffer();
    }
    return count;
}

size_t TBufFileStream::Read(void* buffer, size_t count) {
    CORVID_ASSERT(!Dirty, "TBufFileStream.Read Stream Opened For Writing");
    auto* destination = static_cast<uint8_t*>(buffer);
    size_t delivered = 0;
    while (delivered < count) {
        const size_t piece = std::min(count - delivered, BufferFill - BufferPos);
        std::memcpy(destination + delivered, Buffer.data() + BufferPos, piece);
        BufferPos += piece;
        delivered += piece;
        if (BufferPos < BufferFill)
            break;
        BufferStart += static_cast<int64_t>(BufferPos);
        BufferPos = 0;
        const size_t remaining = count - delivered;
        if (remaining > BufferSize) {
            // A request larger than the buffer goes straight to the destination.
            const size_t got = FileStream->Read(destination + delivered, remaining);
            BufferStart += static_cast<int64_t>(got);
            delivered += got;
            BufferFill = 0;
        } else {
            BufferFill = FileStream->Read(Buffer.data(), BufferSize);
        }
        if (BufferFill == 0)
            break;
    }
    return delivered;
}

int64_t TBufFileStream::EmptyBufferAt(int64_t filePosition) {
    BufferStart = filePosition;
    BufferFill = 0;
    BufferPos = 0;
    return filePosition;
}

int64_t TBufFileStream::Seek(int64_t offset, SeekOrigin origin) {
    const auto fill = static_cast<int64_t>(BufferFill);
    switch (origin) {
    case SeekOrigin::Beginning:
        if (offset >= BufferStart && offset - BufferStart < fill) {
            BufferPos = static_cast<size_t>(offset - BufferStart);
            return offset;
        }
        Flush();
        return EmptyBufferAt(FileStream->Seek(offset, SeekOrigin::Beginning));
    case SeekOrigin::Current: {
        const int64_t target = static_cast<int64_t>(BufferPos) + offset;
        if (target >= 0 && target < fill) {
            BufferPos = static_cast<size_t>(target);
            return BufferStart + target;
        }
        Flush();
        const int64_t absolute =
            FileStream->Position() - fill + static_cast<int64_t>(BufferPos) + offset;
        return EmptyBufferAt(FileStream->Seek(absolute, SeekOrigin::Beginning));
    }
    case SeekOrigin::End:
        Flush();
        return EmptyBufferAt(FileStream->Seek(offset, SeekOrigin::End));
    }
    return BufferStart + static_cast<int64_t>(BufferPos);
}

int64_t TBufFileStream::Size() {
    const int64_t fileSize = FileStream->Size();
    return Dirty ? std::max(fileSize, BufferStart + static_cast<int64_t>(BufferPos)) : fileSize;
}

void TBufFileStream::SetSize(int64_t newSize) {
    const int64_t position = Position();
    FileStream->SetSize(newSize);
    EmptyBufferAt(FileStream->Seek(position, SeekOrigin::Beginning));
}

TSafeFileWriter::TSafeFileWriter(const std::string& targetName, int bufferSize,
                                 TDurability durability)
    : Target(ResolveLinks(targetName)), Durability(durability) {
    struct stat existing;
    const bool exists = ::stat(Target.c_str(), &existing) == 0;
    if (exists && S_ISDIR(existing.st_mode))
        throw FileError("Cannot create", Target, EISDIR);
    const std::string directory = DirectoryOf(Target);
    const std::string base = Target.substr(directory.size());
    for (int attempt = 0; !Output; ++attempt) {
        Temporary = directory + "." + base + "." + RandomSuffix() + ".tmp";
        try {
            Output = std::make_unique<TBufFileStream>(Temporary, bufferSize, FileMode::CreateNew);
        } catch (const EInOutError& failure) {
            Temporary.clear();
            if (failure.ErrorCode != EEXIST || attempt + 1 >= TemporaryNameAttempts)
                throw FileError("Cannot create", Target, failure.ErrorCode);
        }
    }
    try {
        if (exists)
            KeepAttributes(Temporary, existing, Target);
    } catch (...) {
        Discard();
        throw;
    }
}

TSafeFileWriter::~TSafeFileWriter() {
    Discard();
}

void TSafeFileWriter::Discard() noexcept {
    Output.reset();
    if (!Temporary.empty())
        ::unlink(Temporary.c_str());
    Temporary.clear();
}

void TSafeFileWriter::Commit() {
    CORVID_ASSERT(Output, "TSafeFileWriter.Commit Nothing To Commit");
    try {
        Output->Flush();
        if (Durability == TDurability::Synced)
            Output->File().Sync();
        Output->File().Close();
        if (ReplaceByRename(Temporary, Target, Durability) != 0)
            throw FileError("Cannot write", Target, errno);
    } catch (...) {
        Discard();
        throw;
    }
    Output.reset();
    Temporary.clear();
    if (Durability == TDurability::Synced)
        SyncDirectoryOf(Target);
}

} // namespace corvid
