#pragma once
#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

#include "msg/comm_msg.h"
#include "net/socket_id.h"
#include "draw/image32.h"

// How long a screen picture request's connection is held open for its reply at most:
// the wait for the window's picture and time to encode it.
inline constexpr std::chrono::milliseconds kPictureReplyLimit{10000};

// Answers the requests for a picture of the screen (921) on a thread of its own, so that
// neither the window nor message handling waits for an encoder. The picture is the one the
// window keeps, copied on the window thread; every request waiting while it is encoded at
// one width gets that one encoding. Requests are answered in arrival order within a width.
//
// Bound: at most kMaxWaiting requests wait; one past that is closed without a reply. A
// window that does not hand its picture over within kPictureWait gets the waiting
// requests closed without a reply.
class ScreenPictureService {
public:
    static constexpr std::size_t kMaxWaiting = 32;
    static constexpr std::chrono::milliseconds kPictureWait{2000};
    // Encodings made from one copy of the screen before the next copy is taken.
    static constexpr int kEncodesPerPicture = 4;

    // While pictures are asked at least this often, the last one's storage is kept and the
    // next is copied into it: a screen's worth of fresh memory each time costs the display
    // more than the copy and the encoding together. Idle longer, it is given back.
    static constexpr std::chrono::seconds kKeepStorage{30};

    // Asks the window thread for its picture: `deliver` is to be called once with it (an
    // empty image when the window shows nothing), from any thread, or not at all. `reuse`
    // is the storage of the last picture, to copy into.
    using TakePicture = std::function<void(Image32 reuse, std::function<void(Image32)> deliver)>;
    // Hands the reply to the connection and closes it; a null reply closes it without one.
    using Reply = std::function<void(SOCKET s, const CommMsg_base* pReply)>;

    ScreenPictureService(TakePicture take, Reply reply);
    ScreenPictureService(const ScreenPictureService&) = delete;
    ScreenPictureService& operator=(const ScreenPictureService&) = delete;
    // Stop() first.
    ~ScreenPictureService();

    // Any thread; returns at once. nLargestWidth 0 or less: the picture at its own size.
    void Request(SOCKET s, int nLargestWidth);
    // Closes what waits without a reply and ends the thread; later requests are closed at
    // once. A second call does nothing.
    void Stop();

private:
    struct Waiting {
        SOCKET s;
        int nWidth;
    };

    void Run();
    Image32 Take();
    // The waiting requests for this width, taken off the list.
    std::vector<SOCKET> TakeWaiting(int nWidth);

    const TakePicture m_take;
    const Reply m_reply;
    std::mutex m_mtx;
    std::condition_variable m_cv;
    std::vector<Waiting> m_waiting;
    bool m_bStop = false;
    Image32 m_reuse;  // the service thread's alone
    std::thread m_thread;
};

// The reply to a screen picture request: the picture, scaled down to nLargestWidth when it
// is wider (proportions kept), as PNG with its size. False when it cannot be encoded.
bool MakeScreenPictureReply(const Image32& picture, int nLargestWidth, CommMsg_base& reply);
