#include "app/view/window_view.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWindow>
#include <algorithm>

#include "app/session.h"
#include "app/startup.h"
#include "app/view/dialog_font.h"
#include "app/view/frame_extents.h"
#include "app/view/qt_frontend.h"
#include "window/layout.h"
#include "window/taskbar.h"

namespace si32 {
namespace {

// The smallest dialog font, in pixels, that still reads; a window that
// would need smaller scrolls instead.
constexpr double kLegiblePixels = 9;

}  // namespace

double WindowView::fitZoom(const QScreen* screen) {
    if (screen == nullptr) return 1;
    const TwipsScale design = TwipsScale::of(screen);
    const QMargins frame = expectedFrameMargins();
    const QRect work = screen->availableGeometry();
    const double across = double(work.width() - frame.left() - frame.right()) / design.x(kClientWidthTwips);
    const double down = double(work.height() - frame.top() - frame.bottom()) / design.y(kClientHeightTwips);
    const double fits = std::min({1.0, across, down});
    const double legible = kLegiblePixels / (kDialogFontPoints * screen->logicalDotsPerInchY() / 72);
    return std::clamp(fits, std::min(1.0, legible), 1.0);
}

TwipsScale WindowView::zoomed(const QScreen* screen, double zoom) {
    const TwipsScale design = TwipsScale::of(screen);
    return {1440 / design.perPixelX() * zoom, 1440 / design.perPixelY() * zoom};
}

QMargins WindowView::outerMargins() const {
    // The desktop frames the window only once it is on the screen, and
    // creating the native window early would make the later move place the
    // client area instead of the frame; until then the style's figures
    // stand in for the frame, or better, what the window manager said it
    // would draw.
    if (const QWindow* handle = windowHandle(); handle != nullptr && !handle->frameMargins().isNull())
        return handle->frameMargins();
    return managerFrame_.value_or(expectedFrameMargins());
}

void WindowView::settle() {
    if (settled_ || session_.form.Ended) return;
    settled_ = true;
    if (!session_.Activated) forward([this] { Form_Activate(session_); }, true);
    if (session_.form.Ended) return;
    placeWithRealFrame();
    if (onSettled) onSettled();
}

void WindowView::placeWithRealFrame() {
    // The window was centred with the style's guess at its frame; once the
    // window manager has framed it, its real frame (_NET_FRAME_EXTENTS on
    // X11, as Qt reads it) centres it exactly.
    const QWindow* handle = windowHandle();
    if (compositorPlacesWindows() || handle == nullptr || handle->frameMargins().isNull()) return;
    Si9x& form = session_.form;
    if (!tellOuterSize(handle->frameMargins())) return;
    CenterForm(session_.platform.ui, form);
    move(onScreen(form.Left, form.Top));
}

bool WindowView::tellOuterSize(const QMargins& frame) {
    Si9x& form = session_.form;
    const int32_t outerWidth = placement_.twipsX(width() + frame.left() + frame.right());
    const int32_t outerHeight = placement_.twipsY(height() + frame.top() + frame.bottom());
    if (outerWidth == form.OuterWidth && outerHeight == form.OuterHeight) return false;
    form.OuterWidth = outerWidth;
    form.OuterHeight = outerHeight;
    return true;
}

QPoint WindowView::onScreen(int32_t left, int32_t top) const {
    const QMargins frame = outerMargins();
    return placement_.toScreen(left, top, size().grownBy(frame));
}

bool WindowView::start() {
    Si9x& form = session_.form;
    placement_ = ScreenPlacement::of(session_.platform.ui, screen());
    // Centred with the frame the window will really have, the window and
    // the backdrop before it appear where the window stays.
    if (!compositorPlacesWindows()) managerFrame_ = askFrameExtents(size());
    tellOuterSize(outerMargins());
    Form_Load(session_);
    if (form.Ended || session_.RefusedSecondInstance) return false;
    sync();
    if (!compositorPlacesWindows()) move(onScreen(form.Left, form.Top));
    started_ = true;
    show();
    // Windows activates a window that it shows; some X servers without a
    // window manager would leave it inactive.
    activateWindow();
    return true;
}

}  // namespace si32
