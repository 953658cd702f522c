#include "app/view/frame_box.h"

#include <QPainter>

#include "app/view/view_colours.h"

namespace si32 {
namespace {

constexpr int kCaptionIndent = 8;
constexpr int kCaptionPadding = 3;

}  // namespace

FrameBox::FrameBox(QWidget* parent) : QWidget(parent) { setFocusPolicy(Qt::NoFocus); }

void FrameBox::setCaption(const QString& caption) {
    if (caption == caption_) return;
    caption_ = caption;
    // A screen reader names the group by the caption a sighted user reads.
    setAccessibleName(caption);
    update();
}

void FrameBox::paintEvent(QPaintEvent*) {
    QPainter p(this);
    const QFontMetrics metrics(font());
    // The border runs through the middle of the caption's line.
    const QRect border = rect().adjusted(0, metrics.height() / 2, -1, -1);
    p.setPen(palette().color(QPalette::Mid));
    p.drawRect(border.adjusted(0, 0, -1, -1));
    p.setPen(palette().color(QPalette::Light));
    p.drawRect(border.adjusted(1, 1, 0, 0));

    if (caption_.isEmpty()) return;
    const QRect gap(kCaptionIndent, 0, metrics.horizontalAdvance(caption_) + 2 * kCaptionPadding, metrics.height());
    p.fillRect(gap, palette().color(QPalette::Window));
    p.setPen(readableBlue(palette().color(QPalette::Window)));
    p.drawText(gap, Qt::AlignCenter, caption_);
}

}  // namespace si32
