#include "platform/host/host_backend.h"

#include <utility>

#include "platform/host/devices/host_devices.h"
#include "platform/host/display/host_ui.h"
#include "platform/host/kernel/host_kernel.h"
#include "platform/host/registry/host_registry.h"

namespace si32 {
namespace {

// Members are declared in the order they depend on each other: the context
// and the machine first, the services last, so every reference a service
// holds outlives it.
class HostBackend final : public Backend {
public:
    HostBackend(Frontend& frontend, Program program, HostContext context)
        : context_(std::move(context)),
          machine_(readMachineFacts(context_.root, context_.machine)),
          drives_(DriveMap::Build(context_)),
          volumes_(context_, drives_),
          registryStore_(buildHostRegistry(context_, machine_)),
          deps_{frontend, program, context_, drives_, registryStore_},
          kernel_(context_, machine_, drives_, volumes_),
          registry_(context_, registryStore_),
          files_(context_, drives_),
          regional_(context_),
          ui_(makeHostUi(deps_)),
          shell_(makeHostShell(deps_)),
          multimedia_(makeHostMultimedia()),
          printing_(makeHostPrinting(context_)),
          platform_{kernel_, registry_, *shell_, *ui_, *multimedia_, files_, *printing_, regional_} {}

    Platform& platform() override { return platform_; }

private:
    HostContext context_;
    MachineFacts machine_;
    DriveMap drives_;
    HostVolumes volumes_;
    RegistryStore registryStore_;
    HostDeps deps_;
    HostKernel kernel_;
    HostRegistry registry_;
    HostFiles files_;
    HostRegional regional_;
    std::unique_ptr<Ui> ui_;
    std::unique_ptr<Shell> shell_;
    std::unique_ptr<Multimedia> multimedia_;
    std::unique_ptr<Printing> printing_;
    Platform platform_;
};

}  // namespace

std::unique_ptr<Backend> makeHostBackend(Frontend& frontend, Program program) {
    return makeHostBackend(frontend, program, makeHostContext());
}

std::unique_ptr<Backend> makeHostBackend(Frontend& frontend, Program program, HostContext context) {
    return std::make_unique<HostBackend>(frontend, program, std::move(context));
}

}  // namespace si32
