#include "app/view/qt_frontend.h"

#include <qpa/qplatformscreen.h>
#include <QApplication>
#include <QGuiApplication>
#include <QMenuBar>
#include <QMessageBox>
#include <QScreen>
#include <QStyle>
#include <cmath>

#include "app/view/qt_text.h"

namespace si32 {
namespace {

int metric(QStyle::PixelMetric which) { return QApplication::style()->pixelMetric(which); }

int menuBarHeight() {
    // The height a one-menu bar really takes in this style and font.
    QMenuBar bar;
    bar.setNativeMenuBar(false);
    bar.addMenu(QStringLiteral("File"));
    return bar.sizeHint().height();
}

// The screen's own device pixels. Qt's QScreen speaks device-independent
// pixels, rounded after dividing by the scale factor, so a 2560-pixel screen
// at 1.5 reads as 1707 and cannot be multiplied back; the platform screen
// underneath keeps the native figures (times its own ratio where the
// compositor scales, as a Wayland output does).
QRect nativeRect(const QPlatformScreen& screen, const QRect& rect) {
    const qreal ratio = screen.devicePixelRatio();
    auto device = [ratio](int v) { return static_cast<int>(std::lround(v * ratio)); };
    return {device(rect.x()), device(rect.y()), device(rect.width()), device(rect.height())};
}

void measureStyle(const QScreen& screen, ScreenFacts& f) {
    // The style's sizes are device-independent pixels; the screen counts
    // device pixels.
    const qreal ratio = screen.devicePixelRatio();
    auto device = [ratio](int v) { return static_cast<int32_t>(std::lround(v * ratio)); };
    f.iconSize = device(metric(QStyle::PM_LargeIconSize));
    f.smallIconSize = device(metric(QStyle::PM_SmallIconSize));
    f.scrollBarExtent = device(metric(QStyle::PM_ScrollBarExtent));
    const QMargins frame = expectedFrameMargins();
    f.titleBarHeight = device(frame.top() - frame.bottom());
    f.frameWidth = device(frame.left());
}

ScreenFacts measure(const QScreen& screen) {
    ScreenFacts f;
    const QPlatformScreen& platform = *screen.handle();
    const QRect whole = nativeRect(platform, platform.geometry());
    f.widthPx = whole.width();
    f.heightPx = whole.height();
    // The screen's density as the desktop sets it (Xft.dpi on X11), which is
    // what the report reads too; an application's own zoom (QT_SCALE_FACTOR)
    // changes neither the screen's pixels nor its density.
    const QDpi dpi = platform.logicalDpi();
    f.dpiX = dpi.first * platform.devicePixelRatio();
    f.dpiY = dpi.second * platform.devicePixelRatio();
    f.bitsPerPixel = screen.depth();
    f.planes = 1;
    // RECT edges: right and bottom lie just outside the area.
    const QRect work = nativeRect(platform, platform.availableGeometry());
    f.workLeft = work.left();
    f.workTop = work.top();
    f.workRight = work.left() + work.width();
    f.workBottom = work.top() + work.height();
    QRect all;
    for (const QPlatformScreen* each : platform.virtualSiblings()) all |= nativeRect(*each, each->geometry());
    if (all.isEmpty()) all = whole;
    f.virtualLeft = all.left();
    f.virtualTop = all.top();
    f.virtualWidth = all.width();
    f.virtualHeight = all.height();
    f.monitors = static_cast<int32_t>(QGuiApplication::screens().size());
    if (qobject_cast<QApplication*>(QCoreApplication::instance()) != nullptr) measureStyle(screen, f);
    return f;
}

}  // namespace

QtFrontend::~QtFrontend() {
    if (busy_) QGuiApplication::restoreOverrideCursor();
}

int32_t QtFrontend::ShowMessage(std::string_view prompt, int32_t style, std::string_view title) {
    shownMessages.emplace_back(prompt);
    // Only the exclamation style is used; every other style is a plain OK box.
    const auto icon = style == MB_ICONEXCLAMATION ? QMessageBox::Warning : QMessageBox::NoIcon;
    const QString caption = title.empty() ? QGuiApplication::applicationDisplayName() : fromModelText(title);
    QMessageBox box(icon, caption, fromModelText(prompt), QMessageBox::Ok);
    // A message may quote the machine's texts; Qt would take markup in them as rich text.
    box.setTextFormat(Qt::PlainText);
    box.exec();
    return IDOK;
}

void QtFrontend::SetBusyPointer(bool busy) {
    // Qt stacks override cursors; the program's pointer is one setting.
    if (busy == busy_) return;
    busy_ = busy;
    if (busy) QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    else QGuiApplication::restoreOverrideCursor();
}

std::optional<ScreenFacts> QtFrontend::Screen() {
    // Measured once: the program reads the screen only while it starts.
    if (!screen_) {
        if (qobject_cast<QGuiApplication*>(QCoreApplication::instance()) == nullptr) return std::nullopt;
        const QScreen* screen = QGuiApplication::primaryScreen();
        if (screen == nullptr) return std::nullopt;
        screen_ = measure(*screen);
    }
    return screen_;
}

int32_t QtFrontend::MenuHeight() {
    if (!menuHeight_) {
        const QScreen* screen = qobject_cast<QApplication*>(QCoreApplication::instance()) != nullptr
                                    ? QGuiApplication::primaryScreen()
                                    : nullptr;
        if (screen == nullptr) return 0;
        // Style sizes are device-independent pixels, as in measureStyle.
        menuHeight_ = static_cast<int32_t>(std::lround(menuBarHeight() * screen->devicePixelRatio()));
    }
    return *menuHeight_;
}

QMargins expectedFrameMargins() {
    const int border = metric(QStyle::PM_MdiSubWindowFrameWidth);
    return {border, border + metric(QStyle::PM_TitleBarHeight), border, border};
}

}  // namespace si32
