#include "screen_picture_service.h"

#include <algorithm>
#include <memory>
#include <optional>

#include "msg/msg_fields.h"
#include "msg/msg_ids.h"
#include "draw/image_scale.h"
#include "draw/picture_codec.h"

ScreenPictureService::ScreenPictureService(TakePicture take, Reply reply)
    : m_take(std::move(take)), m_reply(std::move(reply)), m_thread([this] { Run(); })
{
}

ScreenPictureService::~ScreenPictureService()
{
    Stop();
}

void ScreenPictureService::Request(SOCKET s, int nLargestWidth)
{
    {
        std::lock_guard lock(m_mtx);
        if (!m_bStop && m_waiting.size() < kMaxWaiting) {
            m_waiting.push_back(Waiting{s, std::max(nLargestWidth, 0)});
            m_cv.notify_all();
            return;
        }
    }
    m_reply(s, nullptr);
}

void ScreenPictureService::Stop()
{
    std::vector<Waiting> dropped;
    {
        std::lock_guard lock(m_mtx);
        m_bStop = true;
        dropped.swap(m_waiting);
        m_cv.notify_all();
    }
    if (m_thread.joinable()) m_thread.join();
    for (const Waiting& w : dropped) m_reply(w.s, nullptr);
}

std::vector<SOCKET> ScreenPictureService::TakeWaiting(int nWidth)
{
    std::vector<SOCKET> socks;
    std::lock_guard lock(m_mtx);
    std::erase_if(m_waiting, [&](const Waiting& w) {
        if (w.nWidth != nWidth) return false;
        socks.push_back(w.s);
        return true;
    });
    return socks;
}

Image32 ScreenPictureService::Take()
{
    struct Slot {
        std::mutex mtx;
        std::condition_variable cv;
        std::optional<Image32> picture;
    };
    // Shared with the window thread's task, which may run after this wait gave up.
    const auto slot = std::make_shared<Slot>();
    m_take(std::move(m_reuse), [slot](Image32 picture) {
        std::lock_guard lock(slot->mtx);
        slot->picture = std::move(picture);
        slot->cv.notify_all();
    });
    const auto deadline = std::chrono::steady_clock::now() + kPictureWait;
    std::unique_lock lock(slot->mtx);
    // A stop is seen within a twentieth of a second: the window thread that stops this
    // service cannot hand a picture over meanwhile.
    while (!slot->picture && std::chrono::steady_clock::now() < deadline) {
        slot->cv.wait_for(lock, std::chrono::milliseconds(50));
        std::lock_guard stopLock(m_mtx);
        if (m_bStop) return Image32();
    }
    return slot->picture ? std::move(*slot->picture) : Image32();
}

void ScreenPictureService::Run()
{
    for (;;) {
        {
            std::unique_lock lock(m_mtx);
            if (!m_cv.wait_for(lock, kKeepStorage, [this] { return m_bStop || !m_waiting.empty(); })) {
                m_reuse = Image32();
                m_cv.wait(lock, [this] { return m_bStop || !m_waiting.empty(); });
            }
            if (m_bStop) return;
        }
        Image32 picture = Take();
        for (int nEncodes = 0; nEncodes < kEncodesPerPicture; ++nEncodes) {
            int nWidth = 0;
            {
                std::lock_guard lock(m_mtx);
                if (m_bStop || m_waiting.empty()) break;
                nWidth = m_waiting.front().nWidth;
            }
            CommMsg_base reply;
            const bool bMade = !picture.IsNull() && MakeScreenPictureReply(picture, nWidth, reply);
            // Those that came for this width while it was encoded take it too.
            for (SOCKET s : TakeWaiting(nWidth)) m_reply(s, bMade ? &reply : nullptr);
        }
        m_reuse = std::move(picture);
    }
}

bool MakeScreenPictureReply(const Image32& picture, int nLargestWidth, CommMsg_base& reply)
{
    std::vector<std::uint8_t> png;
    if (nLargestWidth > 0 && nLargestWidth < picture.Width()) {
        const int nHeight = std::max(1, static_cast<int>((static_cast<std::int64_t>(picture.Height()) * nLargestWidth +
                                                          picture.Width() / 2) / picture.Width()));
        const Image32 scaled = ScalePicture(picture, nLargestWidth, nHeight);
        if (!EncodePng(scaled, png)) return false;
        reply.ResetMsg(MSGID_SCREEN_PICTURE);
        SetIntField(reply, MsgKey::kScreenWidth, scaled.Width());
        SetIntField(reply, MsgKey::kScreenHeight, scaled.Height());
    } else {
        if (!EncodePng(picture, png)) return false;
        reply.ResetMsg(MSGID_SCREEN_PICTURE);
        SetIntField(reply, MsgKey::kScreenWidth, picture.Width());
        SetIntField(reply, MsgKey::kScreenHeight, picture.Height());
    }
    reply.SetAttachment(png.data(), static_cast<int>(png.size()));
    return true;
}
