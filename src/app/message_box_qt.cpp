#include "message_box_qt.h"

#include <QApplication>
#include <QMessageBox>
#include <QThread>

#include <iostream>

#include "platform/message_box.h"
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
    if (IsHeadlessPlatform()) {
        // Without a handler the messages already go to standard error.
        return;
    }
    SetMessageBoxHandler([](const std::u16string& text) {
        QCoreApplication* app = QCoreApplication::instance();
        if (app == nullptr) {
            std::cerr << WideToUtf8(text) << std::endl;
        } else if (QThread::currentThread() == app->thread()) {
            ShowDialog(text);
        } else {
            // Dialogs live on the window thread. The caller does not wait for the click: it
            // may be a thread that the window thread is about to join.
            QMetaObject::invokeMethod(app, [text] { ShowDialog(text); }, Qt::QueuedConnection);
        }
    });
}
