// The --snapshot file: a real PNG, at most one a second, never seen half-written.
#include <QImage>

#include <gtest/gtest.h>

#include <filesystem>

#include "core/snapshot_writer.h"
#include "os/clock.h"

namespace {

class Snapshot : public ::testing::Test {
protected:
    void SetUp() override
    {
        std::string pattern = (std::filesystem::temp_directory_path() / "pavlune-snap-XXXXXX").string();
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        m_dir = pattern;
        Clock::Set(DateTime::FromLocal(2026, 12, 9, 20, 0, 0));
    }
    void TearDown() override
    {
        Clock::UseSystemTime();
        std::filesystem::remove_all(m_dir);
    }

    static Image32 Filled(QRgb colour)
    {
        Image32 image(320, 200);
        image.Fill(colour);
        return image;
    }

    // The writer's thread has finished once the writer is gone.
    QRgb WrittenColour(const std::string& path) const
    {
        const QImage written(QString::fromStdString(path));
        return written.isNull() ? 0 : written.pixel(5, 5) & 0xFFFFFFu;
    }

    std::filesystem::path m_dir;
};

TEST_F(Snapshot, TakesAtMostOnePictureASecond)
{
    const std::string path = (m_dir / "screen.png").string();
    {
        SnapshotWriter writer(path);
        writer.Offer(Filled(qRgb(1, 2, 3)));
        writer.Offer(Filled(qRgb(4, 5, 6)));
    }
    EXPECT_EQ(WrittenColour(path), qRgb(1, 2, 3) & 0xFFFFFFu) << "the second offer came within the second";
    {
        SnapshotWriter writer(path);
        writer.Offer(Filled(qRgb(1, 2, 3)));
        Clock::Advance(1);
        writer.Offer(Filled(qRgb(7, 8, 9)));
    }
    EXPECT_EQ(WrittenColour(path), qRgb(7, 8, 9) & 0xFFFFFFu);
}

TEST_F(Snapshot, LeavesNoTemporaryFileBehind)
{
    const std::string path = (m_dir / "screen.png").string();
    {
        SnapshotWriter writer(path);
        for (int i = 0; i < 5; ++i) {
            writer.Offer(Filled(qRgb(i, i, i)));
            Clock::Advance(1);
        }
    }
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(m_dir)) {
        names.push_back(entry.path().filename().string());
    }
    EXPECT_EQ(names, std::vector<std::string>{"screen.png"});
}

TEST_F(Snapshot, AnUnwritablePlaceIsReportedNotFatal)
{
    const std::string path = (m_dir / "missing-dir" / "screen.png").string();
    ::testing::internal::CaptureStderr();
    {
        SnapshotWriter writer(path);
        writer.Offer(Filled(qRgb(1, 2, 3)));
    }
    const std::string err = ::testing::internal::GetCapturedStderr();
    EXPECT_NE(err.find("cannot write the snapshot"), std::string::npos);
    EXPECT_FALSE(std::filesystem::exists(path));
}

}  // namespace
