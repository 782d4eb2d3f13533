// A POSIX file name is bytes: one that is not UTF-8 still names its file.
#include "os/file_path.h"

#include <gtest/gtest.h>

TEST(FilePathPosix, BytesPassUnchanged)
{
    for (const std::string name : {"/tmp/a\xff\xfe.png", "/tmp/\xe5\xbf\xab.png", "relative/x"}) {
        EXPECT_EQ(PathFromUtf8(name).native(), name);
        EXPECT_EQ(Utf8FromPath(PathFromUtf8(name)), name);
    }
}
