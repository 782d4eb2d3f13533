#include "display_probe.h"

#include <cstdlib>
#include <cstring>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>
#include <xcb/xcb.h>

DisplayConnection ConnectXDisplay(const std::string& name)
{
    DisplayConnection connection(xcb_connect(name.c_str(), nullptr),
                                 [](void* p) { xcb_disconnect(static_cast<xcb_connection_t*>(p)); });
    if (xcb_connection_has_error(static_cast<xcb_connection_t*>(connection.get())) != 0) {
        return nullptr;
    }
    return connection;
}

DisplayConnection ConnectWaylandDisplay(const std::string& name)
{
    std::string path = name;
    if (path.empty() || path[0] != '/') {
        const char* runtimeDir = std::getenv("XDG_RUNTIME_DIR");
        if (runtimeDir == nullptr || *runtimeDir == '\0') {
            return nullptr;
        }
        path = std::string(runtimeDir) + "/" + (path.empty() ? "wayland-0" : path);
    }
    sockaddr_un addr{};
    addr.sun_family = AF_UNIX;
    if (path.size() >= sizeof addr.sun_path) {
        return nullptr;
    }
    std::memcpy(addr.sun_path, path.c_str(), path.size() + 1);
    const int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0) {
        return nullptr;
    }
    if (connect(fd, reinterpret_cast<const sockaddr*>(&addr), sizeof addr) != 0) {
        close(fd);
        return nullptr;
    }
    return DisplayConnection(new int(fd), [](void* p) {
        close(*static_cast<int*>(p));
        delete static_cast<int*>(p);
    });
}
