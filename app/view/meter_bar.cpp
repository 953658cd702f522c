#include "app/view/meter_bar.h"

#include <qdrawutil.h>
#include <QAccessible>
#include <QPainter>
#include <algorithm>

#include "app/view/view_colours.h"

namespace si32 {

MeterBar::MeterBar(QWidget* parent) : QWidget(parent) { setFocusPolicy(Qt::NoFocus); }

void MeterBar::setPercent(int32_t percent) {
    if (percent == percent_) return;
    const int32_t shownBefore = shownPercent();
    percent_ = percent;
    if (shownPercent() != shownBefore && QAccessible::isActive()) {
        // The percentage is part of the meter's name.
        QAccessibleEvent changed(this, QAccessible::NameChanged);
        QAccessible::updateAccessibility(&changed);
    }
    update();
}

int32_t MeterBar::shownPercent() const { return std::clamp<int32_t>(percent_, 0, 100); }

void MeterBar::paintEvent(QPaintEvent*) {
    QPainter p(this);
    qDrawShadePanel(&p, rect(), palette(), true, 1);
    const QRect inner = rect().adjusted(1, 1, -1, -1);
    p.fillRect(inner, palette().color(QPalette::Button));
    QRect filled = inner;
    filled.setWidth(inner.width() * shownPercent() / 100);
    const QColor fill = readableBlue(palette().color(QPalette::Button));
    p.fillRect(filled, fill);

    // The fill's colour on the empty part and black or white on the fill,
    // so that the figure reads wherever the fill ends.
    QFont bold = font();
    bold.setBold(true);
    p.setFont(bold);
    const QString figure = QString::number(shownPercent()) + QLatin1Char('%');
    p.setClipRect(inner.adjusted(filled.width(), 0, 0, 0));
    p.setPen(fill);
    p.drawText(inner, Qt::AlignCenter, figure);
    p.setClipRect(filled);
    p.setPen(textOn(fill));
    p.drawText(inner, Qt::AlignCenter, figure);
}

}  // namespace si32
