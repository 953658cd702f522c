#include <gtest/gtest.h>

#include <QAbstractItemView>
#include <QComboBox>
#include <QImage>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QWindow>
#include <algorithm>

#include "app/layout.h"
#include "app/startup.h"
#include "app/view/field_label.h"
#include "app/view/frame_box.h"
#include "app/view/meter_bar.h"
#include "tests/view/view_harness.h"

namespace si32::viewtest {
namespace {

const std::string kMsInfo = "C:\\Program Files\\Common Files\\Microsoft Shared\\MSINFO\\msinfo32.exe";

QString caption(const WindowRun& run, const std::string& frame) {
    return static_cast<FrameBox*>(run.view->controlWidget(frame))->caption();
}

TEST(WindowView, ShowsTheFilledWindowActiveWithTheFocusOnTheButton) {
    WindowRun run(viewMachine());
    ASSERT_TRUE(run.startAndActivate());
    const WindowView& view = *run.view;

    EXPECT_EQ(view.windowTitle(), "Tarvello System Information");
    EXPECT_EQ(caption(run, "SSFrame1"), "Operating System Info");
    EXPECT_EQ(caption(run, "SSFrame2"), "Hardware/Memory Info");
    EXPECT_EQ(caption(run, "SSFrame3"), "Drive Info");
    EXPECT_EQ(view.size(), QSize(view.scale().x(9480), view.scale().y(8280)));
    EXPECT_EQ(view.minimumSize(), view.maximumSize()) << "never resized";
    EXPECT_FALSE(view.windowFlags() & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint));
    EXPECT_TRUE(view.windowFlags() & Qt::WindowCloseButtonHint);

    EXPECT_EQ(QApplication::focusWidget(), view.controlWidget("Command2"));
    EXPECT_EQ(view.backdropWindow(), nullptr);
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr) << "the hourglass is gone";
    EXPECT_EQ(run.activations, 1);

    // Facts the load wrote are on the screen.
    EXPECT_EQ(static_cast<QLabel*>(view.controlWidget("Label2(3)"))->text(), "FRONTDESK");
    EXPECT_EQ(static_cast<QComboBox*>(view.controlWidget("Drive1"))->currentText(), "c: [SYSTEM]");
    EXPECT_EQ(static_cast<MeterBar*>(view.controlWidget("ProgressBar1"))->percent(),
              run.session->form.control("ProgressBar1").percent);
    EXPECT_TRUE(static_cast<QPlainTextEdit*>(view.controlWidget("MidiDevs"))->toPlainText().contains("\nOPL3"))
        << "CR LF line breaks become lines";
}

TEST(WindowView, EscapeEndsTheProgramFromEveryControlAndOtherKeysDoNot) {
    struct Case {
        const char* focus;
        Qt::Key key;
        bool ends;
    };
    const Case cases[] = {
        {"Command2", Qt::Key_Escape, true}, {"Drive1", Qt::Key_Escape, true},
        {"MidiDevs", Qt::Key_Escape, true}, {"lblVolFlags", Qt::Key_Escape, true},
        {"Command2", Qt::Key_A, false},     {"Drive1", Qt::Key_F5, false},
        {"MidiDevs", Qt::Key_Down, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.focus) + " key " + std::to_string(c.key));
        WindowRun run(viewMachine());
        ASSERT_TRUE(run.startAndActivate());
        run.view->controlWidget(c.focus)->setFocus();
        QTest::keyClick(run.view->windowHandle(), c.key);
        EXPECT_EQ(run.session->form.Ended, c.ends);
        EXPECT_EQ(run.endedCalls, c.ends ? 1 : 0);
        EXPECT_EQ(run.view->isVisible(), !c.ends);
    }
}

TEST(WindowView, EscapeInTheOpenDriveListEndsTheProgram) {
    WindowRun run(viewMachine());
    ASSERT_TRUE(run.startAndActivate());
    auto* drives = static_cast<QComboBox*>(run.view->controlWidget("Drive1"));
    drives->setFocus();
    drives->showPopup();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(drives->view()->window()));
    QTest::keyClick(drives->view()->window()->windowHandle(), Qt::Key_Escape);
    EXPECT_TRUE(run.session->form.Ended);
}

TEST(WindowView, AltMPressesTheButton) {
    WindowRun run(viewMachine());
    ASSERT_TRUE(run.startAndActivate());
    run.view->controlWidget("MidiDevs")->setFocus();
    const auto before = run.machine->started();
    QTest::keyClick(run.view->windowHandle(), Qt::Key_M, Qt::AltModifier);
    // An access key presses the button the way a click does, after its
    // short pressed-down look.
    auto expected = before;
    expected.push_back(kMsInfo);
    EXPECT_TRUE(QTest::qWaitFor([&] { return run.machine->started() == expected; }, 2000));
    EXPECT_FALSE(run.session->form.Ended);
}

TEST(WindowView, PickingADriveRefillsDriveInfo) {
    WindowRun run(viewMachine());
    ASSERT_TRUE(run.startAndActivate());
    auto* drives = static_cast<QComboBox*>(run.view->controlWidget("Drive1"));
    const auto* type = static_cast<QLabel*>(run.view->controlWidget("Label2(17)"));
    const QString fixedType = type->text();
    drives->setFocus();
    QTest::keyClick(run.view->windowHandle(), Qt::Key_Down);
    EXPECT_EQ(run.session->form.Drive1Drive(), "d: [TARVELLO]");
    EXPECT_EQ(drives->currentText(), "d: [TARVELLO]");
    EXPECT_NE(type->text(), fixedType);
    EXPECT_EQ(type->text().toStdString(), run.session->form.Label2(17).text);
}

TEST(WindowView, TabVisitsTheFourFocusableControlsInTheirOrder) {
    WindowRun run(viewMachine());
    ASSERT_TRUE(run.startAndActivate());
    std::vector<std::string> visited;
    for (int i = 0; i < 4; ++i) {
        QTest::keyClick(run.view->windowHandle(), Qt::Key_Tab);
        visited.push_back(QApplication::focusWidget()->objectName().toStdString());
    }
    EXPECT_EQ(visited, (std::vector<std::string>{"MidiDevs", "lblVolFlags", "Drive1", "Command2"}));
}

TEST(WindowView, EveryActivationPutsTheFocusBackOnTheButtonAndNothingElse) {
    WindowRun run(viewMachine());
    ASSERT_TRUE(run.startAndActivate());
    run.view->controlWidget("MidiDevs")->setFocus();
    QWidget other;
    other.show();
    other.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&other));
    run.view->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(run.view.get()));
    EXPECT_EQ(run.activations, 2);
    EXPECT_EQ(QApplication::focusWidget(), run.view->controlWidget("Command2"));
    EXPECT_EQ(run.view->backdropWindow(), nullptr);
}

TEST(WindowView, BackdropStandsInTheWindowsPlaceUntilActivation) {
    WindowRun run(viewMachine());
    Form_Load(*run.session);
    const QWidget* backdrop = run.view->backdropWindow();
    ASSERT_NE(backdrop, nullptr);
    EXPECT_TRUE(backdrop->isVisible());
    EXPECT_EQ(backdrop->windowTitle(), "Tarvello System Information");
    EXPECT_TRUE(backdrop->windowFlags().testFlag(Qt::Tool)) << "kept out of the taskbar";
    EXPECT_EQ(backdrop->size(), run.view->size());
    const auto& scale = run.view->scale();
    EXPECT_EQ(backdrop->pos(), QPoint(scale.x(run.session->form.Left), scale.y(run.session->form.Top)));
    EXPECT_FALSE(backdrop->windowIcon().isNull());
    EXPECT_NE(QGuiApplication::overrideCursor(), nullptr) << "the hourglass while the facts are collected";

    run.view->sync();
    run.view->show();
    run.view->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(run.view.get()));
    EXPECT_EQ(run.view->backdropWindow(), nullptr);
}

TEST(WindowView, SecondInstanceShowsTheWarningAndNeverTheWindow) {
    auto description = viewMachine();
    description["previous_instance"] = true;
    WindowRun run(description);
    QString text, title;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QMessageBox::StandardButtons buttons;
    QTimer answer;
    QObject::connect(&answer, &QTimer::timeout, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (box == nullptr) return;
        text = box->text();
        title = box->windowTitle();
        icon = box->icon();
        buttons = box->standardButtons();
        box->accept();
    });
    answer.start(10);

    EXPECT_FALSE(run.view->start());
    EXPECT_EQ(text.toStdString(), "Tarvello System Information Application Already Running! Use the Taskbar to "
                                  "Activate.\n\nPress Ctrl + Esc to access Taskbar, then click on Tarvello System "
                                  "Information, or press Alt + Esc to change window displayed.");
    EXPECT_EQ(title, QCoreApplication::applicationName());
    EXPECT_EQ(icon, QMessageBox::Warning);
    EXPECT_EQ(buttons, QMessageBox::Ok);
    EXPECT_EQ(run.endedCalls, 1);
    EXPECT_FALSE(run.view->isVisible());
    EXPECT_EQ(run.view->backdropWindow(), nullptr);
    EXPECT_TRUE(run.machine->started().empty());
}

TEST(WindowView, FieldsKeepTheirPlaceWhateverTheirText) {
    WindowRun run(viewMachine());
    ASSERT_TRUE(run.startAndActivate());
    WindowView& view = *run.view;
    Si9x& form = run.session->form;
    const auto& scale = view.scale();

    // Every control that is not sized to its text stands at its design
    // place, inside its frame.
    for (const auto& control : form.controls()) {
        if (control.autoSize) continue;
        const QWidget* widget = view.controlWidget(control.key());
        ASSERT_NE(widget, nullptr) << control.key();
        EXPECT_EQ(widget->geometry(), scale.rect(control.geometry)) << control.key();
        const std::string container = control.container.empty() ? "si9x" : control.container;
        EXPECT_EQ(widget->parentWidget()->objectName().toStdString(), container) << control.key();
    }

    const std::string longText(400, 'W');
    form.Label2(0).text = longText;
    form.Label2(8).text = longText + " " + longText;
    form.control("Label9").text = "Free Physical Memory Right Now";
    form.control("ProgressBar2").visible = false;
    view.sync();
    EXPECT_EQ(view.controlWidget("Label2(0)")->geometry(), scale.rect(form.Label2(0).geometry));
    EXPECT_EQ(view.controlWidget("Label2(8)")->geometry(), scale.rect(form.Label2(8).geometry));
    EXPECT_TRUE(view.controlWidget("ProgressBar2")->isHidden());

    // Blanks after a name are not text that runs out of room.
    auto* volume = view.controlWidget("lblVolName");
    form.control("lblVolName").text = "LAPTOP";
    view.sync();
    const QImage plain = volume->grab().toImage();
    form.control("lblVolName").text = "LAPTOP" + std::string(300, ' ');
    view.sync();
    EXPECT_EQ(volume->grab().toImage(), plain);

    // A heading sized to its text grows to the right from its left edge; a
    // right-aligned caption sized to its text keeps its right edge.
    auto* heading = static_cast<FieldLabel*>(view.controlWidget("Label9"));
    EXPECT_EQ(heading->x(), scale.x(576));
    EXPECT_GE(heading->width(), heading->fontMetrics().horizontalAdvance(heading->text()));
    const auto& colours = form.Label1(15).geometry;
    const QWidget* colourCaption = view.controlWidget("Label1(15)");
    EXPECT_EQ(colourCaption->x() + colourCaption->width(), scale.x(colours.left) + scale.x(colours.width));
}

}  // namespace
}  // namespace si32::viewtest
