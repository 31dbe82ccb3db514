#pragma once

#include <QtGlobal>
#include <functional>

// Work that may take seconds, such as reading a large answer, done on a thread of its own while this thread waits
// in a local event loop that takes no user input: the windows keep painting and take no clicks or keys meanwhile.
// Work on fewer bytes than it is worth starting a thread for is done at once.
namespace OffThread {
void runWhilePainting(qint64 bytes, const std::function<void()>& work);
}
