#pragma once
#include <cstddef>
#include <functional>
#include <string>
#include <vector>

// The process-wide, bounded, in-memory diagnostic log of the server. Any thread may
// write. Lines are numbered 1 .. 1000001 and then from 1 again; at most 3001 are kept.
void WriteLog(std::u16string message);

namespace DiagLog {

inline constexpr std::size_t kMaxLines = 3001;

// A copy of the lines kept, oldest first.
std::vector<std::u16string> Lines();

// Calls the listener with every line as it is written (prefix included), on the writing
// thread, outside the log's lock. Returns an id for Unsubscribe.
using Listener = std::function<void(const std::u16string& line)>;
int Subscribe(Listener listener);
void Unsubscribe(int id);

// Empties the log and sets the counter back to 0; for tests.
void ResetForTest();

}  // namespace DiagLog
