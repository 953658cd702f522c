#pragma once
// Ends the program once a window's first frame is on the screen, so that a
// start-up can be measured as a whole process to the point the user sees it.
#include <QCoreApplication>
#include <QEvent>
#include <QTimer>
#include <QWidget>

namespace si32 {

class FirstPaintExit : public QObject {
public:
    explicit FirstPaintExit(const QWidget& window) : window_(window) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        auto* widget = qobject_cast<QWidget*>(watched);
        if (!done_ && event->type() == QEvent::Paint && widget != nullptr && widget->window() == &window_) {
            done_ = true;
            // Queued: the frame is flushed once every widget of it has painted.
            QTimer::singleShot(0, [] { QCoreApplication::exit(0); });
        }
        return false;
    }

private:
    const QWidget& window_;
    bool done_ = false;
};

}  // namespace si32
