// Version guards, the class error and the silent mode, over simulated
// systems of both lines; and the metric members against their indices.
#include <gtest/gtest.h>

#include <cctype>
#include <functional>
#include <string>

#include "screeninfo/screen_info.h"
#include "tests/platform/sim/sim_test_support.h"

namespace si32 {
namespace {

using simtest::TestMachine;

// Every parameter a guarded member reads is present and non-zero, so a
// member that reaches the platform cannot pass for one that was refused.
std::string machineJson(std::string_view version) {
    return std::string(R"({ "version": )") + std::string(version) + R"(,
      "display": { "logpixelsy": 96,
        "metrics": { "76": -1280, "77": -5, "78": 2560, "79": 1024, "80": 2, "81": 1 },
        "parameters": { "115": "C:\\WINDOWS\\clouds.bmp",
          "0x1002": 1, "0x1004": 1, "0x1006": 1, "0x1008": 1, "0x100A": 1, "0x100E": 1,
          "0x1012": 1, "0x1014": 1, "0x1016": 1, "0x1018": 1, "0x103E": 1,
          "0x2000": 200000, "0x2004": 3 } } })";
}

struct System {
    const char* name;
    const char* version;
    bool passesA;
    bool passesB;
};

const System kSystems[] = {
    {"NT 5.1", R"({ "platform_id": 2, "major": 5, "minor": 1, "build": 2600 })", true, true},
    {"NT 5.0", R"({ "platform_id": 2, "major": 5, "minor": 0, "build": 2195 })", true, true},
    {"NT 6.0", R"({ "platform_id": 2, "major": 6, "minor": 0, "build": 6000 })", false, false},
    {"NT 4.0", R"({ "platform_id": 2, "major": 4, "minor": 0, "build": 1381 })", false, false},
    {"Windows 98", R"({ "platform_id": 1, "major": 4, "minor": 10, "build": 67766222 })", true, false},
    {"Windows 95", R"({ "platform_id": 1, "major": 4, "minor": 0, "build": 67109814 })", false, false},
    // A Linux host reports a platform identifier Windows never uses.
    {"host kernel", R"({ "platform_id": 7, "major": 6, "minor": 1, "build": 0 })", false, false},
};

enum class G { A, B };

struct GuardedUse {
    const char* name;
    G guard;
    // What the use answers as a number (0 for a setter), and what it answers
    // when it runs on the machine above.
    std::function<int64_t(ScreenInfo&)> use;
    int64_t answerWhenRun;
    bool reachesSpi;  // false for the metric members
};

const std::vector<GuardedUse>& guardedUses() {
    static const std::vector<GuardedUse> uses = {
        {"DesktopWallpaper", G::B, [](ScreenInfo& s) { return int64_t(s.DesktopWallpaper().size()); }, 21, true},
        {"MenuAnimation", G::A, [](ScreenInfo& s) { return int64_t(s.MenuAnimation()); }, 1, true},
        {"SetMenuAnimation", G::A, [](ScreenInfo& s) { return s.SetMenuAnimation(true), 0; }, 0, true},
        {"MenuFade", G::B, [](ScreenInfo& s) { return int64_t(s.MenuFade()); }, 1, true},
        {"SetMenuFade", G::B, [](ScreenInfo& s) { return s.SetMenuFade(true), 0; }, 0, true},
        {"ComboBoxAnimation", G::A, [](ScreenInfo& s) { return int64_t(s.ComboBoxAnimation()); }, 1, true},
        {"SetComboBoxAnimation", G::A, [](ScreenInfo& s) { return s.SetComboBoxAnimation(false), 0; }, 0, true},
        {"ListboxSmoothScrolling", G::A, [](ScreenInfo& s) { return int64_t(s.ListboxSmoothScrolling()); }, 1, true},
        {"SetListboxSmoothScrolling", G::A, [](ScreenInfo& s) { return s.SetListboxSmoothScrolling(true), 0; }, 0,
         true},
        {"GradientCaptions", G::A, [](ScreenInfo& s) { return int64_t(s.GradientCaptions()); }, 1, true},
        {"SetGradientCaptions", G::A, [](ScreenInfo& s) { return s.SetGradientCaptions(true), 0; }, 0, true},
        {"MenuKeysAlwaysUnderlined", G::A, [](ScreenInfo& s) { return int64_t(s.MenuKeysAlwaysUnderlined()); }, 1,
         true},
        {"SetMenuKeysAlwaysUnderlined", G::A, [](ScreenInfo& s) { return s.SetMenuKeysAlwaysUnderlined(true), 0; }, 0,
         true},
        {"HotTracking", G::A, [](ScreenInfo& s) { return int64_t(s.HotTracking()); }, 1, true},
        {"SetHotTracking", G::A, [](ScreenInfo& s) { return s.SetHotTracking(true), 0; }, 0, true},
        {"SelectionFade", G::B, [](ScreenInfo& s) { return int64_t(s.SelectionFade()); }, 1, true},
        {"SetSelectionFade", G::B, [](ScreenInfo& s) { return s.SetSelectionFade(true), 0; }, 0, true},
        {"TooltipAnimation", G::B, [](ScreenInfo& s) { return int64_t(s.TooltipAnimation()); }, 1, true},
        {"SetTooltipAnimation", G::B, [](ScreenInfo& s) { return s.SetTooltipAnimation(true), 0; }, 0, true},
        {"TooltipFade", G::B, [](ScreenInfo& s) { return int64_t(s.TooltipFade()); }, 1, true},
        {"SetTooltipFade", G::B, [](ScreenInfo& s) { return s.SetTooltipFade(true), 0; }, 0, true},
        {"UIEffects", G::B, [](ScreenInfo& s) { return int64_t(s.UIEffects()); }, 1, true},
        {"SetUIEffects", G::B, [](ScreenInfo& s) { return s.SetUIEffects(true), 0; }, 0, true},
        {"ForegroundLockTimeOut", G::A, [](ScreenInfo& s) { return int64_t(s.ForegroundLockTimeOut()); }, 200000, true},
        {"SetForegroundLockTimeOut", G::A, [](ScreenInfo& s) { return s.SetForegroundLockTimeOut(0), 0; }, 0, true},
        {"ForegroundFlashCount", G::A, [](ScreenInfo& s) { return int64_t(s.ForegroundFlashCount()); }, 3, true},
        {"SetForegroundFlashCount", G::A, [](ScreenInfo& s) { return s.SetForegroundFlashCount(7), 0; }, 0, true},
        {"VirtualScreenX", G::A, [](ScreenInfo& s) { return int64_t(s.VirtualScreenX()); }, -1280, false},
        {"VirtualScreenY", G::A, [](ScreenInfo& s) { return int64_t(s.VirtualScreenY()); }, -5, false},
        {"VirtualScreenWidth", G::A, [](ScreenInfo& s) { return int64_t(s.VirtualScreenWidth()); }, 2560, false},
        {"VirtualScreenHeight", G::A, [](ScreenInfo& s) { return int64_t(s.VirtualScreenHeight()); }, 1024, false},
        {"MonitorCount", G::A, [](ScreenInfo& s) { return int64_t(s.MonitorCount()); }, 2, false},
        {"SameDisplayFormat", G::A, [](ScreenInfo& s) { return int64_t(s.SameDisplayFormat()); }, 1, false},
    };
    return uses;
}

class GuardTest : public ::testing::TestWithParam<System> {};

TEST_P(GuardTest, GuardedMembersRunOnlyWhereTheSystemOffersThem) {
    const System& system = GetParam();
    for (const GuardedUse& use : guardedUses()) {
        SCOPED_TRACE(use.name);
        const bool passes = use.guard == G::A ? system.passesA : system.passesB;
        TestMachine machine(machineJson(system.version));
        ScreenInfo info(machine.platform().kernel, machine.platform().ui);
        const size_t callsBefore = machine.machine->spiLog().size();

        if (passes) {
            EXPECT_EQ(use.use(info), use.answerWhenRun);
            EXPECT_EQ(machine.machine->spiLog().size(), callsBefore + (use.reachesSpi ? 1 : 0));
            continue;
        }
        try {
            use.use(info);
            ADD_FAILURE() << "expected the class error";
        } catch (const ScreenInfoError& error) {
            EXPECT_EQ(error.number(), -2147216390);
            EXPECT_EQ(error.number(), static_cast<int32_t>(0x80040000u + 5114));
            EXPECT_EQ(error.source(), "Screen");
            EXPECT_EQ(error.description(), "Invalid for this operating system.");
        }
        info.RaiseErrors = false;
        EXPECT_EQ(use.use(info), 0);
        EXPECT_EQ(machine.machine->spiLog().size(), callsBefore) << "a refused member must not reach the platform";
    }
}

INSTANTIATE_TEST_SUITE_P(Systems, GuardTest, ::testing::ValuesIn(kSystems), [](const auto& info) {
    std::string name = info.param.name;
    for (char& c : name)
        if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
    return name;
});

TEST(ScreenInfoCreation, FailingVersionCallRefusesEveryGuardedMember) {
    TestMachine machine(R"({ "version": { "platform_id": 2, "major": 5, "minor": 1, "build": 2600 },
                            "failing_calls": [ "GetVersionExA" ] })");
    ScreenInfo info(machine.platform().kernel, machine.platform().ui);
    EXPECT_THROW(info.MenuAnimation(), ScreenInfoError);
    EXPECT_THROW(info.MenuFade(), ScreenInfoError);
}

TEST(ScreenInfoCreation, WallpaperIsGuardedOnReadingOnly) {
    TestMachine machine(machineJson(kSystems[4].version));  // Windows 98: guard B fails
    ScreenInfo info(machine.platform().kernel, machine.platform().ui);
    EXPECT_THROW(info.DesktopWallpaper(), ScreenInfoError);
    EXPECT_NO_THROW(info.SetDesktopWallpaper("C:\\WINDOWS\\setup.bmp"));
    ASSERT_FALSE(machine.machine->spiLog().empty());
    EXPECT_EQ(machine.machine->spiLog().back().action, SPI_SETDESKWALLPAPER);
}

// Each metric member reads its own index; the values are all different, so a
// swapped or mistyped index shows.
TEST(ScreenInfoMetrics, EachMemberReadsItsIndex) {
    const std::vector<std::pair<std::function<int32_t(ScreenInfo&)>, int32_t>> members = {
        {&ScreenInfo::ScreenX, 0},
        {&ScreenInfo::ScreenY, 1},
        {&ScreenInfo::IconSizeX, 11},
        {&ScreenInfo::IconSizeY, 12},
        {&ScreenInfo::CaptionBarButtonX, 30},
        {&ScreenInfo::CaptionBarButtonY, 31},
        {&ScreenInfo::FullScreenX, 16},
        {&ScreenInfo::FullScreenY, 17},
        {&ScreenInfo::IconSpacingX, 38},
        {&ScreenInfo::IconSpacingY, 39},
        {&ScreenInfo::MaximizedX, 61},
        {&ScreenInfo::MaximizedY, 62},
        {&ScreenInfo::MaxTrackX, 59},
        {&ScreenInfo::MaxTrackY, 60},
        {&ScreenInfo::MenuCheckX, 71},
        {&ScreenInfo::MenuCheckY, 72},
        {&ScreenInfo::MinimumX, 28},
        {&ScreenInfo::MinimumY, 29},
        {&ScreenInfo::MinimizedX, 57},
        {&ScreenInfo::MinimizedY, 58},
        {&ScreenInfo::MinSpacingX, 47},
        {&ScreenInfo::MinSpacingY, 48},
        {&ScreenInfo::MinTrackX, 34},
        {&ScreenInfo::MinTrackY, 35},
        {&ScreenInfo::VirtualScreenX, 76},
        {&ScreenInfo::VirtualScreenY, 77},
        {&ScreenInfo::VirtualScreenWidth, 78},
        {&ScreenInfo::VirtualScreenHeight, 79},
        {&ScreenInfo::MonitorCount, 80},
        {&ScreenInfo::SmallIconX, 49},
        {&ScreenInfo::SmallIconY, 50},
        {&ScreenInfo::KanjiWindow, 18},
        {&ScreenInfo::CaptionHeight, 4},
        {&ScreenInfo::WindowBorderX, 5},
        {&ScreenInfo::WindowBorderY, 6},
        {&ScreenInfo::VerticalScrollX, 2},
        {&ScreenInfo::VerticalScrollY, 20},
        {&ScreenInfo::HorizontalScrollX, 21},
        {&ScreenInfo::HorizontalScrollY, 3},
        {&ScreenInfo::FixedBorderX, 7},
        {&ScreenInfo::FixedBorderY, 8},
        {&ScreenInfo::ThumbX, 10},
        {&ScreenInfo::ThumbY, 9},
        {&ScreenInfo::MenuHeight, 15},
        {&ScreenInfo::SizingBorderX, 32},
        {&ScreenInfo::SizingBorderY, 33},
        {&ScreenInfo::Border3DX, 45},
        {&ScreenInfo::Border3DY, 46},
        {&ScreenInfo::SmallCaption, 51},
        {&ScreenInfo::CaptionButtonX, 52},
        {&ScreenInfo::CaptionButtonY, 53},
        {&ScreenInfo::MenuBarButtonsX, 54},
        {&ScreenInfo::MenuBarButtonsY, 55},
        {&ScreenInfo::IconHorizontalSpacing, 38},
        {&ScreenInfo::IconVerticalSpacing, 39},
    };
    std::string metrics;
    for (int index = 0; index <= 81; ++index)
        metrics += (index ? ", \"" : "\"") + std::to_string(index) + "\": " + std::to_string(1000 + index);
    TestMachine machine(std::string(R"({ "version": { "platform_id": 2, "major": 5, "minor": 1, "build": 2600 },
                                        "display": { "metrics": { )") +
                        metrics + "} } }");
    ScreenInfo info(machine.platform().kernel, machine.platform().ui);
    for (const auto& [member, index] : members) EXPECT_EQ(member(info), 1000 + index) << "index " << index;
    EXPECT_TRUE(info.PenWindows());
    EXPECT_TRUE(info.SameDisplayFormat());
}

TEST(ScreenInfoMetrics, BooleanMetricsAreFalseOnlyForZero) {
    TestMachine machine(R"({ "version": { "platform_id": 2, "major": 5, "minor": 1, "build": 2600 },
                            "display": { "metrics": { "41": 0, "81": -1 } } })");
    ScreenInfo info(machine.platform().kernel, machine.platform().ui);
    EXPECT_FALSE(info.PenWindows());
    EXPECT_TRUE(info.SameDisplayFormat());
}

// A failing platform call raises nothing: readings answer what their zeroed
// variables hold.
TEST(ScreenInfoFailures, FailingPlatformCallsReadAsZero) {
    TestMachine machine(R"({ "version": { "platform_id": 2, "major": 5, "minor": 1, "build": 2600 },
                            "display": { "metrics": { "0": 1024 }, "parameters": { "0x1012": 1, "0x1F": {
                              "height": -11, "face_name": "Tahoma" } } },
                            "failing_calls": [ "GetSystemMetrics", "SystemParametersInfoA" ] })");
    ScreenInfo info(machine.platform().kernel, machine.platform().ui);
    EXPECT_EQ(info.ScreenX(), 0);
    EXPECT_FALSE(info.MenuFade());
    EXPECT_EQ(info.IconFontName(), "");
    EXPECT_EQ(info.DesktopWallpaper(), "");
    int32_t left = 7, top = 7, right = 7, bottom = 7;
    info.GetWorkarea(left, top, right, bottom);
    EXPECT_EQ(left + top + right + bottom, 0);
    EXPECT_NO_THROW(info.SetMenuFade(true));
}

}  // namespace
}  // namespace si32
