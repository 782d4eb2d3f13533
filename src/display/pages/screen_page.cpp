#include "screen_page.h"

#include "display/pages/board_list.h"
#include "display/pages/colour_key.h"
#include "display/pages/page_text.h"
#include "text/wide_text.h"
#include "os/clock.h"

void ScreenPage::SetRoundFields(const ReceivedRound& received, SIZE fitTo)
{
    SetRound(received);
    m_tEnd = Clock::Now().AddSeconds(received.remainingSeconds);
    if (received.pictureLength > 0) LoadPicture(received.pictureData, received.pictureLength, fitTo);
}

void ScreenPage::SetRound(const RoundFields& round)
{
    m_round = round;
    m_round.title = CutAtCharacter(round.title);
    m_round.subtitle = CutAtCharacter(round.subtitle);
    m_round.barCaption = CutAtCharacter(round.barCaption);
    m_round.boards = CutAtCharacter(round.boards);
    m_bRoundPage = true;
    DecideKey();

    m_txtTitle = Utf8ToWide(" " + m_round.title + " ");
    m_txtSubtitle = Utf8ToWide(" " + m_round.subtitle + " ");
    // The caption is drawn with the elapsed time after it, as one text: a caption that
    // cannot be converted leaves the whole line empty.
    std::u16string caption = Utf8ToWide(m_round.barCaption);
    m_txtCaption = caption.empty() && !m_round.barCaption.empty() ? std::nullopt
                                                                   : std::optional<std::u16string>(std::move(caption));
    m_txtBoards = Utf8ToWide(m_round.boards);
    m_boards = ParseBoardList(m_round.boards, false);
}

void ScreenPage::DecideKey()
{
    const bool bColours = m_bRoundPage && (m_round.clrTitle == kTransparentKey || m_round.clrClock == kTransparentKey ||
                                           m_round.clrOvertime == kTransparentKey);
    m_bMayDrawKey = bColours || m_picture.Pixels().HoldsColour(kTransparentKey);
}

void ScreenPage::LoadPicture(const std::uint8_t* data, int length, SIZE fitTo)
{
    m_pictureBytes.reset();
    if (m_picture.Load(data, length, fitTo)) {
        m_pictureBytes = std::make_shared<const std::vector<std::uint8_t>>(data, data + length);
    }
    DecideKey();
}

void ScreenPage::LoadPicture(std::shared_ptr<const std::vector<std::uint8_t>> bytes, SIZE fitTo)
{
    m_pictureBytes.reset();
    if (bytes && m_picture.Load(bytes->data(), static_cast<int>(bytes->size()), fitTo)) {
        m_pictureBytes = std::move(bytes);
    }
    DecideKey();
}

std::int64_t ScreenPage::SentPictureBytes() const
{
    return m_pictureBytes ? static_cast<std::int64_t>(m_pictureBytes->size()) : 0;
}

