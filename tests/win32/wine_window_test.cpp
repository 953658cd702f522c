// The native window under Wine on a virtual X server of the test's own: it
// opens, its screenshot is the window at the screen's density and shows the
// design, and a simulated machine's window shows, control for control, what
// the report says of that machine. Skips, saying why, where the Windows
// programs, Wine or Xvfb are missing.
#include <dlfcn.h>
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include <nlohmann/json.hpp>

#include "tests/support/scratch_dir.h"
#include "tests/support/source_dir.h"
#include "tests/support/wine.h"
#include "tests/support/x_server.h"
#include "tests/win32/wine_programs.h"

namespace si32 {
namespace {

namespace fs = std::filesystem;
using Json = nlohmann::ordered_json;

// The most a frame may add to the client area.
constexpr int kMostFrameWidth = 60, kMostFrameHeight = 120;
// RGB(1, 66, 208): the frames' captions.
constexpr uint32_t kCaptionBlue = 0x0142D0;

struct Bitmap {
    int width = 0, height = 0;
    std::set<uint32_t> colours;  // 0xRRGGBB
};

uint32_t littleEndian(const std::string& bytes, std::size_t at, int size) {
    uint32_t value = 0;
    for (int i = size - 1; i >= 0; --i) value = value << 8 | static_cast<uint8_t>(bytes[at + i]);
    return value;
}

// A 24-bit BMP as si32.exe writes it; nullopt for anything else.
std::optional<Bitmap> readBitmap(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (bytes.size() < 54 || bytes.compare(0, 2, "BM") != 0 || littleEndian(bytes, 28, 2) != 24) return std::nullopt;
    Bitmap bitmap;
    bitmap.width = static_cast<int>(littleEndian(bytes, 18, 4));
    bitmap.height = static_cast<int>(littleEndian(bytes, 22, 4));
    const std::size_t offset = littleEndian(bytes, 10, 4), stride = (bitmap.width * 3 + 3) / 4 * 4;
    if (bitmap.width <= 0 || bitmap.height <= 0 || bytes.size() < offset + stride * bitmap.height) return std::nullopt;
    for (int y = 0; y < bitmap.height; ++y)
        for (int x = 0; x < bitmap.width; ++x)
            bitmap.colours.insert(littleEndian(bytes, offset + y * stride + x * 3, 3));
    return bitmap;
}

// Presses Escape on an X display through the XTEST extension, every half
// second until stopped, so that whichever window has the focus once the
// program's window is up gets it. libX11 and libXtst are opened at run time:
// the test builds without their development files.
class EscapePresser {
public:
    explicit EscapePresser(const std::string& display) {
        x11_ = ::dlopen("libX11.so.6", RTLD_NOW);
        xtst_ = ::dlopen("libXtst.so.6", RTLD_NOW);
        if (x11_ == nullptr || xtst_ == nullptr) return;
        open_ = reinterpret_cast<void* (*)(const char*)>(::dlsym(x11_, "XOpenDisplay"));
        close_ = reinterpret_cast<int (*)(void*)>(::dlsym(x11_, "XCloseDisplay"));
        flush_ = reinterpret_cast<int (*)(void*)>(::dlsym(x11_, "XFlush"));
        keycode_ = reinterpret_cast<unsigned char (*)(void*, unsigned long)>(::dlsym(x11_, "XKeysymToKeycode"));
        fake_ = reinterpret_cast<int (*)(void*, unsigned, int, unsigned long)>(::dlsym(xtst_, "XTestFakeKeyEvent"));
        if (open_ && close_ && flush_ && keycode_ && fake_) connection_ = open_(display.c_str());
    }
    ~EscapePresser() {
        stop();
        if (connection_ != nullptr) close_(connection_);
        if (xtst_ != nullptr) ::dlclose(xtst_);
        if (x11_ != nullptr) ::dlclose(x11_);
    }
    bool ready() const { return connection_ != nullptr; }
    void start() {
        presser_ = std::thread([this] {
            const unsigned key = keycode_(connection_, kEscapeKeysym);
            while (!stopped_) {
                std::this_thread::sleep_for(std::chrono::milliseconds(500));
                fake_(connection_, key, 1, 0);
                fake_(connection_, key, 0, 0);
                flush_(connection_);
            }
        });
    }
    void stop() {
        stopped_ = true;
        if (presser_.joinable()) presser_.join();
    }

private:
    static constexpr unsigned long kEscapeKeysym = 0xFF1B;
    void* x11_ = nullptr;
    void* xtst_ = nullptr;
    void* connection_ = nullptr;
    void* (*open_)(const char*) = nullptr;
    int (*close_)(void*) = nullptr;
    int (*flush_)(void*) = nullptr;
    unsigned char (*keycode_)(void*, unsigned long) = nullptr;
    int (*fake_)(void*, unsigned, int, unsigned long) = nullptr;
    std::atomic<bool> stopped_{false};
    std::thread presser_;
};

class WineWindow : public ::testing::Test {
protected:
    void SetUp() override {
        if (const std::string why = testsupport::wineSkipReason(true); !why.empty()) GTEST_SKIP() << why;
        if (!fs::exists(program_)) GTEST_SKIP() << program_ << " was not built";
        ASSERT_TRUE(fs::exists(testsupport::templatePrefix())) << "the fixture WineTemplate.Boots did not run";
        if (!display_.ready()) GTEST_SKIP() << "Xvfb (Debian package xvfb) is not installed or did not start";
        ASSERT_FALSE(dir_.path().empty());
        prefix_ = std::make_unique<testsupport::WinePrefix>(dir_.path(), testsupport::templatePrefix());
        // Wine draws the frame itself where no window manager would: the
        // screenshot then shows the window whole.
        ASSERT_EQ(run({"reg", "add", "HKCU\\Software\\Wine\\X11 Driver", "/v", "Decorated", "/d", "N", "/f"}).status,
                  0);
    }

    testsupport::WineRun run(std::vector<std::string> argv, const std::vector<std::string>& extra = {}) {
        argv.insert(argv.begin(), testsupport::wineLoader(true));
        std::vector<std::string> env = display_.environment();
        env.insert(env.end(), extra.begin(), extra.end());
        return prefix_->run(argv, std::chrono::seconds(120), env);
    }

    // The window of the given machine ("" for Wine's own), run until it has
    // written what it was asked to, or ended otherwise.
    int openWindow(const std::vector<std::string>& captures, const std::string& machine = "") {
        std::vector<std::string> env = captures;
        if (!machine.empty()) env.push_back("SI32_MACHINE=" + testsupport::windowsPath(machineFile(machine)));
        return run({program_.string()}, env).status;
    }

    const testsupport::XServer& display() const { return display_; }

    static fs::path machineFile(const std::string& name) {
        return fs::path(testsupport::sourceDir()) / "machines" / (name + ".json");
    }

    const fs::path program_ = fs::path(testsupport::windowsPrograms(true)) / "si32.exe";
    testsupport::ScratchDir dir_{"si32-wine-window"};
    // Room for the window at 144 dots per inch.
    testsupport::XServer display_{{"-screen", "0", "1600x1200x24"}};
    std::unique_ptr<testsupport::WinePrefix> prefix_;
};

TEST_F(WineWindow, OpensAndIsCapturedAtTheScreensDensity) {
    // The design's 9480 x 8280 twips at 15 and 10 twips to the pixel.
    struct Density {
        int dpi, clientWidth, clientHeight;
    };
    for (const Density& d : {Density{96, 632, 552}, Density{144, 948, 828}}) {
        SCOPED_TRACE(std::to_string(d.dpi) + " dpi");
        // Read by every program as it starts.
        ASSERT_EQ(run({"reg", "add", "HKCU\\Control Panel\\Desktop", "/v", "LogPixels", "/t", "REG_DWORD", "/d",
                       std::to_string(d.dpi), "/f"})
                      .status,
                  0);
        const fs::path shot = dir_ / ("window-" + std::to_string(d.dpi) + ".bmp");
        ASSERT_EQ(openWindow({"SI32_SCREENSHOT=" + testsupport::windowsPath(shot)}), 0);
        const auto bitmap = readBitmap(shot);
        ASSERT_TRUE(bitmap) << "no 24-bit BMP at " << shot;
        // The client area, and a frame around it.
        EXPECT_GT(bitmap->width, d.clientWidth);
        EXPECT_LE(bitmap->width, d.clientWidth + kMostFrameWidth);
        EXPECT_GT(bitmap->height, d.clientHeight);
        EXPECT_LE(bitmap->height, d.clientHeight + kMostFrameHeight);
        // Drawn, not blank: the face, the text, the fields, and the
        // captions' blue among them.
        EXPECT_GE(bitmap->colours.size(), 4u);
        EXPECT_TRUE(bitmap->colours.count(kCaptionBlue)) << "no frame caption in the design's blue";
    }
}

TEST_F(WineWindow, EndsOnEscape) {
    // The client library finds the server's cookie where the server put it.
    ::setenv("XAUTHORITY", display().authority().c_str(), 1);
    EscapePresser escape(display().display());
    if (!escape.ready()) GTEST_SKIP() << "libX11 or libXtst (Debian package libxtst6) cannot be loaded";
    escape.start();
    // Without a capture asked for, only Escape ends the window before the
    // run's time limit (which reports -1).
    EXPECT_EQ(openWindow({}), 0);
}

TEST_F(WineWindow, ShowsTheSimulatedMachineAsTheReportDoes) {
    const fs::path shown = dir_ / "shown.json";
    ASSERT_EQ(openWindow({"SI32_SHOWN_CONTROLS=" + testsupport::windowsPath(shown)}, "win98se"), 0);
    const Json window = Json::parse(std::ifstream(shown), nullptr, false);
    ASSERT_FALSE(window.is_discarded()) << "the window wrote no JSON";

    const std::string machine = "SI32_MACHINE=" + testsupport::windowsPath(machineFile("win98se"));
    const auto report =
        run({(fs::path(testsupport::windowsPrograms(true)) / "si32-report.exe").string(), "--json"}, {machine});
    ASSERT_EQ(report.status, 0);
    const Json expected = Json::parse(report.out, nullptr, false);
    ASSERT_FALSE(expected.is_discarded()) << report.out;
    EXPECT_EQ(window.at("Label2(0)").at("text"), "Microsoft Windows 98, 2nd Edition");
    // Start-up ends with the focus on the button, and the native focus follows.
    EXPECT_EQ(window.at("Command2").value("focused", false), true);
    for (const auto& [key, control] : expected.at("controls").items()) {
        SCOPED_TRACE(key);
        ASSERT_TRUE(window.contains(key)) << "the window has no such control";
        for (const char* field : {"text", "drive", "percent", "tooltip", "visible"}) {
            if (!control.contains(field)) continue;
            EXPECT_EQ(window[key][field], control[field]) << field;
        }
    }
}

}  // namespace
}  // namespace si32
