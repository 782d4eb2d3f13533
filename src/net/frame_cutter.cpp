#include "frame_cutter.h"

#include "msg/comm_msg.h"
#include "msg/msg_fields.h"
#include "net/frame_limits.h"

void CutFrames(StreamBuffer& stream, SOCKET s, ReceiveQueue& queue)
{
    int rejected = 0;
    for (;;) {
        const int length = NextFrameLength(stream.Data(), stream.Size());
        if (length < 0) {
            return;
        }
        QueuedFrame queued;
        queued.m_frame.Assign(stream.Data(), length);
        queued.m_sock = s;
        stream.Consume(static_cast<std::size_t>(length));
        CommMsg_base msg;
        if (queued.m_frame.ToMessage(msg)) {
            if (GetIntByName(msg, kMsgIdKey) >= 1) {
                queue.Push(std::move(queued));
            }
        } else if (++rejected > FrameLimit::kMaxRejectedFrames) {
            stream.Clear();
            return;
        }
    }
}
