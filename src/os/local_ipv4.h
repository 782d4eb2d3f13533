#pragma once
#include <string>

// The machine's IPv4 addresses of interfaces that are up, loopback left out, in interface
// order, joined by "; ". Empty when there is none.
std::string GetLocalIPv4List();
