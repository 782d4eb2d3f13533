// pavlune-send: speaks the display's protocol from the scoring program's side.
#include <iostream>
#include <thread>
#include <vector>

#include "send_args.h"
#include "common/tool_console.h"
#include "send_delivery.h"
#include "send_picture.h"

namespace {

int Fail(int code, const std::string& reason)
{
    std::cerr << "pavlune-send: " << reason << "\n";
    return code;
}

// Reads the picture or attachment the command names into the message.
bool LoadFiles(SendArgs& args, Image32& fitPicture, std::string& error)
{
    if (!args.picturePath.empty()) {
        auto picture = LoadPicture(args.picturePath, error);
        if (!picture) {
            return false;
        }
        args.msg.SetAttachment(picture->bytes.data(), static_cast<int>(picture->bytes.size()));
        fitPicture = std::move(picture->image);
    }
    if (!args.attachPath.empty()) {
        const auto bytes = LoadFileBytes(args.attachPath, error);
        if (!bytes) {
            return false;
        }
        if (!bytes->empty() && bytes->size() < static_cast<std::size_t>(kMinAttachment)) {
            error = args.attachPath + " has " + std::to_string(bytes->size()) + " bytes; a display refuses an "
                    "attachment of fewer than " + std::to_string(kMinAttachment);
            return false;
        }
        if (!bytes->empty()) {
            args.msg.SetAttachment(bytes->data(), static_cast<int>(bytes->size()));
        }
    }
    return true;
}

}  // namespace

int main(int argc, char** argv)
{
    const ToolConsole console(argc, argv);
    SendArgs args;
    std::string error;
    if (!ParseSendArgs(console.Argc(), console.Argv(), args, error)) {
        const std::string help = args.command.empty() ? "pavlune-send --help" : "pavlune-send " + args.command + " --help";
        return Fail(2, error + " (see " + help + ")");
    }
    if (!args.help.empty()) {
        std::cout << args.help;
        return 0;
    }
    Image32 fitPicture;
    if (!LoadFiles(args, fitPicture, error)) {
        return Fail(1, error);
    }
    FrameBuffer frame;
    if (!args.fit) {
        frame = BuildFrame(args.msg, error);
        if (frame.Length() <= 0) {
            return Fail(1, error);
        }
    }
    std::vector<Delivery> results(args.targets.size());
    {
        std::vector<std::jthread> workers;
        for (std::size_t i = 0; i < args.targets.size(); ++i) {
            workers.emplace_back([&, i] { results[i] = Deliver(args.targets[i], args, frame, fitPicture); });
        }
    }
    const bool several = args.targets.size() > 1;
    int status = 0;
    for (std::size_t i = 0; i < results.size(); ++i) {
        const Delivery& r = results[i];
        if (!r.ok) {
            status = Fail(1, r.line);
        } else if (several && r.line.find('\n') != std::string::npos) {
            // A block of lines, such as a status, under its host.
            std::cout << args.targets[i].Name() << ":\n  ";
            for (const char c : r.line) {
                std::cout << c << (c == '\n' ? "  " : "");
            }
            std::cout << "\n";
        } else if (several) {
            std::cout << args.targets[i].Name() << ": " << (r.line.empty() ? "done" : r.line) << "\n";
        } else if (!r.line.empty()) {
            std::cout << r.line << "\n";
        }
    }
    return status;
}
