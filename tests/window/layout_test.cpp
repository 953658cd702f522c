#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <set>

#include "platform/run_time_error.h"
#include "window/layout.h"
#include "window/si9x.h"

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
    form.Drive1Entries = {{'A', ""}, {'C', "SYSTEM"}, {'D', "CDROM"}};
    form.ShowDrive1(form.Drive1Entries[1]);
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
    EXPECT_EQ(form.Drive1Current(), (DriveListEntry{'D', "CDROM"}));
    EXPECT_THROW(form.control("Label2", 31), std::out_of_range);
}

}  // namespace
}  // namespace si32
