#include "child_process.h"

#include <csignal>
#include <fcntl.h>
#include <fstream>
#include <spawn.h>
#include <sstream>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace {

std::vector<std::string> MakeEnvironment(const EnvChanges& changes)
{
    std::vector<std::string> env;
    for (char** p = environ; *p != nullptr; ++p) {
        const std::string entry = *p;
        const std::string name = entry.substr(0, entry.find('='));
        if (changes.count(name) == 0) {
            env.push_back(entry);
        }
    }
    for (const auto& [name, value] : changes) {
        if (value) {
            env.push_back(name + "=" + *value);
        }
    }
    return env;
}

std::vector<char*> Pointers(std::vector<std::string>& strings)
{
    std::vector<char*> pointers;
    for (std::string& s : strings) {
        pointers.push_back(s.data());
    }
    pointers.push_back(nullptr);
    return pointers;
}

int DecodeStatus(int status)
{
    return WIFEXITED(status) ? WEXITSTATUS(status) : -WTERMSIG(status);
}

}  // namespace

std::string ReadFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

ChildProcess::ChildProcess(const std::vector<std::string>& argv, const EnvChanges& env,
                           const std::string& stdoutPath, const std::string& stderrPath, int nPassFd)
    : m_stdoutPath(stdoutPath), m_stderrPath(stderrPath)
{
    std::vector<std::string> args = argv;
    std::vector<std::string> envStrings = MakeEnvironment(env);
    std::vector<char*> argp = Pointers(args);
    std::vector<char*> envp = Pointers(envStrings);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 1, stdoutPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    posix_spawn_file_actions_addopen(&actions, 2, stderrPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (nPassFd >= 0) {
        posix_spawn_file_actions_adddup2(&actions, nPassFd, 3);
    }
    posix_spawnattr_t attr;
    posix_spawnattr_init(&attr);
    posix_spawnattr_setflags(&attr, POSIX_SPAWN_SETPGROUP | POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF);
    posix_spawnattr_setpgroup(&attr, 0);
    sigset_t none;
    sigemptyset(&none);
    posix_spawnattr_setsigmask(&attr, &none);
    sigset_t defaults;
    sigemptyset(&defaults);
    sigaddset(&defaults, SIGINT);
    sigaddset(&defaults, SIGTERM);
    sigaddset(&defaults, SIGPIPE);
    posix_spawnattr_setsigdefault(&attr, &defaults);
    if (posix_spawnp(&m_pid, argp[0], &actions, &attr, argp.data(), envp.data()) != 0) {
        m_pid = -1;
    }
    posix_spawnattr_destroy(&attr);
    posix_spawn_file_actions_destroy(&actions);
}

ChildProcess::~ChildProcess()
{
    if (m_pid <= 0 || m_status) {
        return;
    }
    kill(-m_pid, SIGTERM);
    if (!WaitExit(std::chrono::seconds(10))) {
        kill(-m_pid, SIGKILL);
        int status = 0;
        waitpid(m_pid, &status, 0);
    }
}

bool ChildProcess::Running()
{
    if (m_pid <= 0 || m_status) {
        return false;
    }
    int status = 0;
    if (waitpid(m_pid, &status, WNOHANG) == m_pid) {
        m_status = DecodeStatus(status);
        return false;
    }
    return true;
}

std::optional<int> ChildProcess::WaitExit(std::chrono::milliseconds deadline)
{
    WaitFor([this] { return !Running(); }, deadline);
    return m_status;
}

void ChildProcess::Signal(int nSignal) const
{
    if (m_pid > 0 && !m_status) {
        kill(m_pid, nSignal);
    }
}

std::string ChildProcess::Stdout() const { return ReadFile(m_stdoutPath); }
std::string ChildProcess::Stderr() const { return ReadFile(m_stderrPath); }

ToolResult RunTool(const std::vector<std::string>& argv, const EnvChanges& env,
                   const std::string& scratchDir, std::chrono::milliseconds deadline)
{
    static int s_nRun = 0;
    const std::string base = scratchDir + "/tool-" + std::to_string(getpid()) + "-" + std::to_string(++s_nRun);
    ToolResult result;
    {
        ChildProcess tool(argv, env, base + ".out", base + ".err");
        if (const auto status = tool.WaitExit(deadline)) {
            result.nStatus = *status;
        }
    }
    result.out = ReadFile(base + ".out");
    result.err = ReadFile(base + ".err");
    unlink((base + ".out").c_str());
    unlink((base + ".err").c_str());
    return result;
}
