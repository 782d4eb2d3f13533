#pragma once
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "send_options.h"

// The command line split into the options of the table and the operands, in the GNU
// forms the help promises: --name VALUE, --name=VALUE, -h, short options run together,
// options before, between or after the operands, and "--" before operands that begin
// with a dash. A value is the next argument even when it begins with a dash, so that a
// title may. The reasons it gives are the ones directors have been reading all along.
class SendCommandLine {
public:
    // False on bad usage, with Error() telling why in one sentence.
    bool Parse(int argc, const char* const* argv);
    const std::string& Error() const { return m_error; }

    // Every option given, in order, once each time it was given.
    const std::vector<const SendOption*>& Given() const { return m_given; }
    bool IsSet(std::string_view name) const;
    // The values given to the option, in order; Value is the last of them, or empty.
    std::vector<std::string> Values(std::string_view name) const;
    std::string Value(std::string_view name) const;
    const std::vector<std::string>& Operands() const { return m_operands; }

private:
    bool TakeLong(std::string_view arg, int& i, int argc, const char* const* argv);
    bool TakeShort(std::string_view arg, int& i, int argc, const char* const* argv);
    bool TakeValue(const SendOption& option, std::string_view arg, int& i, int argc, const char* const* argv);
    bool Unknown(std::string_view name);
    bool Fail(std::string reason);

    std::vector<const SendOption*> m_given;
    std::vector<std::pair<const SendOption*, std::string>> m_values;
    std::vector<std::string> m_operands;
    std::string m_firstUnknown;
    std::string m_error;
};

// The option of that long or short name, or null.
const SendOption* FindSendOption(std::string_view name);
