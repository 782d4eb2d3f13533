#include "page_state_list.h"

#include <chrono>
#include <ctime>

#include "display/pages/screen_pages.h"

namespace {

// The page list keeps local wall-clock times; the file keeps an instant, which means the
// same after a change of time zone or of summer time.
std::int64_t ToUnixSeconds(DateTime t)
{
    const DateTime::Fields f = t.GetFields();
    std::tm local{};
    local.tm_year = f.year - 1900;
    local.tm_mon = f.month - 1;
    local.tm_mday = f.day;
    local.tm_hour = f.hour;
    local.tm_min = f.minute;
    local.tm_sec = f.second;
    local.tm_isdst = -1;
    return static_cast<std::int64_t>(std::mktime(&local));
}

DateTime FromUnixSeconds(std::int64_t seconds)
{
    return DateTime::FromSystemTime(std::chrono::system_clock::time_point(std::chrono::seconds(seconds)));
}

SavedPage SavedPageOf(const ScreenPage& page)
{
    SavedPage saved;
    saved.bRoundPage = page.m_bRoundPage;
    saved.picture = page.m_pictureBytes;
    if (!page.m_bRoundPage) return saved;
    saved.round = page.m_round;
    saved.nEndUnixSeconds = ToUnixSeconds(page.m_tEnd);
    return saved;
}

std::unique_ptr<ScreenPage> PageFromSaved(const SavedPage& saved, SIZE fitTo)
{
    auto page = std::make_unique<ScreenPage>();
    page->LoadPicture(saved.picture, fitTo);
    if (!saved.bRoundPage) return page;
    page->SetRound(saved.round);
    // The round did not start again with the restart: it ends when it always would have.
    page->m_tEnd = FromUnixSeconds(saved.nEndUnixSeconds);
    return page;
}

}  // namespace

SavedPages SavedPagesOf(const ScreenPageList& pages)
{
    SavedPages saved;
    saved.nCurPage = pages.PageCount() > 0 && pages.CurrentIndex() < pages.PageCount() ? pages.CurrentIndex() : 0;
    saved.pages.reserve(static_cast<std::size_t>(pages.PageCount()));
    for (int i = 0; i < pages.PageCount(); ++i) saved.pages.push_back(SavedPageOf(pages.Page(i)));
    return saved;
}

std::vector<std::unique_ptr<ScreenPage>> PagesFromSaved(const SavedPages& saved, SIZE fitTo)
{
    std::vector<std::unique_ptr<ScreenPage>> pages;
    pages.reserve(saved.pages.size());
    for (const SavedPage& page : saved.pages) pages.push_back(PageFromSaved(page, fitTo));
    return pages;
}
