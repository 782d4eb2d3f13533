#include "send_command_line.h"

namespace {

// Bytes in the UTF-8 character that starts with this byte; the arguments are checked
// to be UTF-8 before they are split.
std::size_t CharLength(char first)
{
    const auto c = static_cast<unsigned char>(first);
    return c < 0xC0 ? 1 : c < 0xE0 ? 2 : c < 0xF0 ? 3 : 4;
}

}  // namespace

const SendOption* FindSendOption(std::string_view name)
{
    for (const SendOption& o : kSendOptions) {
        if (name == o.name || (o.shortName != nullptr && name == o.shortName)) {
            return &o;
        }
    }
    return nullptr;
}

bool SendCommandLine::Parse(int argc, const char* const* argv)
{
    // Every argument is looked at, so that the first unknown option is the one named.
    bool ok = true;
    bool operandsOnly = false;
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        if (operandsOnly || arg.size() < 2 || arg[0] != '-') {
            m_operands.emplace_back(arg);
        } else if (arg == "--") {
            operandsOnly = true;
        } else if (arg.starts_with("--")) {
            ok = TakeLong(arg, i, argc, argv) && ok;
        } else {
            ok = TakeShort(arg, i, argc, argv) && ok;
        }
    }
    if (!m_firstUnknown.empty()) {
        m_error = "unknown option " + m_firstUnknown;
    }
    return ok;
}

bool SendCommandLine::TakeLong(std::string_view arg, int& i, int argc, const char* const* argv)
{
    const std::string_view name = arg.substr(2, arg.find('=') - 2);
    const SendOption* option = FindSendOption(name);
    if (option == nullptr) {
        return Unknown(name);
    }
    m_given.push_back(option);
    return TakeValue(*option, arg, i, argc, argv);
}

bool SendCommandLine::TakeShort(std::string_view arg, int& i, int argc, const char* const* argv)
{
    bool ok = true;
    const SendOption* last = nullptr;
    for (std::size_t at = 1; at < arg.size();) {
        const std::size_t next = at + CharLength(arg[at]);
        const std::string_view name = arg.substr(at, next - at);
        last = FindSendOption(name);
        if (last == nullptr) {
            ok = Unknown(name);
            at = next;
            continue;
        }
        m_given.push_back(last);
        if (last->valueName != nullptr) {
            // -pVALUE and -p=VALUE; a bare -p takes the next argument.
            if (next < arg.size()) {
                m_values.emplace_back(last, std::string(arg.substr(arg[next] == '=' ? next + 1 : next)));
                return ok;
            }
            break;
        }
        if (next < arg.size() && arg[next] == '=') {
            break;
        }
        at = next;
    }
    return last != nullptr && TakeValue(*last, arg, i, argc, argv) && ok;
}

bool SendCommandLine::TakeValue(const SendOption& option, std::string_view arg, int& i, int argc,
                                const char* const* argv)
{
    const std::size_t assign = arg.find('=');
    if (option.valueName == nullptr) {
        return assign == std::string_view::npos ||
               Fail("Unexpected value after '" + std::string(arg.substr(0, assign)) + "'.");
    }
    if (assign != std::string_view::npos) {
        m_values.emplace_back(&option, std::string(arg.substr(assign + 1)));
        return true;
    }
    if (i + 1 >= argc) {
        return Fail("Missing value after '" + std::string(arg) + "'.");
    }
    m_values.emplace_back(&option, argv[++i]);
    return true;
}

bool SendCommandLine::Unknown(std::string_view name)
{
    if (m_firstUnknown.empty()) {
        const bool oneCharacter = !name.empty() && name.size() == CharLength(name.front());
        m_firstUnknown = (oneCharacter ? "-" : "--") + std::string(name);
    }
    return false;
}

bool SendCommandLine::Fail(std::string reason)
{
    m_error = std::move(reason);
    return false;
}

bool SendCommandLine::IsSet(std::string_view name) const
{
    for (const SendOption* o : m_given) {
        if (name == o->name) {
            return true;
        }
    }
    return false;
}

std::vector<std::string> SendCommandLine::Values(std::string_view name) const
{
    std::vector<std::string> values;
    for (const auto& [option, value] : m_values) {
        if (name == option->name) {
            values.push_back(value);
        }
    }
    return values;
}

std::string SendCommandLine::Value(std::string_view name) const
{
    const std::vector<std::string> values = Values(name);
    return values.empty() ? std::string() : values.back();
}
