#pragma once
#include <QObject>

#include <functional>

// SIGINT and SIGTERM end the program the way the close button does. The handler only
// writes a byte into a pipe; the window thread reads it and calls the action, so nothing
// unsafe runs inside the signal handler.
class QuitSignals : public QObject {
    Q_OBJECT
public:
    explicit QuitSignals(std::function<void()> onQuit, QObject* parent = nullptr);
    ~QuitSignals() override;

private:
    void OnSignalByte();

    std::function<void()> m_onQuit;
    int m_fds[2] = {-1, -1};
};
