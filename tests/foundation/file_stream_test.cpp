#include "foundation/errors.h"
#include "foundation/file_stream.h"
#include "stream_test_support.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <signal.h>
#include <string>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace corvid {
namespace {

using testing::ReadFileBytes;
using testing::TempDir;
using testing::WriteFileBytes;

namespace fs = std::filesystem;

constexpr int SmallBuffer = 256;

std::string Data(size_t size) {
    std::string data;
    for (size_t i = 0; i < size; ++i)
        data.push_back(static_cast<char>(i * 31 + i / 256));
    return data;
}

struct BufFileStreamTest : ::testing::Test {
    TempDir dir;
    const std::string name = dir / "file.bin";
    const std::string data = Data(3000);
};

TEST_F(BufFileStreamTest, WritesInAnyStepsGiveTheSameFile) {
    for (size_t step : {size_t{1}, size_t{255}, size_t{256}, size_t{1000}, data.size()}) {
        TBufFileStream stream(name, SmallBuffer, FileMode::Create);
        for (size_t offset = 0; offset < data.size(); offset += step) {
            const size_t piece = std::min(step, data.size() - offset);
            EXPECT_EQ(stream.Write(data.data() + offset, piece), piece);
        }
        EXPECT_EQ(stream.Size(), static_cast<int64_t>(data.size())) << "step " << step;
        stream.Flush();
        EXPECT_EQ(ReadFileBytes(name), data) << "step " << step;
    }
}

TEST_F(BufFileStreamTest, DestructionNeverWrites) {
    {
        TBufFileStream stream(name, SmallBuffer, FileMode::Create);
        stream.Write(data.data(), 300);
    }
    EXPECT_EQ(ReadFileBytes(name), data.substr(0, 256));
}

TEST_F(BufFileStreamTest, PositionWhileWritingCountsWhatWasWritten) {
    TBufFileStream stream(name, SmallBuffer, FileMode::Create);
    stream.Write(data.data(), 100);
    EXPECT_EQ(stream.Position(), 100);
    stream.Write(data.data() + 100, 300);
    EXPECT_EQ(stream.Position(), 400);
    stream.Write(data.data() + 400, 10);
    // Going back to patch a field, as the packet writer does, then on at the end.
    stream.SetPosition(2);
    stream.WriteText("XY");
    EXPECT_EQ(stream.Seek(0, SeekOrigin::End), 410);
    stream.Write(data.data() + 410, 90);
    stream.Flush();
    EXPECT_EQ(ReadFileBytes(name), data.substr(0, 2) + "XY" + data.substr(4, 496));
}

TEST_F(BufFileStreamTest, ReadsInAnyStepsDeliverTheFile) {
    WriteFileBytes(name, data);
    for (size_t step : {size_t{1}, size_t{7}, size_t{256}, size_t{257}, size_t{1000}}) {
        TBufFileStream stream(name, SmallBuffer, FileMode::OpenRead);
        std::string back;
        std::string piece(step, '\0');
        while (const size_t got = stream.Read(piece.data(), step)) {
            back.append(piece, 0, got);
            ASSERT_EQ(stream.Position(), static_cast<int64_t>(back.size())) << "step " << step;
        }
        EXPECT_EQ(back, data) << "step " << step;
        EXPECT_TRUE(stream.Eof());
    }
}

TEST_F(BufFileStreamTest, LargeReadThenPositionIsTheTrueOffset) {
    WriteFileBytes(name, data);
    TBufFileStream stream(name, SmallBuffer, FileMode::OpenRead);
    std::string buffer(1000, '\0');
    EXPECT_EQ(stream.Read(buffer.data(), 10), 10u);
    EXPECT_EQ(stream.Read(buffer.data(), 1000), 1000u);
    EXPECT_EQ(buffer, data.substr(10, 1000));
    EXPECT_EQ(stream.Position(), 1010);
    EXPECT_EQ(stream.Read(buffer.data(), 5), 5u);
    EXPECT_EQ(buffer.substr(0, 5), data.substr(1010, 5));
}

TEST_F(BufFileStreamTest, SeeksFromEveryOrigin) {
    WriteFileBytes(name, data);
    TBufFileStream stream(name, SmallBuffer, FileMode::OpenRead);
    const struct {
        int64_t offset;
        SeekOrigin origin;
        int64_t expected;
    } cases[] = {
        {100, SeekOrigin::Beginning, 100}, {5, SeekOrigin::Current, 106},
        {-50, SeekOrigin::Current, 57},    {2000, SeekOrigin::Beginning, 2000},
        {-10, SeekOrigin::End, 2990},      {-2990, SeekOrigin::Current, 1},
        {300, SeekOrigin::Current, 302},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(stream.Seek(c.offset, c.origin), c.expected);
        EXPECT_EQ(stream.ReadByte(), static_cast<uint8_t>(data[static_cast<size_t>(c.expected)]))
            << "at " << c.expected;
    }
    EXPECT_EQ(stream.Size(), 3000);
    EXPECT_EQ(stream.Position(), 303);
}

template <typename Action>
void ExpectDiskFull(Action action) {
    try {
        action();
        ADD_FAILURE() << "the write was not refused";
    } catch (const EInOutError& error) {
        EXPECT_STREQ(error.what(), "Disk Full");
        EXPECT_EQ(error.ErrorCode, 101);
    }
}

TEST_F(BufFileStreamTest, DiskFullIsReported) {
    if (!fs::exists("/dev/full"))
        GTEST_SKIP() << "no /dev/full";
    {
        TBufFileStream stream("/dev/full", SmallBuffer, FileMode::Create);
        ExpectDiskFull([&] { stream.Write(data.data(), 300); });
    }
    TBufFileStream stream("/dev/full", SmallBuffer, FileMode::Create);
    stream.Write(data.data(), 10);
    ExpectDiskFull([&] { stream.Flush(); });
}

TEST_F(BufFileStreamTest, OpenFailuresCarryTheSystemText) {
    const std::string missing = dir / "missing.txt";
    const struct {
        std::string name;
        FileMode mode;
        std::string expected;
    } cases[] = {
        {missing, FileMode::OpenRead,
         "Cannot open file \"" + missing + "\": No such file or directory"},
        {dir.Path.string(), FileMode::OpenRead,
         "Cannot open file \"" + dir.Path.string() + "\": Is a directory"},
        {dir / "no/such/dir", FileMode::Create,
         "Cannot create file \"" + dir / "no/such/dir" + "\": No such file or directory"},
    };
    for (const auto& c : cases) {
        try {
            TBufFileStream stream(c.name, SmallBuffer, c.mode);
            ADD_FAILURE() << c.name << " opened";
        } catch (const EInOutError& error) {
            EXPECT_EQ(error.what(), c.expected);
        }
    }
}

struct SafeFileWriterTest : ::testing::Test {
    TempDir dir;
    const std::string target = dir / "doc.asm";

    std::vector<std::string> Names() const {
        std::vector<std::string> names;
        for (const auto& entry : fs::directory_iterator(dir.Path))
            names.push_back(entry.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }
};

constexpr TDurability Durabilities[] = {TDurability::Synced, TDurability::Regenerable};

TEST_F(SafeFileWriterTest, CommitReplacesTheFileAndKeepsItsPermissions) {
    for (const TDurability durability : Durabilities) {
        WriteFileBytes(target, "old");
        ::chmod(target.c_str(), 0640);
        // A reader that has the old file open goes on reading the old file.
        std::ifstream reader(target, std::ios::binary);
        {
            TSafeFileWriter writer(target, SmallBuffer, durability);
            writer.Stream().WriteText(Data(1000));
            EXPECT_EQ(ReadFileBytes(target), "old");
            EXPECT_EQ(Names().size(), 2u);
            writer.Commit();
        }
        EXPECT_EQ(ReadFileBytes(target), Data(1000));
        EXPECT_EQ(std::string(std::istreambuf_iterator<char>(reader), {}), "old");
        struct stat status;
        ASSERT_EQ(::stat(target.c_str(), &status), 0);
        EXPECT_EQ(status.st_mode & 07777, 0640u);
        EXPECT_EQ(Names(), std::vector<std::string>{"doc.asm"});
    }
}

TEST_F(SafeFileWriterTest, CreatesAMissingFile) {
    for (const TDurability durability : Durabilities) {
        fs::remove(target);
        {
            TSafeFileWriter writer(target, SmallBuffer, durability);
            writer.Stream().WriteLine("new");
            writer.Commit();
        }
        EXPECT_EQ(ReadFileBytes(target), "new\r\n");
        EXPECT_EQ(Names(), std::vector<std::string>{"doc.asm"});
    }
}

TEST_F(SafeFileWriterTest, WithoutCommitNothingChanges) {
    WriteFileBytes(target, "old");
    {
        TSafeFileWriter writer(target, SmallBuffer);
        writer.Stream().WriteText(Data(1000));
        EXPECT_TRUE(fs::exists(writer.TemporaryName()));
    }
    EXPECT_EQ(ReadFileBytes(target), "old");
    EXPECT_EQ(Names(), std::vector<std::string>{"doc.asm"});
}

TEST_F(SafeFileWriterTest, SymbolicLinkStaysALink) {
    fs::create_directory(dir.Path / "real");
    fs::create_symlink("real/doc.asm", dir.Path / "link.asm");
    for (const TDurability durability : Durabilities) {
        WriteFileBytes(dir / "real/doc.asm", "old");
        {
            TSafeFileWriter writer(dir / "link.asm", SmallBuffer, durability);
            EXPECT_EQ(writer.TargetName(), dir / "real/doc.asm");
            writer.Stream().WriteText("new");
            writer.Commit();
        }
        EXPECT_TRUE(fs::is_symlink(dir.Path / "link.asm"));
        EXPECT_EQ(ReadFileBytes(dir / "link.asm"), "new");
        EXPECT_EQ(ReadFileBytes(dir / "real/doc.asm"), "new");
        EXPECT_EQ(std::distance(fs::directory_iterator(dir.Path / "real"), {}), 1);
    }
}

TEST_F(SafeFileWriterTest, UnusableTargetsAreRefused) {
    fs::create_directory(dir.Path / "sub");
    fs::create_symlink("loop", dir.Path / "loop");
    const struct {
        std::string name;
        std::string expected;
    } cases[] = {
        {dir / "missing/doc.asm",
         "Cannot create file \"" + dir / "missing/doc.asm" + "\": No such file or directory"},
        {dir / "sub", "Cannot create file \"" + dir / "sub" + "\": Is a directory"},
        {dir / "loop",
         "Cannot create file \"" + dir / "loop" + "\": Too many levels of symbolic links"},
    };
    for (const auto& c : cases) {
        try {
            TSafeFileWriter writer(c.name, SmallBuffer);
            ADD_FAILURE() << c.name << " accepted";
        } catch (const EInOutError& error) {
            EXPECT_EQ(error.what(), c.expected);
        }
    }
}

// Runs action in a child process, which reports through its exit status: 0 when action raised
// EInOutError with the expected text, 1 for another text, 2 when nothing was raised.
int InChild(const std::function<void()>& prepare, const std::function<void()>& action,
            const std::string& expected) {
    const pid_t child = ::fork();
    if (child == 0) {
        prepare();
        try {
            action();
        } catch (const EInOutError& error) {
            ::_exit(error.what() == expected ? 0 : 1);
        }
        ::_exit(2);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

TEST_F(SafeFileWriterTest, FailedWriteKeepsTheOldFile) {
    WriteFileBytes(target, "old");
    // The process may write files of at most 1000 bytes, so the disk "fills" mid-save.
    const auto limitFileSize = [] {
        ::signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{1000, 1000};
        ::setrlimit(RLIMIT_FSIZE, &limit);
    };
    const auto save = [&] {
        TSafeFileWriter writer(target, SmallBuffer);
        writer.Stream().WriteText(Data(5000));
        writer.Commit();
    };
    EXPECT_EQ(InChild(limitFileSize, save, "Disk Full"), 0);
    EXPECT_EQ(ReadFileBytes(target), "old");
    EXPECT_EQ(Names(), std::vector<std::string>{"doc.asm"});
}

TEST_F(SafeFileWriterTest, ReadOnlyDirectoryKeepsTheOldFile) {
    WriteFileBytes(target, "old");
    fs::permissions(dir.Path, fs::perms::owner_all | fs::perms::group_read | fs::perms::group_exec |
                                  fs::perms::others_read | fs::perms::others_exec);
    // A privileged user may write anywhere; the child gives that up first.
    const auto dropWriteAccess = [&] {
        if (::geteuid() == 0) {
            ::setgid(65534);
            ::setuid(65534);
        } else {
            fs::permissions(dir.Path, fs::perms::owner_write, fs::perm_options::remove);
        }
    };
    const auto save = [&] {
        TSafeFileWriter writer(target, SmallBuffer);
        writer.Stream().WriteText("new");
        writer.Commit();
    };
    EXPECT_EQ(
        InChild(dropWriteAccess, save, "Cannot create file \"" + target + "\": Permission denied"),
        0);
    EXPECT_EQ(ReadFileBytes(target), "old");
    EXPECT_EQ(Names(), std::vector<std::string>{"doc.asm"});
}

} // namespace
} // namespace corvid
