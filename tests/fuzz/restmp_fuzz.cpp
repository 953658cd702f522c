// Fuzz target: res.tmp of any content gives two 16-bit items or a run-time
// error for each, read in bounded time.
#include <cstddef>
#include <cstdint>

#include "facts/res_tmp.h"
#include "platform/run_time_error.h"

namespace {

class BytesFile : public si32::SequentialFile {
public:
    BytesFile(const uint8_t* data, size_t size) : data_(data), size_(size) {}
    int Get() override {
        ++reads;
        return position_ < size_ ? data_[position_++] : -1;
    }
    size_t reads = 0;

private:
    const uint8_t* data_;
    size_t size_;
    size_t position_ = 0;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    BytesFile file(data, size);
    si32::ResTmpReader reader(file);
    for (int item = 0; item < 2; ++item) {
        try {
            (void)reader.ReadItem();
        } catch (const si32::RunTimeError&) {
            // The percentage stays 0: the step hides its meter.
        }
    }
    if (file.reads > si32::kResTmpReadLimit + 1) __builtin_trap();
    return 0;
}
