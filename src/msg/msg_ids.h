#pragma once

// Message identifiers, the value of "pub_MsgID".
inline constexpr int MSGID_CLEAR = 301;
inline constexpr int MSGID_ROUND_PAGE = 303;
inline constexpr int MSGID_NOTE_PAGE = 305;
inline constexpr int MSGID_SCREEN_SIZE = 309;
// The display's own requests, kept apart from the scoring program's in the 900s.
inline constexpr int MSGID_SCREEN_PICTURE = 921;
inline constexpr int MSGID_STATUS = 923;

// Keys of the round page (303), the note page (305), the size reply (309) and the screen
// picture (921).
namespace MsgKey {
inline constexpr int kTitle = 1;
inline constexpr int kSubtitle = 2;
inline constexpr int kRemaining = 11;
inline constexpr int kPeriodLength = 13;
inline constexpr int kBoards = 14;
inline constexpr int kCaption = 16;
inline constexpr int kBarTop = 18;
inline constexpr int kClockX = 21;
inline constexpr int kClockY = 22;
inline constexpr int kClockBox = 26;
inline constexpr int kTitleColour = 31;
inline constexpr int kClockColour = 32;
inline constexpr int kOvertimeColour = 33;
inline constexpr int kScreenWidth = 71;
inline constexpr int kClockHeight = 72;
inline constexpr int kScreenHeight = 72;
inline constexpr int kLargestWidth = 73;
inline constexpr int kReplaceNotes = 79;
inline constexpr int kLanguage = 99;
}  // namespace MsgKey
