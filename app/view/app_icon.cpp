#include "app/view/app_icon.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QGuiApplication>
#include <QIconEngine>
#include <QImageReader>
#include <QPainter>
#include <QScreen>
#include <algorithm>
#include <cmath>
#include <iterator>
#include <map>
#include <span>

#include "platform/install_layout.h"

namespace si32 {
namespace {

constexpr int kArtworkSizes[] = {16, 24, 32, 48, 64, 128, 256};

// The artwork's files by size, each decoded only when a pixmap of it is
// first asked for: a start shows one or two sizes of the seven, and
// decoding them all would be a good part of the window's start-up.
class ArtworkEngine : public QIconEngine {
public:
    explicit ArtworkEngine(std::map<int, QString> files) : files_(std::move(files)) {}

    QPixmap pixmap(const QSize& size, QIcon::Mode, QIcon::State) override {
        if (files_.empty() || size.isEmpty()) return {};
        const int wanted = std::max(size.width(), size.height());
        // The smallest drawing at least as large, scaled down if need be:
        // artwork scaled up blurs.
        auto file = files_.lower_bound(wanted);
        if (file == files_.end()) file = std::prev(files_.end());
        auto& decoded = decoded_[file->first];
        if (decoded.isNull()) {
            // Named as PNG, whose reader is Qt's own: a reader left to find
            // the format loads every image plugin there is to ask it first.
            QImageReader reader(file->second, "png");
            reader.setAutoDetectImageFormat(false);
            decoded = QPixmap::fromImage(reader.read());
        }
        if (decoded.isNull() || decoded.size() == size) return decoded;
        return decoded.scaled(size, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    }

    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State state) override {
        const qreal ratio = painter->device() != nullptr ? painter->device()->devicePixelRatio() : 1;
        painter->drawPixmap(rect, pixmap(rect.size() * ratio, mode, state));
    }

    QList<QSize> availableSizes(QIcon::Mode, QIcon::State) override {
        QList<QSize> sizes;
        for (const auto& [size, file] : files_) sizes.push_back(QSize(size, size));
        return sizes;
    }

    bool isNull() override { return files_.empty(); }
    QString key() const override { return QStringLiteral("si32-artwork"); }
    QIconEngine* clone() const override { return new ArtworkEngine(*this); }

private:
    std::map<int, QString> files_;
    std::map<int, QPixmap> decoded_;
};

QIcon artwork(const QString& hicolorDir, std::span<const int> sizes) {
    std::map<int, QString> files;
    for (const int size : sizes) {
        const QString file =
            QStringLiteral("%1/%2x%2/apps/%3.png").arg(hicolorDir).arg(size).arg(QString::fromUtf8(kAppId));
        if (QFileInfo::exists(file)) files.emplace(size, file);
    }
    return files.empty() ? QIcon() : QIcon(new ArtworkEngine(std::move(files)));
}

QString installedHicolor() {
    return QCoreApplication::applicationDirPath() + "/" + QString::fromUtf8(kDataFromPrograms) + "/icons/hicolor";
}

}  // namespace

QIcon appIconFrom(const QString& hicolorDir) { return artwork(hicolorDir, kArtworkSizes); }

QIcon appIcon() {
    const QIcon installed = appIconFrom(installedHicolor());
    return installed.isNull() ? QIcon::fromTheme(QString::fromUtf8(kAppId)) : installed;
}

std::vector<int> FrameIconSizes(double devicePixelRatio) {
    std::vector<int> sizes;
    // The title bar's small icon and the task switcher's large one, in the
    // screen's pixels; the next drawing up stands in for a size not drawn.
    for (const int logical : {16, 32}) {
        const int wanted = static_cast<int>(std::ceil(logical * std::max(1.0, devicePixelRatio)));
        const int* size = std::lower_bound(std::begin(kArtworkSizes), std::end(kArtworkSizes), wanted);
        const int chosen = size == std::end(kArtworkSizes) ? kArtworkSizes[std::size(kArtworkSizes) - 1] : *size;
        if (sizes.empty() || sizes.back() != chosen) sizes.push_back(chosen);
    }
    return sizes;
}

QIcon frameIcon() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    const std::vector<int> sizes = FrameIconSizes(screen != nullptr ? screen->devicePixelRatio() : 1.0);
    const QIcon installed = artwork(installedHicolor(), sizes);
    return installed.isNull() ? QIcon::fromTheme(QString::fromUtf8(kAppId)) : installed;
}

}  // namespace si32
