#include "hugeheap.h"

#include <cstdint>
#include <cstdlib>

#if defined(__GLIBC__)
#include <malloc.h>
#include <sys/mman.h>
#include <unistd.h>
#endif

#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
#define QUILLORA_OWN_ALLOCATOR 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer) || __has_feature(thread_sanitizer) || __has_feature(memory_sanitizer)
#define QUILLORA_OWN_ALLOCATOR 1
#endif
#endif

namespace HugeHeap {

namespace {
// The memory below the first 2 MB boundary, held so that the heap's free space starts there.
void *g_filler = nullptr;
}

void use()
{
#if defined(__GLIBC__) && defined(MADV_HUGEPAGE) && !defined(QUILLORA_OWN_ALLOCATOR)
    constexpr uintptr_t kHuge = uintptr_t(2) << 20;
    // Every block from the one heap, none handed back, and the heap grown 8 MB at a time.
    if (!mallopt(M_MMAP_THRESHOLD, 64 << 20) || !mallopt(M_TRIM_THRESHOLD, 256 << 20) || !mallopt(M_TOP_PAD, 8 << 20))
        return;
    // The heap's free space starts where this small block ends; the filler takes it up to the
    // next boundary (and makes the heap grow by the pad).
    void *probe = std::malloc(16);
    if (!probe)
        return;
    const uintptr_t start = reinterpret_cast<uintptr_t>(probe);
    const uintptr_t boundary = (start + kHuge - 1) & ~(kHuge - 1);
    std::free(probe);
    // A block's header lies before it: the filler ends a little short of the boundary.
    if (boundary - start > 64)
        g_filler = std::malloc(boundary - start - 64);
    const uintptr_t end = reinterpret_cast<uintptr_t>(sbrk(0)) & ~(kHuge - 1);
    if (g_filler && end > boundary)
        madvise(reinterpret_cast<void *>(boundary), end - boundary, MADV_HUGEPAGE);
#endif
}

} // namespace HugeHeap
