#pragma once
#include <cstdint>
#include <map>
#include <optional>
#include <string>

#include "msg/comm_msg.h"

// What a display says of itself when asked (923): gathered by the display, put into the
// reply here.
struct DisplayStatus {
    struct Round {
        std::string title;
        std::string subtitle;
        std::string boards;
        std::int64_t nRemaining = 0;  // negative in overtime
        int nLanguage = 0;
    };
    std::string version;
    std::string platform;
    std::int64_t nUptime = 0;
    int nWidth = 0;
    int nHeight = 0;
    bool bFullScreen = false;
    // The page shown now: a round page, note nNote (from 1) of nNotes, or neither (the
    // information screen).
    std::optional<Round> round;
    int nNote = 0;
    int nNotes = 0;
    bool bRestored = false;
    int nPort = 0;
    std::map<int, std::uint64_t> messages;
    std::uint64_t nFramesRejected = 0;
    std::uint64_t nPeersRefused = 0;
};

void FillStatusReply(const DisplayStatus& status, CommMsg_base& reply);
