#include "page_state_store.h"

#include "display/saved/page_state_file.h"
#include "display/saved/page_state_list.h"
#include "display/pages/screen_pages.h"

PageStateStore::PageStateStore(std::string strDir, ScreenPageList& pages, bool bRestore,
                               std::function<SIZE()> fitTo, Report report)
    : m_strDir(std::move(strDir)), m_pages(pages), m_fitTo(std::move(fitTo)), m_report(std::move(report))
{
    const std::uint64_t nGeneration = m_pages.Generation();
    m_thread = std::thread([this, bRestore, nGeneration] { Run(bRestore, nGeneration); });
}

PageStateStore::~PageStateStore()
{
    {
        std::lock_guard lock(m_mtx);
        m_bStop = true;
    }
    m_cv.notify_one();
    m_thread.join();
}

std::string PageStateStore::FilePath() const
{
    return m_strDir + "/" + kPageStateFileName;
}

void PageStateStore::Save()
{
    SavedPages saved;
    {
        std::lock_guard lock(m_pages.Mutex());
        saved = SavedPagesOf(m_pages);
    }
    {
        std::lock_guard lock(m_mtx);
        m_pending = std::move(saved);
    }
    m_cv.notify_one();
}

void PageStateStore::Restore(std::uint64_t nGenerationAtStart)
{
    ReadState read = ReadPageStateFile(FilePath());
    if (!read.saved) {
        if (!read.bMissing) m_report("the saved pages in " + FilePath() + " are ignored: " + read.strError);
        return;
    }
    auto pages = PagesFromSaved(*read.saved, m_fitTo ? m_fitTo() : SIZE{});
    std::lock_guard lock(m_pages.Mutex());
    if (m_pages.Generation() != nGenerationAtStart) return;
    m_bRestored = !pages.empty();
    m_pages.RestorePages(std::move(pages), read.saved->nCurPage);
}

void PageStateStore::Run(bool bRestore, std::uint64_t nGenerationAtStart)
{
    if (bRestore) Restore(nGenerationAtStart);
    bool bReported = false;
    for (;;) {
        SavedPages saved;
        {
            std::unique_lock lock(m_mtx);
            m_cv.wait(lock, [this] { return m_bStop || m_pending.has_value(); });
            if (!m_pending) return;
            saved = std::move(*m_pending);
            m_pending.reset();
        }
        std::string strError;
        if (WritePageStateFile(m_strDir, saved, strError)) {
            bReported = false;
        } else if (!bReported) {
            m_report("the pages cannot be saved: " + strError);
            bReported = true;
        }
    }
}
