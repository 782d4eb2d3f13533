#pragma once

// Writes to a socket or pipe whose reader has gone fail with EPIPE instead of ending the
// process with SIGPIPE. Process-wide; calling it again does nothing more.
void IgnoreBrokenPipe();
