#include "app/view/app_icon.h"

#include <QCoreApplication>
#include <QFileInfo>

#include "platform/install_layout.h"

namespace si32 {

QIcon appIconFrom(const QString& hicolorDir) {
    QIcon icon;
    for (const int size : {16, 24, 32, 48, 64, 128, 256}) {
        const QString file =
            QStringLiteral("%1/%2x%2/apps/%3.png").arg(hicolorDir).arg(size).arg(QString::fromUtf8(kAppId));
        if (QFileInfo::exists(file)) icon.addFile(file, QSize(size, size));
    }
    return icon;
}

QIcon appIcon() {
    const QIcon installed = appIconFrom(QCoreApplication::applicationDirPath() + "/" +
                                        QString::fromUtf8(kDataFromPrograms) + "/icons/hicolor");
    return installed.isNull() ? QIcon::fromTheme(QString::fromUtf8(kAppId)) : installed;
}

}  // namespace si32
