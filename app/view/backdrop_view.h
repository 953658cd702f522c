#pragma once
// The backdrop window si32bg on the screen: it follows its model at once on
// every change, since the load step that moves it never lets Qt repaint.
#include <QIcon>
#include <QPoint>
#include <QSize>
#include <QWidget>
#include <functional>
#include <memory>

#include <cstdint>

namespace si32 {

class Si32Bg;

class BackdropView {
public:
    // place: where a model position (twips) lies on the screen, in pixels;
    // home: where the main window is to appear, in pixels.
    BackdropView(Si32Bg& model, std::function<QPoint(int32_t, int32_t)> place, QSize clientSize, QIcon icon,
                 std::function<QPoint()> home);
    ~BackdropView();
    BackdropView(const BackdropView&) = delete;
    BackdropView& operator=(const BackdropView&) = delete;

    // Creates, moves, shows, repaints or destroys the window as the model
    // now stands.
    void follow();
    // nullptr while the backdrop is not loaded.
    QWidget* window() const { return window_.get(); }

private:
    // Qt may still be sending activation to every window, the backdrop
    // among them, when the main window's activation unloads it: it leaves
    // the screen at once and is deleted once that delivery is over.
    struct HideThenDelete {
        void operator()(QWidget* window) const;
    };

    void create();

    Si32Bg& model_;
    std::function<QPoint(int32_t, int32_t)> place_;
    QSize clientSize_;
    QIcon icon_;
    std::function<QPoint()> home_;
    QPoint placed_;  // the model's place that the window last followed
    std::unique_ptr<QWidget, HideThenDelete> window_;
};

// The flags of a fixed dialog window: title, close box, no resizing and no
// minimise or maximise button.
Qt::WindowFlags fixedDialogFlags();

}  // namespace si32
