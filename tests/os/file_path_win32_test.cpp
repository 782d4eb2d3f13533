// A name that is not UTF-8 (a configuration file's stray byte) opens nothing on Windows,
// where it has no UTF-16 spelling, instead of ending the program.
#include "os/file_path.h"

#include <gtest/gtest.h>

#include <fstream>

TEST(FilePathWin32, TextThatIsNotUtf8OpensNothing)
{
    for (const std::string name : {"C:\\a\xff.png", "C:\\\xe5\xbf.png"}) {
        EXPECT_TRUE(PathFromUtf8(name).empty());
        EXPECT_FALSE(std::ifstream(PathFromUtf8(name)).is_open());
    }
}
