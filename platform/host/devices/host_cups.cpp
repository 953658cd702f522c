#include "platform/host/devices/host_cups.h"

#include <arpa/inet.h>
#include <cups/cups.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <charconv>
#include <cstdlib>
#include <utility>

#include "platform/host/common/host_read.h"
#include "platform/host/common/shared_library.h"

namespace si32 {
namespace {

// libcups brings gnutls, Kerberos, Avahi and more: most of a small program's
// memory, wasted on every machine without a print server.
struct CupsApi {
    static constexpr const char* kSoname = "libcups.so.2";
    SI32_LIBRARY_FUNCTION(cupsServer);
    SI32_LIBRARY_FUNCTION(ippPort);
    SI32_LIBRARY_FUNCTION(cupsEncryption);
    SI32_LIBRARY_FUNCTION(httpConnect2);
    SI32_LIBRARY_FUNCTION(httpSetTimeout);
    SI32_LIBRARY_FUNCTION(httpClose);
    SI32_LIBRARY_FUNCTION(cupsGetDests2);
    SI32_LIBRARY_FUNCTION(cupsGetDest);
    SI32_LIBRARY_FUNCTION(cupsFreeDests);

    bool bind(const SharedLibrary& library) {
        return SI32_BIND(library, cupsServer) && SI32_BIND(library, ippPort) && SI32_BIND(library, cupsEncryption) &&
               SI32_BIND(library, httpConnect2) && SI32_BIND(library, httpSetTimeout) &&
               SI32_BIND(library, httpClose) && SI32_BIND(library, cupsGetDests2) && SI32_BIND(library, cupsGetDest) &&
               SI32_BIND(library, cupsFreeDests);
    }
};

// Gives up on an answer that is late instead of waiting again.
int giveUp(http_t*, void*) { return 0; }

class CupsLibrary final : public CupsDestinations {
public:
    CupsLibrary(std::chrono::milliseconds connectLimit, HostEnvironment environment, std::string root)
        : connectLimit_(connectLimit), environment_(std::move(environment)), root_(std::move(root)) {}

    bool MayAnswer() override { return cupsSchedulerMayAnswer(root_, environment_); }

    std::string DefaultDestination() override {
        const CupsApi* cups = loadLibraryOnce<CupsApi>();
        if (cups == nullptr) return {};
        http_t* http = cups->httpConnect2(cups->cupsServer(), cups->ippPort(), nullptr, AF_UNSPEC,
                                          cups->cupsEncryption(), 1, static_cast<int>(connectLimit_.count()), nullptr);
        if (http == nullptr) return {};
        cups->httpSetTimeout(http, static_cast<double>(connectLimit_.count()) / 1000.0, giveUp, nullptr);
        cups_dest_t* dests = nullptr;
        const int count = cups->cupsGetDests2(http, &dests);
        // The user's choice (lpoptions, LPDEST, PRINTER) before the server's.
        const cups_dest_t* chosen = cups->cupsGetDest(nullptr, nullptr, count, dests);
        std::string name;
        if (chosen != nullptr && chosen->name != nullptr) {
            name = chosen->name;
            if (chosen->instance != nullptr) name += std::string("/") + chosen->instance;
        }
        cups->cupsFreeDests(count, dests);
        cups->httpClose(http);
        return name;
    }

private:
    std::chrono::milliseconds connectLimit_;
    HostEnvironment environment_;
    std::string root_;
};

// client.conf directives are matched without regard to case, as CUPS does.
bool namesServer(const std::optional<std::string>& clientConf) {
    if (!clientConf) return false;
    for (std::string_view line : splitLines(*clientConf)) {
        line = trimBlanks(line);
        const size_t blank = line.find_first_of(" \t");
        if (blank == std::string_view::npos) continue;
        if (equalsNoCase(line.substr(0, blank), "ServerName") && !trimBlanks(line.substr(blank)).empty()) return true;
    }
    return false;
}

bool isSocket(const std::string& path) {
    struct stat status {};
    return ::stat(path.c_str(), &status) == 0 && S_ISSOCK(status.st_mode);
}

// IPP_PORT overrides the port, as it does for CUPS itself.
unsigned ippPortNumber(const HostEnvironment& environment) {
    const std::string text = environment.Get("IPP_PORT");
    unsigned port = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), port);
    return error == std::errc() && end == text.data() + text.size() && port > 0 && port < 65536 ? port : 631;
}

// Whether something takes connections on this machine's IPP port, where CUPS
// goes when nothing else is named. The loopback refuses at once; one that
// has not answered within a moment counts as "maybe". (Reading the socket
// tables in /proc instead costs milliseconds on a busy host.)
bool loopbackAccepts(unsigned port) {
    sockaddr_in v4{};
    v4.sin_family = AF_INET;
    v4.sin_port = htons(static_cast<uint16_t>(port));
    v4.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    sockaddr_in6 v6{};
    v6.sin6_family = AF_INET6;
    v6.sin6_port = htons(static_cast<uint16_t>(port));
    v6.sin6_addr = in6addr_loopback;
    const std::pair<const sockaddr*, socklen_t> addresses[] = {
        {reinterpret_cast<const sockaddr*>(&v4), sizeof v4},
        {reinterpret_cast<const sockaddr*>(&v6), sizeof v6},
    };
    for (const auto& [address, size] : addresses) {
        const int fd = ::socket(address->sa_family, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
        if (fd < 0) continue;
        bool accepts = ::connect(fd, address, size) == 0;
        if (!accepts && errno == EINPROGRESS) {
            pollfd connecting{fd, POLLOUT, 0};
            int error = 0;
            socklen_t length = sizeof error;
            accepts = ::poll(&connecting, 1, 100) == 0 ||
                      (::getsockopt(fd, SOL_SOCKET, SO_ERROR, &error, &length) == 0 && error == 0);
        }
        ::close(fd);
        if (accepts) return true;
    }
    return false;
}

}  // namespace

bool cupsLibraryLoads() { return loadLibraryOnce<CupsApi>() != nullptr; }

bool cupsSchedulerMayAnswer(const std::string& root, const HostEnvironment& environment) {
    if (!environment.Get("CUPS_SERVER").empty()) return true;
    const std::string serverRoot = environment.Get("CUPS_SERVERROOT");
    if (namesServer(readUnderRoot(root, (serverRoot.empty() ? "/etc/cups" : serverRoot) + "/client.conf"))) return true;
    // The user's file is their own, not part of the machine under root.
    const std::string home = environment.Get("HOME");
    if (!home.empty() && namesServer(readUnderRoot("/", home + "/.cups/client.conf"))) return true;
    if (isSocket(underRoot(root, "/run/cups/cups.sock")) || isSocket(underRoot(root, "/var/run/cups/cups.sock")))
        return true;
    return loopbackAccepts(ippPortNumber(environment));
}

std::shared_ptr<CupsDestinations> makeCupsLibrary(std::chrono::milliseconds connectLimit,
                                                  const HostEnvironment& environment, const std::string& root) {
    return std::make_shared<CupsLibrary>(connectLimit, environment, root);
}

std::string HostPrinting::DefaultPrinter() {
    // The library runs on the helper thread and owns itself there, so a late
    // answer can finish after this call has given up. The question whether
    // to load it at all runs there too: it reads the user's client.conf, and
    // a home on a dead server must not hold the caller either.
    std::shared_ptr<CupsDestinations> cups = cups_;
    return runner_
        .run<std::string>("cups",
                          [cups]() -> std::optional<std::string> {
                              if (!cups->MayAnswer()) return std::string();
                              return cups->DefaultDestination();
                          })
        .value_or("");
}

}  // namespace si32
