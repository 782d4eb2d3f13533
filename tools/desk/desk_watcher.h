#pragma once
#include <condition_variable>
#include <ctime>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <semaphore>
#include <string>
#include <thread>
#include <vector>

#include "common/replies.h"
#include "msg/comm_msg.h"
#include "room_watch.h"

// One question to a display and everything it answered; false with a one-line reason when
// it could not be reached or broke off. The desk's own is an exchange over TCP.
using AskDisplay =
    std::function<bool(const RoomAddress& address, const CommMsg_base& request, std::vector<Reply>& replies,
                       std::string& error)>;

// Watches every room: a few worker threads take whichever room's request is most overdue,
// so that never more than kMaxInFlight requests are out at once, whatever the number of
// rooms, and a room that does not answer holds up one worker, not the others.
class DeskWatcher {
public:
    static constexpr int kMaxInFlight = 4;

    explicit DeskWatcher(AskDisplay ask);
    ~DeskWatcher();
    DeskWatcher(const DeskWatcher&) = delete;
    DeskWatcher& operator=(const DeskWatcher&) = delete;

    // Each returns the room's id; the first asks at once.
    int Add(const Room& room);
    // False when there is no such room. A new address starts the room afresh.
    bool Change(int nId, const Room& room);
    bool Remove(int nId);
    std::vector<Room> Rooms() const;

    // The width the page shows the pictures at, in pixels; the next pictures are asked at it.
    void SetPictureWidth(int nWidth);
    // A copy of every room's state, in the order they were added.
    std::vector<RoomWatch> Watches() const;
    // The room's last screen picture; null when there is none, or no such room.
    std::shared_ptr<const RoomPicture> LastPicture(int nId) const;
    // The room's screen at its full size, asked now (counted against the requests in
    // flight); null with the reason when it cannot be had.
    std::shared_ptr<const RoomPicture> FullPicture(int nId, std::string& why);

private:
    void Work();
    void Ask(int nId, RoomAddress address, RoomJob job, int nWidth);
    std::shared_ptr<const RoomPicture> AskPicture(const RoomAddress& address, int nWidth, bool& bAnswered,
                                                  std::string& why);
    bool AskGuarded(const RoomAddress& address, const CommMsg_base& request, std::vector<Reply>& replies,
                    std::string& why);
    RoomWatch* Find(int nId);
    const RoomWatch* Find(int nId) const;

    AskDisplay m_ask;
    std::counting_semaphore<kMaxInFlight> m_inFlight{kMaxInFlight};
    mutable std::mutex m_mutex;
    std::condition_variable m_wake;
    std::vector<RoomWatch> m_rooms;
    int m_nNextId = 1;
    int m_nPictureWidth = 640;
    bool m_bStopping = false;
    bool m_bTimeKept = false;  // an idle worker waits for the next request's time
    std::vector<std::thread> m_workers;
};

// The desk's way to ask: pavlune-send's exchange with a shorter wait for the connection.
AskDisplay ExchangeAsker();
