#include "platform/capture/recording_backend.h"

#include "platform/capture/recorders.h"
#include "platform/text_helpers.h"

namespace si32::capture {

bool NoCaseLess::operator()(const std::string& a, const std::string& b) const { return lessNoCase(a, b); }

struct RecordingBackend::Services {
    explicit Services(Platform& wrapped)
        : inner(wrapped),
          kernel(RecordKernel(wrapped.kernel, rec)),
          registry(RecordRegistry(wrapped.registry, rec)),
          shell(RecordShell(wrapped.shell, rec)),
          ui(RecordUi(wrapped.ui, rec)),
          multimedia(RecordMultimedia(wrapped.multimedia, rec)),
          files(RecordFiles(wrapped.files, rec, lookOnly)),
          printing(RecordPrinting(wrapped.printing, rec)),
          regional(RecordRegional(wrapped.regional, rec)),
          platform{*kernel, *registry, *shell, *ui, *multimedia, *files, *printing, *regional} {}

    Platform& inner;
    Recording rec;
    bool lookOnly = false;
    std::unique_ptr<Kernel> kernel;
    std::unique_ptr<Registry> registry;
    std::unique_ptr<Shell> shell;
    std::unique_ptr<Ui> ui;
    std::unique_ptr<Multimedia> multimedia;
    std::unique_ptr<Files> files;
    std::unique_ptr<Printing> printing;
    std::unique_ptr<Regional> regional;
    Platform platform;
};

RecordingBackend::RecordingBackend(Backend& inner) : services_(std::make_unique<Services>(inner.platform())) {}
RecordingBackend::~RecordingBackend() = default;

Platform& RecordingBackend::platform() { return services_->platform; }

void RecordingBackend::StopStartingPrograms() { services_->lookOnly = true; }

void RecordingBackend::KeepSpaceAsShown() { services_->rec.spaceAsShown = true; }

void RecordingBackend::Complete() {
    RecordAllMidiNames(services_->inner.multimedia, services_->rec);
    RecordRegionalTexts(services_->inner.regional, services_->rec);
    RecordWindowsDirectory(services_->inner.kernel, services_->rec);
    // Every text above is in it, whether the program asked or not.
    services_->kernel->GetACP();
}

const Recording& RecordingBackend::recording() const { return services_->rec; }

}  // namespace si32::capture
