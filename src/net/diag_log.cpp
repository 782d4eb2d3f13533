#include "diag_log.h"

#include <deque>
#include <map>
#include <mutex>

#include "os/clock.h"
#include "text/wide_text.h"

namespace {

constexpr int kCounterWrap = 1000000;

struct LogState {
    std::mutex mtx;
    std::deque<std::u16string> lines;
    int counter = 0;
};

// Listeners are called under their own lock, which a writer takes before it lets go of
// the log's lock: lines reach listeners in the order of their numbers, and once
// Unsubscribe returns its listener is never called again.
struct Listeners {
    std::mutex mtx;
    std::map<int, DiagLog::Listener> byId;
    int nextId = 1;
};

// Function-local statics so that a line written during static start-up still finds them.
LogState& State()
{
    static LogState state;
    return state;
}

Listeners& Subscribers()
{
    static Listeners listeners;
    return listeners;
}

}  // namespace

void WriteLog(std::u16string message)
{
    LogState& s = State();
    std::unique_lock lock(s.mtx);
    s.counter = s.counter > kCounterWrap ? 1 : s.counter + 1;
    std::u16string line = u"[" + Utf8ToWide(Clock::Now().Text()) + u" 行=" + IntToWide(s.counter) + u"]" + message;
    if (s.lines.size() >= DiagLog::kMaxLines) {
        s.lines.pop_front();
    }
    s.lines.push_back(line);

    Listeners& l = Subscribers();
    std::lock_guard delivery(l.mtx);
    lock.unlock();
    for (const auto& [id, listener] : l.byId) {
        listener(line);
    }
}

namespace DiagLog {

std::vector<std::u16string> Lines()
{
    LogState& s = State();
    std::lock_guard lock(s.mtx);
    return {s.lines.begin(), s.lines.end()};
}

int Subscribe(Listener listener)
{
    Listeners& l = Subscribers();
    std::lock_guard lock(l.mtx);
    const int id = l.nextId++;
    l.byId.emplace(id, std::move(listener));
    return id;
}

void Unsubscribe(int id)
{
    Listeners& l = Subscribers();
    std::lock_guard lock(l.mtx);
    l.byId.erase(id);
}

void ResetForTest(int counter)
{
    LogState& s = State();
    std::lock_guard lock(s.mtx);
    s.lines.clear();
    s.counter = counter;
}

}  // namespace DiagLog
