#include "wine_desk.h"

#include <gtest/gtest.h>
#include <signal.h>

#include <regex>

#include "child_process.h"
#include "pavlune_session.h"
#include "wait_for.h"

void ExpectDeskServesAndEndsOnCtrlC(const std::string& program, const std::string& scratchDir)
{
    // Port 1 of this machine: a room that never answers, which the page soon says.
    ChildProcess desk({"wine", program, "--no-browser", "--port", "0", "--room", "Room 1=127.0.0.1:1"}, {},
                      scratchDir + "/desk.out", scratchDir + "/desk.err");
    ASSERT_TRUE(desk.Started());
    const std::regex serving(R"(pavlune-desk: serving (http://127\.0\.0\.1:\d+/))");
    std::string page;
    ASSERT_TRUE(WaitFor(
        [&] {
            const std::string out = desk.Stdout();
            std::smatch found;
            if (!std::regex_search(out, found, serving)) return false;
            page = found[1].str();
            return true;
        },
        kDeadline))
        << desk.Stdout() << desk.Stderr();

    ToolResult rooms;
    EXPECT_TRUE(WaitFor(
        [&] {
            rooms = RunTool({"curl", "-sS", "-m", "10", page + "api/rooms"}, {}, scratchDir);
            return rooms.out.find(R"("state":"not answering")") != std::string::npos;
        },
        kDeadline))
        << rooms.out << rooms.err;
    EXPECT_NE(rooms.out.find(R"("name":"Room 1")"), std::string::npos) << rooms.out;
    const ToolResult html = RunTool({"curl", "-sS", "-m", "10", page}, {}, scratchDir);
    EXPECT_NE(html.out.find("<title>Pavlune desk</title>"), std::string::npos) << html.out.substr(0, 300);

    desk.Signal(SIGINT);
    EXPECT_EQ(desk.WaitExit(kDeadline), 0) << desk.Stderr();
}
