#include "snapshot_writer.h"

#include <cstdlib>
#include <iostream>
#include <span>
#include <vector>

#include "os/clock.h"
#include "os/durable_file.h"
#include "draw/picture_codec.h"

SnapshotWriter::SnapshotWriter(std::string strPath)
    : m_strPath(std::move(strPath)),
      m_bWithOps(std::getenv("PAVLUNE_SNAPSHOT_OPS") != nullptr && std::string(std::getenv("PAVLUNE_SNAPSHOT_OPS")) == "1"),
      m_thread([this] { Run(); })
{
}

SnapshotWriter::~SnapshotWriter()
{
    {
        std::lock_guard lock(m_mtx);
        m_bStop = true;
    }
    m_cv.notify_one();
    m_thread.join();
}

bool SnapshotWriter::IsDue() const
{
    return !m_bTakenOnce || std::llabs(SecondsBetween(m_tLastTaken, Clock::Now())) >= 1;
}

void SnapshotWriter::Offer(Image32 image, const std::function<std::string()>& ops)
{
    if (!IsDue()) return;
    m_bTakenOnce = true;
    m_tLastTaken = Clock::Now();
    std::string strOps = m_bWithOps && ops ? ops() : std::string();
    {
        std::lock_guard lock(m_mtx);
        m_imgPending = std::move(image);
        m_strOpsPending = std::move(strOps);
    }
    m_cv.notify_one();
}

void SnapshotWriter::Run()
{
    Image32 lastWritten;
    bool bReported = false;
    for (;;) {
        Image32 image;
        std::string strOps;
        {
            std::unique_lock lock(m_mtx);
            m_cv.wait(lock, [this] { return m_bStop || !m_imgPending.IsNull(); });
            if (m_imgPending.IsNull()) {
                return;
            }
            std::swap(image, m_imgPending);
            std::swap(strOps, m_strOpsPending);
        }
        if (image == lastWritten) {
            continue;
        }
        if (Write(image, strOps)) {
            lastWritten = std::move(image);
            bReported = false;
        } else if (!bReported) {
            std::cerr << "pavlune: cannot write the snapshot " << m_strPath << std::endl;
            bReported = true;
        }
    }
}

bool SnapshotWriter::Write(const Image32& image, const std::string& strOps)
{
    std::vector<std::uint8_t> png;
    if (!EncodePng(image, png)) return false;
    // The drawing record goes first: whoever sees a new picture finds its record already
    // there, never the one of the picture before it or none at all.
    std::string strError;
    const std::span<const std::uint8_t> ops(reinterpret_cast<const std::uint8_t*>(strOps.data()), strOps.size());
    if (m_bWithOps && !WriteFileDurably(m_strPath + ".ops", ops, strError)) return false;
    return WriteFileDurably(m_strPath, png, strError);
}
