#include "app/view/field_fit.h"

#include <QRegularExpression>
#include <algorithm>
#include <cmath>

namespace si32 {
namespace {

const QChar kEllipsis(0x2026);

bool fits(const TextAdvance& advance, const QString& text, int width) { return std::ceil(advance(text)) <= width; }

// Drops the last character, never half of a surrogate pair.
void chopCharacter(QString& text) {
    const bool pair = text.size() >= 2 && text.back().isLowSurrogate() && text.at(text.size() - 2).isHighSurrogate();
    text.chop(pair ? 2 : 1);
}

// The text cut to width with an ellipsis at its end, even where the part
// left would fit without one: more text follows it.
QString endingInEllipsis(const TextAdvance& advance, QString text, int width) {
    text = withoutTrailingBlanks(text);
    while (!text.isEmpty() && !fits(advance, text + kEllipsis, width)) chopCharacter(text);
    return withoutTrailingBlanks(text) + kEllipsis;
}

QString elided(const TextAdvance& advance, const QString& text, int width) {
    return fits(advance, text, width) ? text : endingInEllipsis(advance, text, width);
}

QString withoutLineEnd(QString line) {
    while (!line.isEmpty() && (line.back() == QLatin1Char('\r') || line.back() == QLatin1Char('\n') ||
                               line.back() == QChar::LineSeparator))
        line.chop(1);
    return line;
}

QString cutLine(const TextAdvance& advance, const QString& text, int width) {
    static const QRegularExpression unit(QStringLiteral("\\s+[A-Za-z]{1,3}\\)?$"));
    const QRegularExpressionMatch match = unit.match(text);
    if (match.hasMatch() && match.capturedStart() > 0) {
        const QString tail = match.captured();
        const int room = width - static_cast<int>(std::ceil(advance(tail)));
        if (room > std::ceil(advance(QString(kEllipsis))))
            return endingInEllipsis(advance, text.left(match.capturedStart()), room) + tail;
    }
    return elided(advance, text, width);
}

}  // namespace

QString withoutTrailingBlanks(const QString& text) {
    qsizetype end = text.size();
    while (end > 0 && text.at(end - 1).isSpace()) --end;
    return text.left(end);
}

ShownText shownOnOneLine(const TextAdvance& advance, const QString& text, int width) {
    const QString whole = withoutTrailingBlanks(text);
    // A text of several lines in a one-line field is drawn as it is.
    if (whole.contains(QLatin1Char('\n')) || fits(advance, whole, width)) return {{{whole, 0}}, false};
    return {{{cutLine(advance, whole, width), 0}}, true};
}

QString withForcedBreaks(const QString& text) {
    QString out = text;
    for (qsizetype i = 0; i < out.size(); ++i) {
        if (out.at(i) == QLatin1Char('\r') && i + 1 < out.size() && out.at(i + 1) == QLatin1Char('\n'))
            out[i] = QLatin1Char(' ');
        else if (out.at(i) == QLatin1Char('\r') || out.at(i) == QLatin1Char('\n')) out[i] = QChar::LineSeparator;
    }
    return out;
}

ShownText shownWrapped(const TextAdvance& advance, const QString& text, const std::vector<LineSpan>& lines, int width,
                       int height, int lineHeight) {
    const QString whole = withoutTrailingBlanks(text);
    const std::size_t room = static_cast<std::size_t>(std::max(1, height / std::max(1, lineHeight)));
    ShownText out;
    for (std::size_t i = 0; i < lines.size() && i < room; ++i) {
        QString line = withoutLineEnd(whole.mid(lines[i].start, lines[i].length));
        if (i + 1 == room && lines.size() > room) {
            // What follows on the same line, up to the next line end.
            QString rest = whole.mid(lines[i].start);
            const qsizetype end = rest.indexOf(QRegularExpression(QStringLiteral("[\\r\\n]")));
            if (end >= 0) rest.truncate(end);
            line = endingInEllipsis(advance, rest, width);
            out.cut = true;
        }
        out.lines.push_back({line, lines[i].start});
    }
    return out;
}

namespace {

struct Fitting {
    const std::vector<FieldPlace>& fields;
    const std::vector<int>& innerEdge;
    std::vector<QRect> shown = std::vector<QRect>(fields.size());
    std::vector<int> pushed = std::vector<int>(fields.size(), 0);

    int edgeOf(const FieldPlace& field) const {
        const auto at = static_cast<std::size_t>(field.container);
        return at < innerEdge.size() ? innerEdge[at] : field.design.right() + 1;
    }

    // The right edge a field may grow to, and the control that sets it
    // (fields.size() for the container's edge).
    std::pair<int, std::size_t> limitOf(std::size_t i, const QRect& design) const {
        std::pair<int, std::size_t> limit{edgeOf(fields[i]), fields.size()};
        for (std::size_t j = 0; j < fields.size(); ++j) {
            const FieldPlace& other = fields[j];
            if (j == i || other.container != fields[i].container || !other.visible) continue;
            const QRect r = shown[j].isNull() ? other.occupied : other.occupied | shown[j];
            if (r.left() > design.left() && r.top() <= design.bottom() && r.bottom() >= design.top() &&
                r.left() - 1 < limit.first)
                limit = {r.left() - 1, j};
        }
        return limit;
    }

    // How far the field j moves right to give up to wanted pixels.
    int pushAside(std::size_t j, int wanted) {
        const FieldPlace& next = fields[j];
        if (!next.value || !next.movable) return 0;
        const int spare = edgeOf(next) - next.design.left() - next.needed;
        pushed[j] = std::clamp(wanted, 0, std::max(0, spare));
        return pushed[j];
    }

    void fit(std::size_t i) {
        const FieldPlace& field = fields[i];
        const QRect design = field.design.translated(pushed[i], 0);
        QRect placed = design;
        if (field.oneLine && field.needed > design.width()) {
            const auto [right, by] = limitOf(i, design);
            int room = right - design.left();
            if (field.needed > room && by < fields.size()) room += pushAside(by, field.needed - room);
            placed.setWidth(std::max(design.width(), std::min(field.needed, room)));
        }
        shown[i] = placed;
    }
};

}  // namespace

std::vector<QRect> fitFields(const std::vector<FieldPlace>& fields, const std::vector<int>& innerEdge) {
    std::vector<std::size_t> order;
    for (std::size_t i = 0; i < fields.size(); ++i)
        if (fields[i].value) order.push_back(i);
    // Left to right along each line, so that a field pushed aside is sized
    // after the one that pushed it.
    std::stable_sort(order.begin(), order.end(),
                     [&](std::size_t a, std::size_t b) { return fields[a].design.left() < fields[b].design.left(); });
    Fitting fitting{fields, innerEdge};
    for (const std::size_t i : order) fitting.fit(i);
    return fitting.shown;
}

}  // namespace si32
