#include "screen_choice.h"

#include <QGuiApplication>
#include <QScreen>

#include <charconv>

QScreen* FindScreen(const std::string& choice)
{
    if (choice.empty()) {
        return QGuiApplication::primaryScreen();
    }
    const QList<QScreen*> screens = QGuiApplication::screens();
    int nIndex = -1;
    const char* end = choice.data() + choice.size();
    if (auto [ptr, ec] = std::from_chars(choice.data(), end, nIndex); ec == std::errc() && ptr == end) {
        return nIndex >= 0 && nIndex < screens.size() ? screens[nIndex] : nullptr;
    }
    for (QScreen* pScreen : screens) {
        if (pScreen->name().toStdString() == choice) {
            return pScreen;
        }
    }
    return nullptr;
}

std::string MonitorList()
{
    std::string text;
    const QList<QScreen*> screens = QGuiApplication::screens();
    for (qsizetype i = 0; i < screens.size(); ++i) {
        const QRect g = screens[i]->geometry();
        text += (i > 0 ? ", " : "") + std::to_string(i) + " \"" + screens[i]->name().toStdString() + "\" "
              + std::to_string(g.width()) + "x" + std::to_string(g.height()) + "+" + std::to_string(g.x()) + "+"
              + std::to_string(g.y());
    }
    return text.empty() ? "none" : text;
}
