#pragma once
#include <functional>
#include <string>

// The address text of the information screen: looked up while it is empty, and kept
// unchanged once a lookup has given something.
class CachedAddressText {
public:
    explicit CachedAddressText(std::function<std::string()> lookup) : m_lookup(std::move(lookup)) {}

    const std::u16string& Get();

private:
    std::function<std::string()> m_lookup;
    std::u16string m_strText;
};
