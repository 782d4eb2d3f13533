// The operator's side: the right-click menu, full-screen mode and the way out.
#include "display_fixture.h"

namespace {

class Menu : public DisplayTest {
protected:
    // Right-clicks at the point and returns where the menu appeared: the box of pixels
    // that changed. Finding it on the screen keeps the test free of font metrics.
    QRect OpenMenuAt(QPoint point)
    {
        const QImage before = m_pX->Screenshot();
        EXPECT_EQ(m_pX->XDoTool({"mousemove", "--sync", std::to_string(point.x()), std::to_string(point.y()),
                                 "click", "3"}), 0);
        QRect menu;
        WaitFor([&] {
            menu = ChangedBox(before, m_pX->Screenshot(), point);
            return menu.height() > 20;
        }, kDeadline);
        return menu;
    }

    // The first item sits in the upper part of the menu, the last in the lower part, with
    // the separator between them.
    void Choose(const QRect& menu, bool bFirstItem)
    {
        const int y = bFirstItem ? menu.top() + menu.height() / 4 : menu.bottom() - menu.height() / 4;
        EXPECT_EQ(m_pX->XDoTool({"mousemove", "--sync", std::to_string(menu.center().x()), std::to_string(y),
                                 "click", "1"}), 0);
    }

private:
    // The changed pixels below and to the right of the click: the menu opens there, while
    // the running screen may change elsewhere.
    static QRect ChangedBox(const QImage& before, const QImage& after, QPoint origin)
    {
        if (before.isNull() || after.isNull() || before.size() != after.size()) {
            return {};
        }
        QRect box;
        for (int y = origin.y(); y < after.height(); ++y) {
            for (int x = origin.x(); x < std::min(after.width(), origin.x() + 400); ++x) {
                if (before.pixel(x, y) != after.pixel(x, y)) {
                    box |= QRect(x, y, 1, 1);
                }
            }
        }
        return box;
    }
};

bool CoversScreen(const QImage& shot)
{
    const int r = DisplayTest::kScreenWidth - 3;
    const int b = DisplayTest::kScreenHeight - 3;
    return AllPixelsAre(shot, {{2, 2}, {r, 2}, {2, b}, {r, b}}, kInfoBackground);
}

bool ShowsFramedWindowOnly(const QImage& shot)
{
    return AllPixelsAre(shot, {{2, 2}, {DisplayTest::kWindowWidth - 3, DisplayTest::kWindowHeight - 3}}, kInfoBackground)
        && AllPixelsAre(shot, {{DisplayTest::kScreenWidth - 3, DisplayTest::kScreenHeight - 3}}, qRgb(0, 0, 0));
}

TEST_F(Menu, FullScreenCoversTheScreenAndExitEndsTheProgram)
{
    auto display = StartDisplay();
    ASSERT_NE(m_nPort, 0);
    ASSERT_TRUE(WaitForScreen(ShowsFramedWindowOnly)) << "the window did not appear at its size";

    const QRect menu = OpenMenuAt({100, 100});
    ASSERT_GT(menu.height(), 20) << "no menu opened at the cursor";
    EXPECT_EQ(menu.topLeft(), QPoint(100, 100)) << "the menu opens at the cursor";
    Choose(menu, true);
    EXPECT_TRUE(WaitForScreen(CoversScreen)) << "full screen does not cover the screen";

    // Chosen again, it gives the framed window back at its former size.
    Choose(OpenMenuAt({300, 300}), true);
    EXPECT_TRUE(WaitForScreen(ShowsFramedWindowOnly)) << "leaving full screen did not restore the window";

    Choose(OpenMenuAt({100, 100}), false);
    EXPECT_EQ(display->Process().WaitExit(kDeadline), 0) << display->Process().Stderr();
}

TEST_F(Menu, DismissedMenuChangesNothing)
{
    auto display = StartDisplay();
    ASSERT_NE(m_nPort, 0);
    ASSERT_TRUE(WaitForScreen(ShowsFramedWindowOnly));
    const QImage before = m_pX->Screenshot();
    const QRect menu = OpenMenuAt({100, 100});
    ASSERT_GT(menu.height(), 20);
    EXPECT_EQ(m_pX->XDoTool({"key", "Escape"}), 0);
    EXPECT_TRUE(WaitForScreen([&](const QImage& shot) { return shot.copy(menu) == before.copy(menu); }))
        << "the menu did not close";
    EXPECT_TRUE(display->Process().Running());
}

TEST_F(Menu, FullScreenFromTheCommandLine)
{
    auto display = StartDisplay({"--fullscreen"});
    ASSERT_NE(m_nPort, 0);
    EXPECT_TRUE(WaitForScreen(CoversScreen));
}

}  // namespace
