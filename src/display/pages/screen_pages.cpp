#include "screen_pages.h"

#include <cstdlib>

#include "msg/comm_msg.h"
#include "msg/msg_fields.h"
#include "msg/msg_ids.h"
#include "os/clock.h"

namespace {

constexpr std::int64_t kSecondsPerPage = 10;

}  // namespace

ScreenPageList::ScreenPageList(std::function<void()> requestRepaint) : m_requestRepaint(std::move(requestRepaint)) {}

void ScreenPageList::RequestRepaint() const
{
    if (m_requestRepaint) m_requestRepaint();
}

void ScreenPageList::ClearPages()
{
    m_pages.clear();
    m_nPictureBytes = 0;
    m_nSentPictureBytes = 0;
    Changed();
}

void ScreenPageList::AddRoundPage(const ReceivedRound& fields)
{
    auto page = std::make_unique<ScreenPage>();
    page->SetRoundFields(fields);
    PutRoundPage(std::move(page));
}

void ScreenPageList::PutRoundPage(std::unique_ptr<ScreenPage> page)
{
    ClearPages();
    m_nPictureBytes = page->m_picture.SizeInBytes();
    m_nSentPictureBytes = page->SentPictureBytes();
    m_pages.push_back(std::move(page));
    RequestRepaint();
}

bool ScreenPageList::DropOldestNote()
{
    // The note on the screen keeps its turn: the oldest of the others goes.
    const int victim = m_nCurPage == 0 ? 1 : 0;
    if (victim >= PageCount()) return false;
    m_nPictureBytes -= m_pages[static_cast<std::size_t>(victim)]->m_picture.SizeInBytes();
    m_nSentPictureBytes -= m_pages[static_cast<std::size_t>(victim)]->SentPictureBytes();
    m_pages.erase(m_pages.begin() + victim);
    if (victim < m_nCurPage) --m_nCurPage;
    return true;
}

void ScreenPageList::PutNotePage(std::unique_ptr<ScreenPage> page, bool replace)
{
    if (!m_pages.empty() && m_pages.front()->m_bRoundPage) ClearPages();
    if (replace) ClearPages();
    // Each note keeps its decoded picture and the bytes it came from, so a peer that never
    // asks for a clear must not be able to pile them up: past either bound the oldest
    // notes make room.
    const std::int64_t bytes = page->m_picture.SizeInBytes();
    const std::int64_t sent = page->SentPictureBytes();
    while (PageCount() >= kMaxNotePages
           || (m_nPictureBytes + m_nSentPictureBytes + bytes + sent > kPictureBudgetBytes && PageCount() > 0)) {
        if (!DropOldestNote()) break;
    }
    m_nPictureBytes += bytes;
    m_nSentPictureBytes += sent;
    m_pages.push_back(std::move(page));
    Changed();
    RequestRepaint();
}

void ScreenPageList::RestorePages(std::vector<std::unique_ptr<ScreenPage>> pages, int nCurPage)
{
    ClearPages();
    // Set first, so that notes making room for others keep the one that was on the screen.
    m_nCurPage = nCurPage;
    for (std::unique_ptr<ScreenPage>& page : pages) {
        if (page->m_bRoundPage) {
            PutRoundPage(std::move(page));
        } else {
            PutNotePage(std::move(page), false);
        }
    }
    if (m_nCurPage < 0 || m_nCurPage >= PageCount()) m_nCurPage = 0;
    m_tLastSwitch = Clock::Now();
}

ScreenPage* ScreenPageList::CurrentPage(DateTime now)
{
    if (m_pages.empty()) return nullptr;
    // Either way: a clock set back by ten seconds or more also ends the turn.
    const std::int64_t since = std::llabs(SecondsBetween(m_tLastSwitch, now));
    const int count = PageCount();
    if (since >= kSecondsPerPage) {
        if (++m_nCurPage >= count) m_nCurPage = 0;
        m_tLastSwitch = now;
    }
    if (m_nCurPage >= count) m_nCurPage = 0;
    return m_pages[static_cast<std::size_t>(m_nCurPage)].get();
}

std::unique_ptr<ScreenPage> ScreenPageList::MakeRoundPage(const CommMsg_base& msg, SIZE fitTo)
{
    ReceivedRound fields;
    fields.title = GetStringField(msg, MsgKey::kTitle);
    fields.subtitle = GetStringField(msg, MsgKey::kSubtitle);
    fields.remainingSeconds = GetIntField(msg, MsgKey::kRemaining);
    fields.roundSeconds = GetIntField(msg, MsgKey::kPeriodLength);
    fields.boards = GetStringField(msg, MsgKey::kBoards);
    fields.barCaption = GetStringField(msg, MsgKey::kCaption);
    fields.barAtTop = GetBoolField(msg, MsgKey::kBarTop);
    fields.clockX = GetIntField(msg, MsgKey::kClockX);
    fields.clockY = GetIntField(msg, MsgKey::kClockY);
    fields.clockHeight = GetIntField(msg, MsgKey::kClockHeight);
    fields.clockBox = GetBoolField(msg, MsgKey::kClockBox);
    fields.clrTitle = TextToColor(GetStringField(msg, MsgKey::kTitleColour));
    fields.clrClock = TextToColor(GetStringField(msg, MsgKey::kClockColour));
    fields.clrOvertime = TextToColor(GetStringField(msg, MsgKey::kOvertimeColour));
    fields.language = GetIntField(msg, MsgKey::kLanguage);
    fields.pictureData = msg.m_pAttach.get();
    fields.pictureLength = msg.m_nAttachLen;
    auto page = std::make_unique<ScreenPage>();
    page->SetRoundFields(fields, fitTo);
    return page;
}

std::unique_ptr<ScreenPage> ScreenPageList::MakeNotePage(const CommMsg_base& msg, SIZE fitTo)
{
    auto page = std::make_unique<ScreenPage>();
    page->LoadPicture(msg.m_pAttach.get(), msg.m_nAttachLen, fitTo);
    return page;
}

bool ScreenPageList::ReplacesNotes(const CommMsg_base& msg)
{
    return GetBoolField(msg, MsgKey::kReplaceNotes);
}

void ScreenPageList::OnRoundPageMessage(const CommMsg_base& msg)
{
    PutRoundPage(MakeRoundPage(msg));
}

void ScreenPageList::OnNotePageMessage(const CommMsg_base& msg)
{
    PutNotePage(MakeNotePage(msg), ReplacesNotes(msg));
}
