#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/si32mod/sim_harness.h"
#include "window/si9x.h"

namespace si32::modtest {
namespace {

TEST(ListMidiDevices, MarksDeviceZeroAndSeparatesLinesWithCrLf) {
    struct Case {
        std::vector<std::string> devices;
        std::string expected;
    };
    const std::string name31(31, 'N');
    const std::vector<Case> cases = {
        {{"MPU-401"}, "MPU-401 (default)"},
        {{"MPU-401", "Synth", "Wavetable"}, "MPU-401 (default)\r\nSynth\r\nWavetable"},
        {{name31}, name31 + " (default)"},
        {{name31 + "cut"}, name31 + " (default)"},
        {{"", "Second"}, " (default)\r\nSecond"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.expected);
        SimHarness h(nlohmann::json{{"midi_devices", c.devices}});
        Si9x form;
        EXPECT_EQ(h.mod.ListMidiDevices(form), static_cast<int16_t>(c.devices.size()));
        EXPECT_EQ(form.control("MidiDevs").text, c.expected);
    }
}

TEST(ListMidiDevices, NoDevicesLeavesTheBoxAsItWas) {
    for (const nlohmann::json& d :
         {nlohmann::json::object(), nlohmann::json{{"failing_calls", {"midiOutGetNumDevs"}}}}) {
        SimHarness h(d);
        Si9x form;
        form.control("MidiDevs").text = "as designed";
        EXPECT_EQ(h.mod.ListMidiDevices(form), 0);
        EXPECT_EQ(form.control("MidiDevs").text, "as designed");
    }
}

TEST(ListMidiDevices, ADeviceThatCannotBeAskedIsNotGivenAnotherDevicesName) {
    SimHarness h(nlohmann::json{{"midi_devices", {"One", "Two"}}, {"failing_calls", {"midiOutGetDevCapsA"}}});
    Si9x form;
    EXPECT_EQ(h.mod.ListMidiDevices(form), 2);
    EXPECT_EQ(form.control("MidiDevs").text, " (default)\r\n");
}

TEST(GetIniString, ValueOrUnknown) {
    struct Case {
        const char* section;
        const char* key;
        const char* file;
        std::string expected;
    };
    const std::string longValue(300, 'v');
    const std::vector<Case> cases = {
        {"boot.description", "keyboard.typ", "system.ini", "Standard 101/102-Key"},
        {"BOOT.DESCRIPTION", "KEYBOARD.TYP", "C:\\WINDOWS\\SYSTEM.INI", "Standard 101/102-Key"},
        {"boot.description", "empty", "system.ini", "unknown"},
        {"boot.description", "missing", "system.ini", "unknown"},
        {"missing", "keyboard.typ", "system.ini", "unknown"},
        {"boot.description", "keyboard.typ", "nofile.ini", "unknown"},
        {"boot.description", "long", "system.ini", std::string(254, 'v')},
        {"boot.description", "exact", "system.ini", std::string(254, 'e')},
    };
    SimHarness h(nlohmann::json{
        {"directories", {{"windows", "C:\\WINDOWS"}}},
        {"files",
         {{"C:\\WINDOWS\\system.ini",
           {{"text", "[boot.description]\r\nkeyboard.typ = Standard 101/102-Key\r\nempty=\r\nlong=" + longValue +
                         "\r\nexact=" + std::string(254, 'e') + "\r\n"}}}}}});
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.section) + "/" + c.key + " in " + c.file);
        EXPECT_EQ(h.mod.GetIniString(c.section, c.key, c.file), c.expected);
    }
}

TEST(GetColorCount, TwoToTheBitsTimesPlanes) {
    struct Case {
        int bits, planes;
        double expected;
    };
    const std::vector<Case> cases = {
        {1, 1, 2}, {4, 1, 16}, {8, 1, 256}, {16, 1, 65536}, {24, 1, 16777216}, {32, 1, 4294967296.0}, {1, 4, 8},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.bits);
        SimHarness h(nlohmann::json{{"display", {{"bits_per_pixel", c.bits}, {"planes", c.planes}}}});
        EXPECT_EQ(h.mod.GetColorCount(h.platform.ui.GetWindowDC()), c.expected);
    }
    SimHarness none(nlohmann::json::object());
    EXPECT_EQ(none.mod.GetColorCount(0), 0.0) << "a context that cannot be asked";
    SimHarness failing(
        nlohmann::json{{"display", {{"bits_per_pixel", 8}, {"planes", 1}}}, {"failing_calls", {"GetDeviceCaps"}}});
    EXPECT_EQ(failing.mod.GetColorCount(failing.platform.ui.GetWindowDC()), 0.0);
}

TEST(GetMachineName, TheNameTheCallLeftOrItsXs) {
    struct Case {
        nlohmann::json description;
        std::string expected;
    };
    const std::vector<Case> cases = {
        {{{"computer_name", "OFFICE7"}}, "OFFICE7"},
        {{{"computer_name", std::string(31, 'C')}}, std::string(31, 'C')},
        {{{"computer_name", std::string(32, 'C')}}, std::string(32, 'X')},
        {nlohmann::json::object(), std::string(32, 'X')},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.expected);
        SimHarness h(c.description);
        EXPECT_EQ(h.mod.GetMachineName(), c.expected);
    }
}

}  // namespace
}  // namespace si32::modtest
