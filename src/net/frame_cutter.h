#pragma once
#include <cstddef>
#include <memory>
#include <vector>

#include "msg/comm_msg.h"
#include "net/stream_buffer.h"

// One message cut from a stream, parsed, with what it counts against the server's bound
// of held bytes.
struct CutMessage {
    std::unique_ptr<CommMsg_base> m_pMsg;
    std::size_t m_nHeldBytes = 0;
};

struct CutResult {
    int m_nRejected = 0;
    // More than 20 frames were rejected: the rest of the stream was taken for garbage
    // and dropped, and the connection's next bytes begin a new stream.
    bool m_bDiscarded = false;
};

// Cuts every whole frame from the front of a connection's stream; one per connection,
// as it remembers what is left to drop of a frame rejected before it was whole.
//
// A frame is checked and its JSON text parsed once, here; those that carry a message id
// of 1 or more are appended to `out`, in stream order. Rejected frames are dropped; the
// rest of a frame with an id below 1 is dropped without counting as rejected. A JSON
// text nested more than 64 deep is rejected without being parsed. A frame
// whose header announces a JSON text of more than 1 MiB is rejected as soon as its
// header is in, and its bytes are dropped as they arrive instead of being held.
class FrameCutter {
public:
    CutResult Cut(StreamBuffer& stream, std::vector<CutMessage>& out);

private:
    std::size_t m_nSkip = 0;
};
