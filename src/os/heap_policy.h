#pragma once

// Gives the heap's free pages back to the system. The allocator keeps what is freed for
// later; after start-up and after a page has been built and swapped in, that is memory
// the display will not need again soon.
void ReturnFreeHeap();
