// The main window as designed: every control, the menu, the window itself.
// Shown in its design state (the settings file cannot be made, so FormCreate
// stops before the initial display).
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QColor>
#include <QFontInfo>
#include <QFontMetrics>
#include <QIcon>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QObject>
#include <QPalette>
#include <QPushButton>
#include <QRect>
#include <QScreen>
#include <QTest>
#include <QTimer>

#include "app/program_icon.h"
#include "app/window_placement.h"
#include "form_harness.h"

namespace {

QString U(const char* utf8) { return QString::fromUtf8(utf8); }

const QColor kTeal(0, 128, 128);
const QColor kRed(255, 0, 0);
const QColor kBlack(0, 0, 0);

}  // namespace

class FormLayoutTest : public QObject {
    Q_OBJECT

private slots:
    void init() {
        harness_ = std::make_unique<FormHarness>();
        QVERIFY(harness_->BlockSettingsFile());
        harness_->MakeForm();
        QVERIFY(harness_->ShowActive());
    }
    void cleanup() { harness_.reset(); }

    void controlsAsDesigned_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QRect>("geometry");
        QTest::addColumn<QString>("family");  // first face asked for
        QTest::addColumn<int>("pixelSize");
        QTest::addColumn<int>("colourRole");
        QTest::addColumn<QColor>("colour");

        const QString song = "SimSun";
        const QString windowFont = "MS Sans Serif";
        const QColor windowText = QApplication::palette().color(QPalette::WindowText);
        const int label = QPalette::WindowText;
        const int button = QPalette::ButtonText;
        const int edit = QPalette::Text;
        const auto row = [](const char* name, const QString& text, QRect geometry, const QString& family,
                            int pixelSize, int role, const QColor& colour) {
            QTest::newRow(name) << QString(name) << text << geometry << family << pixelSize << role << colour;
        };
        row("Label1", U("用户："), {8, 12, 36, 12}, song, 12, label, kTeal);
        row("Edit1", "", {48, 8, 110, 21}, "Tahoma", 11, edit, windowText);
        row("Button4", U("注册"), {176, 8, 40, 20}, song, 12, button, windowText);
        row("Label2", U("密码："), {8, 44, 36, 12}, song, 12, label, kTeal);
        row("Edit2", "", {48, 40, 110, 21}, windowFont, 11, edit, windowText);
        row("CheckBox1", U("保存"), {165, 46, 45, 17}, song, 12, label, kTeal);
        row("Button3", U("登陆"), {8, 72, 40, 20}, song, 12, button, windowText);
        row("Button5", U("断开"), {64, 72, 40, 20}, song, 12, button, windowText);
        row("Button1", U("安装"), {120, 72, 40, 20}, song, 12, button, windowText);
        row("Button2", U("卸载"), {176, 72, 40, 20}, song, 12, button, kBlack);
        row("Label4", U("状态："), {8, 100, 36, 12}, song, 12, label, kTeal);
        row("Label5", U("未连接"), {44, 100, 36, 12}, song, 12, label, kRed);
        row("Label6", U("IP："), {100, 100, 24, 12}, song, 12, label, windowText);
        row("Label7", "", {125, 100, 6, 12}, song, 12, label, kRed);
    }
    void controlsAsDesigned() {
        QFETCH(QString, name);
        QFETCH(QString, text);
        QFETCH(QRect, geometry);
        QFETCH(QString, family);
        QFETCH(int, pixelSize);
        QFETCH(int, colourRole);
        QFETCH(QColor, colour);

        auto* control = harness_->Find<QWidget>(name.toLatin1().constData());
        QVERIFY(control != nullptr);
        QCOMPARE(control->property("text").toString(), text);
        if (qobject_cast<QLabel*>(control) != nullptr) {
            // A label grows from its design corner to hold its whole text,
            // the foot of the characters included.
            const QFontMetrics metrics(control->font());
            QCOMPARE(control->pos(), geometry.topLeft());
            QVERIFY(control->width() >= metrics.horizontalAdvance(text));
            QVERIFY(control->height() >= metrics.height());
        } else {
            QCOMPARE(control->geometry(), geometry);
        }
        QCOMPARE(control->parentWidget(), harness_->Form().centralWidget());
        QCOMPARE(control->font().families().value(0), family);
        QCOMPARE(control->font().pixelSize(), pixelSize);
        QCOMPARE(QFontInfo(control->font()).pixelSize(), pixelSize);
        QCOMPARE(control->palette().color(static_cast<QPalette::ColorRole>(colourRole)), colour);
        QVERIFY(control->isEnabled());
        QVERIFY(control->isVisible());
    }

    // The design colours are for the enabled look only: a disabled button
    // keeps the style's greyed text, so the user sees which one is off.
    void disabledButtonsLookDisabled() {
        auto* button = harness_->Find<QPushButton>("Button2");
        const QColor enabled = button->palette().color(QPalette::Active, QPalette::ButtonText);
        QCOMPARE(enabled, kBlack);
        QCOMPARE(button->palette().color(QPalette::Disabled, QPalette::ButtonText),
                 QApplication::palette().color(QPalette::Disabled, QPalette::ButtonText));
        QVERIFY(button->palette().color(QPalette::Disabled, QPalette::ButtonText) != enabled);
    }

    void songTiFallsBackToAChineseFace() {
        const QFont font = harness_->Find<QLabel>("Label5")->font();
        QCOMPARE(font.families(), (QStringList{"SimSun", U("宋体"), "WenQuanYi Zen Hei"}));
        QVERIFY(QFontMetrics(font).inFont(QChar(0x672A)));  // 未
    }

    void tabOrderFollowsTheDesign() {
        QStringList order;
        QWidget* focused = QApplication::focusWidget();
        QVERIFY(focused != nullptr);
        order << focused->objectName();
        for (int step = 0; step < 8; ++step) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            order << QApplication::focusWidget()->objectName();
        }
        QCOMPARE(order, (QStringList{"Edit1", "Edit2", "Button3", "Button5", "Button1", "Button2", "Button4",
                                     "CheckBox1", "Edit1"}));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab);
        QCOMPARE(QApplication::focusWidget()->objectName(), QString("CheckBox1"));
    }

    void menuAsDesigned() {
        auto* menuBar = harness_->Find<QMenuBar>("MainMenu1");
        QVERIFY(menuBar != nullptr);
        QCOMPARE(harness_->Form().menuBar(), menuBar);
        QStringList menus;
        for (QAction* menu : menuBar->actions()) menus << menu->menu()->objectName() + "=" + menu->text();
        QCOMPARE(menus, (QStringList{U("N1=程序(&S)"), U("N2=帮助(&H)")}));

        const auto items = [this](const char* menuName) {
            QStringList texts;
            for (QAction* item : harness_->Find<QMenu>(menuName)->actions()) {
                texts << item->objectName() + "=" + item->text();
                if (!item->shortcut().isEmpty()) texts << "shortcut on " + item->objectName();
            }
            return texts;
        };
        QCOMPARE(items("N1"), (QStringList{U("N3=安装服务(&I)"), U("N4=卸载服务(&U)"), U("N5=退出程序(&Q)")}));
        QCOMPARE(items("N2"), (QStringList{U("N6=访问官网(&W)"), U("N7=使用帮助(&U)"), U("N8=关于我们(&A)"),
                                           U("N9=关于程序(&P)")}));
    }

    void windowIsFixedWithClientAreaBelowTheMenu() {
        TForm1& form = harness_->Form();
        QCOMPARE(form.windowTitle(), U("Tarnwick域名系统"));
        QCOMPARE(form.centralWidget()->size(), QSize(229, 117));
        QCOMPARE(form.centralWidget()->y(), form.menuBar()->geometry().bottom() + 1);
        QCOMPARE(form.size(), QSize(229, form.menuBar()->height() + 117));
        QCOMPARE(form.minimumSize(), form.size());
        QCOMPARE(form.maximumSize(), form.size());
        const Qt::WindowFlags flags = form.windowFlags();
        QVERIFY(!flags.testFlag(Qt::WindowMaximizeButtonHint));
        QVERIFY(flags.testFlag(Qt::WindowMinimizeButtonHint));
        QVERIFY(flags.testFlag(Qt::WindowCloseButtonHint));
        QVERIFY(flags.testFlag(Qt::WindowSystemMenuHint));
        QCOMPARE(form.palette().color(QPalette::Window), form.palette().color(QPalette::Button));
        QCOMPARE(form.font().families().value(0), QString("MS Sans Serif"));
        QCOMPARE(form.font().pixelSize(), 11);
        QVERIFY(!form.windowIcon().isNull());
    }

    void programIconIs32By32InTrueColour() {
        const QIcon icon = ProgramIcon();
        QVERIFY(icon.availableSizes().contains(QSize(32, 32)));
        const QImage image = icon.pixmap(32, 32).toImage();
        QCOMPARE(image.size(), QSize(32, 32));
        QVERIFY(!image.hasAlphaChannel());
        QVERIFY(!image.isGrayscale());
    }

    void buttonsTakeEnterButNoneIsDefault() {
        for (const char* name : {"Button1", "Button2", "Button3", "Button4", "Button5"}) {
            auto* button = harness_->Find<QPushButton>(name);
            QVERIFY2(button->autoDefault(), name);
            QVERIFY2(!button->isDefault(), name);
            QVERIFY2(!button->text().contains('&'), name);
        }
    }

    void otherDesignValues() {
        QVERIFY(harness_->Find<QCheckBox>("CheckBox1")->isChecked());
        auto* password = harness_->Find<QLineEdit>("Edit2");
        QCOMPARE(password->echoMode(), QLineEdit::Password);
        password->setText("pw1");
        QCOMPARE(password->displayText(), QString("***"));
        auto* timer = harness_->Find<QTimer>("Timer1");
        QVERIFY(timer != nullptr);
        QVERIFY(timer->isActive());
        QCOMPARE(timer->interval(), 180000);
        QCOMPARE(timer->timerType(), Qt::PreciseTimer);
        QCOMPARE(Form1, &harness_->Form());
    }

    void addressLabelSizesItselfFromItsLeftEdge() {
        TForm1& form = harness_->Form();
        QLabel* address = form.Label7;
        form.SetAddressText("203.0.113.254");
        const QFontMetrics metrics(address->font());
        QCOMPARE(address->pos(), QPoint(125, 100));
        QVERIFY(address->width() >= metrics.horizontalAdvance("203.0.113.254"));
        const int oneLine = address->height();

        form.SetAddressText("1.2.3.4\r\nsecond line");
        QCOMPARE(address->pos(), QPoint(125, 100));
        QVERIFY(address->height() >= oneLine + metrics.height() - 1);

        form.SetAddressText("<b>1.2.3.4</b>");  // a reply is shown as text, never as markup
        QCOMPARE(address->textFormat(), Qt::PlainText);
        QVERIFY(address->width() >= metrics.horizontalAdvance("<b>1.2.3.4</b>"));
    }

    void centredOnTheScreen() {
        TForm1& form = harness_->Form();
        form.move(0, 0);
        CentreOnScreen(form);
        const QPoint centre = form.screen()->availableGeometry().center();
        QVERIFY((form.frameGeometry().center() - centre).manhattanLength() <= 1);
    }

    void mainWindowIsKnownOnlyWhileItLives() {
        harness_.reset();
        QCOMPARE(Form1, nullptr);
    }

private:
    std::unique_ptr<FormHarness> harness_;
};

QTEST_MAIN(FormLayoutTest)
#include "form_layout_test.moc"
