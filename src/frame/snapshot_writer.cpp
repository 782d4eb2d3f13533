#include "snapshot_writer.h"

#include <QImageWriter>

#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <unistd.h>

#include "platform/clock.h"

SnapshotWriter::SnapshotWriter(std::string strPath)
    : m_strPath(std::move(strPath)), m_thread([this] { Run(); })
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

void SnapshotWriter::Offer(const QImage& image)
{
    if (!IsDue()) return;
    m_bTakenOnce = true;
    m_tLastTaken = Clock::Now();
    {
        std::lock_guard lock(m_mtx);
        m_imgPending = image;
    }
    m_cv.notify_one();
}

void SnapshotWriter::Run()
{
    QImage lastWritten;
    bool bReported = false;
    for (;;) {
        QImage image;
        {
            std::unique_lock lock(m_mtx);
            m_cv.wait(lock, [this] { return m_bStop || !m_imgPending.isNull(); });
            if (m_imgPending.isNull()) {
                return;
            }
            std::swap(image, m_imgPending);
        }
        if (image == lastWritten) {
            continue;
        }
        if (Write(image)) {
            lastWritten = image;
            bReported = false;
        } else if (!bReported) {
            std::cerr << "pavlune: cannot write the snapshot " << m_strPath << std::endl;
            bReported = true;
        }
    }
}

bool SnapshotWriter::Write(const QImage& image)
{
    const std::string tmpPath = m_strPath + ".tmp-" + std::to_string(getpid());
    QImageWriter writer(QString::fromStdString(tmpPath), "png");
    if (!writer.write(image)) {
        std::remove(tmpPath.c_str());
        return false;
    }
    if (std::rename(tmpPath.c_str(), m_strPath.c_str()) != 0) {
        std::remove(tmpPath.c_str());
        return false;
    }
    return true;
}
