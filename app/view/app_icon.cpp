#include "app/view/app_icon.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <algorithm>
#include <cmath>

namespace si32 {
namespace {

const QColor kRim(0, 34, 120);
const QColor kDeep(2, 52, 170);
const QColor kBody(20, 102, 226);
const QColor kLight(120, 190, 255);

// Small images snap the letter to whole pixels, or it blurs into the disc.
double snap(double v, int size) { return size < 48 ? std::round(v) : v; }

void paintDisc(QPainter& p, const QRectF& disc, int size) {
    QRadialGradient body(disc.center() + QPointF(0, -disc.height() * 0.08), disc.width() * 0.62,
                         disc.center() + QPointF(-disc.width() * 0.12, -disc.height() * 0.25));
    body.setColorAt(0.0, kLight);
    body.setColorAt(0.55, kBody);
    body.setColorAt(1.0, kDeep);
    p.setPen(QPen(kRim, std::max(1.0, size / 40.0)));
    p.setBrush(body);
    p.drawEllipse(disc);
}

void paintGloss(QPainter& p, const QRectF& disc) {
    const QRectF gloss(disc.left() + disc.width() * 0.17, disc.top() + disc.height() * 0.05, disc.width() * 0.66,
                       disc.height() * 0.46);
    QLinearGradient shine(gloss.topLeft(), gloss.bottomLeft());
    shine.setColorAt(0.0, QColor(255, 255, 255, 190));
    shine.setColorAt(1.0, QColor(255, 255, 255, 0));
    p.setPen(Qt::NoPen);
    p.setBrush(shine);
    p.drawEllipse(gloss);
}

void paintLetter(QPainter& p, const QRectF& disc, int size) {
    const double w = disc.width();
    const double cx = disc.center().x();
    const double stemWidth = std::max(2.0, snap(w * 0.15, size));
    const double stemLeft = snap(cx - stemWidth / 2, size);
    const double stemTop = snap(disc.top() + w * 0.42, size);
    const double stemBottom = snap(disc.top() + w * 0.80, size);
    const double dot = std::max(2.0, snap(w * 0.17, size));
    const double dotTop = snap(disc.top() + w * 0.19, size);

    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    p.drawEllipse(QRectF(cx - dot / 2, dotTop, dot, dot));

    // The stem with the short flag to its upper left that makes it a
    // lower-case i rather than a bar.
    QPainterPath letter;
    const double radius = size < 32 ? 0 : stemWidth * 0.2;
    letter.addRoundedRect(QRectF(stemLeft, stemTop, stemWidth, stemBottom - stemTop), radius, radius);
    if (size >= 32) {
        const double flag = stemWidth * 0.55;
        QPainterPath flagPath;
        flagPath.addRect(QRectF(stemLeft - flag, stemTop, flag + stemWidth / 2, stemWidth * 0.45));
        letter = letter.united(flagPath);
    }
    p.drawPath(letter);
}

}  // namespace

QPixmap paintAppIcon(int size) {
    QPixmap image(size, size);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    const double margin = std::max(0.5, size / 32.0);
    const QRectF disc(margin, margin, size - 2 * margin, size - 2 * margin);
    paintDisc(p, disc, size);
    paintGloss(p, disc);
    paintLetter(p, disc, size);
    return image;
}

QIcon appIcon() {
    QIcon icon;
    for (const int size : {16, 32, 48, 128}) icon.addPixmap(paintAppIcon(size));
    return icon;
}

}  // namespace si32
