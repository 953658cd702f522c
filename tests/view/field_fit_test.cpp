// The value fields' geometry over a font whose every character is 10 pixels
// wide, so each case can be worked out by hand; no display or application
// object takes part.
#include <gtest/gtest.h>

#include <QString>
#include <QStringList>
#include <vector>

#include "app/view/field_fit.h"

namespace si32 {
namespace {

const TextAdvance kTenEach = [](const QString& text) { return 10.0 * static_cast<double>(text.size()); };
const QString kEllipsis(QChar(0x2026));

QString lines(const ShownText& shown) {
    QStringList out;
    for (const auto& line : shown.lines) out << line.text;
    return out.join(QLatin1Char('|'));
}

TEST(FieldFit, OneLineFieldsCutWithAnEllipsisAndKeepTheirUnit) {
    struct Case {
        const char* name;
        QString text;
        int width;
        QString shown;
        bool cut;
    };
    const Case cases[] = {
        {"fits exactly", "abcdef", 60, "abcdef", false},
        {"trailing blanks are not text", "abc      ", 30, "abc", false},
        {"one character too long", "abcdefg", 60, "abcde" + kEllipsis, true},
        {"no blank before the ellipsis", "abc defgh", 50, "abc" + kEllipsis, true},
        {"size keeps its unit", "134,217,728  KB", 100, "134,2" + kEllipsis + "  KB", true},
        {"bracketed unit kept", "1,024 (512 MB)", 110, "1,024" + kEllipsis + " MB)", true},
        {"no room for the unit: plain cut", "123456 KB", 40, "123" + kEllipsis, true},
        {"several lines drawn as they are", "first\nsecond", 20, "first\nsecond", false},
        {"nothing fits but the ellipsis", "abcdef", 5, kEllipsis, true},
    };
    for (const Case& c : cases) {
        const ShownText shown = shownOnOneLine(kTenEach, c.text, c.width);
        EXPECT_EQ(lines(shown), c.shown) << c.name;
        EXPECT_EQ(shown.cut, c.cut) << c.name;
    }
}

TEST(FieldFit, WrappedFieldsShowWholeLinesOnly) {
    // "alpha beta gamma delta" broken after each word, 12 pixels a line.
    const QString text = QStringLiteral("alpha beta gamma delta");
    const std::vector<LineSpan> words = {{0, 6}, {6, 5}, {11, 6}, {17, 5}};
    struct Case {
        const char* name;
        int width;
        int height;
        QString shown;
        bool cut;
    };
    const Case cases[] = {
        {"every line fits", 60, 48, "alpha |beta |gamma |delta", false},
        {"room for more than the text", 60, 100, "alpha |beta |gamma |delta", false},
        {"a part line does not count", 60, 40, "alpha |beta |gamma" + kEllipsis, true},
        {"the last line ends in an ellipsis though the rest fits", 200, 24, "alpha |beta gamma delta" + kEllipsis,
         true},
        {"lower than a line still shows one", 60, 5, "alpha" + kEllipsis, true},
    };
    for (const Case& c : cases) {
        const ShownText shown = shownWrapped(kTenEach, text, words, c.width, c.height, 12);
        EXPECT_EQ(lines(shown), c.shown) << c.name;
        EXPECT_EQ(shown.cut, c.cut) << c.name;
        for (const auto& line : shown.lines)
            EXPECT_TRUE(text.mid(line.start).startsWith(line.text.chopped(line.text.endsWith(kEllipsis) ? 1 : 0)))
                << c.name;
    }
}

TEST(FieldFit, LineEndsBreakWrappedLinesAndNeverShow) {
    const QChar separator = QChar::LineSeparator;
    struct Break {
        QString text;
        QString forLayout;
    };
    for (const Break& c :
         {Break{"a\r\nb", QString("a ") + separator + "b"}, Break{"a\nb", QString("a") + separator + "b"},
          Break{"a\rb", QString("a") + separator + "b"}, Break{"plain", "plain"}}) {
        EXPECT_EQ(withForcedBreaks(c.text), c.forLayout) << c.text.toStdString();
    }
    // Two lines of a taskbar's state, as the layout breaks them at the
    // forced break.
    const QString text = QStringLiteral("Auto hide disabled\r\nAlways on top disabled");
    const std::vector<LineSpan> spans = {{0, 20}, {20, 22}};
    struct Case {
        int height;
        QString shown;
        bool cut;
    };
    for (const Case& c : {Case{24, "Auto hide disabled|Always on top disabled", false},
                          Case{12, "Auto hide disabled" + kEllipsis, true}}) {
        const ShownText shown = shownWrapped(kTenEach, text, spans, 300, c.height, 12);
        EXPECT_EQ(lines(shown), c.shown) << c.height;
        EXPECT_EQ(shown.cut, c.cut) << c.height;
    }
}

FieldPlace value(QRect design, int needed, bool movable = true) {
    FieldPlace place;
    place.design = design;
    place.occupied = design;
    place.value = true;
    place.oneLine = true;
    place.movable = movable;
    place.needed = needed;
    return place;
}

FieldPlace other(QRect design, bool visible = true) {
    FieldPlace place;
    place.design = design;
    place.occupied = design;
    place.visible = visible;
    return place;
}

TEST(FieldFit, OneLineValuesGrowAlongTheirLine) {
    const int edge = 300;
    struct Case {
        const char* name;
        std::vector<FieldPlace> fields;
        std::vector<QRect> shown;
    };
    FieldPlace wrapped = value({10, 0, 50, 36}, 0);
    wrapped.oneLine = false;
    wrapped.movable = false;
    FieldPlace elsewhere = value({10, 0, 50, 12}, 500);
    elsewhere.container = 1;
    const Case cases[] = {
        {"fits: stays as designed", {value({10, 0, 100, 12}, 80)}, {{10, 0, 100, 12}}},
        {"grows to its text", {value({10, 0, 100, 12}, 150)}, {{10, 0, 150, 12}}},
        {"stops at the frame's inner edge", {value({10, 0, 100, 12}, 900)}, {{10, 0, 290, 12}}},
        {"stops short of a caption on its line",
         {value({10, 0, 100, 12}, 250), other({200, 0, 40, 12})},
         {{10, 0, 189, 12}, {}}},
        {"a control on the next line does not bound it",
         {value({10, 0, 100, 12}, 250), other({200, 14, 40, 12})},
         {{10, 0, 250, 12}, {}}},
        {"a hidden control does not bound it",
         {value({10, 0, 100, 12}, 250), other({200, 0, 40, 12}, false)},
         {{10, 0, 250, 12}, {}}},
        {"the next value moves aside by its spare room",
         {value({10, 0, 100, 12}, 150), value({120, 0, 60, 12}, 50)},
         {{10, 0, 150, 12}, {161, 0, 60, 12}}},
        {"the next value moves no further than its own text allows",
         {value({10, 0, 100, 12}, 400), value({120, 0, 60, 12}, 150)},
         {{10, 0, 139, 12}, {150, 0, 150, 12}}},
        {"a value that may not move is not pushed",
         {value({10, 0, 100, 12}, 150), value({120, 0, 60, 12}, 50, false)},
         {{10, 0, 109, 12}, {120, 0, 60, 12}}},
        {"never narrower than designed",
         {value({10, 0, 100, 12}, 150), other({50, 0, 40, 12})},
         {{10, 0, 100, 12}, {}}},
        {"a wrapped value keeps its design", {wrapped}, {{10, 0, 50, 36}}},
        {"each container has its own edge", {elsewhere}, {{10, 0, 90, 12}}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(fitFields(c.fields, {edge, 100}), c.shown) << c.name;
    }
}

}  // namespace
}  // namespace si32
