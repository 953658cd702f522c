// The screen and the panels through a real X server (Xvfb, when installed),
// and a server that accepts a connection but never answers.
// gtest first: Xlib defines macros (None, Bool) that its templates would trip on.
#include <gtest/gtest.h>
// clang-format off
#include <X11/Xlib.h>
#include <X11/Xatom.h>
// clang-format on
#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstring>
#include <filesystem>
#include <thread>

#include "platform/host/devices/host_taskbar.h"
#include "platform/host/display/x11_screen.h"
#include "platform/host/kernel/host_ini_facts.h"
#include "platform/run_time_error.h"
#include "tests/platform/host/host_test_support.h"
#include "tests/support/x_server.h"

namespace si32 {
namespace {

using hosttest::ScopedEnv;

// A display number no one else on the machine is likely to use, for the
// socket that is served without a server behind it.
int privateDisplayNumber() { return 7000 + 2 * static_cast<int>(::getpid() % 1000); }

std::string socketPathOf(int display) { return "/tmp/.X11-unix/X" + std::to_string(display); }

// Xvfb of the test's own for the life of the object; every client in this
// process is given its cookie.
class VirtualServer {
public:
    VirtualServer(const std::string& screen, const std::string& dpi)
        : server_({"-screen", "0", screen, "-dpi", dpi}), authority_("XAUTHORITY", server_.authority()) {}
    bool ready() const { return server_.ready(); }
    std::string name() const { return server_.display(); }

private:
    testsupport::XServer server_;
    ScopedEnv authority_;
};

TEST(HostX11Screen, NoDisplayNoScreen) {
    EXPECT_FALSE(queryX11Screen("").has_value());
    HostShell shell(makeX11DesktopPanels(""));
    AppBarData data;
    EXPECT_THROW(shell.SHAppBarMessage(ABM_GETSTATE, data), RunTimeError);
}

TEST(HostX11Screen, AServerThatNeverAnswersDoesNotHoldTheCaller) {
    const int number = privateDisplayNumber() + 1;
    std::filesystem::create_directories("/tmp/.X11-unix");
    const std::string path = socketPathOf(number);
    ::unlink(path.c_str());
    const int listener = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    ASSERT_GE(listener, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::strncpy(address.sun_path, path.c_str(), sizeof address.sun_path - 1);
    if (::bind(listener, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) {
        ::close(listener);
        GTEST_SKIP() << "cannot serve a display socket here";
    }
    ASSERT_EQ(::listen(listener, 8), 0);  // accepted by the kernel, never answered

    const std::string display = ":" + std::to_string(number);
    EXPECT_FALSE(queryX11Screen(display).has_value());
    // The first query is still stuck; the next fails without waiting again.
    EXPECT_FALSE(queryX11Screen(display).has_value());

    // The stuck query holds Xlib's lock; once the server goes away it
    // returns, and other displays are served again. Waiting for that here
    // keeps it from waking inside Xlib while the process is ending.
    ::close(listener);
    ::unlink(path.c_str());
    const std::string nobody = ":" + std::to_string(number + 1);
    DisplayAnswer answer = DisplayAnswer::Silent;
    for (int i = 0; i < 5 && answer == DisplayAnswer::Silent; ++i) answer = probeX11Connection(nobody);
    EXPECT_EQ(answer, DisplayAnswer::Refuses) << "a server that went away still holds every other display";
}

TEST(HostX11Screen, ScreenFactsFromARealServer) {
    VirtualServer server("1024x768x16", "120");
    if (!server.ready()) GTEST_SKIP() << "Xvfb is not available";
    const std::optional<ScreenFacts> facts = queryX11Screen(server.name());
    ASSERT_TRUE(facts.has_value());
    EXPECT_EQ(facts->widthPx, 1024);
    EXPECT_EQ(facts->heightPx, 768);
    EXPECT_EQ(facts->bitsPerPixel, 16);
    EXPECT_EQ(facts->dpiY, 96) << "a desktop that sets no density has the toolkits' 96, whatever the millimetres";
    // No window manager: nothing reserves any part of the screen.
    EXPECT_EQ(facts->workRight - facts->workLeft, 1024);
    EXPECT_EQ(facts->workBottom - facts->workTop, 768);
    EXPECT_EQ(facts->monitors, 1);
    EXPECT_EQ(facts->virtualWidth, 1024);
    EXPECT_EQ(facts->iconSize, 0) << "a toolkit's sizes are not the server's to tell";

    HostShell shell(makeX11DesktopPanels(server.name()));
    AppBarData data;
    EXPECT_THROW(shell.SHAppBarMessage(ABM_GETSTATE, data), RunTimeError) << "no window manager tells anything";
}

// Plays the parts a desktop plays: the window manager's marks on the root
// window and a panel.
class FakeDesktop {
public:
    explicit FakeDesktop(const std::string& name) : display_(XOpenDisplay(name.c_str())) {}
    ~FakeDesktop() {
        if (display_ != nullptr) XCloseDisplay(display_);
    }
    Display* display() const { return display_; }
    Atom atom(const char* name) const { return XInternAtom(display_, name, False); }
    void set32(Window w, const char* property, Atom type, std::vector<long> values) const {
        XChangeProperty(display_, w, atom(property), type, 32, PropModeReplace,
                        reinterpret_cast<unsigned char*>(values.data()), static_cast<int>(values.size()));
    }
    Window root() const { return DefaultRootWindow(display_); }
    Window panel(bool strut, bool below) const {
        const Window w = XCreateSimpleWindow(display_, root(), 0, 0, 1024, 30, 0, 0, 0);
        set32(w, "_NET_WM_WINDOW_TYPE", XA_ATOM, {static_cast<long>(atom("_NET_WM_WINDOW_TYPE_DOCK"))});
        if (strut) set32(w, "_NET_WM_STRUT_PARTIAL", XA_CARDINAL, {0, 0, 30, 0, 0, 0, 0, 0, 0, 1023, 0, 0});
        if (below) set32(w, "_NET_WM_STATE", XA_ATOM, {static_cast<long>(atom("_NET_WM_STATE_BELOW"))});
        XMapWindow(display_, w);
        XSync(display_, False);
        return w;
    }

private:
    Display* display_;
};

// The layout the session runs with wins over the machine's configured one:
// that is the keyboard the user types on.
TEST(HostX11Screen, KeyboardIsTheSessionsLayout) {
    VirtualServer server("640x480x24", "96");
    if (!server.ready()) GTEST_SKIP() << "Xvfb is not available";
    Display* display = XOpenDisplay(server.name().c_str());
    ASSERT_NE(display, nullptr);
    const char names[] = "evdev\0pc104\0de\0nodeadkeys\0";
    XChangeProperty(display, DefaultRootWindow(display), XInternAtom(display, "_XKB_RULES_NAMES", False), XA_STRING, 8,
                    PropModeReplace, reinterpret_cast<const unsigned char*>(names), sizeof names - 1);
    XSync(display, False);
    const auto keyboard = keyboardDescription("/", server.name());
    XCloseDisplay(display);
    ASSERT_TRUE(keyboard.has_value());
    // Named through the XKB rules' list where the machine has it.
    EXPECT_TRUE(*keyboard == "German (no dead keys)" || *keyboard == "de (nodeadkeys)") << *keyboard;
}

TEST(HostX11Screen, TheDesktopsWorkAreaDensityAndPanel) {
    VirtualServer server("1280x1024x24", "96");
    if (!server.ready()) GTEST_SKIP() << "Xvfb is not available";
    FakeDesktop desktop(server.name());
    ASSERT_NE(desktop.display(), nullptr);
    const Window wm = XCreateSimpleWindow(desktop.display(), desktop.root(), 0, 0, 1, 1, 0, 0, 0);
    desktop.set32(desktop.root(), "_NET_SUPPORTING_WM_CHECK", XA_WINDOW, {static_cast<long>(wm)});
    desktop.set32(desktop.root(), "_NET_CURRENT_DESKTOP", XA_CARDINAL, {1});
    desktop.set32(desktop.root(), "_NET_WORKAREA", XA_CARDINAL, {0, 0, 1280, 1024, 0, 30, 1280, 994});
    const char* resources = "Xft.antialias:\t1\nXft.dpi:\t144\n";
    XChangeProperty(desktop.display(), desktop.root(), XA_RESOURCE_MANAGER, XA_STRING, 8, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(resources), static_cast<int>(std::strlen(resources)));
    XSync(desktop.display(), False);

    HostShell shell(makeX11DesktopPanels(server.name()));
    AppBarData data;
    EXPECT_THROW(shell.SHAppBarMessage(ABM_GETSTATE, data), RunTimeError) << "a desktop without a panel";

    const std::optional<ScreenFacts> facts = queryX11Screen(server.name());
    ASSERT_TRUE(facts.has_value());
    EXPECT_EQ(facts->workTop, 30) << "the current desktop's work area";
    EXPECT_EQ(facts->workBottom, 1024);
    EXPECT_DOUBLE_EQ(facts->dpiX, 144);
    EXPECT_DOUBLE_EQ(facts->dpiY, 144);

    const Window hiding = desktop.panel(false, false);
    EXPECT_EQ(shell.SHAppBarMessage(ABM_GETSTATE, data), ABS_AUTOHIDE | ABS_ALWAYSONTOP);
    XDestroyWindow(desktop.display(), hiding);
    XSync(desktop.display(), False);
    desktop.panel(true, true);
    EXPECT_EQ(shell.SHAppBarMessage(ABM_GETSTATE, data), 0u);
}

}  // namespace
}  // namespace si32
