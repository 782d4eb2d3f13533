#pragma once
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "display/pages/round_fields.h"
#include "draw/colour.h"
#include "os/date_time.h"
#include "draw/gdi_image.h"
#include "draw/gdi_types.h"

// One page of the display: a round page (from message 303) or a note page (from message
// 305, only a picture). Built by message handling without any lock, then owned by the page
// list and read only under its lock. Everything a page is made of lives in its fields;
// the texts as drawn are worked out once, when the page is made, so a repaint neither
// converts nor parses (and a text that is no valid UTF-8 is reported once, not per paint).
class ScreenPage {
public:
    // The end of the round is "now" plus the remaining seconds; a picture is decoded
    // only when there are bytes. Texts longer than kMaxPageTextBytes are cut.
    void SetRoundFields(const ReceivedRound& received, SIZE fitTo = {});
    // The page becomes a round page of these fields; its end and picture are left as
    // they are.
    void SetRound(const RoundFields& round);
    // An undecodable, oversized or too costly picture leaves the page with an empty
    // picture. With a non-empty `fitTo` (the client area) the picture is kept no larger.
    void LoadPicture(const std::uint8_t* data, int length, SIZE fitTo = {});
    // The same from bytes that are kept as they are, not copied.
    void LoadPicture(std::shared_ptr<const std::vector<std::uint8_t>> bytes, SIZE fitTo = {});
    // Memory the picture's bytes as sent hold (0 when not kept).
    std::int64_t SentPictureBytes() const;

    bool m_bRoundPage = false;
    RoundFields m_round;
    DateTime m_tEnd;
    CImage m_picture;
    // The picture's bytes as they were sent, kept only while they decoded, so that the
    // page can be saved and decoded again after a restart. Never changed once set: saved
    // copies of the list share them instead of copying.
    std::shared_ptr<const std::vector<std::uint8_t>> m_pictureBytes;
    // Whether drawing the page can give pixels of the key colour: one of its colours or
    // a pixel of its picture is the key. Decided when the page is made, so that a
    // repaint knows without looking at what it drew.
    bool m_bMayDrawKey = false;

    // Made from the fields above by SetRoundFields.
    std::u16string m_txtTitle;                  // the title with a space either side, as drawn
    std::u16string m_txtSubtitle;               // likewise
    std::optional<std::u16string> m_txtCaption; // none when the caption is no valid UTF-8
    std::u16string m_txtBoards;                 // the board list as shown before the start
    std::vector<int> m_boards;           // the board list parsed, duplicates kept

private:
    void DecideKey();
};
