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
// thread, in the order of the line numbers. A listener must not write or read the log.
// Once Unsubscribe returns, the listener is not running and is never called again.
// Subscribe returns the id for Unsubscribe.
using Listener = std::function<void(const std::u16string& line)>;
int Subscribe(Listener listener);
void Unsubscribe(int id);

// Empties the log and sets the counter, so that the next line gets number counter + 1
// (counter 1000000 lets a test reach the wrap without a million writes); for tests only.
void ResetForTest(int counter = 0);

}  // namespace DiagLog
