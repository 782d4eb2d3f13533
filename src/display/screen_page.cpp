#include "screen_page.h"

#include "platform/clock.h"

void ScreenPage::SetRoundFields(const RoundFields& fields)
{
    m_nLanguage = fields.language;
    m_strTitle = fields.title;
    m_strSubtitle = fields.subtitle;
    m_strBarCaption = fields.barCaption;
    m_bBarAtTop = fields.barAtTop;
    m_strBoards = fields.boards;
    m_nRoundSeconds = fields.roundSeconds;
    m_nClockX = fields.clockX;
    m_nClockY = fields.clockY;
    m_nClockHeight = fields.clockHeight;
    m_bClockBox = fields.clockBox;
    m_clrTitle = fields.clrTitle;
    m_clrClock = fields.clrClock;
    m_clrOvertime = fields.clrOvertime;
    m_tEnd = Clock::Now().AddSeconds(fields.remainingSeconds);
    if (fields.pictureLength > 0) LoadPicture(fields.pictureData, fields.pictureLength);
    m_bRoundPage = true;
}

void ScreenPage::LoadPicture(const std::uint8_t* data, int length)
{
    m_picture.Load(data, length);
}
