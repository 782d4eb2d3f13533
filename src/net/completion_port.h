#pragma once
#include <future>
#include <type_traits>

#include <asio/executor_work_guard.hpp>
#include <asio/io_context.hpp>
#include <asio/ip/tcp.hpp>
#include <asio/post.hpp>

#include "net/server.h"

// What stands in for the I/O completion port: the io_context that the completion worker
// runs, the listening socket, and the worker's own bookkeeping. Everything here except
// posting to `io` belongs to the worker thread.
struct CompletionPort {
    asio::io_context io{1};
    // Keeps the worker running while nothing is pending; the exit packet drops it.
    asio::executor_work_guard<asio::io_context::executor_type> work = asio::make_work_guard(io);
    asio::ip::tcp::acceptor acceptor{io};

    bool bExiting = false;
    int nAcceptsInFlight = 0;
    bool bWatchingListen = false;
};

// Runs fn on the completion worker and waits for its result. Only for while the worker
// is certain to run it: during the start, and until the stop posts the exit packet.
template <class F>
auto CIOCPclass2016BC::CallOnWorker(F fn)
{
    if (m_hCOP->io.get_executor().running_in_this_thread()) {
        return fn();
    }
    std::packaged_task<std::invoke_result_t<F&>()> task(std::move(fn));
    auto result = task.get_future();
    asio::post(m_hCOP->io, [&task] { task(); });
    return result.get();
}
