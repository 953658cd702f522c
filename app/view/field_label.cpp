#include "app/view/field_label.h"

#include <QPainter>
#include <QStyle>
#include <climits>
#include <cmath>

namespace si32 {

FieldLabel::FieldLabel(QWidget* parent) : QLabel(parent) {
    setTextFormat(Qt::PlainText);
    setFocusPolicy(Qt::NoFocus);
}

QSize FieldLabel::textSize(int wrapWidth) const {
    const QFontMetrics metrics(font());
    // Whole pixels up, or the last letter of a label sized to its text would
    // give way to an ellipsis.
    if (!wordWrap())
        return {static_cast<int>(std::ceil(QFontMetricsF(font()).horizontalAdvance(text()))), metrics.height()};
    const QRect lines = metrics.boundingRect(QRect(0, 0, wrapWidth, INT_MAX), Qt::TextWordWrap, text());
    return {wrapWidth, std::max(lines.height(), metrics.height())};
}

void FieldLabel::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const QRect area = contentsRect();
    int flags = static_cast<int>(alignment());
    QString shown = text();
    if (wordWrap()) {
        flags |= Qt::TextWordWrap;
    } else if (!shown.contains(QLatin1Char('\n'))) {
        // Trailing blanks (a name read into a blank-filled buffer) show
        // nothing, so they must not push the text into an ellipsis.
        qsizetype end = shown.size();
        while (end > 0 && shown.at(end - 1).isSpace()) --end;
        shown = fontMetrics().elidedText(shown.left(end), Qt::ElideRight, area.width());
    }
    style()->drawItemText(&painter, area, flags, palette(), isEnabled(), shown, foregroundRole());
}

}  // namespace si32
