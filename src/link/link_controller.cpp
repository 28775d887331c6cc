#include "link/link_controller.h"

#include <memory>
#include <utility>

#include "link/login_url.h"
#include "link/post_login_request.h"
#include "settings/settings_file.h"

namespace {

const std::string kConnected = "已连接";
const std::string kNotConnected = "未连接";
const std::string kNoAddress = "127.0.0.1";
const std::string kStateConnected = "1";
const std::string kStateNotConnected = "0";

}  // namespace

LinkController::LinkController(LinkView& view, Settings& settings, std::string settingsPath,
                               std::string serviceHost, const Clock& clock, HttpTransportFactory makeTransport)
    : view_(view),
      settings_(settings),
      settingsPath_(std::move(settingsPath)),
      serviceHost_(std::move(serviceHost)),
      clock_(clock),
      makeTransport_(std::move(makeTransport)) {}

// Only emptiness counts: any non-empty reply, whatever it says, is the address.
void LinkController::ApplyReply(const std::string& replyText) {
    if (replyText.empty()) {
        view_.SetStateText(kNotConnected);
        settings_.LinkState = kStateNotConnected;
        settings_.LastAddress = kNoAddress;
        view_.SetDisconnectEnabled(false);
        view_.SetLoginEnabled(true);
        // Label7 keeps its text although the stored address is now "127.0.0.1".
        return;
    }
    view_.SetAddressText(replyText);
    settings_.LastAddress = replyText;
    settings_.LinkState = kStateConnected;
    view_.SetStateText(kConnected);
    view_.SetDisconnectEnabled(true);
    view_.SetLoginEnabled(false);
}

void LinkController::Button3Click() {
    view_.StartTimer();
    settings_.UserName = view_.UserNameText();
    settings_.Password = view_.PasswordText();
    // The transport lives to the end of the handler, whichever way it ends.
    const std::unique_ptr<HttpTransport> transport = makeTransport_();
    ApplyReply(PostLoginRequest(*transport, LoginUrl(RequestKind::Login)));
    SaveCurrentSettings();
}

void LinkController::Timer1Timer() {
    // The stored account is used, not the edit boxes, and the reload picks up
    // any change made to the file since the last exchange.
    LoadSettings(settingsPath_, settings_);
    const std::unique_ptr<HttpTransport> transport = makeTransport_();
    ApplyReply(PostLoginRequest(*transport, LoginUrl(RequestKind::Login)));
    SaveCurrentSettings();
}

void LinkController::Button5Click() {
    view_.SetDisconnectEnabled(false);
    view_.SetLoginEnabled(true);
    view_.StopTimer();
    view_.SetStateText(kNotConnected);
    view_.SetAddressText(kNoAddress);
    // Window, timer and file are all at not connected before the service is
    // told; a failed save ends the handler before any request is made. The
    // fields in memory stay: a log-in sets them and a renewal reloads them.
    SaveSettings(settingsPath_, settings_.UserName, settings_.Password, settings_.PreservedFlag, kStateNotConnected,
                 kNoAddress);
    const std::unique_ptr<HttpTransport> transport = makeTransport_();
    static_cast<void>(PostLoginRequest(*transport, LoginUrl(RequestKind::Quit)));  // reply not looked at
}

std::string LinkController::LoginUrl(RequestKind kind) const {
    return ComposeLoginUrl(kind, serviceHost_, settings_.UserName, settings_.Password, clock_);
}

void LinkController::SaveCurrentSettings() const {
    SaveSettings(settingsPath_, settings_.UserName, settings_.Password, settings_.PreservedFlag,
                 settings_.LinkState, settings_.LastAddress);
}
