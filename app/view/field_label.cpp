#include "app/view/field_label.h"

#include <QPainter>
#include <QRegularExpression>
#include <QTextLayout>
#include <climits>
#include <cmath>

namespace si32 {
namespace {

const QChar kEllipsis(0x2026);

QString withoutTrailingBlanks(const QString& text) {
    qsizetype end = text.size();
    while (end > 0 && text.at(end - 1).isSpace()) --end;
    return text.left(end);
}

// The text cut to width with an ellipsis at its end, even where the part
// left would fit without one: more text follows it.
QString endingInEllipsis(const QFontMetrics& metrics, QString text, int width) {
    text = withoutTrailingBlanks(text);
    QString elided = metrics.elidedText(text, Qt::ElideRight, width);
    if (elided.endsWith(kEllipsis) && elided != text) return elided;
    while (!text.isEmpty() && metrics.horizontalAdvance(text + kEllipsis) > width) text.chop(1);
    return withoutTrailingBlanks(text) + kEllipsis;
}

// One line cut to width. A size ("134,217,728  KB") gives up digits before
// its unit: a number without its unit reads as a different size.
QString cutLine(const QFontMetrics& metrics, const QString& text, int width) {
    static const QRegularExpression unit(QStringLiteral("\\s+[A-Za-z]{1,3}\\)?$"));
    const QRegularExpressionMatch match = unit.match(text);
    if (match.hasMatch() && match.capturedStart() > 0) {
        const QString tail = match.captured();
        const int room = width - metrics.horizontalAdvance(tail);
        if (room > metrics.horizontalAdvance(kEllipsis))
            return endingInEllipsis(metrics, text.left(match.capturedStart()), room) + tail;
    }
    return metrics.elidedText(text, Qt::ElideRight, width);
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

void FieldLabel::setCaption(FieldLabel* caption) {
    if (caption == caption_) return;
    if (caption_ != nullptr) std::erase(caption_->captioned_, this);
    caption_ = caption;
    if (caption_ != nullptr) caption_->captioned_.push_back(this);
}

bool FieldLabel::isCut() const { return shown().cut; }

FieldLabel::Shown FieldLabel::shown() const {
    const QRect area = contentsRect();
    const QFontMetrics metrics(font());
    Shown out;
    const QString whole = withoutTrailingBlanks(text());
    if (!wordWrap()) {
        // A text of several lines in a one-line field is drawn as it is.
        if (whole.contains(QLatin1Char('\n')) ||
            std::ceil(QFontMetricsF(font()).horizontalAdvance(whole)) <= area.width()) {
            out.lines.push_back({whole, 0});
            return out;
        }
        out.lines.push_back({cutLine(metrics, whole, area.width()), 0});
        out.cut = true;
        return out;
    }
    QTextLayout layout(whole, font());
    QTextOption option;
    // A word wider than the field breaks rather than run past its edge.
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    layout.setTextOption(option);
    std::vector<std::pair<qsizetype, qsizetype>> spans;
    layout.beginLayout();
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
        line.setLineWidth(area.width());
        spans.emplace_back(line.textStart(), line.textLength());
    }
    layout.endLayout();
    // As many whole lines as the field's height holds, and always one.
    const std::size_t room = static_cast<std::size_t>(std::max(1, area.height() / std::max(1, metrics.height())));
    for (std::size_t i = 0; i < spans.size() && i < room; ++i) {
        QString line = whole.mid(spans[i].first, spans[i].second);
        if (i + 1 == room && spans.size() > room) {
            line = endingInEllipsis(metrics, whole.mid(spans[i].first), area.width());
            out.cut = true;
        }
        out.lines.push_back({line, spans[i].first});
    }
    return out;
}

void FieldLabel::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const QRect area = contentsRect();
    const QFontMetrics metrics(font());
    const Shown lines = shown();
    const qsizetype selStart = hasSelectedText() ? selectionStart() : -1;
    const qsizetype selEnd = selStart < 0 ? -1 : selStart + selectedText().size();
    const QPalette::ColorGroup group = isEnabled() ? QPalette::Normal : QPalette::Disabled;
    int top = area.top();
    for (const auto& line : lines.lines) {
        const QString text = withoutTrailingBlanks(line.text);
        QRect row(area.left(), top, area.width(),
                  line.text.contains(QLatin1Char('\n')) ? area.height() : metrics.height());
        const int flags = static_cast<int>(alignment() & Qt::AlignHorizontal_Mask) | Qt::AlignTop;
        painter.setPen(palette().color(group, foregroundRole()));
        painter.drawText(row, flags, text);
        // The selected part, over the line as drawn.
        const qsizetype from = std::max(selStart, line.start) - line.start;
        const qsizetype to = std::min<qsizetype>(selEnd - line.start, text.size());
        if (selStart >= 0 && from < to) {
            const int width = metrics.horizontalAdvance(text);
            const int left = (alignment() & Qt::AlignRight) ? row.right() + 1 - width : row.left();
            const QRect selected(left + metrics.horizontalAdvance(text.left(from)), top,
                                 metrics.horizontalAdvance(text.mid(from, to - from)), metrics.height());
            painter.fillRect(selected, palette().color(group, QPalette::Highlight));
            painter.save();
            painter.setClipRect(selected);
            painter.setPen(palette().color(group, QPalette::HighlightedText));
            painter.drawText(row, flags, text);
            painter.restore();
        }
        top += metrics.height();
    }
}

}  // namespace si32
