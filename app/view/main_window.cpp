// si32: the start-up sequence behind the real window.
//
// SI32_EXIT_AFTER_ACTIVATION=1 ends the program as soon as start-up has
// ended (the first activation, or the window on the screen where the display
// never activates it), so that start-up can be measured as a whole process;
// SI32_EXIT_AFTER_FIRST_PAINT=1 ends it once the window's first frame is
// drawn, the point a bare dialog is measured to beside it.
// SI32_SCREENSHOT=file.png saves the window as it stands on the screen
// shortly after that, then ends the program.
#include <QApplication>
#include <QGuiApplication>
#include <QPixmap>
#include <QScreen>
#include <QTimer>
#include <cstdlib>
#include <memory>
#include <optional>
#include <string>

#include "app/command_line.h"
#include "app/program_start.h"
#include "app/session.h"
#include "app/view/app_icon.h"
#include "app/view/display_check.h"
#include "app/view/first_paint_exit.h"
#include "app/view/qt_frontend.h"
#include "app/view/window_view.h"
#include "platform/platform.h"
#include "platform/terminal_text.h"
#include "window/layout.h"

namespace {

constexpr int kScreenshotDelayMs = 300;

std::optional<QString> screenshotFile() {
    const char* value = std::getenv("SI32_SCREENSHOT");
    if (value == nullptr || *value == '\0') return std::nullopt;
    return QString::fromLocal8Bit(value);
}

// The window with its desktop frame as the screen shows it; the widget's own
// drawing where the screen cannot be read back.
void saveScreenshot(QWidget& window, const QString& file) {
    QPixmap shot;
    if (QScreen* screen = window.screen()) {
        const QRect frame = window.frameGeometry();
        shot = screen->grabWindow(0, frame.x(), frame.y(), frame.width(), frame.height());
    }
    if (shot.isNull()) shot = window.grab();
    if (!shot.save(file)) si32::PrintErrorLine("si32: cannot write the screenshot " + file.toStdString());
}

int run(QApplication& app) {
    using namespace si32;
    QtFrontend frontend;
    BackendStart start = StartBackend(frontend, Program::Window, "si32");
    if (!start.backend) return start.exitStatus;
    std::unique_ptr<Backend> backend = std::move(start.backend);

    Session session(backend->platform());
    WindowView view(session);
    view.onEnded = [] { QCoreApplication::exit(0); };
    view.shownMessages = [&frontend] { return frontend.shownMessages; };
    const bool quitAfterActivation = si32::SwitchedOn("SI32_EXIT_AFTER_ACTIVATION");
    const auto screenshot = screenshotFile();
    view.onSettled = [&] {
        if (screenshot) {
            QTimer::singleShot(kScreenshotDelayMs, &view, [&] {
                saveScreenshot(view, *screenshot);
                QCoreApplication::exit(0);
            });
        } else if (quitAfterActivation) {
            // Queued: a display that activates the window while it is being
            // shown (Wayland) settles it before the event loop runs.
            QTimer::singleShot(0, &view, [] { QCoreApplication::exit(0); });
        }
    };
    FirstPaintExit firstPaint(view);
    if (si32::SwitchedOn("SI32_EXIT_AFTER_FIRST_PAINT")) app.installEventFilter(&firstPaint);
    if (!view.start()) return 0;
    return app.exec();
}

// The window takes no arguments of its own; Qt's (-platform, -display) are
// set through its environment variables instead.
const si32::CommandLine kWindowCommandLine{
    "si32",
    "Opens the Tarvello System Information window with the facts of this machine.",
    {},
    "SI32_MACHINE=file.json (or a demo machine's name, si32-report --list-machines)\n"
    "shows a simulated machine; SI32_PREFIX names the Windows side of this one.\n"
    "Escape ends the program. See si32(1).\n",
};

}  // namespace

int main(int argc, char** argv) {
    if (const int status = si32::HandleCommandLine(kWindowCommandLine, argc, argv); status >= 0) return status;
    if (const auto reason = si32::missingDisplay()) {
        si32::PrintErrorLine(*reason);
        return 1;
    }
    if (const auto reason = si32::silentDisplay()) {
        si32::PrintErrorLine(*reason);
        // The probe's connection may still wait on the server: end without
        // the exit handlers, which have nothing to save.
        std::_Exit(1);
    }
    std::unique_ptr<QApplication> app;
    {
        const si32::DisplayFailureGuard guard(si32::unreachableDisplayLine());
        app = std::make_unique<QApplication>(argc, argv);
    }
    QApplication::setWindowIcon(si32::frameIcon());
    // Docks match the window to its desktop entry by this name (the Wayland
    // app id); message boxes without a title of their own carry the
    // program's name.
    QGuiApplication::setDesktopFileName(QStringLiteral("com.tarvello.Si32"));
    QGuiApplication::setApplicationDisplayName(QString::fromUtf8(si32::kWindowCaption));
    try {
        return run(*app);
    } catch (const std::exception& e) {
        si32::PrintErrorLine(std::string("si32: ") + e.what());
        return 1;
    }
}
