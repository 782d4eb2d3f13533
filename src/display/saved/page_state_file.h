#pragma once
#include <optional>
#include <string>

#include "display/saved/page_state.h"

// The saved page list as a file: written whole to a temporary file, flushed to the disk
// and renamed over the old one, so a reader (or a restart after a power cut) finds the
// old list or the new one, never half of one.

inline constexpr const char* kPageStateFileName = "pages.state";

// Creates the directory when it is missing. False with the reason when the list could
// not be saved; the old file then stays as it was.
bool WritePageStateFile(const std::string& strDir, const SavedPages& saved, std::string& strError);

struct ReadState {
    std::optional<SavedPages> saved;
    bool bMissing = false;  // no file: nothing was saved yet, which is no fault
    std::string strError;   // why a file that is there was refused
};
// Only a regular file is read, and never one larger than the list can have made.
ReadState ReadPageStateFile(const std::string& strPath);
