// Keyboard moves: first focus, Enter from the user name to the log-in, the
// failed move while connected, and the limit of 32 typed characters.
#include <string>

#include <QApplication>
#include <QClipboard>
#include <QInputMethodEvent>
#include <QLabel>
#include <QLineEdit>
#include <QObject>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

#include "app/typing_limit.h"
#include "form_harness.h"

namespace {

QString U(const char* utf8) { return QString::fromUtf8(utf8); }

std::string Stored(const std::string& user, const std::string& state) {
    return user + "\r\nsecret\r\n1\r\n" + state + "\r\n127.0.0.1\r\n";
}

void PressEnterInFocus() { QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return); }

// Chinese text comes from an input method, one committed character at a time.
void CommitThroughInputMethod(QWidget* widget, const QString& text) {
    for (const QChar character : text) {
        QInputMethodEvent commit;
        commit.setCommitString(character);
        QApplication::sendEvent(widget, &commit);
    }
}

}  // namespace

class KeyboardTest : public QObject {
    Q_OBJECT

private slots:
    void focusStartsInTheUserName() {
        FormHarness harness;
        harness.WriteSettings(Stored("alice", "0"));
        TForm1& form = harness.MakeForm();
        QVERIFY(harness.ShowActive());
        QCOMPARE(QApplication::focusWidget(), form.Edit1);
    }

    void enterEnterEnterLogsInOnce() {
        FormHarness harness;
        harness.WriteSettings(Stored("", "0"));  // an empty user name moves on all the same
        harness.transport.Reply("");
        TForm1& form = harness.MakeForm();
        QVERIFY(harness.ShowActive());
        QSignalSpy clicks(form.Button3, &QPushButton::clicked);
        QSignalSpy userEntered(form.Edit1, &QLineEdit::returnPressed);
        QSignalSpy passwordEntered(form.Edit2, &QLineEdit::returnPressed);

        PressEnterInFocus();
        QCOMPARE(QApplication::focusWidget(), form.Edit2);
        PressEnterInFocus();
        QCOMPARE(QApplication::focusWidget(), form.Button3);
        PressEnterInFocus();

        QCOMPARE(clicks.count(), 1);
        QCOMPARE(harness.transport.Posts().size(), std::size_t{1});
        QCOMPARE(harness.errors.Texts(), QStringList{});
        // Neither key handler took the Enter from its box.
        QCOMPARE(userEntered.count(), 1);
        QCOMPARE(passwordEntered.count(), 1);
    }

    // Disabling the focused button leaves no control focused, so a further
    // Enter presses nothing: neither "断开" after a log-in nor "安装" after a
    // disconnect.
    void disablingTheFocusedButtonLeavesNoFocus() {
        FormHarness harness;
        harness.WriteSettings(Stored("alice", "0"));
        harness.transport.Reply("1.2.3.4");
        harness.transport.Reply("");
        TForm1& form = harness.MakeForm();
        QVERIFY(harness.ShowActive());

        PressEnterInFocus();
        PressEnterInFocus();
        PressEnterInFocus();
        QCOMPARE(form.Label5->text(), U("已连接"));
        QCOMPARE(QApplication::focusWidget(), nullptr);
        QCOMPARE(form.focusWidget(), nullptr);

        form.Button5->setFocus();
        QTest::keyClick(form.Button5, Qt::Key_Return);
        QCOMPARE(form.Label5->text(), U("未连接"));
        QCOMPARE(QApplication::focusWidget(), nullptr);
        QCOMPARE(form.focusWidget(), nullptr);
        QCOMPARE(harness.transport.Posts().size(), std::size_t{2});
        QCOMPARE(harness.launcher.commandLines.size(), std::size_t{0});
    }

    void enterInThePasswordWhileConnectedFails() {
        FormHarness harness;
        harness.WriteSettings(Stored("alice", "1"));
        TForm1& form = harness.MakeForm();
        QVERIFY(harness.ShowActive());
        QSignalSpy clicks(form.Button3, &QPushButton::clicked);
        QSignalSpy passwordEntered(form.Edit2, &QLineEdit::returnPressed);
        form.Edit2->setFocus();
        QCOMPARE(QApplication::focusWidget(), form.Edit2);

        PressEnterInFocus();

        QCOMPARE(harness.errors.Texts(), QStringList{"Cannot focus a disabled or invisible window."});
        QCOMPARE(harness.errors.boxes.front().caption, U("Tarnwick域名系统"));
        QCOMPARE(QApplication::focusWidget(), form.Edit2);
        QCOMPARE(clicks.count(), 0);
        QCOMPARE(harness.transport.Posts().size(), std::size_t{0});
        QCOMPARE(passwordEntered.count(), 0);  // the failure ends the key's handling
    }

    void otherKeysAreLeftAlone() {
        FormHarness harness;
        harness.WriteSettings(Stored("", "1"));
        TForm1& form = harness.MakeForm();
        QVERIFY(harness.ShowActive());
        form.Edit2->setFocus();
        QTest::keyClicks(form.Edit2, "ab\t");
        QCOMPARE(form.Edit2->text(), QString("secretab"));
        QCOMPARE(harness.errors.Texts(), QStringList{});
    }

    void typingStopsAt32Characters_data() {
        QTest::addColumn<QString>("edit");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<bool>("inputMethod");
        QTest::newRow("user name, keys") << "Edit1" << QString(40, 'a') << false;
        QTest::newRow("user name, Chinese input method") << "Edit1" << U("中文").repeated(20) << true;
        QTest::newRow("password, keys") << "Edit2" << QString(33, '7') << false;
    }
    void typingStopsAt32Characters() {
        QFETCH(QString, edit);
        QFETCH(QString, typed);
        QFETCH(bool, inputMethod);
        FormHarness harness;  // first start: both boxes empty
        harness.MakeForm();
        QVERIFY(harness.ShowActive());
        auto* box = harness.Find<QLineEdit>(edit.toLatin1().constData());
        box->setFocus();
        if (inputMethod)
            CommitThroughInputMethod(box, typed);
        else
            QTest::keyClicks(box, typed);
        QCOMPARE(box->text(), typed.left(32));
    }

    void pastingIsCutAt32Characters() {
        FormHarness harness;
        harness.WriteSettings(Stored("", "0"));
        TForm1& form = harness.MakeForm();
        QVERIFY(harness.ShowActive());
        form.Edit1->setFocus();
        QTest::keyClicks(form.Edit1, "abc");
        form.Edit1->setCursorPosition(1);
        QApplication::clipboard()->setText(QString(40, 'x'));
        QTest::keyClick(form.Edit1, Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(form.Edit1->text(), "a" + QString(29, 'x') + "bc");
        QCOMPARE(form.Edit1->cursorPosition(), 30);
    }

    void longStoredNameShowsWholeButTakesNoMoreTyping() {
        FormHarness harness;
        const QString stored(40, 'u');
        harness.WriteSettings(Stored(stored.toStdString(), "0"));
        TForm1& form = harness.MakeForm();
        QVERIFY(harness.ShowActive());
        QCOMPARE(form.Edit1->text(), stored);
        QTest::keyClick(form.Edit1, Qt::Key_End);
        QTest::keyClicks(form.Edit1, "z");
        QCOMPARE(form.Edit1->text(), stored);
        QTest::keyClick(form.Edit1, Qt::Key_Backspace);
        QCOMPARE(form.Edit1->text(), QString(39, 'u'));
    }

    void limitCutsOnlyWhatAnEditInserts_data() {
        QTest::addColumn<QString>("before");
        QTest::addColumn<QString>("after");
        QTest::addColumn<QString>("kept");
        QTest::addColumn<int>("cursor");
        const QString a31(31, 'a');
        const QString a32(32, 'a');
        QTest::newRow("within the limit") << "abc" << "abcd" << "abcd" << -1;
        QTest::newRow("fills the limit") << a31 << a32 << a32 << -1;
        QTest::newRow("one past the limit") << a32 << a32 + "b" << a32 << 32;
        QTest::newRow("paste cut in the middle") << "ab" << "a" + QString(40, 'x') + "b"
                                                 << "a" + QString(30, 'x') + "b" << 31;
        QTest::newRow("selection replaced by a paste") << a31 + "b" << "a" + QString(40, 'y')
                                                       << "a" + QString(31, 'y') << 32;
        QTest::newRow("deleting from a long text") << QString(40, 'u') << QString(39, 'u') << QString(39, 'u') << -1;
        QTest::newRow("typing into a long text") << QString(40, 'u') << QString(40, 'u') + "z" << QString(40, 'u')
                                                 << 40;
        QTest::newRow("surrogate pair not split") << a31 << a31 + U("😀😀") << a31 << 31;
    }
    void limitCutsOnlyWhatAnEditInserts() {
        QFETCH(QString, before);
        QFETCH(QString, after);
        QFETCH(QString, kept);
        QFETCH(int, cursor);
        const TypedEdit limited = LimitTypedEdit(before, after, 32);
        QCOMPARE(limited.text, kept);
        QCOMPARE(limited.cursor, qsizetype{cursor});
    }
};

QTEST_MAIN(KeyboardTest)
#include "keyboard_test.moc"
