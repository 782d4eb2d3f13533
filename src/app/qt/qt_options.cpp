#include "qt_options.h"

const HandOnOptions& QtHandOnOptions()
{
    static const HandOnOptions options{{"platform", "platformpluginpath", "platformtheme", "plugin", "qwindowgeometry",
                                        "qwindowicon", "qwindowtitle", "display", "geometry", "style", "stylesheet",
                                        "session", "name", "title"},
                                       {"reverse"}};
    return options;
}

PlatformHelp QtHelp()
{
    return PlatformHelp{{{"-platform NAME", "Qt's platform plugin: xcb, wayland, offscreen, linuxfb or eglfs "
                                            "(default: the one that WAYLAND_DISPLAY or DISPLAY names, else offscreen)."}},
                        "A display server that DISPLAY, WAYLAND_DISPLAY or -platform names but that cannot be "
                        "reached ends the program with status 1; with none named at all it runs on the "
                        "offscreen platform. A right click opens the menu: \"Full screen\" and \"Exit\"."};
}
