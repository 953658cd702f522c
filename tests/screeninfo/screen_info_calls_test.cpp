// What ScreenInfo hands the platform (actions, counts, pointer forms, record
// sizes and bytes, the profile flag) as the simulated machine recorded it,
// and how it turns the answers into property values.
#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "platform/run_time_error.h"
#include "platform/spi.h"
#include "screeninfo/screen_info.h"
#include "tests/platform/sim/sim_test_support.h"

namespace si32 {
namespace {

using sim::SpiCall;
using sim::SpiPointerKind;
using simtest::TestMachine;

constexpr const char* kNt51 = R"("version": { "platform_id": 2, "major": 5, "minor": 1, "build": 2600 })";

std::string machine(std::string_view display) {
    return std::string("{ ") + kNt51 + R"(, "display": )" + std::string(display) + " }";
}

// A desktop with an icon-title font, icon metrics and a work area to change.
const std::string kDesktop = machine(R"({ "logpixelsy": 96, "parameters": {
    "0x2D": { "horizontal_spacing": 75, "vertical_spacing": 75, "title_wrap": 1,
              "font": { "height": -11, "weight": 400, "char_set": 0, "face_name": "Tahoma" } },
    "0x30": { "left": 0, "top": 0, "right": 1024, "bottom": 738 },
    "0x12": 65537, "0x26": 1, "0x48": { "minimize_animation": 1 } } })");

std::vector<std::byte> bytes(std::initializer_list<int> values) {
    std::vector<std::byte> out;
    for (int v : values) out.push_back(static_cast<std::byte>(v));
    return out;
}

std::vector<std::byte> zeros(size_t n) { return std::vector<std::byte>(n); }

int32_t at32(const std::vector<std::byte>& b, size_t offset) { return spi_bytes::get32(b, offset); }

std::string faceOf(const std::vector<std::byte>& logFont) {
    std::string face;
    for (size_t i = SpiLogFont::kFaceNameOffset; i < SpiLogFont::kSize && logFont[i] != std::byte{0}; ++i)
        face.push_back(static_cast<char>(logFont[i]));
    return face;
}

struct ExpectedCall {
    const char* use;
    std::function<void(ScreenInfo&)> run;
    uint32_t action;
    uint32_t param;
    SpiPointerKind kind;
    int32_t value;                 // when kind is Value
    std::vector<std::byte> bytes;  // when kind is Memory: the memory as passed in
    uint32_t winIni;
};

TEST(ScreenInfoCalls, EachMemberPassesItsArgumentsAsTheRealCallExpects) {
    const std::vector<ExpectedCall> cases = {
        // get flag / get value: a zeroed 32-bit value, count 0, last argument 0
        {"MenuFade", [](ScreenInfo& s) { s.MenuFade(); }, 0x1012, 0, SpiPointerKind::Memory, 0, zeros(4), 0},
        {"ForegroundFlashCount", [](ScreenInfo& s) { s.ForegroundFlashCount(); }, 0x2004, 0, SpiPointerKind::Memory, 0,
         zeros(4), 0},
        {"BorderMultiplier", [](ScreenInfo& s) { s.BorderMultiplier(); }, 5, 0, SpiPointerKind::Memory, 0, zeros(4), 0},
        {"DragFullWindows", [](ScreenInfo& s) { s.DragFullWindows(); }, 0x26, 0, SpiPointerKind::Memory, 0, zeros(4),
         0},
        {"GridGranularity", [](ScreenInfo& s) { s.GridGranularity(); }, 0x12, 0, SpiPointerKind::Memory, 0, zeros(4),
         0},
        {"IconTitleWrap", [](ScreenInfo& s) { s.IconTitleWrap(); }, 0x19, 0, SpiPointerKind::Memory, 0, zeros(4), 0},
        {"MenuDropAlignment", [](ScreenInfo& s) { s.MenuDropAlignment(); }, 0x1B, 0, SpiPointerKind::Memory, 0,
         zeros(4), 0},
        // set via pointer: the value itself, True as -1, last argument 3
        {"SetMenuFade(true)", [](ScreenInfo& s) { s.SetMenuFade(true); }, 0x1013, 0, SpiPointerKind::Value, -1, {}, 3},
        {"SetHotTracking(false)",
         [](ScreenInfo& s) { s.SetHotTracking(false); },
         0x100F,
         0,
         SpiPointerKind::Value,
         0,
         {},
         3},
        {"SetMenuKeysAlwaysUnderlined(true)",
         [](ScreenInfo& s) { s.SetMenuKeysAlwaysUnderlined(true); },
         0x100B,
         0,
         SpiPointerKind::Value,
         -1,
         {},
         3},
        {"SetForegroundLockTimeOut(200000)",
         [](ScreenInfo& s) { s.SetForegroundLockTimeOut(200000); },
         0x2001,
         0,
         SpiPointerKind::Value,
         200000,
         {},
         3},
        // set via count: the value sign-extended in the count, a zeroed value
        {"SetDragFullWindows(true)", [](ScreenInfo& s) { s.SetDragFullWindows(true); }, 0x25, 0xFFFFFFFF,
         SpiPointerKind::Memory, 0, zeros(4), 3},
        {"SetGridGranularity(-5)", [](ScreenInfo& s) { s.SetGridGranularity(-5); }, 0x13, 0xFFFFFFFB,
         SpiPointerKind::Memory, 0, zeros(4), 3},
        {"SetIconTitleWrap(false)", [](ScreenInfo& s) { s.SetIconTitleWrap(false); }, 0x1A, 0, SpiPointerKind::Memory,
         0, zeros(4), 3},
        {"SetMenuDropAlignment(true)", [](ScreenInfo& s) { s.SetMenuDropAlignment(true); }, 0x1C, 0xFFFFFFFF,
         SpiPointerKind::Memory, 0, zeros(4), 3},
        // An address in the pointer would make the spacing actions read the
        // spacing instead of setting it, so they pass none.
        {"SetIconHorizontalSpacing(90)",
         [](ScreenInfo& s) { s.SetIconHorizontalSpacing(90); },
         0x0D,
         90,
         SpiPointerKind::None,
         0,
         {},
         3},
        {"SetIconVerticalSpacing(-1)",
         [](ScreenInfo& s) { s.SetIconVerticalSpacing(-1); },
         0x18,
         0xFFFFFFFF,
         SpiPointerKind::None,
         0,
         {},
         3},
        {"SetBorderMultiplier(3)",
         [](ScreenInfo& s) { s.SetBorderMultiplier(3); },
         6,
         3,
         SpiPointerKind::None,
         0,
         {},
         3},
        {"SetDeskPattern", [](ScreenInfo& s) { s.SetDeskPattern(); }, 0x15, 0, SpiPointerKind::Memory, 0, zeros(4), 0},
        // records
        {"MinAnimation", [](ScreenInfo& s) { s.MinAnimation(); }, 0x48, 8, SpiPointerKind::Memory, 0,
         bytes({8, 0, 0, 0, 0, 0, 0, 0}), 0},
        {"SetMinAnimation(true)", [](ScreenInfo& s) { s.SetMinAnimation(true); }, 0x49, 8, SpiPointerKind::Memory, 0,
         bytes({8, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0xFF}), 3},
        {"IconFontName", [](ScreenInfo& s) { s.IconFontName(); }, 0x1F, 0, SpiPointerKind::Memory, 0, zeros(60), 0},
        {"MenuFontName", [](ScreenInfo& s) { s.MenuFontName(); }, 0x1F, 0, SpiPointerKind::Memory, 0, zeros(60), 0},
        {"GetWorkarea",
         [](ScreenInfo& s) {
             int32_t l, t, r, b;
             s.GetWorkarea(l, t, r, b);
         },
         0x30, 0, SpiPointerKind::Memory, 0, zeros(16), 0},
        {"DesktopWallpaper", [](ScreenInfo& s) { s.DesktopWallpaper(); }, 115, 260, SpiPointerKind::Memory, 0,
         zeros(260), 0},
        {"SetDesktopWallpaper", [](ScreenInfo& s) { s.SetDesktopWallpaper("C:\\a.bmp"); }, 20, 0,
         SpiPointerKind::Memory, 0, bytes({'C', ':', '\\', 'a', '.', 'b', 'm', 'p', 0}), 3},
    };
    for (const ExpectedCall& expected : cases) {
        SCOPED_TRACE(expected.use);
        TestMachine sim(kDesktop);
        ScreenInfo info(sim.platform().kernel, sim.platform().ui);
        expected.run(info);
        const auto& log = sim.machine->spiLog();
        ASSERT_EQ(log.size(), 1u);
        const SpiCall& call = log.front();
        EXPECT_EQ(call.action, expected.action);
        EXPECT_EQ(call.param, expected.param);
        EXPECT_EQ(call.pointerKind, expected.kind);
        if (expected.kind == SpiPointerKind::Value) {
            EXPECT_EQ(call.value, expected.value);
        }
        EXPECT_EQ(call.bytes, expected.bytes);
        EXPECT_EQ(call.winIni, expected.winIni);
    }
}

struct ValueCase {
    const char* answer;  // the parameter as the machine holds it
    int64_t read;
};

TEST(ScreenInfoValues, DragFullWindowsAnswersTheLow16BitsUnchanged) {
    for (const ValueCase& c :
         {ValueCase{"1", 1}, ValueCase{"0", 0}, ValueCase{"65537", 1}, ValueCase{"-1", -1}, ValueCase{"65536", 0}}) {
        TestMachine sim(machine(std::string(R"({ "parameters": { "0x26": )") + c.answer + " } }"));
        ScreenInfo info(sim.platform().kernel, sim.platform().ui);
        EXPECT_EQ(info.DragFullWindows(), c.read) << c.answer;
    }
}

TEST(ScreenInfoValues, GridGranularityAnswersTheLow16BitsSignExtended) {
    for (const ValueCase& c : {ValueCase{"65537", 1}, ValueCase{"65535", -1}, ValueCase{"74565", 0x2345},
                               ValueCase{"-2", -2}, ValueCase{"32767", 32767}}) {
        TestMachine sim(machine(std::string(R"({ "parameters": { "0x12": )") + c.answer + " } }"));
        ScreenInfo info(sim.platform().kernel, sim.platform().ui);
        EXPECT_EQ(info.GridGranularity(), c.read) << c.answer;
    }
}

TEST(ScreenInfoValues, SettersRoundTripThroughThePlatform) {
    TestMachine sim(kDesktop);
    ScreenInfo info(sim.platform().kernel, sim.platform().ui);
    info.SetGridGranularity(65537);
    EXPECT_EQ(info.GridGranularity(), 1);
    info.SetDragFullWindows(true);
    EXPECT_EQ(info.DragFullWindows(), 1);  // the system keeps 1, not True's -1
    EXPECT_TRUE(info.MinAnimation());
    info.SetMinAnimation(false);
    EXPECT_FALSE(info.MinAnimation());
    info.SetForegroundLockTimeOut(12345);
    EXPECT_EQ(info.ForegroundLockTimeOut(), 12345);
    info.SetIconHorizontalSpacing(90);
    EXPECT_EQ(info.IconHorizontalSpacing(), 90);
    info.SetDesktopWallpaper("C:\\WINDOWS\\setup.bmp");
    EXPECT_EQ(info.DesktopWallpaper(), "C:\\WINDOWS\\setup.bmp");
}

struct FontSizeCase {
    int32_t height;
    int32_t dpi;
    int16_t points;
};

TEST(ScreenInfoFont, IconFontSizeReadsPointsFlooredAtTheDisplayResolution) {
    for (const FontSizeCase& c : {FontSizeCase{-11, 96, 9}, FontSizeCase{-16, 120, 10}, FontSizeCase{-12, 96, 9},
                                  FontSizeCase{-13, 96, 10}, FontSizeCase{11, 96, -8}, FontSizeCase{0, 96, 0}}) {
        TestMachine sim(machine(R"({ "logpixelsy": )" + std::to_string(c.dpi) +
                                R"(, "parameters": { "0x1F": { "height": )" + std::to_string(c.height) + " } } }"));
        ScreenInfo info(sim.platform().kernel, sim.platform().ui);
        EXPECT_EQ(info.IconFontSize(), c.points) << c.height << " at " << c.dpi;
    }
}

TEST(ScreenInfoFont, IconFontSizeStoresTheHeightAndKeepsTheRestOfTheFont) {
    for (const FontSizeCase& c :
         {FontSizeCase{-12, 96, 9}, FontSizeCase{-16, 120, 10}, FontSizeCase{-10, 96, 8}, FontSizeCase{-13, 96, 10}}) {
        TestMachine sim(machine(R"({ "logpixelsy": )" + std::to_string(c.dpi) + R"(, "parameters": {
            "0x1F": { "height": -11, "weight": 700, "italic": 1, "face_name": "Tahoma" } } })"));
        ScreenInfo info(sim.platform().kernel, sim.platform().ui);
        info.SetIconFontSize(c.points);
        const SpiCall& stored = sim.machine->spiLog().back();
        EXPECT_EQ(stored.action, 0x22u);
        EXPECT_EQ(stored.param, 60u);
        EXPECT_EQ(stored.winIni, 3u);
        ASSERT_EQ(stored.bytes.size(), 60u);
        EXPECT_EQ(at32(stored.bytes, 0), c.height) << c.points << " at " << c.dpi;
        EXPECT_EQ(at32(stored.bytes, 16), 700);
        EXPECT_EQ(stored.bytes[20], std::byte{1});
        EXPECT_EQ(faceOf(stored.bytes), "Tahoma");
    }
}

TEST(ScreenInfoFont, FontSizeProductsThatOverflowRaiseTheOverflowError) {
    TestMachine tall(machine(R"({ "logpixelsy": 96, "parameters": { "0x1F": { "height": -2147483647 } } })"));
    ScreenInfo tallInfo(tall.platform().kernel, tall.platform().ui);
    try {
        tallInfo.IconFontSize();
        ADD_FAILURE() << "expected an overflow";
    } catch (const RunTimeError& e) {
        EXPECT_EQ(e.kind(), ErrorKind::Overflow);
    }
    // The product fits, but the size does not fit 16 bits.
    TestMachine huge(machine(R"({ "logpixelsy": 96, "parameters": { "0x1F": { "height": -500000 } } })"));
    ScreenInfo hugeInfo(huge.platform().kernel, huge.platform().ui);
    EXPECT_THROW(hugeInfo.IconFontSize(), RunTimeError);

    TestMachine dense(machine(R"({ "logpixelsy": 100000, "parameters": { "0x1F": { "height": -11 } } })"));
    ScreenInfo denseInfo(dense.platform().kernel, dense.platform().ui);
    EXPECT_THROW(denseInfo.SetIconFontSize(32767), RunTimeError);
    EXPECT_EQ(dense.machine->spiLog().back().action, 0x1Fu) << "nothing may be stored after an overflow";
}

TEST(ScreenInfoFont, WithoutTheDisplayResolutionNoSizeIsReadOrStored) {
    TestMachine sim(std::string("{ ") + kNt51 + R"(, "failing_calls": [ "CreateICA" ],
        "display": { "logpixelsy": 96, "parameters": { "0x1F": { "height": -11 } } } })");
    ScreenInfo info(sim.platform().kernel, sim.platform().ui);
    EXPECT_EQ(info.IconFontSize(), 0);
    info.SetIconFontSize(9);
    for (const SpiCall& call : sim.machine->spiLog()) EXPECT_NE(call.action, 0x22u);
}

struct FaceCase {
    const char* name;
    std::string value;
    std::string stored;
};

TEST(ScreenInfoFont, IconFontNameStoresAtMost31BytesAndANul) {
    const std::string forty(40, 'W');
    // 29 ASCII bytes, then a 3-byte character that would end at byte 32.
    const std::string split = std::string(29, 'a') + "\xE2\x82\xAC";
    const std::vector<FaceCase> cases = {
        {"a 40-character name", forty, forty.substr(0, 31)},
        {"the empty name", "", ""},
        {"a short name", "Verdana", "Verdana"},
        {"exactly 31 bytes", std::string(31, 'x'), std::string(31, 'x')},
        {"a character across the limit", split, std::string(29, 'a')},
    };
    for (const FaceCase& c : cases) {
        SCOPED_TRACE(c.name);
        TestMachine sim(kDesktop);
        ScreenInfo info(sim.platform().kernel, sim.platform().ui);
        info.SetIconFontName(c.value);
        const auto& log = sim.machine->spiLog();
        ASSERT_EQ(log.size(), 2u);
        EXPECT_EQ(log[0].action, 0x2Du);
        EXPECT_EQ(log[0].param, 76u);
        ASSERT_EQ(log[0].bytes.size(), 76u);
        EXPECT_EQ(at32(log[0].bytes, 0), 76);
        const SpiCall& stored = log[1];
        EXPECT_EQ(stored.action, 0x22u);
        EXPECT_EQ(stored.param, 60u);
        EXPECT_EQ(stored.winIni, 3u);
        ASSERT_EQ(stored.bytes.size(), 60u);
        EXPECT_EQ(faceOf(stored.bytes), c.stored);
        EXPECT_EQ(stored.bytes[SpiLogFont::kFaceNameOffset + c.stored.size()], std::byte{0});
        EXPECT_EQ(at32(stored.bytes, 0), -11) << "the font's other fields come from the icon metrics";
        EXPECT_EQ(info.IconFontName(), c.stored);
        EXPECT_EQ(info.MenuFontName(), c.stored);
    }
}

TEST(ScreenInfoFont, NothingIsStoredWhenTheFontCannotBeRead) {
    TestMachine sim(machine(R"({ "logpixelsy": 96 })"));
    ScreenInfo info(sim.platform().kernel, sim.platform().ui);
    info.SetIconFontName("Verdana");
    info.SetIconFontSize(9);
    for (const SpiCall& call : sim.machine->spiLog()) EXPECT_NE(call.action, 0x22u);
}

TEST(ScreenInfoWorkArea, GetWorkareaCopiesTheFourSides) {
    TestMachine sim(kDesktop);
    ScreenInfo info(sim.platform().kernel, sim.platform().ui);
    int32_t left = -1, top = -1, right = -1, bottom = -1;
    info.GetWorkarea(left, top, right, bottom);
    EXPECT_EQ(left, 0);
    EXPECT_EQ(top, 0);
    EXPECT_EQ(right, 1024);
    EXPECT_EQ(bottom, 738);
}

struct WorkAreaCase {
    const char* name;
    std::optional<int32_t> left, top, right, bottom;
    SpiRect stored;
};

TEST(ScreenInfoWorkArea, SetWorkAreaReplacesOnlyTheSidesGiven) {
    const WorkAreaCase cases[] = {
        {"right only", std::nullopt, std::nullopt, 800, std::nullopt, {0, 0, 800, 738}},
        {"left and bottom", 10, std::nullopt, std::nullopt, 700, {10, 0, 1024, 700}},
        {"none", std::nullopt, std::nullopt, std::nullopt, std::nullopt, {0, 0, 1024, 738}},
        {"all", -1, -2, 3, 4, {-1, -2, 3, 4}},
    };
    for (const WorkAreaCase& c : cases) {
        SCOPED_TRACE(c.name);
        TestMachine sim(kDesktop);
        ScreenInfo info(sim.platform().kernel, sim.platform().ui);
        info.SetWorkArea(c.left, c.top, c.right, c.bottom);
        const auto& log = sim.machine->spiLog();
        // The current area is read only when a side must come from it.
        const bool read = !(c.left && c.top && c.right && c.bottom);
        ASSERT_EQ(log.size(), read ? 2u : 1u);
        if (read) {
            EXPECT_EQ(log[0].action, 0x30u);
        }
        const SpiCall& set = log.back();
        EXPECT_EQ(set.action, 0x2Fu);
        EXPECT_EQ(set.param, 0u);
        EXPECT_EQ(set.winIni, 3u);
        const auto expected = c.stored.bytes();
        EXPECT_EQ(set.bytes, std::vector<std::byte>(expected.begin(), expected.end()));
    }
}

TEST(ScreenInfoWorkArea, AnUnreadableWorkAreaIsOverwrittenOnlyWhenAllSidesAreGiven) {
    TestMachine half(machine(R"({ "logpixelsy": 96 })"));
    ScreenInfo(half.platform().kernel, half.platform().ui).SetWorkArea(std::nullopt, std::nullopt, 800);
    ASSERT_EQ(half.machine->spiLog().size(), 1u);
    EXPECT_EQ(half.machine->spiLog()[0].action, 0x30u);

    TestMachine whole(machine(R"({ "logpixelsy": 96 })"));
    ScreenInfo info(whole.platform().kernel, whole.platform().ui);
    info.SetWorkArea(5, 6, 700, 500);
    int32_t left = -1, top = -1, right = -1, bottom = -1;
    info.GetWorkarea(left, top, right, bottom);
    EXPECT_EQ(std::vector<int32_t>({left, top, right, bottom}), std::vector<int32_t>({5, 6, 700, 500}));
}

}  // namespace
}  // namespace si32
