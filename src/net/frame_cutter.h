#pragma once
#include "net/receive_queue.h"
#include "net/socket_id.h"
#include "net/stream_buffer.h"

// Cuts every whole frame from the front of a connection's stream and queues, for the
// connection s, the accepted ones that carry a message id of 1 or more. Rejected frames
// are dropped; past 20 of them in one call the rest of the stream is taken for garbage
// and dropped too, and the connection's next bytes begin a new stream.
void CutFrames(StreamBuffer& stream, SOCKET s, ReceiveQueue& queue);
