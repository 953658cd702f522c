#include "facts/memory.h"

#include <initializer_list>
#include <memory>
#include <utility>

#include "facts/res_tmp.h"
#include "format/size_pair.h"
#include "platform/checked.h"
#include "platform/guarded.h"
#include "si32mod/si32mod.h"
#include "window/layout.h"
#include "window/si9x.h"

namespace si32 {
namespace {

// The resource-meter program writes two small numbers and ends at once; a
// wait this long covers a slow start, and a hung program costs no more.
constexpr uint32_t kResourceMeterWaitMs = 2000;

void hide(Si9x& form, std::initializer_list<const char*> names) {
    for (const char* name : names) form.control(name).visible = false;
}

// Runs the resource-meter program in the product directory and reads the
// two percentages it leaves in res.tmp; 0 for what it did not tell.
std::pair<int16_t, int16_t> measureResources(StepContext& ctx) {
    auto& files = ctx.platform.files;
    const auto& v = ctx.values;
    guarded([&] { files.ChDrive(v.ProductDir); });
    guarded([&] { files.ChDir(v.ProductDir); });
    // The program writes res.tmp while it runs; reading at once would find
    // it missing or half-written, so give it a bounded time to finish.
    guarded([&] {
        const uint32_t pid = files.Shell({"reschk.exe"}, vbNormalFocus);
        files.WaitForExit(pid, kResourceMeterWaitMs);
    });

    int16_t gdi = 0;
    int16_t user = 0;
    {
        std::unique_ptr<SequentialFile> file;
        guarded([&] { file = files.OpenForInput("res.tmp"); });
        if (file) {
            ResTmpReader reader(*file);
            guarded([&] { gdi = reader.ReadItem(); });
            guarded([&] { user = reader.ReadItem(); });
        }
    }
    guarded([&] { files.Kill("res.tmp"); });
    return {gdi, user};
}

}  // namespace

void QueryMemoryStatus(StepContext& ctx) {
    auto& v = ctx.values;
    // The classic record holds the total in 32 bits, which cannot tell
    // 2 GB or more; the extended record holds it whole.
    v.MemoryEx = MemoryStatusEx{};
    guarded([&] { v.MemoryExOk = ctx.platform.kernel.GlobalMemoryStatusEx(v.MemoryEx) != 0; });
    if (v.MemoryExOk) {
        v.MemoryLoad = v.MemoryEx.dwMemoryLoad;
        v.TotalPhysical = v.MemoryEx.ullTotalPhys;
        v.MemoryKnown = true;
        return;
    }
    v.Memory = MemoryStatus{};
    guarded([&] {
        ctx.platform.kernel.GlobalMemoryStatus(v.Memory);
        v.MemoryLoad = v.Memory.dwMemoryLoad;
        v.TotalPhysical = v.Memory.dwTotalPhys;
        v.MemoryKnown = true;
    });
}

void ShowMeters(StepContext& ctx) {
    auto& form = ctx.form;
    const auto& v = ctx.values;
    if (ctx.mod.OsFamily != OperatingSystemFamily::WindowsLine) {
        hide(form, {"ProgressBar1", "ProgressBar2", "ProgressBar3", "Label9", "Label4", "Label5"});
        return;
    }

    const auto [gdi, user] = measureResources(ctx);
    if (gdi > 0) form.control("Label4").text = "GDI Resources";
    else hide(form, {"Label4", "ProgressBar1"});
    if (user > 0) form.control("Label5").text = "User Resources";
    else hide(form, {"Label5", "ProgressBar2"});
    // Set whether or not the meter shows, and unclamped.
    form.control("ProgressBar1").percent = gdi;
    form.control("ProgressBar2").percent = user;

    int16_t freePhysical = 0;
    guarded([&] {
        if (!v.MemoryKnown) raise(ErrorKind::PlatformFailure, "no memory status");
        freePhysical = checkedCast<int16_t>(100 - static_cast<int64_t>(static_cast<int32_t>(v.MemoryLoad)));
    });
    if (freePhysical > 0) {
        form.control("Label9").text = "Physical Memory";
        form.control("ProgressBar3").percent = freePhysical;
    } else {
        hide(form, {"Label9", "ProgressBar3"});
    }
}

void ShowPhysicalMemory(StepContext& ctx) {
    const auto& v = ctx.values;
    // Without any memory status the size is unknown: the fields stay blank
    // rather than show a size of 0.
    if (!v.MemoryKnown) return;
    const auto total = static_cast<double>(v.TotalPhysical);
    guarded([&] {
        const SizePair pair =
            FormatSizePair(ctx.platform.regional, total, 1024, "###,###", "  KB", "###,##0.##", " MB)");
        ctx.form.Label2(label2::PhysicalMemory).text = pair.primary;
        ctx.form.Label3(label3::PhysicalMemorySecondary).text = pair.secondary;
    });
}

}  // namespace si32
