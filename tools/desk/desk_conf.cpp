#include "desk_conf.h"

#include <filesystem>
#include <span>
#include <sstream>

#include "os/durable_file.h"
#include "os/file_path.h"
#include "os/user_dirs.h"

namespace {

// A file this large is not one the desk wrote: it is read no further.
constexpr std::size_t kMaxConfBytes = 256 * 1024;

}  // namespace

std::string DeskConfPath()
{
    const std::string dir = ConfigDirectory();
    return dir.empty() ? std::string() : dir + "/desk.conf";
}

DeskConf ParseDeskConf(const std::string& text)
{
    DeskConf conf;
    std::istringstream in(text);
    std::string line;
    for (int number = 1; std::getline(in, line); ++number) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        const std::string_view trimmed = Trimmed(line);
        if (trimmed.empty() || trimmed.front() == '#' || trimmed.front() == ';' || trimmed.front() == '[') continue;
        const auto where = "line " + std::to_string(number) + ": ";
        const auto equals = trimmed.find('=');
        if (equals == std::string_view::npos) {
            conf.problems.push_back(where + "not NAME = HOST[:PORT]");
            continue;
        }
        std::string why;
        const std::string_view name = Trimmed(trimmed.substr(0, equals));
        if (!CheckRoomName(name, why)) {
            conf.problems.push_back(where + why);
            continue;
        }
        const auto address = ParseAddress(trimmed.substr(equals + 1), why);
        if (!address) {
            conf.problems.push_back(where + why);
            continue;
        }
        if (conf.rooms.size() == kMaxRooms) {
            conf.problems.push_back(where + "more than " + std::to_string(kMaxRooms) + " rooms; the rest are left out");
            break;
        }
        conf.rooms.push_back({std::string(name), *address});
    }
    return conf;
}

DeskConf ReadDeskConf(const std::string& path)
{
    const RegularFile file = ReadRegularFile(path, kMaxConfBytes);
    if (file.bMissing) {
        DeskConf conf;
        conf.bMissing = true;
        return conf;
    }
    if (!file.strError.empty()) {
        DeskConf conf;
        conf.problems.push_back(file.strError);
        return conf;
    }
    return ParseDeskConf(std::string(file.bytes.begin(), file.bytes.end()));
}

std::string DeskConfText(const std::vector<Room>& rooms)
{
    std::string text = "# The rooms of the Pavlune desk, one NAME = HOST[:PORT] a line. The desk writes this\n"
                       "# file whole when rooms are added, renamed or removed in its page.\n";
    for (const Room& room : rooms) {
        text += room.name + " = " + AddressText(room.address) + "\n";
    }
    return text;
}

bool WriteDeskConf(const std::string& path, const std::vector<Room>& rooms, std::string& error)
{
    std::error_code ec;
    std::filesystem::create_directories(PathFromUtf8(path).parent_path(), ec);
    const std::string text = DeskConfText(rooms);
    return WriteFileDurably(path, std::span(reinterpret_cast<const std::uint8_t*>(text.data()), text.size()), error);
}
