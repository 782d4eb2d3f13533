// The screen kept awake on Linux. On X the screen saver and its DPMS timer are suspended
// through the X connection, so a crash releases them with the connection; a desktop's
// freedesktop ScreenSaver service, when the session bus has one, holds an inhibition as
// well. Qt's application object must exist.
#include "core/screen_awake.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QGuiApplication>
#include <QtGui/qguiapplication_platform.h>

#include <optional>

#include <X11/Xlib.h>
#include <X11/extensions/dpms.h>
#include <X11/extensions/scrnsaver.h>

namespace {

const QString kService = QStringLiteral("org.freedesktop.ScreenSaver");
const QString kPath = QStringLiteral("/org/freedesktop/ScreenSaver");

QDBusMessage ScreenSaverCall(const QString& method)
{
    return QDBusMessage::createMethodCall(kService, kPath, kService, method);
}

// A screen that was already dark when full screen began lights up again.
void WakeScreen(Display* pDisplay)
{
    XForceScreenSaver(pDisplay, ScreenSaverReset);
    int nEvent = 0;
    int nError = 0;
    CARD16 nLevel = 0;
    BOOL bEnabled = False;
    if (DPMSQueryExtension(pDisplay, &nEvent, &nError) && DPMSCapable(pDisplay)
        && DPMSInfo(pDisplay, &nLevel, &bEnabled) && bEnabled && nLevel != DPMSModeOn) {
        DPMSForceLevel(pDisplay, DPMSModeOn);
    }
}

// The cookie comes back later than the request leaves; whichever of the two, reply or
// release, comes second sends the UnInhibit.
struct DesktopInhibit {
    std::optional<uint> cookie;
    bool bReleased = false;

    static void UnInhibit(uint nCookie)
    {
        QDBusMessage call = ScreenSaverCall(QStringLiteral("UnInhibit"));
        call << nCookie;
        QDBusConnection::sessionBus().send(call);
    }
};

}  // namespace

struct ScreenAwake::Hold {
    Display* pXDisplay = nullptr;  // Qt's X connection while the suspension holds
    std::shared_ptr<DesktopInhibit> pInhibit;
};

ScreenAwake::ScreenAwake() : m_pHold(std::make_unique<Hold>())
{
    auto* pX11 = qGuiApp != nullptr ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    if (pX11 != nullptr && pX11->display() != nullptr) {
        Display* pDisplay = pX11->display();
        int nEvent = 0;
        int nError = 0;
        int nMajor = 0;
        int nMinor = 0;
        // Suspending came with version 1.1 of the extension.
        if (XScreenSaverQueryExtension(pDisplay, &nEvent, &nError) && XScreenSaverQueryVersion(pDisplay, &nMajor, &nMinor)
            && (nMajor > 1 || (nMajor == 1 && nMinor >= 1))) {
            XScreenSaverSuspend(pDisplay, True);
            WakeScreen(pDisplay);
            XFlush(pDisplay);
            m_pHold->pXDisplay = pDisplay;
        }
    }

    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected()) {
        return;
    }
    m_pHold->pInhibit = std::make_shared<DesktopInhibit>();
    QDBusMessage call = ScreenSaverCall(QStringLiteral("Inhibit"));
    call << QGuiApplication::applicationDisplayName() << QStringLiteral("showing the tournament room's display");
    // Asynchronous: the window thread does not wait for the desktop. A session without the
    // service answers with an error, which leaves nothing to release.
    auto* pWatcher = new QDBusPendingCallWatcher(bus.asyncCall(call), qGuiApp);
    QObject::connect(pWatcher, &QDBusPendingCallWatcher::finished,
                     [pInhibit = m_pHold->pInhibit](QDBusPendingCallWatcher* pCall) {
                         const QDBusPendingReply<uint> reply = *pCall;
                         pCall->deleteLater();
                         if (reply.isError()) {
                             return;
                         }
                         if (pInhibit->bReleased) {
                             DesktopInhibit::UnInhibit(reply.value());
                         } else {
                             pInhibit->cookie = reply.value();
                         }
                     });
}

ScreenAwake::~ScreenAwake()
{
    if (m_pHold->pXDisplay != nullptr) {
        XScreenSaverSuspend(m_pHold->pXDisplay, False);
        XFlush(m_pHold->pXDisplay);
    }
    if (m_pHold->pInhibit) {
        m_pHold->pInhibit->bReleased = true;
        if (m_pHold->pInhibit->cookie) {
            DesktopInhibit::UnInhibit(*m_pHold->pInhibit->cookie);
        }
    }
}
