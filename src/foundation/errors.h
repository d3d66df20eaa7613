#pragma once

#include <stdexcept>
#include <string>

namespace corvid {

// The general error class: failures that a caller reports to the user (a stack that runs
// empty, a packet the reader cannot make sense of, a stream that cannot deliver).
class Error : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// A file that cannot be read or written. ErrorCode follows the runtime's numbering that stored
// behaviour relies on: 101 is a write that the disk did not take ("Disk Full").
class EInOutError : public Error {
public:
    EInOutError(const std::string& message, int errorCode) : Error(message), ErrorCode(errorCode) {}
    int ErrorCode;
};

inline constexpr int DiskFullErrorCode = 101;

// A broken contract inside Corvid: a programming error, never the user's. The message has the
// form "<text> (<source file>, line <n>)".
class EAssertionFailed : public std::logic_error {
public:
    using std::logic_error::logic_error;
};

[[noreturn]] void AssertionFailed(const std::string& message, const char* sourceFile, int line);

} // namespace corvid

// Raises EAssertionFailed with the message and this source file and line when the condition
// does not hold. The build maps __FILE__ to a path relative to the repository.
#define CORVID_ASSERT(condition, message)                                                          \
    do {                                                                                           \
        if (!(condition))                                                                          \
            ::corvid::AssertionFailed((message), __FILE__, __LINE__);                              \
    } while (false)
