#pragma once
#include <QBuffer>
#include <QCoreApplication>
#include <QImage>

#include <gtest/gtest.h>

#include <memory>
#include <mutex>

#include "app/qt/main_frame.h"
#include "page_messages.h"
#include "peer.h"

// Runs the window thread's events until the condition holds or the deadline passes.
template <typename Condition>
bool WaitForEvents(Condition condition, std::chrono::milliseconds deadline)
{
    const auto end = std::chrono::steady_clock::now() + deadline;
    while (!condition()) {
        if (std::chrono::steady_clock::now() >= end) {
            return false;
        }
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    }
    return true;
}

// The real window on the offscreen platform, its server on a free port, with a client
// area of 1920 x 1080.
class FrameTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_pFrame = std::make_unique<CMainFrame>(0);
        ASSERT_TRUE(m_pFrame->Create());
        m_pFrame->ShowWithClientSize(1920, 1080);
        m_nPort = m_pFrame->ListeningPort();
        ASSERT_NE(m_nPort, 0);
    }

    // Sends one message on a connection of its own and waits until the display has closed
    // it, which it does at the end of the handling; what came back is returned.
    std::vector<std::uint8_t> Deliver(const CommMsg_base& msg)
    {
        Peer peer(m_nPort);
        EXPECT_TRUE(peer.Connected());
        EXPECT_TRUE(peer.Send(msg));
        EXPECT_TRUE(peer.WaitClosed()) << "the display did not close the connection";
        return peer.Received();
    }

    std::string PageKinds() { return PageKindsOf(*m_pFrame); }

    static void ProcessEventsFor(int nMilliseconds)
    {
        const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(nMilliseconds);
        while (std::chrono::steady_clock::now() < end) {
            QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        }
    }

    std::unique_ptr<CMainFrame> m_pFrame;
    int m_nPort = 0;
};

inline std::unique_ptr<CommMsg_base> NotePageMsg(bool bReplace, QRgb colour = qRgb(10, 200, 30))
{
    auto msg = MakeMsg(MSGID_NOTE_PAGE);
    if (bReplace) {
        SetIntField(*msg, MsgKey::kReplaceNotes, 1);
    }
    QImage picture(32, 24, QImage::Format_RGB32);
    picture.fill(colour);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    picture.save(&buffer, "PNG");
    msg->SetAttachment(reinterpret_cast<const std::uint8_t*>(bytes.constData()), static_cast<int>(bytes.size()));
    return msg;
}
