#include "platform/host/host_cups.h"

#include <cups/cups.h>


namespace si32 {
namespace {

// Gives up on an answer that is late instead of waiting again.
int giveUp(http_t*, void*) { return 0; }

class CupsLibrary final : public CupsDestinations {
public:
    explicit CupsLibrary(std::chrono::milliseconds connectLimit) : connectLimit_(connectLimit) {}

    std::string DefaultDestination() override {
        http_t* http = httpConnect2(cupsServer(), ippPort(), nullptr, AF_UNSPEC, cupsEncryption(), 1,
                                    static_cast<int>(connectLimit_.count()), nullptr);
        if (http == nullptr) return {};
        httpSetTimeout(http, static_cast<double>(connectLimit_.count()) / 1000.0, giveUp, nullptr);
        cups_dest_t* dests = nullptr;
        const int count = cupsGetDests2(http, &dests);
        // The user's choice (lpoptions, LPDEST, PRINTER) before the server's.
        const cups_dest_t* chosen = cupsGetDest(nullptr, nullptr, count, dests);
        std::string name;
        if (chosen != nullptr && chosen->name != nullptr) {
            name = chosen->name;
            if (chosen->instance != nullptr) name += std::string("/") + chosen->instance;
        }
        cupsFreeDests(count, dests);
        httpClose(http);
        return name;
    }

private:
    std::chrono::milliseconds connectLimit_;
};

}  // namespace

std::shared_ptr<CupsDestinations> makeCupsLibrary(std::chrono::milliseconds connectLimit) {
    return std::make_shared<CupsLibrary>(connectLimit);
}

std::string HostPrinting::DefaultPrinter() {
    // The library runs on the helper thread and owns itself there, so a late
    // answer can finish after this call has given up.
    std::shared_ptr<CupsDestinations> cups = cups_;
    return runner_.run<std::string>("cups", [cups]() -> std::optional<std::string> {
                      return cups->DefaultDestination();
                  })
        .value_or("");
}

}  // namespace si32
