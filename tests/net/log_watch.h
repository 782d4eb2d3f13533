#pragma once
// Collects the diagnostic log lines written while it lives, without their prefix.
#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <string>
#include <vector>

#include "net/diag_log.h"

class LogWatch {
public:
    LogWatch()
        : m_id(DiagLog::Subscribe([this](const std::u16string& line) {
              const auto end = line.find(u']');
              {
                  std::lock_guard lock(m_mtx);
                  m_lines.push_back(end == std::u16string::npos ? line : line.substr(end + 1));
              }
              m_cv.notify_all();
          }))
    {
    }
    ~LogWatch() { DiagLog::Unsubscribe(m_id); }
    LogWatch(const LogWatch&) = delete;
    LogWatch& operator=(const LogWatch&) = delete;

    std::vector<std::u16string> Lines()
    {
        std::lock_guard lock(m_mtx);
        return m_lines;
    }
    int Count(const std::u16string& line)
    {
        std::lock_guard lock(m_mtx);
        return static_cast<int>(std::count(m_lines.begin(), m_lines.end(), line));
    }
    bool WaitFor(const std::u16string& line, std::chrono::milliseconds deadline = std::chrono::seconds(10))
    {
        std::unique_lock lock(m_mtx);
        return m_cv.wait_for(lock, deadline,
                             [&] { return std::find(m_lines.begin(), m_lines.end(), line) != m_lines.end(); });
    }

private:
    std::mutex m_mtx;
    std::condition_variable m_cv;
    std::vector<std::u16string> m_lines;
    int m_id;
};
