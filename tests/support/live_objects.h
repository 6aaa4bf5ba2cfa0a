// What a test can see left alive: the process's GDI and user objects, the
// GDI+ objects owned by wrappers and the global blocks and streams under
// images, in one snapshot that leak tests take before and after.
//
// GetGuiResources answers that on Windows, but under Wine it is a stub that
// always answers 0, which would let every GDI leak through. Wine keeps the
// process's GDI handle table where Windows keeps its own, in the process
// environment block (GdiSharedHandleTable), as 65,536 entries of 24 bytes
// whose type byte is non-zero while the handle is in use; the count is read
// from there whenever the system answers 0.
#pragma once

#include <windows.h>
#include <winternl.h>

#include <cstdint>
#include <ostream>

#include "gfx/gdip_memory_stream.h"
#include "gfx/gdip_object.h"

namespace pelmora::test {

// The process environment block, read from the thread block's segment as
// NtCurrentTeb does. Read here directly: GCC takes mingw's inlined
// segment-relative read in NtCurrentTeb on x86_64 for an access through a
// null pointer and warns.
inline const void* processEnvironmentBlock() {
    const void* peb = nullptr;
#if defined(__x86_64__)
    asm("movq %%gs:0x60, %0" : "=r"(peb));
#elif defined(__i386__)
    asm("movl %%fs:0x30, %0" : "=r"(peb));
#else
    peb = NtCurrentTeb()->ProcessEnvironmentBlock;
#endif
    return peb;
}

inline DWORD gdiObjectCount() {
    const DWORD reported = ::GetGuiResources(::GetCurrentProcess(), GR_GDIOBJECTS);
    if (reported != 0) return reported;
#pragma pack(push, 1)
    struct WineGdiHandleEntry {
        std::uint64_t object;
        std::uint32_t owner;
        std::uint16_t unique;
        std::uint8_t type;
        std::uint8_t flags;
        std::uint64_t userPointer;
    };
#pragma pack(pop)
    static_assert(sizeof(WineGdiHandleEntry) == 24, "Wine's handle entry is 24 bytes");
    // The table's place in the process environment block: the fields before
    // it are pointer-sized, so it moves with the architecture.
    constexpr std::size_t kTableOffset = sizeof(void*) == 8 ? 0xF8 : 0x94;
    const auto* peb = static_cast<const char*>(processEnvironmentBlock());
    const auto* table = *reinterpret_cast<const WineGdiHandleEntry* const*>(peb + kTableOffset);
    if (!table) return 0;
    DWORD inUse = 0;
    for (int i = 0; i < 0x10000; ++i)
        if (table[i].type != 0 && table[i].object != 0) ++inUse;
    return inUse;
}

inline DWORD userObjectCount() {
    return ::GetGuiResources(::GetCurrentProcess(), GR_USEROBJECTS);
}

struct LiveObjects {
    DWORD gdiObjects = gdiObjectCount();
    DWORD userObjects = userObjectCount();
    long gdipObjects = gdipLiveObjects();
    long blocks = GdipMemoryStream::liveBlocks();
    long streams = GdipMemoryStream::liveStreams();

    static LiveObjects now() { return {}; }
    bool operator==(const LiveObjects& o) const {
        return gdiObjects == o.gdiObjects && userObjects == o.userObjects && gdipObjects == o.gdipObjects &&
               blocks == o.blocks && streams == o.streams;
    }
    bool operator!=(const LiveObjects& o) const { return !(*this == o); }
};

inline std::ostream& operator<<(std::ostream& os, const LiveObjects& c) {
    return os << "{GDI " << c.gdiObjects << ", user " << c.userObjects << ", GDI+ " << c.gdipObjects << ", blocks "
              << c.blocks << ", streams " << c.streams << "}";
}

}  // namespace pelmora::test
