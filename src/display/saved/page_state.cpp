#include "page_state.h"

#include <array>
#include <cstring>

namespace {

constexpr std::array<std::uint8_t, 8> kMagic{'P', 'A', 'V', 'L', 'S', 'T', 'A', 'T'};
constexpr std::uint8_t kRoundKind = 1;
constexpr std::uint8_t kNoteKind = 2;
// A page's fields are few and small: they go through one buffer, pictures straight on.
constexpr std::size_t kFieldBuffer = 256;

constexpr std::array<std::uint32_t, 256> MakeCrcTable()
{
    std::array<std::uint32_t, 256> table{};
    for (std::uint32_t n = 0; n < 256; ++n) {
        std::uint32_t c = n;
        for (int k = 0; k < 8; ++k) c = (c & 1) != 0 ? 0xEDB88320u ^ (c >> 1) : c >> 1;
        table[n] = c;
    }
    return table;
}

constexpr std::array<std::uint32_t, 256> kCrcTable = MakeCrcTable();

// Everything written passes the checksum on its way out.
class Writer {
public:
    explicit Writer(const StateWrite& write) : m_write(write) {}

    void U8(std::uint8_t v) { m_buffer.push_back(v); }
    void U32(std::uint32_t v)
    {
        for (int i = 0; i < 4; ++i) U8(static_cast<std::uint8_t>(v >> (8 * i)));
    }
    void I32(int v) { U32(static_cast<std::uint32_t>(v)); }
    void I64(std::int64_t v)
    {
        U32(static_cast<std::uint32_t>(static_cast<std::uint64_t>(v)));
        U32(static_cast<std::uint32_t>(static_cast<std::uint64_t>(v) >> 32));
    }
    bool Text(const std::string& text)
    {
        U32(static_cast<std::uint32_t>(text.size()));
        return Bytes({reinterpret_cast<const std::uint8_t*>(text.data()), text.size()});
    }
    bool Bytes(std::span<const std::uint8_t> bytes)
    {
        if (bytes.size() <= kFieldBuffer) {
            m_buffer.insert(m_buffer.end(), bytes.begin(), bytes.end());
            return m_buffer.size() < kFieldBuffer || Flush();
        }
        return Flush() && Pass(bytes);
    }
    bool Flush()
    {
        const bool bOk = m_buffer.empty() || Pass(m_buffer);
        m_buffer.clear();
        return bOk;
    }
    // The checksum of all written before, written after it without joining it.
    bool Finish()
    {
        if (!Flush()) return false;
        const std::uint32_t crc = m_nCrc;
        U32(crc);
        return Flush();
    }

private:
    bool Pass(std::span<const std::uint8_t> bytes)
    {
        m_nCrc = Crc32(bytes, m_nCrc);
        return m_write(bytes);
    }

    const StateWrite& m_write;
    std::vector<std::uint8_t> m_buffer;
    std::uint32_t m_nCrc = 0;
};

// Reads within the bytes it was given; the first read past their end, or of a value out
// of its range, fails this and every later read.
class Reader {
public:
    explicit Reader(std::span<const std::uint8_t> bytes) : m_bytes(bytes) {}

    bool Ok() const { return m_bOk; }
    bool AtEnd() const { return m_nPos == m_bytes.size(); }

    std::span<const std::uint8_t> Take(std::size_t n)
    {
        if (!m_bOk || m_bytes.size() - m_nPos < n) {
            m_bOk = false;
            return {};
        }
        const auto piece = m_bytes.subspan(m_nPos, n);
        m_nPos += n;
        return piece;
    }
    std::uint8_t U8()
    {
        const auto b = Take(1);
        return b.empty() ? 0 : b[0];
    }
    std::uint32_t U32()
    {
        const auto b = Take(4);
        std::uint32_t v = 0;
        for (std::size_t i = 0; i < b.size(); ++i) v |= static_cast<std::uint32_t>(b[i]) << (8 * i);
        return v;
    }
    int I32() { return static_cast<int>(U32()); }
    std::int64_t I64()
    {
        const std::uint64_t low = U32();
        const std::uint64_t high = U32();
        return static_cast<std::int64_t>(low | (high << 32));
    }
    bool Bool()
    {
        const std::uint8_t b = U8();
        if (b > 1) m_bOk = false;
        return b == 1;
    }
    std::string Text()
    {
        const std::uint32_t n = U32();
        if (n > kMaxPageTextBytes) m_bOk = false;
        const auto b = Take(n);
        return std::string(b.begin(), b.end());
    }

private:
    std::span<const std::uint8_t> m_bytes;
    std::size_t m_nPos = 0;
    bool m_bOk = true;
};

void WriteRoundFields(Writer& w, const SavedPage& page)
{
    w.I32(page.round.language);
    w.I64(page.nEndUnixSeconds);
    w.I32(page.round.roundSeconds);
    w.U8(page.round.barAtTop ? 1 : 0);
    w.I32(page.round.clockX);
    w.I32(page.round.clockY);
    w.I32(page.round.clockHeight);
    w.U8(page.round.clockBox ? 1 : 0);
    w.U32(page.round.clrTitle);
    w.U32(page.round.clrClock);
    w.U32(page.round.clrOvertime);
}

void ReadRoundFields(Reader& r, SavedPage& page)
{
    page.round.language = r.I32();
    page.nEndUnixSeconds = r.I64();
    page.round.roundSeconds = r.I32();
    page.round.barAtTop = r.Bool();
    page.round.clockX = r.I32();
    page.round.clockY = r.I32();
    page.round.clockHeight = r.I32();
    page.round.clockBox = r.Bool();
    page.round.clrTitle = r.U32();
    page.round.clrClock = r.U32();
    page.round.clrOvertime = r.U32();
    page.round.title = r.Text();
    page.round.subtitle = r.Text();
    page.round.boards = r.Text();
    page.round.barCaption = r.Text();
}

bool WritePage(Writer& w, const SavedPage& page)
{
    w.U8(page.bRoundPage ? kRoundKind : kNoteKind);
    if (page.bRoundPage) {
        WriteRoundFields(w, page);
        if (!w.Text(page.round.title) || !w.Text(page.round.subtitle) || !w.Text(page.round.boards)
            || !w.Text(page.round.barCaption)) {
            return false;
        }
    }
    const std::size_t n = page.picture ? page.picture->size() : 0;
    w.U32(static_cast<std::uint32_t>(n));
    return n == 0 || w.Bytes(*page.picture);
}

// What the list itself could never hold: more pages than its bounds, a round page beside
// others, an index off the list, more picture bytes than its budget.
std::string ListFault(const SavedPages& saved, std::size_t nPictureBytes)
{
    const std::size_t count = saved.pages.size();
    if (count > static_cast<std::size_t>(ScreenPageList::kMaxNotePages)) return "more pages than the list holds";
    for (const SavedPage& page : saved.pages) {
        if (page.bRoundPage && count > 1) return "a round page beside other pages";
    }
    if (saved.nCurPage < 0 || (count > 0 && static_cast<std::size_t>(saved.nCurPage) >= count)
        || (count == 0 && saved.nCurPage != 0)) {
        return "the page shown is not in the list";
    }
    if (nPictureBytes > static_cast<std::size_t>(ScreenPageList::kPictureBudgetBytes)) {
        return "more picture bytes than the list keeps";
    }
    return {};
}

}  // namespace

std::uint32_t Crc32(std::span<const std::uint8_t> bytes, std::uint32_t crc)
{
    crc = ~crc;
    for (const std::uint8_t b : bytes) crc = kCrcTable[(crc ^ b) & 0xFFu] ^ (crc >> 8);
    return ~crc;
}

bool EncodePageState(const SavedPages& saved, const StateWrite& write)
{
    Writer w(write);
    if (!w.Bytes(kMagic)) return false;
    w.U32(kPageStateVersion);
    w.U32(static_cast<std::uint32_t>(saved.nCurPage));
    w.U32(static_cast<std::uint32_t>(saved.pages.size()));
    for (const SavedPage& page : saved.pages) {
        if (!WritePage(w, page)) return false;
    }
    return w.Finish();
}

std::optional<SavedPages> DecodePageState(std::span<const std::uint8_t> bytes, std::string& strError)
{
    if (bytes.size() > kMaxPageStateBytes) {
        strError = "larger than a saved page list can be";
        return std::nullopt;
    }
    if (bytes.size() < kMagic.size() || std::memcmp(bytes.data(), kMagic.data(), kMagic.size()) != 0) {
        strError = "not a saved page list";
        return std::nullopt;
    }
    Reader header(bytes.subspan(kMagic.size()));
    if (const std::uint32_t version = header.U32(); !header.Ok() || version != kPageStateVersion) {
        strError = header.Ok() ? "format version " + std::to_string(version) + " is not known here" : "cut short";
        return std::nullopt;
    }
    if (bytes.size() < kMagic.size() + 8) {
        strError = "cut short";
        return std::nullopt;
    }
    const auto checked = bytes.first(bytes.size() - 4);
    Reader trailer(bytes.last(4));
    if (Crc32(checked) != trailer.U32()) {
        strError = "damaged or cut short (checksum)";
        return std::nullopt;
    }

    Reader r(checked.subspan(kMagic.size() + 4));
    SavedPages saved;
    saved.nCurPage = r.I32();
    const std::uint32_t count = r.U32();
    if (count > static_cast<std::uint32_t>(ScreenPageList::kMaxNotePages)) {
        strError = "more pages than the list holds";
        return std::nullopt;
    }
    std::size_t nPictureBytes = 0;
    for (std::uint32_t i = 0; i < count && r.Ok(); ++i) {
        SavedPage page;
        const std::uint8_t kind = r.U8();
        if (!r.Ok()) break;
        if (kind != kRoundKind && kind != kNoteKind) {
            strError = "a page of unknown kind";
            return std::nullopt;
        }
        page.bRoundPage = kind == kRoundKind;
        if (page.bRoundPage) ReadRoundFields(r, page);
        const auto picture = r.Take(r.U32());
        if (!picture.empty()) {
            page.picture = std::make_shared<const std::vector<std::uint8_t>>(picture.begin(), picture.end());
            nPictureBytes += picture.size();
        }
        saved.pages.push_back(std::move(page));
    }
    if (!r.Ok() || !r.AtEnd()) {
        strError = "damaged (its parts do not fit together)";
        return std::nullopt;
    }
    if (std::string fault = ListFault(saved, nPictureBytes); !fault.empty()) {
        strError = "damaged (" + fault + ")";
        return std::nullopt;
    }
    return saved;
}
