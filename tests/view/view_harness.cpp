#include "tests/view/view_harness.h"
#include "tests/support/source_dir.h"

#include <gtest/gtest.h>
#include <QTest>
#include <cstdlib>
#include <fstream>

namespace si32::viewtest {

namespace {

int g_argc = 1;
char g_name[] = "si32";
char* g_argv[] = {g_name, nullptr};
QApplication* g_app = nullptr;

// The application ends with the tests, while Qt's own globals still stand;
// left to the exit handlers it would outlive them.
class QtApplicationEnvironment : public ::testing::Environment {
public:
    void TearDown() override {
        delete g_app;
        g_app = nullptr;
    }
};

const auto* const g_environment = ::testing::AddGlobalTestEnvironment(new QtApplicationEnvironment);

}  // namespace

QApplication& app() {
    if (g_app == nullptr) {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
        g_app = new QApplication(g_argc, g_argv);
    }
    return *g_app;
}

nlohmann::json viewMachine() {
    std::ifstream in(si32::testsupport::sourceFile("tests/view/view_machine.json"));
    return nlohmann::json::parse(in);
}

WindowRun::WindowRun(const nlohmann::json& description) : text(description.dump()) {
    app();
    machine = std::make_unique<SimMachine>(SimMachine::Text{text, "view_machine.json", "."}, frontend);
    session = std::make_unique<Session>(machine->platform());
    view = std::make_unique<WindowView>(*session);
    view->onEnded = [this] { ++endedCalls; };
    view->shownMessages = [this] { return frontend.shownMessages; };
    view->onActivated = [this] { ++activations; };
}

WindowRun::~WindowRun() {
    view.reset();
    // Let deferred deletions (the backdrop) happen before the next run.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

bool WindowRun::startAndActivate() {
    if (!view->start()) return false;
    return QTest::qWaitForWindowActive(view.get());
}

}  // namespace si32::viewtest
