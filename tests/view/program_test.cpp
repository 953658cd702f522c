#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QProcess>
#include <QProcessEnvironment>
#include <QTemporaryDir>
#include <cstdlib>
#include <string>

#include "tests/support/source_dir.h"

namespace {

struct Outcome {
    bool finished = false;
    int status = -1;
    QStringList errorLines;
};

// Runs bin/si32 with the test's environment changed as given; a run that
// hangs is killed and reported as not finished.
Outcome runSi32(const QStringList& unset, const QStringList& set) {
    const char* binary = std::getenv("SI32_BINARY_DIR");
    QProcess process;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    // Qt warns on standard error without a private runtime directory; the
    // program's own lines are what is looked at here.
    const QTemporaryDir runtime;
    env.insert("XDG_RUNTIME_DIR", runtime.path());
    for (const auto& name : unset) env.remove(name);
    for (const auto& pair : set) env.insert(pair.section('=', 0, 0), pair.section('=', 1));
    process.setProcessEnvironment(env);
    process.start(QString::fromLocal8Bit(binary != nullptr ? binary : ".") + "/bin/si32", {});
    Outcome outcome;
    outcome.finished = process.waitForFinished(20000);
    if (!outcome.finished) {
        process.kill();
        process.waitForFinished();
        return outcome;
    }
    outcome.status = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    outcome.errorLines = QString::fromLocal8Bit(process.readAllStandardError()).split('\n', Qt::SkipEmptyParts);
    return outcome;
}

std::string machine(const char* name) { return si32::testsupport::sourceFile(std::string("tests/view/") + name); }

TEST(Si32Program, WithoutADisplayItSaysSoInOneLineAndPointsToTheReport) {
    const QStringList noDisplay = {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"};
    struct Case {
        const char* what;
        QStringList set;
    };
    const Case cases[] = {
        {"nothing named", {}},
        {"a display nobody serves", {"DISPLAY=:9731"}},
        {"a platform Qt does not have", {"QT_QPA_PLATFORM=nowhere"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const Outcome outcome = runSi32(noDisplay, c.set);
        ASSERT_TRUE(outcome.finished);
        EXPECT_EQ(outcome.status, 1);
        ASSERT_EQ(outcome.errorLines.size(), 1) << outcome.errorLines.join('|').toStdString();
        EXPECT_TRUE(outcome.errorLines[0].contains("si32-report")) << outcome.errorLines[0].toStdString();
    }
}

TEST(Si32Program, EndsWithItsStatusOnEveryPath) {
    struct Case {
        const char* what;
        QStringList set;
        int status;
        bool oneErrorLine;
    };
    const QString sim = QString::fromStdString(machine("view_machine.json"));
    const Case cases[] = {
        {"runs to its first activation", {"SI32_MACHINE=" + sim, "SI32_EXIT_AFTER_ACTIVATION=1"}, 0, false},
        {"unusable machine description", {"SI32_MACHINE=" + sim + ".missing"}, 2, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        QStringList set = c.set;
        set << "QT_QPA_PLATFORM=offscreen";
        const Outcome outcome = runSi32({}, set);
        ASSERT_TRUE(outcome.finished);
        EXPECT_EQ(outcome.status, c.status);
        if (c.oneErrorLine) {
            EXPECT_EQ(outcome.errorLines.size(), 1) << outcome.errorLines.join('|').toStdString();
        }
    }
}

}  // namespace
