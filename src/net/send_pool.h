#pragma once
#include <cstddef>
#include <list>
#include <memory>
#include <mutex>
#include <vector>

#include "net/socket_id.h"

struct IoContext;

// Reusable contexts for outgoing chunks, so that a reply allocates a context only when
// every pooled one is busy. The processing thread acquires; the completion worker
// releases, trims and scans; hence the lock.
class CSendPool {
public:
    // TrimSendPool is worth calling only above this many contexts; it keeps this many
    // idle ones.
    static constexpr std::size_t kTrimAbove = 128;
    static constexpr std::size_t kKeptIdle = 32;

    CSendPool();
    ~CSendPool();
    CSendPool(const CSendPool&) = delete;
    CSendPool& operator=(const CSendPool&) = delete;

    // The first idle context, or a new one at the tail: Reset and marked in use.
    IoContext* AcquireSendContext();
    void ReleaseSendContext(IoContext* ctx);
    // Frees the idle contexts beyond the 32 nearest the tail; contexts in use stay.
    void TrimSendPool();

    // Ids of connections with a send in flight for more than 2 minutes, each once.
    void CollectStuckSends(std::vector<SOCKET>& socks) const;

    std::size_t Count() const;

private:
    mutable std::mutex m_mtx;
    std::list<std::unique_ptr<IoContext>> m_list;
};
