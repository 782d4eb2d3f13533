#include "diag_log.h"

#include <deque>
#include <map>
#include <mutex>

#include "platform/clock.h"
#include "text/wide_text.h"

namespace {

constexpr int kCounterWrap = 1000000;

struct LogState {
    std::mutex mtx;
    std::deque<std::u16string> lines;
    int counter = 0;
};

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
    std::u16string line;
    {
        LogState& s = State();
        std::lock_guard lock(s.mtx);
        s.counter = s.counter > kCounterWrap ? 1 : s.counter + 1;
        line = u"[" + Utf8ToWide(Clock::Now().Text()) + u" 行=" + IntToWide(s.counter) + u"]" + message;
        if (s.lines.size() >= DiagLog::kMaxLines) {
            s.lines.pop_front();
        }
        s.lines.push_back(line);
    }
    std::map<int, DiagLog::Listener> listeners;
    {
        Listeners& l = Subscribers();
        std::lock_guard lock(l.mtx);
        if (l.byId.empty()) {
            return;
        }
        listeners = l.byId;
    }
    for (const auto& [id, listener] : listeners) {
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

void ResetForTest()
{
    LogState& s = State();
    std::lock_guard lock(s.mtx);
    s.lines.clear();
    s.counter = 0;
}

}  // namespace DiagLog
