#include "single_instance.h"

SingleInstanceLock::~SingleInstanceLock()
{
    if (m_hMutex != nullptr) CloseHandle(m_hMutex);
}

bool SingleInstanceLock::Acquire()
{
    if (m_hMutex == nullptr) {
        m_hMutex = CreateMutexW(nullptr, TRUE, L"SingleClientFlag-Pavlune");
        return GetLastError() != ERROR_ALREADY_EXISTS;
    }
    return true;
}
