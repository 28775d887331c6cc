// The real window with the real HTTP client against the stand-in service on
// 127.0.0.1: log-in, renewal and disconnect end to end, and the service and
// web commands that must leave a live link alone.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include <QAction>
#include <QApplication>
#include <QInputMethodEvent>
#include <QLabel>
#include <QLineEdit>
#include <QObject>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include "link/md5.h"
#include "standin_form.h"

namespace {

const std::string kStandin = TARNWICK_STANDIN_PATH;

QString U(const char* utf8) { return QString::fromUtf8(utf8); }
QString Str(const std::string& bytes) { return QString::fromStdString(bytes); }

QStringList ToList(const std::vector<std::string>& texts) {
    QStringList list;
    for (const std::string& text : texts) list << Str(text);
    return list;
}

std::string Stored(const std::string& user, const std::string& password, const std::string& state,
                   const std::string& address) {
    return user + "\r\n" + password + "\r\n1\r\n" + state + "\r\n" + address + "\r\n";
}

// The start of a login or quit request line for one account.
std::string RequestFor(const std::string& encodedUser, const std::string& password, bool quit = false) {
    return "POST /lo.php?user=" + encodedUser + "&pass=" + PasswordDigest(password) +
           (quit ? "&c=md5&q=quit&str=" : "&c=md5&str=");
}

// Replaces a box's text as a user does: select all, then type. Text beyond
// ASCII comes from an input method, one committed character at a time.
void Retype(QLineEdit* edit, const QString& text) {
    QTest::keyClick(edit, Qt::Key_A, Qt::ControlModifier);
    const bool ascii = std::all_of(text.begin(), text.end(), [](QChar c) { return c.unicode() < 0x80; });
    if (ascii) {
        QTest::keyClicks(edit, text);
        return;
    }
    QTest::keyClick(edit, Qt::Key_Delete);
    for (const QChar character : text) {
        QInputMethodEvent commit;
        commit.setCommitString(character);
        QApplication::sendEvent(edit, &commit);
    }
}

void PressEnterInFocus() { QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return); }

// What the link shows in the window at one moment.
struct WindowLink {
    QString state;
    QString address;
    bool loginEnabled = false;
    bool disconnectEnabled = false;
    QString user;
    QString password;
    bool timerActive = false;

    static WindowLink Of(const TForm1& form) {
        return {form.Label5->text(),      form.Label7->text(),     form.Button3->isEnabled(),
                form.Button5->isEnabled(), form.Edit1->text(),      form.Edit2->text(),
                form.Timer1->isActive()};
    }
    bool operator==(const WindowLink&) const = default;
};

const QStringList kInstall{"cmd /c ddns.exe /install /silent", "cmd /c net start tarnwick",
                           "cmd /c net stop tarnwick", "cmd /c net start tarnwick"};
const QStringList kUninstall{"cmd /c net stop tarnwick", "cmd /c ddns.exe /uninstall /silent"};

constexpr int kShortInterval = 300;   // ms; renewals in the tick tests
constexpr int kLongInterval = 60000;  // ms; no renewal falls due within a test
constexpr int kWait = 5000;           // ms; the bound of every wait for something to happen

}  // namespace

class WindowLinkTest : public QObject {
    Q_OBJECT

private slots:
    void logInSendsTheTypedAccount_data() {
        QTest::addColumn<bool>("byKeyboard");
        QTest::addColumn<QString>("user");
        QTest::addColumn<QString>("password");
        QTest::addColumn<QString>("userInUrl");
        QTest::newRow("Enter, Enter, Enter") << true << "bob smith" << "pa ss" << "bob%20smith";
        QTest::newRow("click, Chinese user name sent raw") << false << U("李雷") << "secret" << U("李雷");
    }
    void logInSendsTheTypedAccount() {
        QFETCH(bool, byKeyboard);
        QFETCH(QString, user);
        QFETCH(QString, password);
        QFETCH(QString, userInUrl);
        StandinForm link(kStandin);
        link.WriteSettings(Stored("old", "oldpw", "0", "198.51.100.7"));
        TForm1& form = link.MakeForm();
        QVERIFY(link.ShowActive());

        Retype(form.Edit1, user);
        if (byKeyboard) {
            PressEnterInFocus();
            QCOMPARE(QApplication::focusWidget(), form.Edit2);
        }
        Retype(form.Edit2, password);
        if (byKeyboard) {
            PressEnterInFocus();
            QCOMPARE(QApplication::focusWidget(), form.Button3);
            PressEnterInFocus();
        } else {
            QTest::mouseClick(form.Button3, Qt::LeftButton);
        }

        QCOMPARE(link.parts.errors.Texts(), QStringList{});
        const std::vector<std::string> posts = link.Posts();
        QCOMPARE(posts.size(), std::size_t{1});
        QVERIFY2(posts[0].starts_with(RequestFor(userInUrl.toStdString(), password.toStdString())),
                 posts[0].c_str());
        QCOMPARE(form.Label5->text(), U("已连接"));
        QCOMPARE(form.Label7->text(), QString("127.0.0.1"));  // the stand-in answers with the caller's address
        QVERIFY(!form.Button3->isEnabled());
        QVERIFY(form.Button5->isEnabled());
        QCOMPARE(Str(link.ReadSettings()), Str(Stored(user.toStdString(), password.toStdString(), "1", "127.0.0.1")));
    }

    void replyDecidesTheLogIn_data() {
        QTest::addColumn<QString>("mode");
        QTest::addColumn<bool>("connected");
        QTest::addColumn<QString>("address");
        QTest::addColumn<QString>("file");
        QTest::addColumn<QStringList>("errors");
        const QString before = Str(Stored("alice", "secret", "0", "198.51.100.7"));
        const auto connectedTo = [](const char* address) { return Str(Stored("alice", "secret", "1", address)); };
        QTest::newRow("an address") << "203.0.113.5" << true << "203.0.113.5" << connectedTo("203.0.113.5")
                                    << QStringList{};
        QTest::newRow("a single blank") << "%20" << true << " " << connectedTo(" ") << QStringList{};
        QTest::newRow("a zero") << "0" << true << "0" << connectedTo("0") << QStringList{};
        QTest::newRow("an address and a line break, stored whole")
            << "203.0.113.5%0D%0A" << true << "203.0.113.5\r\n" << connectedTo("203.0.113.5\r\n") << QStringList{};
        // Label7 keeps the old address while the file gets 127.0.0.1.
        QTest::newRow("empty") << "empty" << false << "198.51.100.7"
                               << Str(Stored("alice", "secret", "0", "127.0.0.1")) << QStringList{};
        QTest::newRow("status 404") << "status=404" << false << "198.51.100.7" << before
                                    << QStringList{"HTTP/1.1 404 Not Found."};
        QTest::newRow("closed without a reply") << "close" << false << "198.51.100.7" << before
                                                << QStringList{"Connection Closed Gracefully."};
    }
    void replyDecidesTheLogIn() {
        QFETCH(QString, mode);
        QFETCH(bool, connected);
        QFETCH(QString, address);
        QFETCH(QString, file);
        QFETCH(QStringList, errors);
        StandinForm link(kStandin, {"--reply", mode.toStdString()});
        link.WriteSettings(Stored("alice", "secret", "0", "198.51.100.7"));
        TForm1& form = link.MakeForm();
        QVERIFY(link.ShowActive());

        QTest::mouseClick(form.Button3, Qt::LeftButton);

        QCOMPARE(link.parts.errors.Texts(), errors);
        QCOMPARE(link.Posts().size(), std::size_t{1});
        QCOMPARE(form.Label5->text(), connected ? U("已连接") : U("未连接"));
        QCOMPARE(form.Label7->text(), address);
        QCOMPARE(form.Button3->isEnabled(), !connected);
        QCOMPARE(form.Button5->isEnabled(), connected);
        QVERIFY(form.Timer1->isActive());
        QCOMPARE(Str(link.ReadSettings()), file);
    }

    // Renewals use the account stored in the file at the moment of the tick,
    // not the boxes, which the user changed meanwhile.
    void tickSendsTheStoredAccount() {
        StandinForm link(kStandin);
        link.WriteSettings(Stored("alice", "secret", "1", "198.51.100.7"));
        TForm1& form = link.MakeForm(kShortInterval);
        QVERIFY(link.ShowActive());
        Retype(form.Edit1, "mallory");
        Retype(form.Edit2, "typed");
        link.WriteSettings(Stored("carol", "hidden", "1", "198.51.100.7"));
        const std::size_t before = link.Posts().size();

        QTRY_VERIFY_WITH_TIMEOUT(link.Posts().size() > before, kWait);

        const std::vector<std::string> posts = link.Posts();
        for (std::size_t i = before; i < posts.size(); ++i)
            QVERIFY2(posts[i].starts_with(RequestFor("carol", "hidden")), posts[i].c_str());
        QCOMPARE(link.parts.errors.Texts(), QStringList{});
        QCOMPARE(form.Edit1->text(), QString("mallory"));
        QCOMPARE(form.Edit2->text(), QString("typed"));
        QCOMPARE(form.Label7->text(), QString("127.0.0.1"));
        QCOMPARE(Str(link.ReadSettings()), Str(Stored("carol", "hidden", "1", "127.0.0.1")));
    }

    // Each tick fails at reloading and sends nothing; a disconnect writes the
    // file anew, and after the next log-in renewals work again.
    void tickWithoutTheFileSendsNothing() {
        StandinForm link(kStandin);
        link.WriteSettings(Stored("alice", "secret", "1", "198.51.100.7"));
        TForm1& form = link.MakeForm(kShortInterval);
        QVERIFY(link.ShowActive());
        QVERIFY(std::remove(link.SettingsFile().c_str()) == 0);
        const std::size_t before = link.Posts().size();

        QTRY_VERIFY_WITH_TIMEOUT(!link.parts.errors.boxes.empty(), kWait);

        QCOMPARE(link.parts.errors.Texts().front(), QString("File not found."));
        QCOMPARE(link.Posts().size(), before);
        QCOMPARE(form.Label5->text(), U("已连接"));
        QCOMPARE(form.Label7->text(), QString("198.51.100.7"));
        QVERIFY(form.Timer1->isActive());

        QTest::mouseClick(form.Button5, Qt::LeftButton);
        QCOMPARE(Str(link.ReadSettings()), Str(Stored("alice", "secret", "0", "127.0.0.1")));
        QTest::mouseClick(form.Button3, Qt::LeftButton);
        QCOMPARE(form.Label5->text(), U("已连接"));
        const std::size_t failures = link.parts.errors.boxes.size();
        const std::size_t afterLogIn = link.Posts().size();
        QCOMPARE(afterLogIn, before + 2);  // the quit and the log-in
        QTRY_VERIFY_WITH_TIMEOUT(link.Posts().size() > afterLogIn, kWait);
        QCOMPARE(link.parts.errors.boxes.size(), failures);
    }

    // The service learns of the disconnect only after window, timer and file
    // are at not connected. The stand-in holds the quit request unanswered,
    // so the window is still inside the handler while a second thread reads
    // the file as the request arrives.
    void disconnectSavesBeforeTheQuitGoesOut() {
        StandinForm link(kStandin);
        link.WriteSettings(Stored("alice", "secret", "1", "198.51.100.7"));
        TForm1& form = link.MakeForm(kShortInterval);
        QVERIFY(link.ShowActive());
        QVERIFY(link.SetReply("stall"));

        std::optional<std::string> fileAtQuit;
        std::string quitLine;
        std::thread watcher([logPath = link.LogPath(), settingsPath = link.SettingsFile(), &fileAtQuit, &quitLine] {
            const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(kWait);
            while (std::chrono::steady_clock::now() < deadline) {
                for (const std::string& post : StandinForm::PostsIn(logPath)) {
                    if (post.find("&q=quit&") == std::string::npos) continue;
                    quitLine = post;
                    std::ifstream in(settingsPath, std::ios::binary);
                    fileAtQuit = std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
                    return;
                }
                std::this_thread::sleep_for(std::chrono::milliseconds(2));  // polling the log, up to the deadline
            }
        });
        QTest::mouseClick(form.Button5, Qt::LeftButton);
        watcher.join();

        QVERIFY2(fileAtQuit.has_value(), "no quit request reached the stand-in");
        QVERIFY2(quitLine.starts_with(RequestFor("alice", "secret", true)), quitLine.c_str());
        QCOMPARE(Str(*fileAtQuit), Str(Stored("alice", "secret", "0", "127.0.0.1")));
        QCOMPARE(link.parts.errors.Texts(), QStringList{"Read Timeout."});  // the held reply, given up on
        QCOMPARE(form.Label5->text(), U("未连接"));
        QCOMPARE(form.Label7->text(), QString("127.0.0.1"));
        QVERIFY(form.Button3->isEnabled());
        QVERIFY(!form.Button5->isEnabled());
        QVERIFY(!form.Timer1->isActive());

        // No renewal after a disconnect: waiting for nothing, a few intervals.
        const std::size_t posts = link.Posts().size();
        QTest::qWait(3 * kShortInterval);
        QCOMPARE(link.Posts().size(), posts);
    }

    // A log-in keeps a running timer's period; after a disconnect it starts a
    // fresh one.
    void logInStartsTheTimerOnlyWhenStopped() {
        StandinForm link(kStandin);
        link.WriteSettings(Stored("alice", "secret", "0", "127.0.0.1"));
        TForm1& form = link.MakeForm(kLongInterval);
        QVERIFY(link.ShowActive());
        QTRY_VERIFY_WITH_TIMEOUT(form.Timer1->remainingTime() <= kLongInterval - 300, kWait);
        const int remaining = form.Timer1->remainingTime();

        QTest::mouseClick(form.Button3, Qt::LeftButton);
        QCOMPARE(form.Label5->text(), U("已连接"));
        QVERIFY(form.Timer1->isActive());
        QVERIFY2(form.Timer1->remainingTime() <= remaining, "the log-in restarted the renewal period");

        QTest::mouseClick(form.Button5, Qt::LeftButton);
        QVERIFY(!form.Timer1->isActive());
        QTest::mouseClick(form.Button3, Qt::LeftButton);
        QVERIFY(form.Timer1->isActive());
        QVERIFY2(form.Timer1->remainingTime() > remaining, "the log-in did not start a fresh period");
        QCOMPARE(link.Posts().size(), std::size_t{3});
        QCOMPARE(link.parts.errors.Texts(), QStringList{});
    }

    // An empty renewal reply while connected: not connected in the window with
    // the old address still shown, 127.0.0.1 in the file; renewals go on, and
    // the next address brings the link back.
    void emptyRenewalWhileConnected() {
        StandinForm link(kStandin, {"--reply", "empty"});
        link.WriteSettings(Stored("alice", "secret", "1", "198.51.100.7"));
        TForm1& form = link.MakeForm(kShortInterval);
        QVERIFY(link.ShowActive());
        QCOMPARE(form.Label5->text(), U("已连接"));

        QTRY_COMPARE_WITH_TIMEOUT(form.Label5->text(), U("未连接"), kWait);
        QCOMPARE(form.Label7->text(), QString("198.51.100.7"));
        QVERIFY(form.Button3->isEnabled());
        QVERIFY(!form.Button5->isEnabled());
        QVERIFY(form.Timer1->isActive());
        QCOMPARE(Str(link.ReadSettings()), Str(Stored("alice", "secret", "0", "127.0.0.1")));

        QVERIFY(link.SetReply("203.0.113.9"));
        QTRY_COMPARE_WITH_TIMEOUT(form.Label5->text(), U("已连接"), kWait);
        QCOMPARE(form.Label7->text(), QString("203.0.113.9"));
        QVERIFY(!form.Button3->isEnabled());
        QVERIFY(form.Button5->isEnabled());
        QCOMPARE(Str(link.ReadSettings()), Str(Stored("alice", "secret", "1", "203.0.113.9")));
        QCOMPARE(link.parts.errors.Texts(), QStringList{});
    }

    void commandsLeaveTheLinkAlone_data() {
        QTest::addColumn<QString>("control");
        QTest::addColumn<QStringList>("commandLines");
        QTest::addColumn<QStringList>("pages");
        QTest::newRow("N3 install") << "N3" << kInstall << QStringList{};
        QTest::newRow("Button1 install") << "Button1" << kInstall << QStringList{};
        QTest::newRow("N4 uninstall") << "N4" << kUninstall << QStringList{};
        QTest::newRow("Button2 uninstall") << "Button2" << kUninstall << QStringList{};
        QTest::newRow("N6 home page") << "N6" << QStringList{} << QStringList{""};
        QTest::newRow("N7 help") << "N7" << QStringList{} << QStringList{"/help.php"};
        QTest::newRow("N8 about us") << "N8" << QStringList{} << QStringList{"/about.php"};
        QTest::newRow("N9 about the program") << "N9" << QStringList{} << QStringList{"/down.php"};
        QTest::newRow("Button4 register") << "Button4" << QStringList{} << QStringList{"/reg.php"};
    }
    void commandsLeaveTheLinkAlone() {
        QFETCH(QString, control);
        QFETCH(QStringList, commandLines);
        QFETCH(QStringList, pages);
        StandinForm link(kStandin);
        link.WriteSettings(Stored("alice", "secret", "0", "198.51.100.7"));
        TForm1& form = link.MakeForm(kLongInterval);
        QVERIFY(link.ShowActive());
        QTest::mouseClick(form.Button3, Qt::LeftButton);
        QCOMPARE(form.Label5->text(), U("已连接"));
        // Long enough into the period that a restart would show.
        QTRY_VERIFY_WITH_TIMEOUT(form.Timer1->remainingTime() <= kLongInterval - 200, kWait);
        const WindowLink window = WindowLink::Of(form);
        const int remaining = form.Timer1->remainingTime();
        const std::string file = link.ReadSettings();
        const FileStamp stamp = FileStamp::Of(link.SettingsFile());
        const std::size_t posts = link.Posts().size();

        const QByteArray name = control.toLatin1();
        if (auto* button = form.findChild<QPushButton*>(name))
            QTest::mouseClick(button, Qt::LeftButton);
        else
            form.findChild<QAction*>(name)->trigger();

        QStringList addresses;
        for (const QString& page : pages) addresses << Str("http://" + link.Host()) + page;
        QCOMPARE(ToList(link.parts.launcher.commandLines), commandLines);
        QCOMPARE(ToList(link.parts.opener.addresses), addresses);
        QCOMPARE(link.parts.errors.Texts(), QStringList{});
        QVERIFY(WindowLink::Of(form) == window);
        QVERIFY2(form.Timer1->remainingTime() <= remaining, "the command restarted the renewal period");
        QCOMPARE(Str(link.ReadSettings()), Str(file));
        QVERIFY2(FileStamp::Of(link.SettingsFile()) == stamp, "the settings file was rewritten");
        QCOMPARE(link.Posts().size(), posts);
    }
};

QTEST_MAIN(WindowLinkTest)
#include "window_link_test.moc"
