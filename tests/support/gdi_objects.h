// How many GDI objects the process holds, for the leak tests.
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

namespace pelmora::test {

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
    // The table's place in a 32-bit process environment block (the project
    // builds 32-bit programs only).
    static_assert(sizeof(void*) == 4, "the table's offset is the 32-bit one");
    constexpr std::size_t kTableOffset = 0x94;
    const auto* peb = reinterpret_cast<const char*>(NtCurrentTeb()->ProcessEnvironmentBlock);
    const auto* table = *reinterpret_cast<const WineGdiHandleEntry* const*>(peb + kTableOffset);
    if (!table) return 0;
    DWORD inUse = 0;
    for (int i = 0; i < 0x10000; ++i)
        if (table[i].type != 0 && table[i].object != 0) ++inUse;
    return inUse;
}

}  // namespace pelmora::test
