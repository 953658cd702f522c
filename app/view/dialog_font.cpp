#include "app/view/dialog_font.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QSaveFile>
#include <QScreen>
#include <QStandardPaths>
#include <algorithm>
#include <cstdint>
#include <vector>

#include "app/view/qt_text.h"

namespace si32 {
namespace {

// Narrower than this reads badly; a caption that still does not fit is cut.
constexpr int kNarrowestStretch = 75;
// Fits kept for this many fonts, screens and zooms; a cache file larger
// than their lines is not one this program wrote.
constexpr int kRememberedFits = 16;
constexpr qint64 kLargestCacheFile = 4096;

// The captions that keep their design width whatever their text.
bool isFixedCaption(const Control& c) {
    return c.kind == ControlKind::Label && c.alignment == Align::Right && !c.autoSize;
}

struct Caption {
    QString text;
    int room = 1;
    int control = 0;  // its index among the form's controls
};

std::vector<Caption> fixedCaptions(std::span<const Control> controls, const TwipsScale& scale) {
    std::vector<Caption> captions;
    for (std::size_t i = 0; i < controls.size(); ++i) {
        const Control& c = controls[i];
        if (isFixedCaption(c))
            captions.push_back({fromModelText(c.text), std::max(1, scale.x(c.geometry.width)), static_cast<int>(i)});
    }
    return captions;
}

double need(const QFontMetrics& metrics, const Caption& caption) {
    return metrics.horizontalAdvance(caption.text) / static_cast<double>(caption.room);
}

// How much of its width the first caption not to fit needs at this font, or
// 1 when all fit.
double overflow(const QFont& font, std::span<const Caption* const> captions) {
    const QFontMetrics metrics(font);
    for (const Caption* c : captions)
        if (const double n = need(metrics, *c); n > 1) return n;
    return 1;
}

int fittedStretch(QFont font, const std::vector<Caption>& captions) {
    const QFontMetrics metrics(font);
    std::vector<std::pair<double, const Caption*>> needs;
    for (const auto& c : captions) needs.emplace_back(need(metrics, c), &c);
    // Narrowing shrinks every caption about alike, so the tightest are the
    // first not to fit: tried in this order, a stretch still too wide is
    // known after a caption or two.
    std::sort(needs.begin(), needs.end(), [](const auto& a, const auto& b) { return a.first > b.first; });
    if (needs.empty() || needs.front().first <= 1) return QFont::Unstretched;
    std::vector<const Caption*> tightestFirst;
    for (const auto& [n, c] : needs) tightestFirst.push_back(c);
    // Text narrows about in proportion to the stretch, and each stretch tried
    // loads a font: start from the proportional guess, and where rounding
    // left a caption too wide, let what it still needs at that stretch set
    // the next guess, stepping down at least one.
    int stretch =
        std::max(kNarrowestStretch, static_cast<int>(static_cast<int>(QFont::Unstretched) / needs.front().first));
    for (;;) {
        font.setStretch(stretch);
        const double over = overflow(font, tightestFirst);
        if (over <= 1 || stretch == kNarrowestStretch) return stretch;
        stretch = std::max(kNarrowestStretch, std::min(stretch - 1, static_cast<int>(stretch / over)));
    }
}

// A fit remembered from an earlier start. Every stretch tried loads a font,
// which is most of what the fit costs, so a start whose font, screen and
// captions are those of an earlier one takes that start's stretch. The
// widest caption's width at that stretch, measured again, tells whether the
// font underneath is still the same: an installed or removed font changes it.
struct Fit {
    uint64_t key = 0;
    int stretch = 0;
    int caption = 0;
    int advance = 0;
};

uint64_t fitKey(const QFont& font, const std::vector<Caption>& captions) {
    // FNV-1a: the same on every start, unlike Qt's seeded hashes.
    uint64_t hash = 14695981039346656037ULL;
    auto add = [&hash](const QByteArray& bytes) {
        for (const char b : bytes) hash = (hash ^ static_cast<unsigned char>(b)) * 1099511628211ULL;
        hash = (hash ^ 0xFFu) * 1099511628211ULL;
    };
    add(font.key().toUtf8());
    // Glyphs are hinted to the device's pixels: the same font and captions
    // measure otherwise on a screen that scales.
    const QScreen* screen = QGuiApplication::primaryScreen();
    add(QByteArray::number(screen != nullptr ? screen->devicePixelRatio() : 1.0));
    for (const auto& c : captions) {
        add(c.text.toUtf8());
        add(QByteArray::number(c.room));
    }
    return hash;
}

std::vector<Fit> readFits(const QString& file) {
    std::vector<Fit> fits;
    // Only a plain file: a pipe or a device left in its place would block
    // the start or never end.
    const QFileInfo info(file);
    if (!info.isFile() || info.size() > kLargestCacheFile) return fits;
    QFile in(file);
    if (!in.open(QIODevice::ReadOnly)) return fits;
    for (const QByteArray& line : in.read(kLargestCacheFile).split('\n')) {
        const QList<QByteArray> fields = line.simplified().split(' ');
        if (fields.size() != 4) continue;
        bool ok[4] = {};
        Fit fit{fields[0].toULongLong(&ok[0], 16), fields[1].toInt(&ok[1]), fields[2].toInt(&ok[2]),
                fields[3].toInt(&ok[3])};
        if (std::all_of(std::begin(ok), std::end(ok), [](bool b) { return b; }) && fit.stretch >= kNarrowestStretch &&
            fit.stretch <= QFont::Unstretched && fit.caption >= 0 && static_cast<int>(fits.size()) < kRememberedFits)
            fits.push_back(fit);
    }
    return fits;
}

void writeFits(const QString& file, const std::vector<Fit>& fits) {
    const QFileInfo info(file);
    // Whatever else stands in its place is not this program's to replace.
    if (info.exists() && !info.isFile()) return;
    QDir().mkpath(info.path());
    // Written whole or not at all, so that two windows started together
    // never leave half a line.
    QSaveFile out(file);
    if (!out.open(QIODevice::WriteOnly)) return;
    for (const Fit& f : fits)
        out.write(QByteArray::number(static_cast<qulonglong>(f.key), 16) + ' ' + QByteArray::number(f.stretch) + ' ' +
                  QByteArray::number(f.caption) + ' ' + QByteArray::number(f.advance) + '\n');
    out.commit();
}

// The widest caption at this font, by how much of its room it takes.
Fit fitAt(const QFont& font, const std::vector<Caption>& captions, uint64_t key) {
    const QFontMetrics metrics(font);
    Fit fit{key, font.stretch() == QFont::AnyStretch ? int(QFont::Unstretched) : font.stretch(), 0, 0};
    double widest = -1;
    for (const Caption& c : captions) {
        const int advance = metrics.horizontalAdvance(c.text);
        if (const double n = advance / static_cast<double>(c.room); n > widest) {
            widest = n;
            fit.caption = c.control;
            fit.advance = advance;
        }
    }
    return fit;
}

bool stillHolds(const Fit& fit, const QFont& font, const std::vector<Caption>& captions) {
    const auto c =
        std::find_if(captions.begin(), captions.end(), [&](const Caption& x) { return x.control == fit.caption; });
    return c != captions.end() && QFontMetrics(font).horizontalAdvance(c->text) == fit.advance;
}

}  // namespace

QString dialogFontCacheFile() {
    const QString dir = QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation);
    return dir.isEmpty() ? QString() : dir + QStringLiteral("/si32/dialog-font");
}

QFont dialogFont(std::span<const Control> controls, const TwipsScale& scale, double zoom, const QString& cacheFile) {
    QFont font = QFontDatabase::systemFont(QFontDatabase::GeneralFont);
    font.setPointSizeF(kDialogFontPoints * zoom);
    const std::vector<Caption> captions = fixedCaptions(controls, scale);
    if (captions.empty()) return font;
    const uint64_t key = fitKey(font, captions);
    std::vector<Fit> fits = cacheFile.isEmpty() ? std::vector<Fit>() : readFits(cacheFile);
    const auto known = std::find_if(fits.begin(), fits.end(), [key](const Fit& f) { return f.key == key; });
    if (known != fits.end()) {
        QFont remembered = font;
        if (known->stretch != QFont::Unstretched) remembered.setStretch(known->stretch);
        if (stillHolds(*known, remembered, captions)) return remembered;
        fits.erase(known);
    }
    if (const int stretch = fittedStretch(font, captions); stretch != QFont::Unstretched) font.setStretch(stretch);
    if (!cacheFile.isEmpty()) {
        fits.insert(fits.begin(), fitAt(font, captions, key));
        if (static_cast<int>(fits.size()) > kRememberedFits) fits.resize(kRememberedFits);
        writeFits(cacheFile, fits);
    }
    return font;
}

}  // namespace si32
