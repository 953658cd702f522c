#include "app/view/qt_frontend.h"

#include <QApplication>
#include <QGuiApplication>
#include <QMenuBar>
#include <QMessageBox>
#include <QScreen>
#include <QStyle>

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

ScreenFacts measure(const QScreen& screen) {
    ScreenFacts f;
    const QRect whole = screen.geometry();
    f.widthPx = whole.width();
    f.heightPx = whole.height();
    f.dpiX = screen.logicalDotsPerInchX();
    f.dpiY = screen.logicalDotsPerInchY();
    f.bitsPerPixel = screen.depth();
    f.planes = 1;
    // RECT edges: right and bottom lie just outside the area.
    const QRect work = screen.availableGeometry();
    f.workLeft = work.left();
    f.workTop = work.top();
    f.workRight = work.left() + work.width();
    f.workBottom = work.top() + work.height();
    const QRect all = screen.virtualGeometry();
    f.virtualLeft = all.left();
    f.virtualTop = all.top();
    f.virtualWidth = all.width();
    f.virtualHeight = all.height();
    f.monitors = static_cast<int32_t>(QGuiApplication::screens().size());
    if (qobject_cast<QApplication*>(QCoreApplication::instance()) != nullptr) {
        f.iconSize = metric(QStyle::PM_LargeIconSize);
        f.smallIconSize = metric(QStyle::PM_SmallIconSize);
        f.scrollBarExtent = metric(QStyle::PM_ScrollBarExtent);
        const QMargins frame = expectedFrameMargins();
        f.titleBarHeight = frame.top() - frame.bottom();
        f.frameWidth = frame.left();
        f.menuHeight = menuBarHeight();
    }
    return f;
}

}  // namespace

QtFrontend::~QtFrontend() {
    if (busy_) QGuiApplication::restoreOverrideCursor();
}

int32_t QtFrontend::ShowMessage(std::string_view prompt, int32_t style, std::string_view title) {
    // Only the exclamation style is used; every other style is a plain OK box.
    const auto icon = style == MB_ICONEXCLAMATION ? QMessageBox::Warning : QMessageBox::NoIcon;
    const QString caption = title.empty() ? QCoreApplication::applicationName() : fromModelText(title);
    QMessageBox box(icon, caption, fromModelText(prompt), QMessageBox::Ok);
    box.exec();
    return IDOK;
}

void QtFrontend::SetBusyPointer(bool busy) {
    // Qt stacks override cursors; the program's pointer is one setting.
    if (busy == busy_) return;
    busy_ = busy;
    if (busy)
        QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    else
        QGuiApplication::restoreOverrideCursor();
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

QMargins expectedFrameMargins() {
    const int border = metric(QStyle::PM_MdiSubWindowFrameWidth);
    return {border, border + metric(QStyle::PM_TitleBarHeight), border, border};
}

}  // namespace si32
