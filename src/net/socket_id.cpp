#include "socket_id.h"

#include <atomic>

SOCKET NewSocketId()
{
    static std::atomic<SOCKET> s_nNext{1};
    return s_nNext.fetch_add(1, std::memory_order_relaxed);
}
