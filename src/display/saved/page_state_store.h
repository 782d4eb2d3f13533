#pragma once
#include "draw/gdi_types.h"

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <thread>

#include "display/saved/page_state.h"

class ScreenPageList;

// Keeps the page list saved in one directory, and brings it back at start.
//
// Owner: the main window. It makes the store before its server starts, so no message can
// come before it, and ends it after the server has stopped and before the list goes.
// Threads: Save is called by message handling; the store's own thread reads and writes
// the file, so neither the window thread nor message handling ever waits for the disk,
// and the list's lock is held only to copy the list, never during file work.
// Bound: at most one copy of the list waits (a newer one replaces it) and one is being
// written; both share their pictures with the list rather than copying them.
class PageStateStore {
public:
    // One line for the user: a saved file that was refused, a save that failed.
    using Report = std::function<void(const std::string& line)>;

    // With bRestore the thread first reads the saved list and, unless the list has
    // changed since this constructor ran (a message is newer than any saved list), puts
    // its pages in, pictures decoded no larger than fitTo() then says. A missing file
    // is no fault; a damaged, cut or foreign one is reported once and left alone.
    PageStateStore(std::string strDir, ScreenPageList& pages, bool bRestore, std::function<SIZE()> fitTo,
                   Report report);
    PageStateStore(const PageStateStore&) = delete;
    PageStateStore& operator=(const PageStateStore&) = delete;
    // Writes the copy still waiting, then ends the thread.
    ~PageStateStore();

    // Call after a change of the list, without its lock: copies the list under the lock
    // and has the copy written.
    void Save();

    std::string FilePath() const;
    // Whether pages came back from the saved file at start. Any thread.
    bool Restored() const { return m_bRestored.load(); }

private:
    void Run(bool bRestore, std::uint64_t nGenerationAtStart);
    void Restore(std::uint64_t nGenerationAtStart);

    const std::string m_strDir;
    ScreenPageList& m_pages;
    const std::function<SIZE()> m_fitTo;
    const Report m_report;

    std::mutex m_mtx;
    std::condition_variable m_cv;
    std::optional<SavedPages> m_pending;
    bool m_bStop = false;
    std::atomic<bool> m_bRestored{false};
    std::thread m_thread;
};
