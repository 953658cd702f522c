#pragma once
// The real machine of the system the contract test runs on: the Linux host
// over a scratch prefix, or Windows itself.
#include <memory>

#include "platform/platform.h"

namespace si32 {

class RealMachine {
public:
    virtual ~RealMachine() = default;
    virtual Backend& backend() = 0;
    // What a call leaves in a buffer too small for its answer follows the
    // contract (the Linux backends), or is the system's own (Windows, whose
    // documentation leaves it open; Wine fills what fits).
    virtual bool followsContractForShortBuffers() const = 0;
};

std::unique_ptr<RealMachine> makeRealMachine(Frontend& frontend);

}  // namespace si32
