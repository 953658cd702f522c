#include "app/view/window_view.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QTimer>
#include <QToolTip>
#include <string>

#include "app/session.h"
#include "app/startup.h"
#include "app/view/accessibility.h"
#include "app/view/backdrop_view.h"
#include "app/view/key_codes.h"
#include "app/view/qt_text.h"
#include "app/view_events.h"

namespace si32 {
namespace {

// How long a shown window may wait for the display to activate it before
// start-up ends without that (a Wayland compositor may never activate it).
constexpr int kActivationGraceMs = 200;

// The control that a key press reaches first, as Qt delivers it.
QWidget* firstKeyReceiver(QWidget& widget) {
    if (QWidget* grabber = QWidget::keyboardGrabber()) return grabber;
    if (QWidget* popup = QApplication::activePopupWidget())
        return popup->focusWidget() != nullptr ? popup->focusWidget() : popup;
    QWidget* window = widget.window();
    return window->focusWidget() != nullptr ? window->focusWidget() : window;
}

}  // namespace

void WindowView::applyFocus() {
    const auto it = byKey_.find(session_.form.Focused);
    if (it != byKey_.end()) it->second->setFocus(Qt::OtherFocusReason);
}

void WindowView::forward(const std::function<void()>& handler, bool focusFromModel) {
    bool focusMoved = false;
    if (!HandleEvent(session_.form, handler, focusMoved)) return;
    sync();
    if (focusFromModel || focusMoved) applyFocus();
}

void WindowView::pickDrive(int row) {
    const std::string before = session_.form.Drive1Drive();
    forward([&] { PickDrive(session_.form, driveEntries_, row); });
    // Picked in the closed list, the focus stays where it is, so a screen
    // reader hears of a new drive only if it is told. The drop-down may
    // report its pick twice; the second changes nothing.
    if (!focusBackFromDropDown_ && !session_.form.Ended && session_.form.Drive1Drive() != before)
        driveNotice_->announce(driveList_->currentText(), quietDescription(*driveList_));
}

void WindowView::endNow() {
    // The end is immediate: no window of the program stays on the screen.
    backdrop_.reset();
    hide();
    if (onEnded) onEnded();
}

bool WindowView::event(QEvent* event) {
    const bool handled = QWidget::event(event);
    if (event->type() == QEvent::WindowActivate) {
        forward([this] { Form_Activate(session_); }, true);
        if (!session_.form.Ended && onActivated) onActivated();
        settle();
    } else if (event->type() == QEvent::Paint && started_ && !settled_) {
        // Drawn means shown; a display that activates the window does so
        // within the grace, one that never does must not keep the backdrop.
        QTimer::singleShot(kActivationGraceMs, this, [this] { settle(); });
    }
    return handled;
}

bool WindowView::inDriveList(const QWidget& widget) const {
    if (driveList_ == nullptr) return false;
    return &widget == driveList_ || widget.window() == driveList_->view()->window();
}

bool WindowView::showPlainTooltip(QObject* watched, QEvent* event) {
    auto* widget = qobject_cast<QWidget*>(watched);
    // Without a tooltip of its own the event goes on to the parent, as Qt has it.
    if (widget == nullptr || widget->window() != this || widget->toolTip().isEmpty()) return false;
    const auto& help = static_cast<const QHelpEvent&>(*event);
    QToolTip::showText(help.globalPos(), plainTooltip(widget->toolTip()), widget, QRect(), widget->toolTipDuration());
    return true;
}

bool WindowView::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::ToolTip) return showPlainTooltip(watched, event);
    if (event->type() == QEvent::ContextMenu) {
        auto* widget = qobject_cast<QWidget*>(watched);
        if (widget == nullptr || widget->window() != this) return false;
        contextMenuFor(*widget)->exec(static_cast<QContextMenuEvent*>(event)->globalPos());
        return true;
    }
    if (event->type() == QEvent::FocusIn && watched == driveList_ &&
        static_cast<const QFocusEvent&>(*event).reason() == Qt::PopupFocusReason) {
        // The list has the focus back as its drop-down closes, and screen
        // readers read it whole: a pick made in the drop-down, which comes
        // right after, needs no notice.
        focusBackFromDropDown_ = true;
        QTimer::singleShot(0, this, [this] { focusBackFromDropDown_ = false; });
    }
    if (event->type() != QEvent::KeyPress) return false;
    auto* widget = qobject_cast<QWidget*>(watched);
    // A key travels on to the parents when a control ignores it; the window
    // sees it once, on its way to the first control.
    if (widget == nullptr || firstKeyReceiver(*widget) != widget) return false;
    const bool driveList = inDriveList(*widget);
    if (!driveList && widget->window() != this) return false;
    const int32_t code = windowsKeyCode(static_cast<const QKeyEvent&>(*event));
    forward([&] { Form_KeyDown(session_, code); });
    if (driveList) forward([&] { Drive1_KeyDown(session_, code); });
    return session_.form.Ended;
}

}  // namespace si32
