#include "screen_choice.h"

#include <QGuiApplication>
#include <QScreen>

#include <algorithm>

#include "core/monitor_choice.h"

namespace {

// The primary screen first, the others in Qt's order.
QList<QScreen*> Screens()
{
    QList<QScreen*> screens = QGuiApplication::screens();
    const QScreen* pPrimary = QGuiApplication::primaryScreen();
    std::stable_partition(screens.begin(), screens.end(), [pPrimary](const QScreen* p) { return p == pPrimary; });
    return screens;
}

}  // namespace

std::vector<MonitorInfo> Monitors()
{
    std::vector<MonitorInfo> monitors;
    for (const QScreen* pScreen : Screens()) {
        const QRect g = pScreen->geometry();
        monitors.push_back(MonitorInfo{pScreen->name().toStdString(), RECT{g.x(), g.y(), g.x() + g.width(), g.y() + g.height()}});
    }
    return monitors;
}

QScreen* MonitorScreen(std::size_t nMonitor)
{
    const QList<QScreen*> screens = Screens();
    return nMonitor < static_cast<std::size_t>(screens.size()) ? screens[static_cast<qsizetype>(nMonitor)] : nullptr;
}
