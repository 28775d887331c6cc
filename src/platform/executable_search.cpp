#include "platform/executable_search.h"

#include <cstdlib>

#include <sys/stat.h>
#include <unistd.h>

namespace {

bool IsExecutableFile(const std::string& path)
{
    struct stat info {};
    return stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode) && access(path.c_str(), X_OK) == 0;
}

std::string SearchPath()
{
    if (const char* path = std::getenv("PATH")) {
        return path;
    }
    std::string fallback(confstr(_CS_PATH, nullptr, 0), '\0');
    if (!fallback.empty()) {
        confstr(_CS_PATH, fallback.data(), fallback.size());
        fallback.pop_back(); // the terminating NUL
    }
    return fallback;
}

} // namespace

std::string FindExecutable(const std::string& name, bool currentDirectoryFirst)
{
    if (name.empty() || name.find('/') != std::string::npos) {
        return "";
    }
    if (currentDirectoryFirst && IsExecutableFile("./" + name)) {
        return "./" + name;
    }
    const std::string path = SearchPath();
    if (path.empty()) {
        return "";
    }
    std::string::size_type begin = 0;
    while (begin <= path.size()) {
        std::string::size_type end = path.find(':', begin);
        if (end == std::string::npos) {
            end = path.size();
        }
        const std::string dir = path.substr(begin, end - begin);
        const std::string candidate = (dir.empty() ? std::string(".") : dir) + "/" + name;
        if (IsExecutableFile(candidate)) {
            return candidate;
        }
        begin = end + 1;
    }
    return "";
}
