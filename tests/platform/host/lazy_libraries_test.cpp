// The libraries of the device services are opened only when the machine may
// have something for them: a sound card or sequencer, a print scheduler, a
// display, a drive to probe. This program links none of them, so it can tell whether a call
// loaded one.
#include <arpa/inet.h>
#include <dlfcn.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstring>
#include <map>

#include "platform/host/common/shared_library.h"
#include "platform/host/devices/host_alsa.h"
#include "platform/host/devices/host_cups.h"
#include "platform/host/display/x11_screen.h"
#include "platform/host/volumes/blkid_probe.h"
#include "tests/platform/host/host_test_support.h"

namespace si32 {
namespace {

using hosttest::ScratchDir;

bool isLoaded(const char* soname) {
    void* handle = ::dlopen(soname, RTLD_LAZY | RTLD_NOLOAD);
    if (handle == nullptr) return false;
    ::dlclose(handle);  // NOLOAD still counts a reference
    return true;
}

// A loopback TCP port; listening while the object lives when asked to,
// otherwise one that was free a moment ago and is closed now.
class LoopbackPort {
public:
    explicit LoopbackPort(bool listen) : fd_(::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0)) {
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t size = sizeof address;
        if (::bind(fd_, reinterpret_cast<sockaddr*>(&address), size) != 0 ||
            ::getsockname(fd_, reinterpret_cast<sockaddr*>(&address), &size) != 0)
            throw std::runtime_error("no loopback port");
        port_ = ntohs(address.sin_port);
        if (listen) ::listen(fd_, 4);
        else closeNow();
    }
    ~LoopbackPort() { closeNow(); }
    std::string number() const { return std::to_string(port_); }

private:
    void closeNow() {
        if (fd_ >= 0) ::close(fd_);
        fd_ = -1;
    }
    int fd_;
    unsigned port_ = 0;
};

// A listening Unix socket at path for the life of the object.
class UnixSocket {
public:
    explicit UnixSocket(const std::string& path) : fd_(::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0)) {
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        std::strncpy(address.sun_path, path.c_str(), sizeof address.sun_path - 1);
        if (::bind(fd_, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 || ::listen(fd_, 4) != 0)
            throw std::runtime_error("cannot serve " + path);
    }
    ~UnixSocket() { ::close(fd_); }

private:
    int fd_;
};

TEST(HostAlsaPresence, CardsAndSequencerFromTheKernelsFiles) {
    struct Case {
        const char* name;
        std::map<std::string, std::string> files;
        bool cards;
        bool sequencer;
    };
    const std::string twoCards =
        " 0 [PCH            ]: HDA-Intel - HDA Intel PCH\n"
        "                      HDA Intel PCH at 0xf7f10000 irq 33\n"
        " 1 [Device         ]: USB-Audio - USB Audio Device\n";
    const Case cases[] = {
        {"no sound support at all", {}, false, false},
        {"the kernel has no card", {{"proc/asound/cards", "--- no soundcards ---\n"}}, false, false},
        {"two cards, sequencer not loaded", {{"proc/asound/cards", twoCards}}, true, false},
        {"no card, a loaded sequencer",
         {{"proc/asound/cards", "--- no soundcards ---\n"}, {"proc/asound/seq/clients", "Client info\n"}},
         false,
         true},
        {"no card, the sequencer device to load it", {{"dev/snd/seq", ""}}, false, true},
    };
    for (const Case& c : cases) {
        ScratchDir root;
        for (const auto& [path, text] : c.files) root.write(path, text);
        EXPECT_EQ(alsaHasCards(root.path()), c.cards) << c.name;
        EXPECT_EQ(alsaHasSequencer(root.path()), c.sequencer) << c.name;
    }
}

TEST(HostCupsPresence, ASchedulerMayAnswerOnlyWhereOneIsNamedOrListens) {
    struct Case {
        const char* name;
        std::map<std::string, std::string> files;  // below the root; home/ is $HOME
        std::optional<std::string> socket;
        std::optional<std::string> server;
        bool listener;
        bool mayAnswer;
    };
    const Case cases[] = {
        {"nothing", {}, {}, {}, false, false},
        {"CUPS_SERVER", {}, {}, "print.example.org:631", false, true},
        {"ServerName in the system's client.conf",
         {{"etc/cups/client.conf", "# office\nServerName print.example.org\n"}},
         {},
         {},
         false,
         true},
        {"directives ignore case", {{"etc/cups/client.conf", "servername\t/run/other.sock\n"}}, {}, {}, false, true},
        {"a commented ServerName",
         {{"etc/cups/client.conf", "#ServerName print.example.org\nEncryption Never\n"}},
         {},
         {},
         false,
         false},
        {"a ServerName without a value", {{"etc/cups/client.conf", "ServerName   \n"}}, {}, {}, false, false},
        {"ServerName in the user's file", {{"home/.cups/client.conf", "ServerName print\n"}}, {}, {}, false, true},
        {"the scheduler's socket", {}, "run/cups/cups.sock", {}, false, true},
        {"the socket where older systems keep it", {}, "var/run/cups/cups.sock", {}, false, true},
        {"a plain file where the socket would be", {{"run/cups/cups.sock", ""}}, {}, {}, false, false},
        {"a scheduler on the loopback's IPP port", {}, {}, {}, true, true},
    };
    for (const Case& c : cases) {
        ScratchDir root;
        root.mkdir("home");
        for (const auto& [path, text] : c.files) root.write(path, text);
        std::optional<UnixSocket> socket;
        if (c.socket) socket.emplace(root.mkdir(std::filesystem::path(*c.socket).parent_path()) + "/cups.sock");
        const LoopbackPort port(c.listener);
        HostEnvironment environment;
        environment.Set("HOME", root.path() + "/home").Set("IPP_PORT", port.number());
        if (c.server) environment.Set("CUPS_SERVER", *c.server);
        EXPECT_EQ(cupsSchedulerMayAnswer(root.path(), environment), c.mayAnswer) << c.name;
    }
}

TEST(HostLazyLibraries, NothingThereLoadsNothing) {
    const char* sonames[] = {"libasound.so.2", "libcups.so.2", "libX11.so.6", "libblkid.so.1", "libudev.so.1"};
    for (const char* soname : sonames) ASSERT_FALSE(isLoaded(soname)) << soname << " is linked in";
    ScratchDir home;
    const LoopbackPort closed(false);
    HostEnvironment environment;
    environment.Set("HOME", home.path()).Set("IPP_PORT", closed.number());
    const std::string root = hosttest::fixture("empty");

    HostMultimedia multimedia(makeAlsaLibrary(root));
    EXPECT_EQ(multimedia.waveOutGetNumDevs(), 0u);
    EXPECT_EQ(multimedia.midiOutGetNumDevs(), 0u);
    HostPrinting printing(makeCupsLibrary(kCupsConnectLimit, environment, root), kCupsQueryLimit);
    EXPECT_EQ(printing.DefaultPrinter(), "");
    EXPECT_FALSE(queryX11Screen("").has_value());
    // A device that cannot be opened (a disk without root), of a number udev
    // keeps no record of: neither library could tell more.
    EXPECT_FALSE(MakeLibblkidProbe("/")->Probe(home.path() + "/no-such-device", "0:0").has_value());
    for (const char* soname : sonames) EXPECT_FALSE(isLoaded(soname)) << soname;
}

struct Libc {
    static constexpr const char* kSoname = "libc.so.6";
    SI32_LIBRARY_FUNCTION(strlen);
    bool bind(const SharedLibrary& library) { return SI32_BIND(library, strlen); }
};
struct NotInstalled {
    static constexpr const char* kSoname = "libsi32-not-installed.so.0";
    SI32_LIBRARY_FUNCTION(strlen);
    bool bind(const SharedLibrary& library) { return SI32_BIND(library, strlen); }
};
struct LacksAFunction {
    static constexpr const char* kSoname = "libc.so.6";
    int (*si32_not_in_libc)() = nullptr;
    SI32_LIBRARY_FUNCTION(strlen);
    bool bind(const SharedLibrary& library) {
        return SI32_BIND(library, strlen) && SI32_BIND(library, si32_not_in_libc);
    }
};

TEST(SharedLibrary, AllFunctionsOrNone) {
    const Libc* libc = loadLibraryOnce<Libc>();
    ASSERT_NE(libc, nullptr);
    EXPECT_EQ(libc->strlen("four"), 4u);
    EXPECT_EQ(loadLibraryOnce<NotInstalled>(), nullptr);
    EXPECT_EQ(loadLibraryOnce<LacksAFunction>(), nullptr) << "a library without every function is unusable";
}

}  // namespace
}  // namespace si32
