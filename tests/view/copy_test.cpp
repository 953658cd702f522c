// Copying out of the window: selections by mouse and keyboard, and the whole
// window as the report's text.
#include <gtest/gtest.h>

#include <QAction>
#include <QClipboard>
#include <QComboBox>
#include <QMenu>
#include <QTemporaryDir>
#include <QTest>
#include <fstream>

#include "app/view/field_label.h"
#include "tests/support/run_report.h"
#include "tests/view/view_harness.h"

namespace si32::viewtest {
namespace {

QAction* action(QMenu& menu, const QString& text) {
    for (QAction* a : menu.actions())
        if (a->text() == text) return a;
    return nullptr;
}

TEST(Copy, ValueFieldsSelectByMouseAndKeyboardWithoutBecomingTabStops) {
    WindowRun run(viewMachine());
    ASSERT_TRUE(run.startAndActivate());
    for (const auto& control : run.session->form.controls()) {
        if (control.kind != ControlKind::Label) continue;
        const auto* field = static_cast<const FieldLabel*>(run.view->controlWidget(control.key()));
        const bool value = !control.autoSize && control.alignment == Align::Left;
        SCOPED_TRACE(control.key());
        EXPECT_EQ(field->isSelectable(), value);
        EXPECT_FALSE(field->focusPolicy() & Qt::TabFocus);
    }

    // A drag over a value selects it; Ctrl+C copies the selection.
    auto* name = static_cast<FieldLabel*>(run.view->controlWidget("Label2(3)"));
    const QPoint from(1, name->height() / 2);
    QTest::mousePress(name, Qt::LeftButton, {}, from);
    QTest::mouseMove(name, QPoint(name->width() - 1, from.y()));
    QTest::mouseRelease(name, Qt::LeftButton, {}, QPoint(name->width() - 1, from.y()));
    EXPECT_EQ(name->selectedText(), "FRONTDESK");
    EXPECT_TRUE(name->hasFocus()) << "the press gives the value the focus the keys below need";
    name->setSelection(0, 5);
    QGuiApplication::clipboard()->clear();
    QTest::keyClick(name, Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QGuiApplication::clipboard()->text(), "FRONT");
    EXPECT_TRUE(run.view->isVisible()) << "Ctrl+C is not a key that ends the program";

    // The context menu's Copy takes the selection and only that.
    auto menu = run.view->contextMenuFor(*name);
    ASSERT_NE(action(*menu, "Copy"), nullptr);
    EXPECT_TRUE(action(*menu, "Copy")->isEnabled());
    name->setSelection(5, 4);
    menu = run.view->contextMenuFor(*name);
    action(*menu, "Copy")->trigger();
    EXPECT_EQ(QGuiApplication::clipboard()->text(), "DESK");
    name->setSelection(0, 0);
    menu = run.view->contextMenuFor(*run.view->controlWidget("SSFrame1"));
    EXPECT_FALSE(action(*menu, "Copy")->isEnabled()) << "nothing selected";
}

TEST(Copy, CopyAllPutsWhatTheReportPrintsForTheMachineAndDrive) {
    const QTemporaryDir dir;
    const std::string file = dir.filePath("machine.json").toStdString();
    std::ofstream(file) << viewMachine().dump();
    for (const std::string drive : {"c", "d"}) {
        SCOPED_TRACE(drive);
        WindowRun run(viewMachine());
        ASSERT_TRUE(run.startAndActivate());
        auto* drives = static_cast<QComboBox*>(run.view->controlWidget("Drive1"));
        const int row = drives->findText(QString::fromStdString(drive), Qt::MatchStartsWith);
        ASSERT_GE(row, 0);
        drives->setCurrentIndex(row);
        emit drives->activated(row);
        auto menu = run.view->contextMenuFor(*run.view->controlWidget("Label2(17)"));
        ASSERT_NE(action(*menu, "Copy All"), nullptr);
        action(*menu, "Copy All")->trigger();

        const auto report = testsupport::runReport({"--drive", drive}, {"SI32_MACHINE=" + file});
        ASSERT_EQ(report.status, 0) << report.err;
        EXPECT_EQ(QGuiApplication::clipboard()->text().toStdString(), report.out);
        EXPECT_NE(report.out.find("Drive:"), std::string::npos);
    }
}

}  // namespace
}  // namespace si32::viewtest
