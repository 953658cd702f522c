// screen_probe [--xft-dpi N]: prints the screen facts the window hands the
// platform and, on X11, those the report reads, one line each:
// "window|report W H DPIX DPIY WORKRIGHT WORKBOTTOM VIRTUALWIDTH".
// --xft-dpi sets the desktop's density on the X server first, as GNOME and
// KDE do at 200 %, and keeps it for the life of the probe.
#include <xcb/xcb.h>
#include <xcb/xproto.h>
#include <QApplication>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "app/view/qt_frontend.h"
#include "platform/platform.h"

namespace {

void print(const char* who, const si32::ScreenFacts& f) {
    std::printf("%s %d %d %g %g %d %d %d\n", who, f.widthPx, f.heightPx, f.dpiX, f.dpiY, f.workRight, f.workBottom,
                f.virtualWidth);
}

xcb_connection_t* setXftDpi(const char* dpi) {
    xcb_connection_t* connection = xcb_connect(nullptr, nullptr);
    if (xcb_connection_has_error(connection) != 0) return nullptr;
    const xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(connection)).data;
    const std::string resources = std::string("Xft.dpi:\t") + dpi + "\n";
    xcb_change_property(connection, XCB_PROP_MODE_REPLACE, screen->root, XCB_ATOM_RESOURCE_MANAGER, XCB_ATOM_STRING, 8,
                        static_cast<uint32_t>(resources.size()), resources.data());
    // A round trip: the property is set before Qt connects.
    free(xcb_get_input_focus_reply(connection, xcb_get_input_focus(connection), nullptr));
    return connection;
}

}  // namespace

int main(int argc, char** argv) {
    xcb_connection_t* keeper = nullptr;
    if (argc == 3 && std::strcmp(argv[1], "--xft-dpi") == 0 && (keeper = setXftDpi(argv[2])) == nullptr) return 2;
    QApplication app(argc, argv);
    si32::QtFrontend frontend;
    const auto window = frontend.Screen();
    if (!window) return 1;
    print("window", *window);
    if (QGuiApplication::platformName() == QLatin1String("xcb")) {
        if (const auto report = si32::queryDisplayScreen()) print("report", *report);
    }
    if (keeper != nullptr) xcb_disconnect(keeper);
    return 0;
}
