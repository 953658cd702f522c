#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QImage>
#include <QKeyEvent>
#include <QMessageBox>
#include <QScreen>
#include <QTimer>
#include <cstdlib>

#include "app/view/app_icon.h"
#include "app/view/key_codes.h"
#include "app/view/meter_bar.h"
#include "app/view/qt_frontend.h"
#include "app/view/screen_placement.h"
#include "app/view/twips_scale.h"
#include "tests/view/view_harness.h"

namespace si32::viewtest {
namespace {

TEST(MeterBar, DrawsPercentagesHeldToTheMeter) {
    app();
    MeterBar meter(nullptr);
    meter.resize(230, 22);
    const std::pair<int32_t, int32_t> cases[] = {{-5, 0}, {0, 0}, {55, 55}, {100, 100}, {150, 100}};
    for (const auto& [percent, shown] : cases) {
        meter.setPercent(percent);
        EXPECT_EQ(meter.percent(), percent);
        EXPECT_EQ(meter.shownPercent(), shown) << percent;
        // The fill covers the shown share of the meter and no more.
        const QImage image = meter.grab().toImage();
        const int x = meter.width() * shown / 100;
        const QColor fill(1, 66, 208);
        if (shown > 3) {
            EXPECT_EQ(image.pixelColor(2, 3), fill) << percent;
        }
        if (shown < 97) {
            EXPECT_NE(image.pixelColor(std::min(x + 2, meter.width() - 3), 3), fill) << percent;
        }
    }
}

TEST(KeyCodes, QtKeysBecomeWindowsVirtualKeys) {
    struct Case {
        int key;
        Qt::KeyboardModifiers modifiers;
        int32_t code;
    };
    const Case cases[] = {
        {Qt::Key_Escape, Qt::NoModifier, 27},    {Qt::Key_A, Qt::NoModifier, 65},
        {Qt::Key_M, Qt::AltModifier, 77},        {Qt::Key_7, Qt::NoModifier, 55},
        {Qt::Key_7, Qt::KeypadModifier, 103},    {Qt::Key_F1, Qt::NoModifier, 112},
        {Qt::Key_F12, Qt::NoModifier, 123},      {Qt::Key_Return, Qt::NoModifier, 13},
        {Qt::Key_Enter, Qt::KeypadModifier, 13}, {Qt::Key_Down, Qt::NoModifier, 40},
        {Qt::Key_Delete, Qt::NoModifier, 46},    {Qt::Key_unknown, Qt::NoModifier, 0},
        {Qt::Key_Eacute, Qt::NoModifier, 0},
    };
    for (const auto& c : cases) {
        const QKeyEvent event(QEvent::KeyPress, c.key, c.modifiers);
        EXPECT_EQ(windowsKeyCode(event), c.code) << c.key;
    }
}

TEST(TwipsScale, FollowsTheLogicalResolution) {
    struct Case {
        double dpi;
        double perPixel;
        int pixelsFor9480;
    };
    const Case cases[] = {{96, 15, 632}, {120, 12, 790}, {144, 10, 948}, {0, 15, 632}, {-1, 15, 632}};
    for (const auto& c : cases) {
        const TwipsScale scale(c.dpi, c.dpi);
        EXPECT_DOUBLE_EQ(scale.perPixelX(), c.perPixel) << c.dpi;
        EXPECT_EQ(scale.x(9480), c.pixelsFor9480) << c.dpi;
        EXPECT_EQ(scale.twipsY(scale.y(8280)), 8280) << c.dpi;
    }
}

TEST(ScreenPlacement, ModelTwipsLandOnTheScreenInQtsPixels) {
    struct Case {
        const char* what;
        double perPixel, ratio;
        int32_t left, top;
        QPoint expected;
    };
    const QRect work(0, 24, 1280, 1000);
    const QSize frame(640, 600);
    const Case cases[] = {
        {"100 %", 15, 1, 4800, 3000, {320, 200}},
        {"200 %: 8 twips a device pixel, 2 device pixels a Qt pixel", 8, 2, 5120, 3200, {320, 200}},
        {"150 %", 10, 1.5, 4800, 4500, {320, 300}},
        {"above the work area", 15, 1, 4800, -900, {320, 24}},
        {"past its right and bottom", 15, 1, 15000, 15000, {640, 424}},
        {"no scale known: the design's 15 twips", 0, 1, 4800, 3000, {320, 200}},
    };
    for (const auto& c : cases) {
        const ScreenPlacement placement(c.perPixel, c.perPixel, c.ratio, work);
        EXPECT_EQ(placement.toScreen(c.left, c.top, frame), c.expected) << c.what;
    }
    // A frame larger than the work area starts at its top-left corner.
    EXPECT_EQ(ScreenPlacement(15, 15, 1, work).toScreen(-3000, -3000, QSize(2000, 2000)), work.topLeft());
    EXPECT_EQ(ScreenPlacement(8, 8, 2, work).twipsX(640), 10240);
}

TEST(ScreenPlacement, AWindowCentredOnTheModelsScreenIsCentredOnTheRealWorkArea) {
    struct Case {
        const char* what;
        double perPixel;
        QSizeF modelScreen;  // twips
        QRect work;
        QSize frame;
    };
    const Case cases[] = {
        {"a 640x480 machine at 144 dpi on 1280x1024", 10, {6400, 4800}, {0, 0, 1280, 1024}, {500, 400}},
        {"a 1024x768 machine on a smaller real screen", 15, {15360, 11520}, {0, 0, 800, 700}, {700, 600}},
        {"the real screen itself, with a panel above", 15, {19200, 15360}, {0, 24, 1280, 1000}, {640, 600}},
        {"an odd work area", 15, {9600, 7200}, {7, 3, 1001, 777}, {301, 201}},
    };
    for (const auto& c : cases) {
        const ScreenPlacement placement(c.perPixel, c.perPixel, 1, c.work, c.modelScreen);
        // Where the model centres a window of this frame on its own screen.
        const auto left = static_cast<int32_t>((c.modelScreen.width() - c.frame.width() * c.perPixel) / 2);
        const auto top = static_cast<int32_t>((c.modelScreen.height() - c.frame.height() * c.perPixel) / 2);
        const QRect shown(placement.toScreen(left, top, c.frame), c.frame);
        EXPECT_LE(std::abs(shown.center().x() - c.work.center().x()), 1) << c.what;
        EXPECT_LE(std::abs(shown.center().y() - c.work.center().y()), 1) << c.what;
    }
}

TEST(AppIcon, TheInstalledArtworkAtEverySizeADesktopAsksFor) {
    app();
    const QIcon icon = appIcon();
    ASSERT_FALSE(icon.isNull()) << "the build tree holds the icon where an installation does";
    for (const int size : {16, 32, 48, 256}) {
        SCOPED_TRACE(size);
        EXPECT_TRUE(icon.availableSizes().contains(QSize(size, size)));
        const QImage image = icon.pixmap(size).toImage();
        ASSERT_EQ(image.size(), QSize(size, size));
        EXPECT_EQ(image.pixelColor(0, size - 1).alpha(), 0) << "the corners beside the stand are clear";
        const QColor screen = image.pixelColor(size / 5, size * 3 / 5);
        EXPECT_GT(screen.blue(), screen.red() + 60) << "a blue screen";
        const QColor sign = image.pixelColor(size * 3 / 8, size * 7 / 16);
        EXPECT_GT(std::min({sign.red(), sign.green(), sign.blue()}), 200) << "a white information sign";
    }
    EXPECT_TRUE(appIconFrom("/nonexistent").isNull());
}

TEST(AppIcon, AWindowCarriesTheSmallAndLargeDrawingsOfItsScreenOnly) {
    struct Case {
        double ratio;
        std::vector<int> sizes;
    };
    const std::vector<Case> cases = {
        {1.0, {16, 32}}, {1.25, {24, 48}}, {1.5, {24, 48}},
        {2.0, {32, 64}}, {3.0, {48, 128}}, {10.0, {256}},  // both past the largest drawing: that one, once
        {0.5, {16, 32}},
    };
    for (const auto& c : cases) EXPECT_EQ(FrameIconSizes(c.ratio), c.sizes) << c.ratio;
    app();
    const QIcon icon = frameIcon();
    ASSERT_FALSE(icon.isNull());
    QList<QSize> expected;
    for (const int size : FrameIconSizes(QGuiApplication::primaryScreen()->devicePixelRatio()))
        expected.push_back(QSize(size, size));
    EXPECT_EQ(icon.availableSizes(), expected);
    // A size between drawings comes from the next one up, scaled down.
    EXPECT_EQ(appIcon().pixmap(20).toImage().size(), QSize(20, 20));
}

TEST(AppIcon, TheSmallestSizeIsDrawnOnItsOwnPixelGrid) {
    app();
    const QImage image = appIcon().pixmap(16).toImage().convertToFormat(QImage::Format_ARGB32);
    ASSERT_EQ(image.size(), QSize(16, 16));
    // A picture scaled down leaves half-covered pixels along every edge;
    // one drawn for the grid covers each pixel or leaves it clear.
    int partial = 0;
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x) partial += qAlpha(image.pixel(x, y)) % 255 != 0 ? 1 : 0;
    EXPECT_EQ(partial, 0);
    // The sign's letter stands out from the white sign around it.
    struct Case {
        QPoint at;
        bool white;
    };
    for (const Case& c : {Case{{7, 3}, false}, Case{{7, 6}, false}, Case{{5, 6}, true}, Case{{10, 6}, true}}) {
        const QColor colour = image.pixelColor(c.at);
        EXPECT_EQ(std::min({colour.red(), colour.green(), colour.blue()}) > 200, c.white)
            << c.at.x() << "," << c.at.y();
    }
}

TEST(QtFrontend, BusyPointerIsOneSettingNotAStack) {
    app();
    {
        QtFrontend frontend;
        frontend.SetBusyPointer(true);
        frontend.SetBusyPointer(true);
        ASSERT_NE(QGuiApplication::overrideCursor(), nullptr);
        EXPECT_EQ(QGuiApplication::overrideCursor()->shape(), Qt::WaitCursor);
        frontend.SetBusyPointer(false);
        EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
        frontend.SetBusyPointer(true);
    }
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr) << "a frontend leaves no hourglass behind";
}

TEST(QtFrontend, PlainMessageBoxTakesItsTitleOrTheApplicationsOwn) {
    app();
    struct Case {
        const char* prompt;
        const char* title;
        QString shownTitle;
    };
    const Case cases[] = {
        {"System Information Is Unavailable At This Time", "Launcher", "Launcher"},
        {"System Information Is Unavailable At This Time", "", QCoreApplication::applicationName()},
        // A message quoting a machine's text shows its markup as letters.
        {"Cannot start <img src=\"/dev/zero\"><b>x</b>", "<i>T</i>", "<i>T</i>"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.prompt);
        QtFrontend frontend;
        QMessageBox::Icon icon = QMessageBox::Warning;
        Qt::TextFormat format = Qt::AutoText;
        QString title, text;
        QTimer::singleShot(10, [&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (box == nullptr) return;
            icon = box->icon();
            title = box->windowTitle();
            text = box->text();
            format = box->textFormat();
            box->accept();
        });
        EXPECT_EQ(frontend.ShowMessage(c.prompt, 0, c.title), IDOK);
        EXPECT_EQ(icon, QMessageBox::NoIcon);
        EXPECT_EQ(title, c.shownTitle);
        EXPECT_EQ(text.toStdString(), c.prompt);
        EXPECT_EQ(format, Qt::PlainText);
    }
}

TEST(QtFrontend, ScreenFactsComeFromThePrimaryScreen) {
    app();
    QtFrontend frontend;
    const auto facts = frontend.Screen();
    ASSERT_TRUE(facts.has_value());
    const QScreen* screen = QGuiApplication::primaryScreen();
    EXPECT_EQ(facts->widthPx, screen->geometry().width());
    EXPECT_EQ(facts->heightPx, screen->geometry().height());
    EXPECT_DOUBLE_EQ(facts->dpiY, screen->logicalDotsPerInchY());
    EXPECT_EQ(facts->bitsPerPixel, screen->depth());
    EXPECT_GE(facts->monitors, 1);
    EXPECT_LE(facts->workRight - facts->workLeft, facts->virtualWidth);
    EXPECT_GT(facts->scrollBarExtent, 0);
    EXPECT_GT(facts->titleBarHeight, 0);
    EXPECT_GT(frontend.MenuHeight(), 0);
}

}  // namespace
}  // namespace si32::viewtest
