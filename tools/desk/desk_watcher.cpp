#include "desk_watcher.h"

#include <algorithm>
#include <chrono>

#include "common/exchange.h"
#include "msg/frame_limits.h"
#include "msg/msg_fields.h"
#include "msg/msg_ids.h"

namespace {

// Pictures are asked between these widths: narrower shows nothing, wider than the
// largest screens costs the display for nothing.
constexpr int kMinPictureWidth = 120;
constexpr int kMaxPictureWidth = 3840;

// A 3840x2160 screen's PNG is a few megabytes; no screen's comes near this.
constexpr std::size_t kMaxPictureBytes = 16 * 1024 * 1024;

// A worker waits at most this long before it looks at the rooms again: a change of the
// wall clock or a lost wake-up costs no more than that.
constexpr auto kIdleWait = std::chrono::seconds(1);

// A question with no members but its identifier.
struct Request : CommMsg_base {
    explicit Request(int nId) { ResetMsg(nId); }
};

}  // namespace

AskDisplay ExchangeAsker()
{
    return [](const RoomAddress& address, const CommMsg_base& request, std::vector<Reply>& replies,
              std::string& error) {
        FrameBuffer frame;
        frame.FromMessage(request);
        ExchangeLimits limits;
        limits.connect = std::chrono::seconds(2);
        // A room's picture stays in memory until the next one: a peer that sends more than a
        // screen's PNG could ever be is cut off instead. A question's answer is text alone.
        limits.maxBytes = GetIntByName(request, kMsgIdKey) == MSGID_SCREEN_PICTURE
                              ? kMaxPictureBytes
                              : static_cast<std::size_t>(FrameLimit::kMaxJsonBytes) + 64;
        std::vector<std::uint8_t> received;
        if (!ExchangeFrame(address.host, address.port, frame, received, error, limits)) return false;
        replies = CutReplies(received);
        return true;
    };
}

DeskWatcher::DeskWatcher(AskDisplay ask) : m_ask(std::move(ask))
{
    for (int i = 0; i < kMaxInFlight; ++i) {
        m_workers.emplace_back([this] { Work(); });
    }
}

DeskWatcher::~DeskWatcher()
{
    {
        const std::lock_guard lock(m_mutex);
        m_bStopping = true;
    }
    m_wake.notify_all();
    for (std::thread& worker : m_workers) {
        worker.join();
    }
}

RoomWatch* DeskWatcher::Find(int nId)
{
    const auto it = std::find_if(m_rooms.begin(), m_rooms.end(), [&](const RoomWatch& w) { return w.nId == nId; });
    return it == m_rooms.end() ? nullptr : &*it;
}

const RoomWatch* DeskWatcher::Find(int nId) const
{
    return const_cast<DeskWatcher*>(this)->Find(nId);
}

std::shared_ptr<const RoomPicture> DeskWatcher::LastPicture(int nId) const
{
    const std::lock_guard lock(m_mutex);
    const RoomWatch* watch = Find(nId);
    return watch != nullptr ? watch->picture : nullptr;
}

int DeskWatcher::Add(const Room& room)
{
    int nId = 0;
    {
        const std::lock_guard lock(m_mutex);
        RoomWatch watch;
        watch.nId = nId = m_nNextId++;
        watch.room = room;
        m_rooms.push_back(std::move(watch));
    }
    m_wake.notify_one();
    return nId;
}

bool DeskWatcher::Change(int nId, const Room& room)
{
    {
        const std::lock_guard lock(m_mutex);
        RoomWatch* watch = Find(nId);
        if (watch == nullptr) return false;
        if (watch->room.address == room.address) {
            watch->room.name = room.name;
            return true;
        }
        // An answer still on its way from the old address is dropped by its worker, which
        // finds the address changed.
        RoomWatch fresh;
        fresh.nId = nId;
        fresh.room = room;
        fresh.bAsking = watch->bAsking;
        *watch = std::move(fresh);
    }
    m_wake.notify_one();
    return true;
}

bool DeskWatcher::Remove(int nId)
{
    const std::lock_guard lock(m_mutex);
    const auto it = std::find_if(m_rooms.begin(), m_rooms.end(), [&](const RoomWatch& w) { return w.nId == nId; });
    if (it == m_rooms.end()) return false;
    m_rooms.erase(it);
    return true;
}

std::vector<Room> DeskWatcher::Rooms() const
{
    const std::lock_guard lock(m_mutex);
    std::vector<Room> rooms;
    for (const RoomWatch& watch : m_rooms) rooms.push_back(watch.room);
    return rooms;
}

void DeskWatcher::SetPictureWidth(int nWidth)
{
    const std::lock_guard lock(m_mutex);
    m_nPictureWidth = std::clamp(nWidth, kMinPictureWidth, kMaxPictureWidth);
}

std::vector<RoomWatch> DeskWatcher::Watches() const
{
    const std::lock_guard lock(m_mutex);
    return m_rooms;
}

void DeskWatcher::Work()
{
    std::unique_lock lock(m_mutex);
    while (!m_bStopping) {
        const SteadyTime now = std::chrono::steady_clock::now();
        RoomWatch* chosen = nullptr;
        std::optional<RoomJob> job;
        SteadyTime wakeAt = now + kIdleWait;
        for (RoomWatch& watch : m_rooms) {
            if (watch.bAsking) continue;
            if (const auto due = watch.Due(now); due && (chosen == nullptr || watch.NextDue() < chosen->NextDue())) {
                chosen = &watch;
                job = due;
            }
            wakeAt = std::min(wakeAt, std::max(watch.NextDue(), now));
        }
        if (chosen == nullptr) {
            // One idle worker keeps the time; the others sleep until there is work, so that
            // a request falling due wakes one thread, not all of them.
            if (m_bTimeKept) {
                m_wake.wait(lock);
            } else {
                m_bTimeKept = true;
                m_wake.wait_until(lock, wakeAt);
                m_bTimeKept = false;
            }
            continue;
        }
        chosen->OnAsked(*job, now);
        // Another idle worker takes over the time, or the next room due.
        m_wake.notify_one();
        const int nId = chosen->nId;
        const RoomAddress address = chosen->room.address;
        const int nWidth = m_nPictureWidth;
        lock.unlock();
        Ask(nId, address, *job, nWidth);
        lock.lock();
    }
}

bool DeskWatcher::AskGuarded(const RoomAddress& address, const CommMsg_base& request, std::vector<Reply>& replies,
                             std::string& why)
{
    m_inFlight.acquire();
    const bool bAnswered = m_ask(address, request, replies, why);
    m_inFlight.release();
    return bAnswered;
}

std::shared_ptr<const RoomPicture> DeskWatcher::AskPicture(const RoomAddress& address, int nWidth, bool& bAnswered,
                                                           std::string& why)
{
    Request request(MSGID_SCREEN_PICTURE);
    if (nWidth > 0) SetIntField(request, MsgKey::kLargestWidth, nWidth);
    std::vector<Reply> replies;
    bAnswered = AskGuarded(address, request, replies, why);
    if (!bAnswered) return nullptr;
    const Reply* reply = FindReply(replies, MSGID_SCREEN_PICTURE);
    if (reply == nullptr) {
        why = "the display has no screen picture to give yet";
        return nullptr;
    }
    auto picture = std::make_shared<RoomPicture>();
    picture->png.assign(reply->msg->m_pAttach.get(), reply->msg->m_pAttach.get() + reply->msg->m_nAttachLen);
    const auto size = PngSize(picture->png);
    if (!size || size->first != GetIntField(*reply->msg, MsgKey::kScreenWidth) ||
        size->second != GetIntField(*reply->msg, MsgKey::kScreenHeight)) {
        why = "the display sent a screen picture that is not the PNG it said";
        return nullptr;
    }
    picture->nWidth = size->first;
    picture->nHeight = size->second;
    return picture;
}

void DeskWatcher::Ask(int nId, RoomAddress address, RoomJob job, int nWidth)
{
    std::string why;
    std::vector<Reply> replies;
    std::shared_ptr<const RoomPicture> picture;
    bool bAnswered = false;
    bool bOlder = false;
    if (job == RoomJob::Picture) {
        picture = AskPicture(address, nWidth, bAnswered, why);
    } else {
        bAnswered = AskGuarded(address, Request(MSGID_STATUS), replies, why);
        // A display from before the status request closes without a word; the size request
        // tells an older display from something else on that port.
        if (bAnswered && FindReply(replies, MSGID_STATUS) == nullptr) {
            std::vector<Reply> size;
            bAnswered = AskGuarded(address, Request(MSGID_SCREEN_SIZE), size, why);
            bOlder = bAnswered && FindReply(size, MSGID_SCREEN_SIZE) != nullptr;
            if (bAnswered && !bOlder) {
                bAnswered = false;
                why = "something answers on that port, but not as a Pavlune display";
            }
        }
    }
    const SteadyTime now = std::chrono::steady_clock::now();
    {
        const std::lock_guard lock(m_mutex);
        RoomWatch* watch = Find(nId);
        if (watch == nullptr) return;
        if (watch->room.address != address) {
            watch->bAsking = false;
        } else if (!bAnswered) {
            watch->OnFailure(why, now, std::time(nullptr));
        } else if (job == RoomJob::Picture) {
            if (picture) {
                watch->OnPicture(std::move(picture), now);
            } else {
                // Nothing to show yet, or a damaged picture: the last one stays, and the
                // next is asked a picture period later.
                watch->bAsking = false;
                watch->bPictureWanted = false;
                watch->pictureAt = now;
            }
        } else if (bOlder) {
            watch->OnOlder(now);
        } else {
            watch->OnStatus(*FindReply(replies, MSGID_STATUS)->msg, now);
        }
    }
    m_wake.notify_one();
}

std::shared_ptr<const RoomPicture> DeskWatcher::FullPicture(int nId, std::string& why)
{
    RoomAddress address;
    {
        const std::lock_guard lock(m_mutex);
        const RoomWatch* watch = Find(nId);
        if (watch == nullptr) {
            why = "there is no such room";
            return nullptr;
        }
        address = watch->room.address;
    }
    bool bAnswered = false;
    return AskPicture(address, 0, bAnswered, why);
}
