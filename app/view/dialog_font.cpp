#include "app/view/dialog_font.h"

#include <QFontDatabase>
#include <QFontMetrics>
#include <algorithm>

#include "app/view/qt_text.h"

namespace si32 {
namespace {

constexpr double kDesignPoints = 8;
// Narrower than this reads badly; a caption that still does not fit is cut.
constexpr int kNarrowestStretch = 75;

// The captions that keep their design width whatever their text.
bool isFixedCaption(const Control& c) {
    return c.kind == ControlKind::Label && c.alignment == Align::Right && !c.autoSize;
}

bool captionsFit(const QFont& font, std::span<const Control> controls, const TwipsScale& scale) {
    const QFontMetrics metrics(font);
    return std::all_of(controls.begin(), controls.end(), [&](const Control& c) {
        return !isFixedCaption(c) || metrics.horizontalAdvance(fromModelText(c.text)) <= scale.x(c.geometry.width);
    });
}

}  // namespace

QFont dialogFont(std::span<const Control> controls, const TwipsScale& scale) {
    QFont font = QFontDatabase::systemFont(QFontDatabase::GeneralFont);
    font.setPointSizeF(kDesignPoints);
    for (int stretch = QFont::Unstretched; stretch > kNarrowestStretch; --stretch) {
        font.setStretch(stretch);
        if (captionsFit(font, controls, scale)) return font;
    }
    font.setStretch(kNarrowestStretch);
    return font;
}

}  // namespace si32
