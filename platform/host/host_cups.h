#pragma once
// The default printer on the host: CUPS's default destination. A CUPS
// connection can block (a server on a dead route, a name that never
// resolves), so the question runs bounded: no answer in time is no printer.
#include <chrono>
#include <memory>
#include <string>

#include "platform/host/volumes_deadline.h"
#include "platform/printing.h"

namespace si32 {

class CupsDestinations {
public:
    virtual ~CupsDestinations() = default;
    // "printer" or "printer/instance"; "" when there is none or no server.
    // May block.
    virtual std::string DefaultDestination() = 0;
};

// connectLimit bounds the connection to the server and each of its answers.
std::shared_ptr<CupsDestinations> makeCupsLibrary(std::chrono::milliseconds connectLimit);

inline constexpr std::chrono::milliseconds kCupsConnectLimit{1000};
inline constexpr std::chrono::milliseconds kCupsQueryLimit{2000};

class HostPrinting final : public Printing {
public:
    HostPrinting(std::shared_ptr<CupsDestinations> cups, std::chrono::milliseconds limit)
        : cups_(std::move(cups)), runner_(limit) {}
    std::string DefaultPrinter() override;

private:
    std::shared_ptr<CupsDestinations> cups_;
    // A server still stuck on an earlier question fails the next at once.
    DeadlineRunner runner_;
};

}  // namespace si32
