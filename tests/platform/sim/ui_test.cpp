// User-interface calls of the simulated machine: desktop parameters kept
// across set and get and logged, records, device contexts, the screen and
// the drive list.
#include <gtest/gtest.h>

#include <ostream>

#include <array>
#include <cstring>

#include "platform/run_time_error.h"
#include "tests/platform/sim/sim_test_support.h"

namespace si32::simtest {
namespace {

using sim::SpiPointerKind;

constexpr const char* kMachine = R"({
  "display": { "width_twips": 15360, "height_twips": 11520, "twips_per_pixel_x": 15, "twips_per_pixel_y": 15,
               "bits_per_pixel": 32, "planes": 1, "logpixelsy": 96,
               "metrics": { "0": 1024, "1": 768, "38": 75 },
               "parameters": {
                 "4098": 1, "0x2000": 200000, "5": 1, "0x12": 65537,
                 "0x30": { "left": 0, "top": 0, "right": 1024, "bottom": 740 },
                 "0x48": { "minimize_animation": 1 },
                 "0x2D": { "horizontal_spacing": 75, "vertical_spacing": 75, "title_wrap": 1,
                           "font": { "height": -11, "weight": 400, "face_name": "MS Sans Serif" } },
                 "115": "C:\\WINDOWS\\CLOUDS.BMP" } },
  "drives": [ { "letter": "A", "type": 2, "volume_fails": true }, { "letter": "C", "type": 3, "label": "SYSTEM" },
              { "letter": "D", "type": 3 }, { "letter": "N", "type": 4, "label": "\\\\server\\share" } ]
})";

int32_t read32(std::span<const std::byte> memory, size_t offset) {
    int32_t value = 0;
    std::memcpy(&value, memory.data() + offset, 4);
    return value;
}

void write32(std::span<std::byte> memory, size_t offset, int32_t value) {
    std::memcpy(memory.data() + offset, &value, 4);
}

// Get: action, count, memory size, stated record size (0: none); answers
// the 32-bit value at `offset` or fails.
struct GetCase {
    uint32_t action;
    uint32_t param;
    size_t memory;
    int32_t statedSize;
    int32_t result;
    size_t offset;
    int32_t value;
};

void PrintTo(const GetCase& c, std::ostream* out) {
    *out << std::hex << "0x" << c.action << std::dec << "/" << c.memory << "/" << c.offset;
}

class SpiGets : public ::testing::TestWithParam<GetCase> {};

TEST_P(SpiGets, AnswerIntoCallerMemoryOfEnoughSize) {
    TestMachine m(kMachine);
    const GetCase& c = GetParam();
    std::vector<std::byte> memory(c.memory);
    if (c.statedSize != 0) write32(memory, 0, c.statedSize);
    EXPECT_EQ(c.result, m.platform().ui.SystemParametersInfoA(c.action, c.param, std::span(memory), 0));
    if (c.result != 0) {
        EXPECT_EQ(c.value, read32(memory, c.offset));
    }
}

INSTANTIATE_TEST_SUITE_P(Actions, SpiGets,
                         ::testing::Values(GetCase{0x1002, 0, 4, 0, 1, 0, 1}, GetCase{0x2000, 0, 4, 0, 1, 0, 200000},
                                           GetCase{0x1002, 0, 3, 0, 0, 0, 0},  // memory too small
                                           GetCase{0x1012, 0, 4, 0, 0, 0, 0},  // not described: fails
                                           GetCase{0x30, 0, 16, 0, 1, 8, 1024}, GetCase{0x30, 0, 16, 0, 1, 12, 740},
                                           GetCase{0x30, 0, 15, 0, 0, 0, 0}, GetCase{0x48, 8, 8, 8, 1, 4, 1},
                                           GetCase{0x48, 0, 8, 8, 0, 0, 0},  // count must state the record size
                                           GetCase{0x48, 8, 8, 0, 0, 0, 0},  // and so must the record
                                           GetCase{0x2D, 76, 76, 76, 1, 4, 75}, GetCase{0x2D, 76, 76, 76, 1, 16, -11},
                                           GetCase{0x1F, 0, 60, 0, 1, 0,
                                                   -11},  // the icon metrics tell the icon-title font
                                           GetCase{0x1F, 0, 59, 0, 0, 0, 0},
                                           GetCase{0x0D, 0, 4, 0, 1, 0, 75}));  // spacing with memory reads the metric

TEST(SpiGets, WallpaperWithinTheStatedCount) {
    TestMachine m(kMachine);
    std::array<char, 260> name{};
    auto memory = std::as_writable_bytes(std::span(name));
    EXPECT_EQ(0, m.platform().ui.SystemParametersInfoA(115, 21, memory, 0));  // 21 characters + NUL
    EXPECT_EQ('\0', name[0]);
    EXPECT_EQ(1, m.platform().ui.SystemParametersInfoA(115, 260, memory, 0));
    EXPECT_STREQ("C:\\WINDOWS\\CLOUDS.BMP", name.data());
}

// Set, then get: what the set stored is what the get answers.
struct SetCase {
    const char* name;
    uint32_t setAction, getAction;
    uint32_t param;
    SpiPointer (*pointer)(std::vector<std::byte>& memory);
    uint32_t getParam;
    size_t offset;
    int32_t expected;
};

void PrintTo(const SetCase& c, std::ostream* out) { *out << c.name; }

SpiPointer none(std::vector<std::byte>&) { return std::monostate{}; }
SpiPointer minusOne(std::vector<std::byte>&) { return int32_t{-1}; }
SpiPointer value3000(std::vector<std::byte>&) { return int32_t{3000}; }
SpiPointer zeroed(std::vector<std::byte>& memory) {
    memory.assign(4, std::byte{0});
    return std::span(memory);
}
SpiPointer workArea(std::vector<std::byte>& memory) {
    memory.assign(16, std::byte{0});
    write32(memory, 8, 800);
    return std::span(memory);
}
SpiPointer animation(std::vector<std::byte>& memory) {
    memory.assign(8, std::byte{0});
    write32(memory, 0, 8);
    return std::span(memory);
}
SpiPointer font(std::vector<std::byte>& memory) {
    memory.assign(60, std::byte{0});
    write32(memory, 0, -12);
    std::memcpy(memory.data() + 28, "Tahoma", 7);
    return std::span(memory);
}

class SpiSets : public ::testing::TestWithParam<SetCase> {};

TEST_P(SpiSets, StoreWhatALaterGetAnswers) {
    TestMachine m(kMachine);
    const SetCase& c = GetParam();
    std::vector<std::byte> in;
    ASSERT_EQ(1, m.platform().ui.SystemParametersInfoA(c.setAction, c.param, c.pointer(in), 3)) << c.name;
    std::vector<std::byte> out(76);
    if (c.getAction == 0x2D || c.getAction == 0x48) write32(out, 0, static_cast<int32_t>(c.getParam));
    ASSERT_EQ(1, m.platform().ui.SystemParametersInfoA(c.getAction, c.getParam, std::span(out), 0)) << c.name;
    EXPECT_EQ(c.expected, read32(out, c.offset)) << c.name;
}

INSTANTIATE_TEST_SUITE_P(
    Actions, SpiSets,
    ::testing::Values(SetCase{"flag via pointer, True as -1, kept as 1", 0x1013, 0x1012, 0, minusOne, 0, 0, 1},
                      SetCase{"number via pointer", 0x2001, 0x2000, 0, value3000, 0, 0, 3000},
                      SetCase{"border via count, null pointer", 6, 5, 7, none, 0, 0, 7},
                      SetCase{"grid via count, whole value", 0x13, 0x12, 65537, zeroed, 0, 0, 65537},
                      SetCase{"drag flag via count", 0x25, 0x26, 0xFFFFFFFF, zeroed, 0, 0, 1},
                      SetCase{"work area record", 0x2F, 0x30, 0, workArea, 0, 8, 800},
                      SetCase{"animation record", 0x49, 0x48, 8, animation, 8, 4, 0},
                      SetCase{"icon-title font record", 0x22, 0x1F, 60, font, 0, 0, -12},
                      SetCase{"icon-title font inside the icon metrics", 0x22, 0x2D, 60, font, 76, 16, -12},
                      SetCase{"icon spacing via count changes the metric", 0x0D, 0x0D, 90, none, 0, 0, 90}));

TEST(SpiSets, WallpaperFileNameUpToItsNul) {
    TestMachine m(kMachine);
    std::string name("C:\\SUNSET.BMP\0garbage", 21);
    ASSERT_EQ(1, m.platform().ui.SystemParametersInfoA(20, 0, std::as_writable_bytes(std::span(name)), 3));
    std::array<char, 260> out{};
    ASSERT_EQ(1, m.platform().ui.SystemParametersInfoA(115, 260, std::as_writable_bytes(std::span(out)), 0));
    EXPECT_STREQ("C:\\SUNSET.BMP", out.data());
}

TEST(SpiLog, RecordsEveryCallWithItsArgumentsAndAnswer) {
    TestMachine m(kMachine);
    Ui& ui = m.platform().ui;
    std::array<std::byte, 4> zero{};
    ui.SystemParametersInfoA(0x1003, 0, int32_t{-1}, 3);
    ui.SystemParametersInfoA(0x15, 0, std::span(zero), 0);
    ui.SystemParametersInfoA(0x1234, 5, std::monostate{}, 1);
    const std::vector<sim::SpiCall>& log = m.machine->spiLog();
    ASSERT_EQ(3u, log.size());
    EXPECT_EQ(0x1003u, log[0].action);
    EXPECT_EQ(SpiPointerKind::Value, log[0].pointerKind);
    EXPECT_EQ(-1, log[0].value);
    EXPECT_EQ(3u, log[0].winIni);
    EXPECT_EQ(1, log[0].result);
    EXPECT_EQ(SpiPointerKind::Memory, log[1].pointerKind);
    EXPECT_EQ(4u, log[1].bytes.size());
    EXPECT_EQ(0u, log[1].winIni);
    EXPECT_EQ(SpiPointerKind::None, log[2].pointerKind);
    EXPECT_EQ(5u, log[2].param);
    EXPECT_EQ(0, log[2].result);
}

TEST(UiDisplay, DeviceCapsThroughLiveContextsOnly) {
    TestMachine m(kMachine);
    Ui& ui = m.platform().ui;
    HDC ic = ui.CreateICA("display", "", "");
    ASSERT_NE(0u, ic);
    EXPECT_EQ(0u, ui.CreateICA("WINSPOOL", "", ""));
    EXPECT_EQ(96, ui.GetDeviceCaps(ic, LOGPIXELSY));
    EXPECT_EQ(96, ui.GetDeviceCaps(ic, LOGPIXELSX));
    EXPECT_EQ(32, ui.GetDeviceCaps(ui.GetWindowDC(), BITSPIXEL));
    EXPECT_EQ(1, ui.GetDeviceCaps(ui.GetWindowDC(), PLANES));
    EXPECT_EQ(1, ui.DeleteDC(ic));
    EXPECT_EQ(0, ui.DeleteDC(ic));
    EXPECT_EQ(0, ui.GetDeviceCaps(ic, LOGPIXELSY));
    EXPECT_EQ(1024, ui.GetSystemMetrics(0));
    EXPECT_EQ(0, ui.GetSystemMetrics(42));
}

TEST(UiDisplay, ScreenInTwipsOrRaisesWithoutADisplay) {
    TestMachine m(kMachine);
    ScreenTwips screen = m.platform().ui.Screen();
    EXPECT_EQ(15360.0f, screen.width);
    EXPECT_EQ(15.0f, screen.twipsPerPixelY);
    TestMachine bare("{}");
    EXPECT_THROW(bare.platform().ui.Screen(), RunTimeError);
    EXPECT_EQ(0u, bare.platform().ui.GetWindowDC());
}

TEST(UiDrives, EntriesNameTheVolumeOrWhatTheListShowsInstead) {
    TestMachine m(kMachine);
    EXPECT_EQ((std::vector<DriveListEntry>{{'A', ""}, {'C', "SYSTEM"}, {'D', ""}, {'N', "\\\\server\\share"}}),
              m.platform().ui.DriveListEntries());
}

TEST(UiDrives, ListTextShowsLowerCaseLetterAndNameInBrackets) {
    const struct {
        DriveListEntry entry;
        const char* text;
    } cases[] = {
        {{'C', "SYSTEM"}, "c: [SYSTEM]"}, {{'D', ""}, "d:"}, {{'X', "nas:/export [old]"}, "x: [nas:/export [old]]"}};
    for (const auto& c : cases) EXPECT_EQ(DriveListText(c.entry), c.text) << c.text;
}

TEST(UiFrontend, PointerAndMessagesGoToTheFrontend) {
    TestMachine m("{\"previous_instance\": true}");
    m.platform().ui.SetMousePointer(POINTER_HOURGLASS);
    m.platform().ui.SetMousePointer(POINTER_DEFAULT);
    EXPECT_EQ(IDOK, m.platform().ui.MsgBox("hello", MB_OK, ""));
    EXPECT_EQ((std::vector<bool>{true, false}), m.frontend.pointer);
    EXPECT_EQ(std::vector<std::string>{"hello"}, m.frontend.prompts());
    EXPECT_TRUE(m.platform().ui.PrevInstance());
}

}  // namespace
}  // namespace si32::simtest
