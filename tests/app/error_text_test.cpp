// The error box's full-stop rule.
#include <clocale>
#include <string>

#include <QByteArray>
#include <QObject>
#include <QTest>

#include "app/error_text.h"

class ErrorTextTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { QVERIFY(std::setlocale(LC_ALL, "C.UTF-8") != nullptr); }

    void fullStop_data() {
        // Byte strings, as the failures carry them.
        QTest::addColumn<QByteArray>("message");
        QTest::addColumn<QByteArray>("shown");
        const auto row = [](const char* name, const std::string& message, const std::string& shown) {
            QTest::newRow(name) << QByteArray::fromStdString(message) << QByteArray::fromStdString(shown);
        };
        row("letter gets one", "abc", "abc.");
        row("full stop stays single", "abc.", "abc.");
        row("empty stays empty", "", "");
        row("exclamation is below the stop", "a!", "a!");
        row("line break", "a\r\n", "a\r\n");
        row("blank", "a ", "a ");
        row("comma", "a,", "a,");
        row("minus, just below the stop", "a-", "a-");
        row("quote marks", "say \"x\"", "say \"x\"");
        row("apostrophe", "it's'", "it's'");
        row("slash, just above the stop", "a/", "a/.");
        row("colon", "a:", "a:.");
        row("digit", "I/O error 32", "I/O error 32.");
        row("Chinese last character", "x 中", "x 中.");
        row("only a Chinese character", "中", "中.");
        row("full-width stop is no stop", "完。", "完。.");
        row("http reply line", "HTTP/1.1 404 Not Found", "HTTP/1.1 404 Not Found.");
        row("socket error ends in a stop", "Socket Error # 10061\r\nConnection refused.",
            "Socket Error # 10061\r\nConnection refused.");
        row("NUL byte last", std::string("a\0", 2), std::string("a\0", 2));
        row("cut multi-byte character", "a\xE4\xB8", "a\xE4\xB8.");
        row("stray trail byte", "a\x80", "a\x80.");
    }
    void fullStop() {
        QFETCH(QByteArray, message);
        QFETCH(QByteArray, shown);
        QCOMPARE(QByteArray::fromStdString(ErrorBoxText(message.toStdString())), shown);
    }
};

QTEST_APPLESS_MAIN(ErrorTextTest)
#include "error_text_test.moc"
