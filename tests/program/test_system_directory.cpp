// The system directory of the client build under test: a fresh temporary
// directory that the test names in TARNWICK_TEST_SYSTEM_DIR. Linked in place
// of the build's fixed directory; the program itself is unchanged.
#include "platform/system_directory.h"

#include <cstdlib>

std::string SystemDirectory() {
    const char* directory = std::getenv("TARNWICK_TEST_SYSTEM_DIR");
    return directory != nullptr ? directory : "/nonexistent-tarnwick-test-directory";
}
