// The host's user-interface services: metrics and device capabilities from
// the screen the drawing side reports, desktop parameters kept in the user
// profile (registry.reg in the prefix), the drive list.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstring>
#include <fstream>
#include <sstream>

#include "platform/host/devices/host_desktop_parameters_profile.h"
#include "platform/host/devices/host_devices.h"
#include "platform/host/display/host_ui.h"
#include "platform/host/display/host_ui_metrics.h"
#include "platform/run_time_error.h"
#include "platform/spi.h"
#include "tests/platform/host/host_test_support.h"
#include "tests/support/recording_frontend.h"

namespace si32 {
namespace {

using hosttest::ScratchPrefix;

ScreenFacts desktop() {
    ScreenFacts s;
    s.widthPx = 1920;
    s.heightPx = 1080;
    s.dpiX = s.dpiY = 96;
    s.bitsPerPixel = 24;
    s.workLeft = 0, s.workTop = 27, s.workRight = 1920, s.workBottom = 1080;
    s.virtualLeft = -1920, s.virtualTop = 0, s.virtualWidth = 3840, s.virtualHeight = 1080;
    s.monitors = 2;
    s.iconSize = 32, s.smallIconSize = 16;
    s.scrollBarExtent = 15, s.titleBarHeight = 30, s.frameWidth = 4, s.menuHeight = 22;
    return s;
}

std::string readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// One host UI over a scratch prefix, its registry loaded from the prefix's
// registry.reg as the backend loads it.
struct HostUiRig {
    explicit HostUiRig(const std::string& registryText = "", bool writable = true) {
        prefix.context.prefixWritable = writable;
        if (!registryText.empty()) {
            prefix.dir.write("registry.reg", registryText);
            registry.ImportRegistryFile(registryText, "registry.reg");
        }
        frontend.screen = desktop();
        deps.context = prefix.context;
        ui = makeHostUi(deps);
    }
    std::string profileFile() const { return prefix.dir.path() + "/registry.reg"; }
    // A fresh process over the same prefix.
    std::unique_ptr<HostUiRig> restarted() const {
        auto next = std::make_unique<HostUiRig>(readFile(profileFile()), prefix.context.prefixWritable);
        return next;
    }

    ScratchPrefix prefix;
    testsupport::RecordingFrontend frontend;
    RegistryStore registry;
    HostDeps deps{frontend, Program::Window, prefix.context, prefix.drives, registry};
    std::unique_ptr<Ui> ui;
};

int32_t getValue(Ui& ui, uint32_t action, int32_t& value) {
    std::array<std::byte, 4> memory{};
    spi_bytes::put32(memory, 0, 0x5A5A5A5A);
    const int32_t ok = ui.SystemParametersInfoA(action, 0, std::span(memory), 0);
    value = spi_bytes::get32(memory, 0);
    return ok;
}

TEST(HostMetrics, MetricsFollowTheReportedScreen) {
    const ScreenFacts s = desktop();
    const std::pair<int32_t, int32_t> expected[] = {
        {SM_CXSCREEN, 1920},
        {SM_CYSCREEN, 1080},
        {SM_CXVSCROLL, 15},
        {SM_CYHSCROLL, 15},
        {SM_CYVSCROLL, 15},
        {SM_CXHSCROLL, 15},
        {SM_CYCAPTION, 30},
        {SM_CXDLGFRAME, 4},
        {SM_CYFRAME, 4},
        {SM_CXICON, 32},
        {SM_CYICON, 32},
        {SM_CXSMICON, 16},
        {SM_CYSMICON, 16},
        {SM_CYMENU, 22},
        // the work area is 1920 x 1053
        {SM_CXFULLSCREEN, 1920},
        {SM_CYFULLSCREEN, 1023},
        {SM_CXMAXIMIZED, 1928},
        {SM_CYMAXIMIZED, 1061},
        {SM_XVIRTUALSCREEN, -1920},
        {SM_YVIRTUALSCREEN, 0},
        {SM_CXVIRTUALSCREEN, 3840},
        {SM_CYVIRTUALSCREEN, 1080},
        {SM_CMONITORS, 2},
        {SM_SAMEDISPLAYFORMAT, 1},
        // nothing the screen tells: the thin border, caption buttons, pen
        {5, 0},
        {30, 0},
        {41, 0},
        {-1, 0},
        {1000, 0},
    };
    for (const auto& [index, value] : expected) EXPECT_EQ(metricFromScreen(s, index), value) << "index " << index;
}

TEST(HostMetrics, MetricsDerivedFromAnUnknownSizeStayUnknown) {
    ScreenFacts s = desktop();
    s.titleBarHeight = 0;
    s.frameWidth = 0;
    s.monitors = 0;
    s.virtualWidth = 0;
    EXPECT_EQ(metricFromScreen(s, SM_CYFULLSCREEN), 0);
    EXPECT_EQ(metricFromScreen(s, SM_CXMAXIMIZED), 0);
    EXPECT_EQ(metricFromScreen(s, SM_SAMEDISPLAYFORMAT), 0);
    EXPECT_EQ(metricFromScreen(s, SM_XVIRTUALSCREEN), 0);
    EXPECT_EQ(metricFromScreen(s, SM_CXFULLSCREEN), 1920);
}

TEST(HostUiDevice, ContextsAndCapabilitiesFollowTheScreen) {
    HostUiRig rig;
    rig.frontend.screen->dpiY = 120.4;
    Ui& ui = *rig.ui;
    const HDC ic = ui.CreateICA("display", "", "");
    ASSERT_NE(ic, 0u);
    EXPECT_EQ(ui.GetDeviceCaps(ic, BITSPIXEL), 24);
    EXPECT_EQ(ui.GetDeviceCaps(ic, PLANES), 1);
    EXPECT_EQ(ui.GetDeviceCaps(ic, LOGPIXELSX), 96);
    EXPECT_EQ(ui.GetDeviceCaps(ic, LOGPIXELSY), 120);
    EXPECT_EQ(ui.GetDeviceCaps(ic, 8), 0);
    EXPECT_EQ(ui.GetDeviceCaps(ui.GetWindowDC(), BITSPIXEL), 24);
    EXPECT_EQ(ui.CreateICA("WINSPOOL", "", ""), 0u);
    EXPECT_EQ(ui.DeleteDC(ic), 1);
    EXPECT_EQ(ui.DeleteDC(ic), 0);
    EXPECT_EQ(ui.GetDeviceCaps(ic, BITSPIXEL), 0) << "a deleted context answers nothing";

    rig.frontend.screen.reset();
    EXPECT_EQ(ui.CreateICA("DISPLAY", "", ""), 0u);
    EXPECT_EQ(ui.GetWindowDC(), 0u);
    EXPECT_EQ(ui.GetSystemMetrics(SM_CXSCREEN), 0);
    EXPECT_THROW(ui.Screen(), RunTimeError);
}

TEST(HostUiDevice, ScreenInTwipsFromPixelsAndDensity) {
    struct Case {
        double dpi;
        float perPixel;
    };
    // Twips per pixel stay whole, so the screen's pixels come back exactly.
    for (const Case c : {Case{96, 15}, Case{120, 12}, Case{144, 10}, Case{95.6, 15}, Case{100, 14}, Case{2880, 1}}) {
        HostUiRig rig;
        rig.frontend.screen->dpiX = rig.frontend.screen->dpiY = c.dpi;
        const ScreenTwips twips = rig.ui->Screen();
        EXPECT_FLOAT_EQ(twips.twipsPerPixelX, c.perPixel) << c.dpi;
        EXPECT_FLOAT_EQ(twips.twipsPerPixelY, c.perPixel);
        EXPECT_FLOAT_EQ(twips.width, 1920 * c.perPixel);
        EXPECT_FLOAT_EQ(twips.height, 1080 * c.perPixel);
    }
    HostUiRig noDensity;
    noDensity.frontend.screen->dpiX = 0;
    EXPECT_THROW(noDensity.ui->Screen(), RunTimeError);
}

TEST(HostUiDevice, PointerMessagesAndDriveList) {
    HostUiRig rig;
    rig.ui->SetMousePointer(POINTER_HOURGLASS);
    rig.ui->SetMousePointer(POINTER_DEFAULT);
    EXPECT_EQ(rig.frontend.pointer, (std::vector<bool>{true, false}));
    EXPECT_EQ(rig.ui->MsgBox("Already running", MB_OK, ""), IDOK);
    EXPECT_EQ(rig.frontend.prompts(), std::vector<std::string>{"Already running"});

    auto& drives = rig.prefix.drives.drives_;
    drives[0].listLabel = "SYSTEM";
    MappedDrive root;
    root.letter = 'D';
    drives.push_back(root);
    MappedDrive share;
    share.letter = 'X';
    share.driveType = 4;
    share.listLabel = "server:/export";
    drives.push_back(share);
    EXPECT_EQ(rig.ui->DriveListEntries(),
              (std::vector<DriveListEntry>{{'C', "SYSTEM"}, {'D', ""}, {'X', "server:/export"}}));
}

const char* const kProfile =
    "REGEDIT4\r\n\r\n"
    "; kept by the user\r\n"
    "[HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion]\r\n"
    "\"RegisteredOrganization\"=\"Example Ltd\"\r\n\r\n"
    "[HKEY_CURRENT_USER\\Control Panel\\Desktop]\r\n"
    "\"Wallpaper\"=\"C:\\\\WINDOWS\\\\clouds.bmp\"\r\n"
    "\"MenuFade\"=dword:00000000\r\n\r\n"
    "[HKEY_CURRENT_USER\\Control Panel\\Desktop\\WindowMetrics]\r\n"
    "\"Shell Icon Size\"=\"32\"\r\n\r\n"
    "[HKEY_CURRENT_USER\\Control Panel\\DesktopExtra]\r\n"
    "\"Other\"=\"kept\"\r\n";

TEST(HostDesktopParameters, AStoredSettingSurvivesARestartAndTheRestOfTheProfileStays) {
    HostUiRig rig(kProfile);
    int32_t value = 0;
    ASSERT_EQ(getValue(*rig.ui, SPI_GETMENUFADE, value), 1);
    EXPECT_EQ(value, 0);

    EXPECT_EQ(rig.ui->SystemParametersInfoA(SPI_SETMENUFADE, 0, int32_t{-1}, 3), 1);
    EXPECT_EQ(rig.ui->SystemParametersInfoA(SPI_SETDRAGFULLWINDOWS, 0xFFFFFFFF, {}, 3), 1);
    EXPECT_EQ(rig.ui->SystemParametersInfoA(SPI_ICONHORIZONTALSPACING, 90, {}, 3), 1);
    ASSERT_EQ(getValue(*rig.ui, SPI_GETMENUFADE, value), 1);
    EXPECT_EQ(value, 1) << "flags are kept as 1";

    const std::string text = readFile(rig.profileFile());
    EXPECT_NE(text.find("; kept by the user"), std::string::npos);
    EXPECT_NE(text.find("\"RegisteredOrganization\"=\"Example Ltd\""), std::string::npos);
    EXPECT_NE(text.find("\"Shell Icon Size\"=\"32\""), std::string::npos);
    EXPECT_NE(text.find("\"Other\"=\"kept\""), std::string::npos);

    auto next = rig.restarted();
    ASSERT_EQ(getValue(*next->ui, SPI_GETMENUFADE, value), 1);
    EXPECT_EQ(value, 1);
    ASSERT_EQ(getValue(*next->ui, SPI_GETDRAGFULLWINDOWS, value), 1);
    EXPECT_EQ(value, 1);
    EXPECT_EQ(next->ui->GetSystemMetrics(SM_CXICONSPACING), 90);
    std::array<std::byte, 260> path{};
    ASSERT_EQ(next->ui->SystemParametersInfoA(SPI_GETDESKWALLPAPER, 260, std::span(path), 0), 1);
    EXPECT_STREQ(reinterpret_cast<const char*>(path.data()), "C:\\WINDOWS\\clouds.bmp");
    HKEY key = 0;
    EXPECT_EQ(
        next->registry.RegOpenKeyExA(HKEY_CURRENT_USER, "Control Panel\\Desktop\\WindowMetrics", 0, KEY_READ, key),
        ERROR_SUCCESS);
}

TEST(HostDesktopParameters, WhereTheProfileCannotBeWrittenNothingChanges) {
    struct Case {
        const char* name;
        bool writable;
        const char* fileText;
    };
    for (const Case c : {Case{"read-only prefix", false, kProfile},
                         Case{"profile that is not REGEDIT4", true, "[HKEY_CURRENT_USER\\x]\r\nnot a value\r\n"},
                         Case{"UTF-16 export", true, "\xFF\xFER\0E\0"}}) {
        SCOPED_TRACE(c.name);
        HostUiRig rig("", c.writable);
        rig.prefix.dir.write("registry.reg", c.fileText);
        EXPECT_EQ(rig.ui->SystemParametersInfoA(SPI_SETMENUFADE, 0, int32_t{1}, 3), 0);
        int32_t value = 0;
        EXPECT_EQ(getValue(*rig.ui, SPI_GETMENUFADE, value), 0);
        EXPECT_EQ(value, 0x5A5A5A5A) << "a failed get leaves the caller's memory alone";
        EXPECT_EQ(readFile(rig.profileFile()), c.fileText);
    }
}

TEST(HostDesktopParameters, AChangeWithoutTheProfileFlagLastsForTheSessionOnly) {
    HostUiRig rig(kProfile, false);
    EXPECT_EQ(rig.ui->SystemParametersInfoA(SPI_SETFOREGROUNDLOCKTIMEOUT, 0, int32_t{200000}, SPIF_SENDCHANGE), 1);
    int32_t value = 0;
    ASSERT_EQ(getValue(*rig.ui, SPI_GETFOREGROUNDLOCKTIMEOUT, value), 1);
    EXPECT_EQ(value, 200000);
    EXPECT_EQ(readFile(rig.profileFile()), kProfile);
}

TEST(HostDesktopParameters, RecordsMustStateTheirSize) {
    HostUiRig rig;
    auto animation = SpiAnimationInfo{8, 1}.bytes();
    EXPECT_EQ(rig.ui->SystemParametersInfoA(SPI_SETANIMATION, 8, std::span(animation), 3), 1);
    auto wrongSize = SpiAnimationInfo{12, 0}.bytes();
    EXPECT_EQ(rig.ui->SystemParametersInfoA(SPI_SETANIMATION, 8, std::span(wrongSize), 3), 0);
    auto read = SpiAnimationInfo{8, 0}.bytes();
    EXPECT_EQ(rig.ui->SystemParametersInfoA(SPI_GETANIMATION, 4, std::span(read), 0), 0);
    ASSERT_EQ(rig.ui->SystemParametersInfoA(SPI_GETANIMATION, 8, std::span(read), 0), 1);
    EXPECT_EQ(SpiAnimationInfo::from(read).minAnimate, 1);
}

TEST(HostDesktopParameters, WorkAreaIsTheRealOneAndCannotBeSetFromHere) {
    HostUiRig rig;
    auto area = SpiRect{}.bytes();
    ASSERT_EQ(rig.ui->SystemParametersInfoA(SPI_GETWORKAREA, 0, std::span(area), 0), 1);
    const SpiRect rect = SpiRect::from(area);
    EXPECT_EQ(rect.top, 27);
    EXPECT_EQ(rect.right, 1920);
    EXPECT_EQ(rig.ui->SystemParametersInfoA(SPI_SETWORKAREA, 0, std::span(area), 3), 0);
    rig.frontend.screen.reset();
    EXPECT_EQ(rig.ui->SystemParametersInfoA(SPI_GETWORKAREA, 0, std::span(area), 0), 0);
}

TEST(HostDesktopParameters, IconTitleFontIsTheDesktopsWhereItIsKnown) {
    HostUiRig rig;
    SpiLogFont font;
    font.height = -11;
    std::memcpy(font.faceName.data(), "Tahoma", 6);
    auto stored = font.bytes();
    ASSERT_EQ(rig.ui->SystemParametersInfoA(SPI_SETICONTITLELOGFONT, 60, std::span(stored), 3), 1);
    auto read = SpiLogFont{}.bytes();
    ASSERT_EQ(rig.ui->SystemParametersInfoA(SPI_GETICONTITLELOGFONT, 0, std::span(read), 0), 1);
    EXPECT_EQ(read, stored);

    // Once the desktop tells its font, that is the answer, and it cannot be
    // replaced from here.
    rig.frontend.screen->fontFace = "Noto Sans CJK JP Regular With A Long Name";
    rig.frontend.screen->fontHeightPx = 15;
    rig.frontend.screen->fontWeight = 700;
    ASSERT_EQ(rig.ui->SystemParametersInfoA(SPI_GETICONTITLELOGFONT, 0, std::span(read), 0), 1);
    const SpiLogFont real = SpiLogFont::from(read);
    EXPECT_EQ(real.height, -15);
    EXPECT_EQ(real.weight, 700);
    EXPECT_EQ(std::string(real.faceName.data()), "Noto Sans CJK JP Regular With A");
    EXPECT_EQ(rig.ui->SystemParametersInfoA(SPI_SETICONTITLELOGFONT, 60, std::span(stored), 3), 0);
}

TEST(HostDesktopParameters, IconMetricsAnswerWholeOrNotAtAll) {
    HostUiRig rig;
    auto metrics = SpiIconMetrics{}.bytes();
    EXPECT_EQ(rig.ui->SystemParametersInfoA(SPI_GETICONMETRICS, 76, std::span(metrics), 0), 0);
    SpiIconMetrics set;
    set.horzSpacing = 75, set.vertSpacing = 80, set.titleWrap = 1, set.font.height = -12;
    auto setBytes = set.bytes();
    ASSERT_EQ(rig.ui->SystemParametersInfoA(SPI_SETICONMETRICS, 76, std::span(setBytes), 3), 1);
    ASSERT_EQ(rig.ui->SystemParametersInfoA(SPI_GETICONMETRICS, 76, std::span(metrics), 0), 1);
    EXPECT_EQ(metrics, setBytes);
    EXPECT_EQ(rig.ui->GetSystemMetrics(SM_CYICONSPACING), 80);
}

TEST(HostProfileFile, LinesNoReaderUnderstandsAreKept) {
    HostUiRig rig(
        "REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\Control Panel\\Desktop]\r\n\"Keep\"=\"1\"\r\n"
        "my own note\r\n\"Odd\"=\"x\" y\r\n");
    ASSERT_EQ(rig.ui->SystemParametersInfoA(SPI_SETMENUFADE, 0, int32_t{1}, 3), 1);
    const std::string text = readFile(rig.profileFile());
    for (const char* line : {"my own note\r\n", "\"Odd\"=\"x\" y\r\n", "\"Keep\"=\"1\"\r\n"})
        EXPECT_NE(text.find(line), std::string::npos) << line << " in\n" << text;
}

TEST(HostProfileFile, OnlyTheKeysOwnSectionsAreRemoved) {
    const std::string text =
        "REGEDIT4\r\n\r\n[hkey_current_user\\control panel\\desktop]\r\n\"A\"=\"1\"\r\n\r\n"
        "[HKEY_CURRENT_USER\\Control Panel\\Desktop\\Sub]\r\n\"B\"=hex:01,\\\r\n  02\r\n\r\n"
        "[HKEY_CURRENT_USER\\Control Panel\\DesktopX]\r\n\"C\"=\"3\"\r\n";
    EXPECT_EQ(withoutKeySections(text, "HKEY_CURRENT_USER\\Control Panel\\Desktop"),
              "REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\Control Panel\\DesktopX]\r\n\"C\"=\"3\"\r\n");
}

}  // namespace
}  // namespace si32
