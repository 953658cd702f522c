#include "app/view/view_colours.h"

#include <algorithm>
#include <cmath>

namespace si32 {
namespace {

constexpr double kReadable = 4.5;

double luminance(const QColor& c) {
    auto channel = [](double v) { return v <= 0.03928 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4); };
    return 0.2126 * channel(c.redF()) + 0.7152 * channel(c.greenF()) + 0.0722 * channel(c.blueF());
}

}  // namespace

double contrastRatio(const QColor& a, const QColor& b) {
    const double la = luminance(a), lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

QColor readableBlue(const QColor& background) {
    if (contrastRatio(kDesignBlue, background) >= kReadable) return kDesignBlue;
    const QColor hsl = kDesignBlue.toHsl();
    for (int lightness = hsl.lightness(); lightness <= 255; ++lightness) {
        const QColor lighter = QColor::fromHsl(hsl.hslHue(), hsl.hslSaturation(), lightness);
        if (contrastRatio(lighter, background) >= kReadable) return lighter;
    }
    // Only a light face can get here, where the design's blue reads anyway.
    return kDesignBlue;
}

QColor textOn(const QColor& background) {
    return contrastRatio(Qt::white, background) >= contrastRatio(Qt::black, background) ? QColor(Qt::white)
                                                                                        : QColor(Qt::black);
}

}  // namespace si32
