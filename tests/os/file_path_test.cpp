// Files named in any script: written, renamed, listed and read back through the paths the
// program hands the system.
#include "os/file_path.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "../options/scratch_dir.h"

namespace {

struct NameCase {
    const char* name;
    const char8_t* utf8;
    const char16_t* utf16;  // the same name as the system lists it, spelled apart
};

class FilePath : public ::testing::TestWithParam<NameCase> {};

TEST_P(FilePath, NamesTheSameFileEveryWayRound)
{
    const std::string name(reinterpret_cast<const char*>(GetParam().utf8));
    const ScratchDir scratch("pavlune-path-");
    const std::string folder = Utf8FromPath(scratch.Path()) + "/" + name;
    const std::string file = folder + "/" + name + ".png";
    std::filesystem::create_directories(PathFromUtf8(folder));
    { std::ofstream(PathFromUtf8(file + ".tmp"), std::ios::binary) << "picture"; }
    std::filesystem::rename(PathFromUtf8(file + ".tmp"), PathFromUtf8(file));

    std::vector<std::u16string> listed;
    for (const auto& entry : std::filesystem::directory_iterator(scratch.Path() / PathFromUtf8(name))) {
        listed.push_back(entry.path().filename().u16string());
    }
    EXPECT_EQ(listed, std::vector<std::u16string>{std::u16string(GetParam().utf16) + u".png"});
    std::ifstream in(PathFromUtf8(file), std::ios::binary);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), "picture");
    EXPECT_EQ(Utf8FromPath(PathFromUtf8(file).filename()), name + ".png");
}

INSTANTIATE_TEST_SUITE_P(
    Scripts, FilePath,
    ::testing::Values(NameCase{"ascii", u8"snapshot", u"snapshot"},
                      NameCase{"chinese", u8"快照 屏幕", u"\u5FEB\u7167 \u5C4F\u5E55"},
                      // Outside the Chinese ANSI code page, as the Chinese is outside the Western one.
                      NameCase{"latin", u8"Café Zürich", u"Caf\u00E9 Z\u00FCrich"},
                      // Beyond the Basic Multilingual Plane: a surrogate pair in UTF-16.
                      NameCase{"playing_card", u8"🂡 spades", u"\U0001F0A1 spades"}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
