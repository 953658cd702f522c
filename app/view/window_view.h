#pragma once
// The main window si9x on the screen. It draws the control model and hands
// every event to the model's handlers; what the program does is decided
// there, never here.
#include <QMargins>
#include <QWidget>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "app/view/field_fit.h"
#include "app/view/screen_placement.h"
#include "app/view/twips_scale.h"
#include "platform/ui.h"

class QComboBox;
class QMenu;
class QScreen;

namespace si32 {

class BackdropView;
class FieldLabel;
class SpokenNotice;
class Session;
struct Control;

class WindowView : public QWidget {
public:
    // Builds every control of the session's window and follows its backdrop
    // and its end. The session outlives the view.
    explicit WindowView(Session& session);
    ~WindowView() override;

    // Gives the model the real outer size, runs the load handler and shows
    // the window where the model placed it. False when the load ended the
    // program: the window is then never shown.
    bool start();
    // Redraws every control from the model.
    void sync();

    // The widget drawing a control ("Label2(5)", "Drive1"); nullptr if none.
    QWidget* controlWidget(const std::string& key) const;
    // The backdrop window while it is loaded, else nullptr.
    QWidget* backdropWindow() const;
    const TwipsScale& scale() const { return scale_; }
    // How much smaller than its design the window is drawn to fit the
    // screen: 1 where the design fits.
    double zoom() const { return zoom_; }

    // Everything the window shows, as the report prints it for this machine
    // and drive.
    QString reportText() const;
    // The context menu over one of the window's widgets ("Copy", "Copy All").
    std::unique_ptr<QMenu> contextMenuFor(const QWidget& widget) const;
    // The messages the program has shown, which the report lists too.
    std::function<std::vector<std::string>()> shownMessages;

    // Called once the model has ended the program; the windows are gone.
    std::function<void()> onEnded;
    // Called after each activation has been handed to the model and drawn.
    std::function<void()> onActivated;
    // Called once start-up has ended: at the first activation, or once the
    // window is on the screen where the display never activates it.
    std::function<void()> onSettled;

protected:
    bool event(QEvent* event) override;
    // Key preview: every key pressed in the window reaches the window's
    // handler before the control that has the focus. Tooltips pass here
    // too, to be shown as plain text.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct Bound {
        std::size_t control;
        QWidget* widget;
        std::string shownText;  // text boxes: what they hold, so a redraw keeps the scroll position
        // The control as the widget last showed it.
        std::optional<Control> shown;
    };

    QWidget* makeWidget(const Control& control, QWidget* container);
    void build();
    // The window's size: client, or what the screen holds of it with the
    // rest scrolled.
    QSize scrollIfTooBig(const QSize& client);
    void orderTabs();
    // False when the control is as the widget last showed it.
    bool syncControl(Bound& bound);
    void syncDriveList();
    void fitToText(QWidget& widget, const Control& control) const;
    // Every control as the field fitting sees it; containers collects the
    // containers their places count.
    std::vector<FieldPlace> fieldPlaces(std::vector<QWidget*>& containers) const;
    void fitValues();
    void showTip(QWidget& widget, const Control& control, const QString& tip);
    void nameForScreenReaders();
    void settle();
    void placeWithRealFrame();
    // The model's outer size from the client size and this frame; false
    // when it was already so.
    bool tellOuterSize(const QMargins& frame);
    QPoint onScreen(int32_t left, int32_t top) const;
    void applyFocus();
    void forward(const std::function<void()>& handler, bool focusFromModel = false);
    void pickDrive(int row);
    void endNow();
    bool inDriveList(const QWidget& widget) const;
    // Shows a control's tooltip as the plain text it is; false when the
    // event is not one for this window's tooltips.
    bool showPlainTooltip(QObject* watched, QEvent* event);
    QMargins outerMargins() const;
    // How much smaller than its design the window is drawn so that it and
    // its frame fit the screen's work area: 1 where they fit, never below
    // the legible font size.
    static double fitZoom(const QScreen* screen);
    static TwipsScale zoomed(const QScreen* screen, double zoom);

    Session& session_;
    double zoom_;
    TwipsScale scale_;
    ScreenPlacement placement_;
    // The frame the window manager said it would draw, before the window
    // is on the screen.
    std::optional<QMargins> managerFrame_;
    bool started_ = false;
    bool settled_ = false;
    std::unique_ptr<BackdropView> backdrop_;
    std::vector<Bound> bound_;
    std::unordered_map<std::string, QWidget*> byKey_;
    QComboBox* driveList_ = nullptr;
    // Tells a screen reader what a drive pick brought.
    SpokenNotice* driveNotice_ = nullptr;
    // Set for the turn in which the list takes the focus back from its
    // drop-down: a pick then is read with the focus.
    bool focusBackFromDropDown_ = false;
    std::vector<DriveListEntry> driveEntries_;
};

}  // namespace si32
