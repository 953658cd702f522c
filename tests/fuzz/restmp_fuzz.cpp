// Fuzz target: res.tmp of any content gives two 16-bit items or a run-time
// error for each, read in bounded time.
#include <cstddef>
#include <cstdint>
#include <string>

#include "facts/res_tmp.h"
#include "platform/run_time_error.h"
#include "tests/facts/string_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    si32::factstest::StringFile file(std::string(reinterpret_cast<const char*>(data), size));
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
