#include "settings/settings_file.h"

#include <array>
#include <cerrno>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>

#include "platform/file_error_codes.h"
#include "settings/EInOutError.h"
#include "settings/file_failure.h"
#include "settings/file_lock.h"
#include "settings/settings_writer.h"
#include "settings/system_file_calls.h"
#include "settings/unique_fd.h"
#include "settings/value_reader.h"

namespace {

SystemFileCalls& SystemCalls() {
    static SystemFileCalls calls;
    return calls;
}

}  // namespace

std::string SettingsPath(const std::string& systemDirectory) { return systemDirectory + "/tarnwick.ini"; }

void CreateDefaultSettings(const std::string& path) { CreateDefaultSettings(path, SystemCalls()); }

void LoadSettings(const std::string& path, Settings& settings) { LoadSettings(path, settings, SystemCalls()); }

void SaveSettings(const std::string& path, const std::string& userName, const std::string& password,
                  const std::string& preservedFlag, const std::string& linkState,
                  const std::string& lastAddress) {
    SaveSettings(path, userName, password, preservedFlag, linkState, lastAddress, SystemCalls());
}

void CreateDefaultSettings(const std::string& path, FileCalls& calls) {
    // An entry that cannot be looked up counts as absent: the write then
    // reports why the file cannot be made.
    struct stat entry {};
    if (::stat(path.c_str(), &entry) == 0 && !S_ISDIR(entry.st_mode)) {
        return;
    }
    WriteSettingsFile(path, {"", "", "1", "0", "127.0.0.1"}, calls);
}

void LoadSettings(const std::string& path, Settings& settings, FileCalls& calls) {
    UniqueFd fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK));
    if (!fd.valid()) {
        ThrowFileFailure(errno);
    }
    LockOrThrow(fd.get(), LOCK_SH);
    struct stat file {};
    if (::fstat(fd.get(), &file) != 0) {
        ThrowFileFailure(errno);
    }
    // Only a regular file is read: a directory cannot be, and a device or a
    // pipe could feed bytes without end.
    if (!S_ISREG(file.st_mode)) {
        throw EInOutError(kErrorAccessDenied);
    }

    ValueReader reader(fd.get(), static_cast<std::uint64_t>(file.st_size), calls);
    for (std::string Settings::*field : {&Settings::UserName, &Settings::Password, &Settings::PreservedFlag,
                                         &Settings::LinkState, &Settings::LastAddress}) {
        settings.*field = reader.Next();
    }
    if (calls.Close(fd.Release()) != 0 && errno != EINTR) {
        ThrowFileFailure(errno);
    }
}

void SaveSettings(const std::string& path, const std::string& userName, const std::string& password,
                  const std::string& preservedFlag, const std::string& linkState,
                  const std::string& lastAddress, FileCalls& calls) {
    WriteSettingsFile(path, {userName, password, preservedFlag, linkState, lastAddress}, calls);
}
