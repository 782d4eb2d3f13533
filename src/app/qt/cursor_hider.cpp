#include "cursor_hider.h"

#include <QEvent>
#include <QTimerEvent>
#include <QWidget>

CursorHider::CursorHider(QWidget* pWidget, std::chrono::milliseconds idle)
    : QObject(pWidget), m_pWidget(pWidget), m_nIdleMs(static_cast<int>(idle.count()))
{
    // Movement without a button pressed reaches the widget only with tracking on.
    m_pWidget->setMouseTracking(true);
    m_pWidget->installEventFilter(this);
}

void CursorHider::SetActive(bool bActive)
{
    m_bActive = bActive;
    ShowCursor();
    if (m_bActive) {
        m_timer.start(m_nIdleMs, this);
    } else {
        m_timer.stop();
    }
}

bool CursorHider::eventFilter(QObject* pWatched, QEvent* pEvent)
{
    if (m_bActive && pWatched == m_pWidget
        && (pEvent->type() == QEvent::MouseMove || pEvent->type() == QEvent::MouseButtonPress)) {
        ShowCursor();
        m_timer.start(m_nIdleMs, this);
    }
    return false;
}

void CursorHider::timerEvent(QTimerEvent* pEvent)
{
    if (pEvent->timerId() != m_timer.timerId()) {
        QObject::timerEvent(pEvent);
        return;
    }
    m_timer.stop();
    if (m_bActive) {
        m_pWidget->setCursor(Qt::BlankCursor);
        m_bHidden = true;
    }
}

void CursorHider::ShowCursor()
{
    if (m_bHidden) {
        m_pWidget->setCursor(Qt::ArrowCursor);
        m_bHidden = false;
    }
}
