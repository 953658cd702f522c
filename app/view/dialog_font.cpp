#include "app/view/dialog_font.h"

#include <QFontDatabase>
#include <QFontMetrics>
#include <algorithm>

#include "app/view/qt_text.h"

namespace si32 {
namespace {

// Narrower than this reads badly; a caption that still does not fit is cut.
constexpr int kNarrowestStretch = 75;

// The captions that keep their design width whatever their text.
bool isFixedCaption(const Control& c) {
    return c.kind == ControlKind::Label && c.alignment == Align::Right && !c.autoSize;
}

// How much of its width the tightest caption needs at this font: 1 fits
// exactly, above 1 it does not fit.
double tightestCaption(const QFont& font, std::span<const Control> controls, const TwipsScale& scale) {
    const QFontMetrics metrics(font);
    double tightest = 0;
    for (const auto& c : controls) {
        if (!isFixedCaption(c)) continue;
        const double room = std::max(1, scale.x(c.geometry.width));
        tightest = std::max(tightest, metrics.horizontalAdvance(fromModelText(c.text)) / room);
    }
    return tightest;
}

}  // namespace

QFont dialogFont(std::span<const Control> controls, const TwipsScale& scale, double zoom) {
    QFont font = QFontDatabase::systemFont(QFontDatabase::GeneralFont);
    font.setPointSizeF(kDialogFontPoints * zoom);
    const double need = tightestCaption(font, controls, scale);
    if (need <= 1) return font;
    // Text narrows about in proportion to the stretch; each stretch tried
    // loads a font, so start from the proportional guess and step down only
    // while rounding still leaves a caption too wide.
    int stretch = std::max(kNarrowestStretch, static_cast<int>(static_cast<int>(QFont::Unstretched) / need));
    for (;; --stretch) {
        font.setStretch(stretch);
        if (stretch == kNarrowestStretch || tightestCaption(font, controls, scale) <= 1) return font;
    }
}

}  // namespace si32
