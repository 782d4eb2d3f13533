#pragma once
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "display/pages/page_text.h"
#include "display/pages/round_fields.h"
#include "display/pages/screen_pages.h"
#include "draw/colour.h"

// The page list in the form it is kept on disk, so that a display restarted in the
// middle of a round comes back with the same pages.
//
// The file: the 8 bytes "PAVLSTAT", a format version (uint32), the body, and a CRC-32
// (IEEE) of everything before it. All numbers little-endian. The body: the index of the
// page shown (uint32), the page count (uint32), then per page its kind (1 round, 2 note);
// a round page continues with its fields, its end as seconds since 1970 UTC (int64, so a
// restart after any time, or in another time zone, still ends the round on time) and
// four texts; every page ends with its picture as sent (uint32 length, then the bytes;
// length 0 for none). A text is a uint32 length and its bytes.
//
// Bounds: what the page list itself may hold. A file larger than kMaxPageStateBytes is
// refused unread; one with more pages, longer texts or more picture bytes than the list
// keeps, or whose pages the list could never hold together, is refused as damaged.

// One page as saved. Pictures are shared with the page they came from, never copied.
struct SavedPage {
    bool bRoundPage = false;
    // The fields of a round page; a note page leaves them as they are.
    RoundFields round;
    std::int64_t nEndUnixSeconds = 0;
    // Null for a page without a picture.
    std::shared_ptr<const std::vector<std::uint8_t>> picture;
};

struct SavedPages {
    std::vector<SavedPage> pages;
    int nCurPage = 0;
};

inline constexpr std::uint32_t kPageStateVersion = 1;

// The largest file that a list within its bounds gives: every picture byte the list may
// keep, and the most pages with every text at its longest.
inline constexpr std::size_t kMaxSavedPageBytes = 128 + 4 * (4 + kMaxPageTextBytes);
inline constexpr std::size_t kMaxPageStateBytes =
    static_cast<std::size_t>(ScreenPageList::kPictureBudgetBytes)
    + static_cast<std::size_t>(ScreenPageList::kMaxNotePages) * kMaxSavedPageBytes + 64;

// CRC-32 as zlib and PNG compute it, continued from `crc` (0 to start).
std::uint32_t Crc32(std::span<const std::uint8_t> bytes, std::uint32_t crc = 0);

// Hands the saved form to `write` in consecutive pieces, so that a large list is never
// built up whole in memory. False as soon as `write` returns false.
using StateWrite = std::function<bool(std::span<const std::uint8_t>)>;
bool EncodePageState(const SavedPages& saved, const StateWrite& write);

// The pages of a saved file, or nothing with the reason in strError.
std::optional<SavedPages> DecodePageState(std::span<const std::uint8_t> bytes, std::string& strError);
