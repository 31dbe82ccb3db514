#pragma once

// The process's heap. The C library keeps memory that was freed for later use; after a large part of the program has
// gone (a whole web view), handing it back to the system is what lets the memory really leave.
namespace Heap {

// Hands the freed memory back a moment from now, once the web engine has let go of what it held on its own threads.
void returnFreedSoon();

} // namespace Heap
