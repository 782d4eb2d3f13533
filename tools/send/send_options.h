#pragma once
#include <string>

#include "msg/msg_ids.h"

// pavlune-send's commands and options in one table, from which both the parser and the
// help texts are made, so that the two cannot disagree.

enum SendCommandBit : unsigned {
    kCmdClear = 1,
    kCmdRound = 2,
    kCmdNote = 4,
    kCmdSize = 8,
    kCmdRaw = 16,
    kCmdScreenshot = 32,
    kCmdStatus = 64,
    kCmdEvery = 127,
};

struct SendCommand {
    const char* name;
    unsigned bit;
    const char* operand;  // the one operand it takes, or null
    const char* summary;
    bool operandOptional = false;
    const char* details = nullptr;  // more lines for the command's own help, or null
};

// How a round page option becomes a field; Other is handled by name.
enum class OptionKind { Text, Number, Flag, Colour, Other };

struct SendOption {
    const char* name;
    const char* shortName;  // or null
    const char* valueName;  // null for a flag
    unsigned commands;
    const char* help;
    OptionKind kind = OptionKind::Other;
    int key = 0;  // field of the round page, 0 for none
    int low = 0;
    int high = 0;
    const char* fallback = nullptr;  // what a round page gets when the option is left out
};

// A round is never longer than a day; the display's clocks need no more.
inline constexpr int kMaxRoundSeconds = 86400;
// The widest screen picture worth asking for; the display's own pictures are no wider.
inline constexpr int kMaxPictureWidth = 16384;

inline constexpr SendCommand kSendCommands[] = {
    {"clear", kCmdClear, nullptr, "remove every page; the display shows its information screen (message 301)"},
    {"round", kCmdRound, nullptr, "show a round page with its clock (message 303)"},
    {"note", kCmdNote, "FILE", "add a note page showing the picture FILE, or standard input for - (message 305)"},
    {"size", kCmdSize, nullptr, "ask the display for its screen size (message 309); prints WIDTHxHEIGHT"},
    {"raw", kCmdRaw, "JSON", "send a JSON object as it is, checked first; prints the JSON of any reply"},
    {"screenshot", kCmdScreenshot, "[FILE|-]", "save what the display shows as a PNG (message 921); prints WIDTHxHEIGHT",
     true,
     "FILE is pavlune-HOST.png when left out; with several --host, each display's picture goes to\n"
     "FILE with its host before the extension (shots.png: shots-HOST.png), and each line reads\n"
     "HOST: WIDTHxHEIGHT (FILE). HOST gets its :PORT as _PORT when the port is not 9977 or two\n"
     "displays share the host. - writes the PNG to standard output, for one display only.\n"},
    {"status", kCmdStatus, nullptr,
     "ask the display what it shows, its screen, port and message counts (message 923)", false,
     "Prints a few lines: version and uptime, screen, what is shown, whether the pages were\n"
     "restored at start, the port, and the messages handled, frames rejected and peers refused.\n"},
};

inline constexpr SendOption kSendOptions[] = {
    {"host", nullptr, "HOST[:PORT]", kCmdEvery,
     "a display's name or address (127.0.0.1); repeat it to reach several displays"},
    {"port", nullptr, "PORT", kCmdEvery, "the port of displays given without one (9977)"},
    {"help", "h", nullptr, kCmdEvery, "show the help, of one command when it is named"},
    {"title", nullptr, "TEXT", kCmdRound, "first title line", OptionKind::Text, MsgKey::kTitle},
    {"subtitle", nullptr, "TEXT", kCmdRound, "second title line", OptionKind::Text, MsgKey::kSubtitle},
    {"length", nullptr, "SEC", kCmdRound, "length of the round in seconds, 1 to 86400 (required)"},
    {"remaining", nullptr, "SEC", kCmdRound, "seconds left in the round, -86400 to 86400 (the length)"},
    {"boards", nullptr, "LIST", kCmdRound, "boards of the round, such as 1-8 or 1~4,7,9-12"},
    {"caption", nullptr, "TEXT", kCmdRound, "caption of the time bar", OptionKind::Text, MsgKey::kCaption},
    {"bar-top", nullptr, nullptr, kCmdRound, "time bar at the top", OptionKind::Flag, MsgKey::kBarTop},
    {"clock-x", nullptr, "PERCENT", kCmdRound, "clock centre across the screen, 0 to 100 (50)", OptionKind::Number,
     MsgKey::kClockX, 0, 100, "50"},
    {"clock-y", nullptr, "PERCENT", kCmdRound, "clock centre down the screen, 0 to 100 (50)", OptionKind::Number,
     MsgKey::kClockY, 0, 100, "50"},
    {"clock-height", nullptr, "PERCENT", kCmdRound, "clock height, 5 to 100 percent of the screen (40)",
     OptionKind::Number, MsgKey::kClockHeight, 5, 100, "40"},
    {"clock-box", nullptr, nullptr, kCmdRound, "box behind the clock", OptionKind::Flag, MsgKey::kClockBox},
    {"title-colour", nullptr, "COLOUR", kCmdRound, "colour of the title lines (white)", OptionKind::Colour,
     MsgKey::kTitleColour, 0, 0, "255,255,255"},
    {"clock-colour", nullptr, "COLOUR", kCmdRound, "colour of the clock (white)", OptionKind::Colour,
     MsgKey::kClockColour, 0, 0, "255,255,255"},
    {"overtime-colour", nullptr, "COLOUR", kCmdRound, "colour of the clock in overtime (255,64,64)",
     OptionKind::Colour, MsgKey::kOvertimeColour, 0, 0, "255,64,64"},
    {"lang", nullptr, "N", kCmdRound, "0 for Chinese or 1 for English page texts (from the locale)"},
    {"picture", nullptr, "FILE", kCmdRound, "background picture, or - for standard input"},
    {"replace", nullptr, nullptr, kCmdNote, "remove the notes shown so far first"},
    {"fit", nullptr, nullptr, kCmdNote, "ask the display its size and fit the picture to it unstretched"},
    {"background", nullptr, "COLOUR", kCmdNote, "colour around a fitted picture (black)"},
    {"attach", nullptr, "FILE", kCmdRaw, "send the bytes of FILE, or - for standard input, as the attachment"},
    {"width", nullptr, "N", kCmdScreenshot, "at most N pixels wide, 1 to 16384, keeping the proportions"},
    {"json", nullptr, nullptr, kCmdStatus, "print the display's JSON reply as it came"},
};

std::string GeneralHelp();
std::string CommandHelp(const SendCommand& command);
// "round", or "note and raw": the commands that take the option.
std::string CommandsOf(const SendOption& option);
