#pragma once
// The one frontend of the tests: it answers every message box with OK and
// keeps what the program asked of it; the screen is whatever a test sets
// (none by default).
#include <optional>
#include <string>
#include <vector>

#include "platform/ui.h"

namespace si32::testsupport {

struct Message {
    std::string prompt;
    int32_t style;
    std::string title;
};

class RecordingFrontend : public Frontend {
public:
    int32_t ShowMessage(std::string_view prompt, int32_t style, std::string_view title) override {
        messages.push_back({std::string(prompt), style, std::string(title)});
        return IDOK;
    }
    void SetBusyPointer(bool busy) override { pointer.push_back(busy); }
    std::optional<ScreenFacts> Screen() override { return screen; }

    std::vector<std::string> prompts() const {
        std::vector<std::string> texts;
        for (const Message& m : messages) texts.push_back(m.prompt);
        return texts;
    }

    std::vector<Message> messages;
    std::vector<bool> pointer;
    std::optional<ScreenFacts> screen;
};

}  // namespace si32::testsupport
