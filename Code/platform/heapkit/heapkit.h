// Heapkit: the memory manager that the main program, the GUI toolkit, the
// bitmap library and the packed-file reader share. In the Windows build it is
// a DLL of its own, so a block taken in one module may be freed in another.
//
// Interface: memAlloc_rel, memFree_rel, memStrdup_rel, memSize_rel,
// memReAlloc_rel, memTag_rel for diagnostics, and (Windows) memResourceLoad
// and memResourceLock for resources copied onto the heap.
#pragma once

#include <stddef.h>

#if defined(_WIN32) && defined(HEAPKIT_BUILDING_DLL)
#define HEAPKIT_API __declspec(dllexport)
#elif defined(_WIN32) && defined(HEAPKIT_DLL)
#define HEAPKIT_API __declspec(dllimport)
#else
#define HEAPKIT_API
#endif

#ifdef __cplusplus
extern "C" {
#endif

// The tag every heap record of the main program and the toolkit carries.
enum { HEAPKIT_TAG_RW = 66 };

// A block of at least `size` bytes (not cleared), or null when memory is short.
HEAPKIT_API void* memAlloc_rel(size_t size, int tag);
// Releases a block from these calls; null is ignored.
HEAPKIT_API void memFree_rel(void* block);
// A new block holding a copy of the NUL-terminated text, or null.
HEAPKIT_API char* memStrdup_rel(const char* text, int tag);
// The usable size of the block in bytes; 0 for null.
HEAPKIT_API size_t memSize_rel(const void* block);
// A block of the new size holding the old contents, or null (the old block
// then stays valid). A null block allocates.
HEAPKIT_API void* memReAlloc_rel(void* block, size_t size, int tag);
// The tag the block was allocated (or last reallocated) with; -1 for null.
HEAPKIT_API int memTag_rel(const void* block);

#ifdef _WIN32
// Resource kinds of memResourceLoad.
enum { HEAPKIT_RESOURCE_BITMAP = 2 };
// A heap copy of the named resource of a module (kind 2: a bitmap, which
// becomes a packed DIB: header, colours, pixels); null when the module has
// none or memory is short. The handle is freed with memFree_rel.
HEAPKIT_API void* memResourceLoad(void* module, const char* name, int kind);
// The data of a loaded resource; null for a null handle.
HEAPKIT_API void* memResourceLock(void* handle);
#endif

#ifdef __cplusplus
}
#endif
