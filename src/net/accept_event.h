#pragma once
#include <chrono>
#include <condition_variable>
#include <mutex>

// An auto-reset event that the accept thread waits on: signalled when a connection is
// waiting that no pending accept has taken, closed by the stop to end the thread.
class AcceptEvent {
public:
    enum class WaitResult { Signalled, Timeout, Closed };

    void Signal();
    void Close();
    // Takes the signal (resetting it) when there is one within the timeout.
    WaitResult Wait(std::chrono::milliseconds timeout);

private:
    std::mutex m_mtx;
    std::condition_variable m_cv;
    bool m_bSignalled = false;
    bool m_bClosed = false;
};
