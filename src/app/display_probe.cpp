#include "display_probe.h"

#include <cstdlib>
#include <cstring>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>
#include <xcb/xcb.h>

bool CanReachXDisplay(const std::string& name)
{
    xcb_connection_t* pConnection = xcb_connect(name.c_str(), nullptr);
    const bool bReached = xcb_connection_has_error(pConnection) == 0;
    xcb_disconnect(pConnection);
    return bReached;
}

bool CanReachWaylandDisplay(const std::string& name)
{
    std::string path = name;
    if (path.empty() || path[0] != '/') {
        const char* runtimeDir = std::getenv("XDG_RUNTIME_DIR");
        if (runtimeDir == nullptr || *runtimeDir == '\0') {
            return false;
        }
        path = std::string(runtimeDir) + "/" + (path.empty() ? "wayland-0" : path);
    }
    sockaddr_un addr{};
    addr.sun_family = AF_UNIX;
    if (path.size() >= sizeof addr.sun_path) {
        return false;
    }
    std::memcpy(addr.sun_path, path.c_str(), path.size() + 1);
    const int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0) {
        return false;
    }
    const bool bReached = connect(fd, reinterpret_cast<const sockaddr*>(&addr), sizeof addr) == 0;
    close(fd);
    return bReached;
}
