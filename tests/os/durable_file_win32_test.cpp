// A device's name as the target (the console, the null device, a serial port) is refused:
// nothing is written to the device and no file is made under its name.
#include "os/durable_file.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "../options/scratch_dir.h"
#include "os/file_path.h"

namespace {

class DurableFileDevice : public ::testing::TestWithParam<const char*> {};

TEST_P(DurableFileDevice, IsRefused)
{
    const ScratchDir scratch("pavlune-durable-");
    const std::string target = Utf8FromPath(scratch.Path()) + "/" + GetParam();
    const std::uint8_t bytes[] = {'n', 'e', 'w'};
    std::string strError;
    EXPECT_FALSE(WriteFileDurably(target, bytes, strError));
    EXPECT_EQ(strError.rfind("cannot write " + target + ": ", 0), 0u) << strError;
    EXPECT_TRUE(std::filesystem::is_empty(scratch.Path()));
}

INSTANTIATE_TEST_SUITE_P(Names, DurableFileDevice, ::testing::Values("NUL", "COM1", "CON"),
                         [](const auto& info) { return std::string(info.param); });

}  // namespace
