#pragma once
#include <cstdint>
#include <string>

#include "draw/colour.h"

// A round page's own fields, declared once: message handling fills them, the page holds
// them, the saved state keeps them and the tests build pages from them. The time left
// and the picture are kept beside them, in the form each user needs (seconds left in a
// message, an end time on a page, seconds since 1970 in the saved file; the bytes as
// received, the decoded picture, the bytes shared with a saved copy).
struct RoundFields {
    std::string title;
    std::string subtitle;
    int roundSeconds = 0;
    std::string boards;
    std::string barCaption;
    bool barAtTop = false;
    int clockX = 50;
    int clockY = 50;
    int clockHeight = 40;
    bool clockBox = false;
    COLORREF clrTitle = RGB(248, 248, 232);
    COLORREF clrClock = RGB(248, 248, 248);
    COLORREF clrOvertime = RGB(255, 64, 64);
    int language = 0;

    friend bool operator==(const RoundFields&, const RoundFields&) = default;
};

// A round page as a message brings it: its fields, the seconds left and the picture's
// bytes (owned by the message, read while the page is made).
struct ReceivedRound : RoundFields {
    int remainingSeconds = 0;
    const std::uint8_t* pictureData = nullptr;
    int pictureLength = 0;
};
