#include "heap_policy.h"

#include <malloc.h>

void ReturnFreeHeap()
{
    _heapmin();
}
