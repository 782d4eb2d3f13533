#include "send_fixture.h"

#include <QPainter>

#include <algorithm>
#include <filesystem>
#include <fstream>

DisplayProcess::DisplayProcess(const std::string& scratchDir, const std::string& name, int width, int height)
    : m_strDir(scratchDir + "/" + name)
{
    std::filesystem::create_directories(m_strDir);
    m_process = std::make_unique<PavluneProcess>(
        std::vector<std::string>{"-platform", "offscreen", "--port", "0", "--size",
                                 std::to_string(width) + "x" + std::to_string(height), "--snapshot",
                                 m_strDir + "/screen.png"},
        EnvChanges{{"XDG_RUNTIME_DIR", m_strDir}, {"LANG", "en_GB.UTF-8"}, {"LC_ALL", std::nullopt}}, m_strDir);
    m_nPort = m_process->WaitListening();
}

bool DisplayProcess::WaitForScreen(const std::function<bool(const QImage&)>& condition) const
{
    return WaitFor([&] {
        const QImage shot(QString::fromStdString(m_strDir + "/screen.png"));
        return !shot.isNull() && condition(shot);
    }, kDeadline);
}

ToolResult RunSend(const std::vector<std::string>& args, const EnvChanges& env, const std::string& stdinPath)
{
    std::vector<std::string> argv{SendProgram()};
    argv.insert(argv.end(), args.begin(), args.end());
    if (!stdinPath.empty()) {
        // The shell only redirects; exec leaves pavlune-send in its place.
        argv = {"/bin/sh", "-c", "exec \"$0\" \"$@\" < \"$STDIN_FILE\"", SendProgram()};
        argv.insert(argv.end(), args.begin(), args.end());
        EnvChanges withStdin = env;
        withStdin["STDIN_FILE"] = stdinPath;
        return RunTool(argv, withStdin, testing::TempDir());
    }
    return RunTool(argv, env, testing::TempDir());
}

void ExpectOutcome(const ToolResult& r, const Expected& expected)
{
    EXPECT_EQ(r.nStatus, expected.status) << r.err;
    EXPECT_EQ(r.out, expected.out);
    if (expected.errHas.empty()) {
        EXPECT_EQ(r.err, "");
        return;
    }
    EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1) << r.err;
    EXPECT_TRUE(r.err.ends_with("\n")) << r.err;
    EXPECT_NE(r.err.find(expected.errHas), std::string::npos) << r.err;
}

std::string WriteScratch(const std::string& dir, const std::string& name, const std::string& bytes)
{
    const std::string path = dir + "/" + name;
    std::ofstream(path, std::ios::binary) << bytes;
    return path;
}

std::string WritePicture(const std::string& dir, const std::string& name, const QImage& image, const char* format)
{
    const std::string path = dir + "/" + name;
    image.save(QString::fromStdString(path), format);
    return path;
}

QImage HalvesPicture(int width, int height)
{
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(Qt::blue);
    QPainter(&image).fillRect(0, 0, width / 2, height, Qt::red);
    return image;
}
