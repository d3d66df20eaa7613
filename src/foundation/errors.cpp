#include "foundation/errors.h"

namespace corvid {

void AssertionFailed(const std::string& message, const char* sourceFile, int line) {
    throw EAssertionFailed(message + " (" + sourceFile + ", line " + std::to_string(line) + ")");
}

} // namespace corvid
