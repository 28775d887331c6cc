#pragma once

#include <clocale>
#include <cstdlib>
#include <string>

// Switches LC_CTYPE (what mbrlen steps by) for the life of the object and
// puts the previous one back. Active() is false when the locale is missing.
// localeDir, when given, is searched before the system's locales (LOCPATH).
class ScopedCtypeLocale {
public:
    explicit ScopedCtypeLocale(const char* name, const char* localeDir = nullptr) {
        const char* previous = std::setlocale(LC_CTYPE, nullptr);
        previous_ = previous ? previous : "C";
        if (localeDir != nullptr) {
            const char* oldPath = std::getenv("LOCPATH");
            hadPath_ = oldPath != nullptr;
            previousPath_ = oldPath ? oldPath : "";
            const std::string path = std::string(localeDir) + ":/usr/lib/locale" +
                                     (oldPath ? std::string(":") + oldPath : std::string());
            ::setenv("LOCPATH", path.c_str(), 1);
            changedPath_ = true;
        }
        active_ = std::setlocale(LC_CTYPE, name) != nullptr;
    }
    ~ScopedCtypeLocale() {
        std::setlocale(LC_CTYPE, previous_.c_str());
        if (changedPath_) {
            hadPath_ ? ::setenv("LOCPATH", previousPath_.c_str(), 1) : ::unsetenv("LOCPATH");
        }
    }
    ScopedCtypeLocale(const ScopedCtypeLocale&) = delete;
    ScopedCtypeLocale& operator=(const ScopedCtypeLocale&) = delete;

    bool Active() const { return active_; }

private:
    std::string previous_;
    std::string previousPath_;
    bool hadPath_ = false;
    bool changedPath_ = false;
    bool active_ = false;
};
