#pragma once
#include <cstddef>
#include <list>
#include <memory>
#include <vector>

#include "net/socket_id.h"

struct IoContext;

// The contexts of every posted accept, each of which then serves its connection, oldest
// first. It owns them. It holds Asio sockets, so only the completion worker touches it
// (and the stop, once the worker has ended); that is why it needs no lock.
class CConnList {
public:
    CConnList();
    // Shuts down the sockets of the connections still held, then frees every context.
    ~CConnList();
    CConnList(const CConnList&) = delete;
    CConnList& operator=(const CConnList&) = delete;

    IoContext* Append(std::unique_ptr<IoContext> ctx);
    // Frees the context; one that is not in the list is left alone.
    void RemoveConnection(IoContext* ctx);

    // The connected context with this id, or null.
    IoContext* FindConnection(SOCKET s) const;
    std::vector<IoContext*> Connections() const;

    // Ids of connections idle past their limit: 2 minutes before any data, 6 hours
    // after. Accepts still pending are never collected.
    void CollectIdleConnections(std::vector<SOCKET>& socks) const;

    int PendingAccepts() const;
    std::size_t Count() const { return m_list.size(); }

private:
    std::list<std::unique_ptr<IoContext>> m_list;
};
