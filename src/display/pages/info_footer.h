#pragma once
#include <string>

#include "msg/standard_port.h"


// What the information screen's bottom band must tell the room. The default says
// nothing: a display listening on the standard port.
struct InfoFooter {
    int nPort = kStandardPort;  // listened on, or asked for when the display could not listen
    bool bListening = true;
};

// The bottom band's text in the language: one item for each thing worth saying, side by
// side; empty when there is nothing to say.
std::u16string InfoFooterText(const InfoFooter& footer, int nLanguage);
