#pragma once
#include <objbase.h>

// COM joined for the scope on the calling thread. A thread that has joined already, in
// either kind of apartment, stays as it was.
class ScopedComApartment {
public:
    ScopedComApartment() : m_hr(CoInitializeEx(nullptr, COINIT_MULTITHREADED)) {}
    ~ScopedComApartment()
    {
        if (SUCCEEDED(m_hr)) CoUninitialize();
    }
    ScopedComApartment(const ScopedComApartment&) = delete;
    ScopedComApartment& operator=(const ScopedComApartment&) = delete;

    // False only when COM cannot be used on this thread at all.
    bool Usable() const { return SUCCEEDED(m_hr) || m_hr == RPC_E_CHANGED_MODE; }

private:
    HRESULT m_hr;
};
