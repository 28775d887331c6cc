#pragma once

#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <utility>

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

#include "app/Unit1.h"
#include "fake_transport.h"
#include "fixed_clock.h"
#include "link/http_transport.h"
#include "recorded_error_boxes.h"
#include "recording_launcher.h"
#include "recording_url_opener.h"

// One main window over a temporary system directory, with a fixed clock,
// scripted transports, recorders for commands and addresses, and an error
// box that records instead of blocking. Lay out the settings file first,
// then MakeForm().
class FormHarness {
public:
    static constexpr char kHost[] = "127.0.0.1:9";  // loopback; nothing is ever sent in these tests

    std::string SystemDirectory() const { return directory_.path().toStdString(); }
    std::string SettingsFile() const { return SystemDirectory() + "/tarnwick.ini"; }

    void WriteSettings(const std::string& bytes) const {
        std::ofstream(SettingsFile(), std::ios::binary) << bytes;
    }
    std::string ReadSettings() const {
        std::ifstream in(SettingsFile(), std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }
    // A directory where the settings file belongs: it can be neither made nor read.
    bool BlockSettingsFile() const { return QDir(directory_.path()).mkdir("tarnwick.ini"); }

    // The window over kHost and the scripted transports.
    TForm1& MakeForm(int renewalIntervalMs = FormDependencies::kRenewalIntervalMs) {
        return MakeForm(kHost, transport.Factory(), renewalIntervalMs);
    }
    // The window over another service host and transport; the rest is this harness's.
    TForm1& MakeForm(std::string serviceHost, HttpTransportFactory makeTransport,
                     int renewalIntervalMs = FormDependencies::kRenewalIntervalMs) {
        form_ = std::make_unique<TForm1>(FormDependencies{
            .systemDirectory = SystemDirectory(),
            .serviceHost = std::move(serviceHost),
            .clock = clock,
            .makeTransport = std::move(makeTransport),
            .launcher = launcher,
            .opener = opener,
            .errorBox = errors.box,
            .renewalIntervalMs = renewalIntervalMs,
        });
        return *form_;
    }
    TForm1& Form() { return *form_; }

    // Shows the window and waits until it is active, as a user would find it.
    bool ShowActive() {
        form_->show();
        return QTest::qWaitForWindowActive(form_.get());
    }

    template <typename Widget>
    Widget* Find(const char* name) {
        return form_->findChild<Widget*>(QString::fromLatin1(name));
    }

    FixedClock clock;
    FakeTransportScript transport{FakeTransportScript::Unscripted::FailsRequest};
    RecordingLauncher launcher;
    RecordingUrlOpener opener;
    RecordedErrorBoxes errors;

private:
    QTemporaryDir directory_;
    std::unique_ptr<TForm1> form_;  // last: destroyed before what it uses
};
