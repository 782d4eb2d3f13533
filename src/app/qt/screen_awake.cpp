#include "screen_awake.h"

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

}  // namespace

// The cookie comes back later than the request leaves; whichever of the two, reply or
// release, comes second sends the UnInhibit.
struct ScreenAwake::DesktopInhibit {
    std::optional<uint> cookie;
    bool bReleased = false;

    static void UnInhibit(uint nCookie)
    {
        QDBusMessage call = ScreenSaverCall(QStringLiteral("UnInhibit"));
        call << nCookie;
        QDBusConnection::sessionBus().send(call);
    }
};

ScreenAwake::ScreenAwake()
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
            m_pXDisplay = pDisplay;
        }
    }

    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected()) {
        return;
    }
    m_pInhibit = std::make_shared<DesktopInhibit>();
    QDBusMessage call = ScreenSaverCall(QStringLiteral("Inhibit"));
    call << QGuiApplication::applicationDisplayName() << QStringLiteral("showing the tournament room's display");
    // Asynchronous: the window thread does not wait for the desktop. A session without the
    // service answers with an error, which leaves nothing to release.
    auto* pWatcher = new QDBusPendingCallWatcher(bus.asyncCall(call), qGuiApp);
    QObject::connect(pWatcher, &QDBusPendingCallWatcher::finished,
                     [pInhibit = m_pInhibit](QDBusPendingCallWatcher* pCall) {
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
    if (m_pXDisplay != nullptr) {
        auto* pDisplay = static_cast<Display*>(m_pXDisplay);
        XScreenSaverSuspend(pDisplay, False);
        XFlush(pDisplay);
    }
    if (m_pInhibit) {
        m_pInhibit->bReleased = true;
        if (m_pInhibit->cookie) {
            DesktopInhibit::UnInhibit(*m_pInhibit->cookie);
        }
    }
}
