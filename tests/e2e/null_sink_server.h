#pragma once
#include <memory>
#include <string>

#include "child_process.h"

// A PulseAudio server that exists only for one test: its own home and runtime directory, a
// socket in the scratch directory, and a null sink named bell_sink whose monitor a
// recorder reads, so a test hears what a program played.
class NullSinkServer {
public:
    // Whether pulseaudio, pactl and parec are on the PATH.
    static bool Available();

    explicit NullSinkServer(const std::string& scratch);

    bool Ready() const { return m_bReady; }
    std::string Log() const { return m_pDaemon->Stderr(); }
    // What a client needs to reach this server and no other.
    EnvChanges ClientEnv() const;
    // Starts recording the sink as raw signed 16-bit mono at 44100 Hz into the file;
    // false when the recorder did not start to listen in time.
    bool Record(const std::string& file);

private:
    std::string m_strSocket;
    std::string m_strScratch;
    EnvChanges m_env;
    std::unique_ptr<ChildProcess> m_pDaemon;
    std::unique_ptr<ChildProcess> m_pRecorder;
    bool m_bReady = false;
};

// The loudest sample of raw signed 16-bit little-endian mono audio.
int Peak(const std::string& raw);
