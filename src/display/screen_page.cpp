#include "screen_page.h"

#include "display/board_list.h"
#include "display/page_text.h"
#include "display/qt_text.h"
#include "platform/clock.h"

void ScreenPage::SetRoundFields(const RoundFields& fields, QSize fitTo)
{
    m_nLanguage = fields.language;
    m_strTitle = CutAtCharacter(fields.title);
    m_strSubtitle = CutAtCharacter(fields.subtitle);
    m_strBarCaption = CutAtCharacter(fields.barCaption);
    m_bBarAtTop = fields.barAtTop;
    m_strBoards = CutAtCharacter(fields.boards);
    m_nRoundSeconds = fields.roundSeconds;
    m_nClockX = fields.clockX;
    m_nClockY = fields.clockY;
    m_nClockHeight = fields.clockHeight;
    m_bClockBox = fields.clockBox;
    m_clrTitle = fields.clrTitle;
    m_clrClock = fields.clrClock;
    m_clrOvertime = fields.clrOvertime;
    m_tEnd = Clock::Now().AddSeconds(fields.remainingSeconds);
    if (fields.pictureLength > 0) LoadPicture(fields.pictureData, fields.pictureLength, fitTo);
    m_bRoundPage = true;

    m_txtTitle = WideText(" " + m_strTitle + " ");
    m_txtSubtitle = WideText(" " + m_strSubtitle + " ");
    // The caption is drawn with the elapsed time after it, as one text: a caption that
    // cannot be converted leaves the whole line empty.
    const QString caption = WideText(m_strBarCaption);
    m_txtCaption = caption.isEmpty() && !m_strBarCaption.empty() ? std::nullopt : std::optional<QString>(caption);
    m_txtBoards = WideText(m_strBoards);
    m_boards = ParseBoardList(m_strBoards, false);
}

void ScreenPage::LoadPicture(const std::uint8_t* data, int length, QSize fitTo)
{
    m_pictureBytes.reset();
    if (m_picture.Load(data, length, fitTo)) {
        m_pictureBytes = std::make_shared<const std::vector<std::uint8_t>>(data, data + length);
    }
}

void ScreenPage::LoadPicture(std::shared_ptr<const std::vector<std::uint8_t>> bytes, QSize fitTo)
{
    m_pictureBytes.reset();
    if (bytes && m_picture.Load(bytes->data(), static_cast<int>(bytes->size()), fitTo)) {
        m_pictureBytes = std::move(bytes);
    }
}

qint64 ScreenPage::SentPictureBytes() const
{
    return m_pictureBytes ? static_cast<qint64>(m_pictureBytes->size()) : 0;
}
