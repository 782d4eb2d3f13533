#include "lang_index.h"

#include <windows.h>

int WindowLangIndex()
{
    // The system's OEM code page is the simplified-Chinese one exactly when Windows is set
    // up for the Chinese mainland (or Singapore).
    return GetOEMCP() == 936 ? 0 : 1;
}
