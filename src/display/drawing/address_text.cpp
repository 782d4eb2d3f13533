#include "address_text.h"

#include "text/wide_text.h"

const std::u16string& CachedAddressText::Get()
{
    if (m_strText.empty() && m_lookup) m_strText = Utf8ToWide(m_lookup());
    return m_strText;
}
