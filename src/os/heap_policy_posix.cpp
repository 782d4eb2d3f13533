#include "heap_policy.h"

#include <malloc.h>

void ReturnFreeHeap()
{
    malloc_trim(0);
}
