#include "snapshot_writer.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <random>

#include "os/clock.h"
#include "os/file_path.h"
#include "draw/picture_codec.h"

SnapshotWriter::SnapshotWriter(std::string strPath)
    : m_strPath(std::move(strPath)),
      m_bWithOps(std::getenv("PAVLUNE_SNAPSHOT_OPS") != nullptr && std::string(std::getenv("PAVLUNE_SNAPSHOT_OPS")) == "1"),
      m_nTmpTag(std::random_device{}()), m_thread([this] { Run(); })
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
    if (!EncodePng(image, png) || !WriteFile(m_strPath, png.data(), png.size())) return false;
    return !m_bWithOps || WriteFile(m_strPath + ".ops", strOps.data(), strOps.size());
}

bool SnapshotWriter::WriteFile(const std::string& strPath, const void* pData, std::size_t nSize) const
{
    const std::filesystem::path tmpPath = PathFromUtf8(strPath + ".tmp-" + std::to_string(m_nTmpTag));
    std::error_code error;
    {
        std::ofstream file(tmpPath, std::ios::binary | std::ios::trunc);
        file.write(static_cast<const char*>(pData), static_cast<std::streamsize>(nSize));
        file.close();
        if (!file) {
            std::filesystem::remove(tmpPath, error);
            return false;
        }
    }
    std::filesystem::rename(tmpPath, PathFromUtf8(strPath), error);
    if (error) {
        std::filesystem::remove(tmpPath, error);
        return false;
    }
    return true;
}
