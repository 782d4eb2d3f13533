// Linux takes the window's language from the locale variables.
#include "os/lang_index.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>
#include <string>

namespace {

// The three locale variables, saved and put back around each case.
class WindowLangIndexTest : public testing::Test {
protected:
    static constexpr const char* kNames[] = {"LC_ALL", "LC_MESSAGES", "LANG"};

    void SetUp() override
    {
        for (int i = 0; i < 3; ++i) {
            if (const char* v = std::getenv(kNames[i])) {
                m_saved[i] = v;
            }
        }
    }
    void TearDown() override
    {
        for (int i = 0; i < 3; ++i) {
            Put(kNames[i], m_saved[i] ? m_saved[i]->c_str() : nullptr);
        }
    }
    static void Put(const char* name, const char* value)
    {
        if (value) {
            setenv(name, value, 1);
        } else {
            unsetenv(name);
        }
    }
    // nullptr leaves the variable unset.
    static int IndexWith(const char* all, const char* messages, const char* lang)
    {
        Put("LC_ALL", all);
        Put("LC_MESSAGES", messages);
        Put("LANG", lang);
        return WindowLangIndex();
    }

private:
    std::optional<std::string> m_saved[3];
};

TEST_F(WindowLangIndexTest, ReadsTheFirstSetVariableInLibraryOrder)
{
    EXPECT_EQ(IndexWith(nullptr, nullptr, nullptr), 1);
    EXPECT_EQ(IndexWith(nullptr, nullptr, "zh_CN.UTF-8"), 0);
    EXPECT_EQ(IndexWith(nullptr, "zh_CN.UTF-8", "en_US.UTF-8"), 0);
    EXPECT_EQ(IndexWith("en_US.UTF-8", "zh_CN.UTF-8", "zh_CN.UTF-8"), 1);
    EXPECT_EQ(IndexWith("zh_SG.UTF-8", "en_US.UTF-8", "en_US.UTF-8"), 0);
    EXPECT_EQ(IndexWith("", "", "zh_CN.UTF-8"), 0) << "empty variables count as unset";
    EXPECT_EQ(IndexWith(nullptr, nullptr, "zh_TW.UTF-8"), 1);
}

TEST_F(WindowLangIndexTest, IsWorkedOutAfreshAtEachUse)
{
    EXPECT_EQ(IndexWith("zh_CN.UTF-8", nullptr, nullptr), 0);
    Put("LC_ALL", "en_GB.UTF-8");
    EXPECT_EQ(WindowLangIndex(), 1);
}

}  // namespace
