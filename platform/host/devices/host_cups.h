#pragma once
// The default printer on the host: CUPS's default destination. A CUPS
// connection can block (a server on a dead route, a name that never
// resolves), so the question runs bounded: no answer in time is no printer.
#include <chrono>
#include <memory>
#include <string>

#include "platform/engine/deadline_runner.h"
#include "platform/host/common/host_context.h"
#include "platform/printing.h"

namespace si32 {

class CupsDestinations {
public:
    virtual ~CupsDestinations() = default;
    // false when plainly no scheduler can answer, so the question need not
    // be put at all. Never blocks.
    virtual bool MayAnswer() { return true; }
    // "printer" or "printer/instance"; "" when there is none or no server.
    // May block.
    virtual std::string DefaultDestination() = 0;
};

// libcups is loaded at the first question that gets past MayAnswer; a machine
// without it has no printer. connectLimit bounds the connection to the server
// and each of its answers. Files are read below root.
std::shared_ptr<CupsDestinations> makeCupsLibrary(std::chrono::milliseconds connectLimit,
                                                  const HostEnvironment& environment, const std::string& root = "/");

// Loads libcups now: false when it, or a function the question needs, is
// missing.
bool cupsLibraryLoads();

// Whether a CUPS scheduler might answer, judged from files and the loopback
// alone: one named by CUPS_SERVER or by ServerName in client.conf (the
// system's below root, or the user's ~/.cups/client.conf), a scheduler
// socket at run/cups/cups.sock or var/run/cups/cups.sock below root, or
// anything taking connections on this machine's IPP port (631, or IPP_PORT),
// where CUPS goes when nothing else is named. Errs towards true: a false "no"
// would hide a printer. Takes at most a tenth of a second.
bool cupsSchedulerMayAnswer(const std::string& root, const HostEnvironment& environment);

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
