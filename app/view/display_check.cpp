#include "app/view/display_check.h"

#include <QString>
#include <QtGlobal>
#include <cstdio>
#include <cstdlib>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/platform.h"
#include "platform/terminal_text.h"

namespace si32 {
namespace {

constexpr const char* kReportHint = "si32-report prints the same facts without a window";

// A message and where it came from; the context's strings are Qt's static
// literals, safe to keep.
struct Held {
    QtMsgType type;
    const char* file;
    int line;
    const char* function;
    const char* category;
    QString message;
};

std::string g_fatalLine;
std::vector<Held> g_held;
QtMessageHandler g_previous = nullptr;

void holdOrFail(QtMsgType type, const QMessageLogContext& context, const QString& message) {
    if (type == QtFatalMsg) {
        std::fputs(g_fatalLine.c_str(), stderr);
        std::fputc('\n', stderr);
        std::fflush(stderr);
        // Qt aborts after a fatal message; nothing of the program has been
        // built yet, so ending here leaves nothing behind.
        std::_Exit(1);
    }
    g_held.push_back({type, context.file, context.line, context.function, context.category, message});
}

bool isSet(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr && *value != '\0';
}

}  // namespace

std::optional<std::string> missingDisplay() {
    if (isSet("QT_QPA_PLATFORM") || isSet("DISPLAY") || isSet("WAYLAND_DISPLAY")) return std::nullopt;
    return std::string("si32: no display to open the window on (DISPLAY and WAYLAND_DISPLAY are not set); ") +
           kReportHint;
}

std::string unreachableDisplayLine() {
    std::string where;
    if (isSet("QT_QPA_PLATFORM")) where += std::string(" QT_QPA_PLATFORM=") + std::getenv("QT_QPA_PLATFORM");
    if (isSet("DISPLAY")) where += std::string(" DISPLAY=") + std::getenv("DISPLAY");
    if (isSet("WAYLAND_DISPLAY")) where += std::string(" WAYLAND_DISPLAY=") + std::getenv("WAYLAND_DISPLAY");
    return "si32: cannot open the window: the display cannot be reached (" + where.substr(where.empty() ? 0 : 1) +
           "); " + kReportHint;
}

std::optional<std::string> silentDisplay() {
    // Qt takes Wayland when it can; only a start on X11 is probed.
    const char* platform = std::getenv("QT_QPA_PLATFORM");
    const bool x11 =
        isSet("QT_QPA_PLATFORM") ? std::string_view(platform).starts_with("xcb") : !isSet("WAYLAND_DISPLAY");
    if (!x11 || probeX11Display() != DisplayAnswer::Silent) return std::nullopt;
    return unreachableDisplayLine();
}

DisplayFailureGuard::DisplayFailureGuard(std::string line) {
    g_fatalLine = TerminalText(line);
    g_held.clear();
    g_previous = qInstallMessageHandler(holdOrFail);
}

DisplayFailureGuard::~DisplayFailureGuard() {
    qInstallMessageHandler(g_previous);
    for (const auto& held : g_held) {
        const QMessageLogContext context(held.file, held.line, held.function, held.category);
        qt_message_output(held.type, context, held.message);
    }
    g_held.clear();
}

}  // namespace si32
