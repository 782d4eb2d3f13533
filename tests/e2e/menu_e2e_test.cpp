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

TEST_F(Menu, F11AndEscapeSwitchLikeTheMenuItemAndNoKeyEndsTheProgram)
{
    auto display = StartDisplay();
    ASSERT_NE(m_nPort, 0);
    ASSERT_TRUE(WaitForScreen(ShowsFramedWindowOnly));
    // The menu as it looks without its check mark, then dismissed.
    const QRect menu = OpenMenuAt({100, 100});
    ASSERT_GT(menu.height(), 20);
    const QImage unchecked = m_pX->Screenshot().copy(menu);
    ASSERT_EQ(m_pX->XDoTool({"key", "Escape"}), 0);
    ASSERT_TRUE(WaitForScreen(ShowsFramedWindowOnly)) << "the menu did not close";

    ASSERT_EQ(m_pX->XDoTool({"mousemove", "--sync", "200", "200", "key", "F11"}), 0);
    EXPECT_TRUE(WaitForScreen(CoversScreen)) << "F11 did not cover the screen";
    const QRect checkedMenu = OpenMenuAt({100, 100});
    ASSERT_GT(checkedMenu.height(), 20);
    EXPECT_NE(m_pX->Screenshot().copy(checkedMenu), unchecked) << "no check mark after F11";
    ASSERT_EQ(m_pX->XDoTool({"key", "Escape"}), 0);
    ASSERT_TRUE(WaitForScreen(CoversScreen)) << "closing the menu left full screen";

    ASSERT_EQ(m_pX->XDoTool({"key", "F11"}), 0);
    EXPECT_TRUE(WaitForScreen(ShowsFramedWindowOnly)) << "F11 again did not give the framed window back";
    ASSERT_EQ(m_pX->XDoTool({"mousemove", "--sync", "300", "300", "key", "F11"}), 0);
    ASSERT_TRUE(WaitForScreen(CoversScreen));
    ASSERT_EQ(m_pX->XDoTool({"key", "Escape"}), 0);
    EXPECT_TRUE(WaitForScreen(ShowsFramedWindowOnly)) << "Escape did not leave full screen";
    const QRect menuAgain = OpenMenuAt({100, 100});
    EXPECT_EQ(m_pX->Screenshot().copy(menuAgain), unchecked) << "the check mark stayed";
    ASSERT_EQ(m_pX->XDoTool({"key", "Escape"}), 0);

    // Keys that end other programs, in both modes; the pointer stays over the window.
    ASSERT_EQ(m_pX->XDoTool({"mousemove", "--sync", "200", "200"}), 0);
    for (const char* key : {"Escape", "q", "ctrl+q", "ctrl+c", "ctrl+w", "alt+F4", "Return", "F11", "Escape",
                            "alt+F4", "ctrl+q"}) {
        ASSERT_EQ(m_pX->XDoTool({"key", key}), 0);
    }
    ASSERT_EQ(SendTo({"size"}).nStatus, 0) << "the display no longer answers";
    EXPECT_TRUE(display->Process().Running());
}

TEST_F(Menu, FullScreenFromTheCommandLine)
{
    auto display = StartDisplay({"--fullscreen"});
    ASSERT_NE(m_nPort, 0);
    EXPECT_TRUE(WaitForScreen(CoversScreen));
}

}  // namespace
