// A worker blocked past its deadline never holds the program at exit, also
// under LeakSanitizer, whose check at exit stops every thread.
#include <gtest/gtest.h>

#include <chrono>
#include <string>

#include "tests/platform/host/host_test_support.h"
#include "tests/support/child_process.h"
#include "tests/support/scratch_dir.h"

namespace si32 {
namespace {

TEST(DeadlineExit, AProgramWithABlockedWorkerEndsAtOnce) {
    testsupport::ChildOptions options;
    options.patience = std::chrono::seconds(3);
    const testsupport::ChildEnd end = testsupport::runChild({hosttest::binaryDir() + "/bin/deadline_exit_probe"},
                                                            testsupport::environmentWithout({}), options);
    ASSERT_TRUE(end.ended) << "the program was still running after 3 s; its blocked worker waits 5 s";
    EXPECT_EQ(end.status, 0) << "the work must have missed its deadline; " << end.err;
}

}  // namespace
}  // namespace si32
