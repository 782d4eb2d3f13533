// The window needs an application object; every test of this folder shares one, on the
// offscreen platform, with real fonts and real rendering.
#include <QApplication>

#include <gtest/gtest.h>

namespace {

class QtEnvironment : public ::testing::Environment {
public:
    void SetUp() override { m_pApp = std::make_unique<QApplication>(m_nArgc, m_argv); }
    void TearDown() override { m_pApp.reset(); }

private:
    int m_nArgc = 1;
    char m_name[16] = "frame_tests";
    char* m_argv[2] = {m_name, nullptr};
    std::unique_ptr<QApplication> m_pApp;
};

[[maybe_unused]] const auto* const g_pEnvironment = ::testing::AddGlobalTestEnvironment(new QtEnvironment);

}  // namespace
