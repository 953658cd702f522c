#include "platform/capture/recorders.h"

#include <memory>

#include "platform/capture/recording_calls.h"

namespace si32::capture {
namespace {

class RecordingPrinting final : public Printing {
public:
    RecordingPrinting(Printing& inner, Recording& rec) : inner_(inner), rec_(rec) {}
    std::string DefaultPrinter() override {
        std::string name = ask(rec_, "DefaultPrinter", [&] { return inner_.DefaultPrinter(); });
        keepFirst(rec_.defaultPrinter, name);
        return name;
    }

private:
    Printing& inner_;
    Recording& rec_;
};

}  // namespace

std::unique_ptr<Printing> RecordPrinting(Printing& inner, Recording& rec) {
    return std::make_unique<RecordingPrinting>(inner, rec);
}

}  // namespace si32::capture
