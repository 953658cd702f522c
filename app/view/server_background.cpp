#include "app/view/server_background.h"

#include <QtGui/qguiapplication_platform.h>
#include <QGuiApplication>
#include <QWidget>
#include <cstdint>

#if QT_CONFIG(xcb)
#include <xcb/xcb.h>
#endif

namespace si32 {

void setServerBackground(QWidget& window) {
#if QT_CONFIG(xcb)
    const auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    if (x11 == nullptr || x11->connection() == nullptr) return;
    const QColor colour = window.palette().color(QPalette::Window);
    // A TrueColor pixel; the alpha byte matters only on 32-bit visuals.
    const uint32_t pixel = 0xff000000u | (static_cast<uint32_t>(colour.red()) << 16) |
                           (static_cast<uint32_t>(colour.green()) << 8) | static_cast<uint32_t>(colour.blue());
    xcb_change_window_attributes(x11->connection(), static_cast<xcb_window_t>(window.winId()), XCB_CW_BACK_PIXEL,
                                 &pixel);
    xcb_flush(x11->connection());
#else
    (void)window;
#endif
}

}  // namespace si32
