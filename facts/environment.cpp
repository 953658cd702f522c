#include "facts/environment.h"

#include <array>
#include <memory>
#include <string>

#include "facts/texts.h"
#include "facts/trvwin_ini.h"
#include "format/format_value.h"
#include "platform/guarded.h"
#include "platform/text_helpers.h"
#include "si32mod/si32mod.h"
#include "window/layout.h"
#include "window/si9x.h"
#include "window/taskbar.h"

namespace si32 {
namespace {

// Directory buffers hold 255 characters; name buffers 32.
constexpr std::size_t kDirectoryBuffer = 255;
constexpr std::size_t kNameBuffer = 32;

// The "Taskbar Settings:" text by the whole state value; a value not in the
// table leaves the field as it was.
struct TaskbarText {
    int16_t state;
    const char* text;
};
constexpr std::array<TaskbarText, 4> kTaskbarTexts = {{
    {0, "Auto hide disabled\r\nAlways on top disabled"},
    {1, "Auto hide enabled"},
    {2, "Always on top enabled"},
    {3, "Auto hide enabled\r\nAlways on top enabled"},
}};

template <class Query>
std::string readDirectory(Query query) {
    std::array<char, kDirectoryBuffer> buffer{};
    std::string text;
    guarded([&] {
        if (query(std::span<char>(buffer)) > 0)
            text = std::string(upToNul(std::string_view(buffer.data(), buffer.size())));
    });
    return text;
}

}  // namespace

void ReadDirectories(StepContext& ctx) {
    auto& kernel = ctx.platform.kernel;
    auto& v = ctx.values;
    v.WindowsDir = readDirectory([&](std::span<char> b) { return kernel.GetWindowsDirectoryA(b); });
    v.SystemDir = readDirectory([&](std::span<char> b) { return kernel.GetSystemDirectoryA(b); });
    v.TempDir = readDirectory([&](std::span<char> b) { return kernel.GetTempPathA(b); });
}

void EnterSystemDirectory(StepContext& ctx) {
    guarded([&] { ctx.platform.files.ChDrive(ctx.values.SystemDir); });
    guarded([&] { ctx.platform.files.ChDir(ctx.values.SystemDir); });
}

void ReadTrvwinIni(StepContext& ctx) {
    auto& v = ctx.values;
    std::unique_ptr<SequentialFile> file;
    guarded([&] { file = ctx.platform.files.OpenForInput("TRVWIN.INI"); });
    std::unique_ptr<TrvwinReader> reader;
    if (file) reader = std::make_unique<TrvwinReader>(*file);
    // One read per field: past the end of a short file each read fails on
    // its own and the fields read before keep their values.
    for (std::size_t i = 0; i < kTrvwinFieldCount; ++i) {
        guarded([&] {
            if (!reader) raise(ErrorKind::FileNotFound, "TRVWIN.INI is not open");
            v.TrvwinFields[i] = reader->ReadField();
        });
    }
    v.ProductDir = v.TrvwinFields[0];
    v.StartDrive = v.TrvwinFields[1];
}

void SelectStartDrive(StepContext& ctx) {
    guarded([&] { ctx.form.SetDrive1(ctx.values.StartDrive); });
}

void ShowDirectories(StepContext& ctx) {
    const std::array<std::pair<int32_t, const std::string*>, 3> rows = {{
        {5, &ctx.values.WindowsDir},
        {6, &ctx.values.SystemDir},
        {7, &ctx.values.TempDir},
    }};
    for (const auto& [index, directory] : rows) {
        ctx.form.Label2(index).text = *directory;
        ctx.form.Label2(index).tooltip = *directory;
    }
}

void ShowProductDir(StepContext& ctx) {
    ctx.form.Label2(label2::ProductDirectory).text = TrimSpaces(UpperCase(ctx.values.ProductDir));
}

void ShowComputerName(StepContext& ctx) {
    std::array<char, kNameBuffer> buffer{};
    uint32_t size = kNameBuffer;
    guarded([&] {
        if (ctx.platform.kernel.GetComputerNameA(buffer, size) != 0)
            ctx.form.Label2(label2::ComputerName).text =
                std::string(upToNul(std::string_view(buffer.data(), buffer.size())));
    });
}

void ShowCurrentUser(StepContext& ctx) {
    std::array<char, kNameBuffer> buffer{};
    uint32_t size = kNameBuffer;
    guarded([&] {
        if (ctx.platform.registry.GetUserNameA(buffer, size) != 0)
            ctx.form.Label2(label2::CurrentUser).text =
                std::string(upToNul(std::string_view(buffer.data(), buffer.size())));
    });
}

void ShowOwner(StepContext& ctx) {
    guarded([&] { ctx.form.Label2(label2::ComputerOwner).text = TrimSpaces(ctx.mod.GetRegisteredOwner()); });
}

void ShowTaskbarSettings(StepContext& ctx) {
    int16_t state = -1;
    guarded([&] { state = GetTaskbarState(ctx.platform.shell); });
    for (const auto& row : kTaskbarTexts)
        if (row.state == state) ctx.form.Label2(label2::TaskbarSettings).text = row.text;
}

void ShowCdAudioAndCountry(StepContext& ctx) {
    guarded(
        [&] { ctx.form.Label2(label2::CdAudioDriver).text = ctx.mod.GetIniString("mci", "cdaudio", "system.ini"); });
    guarded([&] { ctx.form.Label2(label2::Country).text = ctx.mod.GetIniString("Intl", "sCountry", "Win.ini"); });
}

void ShowProductVersion(StepContext& ctx) {
    guarded([&] {
        const DateTime date = ctx.platform.files.FileDateTime(ctx.values.ProductDir + "\\tarvello.exe");
        auto& field = ctx.form.Label2(label2::ProductVersion);
        field.text = TrimSpaces(field.text) + " (" + FormatValue(ctx.platform.regional, date, "dd-mmm-yyyy") + ")";
    });
}

}  // namespace si32
