// The window on a machine whose facts are longer than their fields, at the
// densities desktops use. Each density is its own process: Qt reads the
// screen's description once, when the application starts.
#include <gtest/gtest.h>

#include <QFile>
#include <QPlainTextEdit>
#include <QProcess>
#include <QScreen>
#include <QTemporaryDir>
#include <QTextBlock>
#include <fstream>
#include <sstream>

#include "app/view/field_label.h"
#include "app/view/qt_frontend.h"
#include "tests/support/source_dir.h"
#include "tests/view/view_harness.h"
#include "window/layout.h"

namespace si32::viewtest {
namespace {

const QChar kEllipsis(0x2026);

nlohmann::json longValuesMachine() {
    std::ifstream in(testsupport::sourceFile("machines/longvalues.json"));
    auto description = nlohmann::json::parse(in);
    std::ifstream reg(testsupport::sourceFile("machines/" + description["registry_file"].get<std::string>()));
    std::stringstream text;
    text << reg.rdbuf();
    description.erase("registry_file");
    description["registry"] = text.str();
    return description;
}

TEST(LongValues, EveryCutFieldShowsWholeLinesEndingInAnEllipsis) {
    WindowRun run(longValuesMachine());
    ASSERT_TRUE(run.startAndActivate());
    const WindowView& view = *run.view;
    int wrappedCut = 0, singleCut = 0;
    for (const auto& control : run.session->form.controls()) {
        if (control.kind != ControlKind::Label || control.autoSize || !control.visible || control.text.empty())
            continue;
        const auto& field = static_cast<const FieldLabel&>(*view.controlWidget(control.key()));
        SCOPED_TRACE(control.key() + " " + field.text().toStdString());
        const FieldLabel::Shown shown = field.shown();
        const QRect area = field.contentsRect();
        ASSERT_FALSE(shown.lines.empty());
        EXPECT_TRUE(shown.lines.size() == 1 ||
                    static_cast<int>(shown.lines.size()) * field.fontMetrics().height() <= area.height())
            << "a line drawn below the field's bottom";
        QString joined;
        for (const auto& line : shown.lines) {
            EXPECT_LE(field.fontMetrics().horizontalAdvance(line.text), area.width()) << line.text.toStdString();
            joined += line.text;
        }
        EXPECT_EQ(shown.cut, joined.contains(kEllipsis));
        if (!shown.cut) continue;
        (field.wordWrap() ? wrappedCut : singleCut) += 1;
        EXPECT_EQ(field.toolTip(), field.text());
        EXPECT_EQ(field.accessibleDescription(), field.text()) << "read whole without a mouse";
        // What shows before the ellipsis is the text's own beginning.
        const auto& last = shown.lines.back();
        const QString before = last.text.left(last.text.indexOf(kEllipsis));
        EXPECT_TRUE(field.text().mid(last.start).startsWith(before)) << before.toStdString();
    }
    EXPECT_GT(wrappedCut, 0) << "the machine no longer cuts a wrapped field";
    EXPECT_GT(singleCut, 0) << "the machine no longer cuts a one-line field";

    // 128 GB: the number keeps its unit, and its second unit shows whole.
    const auto& memory = static_cast<const FieldLabel&>(*view.controlWidget("Label2(27)"));
    EXPECT_TRUE(memory.shown().lines.front().text.endsWith("KB")) << memory.shown().lines.front().text.toStdString();
    EXPECT_FALSE(static_cast<const FieldLabel&>(*view.controlWidget("Label3(2)")).isCut());
    EXPECT_FALSE(memory.geometry().intersects(view.controlWidget("Label3(2)")->geometry()));

    // Six flags: the box shows three whole lines before it scrolls.
    auto& flags = static_cast<QPlainTextEdit&>(*view.controlWidget("lblVolFlags"));
    ASSERT_GE(flags.document()->blockCount(), 6);
    QTextCursor third(flags.document()->findBlockByNumber(2));
    EXPECT_LE(flags.cursorRect(third).bottom(), flags.viewport()->height()) << "the third flag is clipped";
}

// Runs one test of this program again in a process of its own, on a described
// screen.
void runOnScreen(const char* test, int width, int height, int dpi) {
    app();
    const QTemporaryDir dir;
    const QString config = dir.filePath("screen.json");
    QFile file(config);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(QStringLiteral(R"({"screens":[{"name":"s","x":0,"y":0,"width":%1,"height":%2,)"
                              R"("logicalDpi":%3,"logicalBaseDpi":96,"dpr":1}]})")
                   .arg(width)
                   .arg(height)
                   .arg(dpi)
                   .toUtf8());
    file.close();
    QProcess child;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("QT_QPA_PLATFORM", "offscreen:configfile=" + config);
    env.insert("SI32_SCREEN_CHILD", "1");
    child.setProcessEnvironment(env);
    child.start(QCoreApplication::applicationFilePath(), {QStringLiteral("--gtest_filter=") + test});
    ASSERT_TRUE(child.waitForFinished(60000));
    const QString out = QString::fromLocal8Bit(child.readAllStandardOutput());
    EXPECT_EQ(child.exitCode(), 0) << out.toStdString();
    EXPECT_TRUE(out.contains("[  PASSED  ] 1 test")) << out.toStdString();
}

bool inChild() { return qEnvironmentVariableIsSet("SI32_SCREEN_CHILD"); }

TEST(LongValues, AtEveryDensity) {
    if (inChild()) GTEST_SKIP() << "run from the parent only";
    for (const int dpi : {96, 144, 192}) {
        SCOPED_TRACE(dpi);
        runOnScreen("LongValues.EveryCutFieldShowsWholeLinesEndingInAnEllipsis", 3840, 2400, dpi);
    }
}

TEST(SmallScreens, TheWholeWindowFitsTheWorkArea) {
    WindowRun run(viewMachine());
    ASSERT_TRUE(run.startAndActivate());
    const WindowView& view = *run.view;
    const QScreen& screen = *view.screen();
    const TwipsScale design = TwipsScale::of(&screen);
    const QSize designed(design.x(kClientWidthTwips), design.y(kClientHeightTwips));
    const QSize room = screen.availableGeometry().size().shrunkBy(expectedFrameMargins());
    const QWidget* scroller = view.findChild<QWidget*>("scroller");
    if (designed.width() <= room.width() && designed.height() <= room.height()) {
        EXPECT_EQ(view.zoom(), 1);
        EXPECT_EQ(view.size(), designed) << "a window that fits is left as designed";
        EXPECT_EQ(view.font().pointSizeF(), 8);
        EXPECT_EQ(scroller, nullptr);
        return;
    }
    EXPECT_LT(view.zoom(), 1);
    EXPECT_LE(view.width(), room.width());
    EXPECT_LE(view.height(), room.height());
    EXPECT_NEAR(view.font().pointSizeF(), 8 * view.zoom(), 0.01) << "the font shrinks with the window";
    EXPECT_GE(QFontMetricsF(view.font()).height(), 9) << "still legible";
    // Scaled as a whole: the layout keeps its proportions.
    const QWidget* hardware = view.controlWidget("SSFrame2");
    EXPECT_NEAR(double(hardware->width()) / designed.width() / view.zoom(), 4572.0 / kClientWidthTwips, 0.01);
    const QSize whole(view.scale().x(kClientWidthTwips), view.scale().y(kClientHeightTwips));
    if (whole.width() <= room.width() && whole.height() <= room.height()) {
        EXPECT_EQ(scroller, nullptr);
        EXPECT_EQ(view.size(), whole);
        // Every control inside the window.
        for (const auto& control : run.session->form.controls()) {
            const QWidget* widget = view.controlWidget(control.key());
            const QRect inWindow(widget->mapTo(&view, QPoint(0, 0)), widget->size());
            EXPECT_TRUE(view.rect().contains(inWindow) || !control.visible || control.autoSize) << control.key();
        }
    } else {
        ASSERT_NE(scroller, nullptr) << "too big even at the smallest legible size: it scrolls";
        EXPECT_EQ(scroller->size(), view.size());
    }
}

TEST(SmallScreens, OnCommonScreens) {
    if (inChild()) GTEST_SKIP() << "run from the parent only";
    struct Case {
        int width, height, dpi;
    };
    for (const Case c : {Case{2560, 1600, 96}, Case{1280, 800, 144}, Case{1920, 1080, 192}, Case{640, 480, 96}}) {
        SCOPED_TRACE(std::to_string(c.width) + "x" + std::to_string(c.height) + "@" + std::to_string(c.dpi));
        runOnScreen("SmallScreens.TheWholeWindowFitsTheWorkArea", c.width, c.height, c.dpi);
    }
}

}  // namespace
}  // namespace si32::viewtest
