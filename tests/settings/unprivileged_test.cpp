#include <cerrno>
#include <cstring>
#include <optional>
#include <string>

#include <grp.h>
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include "child_process.h"
#include "file_bytes.h"
#include "settings/settings_file.h"
#include "settings_file_fixture.h"

// Root ignores file modes, so these cases run in a child that has become the
// unprivileged user "nobody" (65534) on files it owns.
namespace {

constexpr uid_t kNobody = 65534;
const std::string kOldContent = "alice\r\nsecret\r\n1\r\n1\r\n10.0.0.7\r\n";

bool IsSkip(const std::string& out) { return out.rfind("SKIP: ", 0) == 0; }

// In the child: drops root, then checks that modes really bind.
std::optional<std::string> BecomeUnprivileged(const std::string& dir) {
    if (::geteuid() == 0 && (::setgroups(0, nullptr) != 0 || ::setresgid(kNobody, kNobody, kNobody) != 0 ||
                             ::setresuid(kNobody, kNobody, kNobody) != 0)) {
        return "SKIP: cannot become uid 65534: " + std::string(std::strerror(errno));
    }
    if (::access(dir.c_str(), X_OK) != 0) {
        return "SKIP: the unprivileged user cannot reach " + dir + " (set TMPDIR to a directory it can)";
    }
    return std::nullopt;
}

class Unprivileged : public SettingsFileTest {
protected:
    // Gives the directory (and the file, when present) to the user the
    // child becomes, with these modes.
    void Prepare(mode_t dirMode, std::optional<mode_t> fileMode) {
        if (fileMode) {
            WriteFileBytes(path_, kOldContent);
        }
        if (::geteuid() == 0) {
            ASSERT_EQ(::chown(dir_.path().c_str(), kNobody, kNobody), 0);
            if (fileMode) {
                ASSERT_EQ(::chown(path_.c_str(), kNobody, kNobody), 0);
            }
        }
        if (fileMode) {
            ASSERT_EQ(::chmod(path_.c_str(), *fileMode), 0);
        }
        ASSERT_EQ(::chmod(dir_.path().c_str(), dirMode), 0);
    }

    // Runs operation as the unprivileged user: its result text or its error's message.
    std::string AsNobody(const std::function<std::string()>& operation) {
        const std::string dir = dir_.path().string();
        return RunInChild([&]() -> std::string {
            if (auto skip = BecomeUnprivileged(dir)) {
                return *skip;
            }
            return operation();
        });
    }

    void TearDown() override {
        ::chmod(dir_.path().c_str(), 0700);  // so that the directory can be removed
        SettingsFileTest::TearDown();
    }
};

TEST_F(Unprivileged, ReadOnlyFileLoadsButIsNotSaved) {
    Prepare(0755, 0444);
    const std::string path = path_;
    const std::string loaded = AsNobody([&] {
        if (::access(path.c_str(), W_OK) == 0) {
            return std::string("SKIP: file modes do not bind this user");
        }
        Settings settings;
        LoadSettings(path, settings);
        return settings.UserName + "|" + settings.LastAddress;
    });
    if (IsSkip(loaded)) {
        GTEST_SKIP() << loaded;
    }
    EXPECT_EQ(loaded, "alice|10.0.0.7");

    const std::string saved = AsNobody([&] {
        SaveSettings(path, "bob", "pw", "1", "0", "127.0.0.1");
        return std::string("no error");
    });
    EXPECT_EQ(saved, "File access denied");
    EXPECT_EQ(ReadFileBytes(path_), kOldContent);
    EXPECT_EQ(ModeOf(path_), 0444u);
    ExpectEntries({"tarnwick.ini"});
}

TEST_F(Unprivileged, ReadOnlyDirectoryWithoutFileGetsNone) {
    Prepare(0555, std::nullopt);
    const std::string path = path_;
    const std::string out = AsNobody([&] {
        const std::string dir = dir_.path().string();
        if (::access(dir.c_str(), W_OK) == 0) {
            return std::string("SKIP: directory modes do not bind this user");
        }
        std::string messages;
        for (const auto& operation : std::initializer_list<std::function<void()>>{
                 [&] { CreateDefaultSettings(path); },
                 [&] {
                     Settings settings;
                     LoadSettings(path, settings);
                 },
                 [&] { SaveSettings(path, "bob", "pw", "1", "0", "127.0.0.1"); }}) {
            messages += MessageOf(operation) + "|";
        }
        return messages;
    });
    if (IsSkip(out)) {
        GTEST_SKIP() << out;
    }
    EXPECT_EQ(out, "File access denied|File not found|File access denied|");
    ExpectEntries({});
}

// The new content needs a new file beside the old one, so a file that may be
// written in a directory that may not cannot be saved either.
TEST_F(Unprivileged, WritableFileInReadOnlyDirectoryIsNotSaved) {
    Prepare(0555, 0644);
    const std::string path = path_;
    const std::string out = AsNobody([&] {
        SaveSettings(path, "bob", "pw", "1", "0", "127.0.0.1");
        return std::string("no error");
    });
    if (IsSkip(out)) {
        GTEST_SKIP() << out;
    }
    EXPECT_EQ(out, "File access denied");
    EXPECT_EQ(ReadFileBytes(path_), kOldContent);
    ExpectEntries({"tarnwick.ini"});
}

}  // namespace
