// The error box: its look, the bound on boxes open at once, the real box's
// own event loop, and the handler guard that feeds it.
#include <algorithm>
#include <stdexcept>
#include <string>
#include <vector>

#include <QAbstractButton>
#include <QApplication>
#include <QElapsedTimer>
#include <QMessageBox>
#include <QObject>
#include <QTest>
#include <QTimer>
#include <QWidget>

#include "app/error_box.h"
#include "app/handler_guard.h"
#include "recorded_error_boxes.h"
#include "settings/EInOutError.h"

namespace {

const QString kTitle = QString::fromUtf8("Tarnwick域名系统");

// Raises failures from inside the boxes, as renewal ticks do while nobody
// answers: each box raises the next failure until `nested` boxes are open,
// the innermost then raises `overflow` more at once.
struct NestedFailures {
    int nested = ErrorBox::kMaxOpen;
    int overflow = 0;
    int raised = 0;
    int mostOpen = 0;
    std::vector<QString> texts;
    // Seen by the innermost box once the overflow was raised: the failures
    // counted, and nothing shown for them yet.
    int untoldWhileFull = -1;
    std::size_t shownWhileFull = 0;

    ErrorBox box{[this](QMessageBox& shown) {
        texts.push_back(shown.text());
        mostOpen = std::max(mostOpen, box.OpenCount());
        if (box.OpenCount() < nested && raised < nested) {
            Raise();
            return;
        }
        if (box.OpenCount() == nested && untoldWhileFull < 0) {
            while (raised < nested + overflow) Raise();
            untoldWhileFull = box.UntoldCount();
            shownWhileFull = texts.size();
        }
    }};

    void Raise() { box.Show("tick " + std::to_string(++raised)); }
};

}  // namespace

class ErrorBoxTest : public QObject {
    Q_OBJECT

private slots:
    void showsTheFailureAsDesigned() {
        RecordedErrorBoxes errors;
        errors.box.Show("File access denied");
        QCOMPARE(errors.boxes.size(), std::size_t{1});
        const ShownBox& shown = errors.boxes.front();
        QCOMPARE(shown.caption, kTitle);
        QCOMPARE(shown.text, QString("File access denied."));
        QCOMPARE(shown.icon, QMessageBox::Critical);
        QCOMPARE(shown.buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
        QCOMPARE(shown.modality, Qt::ApplicationModal);
        QCOMPARE(errors.box.OpenCount(), 0);
    }

    // A status line from the service that looks like markup is shown as text.
    void serviceTextIsNeverMarkup() {
        RecordedErrorBoxes errors;
        errors.box.Show("HTTP/1.1 500 <b>Busy</b> &amp; <br>down");
        QCOMPARE(errors.Texts(), QStringList{"HTTP/1.1 500 <b>Busy</b> &amp; <br>down."});
        QCOMPARE(errors.boxes.front().textFormat, Qt::PlainText);
    }

    void emptyMessageGivesEmptyBox() {
        RecordedErrorBoxes errors;
        errors.box.Show("");
        QCOMPARE(errors.Texts(), QStringList{QString()});
    }

    void atMostThreeOpenAndTheRestTold_data() {
        QTest::addColumn<int>("overflow");
        QTest::addColumn<QStringList>("texts");
        const QStringList three{"tick 1.", "tick 2.", "tick 3."};
        QTest::newRow("three fit") << 0 << three;
        QTest::newRow("one beyond") << 1
                                    << three + QStringList{"tick 4.\n\n(This failure came while 3 error boxes were open.)"};
        QTest::newRow("four beyond")
            << 4
            << three + QStringList{"tick 7.\n\n(4 failures came while 3 error boxes were open; this is the last of them.)"};
    }
    void atMostThreeOpenAndTheRestTold() {
        QFETCH(int, overflow);
        QFETCH(QStringList, texts);
        NestedFailures failures;
        failures.overflow = overflow;
        failures.Raise();
        QCOMPARE(QStringList(failures.texts.begin(), failures.texts.end()), texts);
        QCOMPARE(failures.mostOpen, ErrorBox::kMaxOpen);
        QCOMPARE(failures.untoldWhileFull, overflow);
        QCOMPARE(failures.shownWhileFull, std::size_t(ErrorBox::kMaxOpen));
        QCOMPARE(failures.box.OpenCount(), 0);
        QCOMPARE(failures.box.UntoldCount(), 0);
    }

    void realBoxRunsItsOwnLoopSoTicksGoOn() {
        ErrorBox box;  // the real presenter: QMessageBox::exec
        int ticks = 0;
        QTimer tick;
        tick.setInterval(5);
        connect(&tick, &QTimer::timeout, this, [&] { ++ticks; });
        tick.start();

        QString seen;
        QElapsedTimer waited;
        waited.start();
        QTimer closer;
        closer.setInterval(5);
        connect(&closer, &QTimer::timeout, this, [&] {
            auto* open = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (open == nullptr || (ticks < 3 && waited.elapsed() < 10000)) return;
            seen = open->text();
            open->button(QMessageBox::Ok)->click();
        });
        closer.start();

        box.Show("Read Timeout");
        QVERIFY2(ticks >= 3, "timer ticks stopped while the box was open");
        QCOMPARE(seen, QString("Read Timeout."));
        QCOMPARE(box.OpenCount(), 0);
    }

    void mouseCaptureIsCancelled() {
        QWidget window;
        window.resize(50, 50);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        window.grabMouse();
        QCOMPARE(QWidget::mouseGrabber(), &window);
        QWidget* grabberWhileShown = &window;
        ErrorBox box{[&](QMessageBox&) { grabberWhileShown = QWidget::mouseGrabber(); }};
        box.Show("x");
        QCOMPARE(grabberWhileShown, nullptr);
    }

    void guardHandsEveryFailureToTheBox_data() {
        QTest::addColumn<int>("failure");
        QTest::addColumn<bool>("succeeds");
        QTest::addColumn<QStringList>("texts");
        QTest::newRow("no failure") << 0 << true << QStringList{};
        QTest::newRow("standard exception") << 1 << false << QStringList{"Read Timeout."};
        QTest::newRow("file error") << 2 << false << QStringList{"File access denied."};
        QTest::newRow("something else thrown") << 3 << false << QStringList{"Unknown failure."};
    }
    void guardHandsEveryFailureToTheBox() {
        QFETCH(int, failure);
        QFETCH(bool, succeeds);
        QFETCH(QStringList, texts);
        RecordedErrorBoxes errors;
        bool ranToEnd = false;
        const bool result = RunHandler(errors.box, [&] {
            switch (failure) {
                case 1: throw std::runtime_error("Read Timeout");
                case 2: throw EInOutError(5);
                case 3: throw 42;
                default: break;
            }
            ranToEnd = true;
        });
        QCOMPARE(result, succeeds);
        QCOMPARE(ranToEnd, succeeds);
        QCOMPARE(errors.Texts(), texts);
    }
};

QTEST_MAIN(ErrorBoxTest)
#include "error_box_test.moc"
