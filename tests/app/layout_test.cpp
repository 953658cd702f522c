#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <set>

#include "app/layout.h"
#include "app/si9x.h"
#include "platform/run_time_error.h"

namespace si32 {
namespace {

TEST(Layout, NinetyControlsWithTabIndicesZeroToEightyNine) {
    const auto layout = si9xLayout();
    ASSERT_EQ(layout.size(), 90u);
    std::set<int32_t> tabs;
    std::set<std::string> keys;
    for (const auto& c : layout) {
        tabs.insert(c.tabIndex);
        keys.insert(c.key());
    }
    EXPECT_EQ(keys.size(), 90u) << "every control has its own name and index";
    ASSERT_EQ(tabs.size(), 90u);
    EXPECT_EQ(*tabs.begin(), 0);
    EXPECT_EQ(*tabs.rbegin(), 89);
}

TEST(Layout, ArraysHaveTheirIndices) {
    std::map<std::string, std::set<int32_t>> arrays;
    for (const auto& c : si9xLayout())
        if (c.index >= 0) arrays[c.name].insert(c.index);
    ASSERT_EQ(arrays.size(), 3u);
    EXPECT_EQ(arrays["Label1"].size(), 37u);
    EXPECT_EQ(*arrays["Label1"].rbegin(), 36);
    EXPECT_EQ(arrays["Label2"].size(), 31u);
    EXPECT_EQ(*arrays["Label2"].rbegin(), 30);
    EXPECT_EQ(arrays["Label3"].size(), 3u);
}

TEST(Layout, CaptionsAndPlacement) {
    Si9x form;
    struct Row {
        const char* name;
        int32_t index;
        const char* text;
        const char* container;
        Geometry geometry;
        int32_t tab;
    };
    const Row rows[] = {
        {"SSFrame1", -1, "Operating System Info", "", {120, 48, 4572, 4284}, 5},
        {"SSFrame3", -1, "Drive Info", "", {120, 4356, 4572, 3816}, 36},
        {"SSFrame2", -1, "Hardware/Memory Info", "", {4800, 48, 4572, 8124}, 0},
        {"Label1", 0, "Operating System:", "SSFrame1", {120, 324, 1632, 252}, 6},
        {"Label2", 0, "", "SSFrame1", {1920, 324, 2604, 192}, 9},
        {"Label1", 16, "DOS Version:", "SSFrame1", {120, 1044, 1632, 252}, 24},
        {"Label2", 25, "", "SSFrame1", {1920, 3444, 2604, 480}, 64},
        {"Label2", 30, "2005.20", "SSFrame1", {1920, 3924, 2604, 192}, 88},
        {"Label1", 36, "Tarvello Version:", "SSFrame1", {120, 3924, 1632, 252}, 89},
        {"Drive1", -1, "", "SSFrame3", {580, 324, 3440, 288}, 37},
        {"Label3", 0, "", "SSFrame3", {3240, 960, 972, 192}, 42},
        {"Label1", 9, "Sectors Per Cluster:", "SSFrame3", {120, 1404, 1632, 252}, 49},
        {"Label1", 29, "Max Filename Length:", "SSFrame3", {120, 2364, 1632, 252}, 71},
        {"lblVolFlags", -1, "", "SSFrame3", {580, 3072, 3440, 648}, 87},
        {"Label2", 8, "", "SSFrame2", {2076, 324, 2196, 1092}, 2},
        {"Label1", 15, "Number of Colors:", "SSFrame2", {204, 2556, 1716, 192}, 23},
        {"Label2", 23, "", "SSFrame2", {2076, 2796, 2352, 192}, 60},
        {"Label7", -1, "", "SSFrame2", {2076, 3276, 2196, 252}, 78},
        {"MidiDevs", -1, "", "SSFrame2", {580, 4224, 3440, 1296}, 84},
        {"Label1", 25, "available to Windows:", "SSFrame2", {240, 5844, 1692, 204}, 57},
        {"Label2", 27, "", "SSFrame2", {2076, 5844, 1176, 216}, 29},
        {"Label9", -1, "Physical Memory", "SSFrame2", {576, 6096, 1236, 192}, 31},
        {"ProgressBar1", -1, "", "SSFrame2", {576, 6804, 3444, 324}, 66},
        {"Label5", -1, "User Resources", "SSFrame2", {576, 7152, 1176, 192}, 32},
        {"Command2", -1, "&MS System Info", "SSFrame2", {1632, 7716, 1320, 312}, 77},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(std::string(r.name) + "(" + std::to_string(r.index) + ")");
        const Control& c = form.control(r.name, r.index);
        EXPECT_EQ(c.text, r.text);
        EXPECT_EQ(c.container, r.container);
        EXPECT_EQ(c.geometry.left, r.geometry.left);
        EXPECT_EQ(c.geometry.top, r.geometry.top);
        EXPECT_EQ(c.geometry.width, r.geometry.width);
        EXPECT_EQ(c.geometry.height, r.geometry.height);
        EXPECT_EQ(c.tabIndex, r.tab);
    }
}

TEST(Layout, CaptionsRightValuesLeftAndOnlyDesignTextsSet) {
    for (const auto& c : si9xLayout()) {
        SCOPED_TRACE(c.key());
        if (c.name == "Label1") {
            EXPECT_EQ(c.alignment, Align::Right);
        }
        if (c.name == "Label2" || c.name == "Label3") {
            EXPECT_EQ(c.alignment, Align::Left);
        }
        if ((c.name == "Label2" && c.index != 30) || c.name == "Label3" || c.kind == ControlKind::TextBox) {
            EXPECT_EQ(c.text, "");
        }
        EXPECT_TRUE(c.visible);
    }
}

TEST(Si9xModel, DriveListRaisesChangeOnlyWhenTheDriveChanges) {
    Si9x form;
    form.Drive1Entries = {"a:", "c: [SYSTEM]", "d: [CDROM]"};
    form.control("Drive1").text = "c: [SYSTEM]";
    int changes = 0;
    form.Drive1Change = [&] { ++changes; };
    form.SetDrive1("C:");
    EXPECT_EQ(changes, 0);
    form.SetDrive1("d:");
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(form.Drive1Drive(), "d: [CDROM]");
    EXPECT_THROW(form.SetDrive1("Q:"), RunTimeError);
    EXPECT_THROW(form.SetDrive1(""), RunTimeError);
    EXPECT_EQ(form.Drive1Drive(), "d: [CDROM]");
    EXPECT_THROW(form.control("Label2", 31), std::out_of_range);
}

}  // namespace
}  // namespace si32
