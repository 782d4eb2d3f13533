// The page list saved and brought back after a restart: the same pages in the same order,
// a round that ends when it always would have, and every file the list could not have
// written refused.
#include <QColor>
#include <QDir>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <condition_variable>
#include <fcntl.h>
#include <functional>
#include <mutex>
#include <span>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

#include "display/saved/page_state.h"
#include "display/saved/page_state_file.h"
#include "display/saved/page_state_list.h"
#include "display/saved/page_state_store.h"
#include "display/pages/round_time.h"
#include "display/pages/screen_pages.h"
#include "msg/comm_msg.h"
#include "msg/msg_fields.h"
#include "msg/msg_ids.h"
#include "os/clock.h"
#include "render_support.h"

namespace {

std::vector<std::uint8_t> Encoded(const SavedPages& saved)
{
    std::vector<std::uint8_t> bytes;
    EXPECT_TRUE(EncodePageState(saved, [&](std::span<const std::uint8_t> piece) {
        bytes.insert(bytes.end(), piece.begin(), piece.end());
        return true;
    }));
    return bytes;
}

std::vector<std::uint8_t> Png(QRgb colour)
{
    QImage picture(6, 4, QImage::Format_RGB32);
    picture.fill(colour);
    return EncodePicture(picture, "PNG");
}

std::vector<std::uint8_t> FileBytes(const std::string& path)
{
    std::vector<std::uint8_t> bytes;
    QFile file(QString::fromStdString(path));
    if (file.open(QIODevice::ReadOnly)) {
        const QByteArray all = file.readAll();
        bytes.assign(all.begin(), all.end());
    }
    return bytes;
}

void WriteBytes(const std::string& path, const std::vector<std::uint8_t>& bytes)
{
    QFile file(QString::fromStdString(path));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(reinterpret_cast<const char*>(bytes.data()), static_cast<qint64>(bytes.size()));
}

// One message as the scoring program sends it: its JSON and a picture, named by colour,
// "junk" for bytes that are no picture, empty for none.
struct Sent {
    const char* json;
    const char* picture;
};

class PageStateTest : public ::testing::Test {
protected:
    void SetUp() override { Clock::Set(m_tStart); }
    void TearDown() override { Clock::UseSystemTime(); }

    static void Send(ScreenPageList& pages, const Sent& sent)
    {
        CommMsg_base msg;
        msg.FromJsonText(sent.json);
        const std::string picture = sent.picture;
        if (picture == "junk") {
            Attach(msg, {1, 2, 3, 4, 5});
        } else if (!picture.empty()) {
            Attach(msg, Png(QColor::fromString(QString::fromStdString(picture)).rgb()));
        }
        const std::lock_guard<std::mutex> lock(pages.Mutex());
        switch (GetIntByName(msg, kMsgIdKey)) {
        case MSGID_CLEAR: pages.ClearPages(); break;
        case MSGID_ROUND_PAGE: pages.OnRoundPageMessage(msg); break;
        case MSGID_NOTE_PAGE: pages.OnNotePageMessage(msg); break;
        default: break;
        }
    }
    const ScreenPage* Current(ScreenPageList& pages)
    {
        const std::lock_guard<std::mutex> lock(pages.Mutex());
        return pages.CurrentPage();
    }
    SavedPages Saved()
    {
        const std::lock_guard<std::mutex> lock(m_pages.Mutex());
        return SavedPagesOf(m_pages);
    }
    // Through the file's bytes into a second list, as a restart does.
    void Restore(const std::vector<std::uint8_t>& bytes)
    {
        std::string strError;
        const std::optional<SavedPages> saved = DecodePageState(bytes, strError);
        ASSERT_TRUE(saved) << strError;
        auto pages = PagesFromSaved(*saved, SIZE{});
        const std::lock_guard<std::mutex> lock(m_restored.Mutex());
        m_restored.RestorePages(std::move(pages), saved->nCurPage);
    }

    const DateTime m_tStart = DateTime::FromLocal(2026, 3, 14, 15, 0, 0);
    ScreenPageList m_pages;
    ScreenPageList m_restored;
};

void ExpectSamePage(const ScreenPage& a, const ScreenPage& b, int index)
{
    SCOPED_TRACE("page " + std::to_string(index));
    EXPECT_EQ(a.m_bRoundPage, b.m_bRoundPage);
    EXPECT_EQ(a.m_round.language, b.m_round.language);
    EXPECT_EQ(a.m_tEnd, b.m_tEnd);
    EXPECT_EQ(a.m_round.roundSeconds, b.m_round.roundSeconds);
    EXPECT_EQ(a.m_round.title, b.m_round.title);
    EXPECT_EQ(a.m_round.subtitle, b.m_round.subtitle);
    EXPECT_EQ(a.m_round.boards, b.m_round.boards);
    EXPECT_EQ(a.m_round.barCaption, b.m_round.barCaption);
    EXPECT_EQ(a.m_round.barAtTop, b.m_round.barAtTop);
    EXPECT_EQ(a.m_round.clockX, b.m_round.clockX);
    EXPECT_EQ(a.m_round.clockY, b.m_round.clockY);
    EXPECT_EQ(a.m_round.clockHeight, b.m_round.clockHeight);
    EXPECT_EQ(a.m_round.clockBox, b.m_round.clockBox);
    EXPECT_EQ(a.m_round.clrTitle, b.m_round.clrTitle);
    EXPECT_EQ(a.m_round.clrClock, b.m_round.clrClock);
    EXPECT_EQ(a.m_round.clrOvertime, b.m_round.clrOvertime);
    EXPECT_EQ(a.m_txtTitle, b.m_txtTitle);
    EXPECT_EQ(a.m_txtCaption, b.m_txtCaption);
    EXPECT_EQ(a.m_boards, b.m_boards);
    ASSERT_EQ(a.m_picture.IsNull(), b.m_picture.IsNull());
    EXPECT_EQ(a.m_picture.GetWidth(), b.m_picture.GetWidth());
    EXPECT_EQ(a.SentPictureBytes(), b.SentPictureBytes());
    if (a.m_pictureBytes && b.m_pictureBytes) {
        EXPECT_EQ(*a.m_pictureBytes, *b.m_pictureBytes);
    }
}

struct RoundTripCase {
    const char* name;
    std::vector<Sent> messages;
    int nTurns;  // ten-second turns of the rotation before the list is saved
};

class PageStateRoundTrip : public PageStateTest, public ::testing::WithParamInterface<RoundTripCase> {};

TEST_P(PageStateRoundTrip, TheRestartShowsTheSameList)
{
    for (const Sent& sent : GetParam().messages) Send(m_pages, sent);
    for (int i = 0; i < GetParam().nTurns; ++i) {
        Current(m_pages);
        Clock::Advance(10);
    }
    const int shown = m_pages.CurrentIndex();
    Restore(Encoded(Saved()));

    ASSERT_EQ(m_restored.PageCount(), m_pages.PageCount());
    for (int i = 0; i < m_pages.PageCount(); ++i) ExpectSamePage(m_pages.Page(i), m_restored.Page(i), i);
    EXPECT_EQ(m_restored.PictureBytes(), m_pages.PictureBytes());
    EXPECT_EQ(m_restored.SentPictureBytes(), m_pages.SentPictureBytes());
    if (m_pages.PageCount() == 0) {
        EXPECT_EQ(Current(m_restored), nullptr);
        return;
    }
    // The page that was on the screen comes back for a whole turn, then the next one.
    EXPECT_EQ(Current(m_restored), &m_restored.Page(shown));
    Clock::Advance(9);
    EXPECT_EQ(Current(m_restored), &m_restored.Page(shown));
    Clock::Advance(1);
    EXPECT_EQ(Current(m_restored), &m_restored.Page((shown + 1) % m_restored.PageCount()));
}

INSTANTIATE_TEST_SUITE_P(
    Lists, PageStateRoundTrip,
    ::testing::Values(
        RoundTripCase{"RoundPageWithEveryField",
                      {{R"({"pub_MsgID":303,"1":"Round 3 \u4e2d","2":"Open pairs","11":3000,"13":3600,"14":"1~8",
                           "16":"Caption","18":true,"21":150,"22":-20,"72":2,"26":true,"31":"10,20,30",
                           "32":"255,128,0","33":"1,2,3","99":1})",
                        "#336699"}},
                      0},
        RoundTripCase{"RoundPageWithoutPicture", {{R"({"pub_MsgID":303,"1":"R","11":-40})", ""}}, 0},
        RoundTripCase{"NotesInOrderWithTheThirdShown",
                      {{R"({"pub_MsgID":305})", "red"},
                       {R"({"pub_MsgID":305})", "junk"},
                       {R"({"pub_MsgID":305})", "#00ff00"},
                       {R"({"pub_MsgID":305})", ""},
                       {R"({"pub_MsgID":305})", "blue"}},
                      2},
        RoundTripCase{"NotesAfterARoundPage",
                      {{R"({"pub_MsgID":303,"1":"R"})", "red"}, {R"({"pub_MsgID":305})", "blue"}},
                      1},
        RoundTripCase{"EmptyAfterAClear", {{R"({"pub_MsgID":303,"1":"R"})", "red"}, {R"({"pub_MsgID":301})", ""}},
                      0}),
    [](const ::testing::TestParamInfo<RoundTripCase>& info) { return std::string(info.param.name); });

TEST_F(PageStateTest, UndecodablePicturesAreNotKept)
{
    Send(m_pages, {R"({"pub_MsgID":305})", "junk"});
    Send(m_pages, {R"({"pub_MsgID":305})", "red"});
    EXPECT_EQ(m_pages.Page(0).m_pictureBytes, nullptr);
    ASSERT_NE(m_pages.Page(1).m_pictureBytes, nullptr);
    EXPECT_EQ(*m_pages.Page(1).m_pictureBytes, Png(QColor(Qt::red).rgb()));
    EXPECT_EQ(m_pages.SentPictureBytes(), static_cast<qint64>(Png(QColor(Qt::red).rgb()).size()));
}

TEST_F(PageStateTest, BytesAsSentCountAgainstThePictureBudget)
{
    // A tiny picture with 40 MiB after its end: decoded it costs nothing, kept as sent a
    // lot. Eight of them would keep 320 MiB.
    std::vector<std::uint8_t> padded = Png(qRgb(1, 2, 3));
    padded.resize(padded.size() + 40 * 1024 * 1024);
    CommMsg_base msg;
    msg.ResetMsg(MSGID_NOTE_PAGE);
    Attach(msg, padded);
    for (int i = 0; i < 8; ++i) {
        const std::lock_guard<std::mutex> lock(m_pages.Mutex());
        m_pages.OnNotePageMessage(msg);
    }
    ASSERT_NE(m_pages.Page(0).m_pictureBytes, nullptr) << "the padded picture did not decode";
    EXPECT_LE(m_pages.PictureBytes() + m_pages.SentPictureBytes(), ScreenPageList::kPictureBudgetBytes);
    EXPECT_EQ(m_pages.PageCount(), 6);
}

struct EndCase {
    const char* name;
    int nRemaining;      // key 11 of the round page
    std::int64_t nMove;  // how far the clock moves between saving and the restart
    int nExpected;       // seconds left on the clock after the restart
};

class RoundEndAfterRestart : public PageStateTest, public ::testing::WithParamInterface<EndCase> {};

TEST_P(RoundEndAfterRestart, TheClockGoesOnFromWhereItWas)
{
    Send(m_pages, {("{\"pub_MsgID\":303,\"11\":" + std::to_string(GetParam().nRemaining) + "}").c_str(), ""});
    const std::vector<std::uint8_t> bytes = Encoded(Saved());
    Clock::Advance(GetParam().nMove);
    Restore(bytes);
    ASSERT_EQ(m_restored.PageCount(), 1);
    EXPECT_EQ(SecondsUntil(m_restored.Page(0).m_tEnd), GetParam().nExpected);
}

INSTANTIATE_TEST_SUITE_P(
    Moves, RoundEndAfterRestart,
    ::testing::Values(EndCase{"AtOnce", 600, 0, 600}, EndCase{"TwoMinutesLater", 600, 125, 475},
                      EndCase{"AtTheEnd", 600, 600, 0}, EndCase{"InOvertime", 600, 661, -61},
                      EndCase{"ClockSetBack", 600, -30, 630}, EndCase{"NextDay", 600, 86400, -85800},
                      EndCase{"SavedInOvertime", -90, 10, -100}),
    [](const ::testing::TestParamInfo<EndCase>& info) { return std::string(info.param.name); });

// Bytes of a file the list never wrote, made from a good one or from pages it never holds.
struct RefusedCase {
    const char* name;
    std::function<std::vector<std::uint8_t>(std::vector<std::uint8_t>)> make;
    const char* reason;  // part of the reason given
};

// Writes a checksum that fits the changed bytes, so the fault under test is what is seen.
std::vector<std::uint8_t> Resealed(std::vector<std::uint8_t> bytes)
{
    bytes.resize(bytes.size() - 4);
    const std::uint32_t crc = Crc32(bytes);
    for (int i = 0; i < 4; ++i) bytes.push_back(static_cast<std::uint8_t>(crc >> (8 * i)));
    return bytes;
}

SavedPage SavedNote(std::size_t nPictureBytes)
{
    SavedPage page;
    page.picture = std::make_shared<const std::vector<std::uint8_t>>(nPictureBytes, std::uint8_t{7});
    return page;
}

// Offsets in the file of two notes that the cases below change.
constexpr std::size_t kVersionAt = 8;
constexpr std::size_t kShownAt = 12;
constexpr std::size_t kCountAt = 16;
constexpr std::size_t kFirstKindAt = 20;

class RefusedFile : public PageStateTest, public ::testing::WithParamInterface<RefusedCase> {};

TEST_P(RefusedFile, IsIgnoredWithItsReason)
{
    Send(m_pages, {R"({"pub_MsgID":305})", "red"});
    Send(m_pages, {R"({"pub_MsgID":305})", "blue"});
    const std::vector<std::uint8_t> bytes = GetParam().make(Encoded(Saved()));
    std::string strError;
    EXPECT_FALSE(DecodePageState(bytes, strError));
    EXPECT_NE(strError.find(GetParam().reason), std::string::npos) << strError;
}

INSTANTIATE_TEST_SUITE_P(
    Faults, RefusedFile,
    ::testing::Values(
        RefusedCase{"Empty", [](auto) { return std::vector<std::uint8_t>(); }, "not a saved page list"},
        RefusedCase{"APicture", [](auto) { return Png(qRgb(1, 2, 3)); }, "not a saved page list"},
        RefusedCase{"Text", [](auto) { return std::vector<std::uint8_t>{'[', 'p', 'a', 'g', 'e', 's', ']', '\n'}; },
                    "not a saved page list"},
        RefusedCase{"OnlyTheMagic", [](auto b) { b.resize(8); return b; }, "cut short"},
        RefusedCase{"CutInTheHeader", [](auto b) { b.resize(14); return b; }, "cut short"},
        RefusedCase{"CutInAPicture", [](auto b) { b.resize(b.size() / 2); return b; }, "checksum"},
        RefusedCase{"LastByteMissing", [](auto b) { b.pop_back(); return b; }, "checksum"},
        RefusedCase{"AByteAdded", [](auto b) { b.push_back(0); return b; }, "checksum"},
        RefusedCase{"OneBitChangedInAPicture", [](auto b) { b[b.size() - 20] ^= 0x10; return b; }, "checksum"},
        RefusedCase{"OneBitChangedInTheChecksum", [](auto b) { b.back() ^= 0x01; return b; }, "checksum"},
        RefusedCase{"ANewerVersion", [](auto b) { b[kVersionAt] = 2; return Resealed(b); }, "version 2"},
        RefusedCase{"ShownPageOffTheList", [](auto b) { b[kShownAt] = 2; return Resealed(b); }, "page shown"},
        RefusedCase{"MorePagesThanTheList", [](auto b) { b[kCountAt] = 65; return Resealed(b); }, "more pages"},
        RefusedCase{"CountPastTheBytes", [](auto b) { b[kCountAt] = 3; return Resealed(b); }, "do not fit"},
        RefusedCase{"UnknownKind", [](auto b) { b[kFirstKindAt] = 3; return Resealed(b); }, "unknown kind"},
        RefusedCase{"TrailingByteUnderTheChecksum",
                    [](auto b) { b.insert(b.end() - 4, 0); return Resealed(b); }, "do not fit"},
        RefusedCase{"RoundPageBesideANote",
                    [](auto) {
                        SavedPages saved;
                        saved.pages.resize(2);
                        saved.pages[0].bRoundPage = true;
                        return Encoded(saved);
                    },
                    "round page beside"},
        RefusedCase{"TextLongerThanAPageKeeps",
                    [](auto) {
                        SavedPages saved;
                        saved.pages.resize(1);
                        saved.pages[0].bRoundPage = true;
                        saved.pages[0].round.boards.assign(kMaxPageTextBytes + 1, '1');
                        return Encoded(saved);
                    },
                    "do not fit"},
        RefusedCase{"PicturesOverTheBudget",
                    [](auto) {
                        SavedPages saved;
                        const SavedPage note = SavedNote(ScreenPageList::kPictureBudgetBytes / 2 + 1);
                        saved.pages = {note, note};
                        return Encoded(saved);
                    },
                    "more picture bytes"},
        RefusedCase{"LargerThanAnyList",
                    [](auto) { return std::vector<std::uint8_t>(kMaxPageStateBytes + 1, std::uint8_t{0}); },
                    "larger than"}),
    [](const ::testing::TestParamInfo<RefusedCase>& info) { return std::string(info.param.name); });

TEST(PageStateChecksum, IsTheCrc32OfZlibAndPng)
{
    const std::string check = "123456789";
    EXPECT_EQ(Crc32({reinterpret_cast<const std::uint8_t*>(check.data()), check.size()}), 0xCBF43926u);
}

// A file that is there but never read: it could not have come from the list, or reading
// it could hold the thread for ever.
struct UnreadCase {
    const char* name;
    std::function<void(const std::string& path)> make;
    const char* reason;
};

class UnreadFile : public ::testing::TestWithParam<UnreadCase> {};

TEST_P(UnreadFile, IsRefusedWithoutReadingIt)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const std::string path = dir.path().toStdString() + "/" + kPageStateFileName;
    GetParam().make(path);
    const ReadState read = ReadPageStateFile(path);
    EXPECT_FALSE(read.saved);
    EXPECT_FALSE(read.bMissing);
    EXPECT_NE(read.strError.find(GetParam().reason), std::string::npos) << read.strError;
}

INSTANTIATE_TEST_SUITE_P(
    Files, UnreadFile,
    ::testing::Values(
        UnreadCase{"OneByteLargerThanAnyList",
                   [](const std::string& path) {
                       // Sparse: as large as it says, without the disk space.
                       const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT, 0600);
                       ASSERT_GE(fd, 0);
                       ASSERT_EQ(::ftruncate(fd, static_cast<off_t>(kMaxPageStateBytes + 1)), 0);
                       ::close(fd);
                   },
                   "larger than"},
        UnreadCase{"APipe", [](const std::string& path) { ASSERT_EQ(::mkfifo(path.c_str(), 0600), 0); },
                   "not a regular file"},
        UnreadCase{"ADirectory", [](const std::string& path) { ASSERT_TRUE(QDir().mkdir(QString::fromStdString(path))); },
                   "not a regular file"}),
    [](const ::testing::TestParamInfo<UnreadCase>& info) { return std::string(info.param.name); });

// The store as the window keeps it: its own directory, its reports collected.
class PageStateStoreTest : public PageStateTest {
protected:
    std::unique_ptr<PageStateStore> Store(ScreenPageList& pages, bool bRestore, const std::string& dir = {})
    {
        return std::make_unique<PageStateStore>(dir.empty() ? m_strDir : dir, pages, bRestore,
                                                [] { return SIZE{}; },
                                                [this](const std::string& line) { m_reports.push_back(line); });
    }
    std::string FilePath() const { return m_strDir + "/" + kPageStateFileName; }

    QTemporaryDir m_dir;
    const std::string m_strDir = m_dir.path().toStdString() + "/state/pavlune";
    std::vector<std::string> m_reports;
};

TEST_F(PageStateStoreTest, EveryChangeIsSavedAndTheLatestIsWhatStays)
{
    auto store = Store(m_pages, false);
    Send(m_pages, {R"({"pub_MsgID":303,"1":"R"})", "red"});
    store->Save();
    for (const char* colour : {"red", "lime", "blue"}) {
        Send(m_pages, {R"({"pub_MsgID":305})", colour});
        store->Save();
    }
    store.reset();

    const ReadState read = ReadPageStateFile(FilePath());
    ASSERT_TRUE(read.saved) << read.strError;
    ASSERT_EQ(read.saved->pages.size(), 3u);
    for (std::size_t i = 0; i < 3; ++i) EXPECT_EQ(*read.saved->pages[i].picture, *m_pages.Page(int(i)).m_pictureBytes);
    EXPECT_EQ(QDir(QString::fromStdString(m_strDir)).entryList(QDir::Files), QStringList{kPageStateFileName})
        << "a temporary file was left";
    EXPECT_TRUE(m_reports.empty());
}

TEST_F(PageStateStoreTest, TheSavedListComesBackAtStart)
{
    Send(m_pages, {R"({"pub_MsgID":303,"1":"Round 5","11":900})", "red"});
    Store(m_pages, false)->Save();
    Clock::Advance(60);

    // The store's thread has restored the list once it has ended.
    Store(m_restored, true).reset();
    ASSERT_EQ(m_restored.PageCount(), 1);
    EXPECT_EQ(m_restored.Page(0).m_round.title, "Round 5");
    EXPECT_EQ(SecondsUntil(m_restored.Page(0).m_tEnd), 840);
    EXPECT_FALSE(m_restored.Page(0).m_picture.IsNull());
    EXPECT_TRUE(m_reports.empty());
}

TEST_F(PageStateStoreTest, AMessageDuringTheRestoreIsNewerThanTheSavedList)
{
    Send(m_pages, {R"({"pub_MsgID":303,"1":"Saved"})", ""});
    Store(m_pages, false)->Save();
    {
        // The restore cannot put its pages in while the lock is held; a message that
        // comes meanwhile is put in first.
        std::unique_lock lock(m_restored.Mutex());
        auto store = Store(m_restored, true);
        CommMsg_base msg;
        msg.FromJsonText(R"({"pub_MsgID":303,"1":"Newer"})");
        m_restored.OnRoundPageMessage(msg);
        lock.unlock();
        store.reset();
    }
    ASSERT_EQ(m_restored.PageCount(), 1);
    EXPECT_EQ(m_restored.Page(0).m_round.title, "Newer");
}

TEST_F(PageStateStoreTest, ADamagedFileIsReportedOnceAndLeftAsItIs)
{
    ASSERT_TRUE(QDir().mkpath(QString::fromStdString(m_strDir)));
    const std::vector<std::uint8_t> junk{'P', 'A', 'V', 'L', 'S', 'T', 'A', 'T', 1, 0, 0, 0, 9, 9};
    WriteBytes(FilePath(), junk);
    Store(m_restored, true).reset();
    EXPECT_EQ(m_restored.PageCount(), 0);
    ASSERT_EQ(m_reports.size(), 1u);
    EXPECT_NE(m_reports[0].find(FilePath()), std::string::npos) << m_reports[0];
    EXPECT_EQ(FileBytes(FilePath()), junk);
}

TEST_F(PageStateStoreTest, WithoutRestoreTheSavedFileStaysUntilAChange)
{
    Send(m_pages, {R"({"pub_MsgID":305})", "red"});
    Store(m_pages, false)->Save();
    const std::vector<std::uint8_t> saved = FileBytes(FilePath());
    ASSERT_FALSE(saved.empty());

    Store(m_restored, false).reset();
    EXPECT_EQ(m_restored.PageCount(), 0);
    EXPECT_EQ(FileBytes(FilePath()), saved);
}

TEST_F(PageStateStoreTest, NothingSavedYetIsNoFault)
{
    Store(m_restored, true).reset();
    EXPECT_EQ(m_restored.PageCount(), 0);
    EXPECT_TRUE(m_reports.empty());
}

TEST_F(PageStateStoreTest, SavesThatFailAreReportedOnce)
{
    // A file where the directory should be.
    const std::string blocked = m_dir.path().toStdString() + "/blocked";
    WriteBytes(blocked, {1});
    std::mutex mtx;
    std::condition_variable cv;
    std::vector<std::string> reports;
    auto store = std::make_unique<PageStateStore>(blocked + "/pavlune", m_pages, false, [] { return SIZE{}; },
                                                  [&](const std::string& line) {
                                                      std::lock_guard lock(mtx);
                                                      reports.push_back(line);
                                                      cv.notify_one();
                                                  });
    Send(m_pages, {R"({"pub_MsgID":305})", "red"});
    store->Save();
    {
        std::unique_lock lock(mtx);
        ASSERT_TRUE(cv.wait_for(lock, std::chrono::seconds(30), [&] { return !reports.empty(); }));
    }
    // A second failure, after the first was reported: a full disk must not fill the
    // journal with a line for every message.
    Send(m_pages, {R"({"pub_MsgID":305})", "blue"});
    store->Save();
    store.reset();
    ASSERT_EQ(reports.size(), 1u);
    EXPECT_NE(reports[0].find("cannot"), std::string::npos) << reports[0];
}

}  // namespace
