// The Linux host with a prefix of the test's own.
#include "platform/host/host_backend.h"
#include "tests/platform/contract/real_machine.h"
#include "tests/platform/host/host_test_support.h"

namespace si32 {
namespace {

class HostMachine : public RealMachine {
public:
    explicit HostMachine(Frontend& frontend) {
        context_.root.assign(1, '/');  // = "/" draws a false overlap warning from GCC 12
        context_.prefix = prefix_.path();
        context_.executableDir = hosttest::binaryDir() + "/bin";
        prefix_.mkdir("drive_c/WINDOWS/SYSTEM");
        backend_ = makeHostBackend(frontend, Program::Report, context_);
    }
    Backend& backend() override { return *backend_; }
    bool followsContractForShortBuffers() const override { return true; }

private:
    hosttest::ScratchDir prefix_;
    HostContext context_;
    std::unique_ptr<Backend> backend_;
};

}  // namespace

std::unique_ptr<RealMachine> makeRealMachine(Frontend& frontend) { return std::make_unique<HostMachine>(frontend); }

}  // namespace si32
