// Windows itself, answering through its own calls.
#include "platform/win32/win32_backend.h"
#include "tests/platform/contract/real_machine.h"

namespace si32 {
namespace {

class WindowsMachine : public RealMachine {
public:
    explicit WindowsMachine(Frontend& frontend) : backend_(makeWin32Backend(frontend, Program::Report)) {}
    Backend& backend() override { return *backend_; }
    bool followsContractForShortBuffers() const override { return false; }

private:
    std::unique_ptr<Backend> backend_;
};

}  // namespace

std::unique_ptr<RealMachine> makeRealMachine(Frontend& frontend) { return std::make_unique<WindowsMachine>(frontend); }

}  // namespace si32
