// Stands in for a desktop's screen saver service on a private session bus, so that the
// end-to-end tests can see what the display asks of it. Each call is one line on
// standard output: "Inhibit APP REASON -> COOKIE" and "UnInhibit COOKIE"; "ready" comes
// first, once the service has its name.
#include <QCoreApplication>
#include <QDBusConnection>
#include <QObject>

#include <iostream>

class FakeScreenSaver : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.ScreenSaver")
public slots:
    uint Inhibit(const QString& app, const QString& reason)
    {
        ++m_nCookie;
        std::cout << "Inhibit " << app.toStdString() << " " << reason.toStdString() << " -> " << m_nCookie
                  << std::endl;
        return m_nCookie;
    }
    void UnInhibit(uint nCookie) { std::cout << "UnInhibit " << nCookie << std::endl; }

private:
    uint m_nCookie = 40;
};

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    FakeScreenSaver saver;
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.registerObject(QStringLiteral("/org/freedesktop/ScreenSaver"), &saver, QDBusConnection::ExportAllSlots)
        || !bus.registerService(QStringLiteral("org.freedesktop.ScreenSaver"))) {
        std::cerr << "fake_screensaver: cannot take the service's name" << std::endl;
        return 1;
    }
    std::cout << "ready" << std::endl;
    return QCoreApplication::exec();
}

#include "fake_screensaver.moc"
