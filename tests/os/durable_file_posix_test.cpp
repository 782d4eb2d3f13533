// A pipe where the file or its temporary file should be is refused at once, never waited
// on and never replaced.
#include "os/durable_file.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <filesystem>

#include "../options/scratch_dir.h"

namespace {

struct PipeCase {
    const char* name;
    const char* pipe;  // the name the pipe has
    TemporaryName tmpName;
};

class DurableFilePipe : public ::testing::TestWithParam<PipeCase> {};

TEST_P(DurableFilePipe, IsRefusedAndStays)
{
    const ScratchDir scratch("pavlune-durable-");
    const std::string folder = scratch.Path().string();
    ASSERT_EQ(::mkfifo((folder + "/" + GetParam().pipe).c_str(), 0600), 0);

    DurableFile file;
    std::string strError;
    EXPECT_FALSE(file.Open(folder + "/pages.state", GetParam().tmpName, strError));
    EXPECT_EQ(strError.rfind("cannot write " + folder + "/pages.state: ", 0), 0u) << strError;
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(scratch.Path())) {
        names.push_back(entry.path().filename().string());
        EXPECT_TRUE(entry.is_fifo()) << names.back();
    }
    EXPECT_EQ(names, std::vector<std::string>{GetParam().pipe});
}

// The saved pages are the user's own; a screenshot is as readable as the user's umask lets
// any new file be.
TEST(DurableFileMode, FollowsWhoMayRead)
{
    const ScratchDir scratch("pavlune-durable-");
    const ::mode_t old = ::umask(022);
    for (const auto& [readers, mode] : {std::pair{Readers::Owner, 0600}, std::pair{Readers::Anyone, 0644}}) {
        const std::string path = (scratch.Path() / "file").string();
        DurableFile file;
        std::string strError;
        ASSERT_TRUE(file.Open(path, TemporaryName::Fixed, strError, readers)) << strError;
        ASSERT_TRUE(file.Commit(strError)) << strError;
        struct stat st {};
        ASSERT_EQ(::stat(path.c_str(), &st), 0);
        EXPECT_EQ(st.st_mode & 0777, static_cast<::mode_t>(mode));
    }
    ::umask(old);
}

INSTANTIATE_TEST_SUITE_P(Places, DurableFilePipe,
                         ::testing::Values(PipeCase{"Target", "pages.state", TemporaryName::Unique},
                                           PipeCase{"TargetWithAFixedName", "pages.state", TemporaryName::Fixed},
                                           PipeCase{"TemporaryFile", "pages.state.tmp", TemporaryName::Fixed}),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
