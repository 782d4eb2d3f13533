#include "screen_page.h"

#include "display/board_list.h"
#include "display/colour_key.h"
#include "display/page_text.h"
#include "text/wide_text.h"
#include "platform/clock.h"

void ScreenPage::SetRoundFields(const RoundFields& fields, SIZE fitTo)
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
    m_bMayDrawKey = m_bMayDrawKey || m_clrTitle == kTransparentKey || m_clrClock == kTransparentKey ||
                    m_clrOvertime == kTransparentKey;

    m_txtTitle = Utf8ToWide(" " + m_strTitle + " ");
    m_txtSubtitle = Utf8ToWide(" " + m_strSubtitle + " ");
    // The caption is drawn with the elapsed time after it, as one text: a caption that
    // cannot be converted leaves the whole line empty.
    std::u16string caption = Utf8ToWide(m_strBarCaption);
    m_txtCaption = caption.empty() && !m_strBarCaption.empty() ? std::nullopt
                                                                : std::optional<std::u16string>(std::move(caption));
    m_txtBoards = Utf8ToWide(m_strBoards);
    m_boards = ParseBoardList(m_strBoards, false);
}

void ScreenPage::LoadPicture(const std::uint8_t* data, int length, SIZE fitTo)
{
    m_pictureBytes.reset();
    if (m_picture.Load(data, length, fitTo)) {
        m_pictureBytes = std::make_shared<const std::vector<std::uint8_t>>(data, data + length);
    }
    m_bMayDrawKey = m_picture.Pixels().HoldsColour(kTransparentKey);
}

void ScreenPage::LoadPicture(std::shared_ptr<const std::vector<std::uint8_t>> bytes, SIZE fitTo)
{
    m_pictureBytes.reset();
    if (bytes && m_picture.Load(bytes->data(), static_cast<int>(bytes->size()), fitTo)) {
        m_pictureBytes = std::move(bytes);
    }
    m_bMayDrawKey = m_picture.Pixels().HoldsColour(kTransparentKey);
}

std::int64_t ScreenPage::SentPictureBytes() const
{
    return m_pictureBytes ? static_cast<std::int64_t>(m_pictureBytes->size()) : 0;
}

