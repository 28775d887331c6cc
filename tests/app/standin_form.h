#pragma once

#include <chrono>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include <sys/stat.h>

#include <QTemporaryDir>

#include "app/Unit1.h"
#include "form_harness.h"
#include "link/http_client.h"
#include "standin_process.h"

// Where a file stands on disk: a rewrite (even with the same bytes) changes
// the modification time, a replacing rename the inode.
struct FileStamp {
    bool exists = false;
    ino_t inode = 0;
    long long mtimeNs = 0;

    static FileStamp Of(const std::string& path) {
        struct stat status {};
        if (::stat(path.c_str(), &status) != 0) return {};
        return {true, status.st_ino, status.st_mtim.tv_sec * 1000000000LL + status.st_mtim.tv_nsec};
    }
    bool operator==(const FileStamp&) const = default;
};

// One main window that talks through the real HTTP client to the stand-in
// service on 127.0.0.1. The directory, clock, recorders and error box are
// those of FormHarness; only the host and the transport are real here. Lay
// out the settings file first, then MakeForm().
class StandinForm {
public:
    // standinArgs go to the stand-in after its port and log options.
    explicit StandinForm(const std::string& standinProgram, std::vector<std::string> standinArgs = {})
        : logPath_(logDirectory_.filePath("requests.log").toStdString()),
          standin_(standinProgram, WithLog(logPath_, std::move(standinArgs))) {}

    // Exchanges are cut short so that a stalled reply fails within a second.
    TForm1& MakeForm(int renewalIntervalMs = FormDependencies::kRenewalIntervalMs) {
        return parts.MakeForm(
            standin_.Host(),
            [] {
                return std::make_unique<HttpClient>(
                    StandinProcess::ClientLimits(std::chrono::milliseconds(1000), std::chrono::milliseconds(3000)));
            },
            renewalIntervalMs);
    }
    TForm1& Form() { return parts.Form(); }
    bool ShowActive() { return parts.ShowActive(); }

    std::string Host() const { return standin_.Host(); }
    std::string SettingsFile() const { return parts.SettingsFile(); }
    void WriteSettings(const std::string& bytes) const { parts.WriteSettings(bytes); }
    std::string ReadSettings() const { return parts.ReadSettings(); }
    const std::string& LogPath() const { return logPath_; }

    // Changes how the stand-in answers the login and quit requests.
    bool SetReply(const std::string& mode) const { return standin_.SetReply(mode); }

    // The request lines of the login and quit requests that reached the
    // stand-in, in order (its control requests left out).
    std::vector<std::string> Posts() const { return PostsIn(logPath_); }

    // Safe from any thread: it only reads the log file.
    static std::vector<std::string> PostsIn(const std::string& logPath) {
        std::vector<std::string> posts;
        for (const std::string& line : StandinProcess::LogLines(logPath)) {
            const std::size_t blank = line.find(' ');  // after the time stamp
            if (blank != std::string::npos && line.compare(blank + 1, 13, "POST /lo.php?") == 0)
                posts.push_back(line.substr(blank + 1));
        }
        return posts;
    }

private:
    static std::vector<std::string> WithLog(const std::string& logPath, std::vector<std::string> args) {
        args.insert(args.begin(), {"--log", logPath});
        return args;
    }

    QTemporaryDir logDirectory_;  // apart from the settings directory
    std::string logPath_;
    StandinProcess standin_;

public:
    // Its scripted transports are not used. Last: the window goes before the
    // stand-in it talks to.
    FormHarness parts;
};
