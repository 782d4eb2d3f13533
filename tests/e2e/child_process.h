#pragma once
#include <sys/types.h>

#include <chrono>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "wait_for.h"

// Environment changes for a child: a value sets the variable, nullopt removes it.
using EnvChanges = std::map<std::string, std::optional<std::string>>;

// A program started by the tests, in a process group of its own, with its standard
// output and error going to files. The destructor ends it (TERM, then KILL) and reaps
// it, so a failing test never leaves a process behind.
class ChildProcess {
public:
    // nPassFd, when not -1, reaches the child as descriptor 3.
    ChildProcess(const std::vector<std::string>& argv, const EnvChanges& env,
                 const std::string& stdoutPath, const std::string& stderrPath, int nPassFd = -1);
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;
    ~ChildProcess();

    pid_t Pid() const { return m_pid; }
    bool Started() const { return m_pid > 0; }
    // The exit status once the process has ended within the deadline; -signal when a
    // signal ended it.
    std::optional<int> WaitExit(std::chrono::milliseconds deadline);
    bool Running();
    void Signal(int nSignal) const;

    std::string Stdout() const;
    std::string Stderr() const;

private:
    pid_t m_pid = -1;
    std::optional<int> m_status;
    std::string m_stdoutPath;
    std::string m_stderrPath;
};

struct ToolResult {
    int nStatus = -1;  // -1 also when it did not end within the deadline
    std::string out;
    std::string err;
};

// Runs a command to its end, for at most the deadline.
ToolResult RunTool(const std::vector<std::string>& argv, const EnvChanges& env,
                   const std::string& scratchDir,
                   std::chrono::milliseconds deadline = std::chrono::seconds(30));

std::string ReadFile(const std::string& path);
