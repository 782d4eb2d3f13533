#pragma once
#include <functional>
#include <memory>
#include <mutex>
#include <vector>

#include "display/screen_page.h"
#include "platform/date_time.h"

class CommMsg_base;

// The pages the display shows and their ten-second rotation. The main window owns one.
//
// Locking contract: m_mtxPages guards everything here, every page included. No
// operation takes it; the caller holds it, through an RAII guard, around each call:
//  - message handling holds it for the whole handling of one message (ClearPages,
//    OnRoundPageMessage, OnNotePageMessage);
//  - DrawScreen holds it from CurrentPage until the page has been drawn, so a page is
//    never changed or destroyed while it is drawn;
//  - teardown holds it for ClearPages.
// The mutex is not recursive: one thread never takes it twice.
//
// The list holds no page, exactly one round page, or one or more note pages.
class ScreenPageList {
public:
    // The most note pages kept at once (a rotation of over ten minutes).
    static constexpr int kMaxNotePages = 64;

    // requestRepaint asks the window for a repaint with the background erased; it may be
    // called from the message-handling thread and must be safe there.
    explicit ScreenPageList(std::function<void()> requestRepaint = {});
    ScreenPageList(const ScreenPageList&) = delete;
    ScreenPageList& operator=(const ScreenPageList&) = delete;

    std::mutex& Mutex() { return m_mtxPages; }

    // Destroys every page; the rotation state is kept, so a list built anew continues
    // the running ten-second turn.
    void ClearPages();
    // The list becomes this one round page.
    void AddRoundPage(const ScreenPage::RoundFields& fields);
    // The page to show now, or nullptr for none. A page stays for ten seconds; the switch
    // happens at the first call after that, and also at once when the clock was set back
    // by ten seconds or more. Valid until the lock is released.
    ScreenPage* CurrentPage();

    // Message 303: one round page from the message's fields and attachment.
    void OnRoundPageMessage(const CommMsg_base& msg);
    // Message 305: a note page with the attachment's picture, appended; the list is
    // emptied first when it holds a round page or when key 79 is set. With
    // kMaxNotePages notes already, the oldest one goes first.
    void OnNotePageMessage(const CommMsg_base& msg);

    int PageCount() const { return static_cast<int>(m_pages.size()); }
    int CurrentIndex() const { return m_nCurPage; }
    DateTime LastSwitch() const { return m_tLastSwitch; }
    const ScreenPage& Page(int nIndex) const { return *m_pages[static_cast<std::size_t>(nIndex)]; }

private:
    void RequestRepaint() const;

    std::vector<std::unique_ptr<ScreenPage>> m_pages;
    int m_nCurPage = 0;
    DateTime m_tLastSwitch;
    std::mutex m_mtxPages;
    std::function<void()> m_requestRepaint;
};
