#pragma once

#include "foundation/streams.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace corvid {

enum class FileMode {
    OpenRead,  // an existing file, for reading
    Create,    // created or truncated, for writing
    CreateNew, // created for writing; fails when the name exists
};

// A file opened through POSIX calls. Failures raise EInOutError carrying the OS text and
// errno, e.g. "Cannot open file "name": No such file or directory". Write returns what the
// file took and stops at the first failure, so a full disk shows as a short count.
class TFileStream : public TKStream {
public:
    TFileStream(const std::string& fileName, FileMode mode);
    ~TFileStream() override; // closes without reporting: call Close to learn of failures

    void SetSize(int64_t newSize) override;
    size_t Read(void* buffer, size_t count) override;
    size_t Write(const void* buffer, size_t count) override;
    int64_t Seek(int64_t offset, SeekOrigin origin) override;
    int64_t Size() override;

    // Forces the written data to the device.
    void Sync();
    void Close();
    const std::string& FileName() const { return Name; }

private:
    std::string Name;
    int Handle = -1;

    [[noreturn]] void Fail(const char* action) const;
};

// A buffered file stream, used either for reading or for writing, never both.
//
// The destructor never writes: a writer calls Flush, which raises EInOutError "Disk Full"
// (code 101) when the file takes fewer bytes than offered, so that a failed save cannot pass
// for a successful one. Reading Position while writing flushes the buffer.
class TBufFileStream : public TKStream {
public:
    TBufFileStream(const std::string& fileName, int bufferSize, FileMode mode);

    void SetSize(int64_t newSize) override;
    size_t Read(void* buffer, size_t count) override;
    size_t Write(const void* buffer, size_t count) override;
    int64_t Seek(int64_t offset, SeekOrigin origin) override;
    int64_t Size() override;

    // Writes buffered bytes, if any.
    void Flush();
    TFileStream& File() { return *FileStream; }

private:
    std::unique_ptr<TFileStream> FileStream;
    bool Dirty = false;      // the buffer holds bytes not yet written
    int64_t BufferStart = 0; // file offset of the first buffered byte
    size_t BufferSize;
    size_t BufferPos = 0;  // next byte inside the buffer
    size_t BufferFill = 0; // file bytes loaded in the buffer; 0 while writing
    std::vector<uint8_t> Buffer;

    void WriteBuffer();
    int64_t EmptyBufferAt(int64_t filePosition);
};

// How far Commit goes to keep a replaced file through a crash of the machine.
enum class TDurability {
    // The file and the rename reach the disk before Commit returns: documents and settings.
    Synced,
    // Output that a build makes again: a reader still never sees half a file, but the file is
    // left to the system's own write-back, which costs a fraction of forcing it to the disk.
    Regenerable,
};

// Replaces a file atomically: the new content goes to a temporary file in the target's
// directory, and Commit flushes it (and syncs it, when Synced), gives it the old file's
// permissions and renames it over the target. A symbolic link stays a link: the file it points to
// is replaced. Until Commit succeeds the old file is untouched; without Commit (an exception, a
// failed write, or simply destruction) the temporary file is removed.
class TSafeFileWriter {
public:
    TSafeFileWriter(const std::string& targetName, int bufferSize,
                    TDurability durability = TDurability::Synced);
    TSafeFileWriter(const TSafeFileWriter&) = delete;
    TSafeFileWriter& operator=(const TSafeFileWriter&) = delete;
    ~TSafeFileWriter();

    TBufFileStream& Stream() { return *Output; }
    void Commit();

    // The file that Commit replaces, with symbolic links resolved.
    const std::string& TargetName() const { return Target; }
    const std::string& TemporaryName() const { return Temporary; }

private:
    std::string Target;
    std::string Temporary;
    TDurability Durability;
    std::unique_ptr<TBufFileStream> Output;

    void Discard() noexcept;
};

} // namespace corvid
