#pragma once
#include <string>

#include "msg/comm_msg.h"
#include "send_delivery.h"

// Checks that the display's screen picture reply carries a PNG of the width and height
// it states, and writes it to the file ("-": standard output). What to print is
// WIDTHxHEIGHT, with " (FILE)" after it when several displays are asked.
Delivery SaveScreenPicture(const SendTarget& target, const CommMsg_base& reply, const std::string& file,
                           bool several);
