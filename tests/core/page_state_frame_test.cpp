// The window keeps its page list saved: every message that changes the list is saved,
// nothing else is, the window's own teardown is no change, and a window opened on the
// same directory starts with the list the last one had.
#include <QTemporaryDir>

#include "display/saved/page_state_file.h"
#include "frame_fixture.h"

namespace {

struct RestartCase {
    const char* name;
    std::vector<int> messages;
    bool bRestore;       // the second window brings the saved list back
    const char* shown;   // what its list holds then: 'R' per round page, 'N' per note
};

class WindowRestart : public FrameTest, public ::testing::WithParamInterface<RestartCase> {
protected:
    void SetUp() override { ASSERT_TRUE(m_dir.isValid()); }

    void Open(bool bRestore)
    {
        m_pFrame = std::make_unique<CMainFrame>(0);
        m_pFrame->SetPageStateDirectory(m_strDir, bRestore);
        ASSERT_TRUE(m_pFrame->Create());
        m_pFrame->ShowWithClientSize(1920, 1080);
        m_nPort = m_pFrame->ListeningPort();
        ASSERT_NE(m_nPort, 0);
    }
    std::unique_ptr<CommMsg_base> Message(int nMsgID)
    {
        return nMsgID == MSGID_ROUND_PAGE ? RoundPageMsg() : nMsgID == MSGID_NOTE_PAGE ? NotePageMsg(false)
                                                                                        : MakeMsg(nMsgID);
    }

    QTemporaryDir m_dir;
    const std::string m_strDir = m_dir.path().toStdString() + "/pavlune";
};

TEST_P(WindowRestart, StartsWithTheListTheLastWindowHad)
{
    Open(true);
    for (int nMsgID : GetParam().messages) Deliver(*Message(nMsgID));
    const std::string kinds = PageKinds();
    // Ending the window writes what is still waiting; its teardown empties the list.
    m_pFrame.reset();

    Open(GetParam().bRestore);
    // The restore runs on the store's thread: ending the window waits for it.
    Deliver(*MakeMsg(MSGID_SCREEN_SIZE));
    std::string shown;
    for (int i = 0; i < 200 && (shown = PageKinds()) != GetParam().shown; ++i) ProcessEventsFor(50);
    EXPECT_EQ(shown, GetParam().shown) << "the first window held " << kinds;
    m_pFrame.reset();

    // Neither a restore, a size request nor a window without restore changed the file.
    const ReadState read = ReadPageStateFile(m_strDir + "/" + kPageStateFileName);
    ASSERT_TRUE(read.saved) << read.strError;
    EXPECT_EQ(read.saved->pages.size(), kinds.size());
}

INSTANTIATE_TEST_SUITE_P(
    Lists, WindowRestart,
    ::testing::Values(RestartCase{"RoundPage", {MSGID_ROUND_PAGE}, true, "R"},
                      RestartCase{"NotesAfterARoundPage", {MSGID_ROUND_PAGE, MSGID_NOTE_PAGE, MSGID_NOTE_PAGE}, true,
                                  "NN"},
                      RestartCase{"ClearedList", {MSGID_NOTE_PAGE, MSGID_CLEAR}, true, ""},
                      RestartCase{"OthersChangeNothing", {MSGID_ROUND_PAGE, MSGID_SCREEN_SIZE, 400}, true, "R"},
                      RestartCase{"WithoutRestore", {MSGID_ROUND_PAGE}, false, ""}),
    [](const ::testing::TestParamInfo<RestartCase>& info) { return std::string(info.param.name); });

}  // namespace
