#include "facts/operating_system.h"

#include "facts/numeric_value.h"
#include "facts/texts.h"
#include "format/format_value.h"
#include "platform/guarded.h"
#include "platform/kernel.h"
#include "si32mod/si32mod.h"
#include "window/layout.h"
#include "window/si9x.h"

namespace si32 {
namespace {

constexpr const char* kWin32s = "Win32s Subsystem on Windows 3.x";
constexpr const char* kWindows95 = "Microsoft Windows 95";
constexpr const char* kWindowsNT = "Microsoft Windows NT";
constexpr const char* kWindows2000 = "Microsoft Windows 2000";
constexpr const char* kWindows98 = "Microsoft Windows 98";
constexpr const char* kWindows98SE = "Microsoft Windows 98, 2nd Edition";
constexpr const char* kWindowsME = "Microsoft Windows ME";
constexpr const char* kWindowsXP = "Microsoft Windows XP";

// 1988, not 1998: a 4.10 system with a build from 1988 up is named 98.
constexpr double kWindows98Build = 1988;
constexpr double kWindows98Version = 4.1;
constexpr double kSecondEditionBuild = 2222;
constexpr double kMillenniumBuild = 3000;
constexpr double kWindowsXPVersion = 5.01;
constexpr double kWindowsXPBuild = 2505;

Control& nameField(StepContext& ctx) { return ctx.form.Label2(label2::OperatingSystem); }

}  // namespace

void QueryVersion(StepContext& ctx) {
    auto& v = ctx.values;
    v.Version = OsVersionInfoA{};
    v.Version.dwOSVersionInfoSize = kOsVersionInfoASize;
    guarded([&] { v.VersionOk = ctx.platform.kernel.GetVersionExA(v.Version) != 0; });
    // A failed query may have written part of the record; what is shown
    // then is the all-zero record.
    if (!v.VersionOk) v.Version = OsVersionInfoA{};
}

void ShowOperatingSystem(StepContext& ctx) {
    auto& v = ctx.values;
    guarded([&] {
        v.VersionText = PlainDecimal(static_cast<int32_t>(v.Version.dwMajorVersion)) + "." +
                        FormatValue(ctx.platform.regional, static_cast<int32_t>(v.Version.dwMinorVersion), "00");
    });
    guarded([&] { ctx.form.Label2(label2::WindowsVersion).text = v.VersionText; });
    guarded([&] { nameField(ctx).text.clear(); });
    ctx.mod.OsFamily = OperatingSystemFamily::Win32s;
    if (!v.VersionOk) return;
    switch (v.Version.dwPlatformId) {
        case VER_PLATFORM_WIN32s:
            nameField(ctx).text = kWin32s;
            ctx.mod.OsFamily = OperatingSystemFamily::Win32s;
            break;
        case VER_PLATFORM_WIN32_WINDOWS:
            nameField(ctx).text = kWindows95;
            ctx.mod.OsFamily = OperatingSystemFamily::WindowsLine;
            break;
        case VER_PLATFORM_WIN32_NT:
            nameField(ctx).text = kWindowsNT;
            ctx.mod.OsFamily = OperatingSystemFamily::NtLine;
            if (NumericValue(v.VersionText.substr(0, 1)) == 5) {
                nameField(ctx).text = kWindows2000;
                ctx.mod.OsFamily = OperatingSystemFamily::Nt5;
            }
            break;
        default: break;
    }
}

void ShowDosVersion(StepContext& ctx) {
    // The DOS underneath, by the Windows major version alone; a platform
    // that is not Windows has none, whatever its version numbers.
    const char* dos = "";
    if (ctx.values.Version.dwPlatformId != VER_PLATFORM_LINUX) {
        switch (ctx.values.Version.dwMajorVersion) {
            case 4: dos = "7.00"; break;
            case 3: dos = "6.22"; break;
            default: break;
        }
    }
    ctx.form.Label2(label2::DosVersion).text = dos;
}

void ShowBuildNumber(StepContext& ctx) {
    // On the Windows 95 line the high word holds the version; the remainder
    // keeps the dividend's sign, as the language's Mod does.
    const auto build = static_cast<int32_t>(ctx.values.Version.dwBuildNumber);
    ctx.values.BuildText = PlainDecimal(build % 65536);
    ctx.form.Label2(label2::BuildNumber).text = ctx.values.BuildText;
}

void RecognizeWindows98(StepContext& ctx) {
    const auto& v = ctx.values;
    if (!(NumericValue(v.BuildText) >= kWindows98Build && ctx.mod.OsFamily == OperatingSystemFamily::WindowsLine &&
          NumericValue(v.VersionText) >= kWindows98Version))
        return;
    ctx.mod.OsFamily = OperatingSystemFamily::Nt5;
    const double build = NumericValue(ctx.form.Label2(label2::BuildNumber).text);
    nameField(ctx).text = build >= kSecondEditionBuild ? kWindows98SE : kWindows98;
    if (build >= kMillenniumBuild) nameField(ctx).text = kWindowsME;
}

void ShowRegistryProductName(StepContext& ctx) {
    std::string name;
    guarded([&] { name = TrimSpaces(ctx.mod.GetWindowsProductName()); });
    if (nameField(ctx).text.empty() && !name.empty()) nameField(ctx).text = name;
}

void RecognizeWindowsXP(StepContext& ctx) {
    if (NumericValue(ctx.values.VersionText) >= kWindowsXPVersion &&
        NumericValue(ctx.form.Label2(label2::BuildNumber).text) >= kWindowsXPBuild)
        nameField(ctx).text = kWindowsXP;
}

}  // namespace si32
