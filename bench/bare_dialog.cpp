// The comparison basis for the window's start-up: a plain Qt Widgets dialog
// with the controls the window has (60 labels, a drop-down list, 3 bars, a
// list and a button), nothing read from the machine. With
// SI32_EXIT_AFTER_FIRST_PAINT=1 it ends once its first frame is drawn, the
// point the window is measured to.
//
// Given a file (a report's output), its labels show that file's captions and
// values instead, two to a line: drawing a machine's facts takes more glyphs
// than drawing "Caption 1:", and this basis has the window's share of them.
#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QFile>
#include <QLabel>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <cstdlib>
#include <cstring>

#include "app/view/first_paint_exit.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QDialog dialog;
    dialog.setWindowTitle(QStringLiteral("Bare dialog"));
    // Two columns of caption and value where there are values to show.
    const bool values = argc > 1;
    QStringList texts;
    if (values) {
        QFile file(QString::fromLocal8Bit(argv[1]));
        if (!file.open(QIODevice::ReadOnly)) return 2;
        for (const QString& line : QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'))) {
            if (line.trimmed().isEmpty()) continue;
            const qsizetype colon = line.indexOf(QLatin1Char(':'));
            texts << (colon < 0 ? line : line.left(colon + 1)).trimmed();
            texts << (colon < 0 ? QString() : line.mid(colon + 1)).trimmed();
        }
    } else {
        for (int i = 0; i < 60; ++i) texts << QStringLiteral("Caption %1:").arg(i) << QString();
    }
    const int rows = values ? static_cast<int>((texts.size() / 2 + 1) / 2) : 20;
    const int below = values ? 10 + rows * 16 + 20 : 340;
    dialog.setFixedSize(values ? 900 : 500, below + 80);
    for (int i = 0; i < texts.size() / 2; ++i) {
        const int x = 10 + (i / rows) * (values ? 445 : 160), y = 10 + (i % rows) * 16;
        (new QLabel(texts[2 * i], &dialog))->setGeometry(x, y, 150, 15);
        if (values) (new QLabel(texts[2 * i + 1], &dialog))->setGeometry(x + 150, y, 290, 15);
    }
    auto* drives = new QComboBox(&dialog);
    drives->addItems({QStringLiteral("c: [SYSTEM]"), QStringLiteral("d: [DATA]")});
    drives->setGeometry(10, below, 150, 22);
    for (int i = 0; i < 3; ++i) {
        auto* bar = new QProgressBar(&dialog);
        bar->setValue(30 * (i + 1));
        bar->setGeometry(170, below + i * 24, 150, 18);
    }
    auto* list = new QListWidget(&dialog);
    list->addItems({QStringLiteral("first"), QStringLiteral("second"), QStringLiteral("third")});
    list->setGeometry(330, below, 100, 70);
    auto* ok = new QPushButton(QStringLiteral("OK"), &dialog);
    ok->setGeometry(440, below + 40, 50, 26);
    QObject::connect(ok, &QPushButton::clicked, &dialog, &QDialog::accept);
    const char* exitAfterPaint = std::getenv("SI32_EXIT_AFTER_FIRST_PAINT");
    si32::FirstPaintExit exit(dialog);
    if (exitAfterPaint != nullptr && std::strcmp(exitAfterPaint, "1") == 0) app.installEventFilter(&exit);
    dialog.show();
    return app.exec();
}
