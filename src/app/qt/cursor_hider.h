#pragma once
#include <QBasicTimer>
#include <QObject>

#include <chrono>

class QWidget;

// While active, hides the mouse cursor over a widget once the mouse has not moved for a
// while, and shows it again at the next movement or click. Inactive, the widget keeps
// its arrow. Owned by the widget; window thread only.
class CursorHider : public QObject {
public:
    CursorHider(QWidget* pWidget, std::chrono::milliseconds idle);

    void SetActive(bool bActive);
    bool IsHidden() const { return m_bHidden; }

protected:
    bool eventFilter(QObject* pWatched, QEvent* pEvent) override;
    void timerEvent(QTimerEvent* pEvent) override;

private:
    void ShowCursor();

    QWidget* const m_pWidget;
    const int m_nIdleMs;
    QBasicTimer m_timer;
    bool m_bActive = false;
    bool m_bHidden = false;
};

inline constexpr std::chrono::milliseconds kCursorIdle{3000};
