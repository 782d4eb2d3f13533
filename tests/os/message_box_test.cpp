#include "os/message_box.h"

#include <gtest/gtest.h>

#include <string>

namespace {

class MessageBoxTest : public testing::Test {
protected:
    void TearDown() override { SetMessageBoxHandler(nullptr); }
};

TEST_F(MessageBoxTest, GoesToStandardErrorAsUtf8WithoutAHandler)
{
    testing::internal::CaptureStderr();
    ShowMessageBox(u"无法监听端口 9977");
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "无法监听端口 9977\n");
}

TEST_F(MessageBoxTest, GoesToTheHandlerOnceOneIsSet)
{
    std::u16string shown;
    SetMessageBoxHandler([&](const std::u16string& text) { shown = text; });
    testing::internal::CaptureStderr();
    ShowMessageBox(u"second copy");
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
    EXPECT_EQ(shown, u"second copy");
}

}  // namespace
