#pragma once
#include "draw/gdi_types.h"

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <vector>

#include "display/pages/screen_page.h"
#include "os/clock.h"
#include "os/date_time.h"

class CommMsg_base;

// The pages the display shows and their ten-second rotation. The main window owns one.
//
// Locking contract: m_mtxPages guards everything here, every page included. No
// operation takes it; the caller holds it, through an RAII guard, around each call that
// is not static:
//  - message handling builds a page with MakeRoundPage or MakeNotePage WITHOUT the lock
//    (the picture is decoded there), then holds the lock only to put it in (PutRoundPage,
//    PutNotePage) or for ClearPages, so a repaint never waits for a decode;
//  - DrawScreen holds it from CurrentPage until the page has been drawn, so a page is
//    never changed or destroyed while it is drawn;
//  - teardown holds it for ClearPages.
// The mutex is not recursive: one thread never takes it twice.
//
// The list holds no page, exactly one round page, or one or more note pages. Bounds: at
// most kMaxNotePages notes, and their pictures together, decoded and as sent, within
// kPictureBudgetBytes; past either, the oldest notes make room, but never the note on
// the screen. One page alone may pass the budget: its bytes as sent are within a frame.
class ScreenPageList {
public:
    // The most note pages kept at once (a rotation of over ten minutes).
    static constexpr int kMaxNotePages = 64;
    // The most memory the pictures of all notes take together, decoded and as sent (the
    // bytes as sent are kept for the saved copy of the list; they are usually a small
    // part of the decoded picture).
    static constexpr std::int64_t kPictureBudgetBytes = std::int64_t{256} * 1024 * 1024;

    // requestRepaint asks the window for a repaint with the background erased; it may be
    // called from the message-handling thread and must be safe there.
    explicit ScreenPageList(std::function<void()> requestRepaint = {});
    ScreenPageList(const ScreenPageList&) = delete;
    ScreenPageList& operator=(const ScreenPageList&) = delete;

    std::mutex& Mutex() { return m_mtxPages; }

    // Pages made from a message, on any thread and without the lock. Texts are cut and
    // parsed here; a picture is decoded here, no larger than a valid `fitTo`.
    static std::unique_ptr<ScreenPage> MakeRoundPage(const CommMsg_base& msg, SIZE fitTo = {});
    static std::unique_ptr<ScreenPage> MakeNotePage(const CommMsg_base& msg, SIZE fitTo = {});
    // Whether a note message replaces the notes shown so far (key 79).
    static bool ReplacesNotes(const CommMsg_base& msg);

    // Destroys every page; the rotation state is kept, so a list built anew continues
    // the running ten-second turn.
    void ClearPages();
    // The list becomes this one round page.
    void AddRoundPage(const ReceivedRound& fields);
    void PutRoundPage(std::unique_ptr<ScreenPage> page);
    // The note is appended; the list is emptied first when it holds a round page or when
    // `replace` is set. Notes then make room for it as the bounds above say.
    void PutNotePage(std::unique_ptr<ScreenPage> page, bool replace);
    // The list becomes pages saved before a restart (one round page, or notes in their
    // order), each put in as above, with the page at nCurPage shown for a full turn from
    // now. An index the list does not reach shows the first page.
    void RestorePages(std::vector<std::unique_ptr<ScreenPage>> pages, int nCurPage);
    // The page to show now, or nullptr for none. A page stays for ten seconds; the switch
    // happens at the first call after that, and also at once when the clock was set back
    // by ten seconds or more. Valid until the lock is released.
    ScreenPage* CurrentPage(DateTime now = Clock::Now());

    // Message 303 and 305 in one step, made and put in while the caller holds the lock.
    void OnRoundPageMessage(const CommMsg_base& msg);
    void OnNotePageMessage(const CommMsg_base& msg);

    int PageCount() const { return static_cast<int>(m_pages.size()); }
    int CurrentIndex() const { return m_nCurPage; }
    DateTime LastSwitch() const { return m_tLastSwitch; }
    const ScreenPage& Page(int nIndex) const { return *m_pages[static_cast<std::size_t>(nIndex)]; }
    // Memory the decoded pictures of the list hold, and their bytes as sent.
    std::int64_t PictureBytes() const { return m_nPictureBytes; }
    std::int64_t SentPictureBytes() const { return m_nSentPictureBytes; }
    // Changes with every change of the list; readable without the lock, so the window can
    // tell whether a repaint could show anything new.
    std::uint64_t Generation() const { return m_nGeneration.load(std::memory_order_acquire); }

private:
    void RequestRepaint() const;
    void Changed() { m_nGeneration.fetch_add(1, std::memory_order_release); }
    // Drops the oldest note that is not the one shown; false when there is none.
    bool DropOldestNote();

    std::vector<std::unique_ptr<ScreenPage>> m_pages;
    int m_nCurPage = 0;
    DateTime m_tLastSwitch;
    std::int64_t m_nPictureBytes = 0;
    std::int64_t m_nSentPictureBytes = 0;
    std::atomic<std::uint64_t> m_nGeneration{0};
    std::mutex m_mtxPages;
    std::function<void()> m_requestRepaint;
};
