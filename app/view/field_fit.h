#pragma once
// The geometry of the window's value fields as plain arithmetic over
// measured widths: which whole lines a field shows and where it cuts them,
// and how far a one-line field grows along its line. No widget, font or event
// loop takes part, so every rule can be checked case by case.
#include <QRect>
#include <QString>
#include <functional>
#include <vector>

namespace si32 {

// The width a text takes on one line, in pixels.
using TextAdvance = std::function<double(const QString&)>;

// Blanks after a text (a name read into a blank-filled buffer) show nothing.
QString withoutTrailingBlanks(const QString& text);

// A text as a field draws it, line by line.
struct ShownText {
    struct Line {
        QString text;
        qsizetype start = 0;  // where the line's text begins in the whole text
    };
    std::vector<Line> lines;
    bool cut = false;
};

// A one-line field of the given width. A size ("134,217,728  KB") gives up
// digits before its unit: a number without its unit reads as another size.
ShownText shownOnOneLine(const TextAdvance& advance, const QString& text, int width);

// Where a line of a wrapped text begins and how long it is.
struct LineSpan {
    qsizetype start = 0;
    qsizetype length = 0;
};
// The text as the line breaker is to see it: its line ends ("\r\n", "\n",
// "\r") as forced breaks, which a layout otherwise runs over. Every
// character keeps its place, so the lines found index the text itself.
QString withForcedBreaks(const QString& text);

// A wrapped field: as many whole lines as its height holds, and always one;
// the last ends in an ellipsis when more text follows. The lines are those
// of the text with its forced breaks; a line shows without its line end.
ShownText shownWrapped(const TextAdvance& advance, const QString& text, const std::vector<LineSpan>& lines, int width,
                       int height, int lineHeight);

// One control of a container as the fitting sees it.
struct FieldPlace {
    QRect design;    // its designed place, in its container's pixels
    QRect occupied;  // what it covers now: its design and where it is drawn
    int container = 0;
    bool visible = true;
    bool value = false;    // a value field, which is fitted; every control bounds the others
    bool oneLine = false;  // a value on one line, which may grow to its text
    bool movable = false;  // a plain left-aligned one-line value, which may move aside
    int needed = 0;        // the width of a one-line value's text
};

// Where each value field is drawn (an empty rectangle for other controls).
// A value too narrow for its text grows right, up to its container's inner
// edge (innerEdge, by container) and short of the next control on its line;
// that control moves aside where it is movable and its own text leaves it
// room.
std::vector<QRect> fitFields(const std::vector<FieldPlace>& fields, const std::vector<int>& innerEdge);

}  // namespace si32
