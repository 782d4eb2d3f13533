#include "message_box_qt.h"

#include <QApplication>
#include <QMessageBox>
#include <QThread>

#include <iostream>

#include "os/message_box.h"
#include "platform_choice.h"
#include "text/wide_text.h"

namespace {

void ShowDialog(const std::u16string& text)
{
    QMessageBox box(QMessageBox::Warning, QCoreApplication::applicationName(),
                    QString::fromStdU16String(text), QMessageBox::Ok);
    box.exec();
}

}  // namespace

void InstallMessageBoxes()
{
    const bool bHeadless = IsHeadlessPlatform();
    SetMessageBoxHandler([bHeadless](const std::u16string& text) {
        // Always on standard error as well, in one write: a service manager's journal is
        // where an unattended display's faults are read.
        std::cerr << ("pavlune: " + WideToUtf8(text) + "\n") << std::flush;
        QCoreApplication* app = QCoreApplication::instance();
        if (bHeadless || app == nullptr) {
            return;
        }
        if (QThread::currentThread() == app->thread()) {
            ShowDialog(text);
        } else {
            // Dialogs live on the window thread. The caller does not wait for the click: it
            // may be a thread that the window thread is about to join.
            QMetaObject::invokeMethod(app, [text] { ShowDialog(text); }, Qt::QueuedConnection);
        }
    });
}
