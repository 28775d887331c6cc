// The program's entry and its production wiring: the only place that picks
// the real directory, host, clock, HTTP client, launcher and browser opener.

#include <memory>

#include <QApplication>
#include <QString>

#include "app/Unit1.h"
#include "app/application_title.h"
#include "app/error_box.h"
#include "app/form_dependencies.h"
#include "app/program_icon.h"
#include "app/window_placement.h"
#include "link/clock.h"
#include "link/http_client.h"
#include "platform/hidden_command_line.h"
#include "platform/service_host.h"
#include "platform/system_directory.h"
#include "platform/xdg_url_opener.h"

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    const QString title = QString::fromUtf8(kApplicationTitle);
    QApplication::setApplicationName(title);
    QApplication::setApplicationDisplayName(title);
    QApplication::setDesktopFileName(QStringLiteral("tarnwick"));
    QApplication::setWindowIcon(ProgramIcon());

    ErrorBox errorBox;
    SystemClock clock;
    HiddenCommandLine launcher;
    XdgUrlOpener opener;

    // Making the window runs FormCreate; its error box, if any, comes first.
    TForm1 form(FormDependencies{
        .systemDirectory = SystemDirectory(),
        .serviceHost = ServiceHost(),
        .clock = clock,
        .makeTransport = [] { return std::make_unique<HttpClient>(); },
        .launcher = launcher,
        .opener = opener,
        .errorBox = errorBox,
    });
    CentreOnScreen(form);
    form.show();

    // The loop ends when the main window is closed; nothing is saved or sent.
    QApplication::exec();
    return 0;
}
