#include "app/view/dialog_font.h"

#include <QFontDatabase>
#include <QFontMetrics>
#include <algorithm>
#include <vector>

#include "app/view/qt_text.h"

namespace si32 {
namespace {

// Narrower than this reads badly; a caption that still does not fit is cut.
constexpr int kNarrowestStretch = 75;

// The captions that keep their design width whatever their text.
bool isFixedCaption(const Control& c) {
    return c.kind == ControlKind::Label && c.alignment == Align::Right && !c.autoSize;
}

struct Caption {
    QString text;
    double room = 1;
    // How much of its width the caption needs at the unnarrowed font: 1
    // fits exactly, above 1 it does not fit.
    double need = 0;
};

std::vector<Caption> fixedCaptions(std::span<const Control> controls, const TwipsScale& scale, const QFont& font) {
    const QFontMetrics metrics(font);
    std::vector<Caption> captions;
    for (const auto& c : controls) {
        if (!isFixedCaption(c)) continue;
        Caption caption{fromModelText(c.text), static_cast<double>(std::max(1, scale.x(c.geometry.width)))};
        caption.need = metrics.horizontalAdvance(caption.text) / caption.room;
        captions.push_back(std::move(caption));
    }
    // Narrowing shrinks every caption about alike, so the tightest are the
    // first not to fit: tried in this order, a stretch still too wide is
    // known after a caption or two.
    std::sort(captions.begin(), captions.end(), [](const Caption& a, const Caption& b) { return a.need > b.need; });
    return captions;
}

// How much of its width the first caption not to fit needs at this font, or
// 1 when all fit.
double overflow(const QFont& font, const std::vector<Caption>& captions) {
    const QFontMetrics metrics(font);
    for (const auto& c : captions) {
        const double need = metrics.horizontalAdvance(c.text) / c.room;
        if (need > 1) return need;
    }
    return 1;
}

}  // namespace

QFont dialogFont(std::span<const Control> controls, const TwipsScale& scale, double zoom) {
    QFont font = QFontDatabase::systemFont(QFontDatabase::GeneralFont);
    font.setPointSizeF(kDialogFontPoints * zoom);
    const std::vector<Caption> captions = fixedCaptions(controls, scale, font);
    const double need = captions.empty() ? 0 : captions.front().need;
    if (need <= 1) return font;
    // Text narrows about in proportion to the stretch, and each stretch tried
    // loads a font: start from the proportional guess, and where rounding
    // left a caption too wide, let what it still needs at that stretch set
    // the next guess, stepping down at least one.
    int stretch = std::max(kNarrowestStretch, static_cast<int>(static_cast<int>(QFont::Unstretched) / need));
    for (;;) {
        font.setStretch(stretch);
        const double over = overflow(font, captions);
        if (over <= 1 || stretch == kNarrowestStretch) return font;
        stretch = std::max(kNarrowestStretch, std::min(stretch - 1, static_cast<int>(stretch / over)));
    }
}

}  // namespace si32
