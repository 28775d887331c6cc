// Start-up: FormCreate's settings and initial display, a failed start, and
// that closing the window sends and saves nothing.
#include <initializer_list>
#include <string>

#include <sys/stat.h>

#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QObject>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include "form_harness.h"

namespace {

QString U(const char* utf8) { return QString::fromUtf8(utf8); }

const std::string kDefaultFile = "\r\n\r\n1\r\n0\r\n127.0.0.1\r\n";
constexpr char kNoFile[] = "(no file)";

std::string Stored(const std::string& user, const std::string& state, const std::string& address) {
    return user + "\r\nsecret\r\n1\r\n" + state + "\r\n" + address + "\r\n";
}

// What identifies one version of a file on disk: a rewrite in place changes
// the time, a replacement by rename the inode.
struct FileStamp {
    ino_t inode = 0;
    timespec modified{};
    bool operator==(const FileStamp& other) const {
        return inode == other.inode && modified.tv_sec == other.modified.tv_sec &&
               modified.tv_nsec == other.modified.tv_nsec;
    }
};
FileStamp StampOf(const std::string& path) {
    struct stat status {};
    if (stat(path.c_str(), &status) != 0) return {};
    return {status.st_ino, status.st_mtim};
}

}  // namespace

class InitialDisplayTest : public QObject {
    Q_OBJECT

private slots:
    void showsTheStoredState_data() {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QString>("user");
        QTest::addColumn<QString>("password");
        QTest::addColumn<QString>("state");
        QTest::addColumn<QString>("address");
        QTest::addColumn<bool>("loginEnabled");
        QTest::addColumn<bool>("disconnectEnabled");

        const QString off = U("未连接");
        const QString on = U("已连接");
        const auto row = [](const char* name, const std::string& file, const QString& user,
                            const QString& password, const QString& state, const QString& address, bool login,
                            bool disconnect) {
            QTest::newRow(name) << QByteArray::fromStdString(file) << user << password << state << address << login
                                << disconnect;
        };
        row("first start writes and shows the defaults", kNoFile, "", "", off, "127.0.0.1", true, false);
        row("not connected", Stored("alice", "0", "127.0.0.1"), "alice", "secret", off, "127.0.0.1", true, false);
        row("connected", Stored("alice", "1", "198.51.100.7"), "alice", "secret", on, "198.51.100.7", false, true);
        row("other state leaves the design", Stored("alice", "2", "198.51.100.7"), "alice", "secret", off,
            "198.51.100.7", true, true);
        row("empty state leaves the design", Stored("alice", "", "127.0.0.1"), "alice", "secret", off,
            "127.0.0.1", true, true);
        row("blank around the digit", Stored("alice", " 1", "198.51.100.7"), "alice", "secret", off,
            "198.51.100.7", true, true);
        row("Chinese user name", Stored("张三", "0", "127.0.0.1"), U("张三"), "secret", off, "127.0.0.1", true,
            false);
        row("long user name shows whole", Stored(std::string(40, 'u'), "0", "127.0.0.1"), QString(40, 'u'),
            "secret", off, "127.0.0.1", true, false);
        // Bytes that are no UTF-8 (a GBK name, a character cut at the line's
        // end) each show as a mark of their own and go back out unchanged.
        const auto escaped = [](std::initializer_list<char16_t> bytes) {
            QString marks;
            for (const char16_t byte : bytes) marks += QChar(char16_t(0xDC00 + byte));
            return marks;
        };
        row("bytes of another code page", Stored("ab\xD5\xC5" "c\xC3", "0", "198.51.100.7\xE4\xB8"),
            "ab" + escaped({0xD5, 0xC5}) + "c" + escaped({0xC3}), "secret", off,
            "198.51.100.7" + escaped({0xE4, 0xB8}), true, false);
        row("leading byte order mark stays", Stored("\xEF\xBB\xBFzoe", "0", "127.0.0.1"),
            QString(QChar(0xFEFF)) + "zoe", "secret", off, "127.0.0.1", true, false);
    }
    void showsTheStoredState() {
        QFETCH(QByteArray, file);
        QFETCH(QString, user);
        QFETCH(QString, password);
        QFETCH(QString, state);
        QFETCH(QString, address);
        QFETCH(bool, loginEnabled);
        QFETCH(bool, disconnectEnabled);

        FormHarness harness;
        const bool noFile = file == kNoFile;
        if (!noFile) harness.WriteSettings(file.toStdString());
        const FileStamp before = StampOf(harness.SettingsFile());
        TForm1& form = harness.MakeForm();

        QCOMPARE(harness.errors.Texts(), QStringList{});
        QCOMPARE(form.Edit1->text(), user);
        QCOMPARE(form.Edit2->text(), password);
        QCOMPARE(form.Label5->text(), state);
        QCOMPARE(form.Label7->text(), address);
        QCOMPARE(form.Button3->isEnabled(), loginEnabled);
        QCOMPARE(form.Button5->isEnabled(), disconnectEnabled);
        // Start-up sends nothing and leaves the timer running.
        QCOMPARE(harness.transport.Posts().size(), std::size_t{0});
        QVERIFY(form.Timer1->isActive());
        // An existing file is not rewritten; a missing one gets the defaults.
        if (noFile) {
            QCOMPARE(QByteArray::fromStdString(harness.ReadSettings()), QByteArray::fromStdString(kDefaultFile));
        } else {
            QCOMPARE(QByteArray::fromStdString(harness.ReadSettings()), file);
            QVERIFY(StampOf(harness.SettingsFile()) == before);
        }
        // The user name goes back out as the bytes that came in.
        const QByteArray storedUser = noFile ? QByteArray() : file.left(file.indexOf('\r'));
        QCOMPARE(QByteArray::fromStdString(form.UserNameText()), storedUser);
    }

    void failedStartShowsTheErrorFirstThenTheDesign() {
        FormHarness harness;
        QVERIFY(harness.BlockSettingsFile());
        TForm1& form = harness.MakeForm();

        QCOMPARE(harness.errors.Texts(), QStringList{"File access denied."});
        const ShownBox& shown = harness.errors.boxes.front();
        QCOMPARE(shown.caption, U("Tarnwick域名系统"));
        QVERIFY(shown.mainWindowSet);     // Form1 is set before FormCreate runs
        QVERIFY(!shown.mainWindowShown);  // and the box comes before the window

        QVERIFY(harness.ShowActive());
        QCOMPARE(form.Edit1->text(), QString());
        QCOMPARE(form.Edit2->text(), QString());
        QCOMPARE(form.Label5->text(), U("未连接"));
        QCOMPARE(form.Label7->text(), QString());
        QVERIFY(form.Button3->isEnabled());
        QVERIFY(form.Button5->isEnabled());
        QVERIFY(form.Timer1->isActive());
    }

    void closingSendsAndSavesNothing_data() {
        QTest::addColumn<bool>("byMenu");
        QTest::newRow("menu 退出程序(&Q)") << true;
        QTest::newRow("close box") << false;
    }
    void closingSendsAndSavesNothing() {
        QFETCH(bool, byMenu);
        FormHarness harness;
        const std::string stored = Stored("alice", "1", "198.51.100.7");
        harness.WriteSettings(stored);
        const FileStamp before = StampOf(harness.SettingsFile());
        TForm1& form = harness.MakeForm();
        QVERIFY(harness.ShowActive());
        form.Edit1->setText("typed but never saved");

        if (byMenu)
            form.N5->trigger();
        else
            form.close();

        QVERIFY(!form.isVisible());
        QCOMPARE(harness.errors.Texts(), QStringList{});
        QCOMPARE(harness.transport.Posts().size(), std::size_t{0});
        QCOMPARE(QByteArray::fromStdString(harness.ReadSettings()), QByteArray::fromStdString(stored));
        QVERIFY(StampOf(harness.SettingsFile()) == before);
    }
};

QTEST_MAIN(InitialDisplayTest)
#include "initial_display_test.moc"
