#include "net/receive_queue.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

QueuedFrame Frame(SOCKET s, std::uint8_t tag)
{
    QueuedFrame f;
    const std::uint8_t bytes[] = {tag, tag, tag};
    f.m_frame.Assign(bytes, 3);
    f.m_sock = s;
    return f;
}

// (socket, first byte) of every frame taken, in order.
std::vector<std::pair<SOCKET, int>> Drain(ReceiveQueue& q)
{
    std::vector<std::pair<SOCKET, int>> out;
    while (auto f = q.Take()) {
        out.emplace_back(f->m_sock, f->m_frame.Bytes()[0]);
    }
    return out;
}

TEST(ReceiveQueue, HandsFramesOutInTheOrderTheyCame)
{
    ReceiveQueue q;
    q.Push(Frame(1, 10));
    q.Push(Frame(2, 20));
    q.Push(Frame(1, 11));
    EXPECT_EQ(q.Count(), 3u);
    EXPECT_EQ(Drain(q), (std::vector<std::pair<SOCKET, int>>{{1, 10}, {2, 20}, {1, 11}}));
    EXPECT_FALSE(q.Take().has_value());
}

TEST(ReceiveQueue, ConnectionClosedByTheProcessorLosesQueuedAndLaterFrames)
{
    ReceiveQueue q;
    q.Push(Frame(1, 10));
    q.Push(Frame(2, 20));
    q.Push(Frame(1, 11));
    q.CloseConnection(1);
    q.Push(Frame(1, 12));
    q.Push(Frame(2, 21));
    EXPECT_EQ(Drain(q), (std::vector<std::pair<SOCKET, int>>{{2, 20}, {2, 21}}));
}

TEST(ReceiveQueue, EndedConnectionLosesQueuedFramesAndIsForgotten)
{
    ReceiveQueue q;
    q.Push(Frame(1, 10));
    q.Push(Frame(2, 20));
    q.CloseConnection(3);
    q.ConnectionEnded(1);
    q.ConnectionEnded(3);
    // The id is forgotten: the queue does not grow a set of every id ever closed.
    q.Push(Frame(3, 30));
    EXPECT_EQ(Drain(q), (std::vector<std::pair<SOCKET, int>>{{2, 20}, {3, 30}}));
}

}  // namespace
