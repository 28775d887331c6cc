#include "app/Unit1.h"

#include <utility>

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QColor>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPalette>
#include <QPushButton>
#include <QRect>
#include <QString>
#include <QTimer>
#include <QWidget>

#include "app/application_title.h"
#include "app/error_box.h"
#include "app/focus_control.h"
#include "app/form_fonts.h"
#include "app/handler_guard.h"
#include "app/key_press_hook.h"
#include "app/password_char_style.h"
#include "app/program_icon.h"
#include "app/text_bytes.h"
#include "app/typing_limit.h"
#include "link/link_controller.h"
#include "service/service_control.h"
#include "service/web_links.h"
#include "settings/settings_file.h"

TForm1* Form1 = nullptr;

namespace {

constexpr int kClientWidth = 229;
constexpr int kClientHeight = 117;
constexpr int kTypedCharacterLimit = 32;

const QColor kTeal(0, 128, 128);
const QColor kRed(255, 0, 0);
const QColor kBlack(0, 0, 0);

QString Text(const char* utf8) { return QString::fromUtf8(utf8); }

QColor SystemWindowText() { return QApplication::palette().color(QPalette::WindowText); }

// Only the enabled look takes the design colour: a disabled button must still
// look disabled.
void SetColour(QWidget& widget, QPalette::ColorRole role, const QColor& colour) {
    QPalette palette = widget.palette();
    palette.setColor(QPalette::Active, role, colour);
    palette.setColor(QPalette::Inactive, role, colour);
    widget.setPalette(palette);
}

// Labels size themselves to their text from a fixed left edge; the design
// size is that of the design text in the design font. Ours is taller, and a
// label held at the design height would cut off the foot of its characters.
QLabel* MakeLabel(QWidget* parent, const char* name, const QRect& design, const char* text,
                  const QColor& colour) {
    auto* label = new QLabel(Text(text), parent);
    label->setObjectName(name);
    label->setTextFormat(Qt::PlainText);  // a service reply is never markup
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    label->setFont(SongTi12());
    SetColour(*label, QPalette::WindowText, colour);
    label->setGeometry(design);
    label->adjustSize();
    return label;
}

QPushButton* MakeButton(QWidget* parent, const char* name, const QRect& design, const char* text,
                        const QColor& colour) {
    auto* button = new QPushButton(Text(text), parent);
    button->setObjectName(name);
    button->setFont(SongTi12());
    SetColour(*button, QPalette::ButtonText, colour);
    // Enter presses the focused button; outside a dialog only autoDefault
    // buttons take Enter. None is the window's default button.
    button->setAutoDefault(true);
    button->setDefault(false);
    button->setGeometry(design);
    return button;
}

// Disabling the focused button leaves the window with no focused control.
// Qt would pass the focus on to the next control instead: from "登陆" to
// "断开" after a log-in, where the next Enter would disconnect at once.
void SetButtonEnabled(QPushButton& button, bool enabled) {
    if (!enabled && button.window()->focusWidget() == &button) button.clearFocus();
    button.setEnabled(enabled);
}

QLineEdit* MakeEdit(QWidget* parent, const char* name, const QRect& design) {
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(name);
    new TypingLimit(*edit, kTypedCharacterLimit);
    edit->setGeometry(design);
    return edit;
}

QAction* MakeItem(QMenu* menu, const char* name, const char* text) {
    QAction* item = menu->addAction(Text(text));
    item->setObjectName(name);
    return item;
}

}  // namespace

TForm1::TForm1(FormDependencies dependencies) : deps_(std::move(dependencies)) {
    Form1 = this;

    setWindowTitle(Text(kApplicationTitle));
    setWindowIcon(ProgramIcon());
    // Single fixed border with system menu, minimise and close; no maximise.
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
    setFont(MsSansSerif11());
    QPalette face = palette();
    face.setColor(QPalette::Window, face.color(QPalette::Button));
    setPalette(face);
    setAutoFillBackground(true);

    CreateControls();
    CreateMenu();
    // Client area of fixed size below the menu bar; the window cannot be resized.
    layout()->setSizeConstraint(QLayout::SetFixedSize);
    layout()->activate();
    ConnectHandlers();

    Timer1 = new QTimer(this);
    Timer1->setObjectName("Timer1");
    Timer1->setTimerType(Qt::PreciseTimer);  // the default may fire 5 % off
    Timer1->setInterval(deps_.renewalIntervalMs);
    connect(Timer1, &QTimer::timeout, this,
            [this] { RunTimerHandler(deps_.errorBox, *this, [this] { Timer1Timer(Timer1); }); });
    Timer1->start();

    RunHandler(deps_.errorBox, [this] { FormCreate(this); });
}

TForm1::~TForm1() {
    if (Form1 == this) Form1 = nullptr;
}

void TForm1::CreateControls() {
    auto* client = new QWidget(this);
    client->setObjectName("ClientArea");
    client->setFixedSize(kClientWidth, kClientHeight);
    setCentralWidget(client);

    const QColor windowText = SystemWindowText();

    // Made in the designer's order of declaration.
    Label1 = MakeLabel(client, "Label1", {8, 12, 36, 12}, "用户：", kTeal);
    Label2 = MakeLabel(client, "Label2", {8, 44, 36, 12}, "密码：", kTeal);

    Edit1 = MakeEdit(client, "Edit1", {48, 8, 110, 21});
    Edit1->setFont(Tahoma11());
    SetColour(*Edit1, QPalette::Text, windowText);

    Edit2 = MakeEdit(client, "Edit2", {48, 40, 110, 21});
    Edit2->setEchoMode(QLineEdit::Password);

    Button1 = MakeButton(client, "Button1", {120, 72, 40, 20}, "安装", windowText);
    Button2 = MakeButton(client, "Button2", {176, 72, 40, 20}, "卸载", kBlack);

    CheckBox1 = new QCheckBox(Text("保存"), client);
    CheckBox1->setObjectName("CheckBox1");
    CheckBox1->setFont(SongTi12());
    SetColour(*CheckBox1, QPalette::WindowText, kTeal);
    CheckBox1->setChecked(true);
    CheckBox1->setGeometry(165, 46, 45, 17);

    Button3 = MakeButton(client, "Button3", {8, 72, 40, 20}, "登陆", windowText);
    Label4 = MakeLabel(client, "Label4", {8, 100, 36, 12}, "状态：", kTeal);
    Label5 = MakeLabel(client, "Label5", {44, 100, 36, 12}, "未连接", kRed);
    Label6 = MakeLabel(client, "Label6", {100, 100, 24, 12}, "IP：", windowText);
    Label7 = MakeLabel(client, "Label7", {125, 100, 6, 12}, "", kRed);
    Button4 = MakeButton(client, "Button4", {176, 8, 40, 20}, "注册", windowText);
    Button5 = MakeButton(client, "Button5", {64, 72, 40, 20}, "断开", windowText);

    // Made after the client area, so it is destroyed after the box it draws.
    passwordStyle_ = new PasswordCharStyle;
    passwordStyle_->setParent(this);
    Edit2->setStyle(passwordStyle_);

    setTabOrder(Edit1, Edit2);
    setTabOrder(Edit2, Button3);
    setTabOrder(Button3, Button5);
    setTabOrder(Button5, Button1);
    setTabOrder(Button1, Button2);
    setTabOrder(Button2, Button4);
    setTabOrder(Button4, CheckBox1);
}

void TForm1::CreateMenu() {
    MainMenu1 = menuBar();
    MainMenu1->setObjectName("MainMenu1");
    // Menus use the desktop's menu font, not the window's.
    MainMenu1->setFont(QApplication::font(MainMenu1));

    N1 = MainMenu1->addMenu(Text("程序(&S)"));
    N1->setObjectName("N1");
    N3 = MakeItem(N1, "N3", "安装服务(&I)");
    N4 = MakeItem(N1, "N4", "卸载服务(&U)");
    N5 = MakeItem(N1, "N5", "退出程序(&Q)");

    N2 = MainMenu1->addMenu(Text("帮助(&H)"));
    N2->setObjectName("N2");
    N6 = MakeItem(N2, "N6", "访问官网(&W)");
    N7 = MakeItem(N2, "N7", "使用帮助(&U)");
    N8 = MakeItem(N2, "N8", "关于我们(&A)");
    N9 = MakeItem(N2, "N9", "关于程序(&P)");
}

void TForm1::ConnectHandlers() {
    // Every handler runs inside the guard: a failure goes to the error box.
    using Handler = void (TForm1::*)(QObject*);
    const auto guarded = [this](Handler handler, QObject* sender) {
        return [this, handler, sender] { RunHandler(deps_.errorBox, [&] { (this->*handler)(sender); }); };
    };

    connect(Button3, &QPushButton::clicked, this, guarded(&TForm1::Button3Click, Button3));
    connect(Button5, &QPushButton::clicked, this, guarded(&TForm1::Button5Click, Button5));
    connect(Button1, &QPushButton::clicked, this, guarded(&TForm1::Button1Click, Button1));
    connect(Button2, &QPushButton::clicked, this, guarded(&TForm1::Button2Click, Button2));
    connect(Button4, &QPushButton::clicked, this, guarded(&TForm1::Button4Click, Button4));
    connect(N3, &QAction::triggered, this, guarded(&TForm1::N3Click, N3));
    connect(N4, &QAction::triggered, this, guarded(&TForm1::N4Click, N4));
    connect(N5, &QAction::triggered, this, guarded(&TForm1::N5Click, N5));
    connect(N6, &QAction::triggered, this, guarded(&TForm1::N6Click, N6));
    connect(N7, &QAction::triggered, this, guarded(&TForm1::N7Click, N7));
    connect(N8, &QAction::triggered, this, guarded(&TForm1::N8Click, N8));
    connect(N9, &QAction::triggered, this, guarded(&TForm1::N9Click, N9));

    // A failed key handler ends the handling of its key.
    new KeyPressHook(*Edit1, [this](char& key) {
        return RunHandler(deps_.errorBox, [&] { Edit1KeyPress(Edit1, key); });
    });
    new KeyPressHook(*Edit2, [this](char& key) {
        return RunHandler(deps_.errorBox, [&] { Edit2KeyPress(Edit2, key); });
    });
}

void TForm1::Edit1KeyPress(QObject* /*Sender*/, char& Key) {
    if (Key == '\r') FocusControl(*Edit2);
}

void TForm1::Edit2KeyPress(QObject* /*Sender*/, char& Key) {
    // Fails while connected: Button3 is disabled then.
    if (Key == '\r') FocusControl(*Button3);
}

void TForm1::FormCreate(QObject* /*Sender*/) {
    settingsPath_ = SettingsPath(deps_.systemDirectory);
    controller_ = std::make_unique<LinkController>(*this, settings_, settingsPath_, deps_.serviceHost,
                                                   deps_.clock, deps_.makeTransport);
    CreateDefaultSettings(settingsPath_);
    LoadSettings(settingsPath_, settings_);

    Edit1->setText(FromBytes(settings_.UserName));
    Edit2->setText(FromBytes(settings_.Password));
    SetAddressText(settings_.LastAddress);
    // Whole-text comparisons; any other text leaves the design state.
    if (settings_.LinkState == "0") {
        SetStateText("未连接");
        SetDisconnectEnabled(false);
        SetLoginEnabled(true);
    }
    if (settings_.LinkState == "1") {
        SetStateText("已连接");
        SetDisconnectEnabled(true);
        SetLoginEnabled(false);
    }
}

void TForm1::Button3Click(QObject* /*Sender*/) { controller_->Button3Click(); }

void TForm1::Timer1Timer(QObject* /*Sender*/) { controller_->Timer1Timer(); }

void TForm1::Button5Click(QObject* /*Sender*/) { controller_->Button5Click(); }

void TForm1::N3Click(QObject* /*Sender*/) { InstallService(deps_.launcher); }

void TForm1::N4Click(QObject* /*Sender*/) { UninstallService(deps_.launcher); }

// Closing the main window ends the program; nothing is asked, sent or saved.
void TForm1::N5Click(QObject* /*Sender*/) { close(); }

void TForm1::N6Click(QObject* /*Sender*/) { OpenSitePage(deps_.opener, deps_.serviceHost, ""); }

void TForm1::N7Click(QObject* /*Sender*/) { OpenSitePage(deps_.opener, deps_.serviceHost, "/help.php"); }

void TForm1::N8Click(QObject* /*Sender*/) { OpenSitePage(deps_.opener, deps_.serviceHost, "/about.php"); }

// The menu says "about the program" but opens the download page.
void TForm1::N9Click(QObject* /*Sender*/) { OpenSitePage(deps_.opener, deps_.serviceHost, "/down.php"); }

void TForm1::Button4Click(QObject* /*Sender*/) { OpenSitePage(deps_.opener, deps_.serviceHost, "/reg.php"); }

void TForm1::Button1Click(QObject* /*Sender*/) { InstallService(deps_.launcher); }

void TForm1::Button2Click(QObject* /*Sender*/) { UninstallService(deps_.launcher); }

std::string TForm1::UserNameText() const { return ToBytes(Edit1->text()); }

std::string TForm1::PasswordText() const { return ToBytes(Edit2->text()); }

void TForm1::SetStateText(const std::string& text) {
    Label5->setText(FromBytes(text));
    Label5->adjustSize();
}

void TForm1::SetAddressText(const std::string& text) {
    // Grows to the right from its fixed left edge; a line break starts a second line.
    Label7->setText(FromBytes(text));
    Label7->adjustSize();
}

void TForm1::SetLoginEnabled(bool enabled) { SetButtonEnabled(*Button3, enabled); }

void TForm1::SetDisconnectEnabled(bool enabled) { SetButtonEnabled(*Button5, enabled); }

void TForm1::StartTimer() {
    // QTimer::start() would restart a running timer's period.
    if (!Timer1->isActive()) Timer1->start();
}

void TForm1::StopTimer() { Timer1->stop(); }
