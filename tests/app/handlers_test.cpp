// The window's commands reach their handlers, each inside the guard: menu
// items and buttons, the log-in and disconnect buttons, and Timer1's ticks.
#include <string>
#include <vector>

#include <QAction>
#include <QLabel>
#include <QObject>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include "form_harness.h"

namespace {

QString U(const char* utf8) { return QString::fromUtf8(utf8); }

QStringList ToList(const std::vector<std::string>& texts) {
    QStringList list;
    for (const std::string& text : texts) list << QString::fromStdString(text);
    return list;
}

const QStringList kInstall{"cmd /c ddns.exe /install /silent", "cmd /c net start tarnwick",
                           "cmd /c net stop tarnwick", "cmd /c net start tarnwick"};
const QStringList kUninstall{"cmd /c net stop tarnwick", "cmd /c ddns.exe /uninstall /silent"};
const QString kSite = QString("http://") + FormHarness::kHost;

const std::string kConnected = "alice\r\nsecret\r\n1\r\n1\r\n198.51.100.7\r\n";

}  // namespace

class HandlersTest : public QObject {
    Q_OBJECT

private slots:
    void init() {
        harness_ = std::make_unique<FormHarness>();
        harness_->WriteSettings(kConnected);
        harness_->MakeForm();
        QVERIFY(harness_->ShowActive());
    }
    void cleanup() { harness_.reset(); }

    void commandsReachTheirOperation_data() {
        QTest::addColumn<QString>("control");
        QTest::addColumn<QStringList>("commandLines");
        QTest::addColumn<QStringList>("addresses");
        QTest::newRow("N3 install") << "N3" << kInstall << QStringList{};
        QTest::newRow("Button1 install") << "Button1" << kInstall << QStringList{};
        QTest::newRow("N4 uninstall") << "N4" << kUninstall << QStringList{};
        QTest::newRow("Button2 uninstall") << "Button2" << kUninstall << QStringList{};
        QTest::newRow("N6 home page") << "N6" << QStringList{} << QStringList{kSite};
        QTest::newRow("N7 help") << "N7" << QStringList{} << QStringList{kSite + "/help.php"};
        QTest::newRow("N8 about us") << "N8" << QStringList{} << QStringList{kSite + "/about.php"};
        QTest::newRow("N9 about the program: download") << "N9" << QStringList{} << QStringList{kSite + "/down.php"};
        QTest::newRow("Button4 register") << "Button4" << QStringList{} << QStringList{kSite + "/reg.php"};
    }
    void commandsReachTheirOperation() {
        QFETCH(QString, control);
        QFETCH(QStringList, commandLines);
        QFETCH(QStringList, addresses);
        TForm1& form = harness_->Form();
        const std::string before = harness_->ReadSettings();

        if (auto* button = harness_->Find<QPushButton>(control.toLatin1().constData()))
            QTest::mouseClick(button, Qt::LeftButton);
        else
            harness_->Find<QAction>(control.toLatin1().constData())->trigger();

        QCOMPARE(ToList(harness_->launcher.commandLines), commandLines);
        QCOMPARE(ToList(harness_->opener.addresses), addresses);
        // The link is left as it was.
        QCOMPARE(harness_->errors.Texts(), QStringList{});
        QCOMPARE(form.Label5->text(), U("已连接"));
        QVERIFY(form.Timer1->isActive());
        QCOMPARE(harness_->ReadSettings(), before);
    }

    void disconnectThenLogInDriveTheWindow() {
        TForm1& form = harness_->Form();
        harness_->transport.Reply("");
        QTest::mouseClick(form.Button5, Qt::LeftButton);
        QCOMPARE(form.Label5->text(), U("未连接"));
        QCOMPARE(form.Label7->text(), QString("127.0.0.1"));
        QVERIFY(!form.Button5->isEnabled());
        QVERIFY(form.Button3->isEnabled());
        QVERIFY(!form.Timer1->isActive());

        harness_->transport.Reply("203.0.113.9");
        QTest::mouseClick(form.Button3, Qt::LeftButton);
        QCOMPARE(form.Label5->text(), U("已连接"));
        QCOMPARE(form.Label7->text(), QString("203.0.113.9"));
        QVERIFY(!form.Button3->isEnabled());
        QVERIFY(form.Button5->isEnabled());
        QVERIFY(form.Timer1->isActive());
        QCOMPARE(harness_->transport.Posts().size(), std::size_t{2});
        QCOMPARE(harness_->errors.Texts(), QStringList{});
    }

    void failedRequestGoesToTheErrorBox() {
        TForm1& form = harness_->Form();
        harness_->transport.Fail("Socket Error # 10061\r\nConnection refused.");
        QTest::mouseClick(form.Button5, Qt::LeftButton);
        QCOMPARE(harness_->errors.Texts(), QStringList{"Socket Error # 10061\r\nConnection refused."});
        QCOMPARE(form.Label5->text(), U("未连接"));  // what was done before the failure stays done
    }

    void logInKeepsARunningTimersPeriod() {
        FormHarness fresh;
        fresh.WriteSettings("alice\r\nsecret\r\n1\r\n0\r\n127.0.0.1\r\n");
        fresh.transport.Reply("");
        TForm1& form = fresh.MakeForm();
        QVERIFY(fresh.ShowActive());
        QTRY_VERIFY_WITH_TIMEOUT(form.Timer1->remainingTime() < 180000 - 20, 5000);
        const int remaining = form.Timer1->remainingTime();
        QTest::mouseClick(form.Button3, Qt::LeftButton);
        QCOMPARE(fresh.transport.Posts().size(), std::size_t{1});
        QVERIFY(form.Timer1->isActive());
        QVERIFY2(form.Timer1->remainingTime() <= remaining, "the log-in restarted the renewal period");
    }

    void renewalTicksRunInsideTheGuard() {
        FormHarness ticking;
        ticking.WriteSettings(kConnected);
        ticking.transport.Fail("Read Timeout");
        TForm1& form = ticking.MakeForm(20);
        QCOMPARE(form.Timer1->interval(), 20);
        QTRY_VERIFY_WITH_TIMEOUT(!ticking.errors.boxes.empty(), 5000);
        form.Timer1->stop();
        QCOMPARE(ticking.errors.Texts().front(), QString("Read Timeout."));
        QVERIFY(!ticking.transport.Posts().empty());
        QCOMPARE(form.Label5->text(), U("已连接"));
    }

    // A box left open does not hold up the renewals: a tick that fails while
    // it is open opens a second box over the first.
    void renewalsGoOnWhileABoxIsOpen() {
        FormHarness ticking;
        ticking.WriteSettings(kConnected);
        ticking.transport.Fail("Read Timeout");
        ticking.errors.holdFirstUntilShown = 2;
        TForm1& form = ticking.MakeForm(20);
        QTRY_VERIFY_WITH_TIMEOUT(ticking.errors.boxes.size() >= 2, 5000);
        form.Timer1->stop();
        QCOMPARE(ticking.errors.boxes[0].text, QString("Read Timeout."));
        QCOMPARE(ticking.errors.boxes[0].openBoxes, 1);
        QCOMPARE(ticking.errors.boxes[1].openBoxes, 2);
    }

private:
    std::unique_ptr<FormHarness> harness_;
};

QTEST_MAIN(HandlersTest)
#include "handlers_test.moc"
