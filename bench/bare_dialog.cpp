// The comparison basis for the window's start-up: a plain Qt Widgets dialog
// with the controls the window has (60 labels, a drop-down list, 3 bars, a
// list and a button), nothing read from the machine. With
// SI32_EXIT_AFTER_FIRST_PAINT=1 it ends once its first frame is drawn, the
// point the window is measured to.
#include <QApplication>
#include <QComboBox>
#include <QDialog>
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
    dialog.setFixedSize(500, 420);
    for (int i = 0; i < 60; ++i) {
        auto* label = new QLabel(QStringLiteral("Caption %1:").arg(i), &dialog);
        label->setGeometry(10 + (i / 20) * 160, 10 + (i % 20) * 16, 150, 15);
    }
    auto* drives = new QComboBox(&dialog);
    drives->addItems({QStringLiteral("c: [SYSTEM]"), QStringLiteral("d: [DATA]")});
    drives->setGeometry(10, 340, 150, 22);
    for (int i = 0; i < 3; ++i) {
        auto* bar = new QProgressBar(&dialog);
        bar->setValue(30 * (i + 1));
        bar->setGeometry(170, 340 + i * 24, 150, 18);
    }
    auto* list = new QListWidget(&dialog);
    list->addItems({QStringLiteral("first"), QStringLiteral("second"), QStringLiteral("third")});
    list->setGeometry(330, 340, 100, 70);
    auto* ok = new QPushButton(QStringLiteral("OK"), &dialog);
    ok->setGeometry(440, 380, 50, 26);
    QObject::connect(ok, &QPushButton::clicked, &dialog, &QDialog::accept);
    const char* exitAfterPaint = std::getenv("SI32_EXIT_AFTER_FIRST_PAINT");
    si32::FirstPaintExit exit(dialog);
    if (exitAfterPaint != nullptr && std::strcmp(exitAfterPaint, "1") == 0) app.installEventFilter(&exit);
    dialog.show();
    return app.exec();
}
