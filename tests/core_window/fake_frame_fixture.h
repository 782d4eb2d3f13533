#pragma once
#include <gtest/gtest.h>

#include <chrono>
#include <memory>
#include <string>
#include <vector>

#include "fake_frame.h"
#include "loopback_client.h"
#include "page_messages.h"

// The fake window, shown with a client area of 1920 x 1080, its server on a free port.
class FakeFrameTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_pFrame = std::make_unique<FakeFrame>(0);
        ASSERT_TRUE(m_pFrame->Create());
        m_pFrame->ShowWithClientSize(1920, 1080);
        m_nPort = m_pFrame->ListeningPort();
        ASSERT_NE(m_nPort, 0);
    }

    // Sends one message on a connection of its own and waits until the display has closed
    // it, which it does at the end of the handling; what came back is returned.
    std::vector<std::uint8_t> Deliver(const CommMsg_base& msg)
    {
        LoopbackClient peer(m_nPort);
        EXPECT_TRUE(peer.Connected());
        EXPECT_TRUE(peer.Send(FrameOf(msg)));
        std::vector<std::uint8_t> reply = peer.ReadUntilClosed();
        EXPECT_TRUE(peer.PeerClosed()) << "the display did not close the connection";
        return reply;
    }

    std::string PageKinds() { return PageKindsOf(*m_pFrame); }

    void ProcessEventsFor(int nMilliseconds) { m_pFrame->RunFor(std::chrono::milliseconds(nMilliseconds)); }

    std::unique_ptr<FakeFrame> m_pFrame;
    int m_nPort = 0;
};

// A 32 x 24 picture of one colour as an uncompressed 32-bit BMP, which every drawing
// layer decodes.
inline std::vector<std::uint8_t> OneColourBmp(std::uint32_t nRgb)
{
    constexpr std::uint32_t kWidth = 32;
    constexpr std::uint32_t kHeight = 24;
    constexpr std::uint32_t kHeaders = 54;
    std::vector<std::uint8_t> bmp(kHeaders + kWidth * kHeight * 4);
    auto put = [&bmp](std::size_t at, std::uint32_t value) {
        for (int i = 0; i < 4; ++i) bmp[at + i] = static_cast<std::uint8_t>(value >> (8 * i));
    };
    bmp[0] = 'B';
    bmp[1] = 'M';
    put(2, static_cast<std::uint32_t>(bmp.size()));
    put(10, kHeaders);
    put(14, 40);
    put(18, kWidth);
    put(22, kHeight);
    put(26, 1 | (32u << 16));  // one plane, 32 bits a pixel
    for (std::size_t at = kHeaders; at < bmp.size(); at += 4) put(at, 0xFF000000u | nRgb);
    return bmp;
}

inline std::unique_ptr<CommMsg_base> NotePageMsg(bool bReplace, std::uint32_t nRgb = 0x0AC81E)
{
    auto msg = MakeMsg(MSGID_NOTE_PAGE);
    if (bReplace) {
        SetIntField(*msg, MsgKey::kReplaceNotes, 1);
    }
    const std::vector<std::uint8_t> bmp = OneColourBmp(nRgb);
    msg->SetAttachment(bmp.data(), static_cast<int>(bmp.size()));
    return msg;
}
