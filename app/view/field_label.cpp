#include "app/view/field_label.h"

#include <QPainter>
#include <QStyle>
#include <climits>
#include <cmath>

namespace si32 {
namespace {

QString withoutTrailingBlanks(const QString& text) {
    qsizetype end = text.size();
    while (end > 0 && text.at(end - 1).isSpace()) --end;
    return text.left(end);
}

}  // namespace

FieldLabel::FieldLabel(QWidget* parent) : QLabel(parent) {
    setTextFormat(Qt::PlainText);
    setFocusPolicy(Qt::NoFocus);
}

QSize FieldLabel::textSize(int wrapWidth) const {
    const QFontMetrics metrics(font());
    // Whole pixels up, or the last letter of a label sized to its text would
    // give way to an ellipsis.
    if (!wordWrap())
        return {static_cast<int>(std::ceil(QFontMetricsF(font()).horizontalAdvance(withoutTrailingBlanks(text())))),
                metrics.height()};
    const QRect lines = metrics.boundingRect(QRect(0, 0, wrapWidth, INT_MAX), Qt::TextWordWrap, text());
    return {wrapWidth, std::max(lines.height(), metrics.height())};
}

bool FieldLabel::isCut() const {
    const QRect area = contentsRect();
    if (wordWrap()) return textSize(area.width()).height() > area.height();
    if (text().contains(QLatin1Char('\n'))) return false;
    return textSize(area.width()).width() > area.width();
}

void FieldLabel::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const QRect area = contentsRect();
    int flags = static_cast<int>(alignment());
    QString shown = text();
    if (wordWrap()) {
        flags |= Qt::TextWordWrap;
    } else if (!shown.contains(QLatin1Char('\n'))) {
        shown = fontMetrics().elidedText(withoutTrailingBlanks(shown), Qt::ElideRight, area.width());
    }
    style()->drawItemText(&painter, area, flags, palette(), isEnabled(), shown, foregroundRole());
}

}  // namespace si32
