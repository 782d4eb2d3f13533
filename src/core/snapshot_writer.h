#pragma once
#include <condition_variable>
#include <functional>
#include <mutex>
#include <string>
#include <thread>

#include "os/date_time.h"
#include "draw/image32.h"

// Keeps a PNG file showing what the window shows, for headless use and for checks from
// outside. At most one picture a second is taken, and it is written on a thread of its
// own so that the repaint never waits for the encoder or the disk. Each picture is written
// durably (os/durable_file.h), so a reader never sees half a file.
//
// For checks from outside on a platform whose pixels a test cannot predict (GDI under
// Wine), the environment variable PAVLUNE_SNAPSHOT_OPS=1 makes each picture come with
// the drawing operations that made it, as text, in PATH.ops.
class SnapshotWriter {
public:
    explicit SnapshotWriter(std::string strPath);
    SnapshotWriter(const SnapshotWriter&) = delete;
    SnapshotWriter& operator=(const SnapshotWriter&) = delete;
    // Writes the picture still waiting, then ends the thread.
    ~SnapshotWriter();

    // Whether a second has passed since the last picture taken (by Clock, in either
    // direction), so that one is wanted.
    bool IsDue() const;
    // Called after a repaint with the screen's picture; takes it when due. `ops` is
    // called only when the operations are wanted.
    void Offer(Image32 image, const std::function<std::string()>& ops = {});

    const std::string& Path() const { return m_strPath; }

private:
    void Run();
    bool Write(const Image32& image, const std::string& strOps);

    const std::string m_strPath;
    const bool m_bWithOps;
    DateTime m_tLastTaken;
    bool m_bTakenOnce = false;

    std::mutex m_mtx;
    std::condition_variable m_cv;
    Image32 m_imgPending;
    std::string m_strOpsPending;
    bool m_bStop = false;
    std::thread m_thread;
};
