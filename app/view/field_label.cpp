#include "app/view/field_label.h"

#include <QPainter>
#include <QTextLayout>
#include <climits>
#include <cmath>

namespace si32 {
namespace {

// The answer kept for question, worked out anew when the question changed.
template <class Kept, class Question, class Work>
const auto& remember(std::optional<Kept>& kept, const Question& question, Work work) {
    if (!kept || !(kept->question == question)) kept = Kept{question, work()};
    return kept->answer;
}

}  // namespace

FieldLabel::FieldLabel(QWidget* parent) : QLabel(parent) {
    setTextFormat(Qt::PlainText);
    setFocusPolicy(Qt::NoFocus);
}

QSize FieldLabel::textSize(int wrapWidth) const {
    return remember(measured_, textFor(QSize(wrapWidth, 0)), [&] { return measure(wrapWidth); });
}

QSize FieldLabel::measure(int wrapWidth) const {
    const QFontMetrics metrics(font());
    // Whole pixels up, or the last letter of a label sized to its text would
    // give way to an ellipsis.
    if (!wordWrap()) return {static_cast<int>(std::ceil(wholeAdvance())), metrics.height()};
    const QRect lines = metrics.boundingRect(QRect(0, 0, wrapWidth, INT_MAX), Qt::TextWordWrap, text());
    return {wrapWidth, std::max(lines.height(), metrics.height())};
}

bool FieldLabel::readyToSelect() {
    constexpr Qt::TextInteractionFlags kSelect = Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard;
    if (!selectable_ || textInteractionFlags() == kSelect) return false;
    setTextInteractionFlags(kSelect);
    // A click gives a value the focus, Tab never does, so the window's tab
    // stops stay as designed. Until then the field takes no focus at all:
    // a label that can take it gets the text document at once.
    setFocusPolicy(Qt::ClickFocus);
    return true;
}

void FieldLabel::setSelection(int start, int length) {
    readyToSelect();
    QLabel::setSelection(start, length);
}

void FieldLabel::mousePressEvent(QMouseEvent* event) {
    // The focus a click gives, which the field could not take before.
    if (readyToSelect()) setFocus(Qt::MouseFocusReason);
    QLabel::mousePressEvent(event);
}

void FieldLabel::focusInEvent(QFocusEvent* event) {
    readyToSelect();
    QLabel::focusInEvent(event);
}

void FieldLabel::setCaption(FieldLabel* caption) {
    if (caption == caption_) return;
    if (caption_ != nullptr) std::erase(caption_->captioned_, this);
    caption_ = caption;
    if (caption_ != nullptr) caption_->captioned_.push_back(this);
}

double FieldLabel::wholeAdvance() const {
    return remember(advanced_, textFor(QSize()),
                    [&] { return QFontMetricsF(font()).horizontalAdvance(withoutTrailingBlanks(text())); });
}

bool FieldLabel::isCut() const { return shown().cut; }

FieldLabel::Shown FieldLabel::shown() const {
    return remember(laidOut_, textFor(contentsRect().size()), [&] { return layOut(); });
}

FieldLabel::Shown FieldLabel::layOut() const {
    const QRect area = contentsRect();
    const QString whole = withoutTrailingBlanks(text());
    const TextAdvance advance = [this, &whole, metrics = QFontMetricsF(font())](const QString& part) {
        return part == whole ? wholeAdvance() : metrics.horizontalAdvance(part);
    };
    if (!wordWrap()) return shownOnOneLine(advance, whole, area.width());
    QTextLayout layout(withForcedBreaks(whole), font());
    QTextOption option;
    // A word wider than the field breaks rather than run past its edge.
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    layout.setTextOption(option);
    std::vector<LineSpan> lines;
    layout.beginLayout();
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
        line.setLineWidth(area.width());
        lines.push_back({line.textStart(), line.textLength()});
    }
    layout.endLayout();
    return shownWrapped(advance, whole, lines, area.width(), area.height(), QFontMetrics(font()).height());
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
