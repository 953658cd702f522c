#pragma once
// One run of the window on a simulated machine under Qt's offscreen
// platform: the real frontend, the real view, the machine of this folder.
#include <QApplication>
#include <memory>
#include <string>

#include <nlohmann/json.hpp>

#include "app/session.h"
#include "app/view/qt_frontend.h"
#include "app/view/window_view.h"
#include "platform/sim/sim_machine.h"

namespace si32::viewtest {

// The test program's one application object, offscreen unless told otherwise.
QApplication& app();
// tests/view/view_machine.json.
nlohmann::json viewMachine();

struct WindowRun {
    explicit WindowRun(const nlohmann::json& description);
    ~WindowRun();

    // start(), then waits until the window is active; false when it never is.
    bool startAndActivate();

    std::string text;
    QtFrontend frontend;
    std::unique_ptr<SimMachine> machine;
    std::unique_ptr<Session> session;
    std::unique_ptr<WindowView> view;
    int endedCalls = 0;
    int activations = 0;
};

}  // namespace si32::viewtest
