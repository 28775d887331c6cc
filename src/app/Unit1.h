#pragma once

#include <memory>
#include <string>

#include <QMainWindow>

#include "app/form_dependencies.h"
#include "link/link_view.h"
#include "settings/settings.h"

class LinkController;
class QAction;
class QCheckBox;
class QLabel;
class QLineEdit;
class QMenu;
class QMenuBar;
class QPushButton;
class QStyle;
class QTimer;

// The main window. Making it sets Form1, builds every control with its
// design values, starts Timer1 and then runs FormCreate; a failure of
// FormCreate is shown in the error box before the window is ever shown.
// Every handler runs inside the handler guard. Closing the window sends and
// saves nothing.
class TForm1 final : public QMainWindow, public LinkView {
    Q_OBJECT
public:
    explicit TForm1(FormDependencies dependencies);
    ~TForm1() override;
    TForm1(const TForm1&) = delete;
    TForm1& operator=(const TForm1&) = delete;

    // The controls, in the designer's order. Each widget's object name is its
    // member name. (The HTTP client is made per request by the controller.)
    QLabel* Label1 = nullptr;
    QLabel* Label2 = nullptr;
    QLineEdit* Edit1 = nullptr;
    QLineEdit* Edit2 = nullptr;
    QPushButton* Button1 = nullptr;
    QPushButton* Button2 = nullptr;
    QCheckBox* CheckBox1 = nullptr;
    QPushButton* Button3 = nullptr;
    QLabel* Label4 = nullptr;
    QLabel* Label5 = nullptr;
    QLabel* Label6 = nullptr;
    QLabel* Label7 = nullptr;
    QTimer* Timer1 = nullptr;
    QPushButton* Button4 = nullptr;
    QPushButton* Button5 = nullptr;
    QMenuBar* MainMenu1 = nullptr;
    QMenu* N1 = nullptr;
    QMenu* N2 = nullptr;
    QAction* N3 = nullptr;
    QAction* N4 = nullptr;
    QAction* N5 = nullptr;
    QAction* N6 = nullptr;
    QAction* N7 = nullptr;
    QAction* N8 = nullptr;
    QAction* N9 = nullptr;

    // The handlers; each ignores its sender.
    void Edit1KeyPress(QObject* Sender, char& Key);
    void Edit2KeyPress(QObject* Sender, char& Key);
    void FormCreate(QObject* Sender);
    void Button3Click(QObject* Sender);
    void Timer1Timer(QObject* Sender);
    void Button5Click(QObject* Sender);
    void N3Click(QObject* Sender);
    void N4Click(QObject* Sender);
    void N5Click(QObject* Sender);
    void N6Click(QObject* Sender);
    void N7Click(QObject* Sender);
    void N8Click(QObject* Sender);
    void N9Click(QObject* Sender);
    void Button4Click(QObject* Sender);
    void Button1Click(QObject* Sender);
    void Button2Click(QObject* Sender);

    // LinkView
    std::string UserNameText() const override;
    std::string PasswordText() const override;
    void SetStateText(const std::string& text) override;
    void SetAddressText(const std::string& text) override;
    void SetLoginEnabled(bool enabled) override;
    void SetDisconnectEnabled(bool enabled) override;
    void StartTimer() override;
    void StopTimer() override;

private:
    void CreateControls();
    void CreateMenu();
    void ConnectHandlers();

    FormDependencies deps_;
    Settings settings_;  // the one record of the settings for the whole run
    std::string settingsPath_;
    std::unique_ptr<LinkController> controller_;
    QStyle* passwordStyle_ = nullptr;
};

// The main window, set as soon as the window object is made.
extern TForm1* Form1;
