#pragma once
// A started server on a free loopback port with a recording processor.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "log_watch.h"
#include "loopback_client.h"
#include "net/server.h"
#include "os/clock.h"
#include "recording_proc.h"

// The JSON text of a message with the given id and optional extra members.
inline std::string MsgJson(int id, const std::string& extra = "")
{
    return "{\"pub_MsgID\":" + std::to_string(id) + (extra.empty() ? "" : "," + extra) + "}";
}

class ServerTest : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_EQ(server->CreateField(0, &proc), 1);
        port = server->ListeningPort();
        ASSERT_GT(port, 0);
    }
    void TearDown() override
    {
        owner.reset();
        Clock::UseSystemTime();
    }

    // Declared before the server so that they outlive its threads.
    LogWatch log;
    RecordingProc proc;
    std::unique_ptr<CIOCPclass2016BC> owner = std::make_unique<CIOCPclass2016BC>();
    // The processor's hooks may still run while the server stops, so they reach it
    // through this pointer, which stays valid until the stop has joined every thread.
    CIOCPclass2016BC* server = owner.get();
    int port = 0;
};
