// One table of calls, run against the real machine (the Linux host over a
// scratch prefix, or Windows itself) and against a simulated machine that
// describes the same facts: every answer, every stored buffer and every size
// written back must be the same on both.
#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <iostream>
#include <memory>
#include <string>
#include <vector>

#include "platform/regional.h"
#include "platform/sim/sim_machine.h"
#include "platform/spi.h"
#include "tests/platform/contract/real_machine.h"
#include "tests/support/recording_frontend.h"

namespace si32 {
namespace {

// What a call left behind, as one comparable line: the answer, the buffer
// ('#' where nothing was written) and the size written back.
std::string answer(int64_t result, const std::string& buffer, int64_t size = -1) {
    std::string text = std::to_string(result) + " [";
    for (char c : buffer) text += c == '\0' ? std::string("\\0") : std::string(1, c);
    text += "]";
    if (size >= 0) text += " size " + std::to_string(size);
    return text;
}

// The text a call answers with room to spare; "" when it fails.
std::string whole(const std::function<int64_t(std::span<char>)>& call) {
    std::string buffer(512, '\0');
    if (call(buffer) == 0) return "";
    return buffer.substr(0, buffer.find('\0'));
}

// A JSON string of text.
std::string quotedJson(const std::string& text) {
    std::string out = "\"";
    for (char c : text) {
        if (c == '"' || c == '\\') out += '\\';
        out += c;
    }
    return out + "\"";
}

class Backends {
public:
    Backends() : real_(makeRealMachine(realFrontend_)) {
        computerName = whole([&](std::span<char> b) {
            uint32_t size = static_cast<uint32_t>(b.size());
            return real().kernel.GetComputerNameA(b, size);
        });
        userName = whole([&](std::span<char> b) {
            uint32_t size = static_cast<uint32_t>(b.size());
            return real().registry.GetUserNameA(b, size);
        });
        windowsDirectory = whole([&](std::span<char> b) { return real().kernel.GetWindowsDirectoryA(b); });
        systemDirectory = whole([&](std::span<char> b) { return real().kernel.GetSystemDirectoryA(b); });
        decimal = whole([&](std::span<char> b) { return real().regional.GetLocaleInfoA(LOCALE_SDECIMAL, b); });
        thousands = whole([&](std::span<char> b) { return real().regional.GetLocaleInfoA(LOCALE_STHOUSAND, b); });
        const std::string description = R"({
          "version": { "platform_id": 2, "major": 5, "minor": 1, "build": 2600 },
          "directories": { "windows": )" +
                                        quotedJson(windowsDirectory) + R"(, "system": )" + quotedJson(systemDirectory) +
                                        R"( },
          "computer_name": )" + quotedJson(computerName) +
                                        R"(, "user_name": )" + quotedJson(userName) + R"(,
          "display": { "metrics": {}, "parameters": {} },
          "regional": { "decimal": )" + quotedJson(decimal) +
                                        R"(, "thousands": )" + quotedJson(thousands) + R"( }
        })";
        sim_ = std::make_unique<SimMachine>(SimMachine::Text{description, "contract.json", "."}, simFrontend_);
    }

    Platform& real() { return real_->backend().platform(); }
    bool realFollowsContractForShortBuffers() const { return real_->followsContractForShortBuffers(); }
    Platform& sim() { return sim_->platform(); }

    std::string computerName, userName, windowsDirectory, systemDirectory, decimal, thousands;

private:
    testsupport::RecordingFrontend realFrontend_, simFrontend_;
    std::unique_ptr<RealMachine> real_;
    std::unique_ptr<SimMachine> sim_;
};

struct Call {
    std::string name;
    std::function<std::string(Platform&)> run;
    std::string expected;      // "" where only the agreement of both is known
    bool shortBuffer = false;  // the answer does not fit the buffer given
};

Call directory(const char* name, bool system, size_t size, std::string expected) {
    return {std::string(name) + "/" + std::to_string(size),
            [=](Platform& p) {
                std::string buffer(size, '#');
                const uint32_t result =
                    system ? p.kernel.GetSystemDirectoryA(buffer) : p.kernel.GetWindowsDirectoryA(buffer);
                return answer(result, buffer);
            },
            expected};
}

// The name calls with a stated size and a real buffer of their own length.
Call name(const char* call, uint32_t stated, size_t length) {
    return {std::string(call) + "/" + std::to_string(stated) + "/" + std::to_string(length),
            [=](Platform& p) {
                std::string buffer(length, '#');
                uint32_t size = stated;
                const int32_t result = std::strcmp(call, "computer") == 0 ? p.kernel.GetComputerNameA(buffer, size)
                                                                          : p.registry.GetUserNameA(buffer, size);
                return answer(result, buffer, size);
            },
            ""};
}

Call locale(const char* call, LCTYPE type, size_t size, bool shortBuffer = false) {
    return {std::string(call) + "/" + std::to_string(size),
            [=](Platform& p) {
                std::string buffer(size, '#');
                return answer(p.regional.GetLocaleInfoA(type, buffer), buffer);
            },
            "", shortBuffer};
}

// A set action and then the get that reads it back into `room` bytes.
Call setThenGet(const char* name, uint32_t set, uint32_t param, SpiPointer pointer, uint32_t get, uint32_t getParam,
                size_t room, std::string expected) {
    return {name,
            [=](Platform& p) {
                const int32_t stored = p.ui.SystemParametersInfoA(set, param, pointer, 0);
                std::vector<std::byte> memory(room, std::byte{'#'});
                const int32_t read = p.ui.SystemParametersInfoA(get, getParam, std::span<std::byte>(memory), 0);
                std::string bytes(reinterpret_cast<const char*>(memory.data()), memory.size());
                if (room == 4) bytes = std::to_string(spi_bytes::get32(memory, 0));
                return std::to_string(stored) + " then " + answer(read, bytes);
            },
            expected};
}

// The directory calls at every size that matters for a directory of that
// text: the count without the NUL, or the size needed with it and nothing
// stored.
void directoryCalls(std::vector<Call>& calls, const char* name, bool system, const std::string& path) {
    const std::size_t length = path.size();
    const std::string count = std::to_string(length);
    const std::string needed = std::to_string(length + 1);
    calls.push_back(directory(name, system, 260, count + " [" + path + "\\0" + std::string(259 - length, '#') + "]"));
    calls.push_back(directory(name, system, length + 1, count + " [" + path + "\\0]"));
    calls.push_back(directory(name, system, length, needed + " [" + std::string(length, '#') + "]"));
    calls.push_back(directory(name, system, 0, needed + " []"));
}

Call shortOf(Call call) {
    call.shortBuffer = true;
    return call;
}

std::vector<Call> calls(const Backends& b) {
    const auto computer = static_cast<uint32_t>(b.computerName.size());
    const auto user = static_cast<uint32_t>(b.userName.size());
    static std::string wallpaper = "C:\\WINDOWS\\CLOUDS.BMP";
    const auto wallpaperMemory = std::as_writable_bytes(std::span(wallpaper.data(), wallpaper.size() + 1));
    std::vector<Call> table{
        // The computer name reports its length without the NUL, the user name
        // with it; a stated size larger than the real buffer never writes
        // past it.
        name("computer", computer + 1, computer + 1),
        name("computer", computer, computer),
        name("computer", 64, 2),
        name("computer", 0, 0),
        name("user", user + 1, user + 3),
        name("user", user, user),
        name("user", 64, 2),
        // The locale texts: the size needed for an empty buffer, the text
        // whole or a failure.
        locale("decimal", LOCALE_SDECIMAL, 0),
        locale("decimal", LOCALE_SDECIMAL, 1, true),
        locale("decimal", LOCALE_SDECIMAL, 8),
        locale("thousands", LOCALE_STHOUSAND, 8),
        // The desktop parameters keep what a program sets.
        setThenGet("wallpaper cleared", SPI_SETDESKWALLPAPER, 0, std::monostate{}, SPI_GETDESKWALLPAPER, 5, 5,
                   "1 then 1 [\\0####]"),
        setThenGet("wallpaper named", SPI_SETDESKWALLPAPER, 0, wallpaperMemory, SPI_GETDESKWALLPAPER, 260, 22,
                   "1 then 1 [C:\\WINDOWS\\CLOUDS.BMP\\0]"),
        shortOf(setThenGet("wallpaper without room", SPI_SETDESKWALLPAPER, 0, wallpaperMemory, SPI_GETDESKWALLPAPER, 21,
                           21, "1 then 0 [" + std::string(21, '#') + "]")),
        setThenGet("border", SPI_SETBORDER, 3, std::monostate{}, SPI_GETBORDER, 0, 4, "1 then 1 [3]"),
        setThenGet("title wrap is a flag", SPI_SETICONTITLEWRAP, 5, std::monostate{}, SPI_GETICONTITLEWRAP, 0, 4,
                   "1 then 1 [1]"),
        setThenGet("menu animation is a flag", SPI_SETMENUANIMATION, 0, int32_t{7}, SPI_GETMENUANIMATION, 0, 4,
                   "1 then 1 [1]"),
        setThenGet("lock timeout is a number", SPI_SETFOREGROUNDLOCKTIMEOUT, 0, int32_t{200000},
                   SPI_GETFOREGROUNDLOCKTIMEOUT, 0, 4, "1 then 1 [200000]"),
        setThenGet("icon spacing", SPI_ICONHORIZONTALSPACING, 75, std::monostate{}, SPI_ICONHORIZONTALSPACING, 0, 4,
                   "1 then 1 [75]"),
    };
    directoryCalls(table, "windows", false, b.windowsDirectory);
    directoryCalls(table, "system", true, b.systemDirectory);
    return table;
}

TEST(Contract, BothBackendsAnswerAlike) {
    for (const Call& call : calls(Backends())) {
        // Each call on fresh machines, so no call sees what another stored.
        Backends b;
        const std::string real = call.run(b.real());
        const std::string sim = call.run(b.sim());
        if (call.shortBuffer && !b.realFollowsContractForShortBuffers()) {
            // Shown, for whoever compares the systems, but no rule of ours.
            std::cout << call.name << ": the system answers " << real << ", the contract " << sim << "\n";
            continue;
        }
        EXPECT_EQ(real, sim) << call.name << ": the real machine answers differently from the simulated one";
        if (!call.expected.empty()) {
            EXPECT_EQ(call.expected, real) << call.name;
        }
    }
}

}  // namespace
}  // namespace si32
