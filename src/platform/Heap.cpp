#include "Heap.h"

#include <QTimer>

#if defined(__GLIBC__)
#include <malloc.h>
#endif

namespace Heap {

void returnFreedSoon()
{
#if defined(__GLIBC__)
    constexpr int EngineLetsGoMs = 2000;
    QTimer::singleShot(EngineLetsGoMs, [] { malloc_trim(0); });
#endif
}

} // namespace Heap
