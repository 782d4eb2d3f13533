// Files written whole: a reader finds the old file or the new one, a failed or abandoned
// write leaves the old one as it was, and no temporary file stays behind.
#include "os/durable_file.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <set>
#include <string>

#include "../options/scratch_dir.h"
#include "os/file_path.h"

namespace {

std::span<const std::uint8_t> Bytes(const std::string& text)
{
    return {reinterpret_cast<const std::uint8_t*>(text.data()), text.size()};
}

std::string ReadText(const std::string& path)
{
    std::ifstream in(PathFromUtf8(path), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

void WriteText(const std::string& path, const std::string& text)
{
    std::ofstream(PathFromUtf8(path), std::ios::binary) << text;
}

// Every file and folder under the folder, by its path relative to it.
std::set<std::string> NamesIn(const std::filesystem::path& folder)
{
    std::set<std::string> names;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(folder)) {
        const std::u8string name = entry.path().lexically_relative(folder).generic_u8string();
        names.insert(std::string(name.begin(), name.end()));
    }
    return names;
}

bool Write(const std::string& path, TemporaryName name, const std::string& text, std::string& strError)
{
    if (name == TemporaryName::Unique) return WriteFileDurably(path, Bytes(text), strError);
    DurableFile file;
    if (!file.Open(path, name, strError)) return false;
    if (!file.Write(Bytes(text))) {
        strError = file.Error();
        return false;
    }
    return file.Commit(strError);
}

struct WriteCase {
    const char* name;
    std::string target;                // under the scratch folder
    std::set<std::string> before;      // files there first, each holding "old"
    std::set<std::string> folders;     // folders there first
    bool bWritten;                     // whether the target then holds "new"
    std::set<std::string> after;       // what the scratch folder then holds
};

const WriteCase kWriteCases[] = {
    {"NewFile", "shot.png", {}, {}, true, {"shot.png"}},
    {"ReplacesTheOldFile", "shot.png", {"shot.png", "other.png"}, {}, true, {"shot.png", "other.png"}},
    {"ChineseName", "屏幕 快照.png", {"屏幕 快照.png"}, {}, true, {"屏幕 快照.png"}},
    {"NameBeyondTheBasicPlane", "🂡 Café.png", {}, {}, true, {"🂡 Café.png"}},
    {"InAFolder", "图片/shot.png", {}, {"图片"}, true, {"图片", "图片/shot.png"}},
    // Left by a write that was cut off.
    {"OverAnOldTemporaryFile", "shot.png", {"shot.png", "shot.png.tmp"}, {}, true, {"shot.png", "shot.png.tmp"}},
    {"FolderThatIsMissing", "gone/shot.png", {}, {}, false, {}},
    {"FolderAsTheTarget", "shot.png", {}, {"shot.png"}, false, {"shot.png"}},
};

class DurableWrite : public ::testing::TestWithParam<std::tuple<WriteCase, TemporaryName>> {
protected:
    std::string In(const std::string& name) const { return Utf8FromPath(m_scratch.Path()) + "/" + name; }

    const ScratchDir m_scratch{"pavlune-durable-"};
};

TEST_P(DurableWrite, WritesWholeOrLeavesTheOldFile)
{
    const auto& [c, name] = GetParam();
    for (const std::string& folder : c.folders) std::filesystem::create_directory(PathFromUtf8(In(folder)));
    for (const std::string& file : c.before) WriteText(In(file), "old");
    const std::string target = In(c.target);

    std::string strError;
    EXPECT_EQ(Write(target, name, "new", strError), c.bWritten) << strError;
    if (c.bWritten) {
        EXPECT_EQ(ReadText(target), "new");
        EXPECT_EQ(strError, "");
    } else {
        EXPECT_EQ(strError.rfind("cannot write " + target + ": ", 0), 0u) << strError;
        if (c.before.contains(c.target)) {
            EXPECT_EQ(ReadText(target), "old");
        }
    }
    // A fixed temporary name left over is the one the next write takes over.
    std::set<std::string> expected = c.after;
    if (name == TemporaryName::Fixed && c.bWritten) expected.erase(c.target + ".tmp");
    EXPECT_EQ(NamesIn(m_scratch.Path()), expected);
}

INSTANTIATE_TEST_SUITE_P(Cases, DurableWrite,
                         ::testing::Combine(::testing::ValuesIn(kWriteCases),
                                            ::testing::Values(TemporaryName::Fixed, TemporaryName::Unique)),
                         [](const auto& info) {
                             return std::string(std::get<0>(info.param).name) +
                                    (std::get<1>(info.param) == TemporaryName::Fixed ? "_Fixed" : "_Unique");
                         });

class AbandonedWrite : public ::testing::TestWithParam<TemporaryName> {};

TEST_P(AbandonedWrite, LeavesTheOldFileAndNoTemporaryFile)
{
    const ScratchDir scratch("pavlune-durable-");
    const std::string target = Utf8FromPath(scratch.Path()) + "/pages.state";
    WriteText(target, "old");
    {
        DurableFile file;
        std::string strError;
        ASSERT_TRUE(file.Open(target, GetParam(), strError)) << strError;
        ASSERT_TRUE(file.Write(Bytes("half of the new")));
    }
    EXPECT_EQ(ReadText(target), "old");
    EXPECT_EQ(NamesIn(scratch.Path()), std::set<std::string>{"pages.state"});
}

INSTANTIATE_TEST_SUITE_P(Names, AbandonedWrite, ::testing::Values(TemporaryName::Fixed, TemporaryName::Unique));

}  // namespace
