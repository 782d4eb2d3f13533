// Cost of keeping the page list saved: the copy taken under the list's lock after each
// change, the write of the file (on the store's thread, with the flush to the disk), and
// the read and decode at start. Lists of 1, 16 and 64 notes, each a 1600 x 1200 JPEG.
#include <QCoreApplication>
#include <QImage>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <mutex>
#include <vector>

#include "display/saved/page_state_file.h"
#include "display/saved/page_state_list.h"
#include "display/pages/screen_pages.h"
#include "msg/comm_msg.h"
#include "msg/msg_ids.h"
#include "picture_samples.h"

namespace {

// A photograph-like picture, as JPEG bytes.
const std::vector<std::uint8_t>& Photo()
{
    static const std::vector<std::uint8_t> bytes = JpegBytes(DetailedPicture(1600, 1200), false);
    return bytes;
}

constexpr SIZE kScreen{1920, 1080};

void FillNotes(ScreenPageList& pages, int count)
{
    CommMsg_base msg;
    msg.ResetMsg(MSGID_NOTE_PAGE);
    msg.SetAttachment(Photo().data(), static_cast<int>(Photo().size()));
    const auto page = ScreenPageList::MakeNotePage(msg, kScreen);
    for (int i = 0; i < count; ++i) {
        auto copy = std::make_unique<ScreenPage>();
        copy->m_picture = page->m_picture;
        copy->m_pictureBytes = page->m_pictureBytes;
        const std::lock_guard<std::mutex> lock(pages.Mutex());
        pages.PutNotePage(std::move(copy), false);
    }
}

void BM_CopyUnderTheLock(benchmark::State& state)
{
    ScreenPageList pages;
    FillNotes(pages, static_cast<int>(state.range(0)));
    for (auto _ : state) {
        const std::lock_guard<std::mutex> lock(pages.Mutex());
        benchmark::DoNotOptimize(SavedPagesOf(pages));
    }
    state.counters["pages"] = static_cast<double>(pages.PageCount());
}

void BM_WriteFile(benchmark::State& state)
{
    ScreenPageList pages;
    FillNotes(pages, static_cast<int>(state.range(0)));
    SavedPages saved;
    {
        const std::lock_guard<std::mutex> lock(pages.Mutex());
        saved = SavedPagesOf(pages);
    }
    QTemporaryDir dir;
    std::string strError;
    for (auto _ : state) {
        if (!WritePageStateFile(dir.path().toStdString(), saved, strError)) state.SkipWithError(strError.c_str());
    }
    state.counters["MiB"] = static_cast<double>(pages.SentPictureBytes()) / (1024.0 * 1024.0);
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * pages.SentPictureBytes());
}

void BM_ReadAndDecode(benchmark::State& state)
{
    ScreenPageList pages;
    FillNotes(pages, static_cast<int>(state.range(0)));
    QTemporaryDir dir;
    std::string strError;
    {
        const std::lock_guard<std::mutex> lock(pages.Mutex());
        WritePageStateFile(dir.path().toStdString(), SavedPagesOf(pages), strError);
    }
    const std::string path = dir.path().toStdString() + "/" + kPageStateFileName;
    for (auto _ : state) {
        const ReadState read = ReadPageStateFile(path);
        if (!read.saved) state.SkipWithError(read.strError.c_str());
        benchmark::DoNotOptimize(PagesFromSaved(*read.saved, kScreen));
    }
}

BENCHMARK(BM_CopyUnderTheLock)->Arg(1)->Arg(16)->Arg(64)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_WriteFile)->Arg(1)->Arg(16)->Arg(64)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReadAndDecode)->Arg(1)->Arg(16)->Arg(64)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
