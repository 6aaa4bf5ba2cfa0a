// The named window properties through which skinned windows and controls find
// their records. The names are a contract with outside programs (a window that
// offers its background) and with our own tests, so they never change. Values
// are stored as handle-sized integers; nothing here ever removes a property.
#pragma once

#include <windows.h>

#include <cstdint>

namespace pelmora {

// Windows and controls subclassed with one of the engine's own procedures.
constexpr wchar_t kPropPreviousProc[] = L"Hw_hProc";  // previous window procedure
constexpr wchar_t kPropListIndex[] = L"Hw_lbID";      // 1-based index in windowRecords / class list / containers
constexpr wchar_t kPropOwnerIndex[] = L"Hw_FuID";     // 1-based index of the owning window record

// Windows taken over by the control layer, and control colours.
constexpr wchar_t kPropLayerPreviousProc[] = L"Kj_hProc";
constexpr wchar_t kPropLayerIndex[] = L"Kj_lbID";
constexpr wchar_t kPropLayerOwnerIndex[] = L"Kj_FuID";
constexpr wchar_t kPropTextColour[] = L"Kj_Ztys";        // COLORREF the painters write text in
constexpr wchar_t kPropBackgroundBrush[] = L"Kj_dxjb";   // pattern brush last handed out (owned)
constexpr wchar_t kPropBackgroundBitmap[] = L"Kj_wtjb";  // bitmap behind that brush (owned)

// A top-level window's composed image.
constexpr wchar_t kPropComposedFirstBitmap[] = L"Ck_Ycjdx";  // bitmap the composed DC held when created
constexpr wchar_t kPropComposedBitmap[] = L"Ck_wtjbdx";      // bitmap currently holding the composed image

// Background providers: windows outside the engine publish their own painted
// background through "Wxk_Zpf" = 1 and a memory DC in "Wxk_Cj"; a container
// remembers its nearest providing ancestor in "Mb_zpf".
constexpr wchar_t kPropProviderAncestor[] = L"Mb_zpf";
constexpr wchar_t kPropOffersBackground[] = L"Wxk_Zpf";
constexpr wchar_t kPropOfferedBackgroundDc[] = L"Wxk_Cj";

// Every property the engine writes, and every window record that comes or
// goes, makes the values kept by keptPropValue be read again.
void propertiesChanged();

inline std::intptr_t propValue(HWND window, const wchar_t* name) {
    return reinterpret_cast<std::intptr_t>(::GetPropW(window, name));
}
inline bool setPropValue(HWND window, const wchar_t* name, std::intptr_t value) {
    const bool set = ::SetPropW(window, name, reinterpret_cast<HANDLE>(value)) != FALSE;
    propertiesChanged();
    return set;
}
inline int propIndex(HWND window, const wchar_t* name) {
    return static_cast<int>(propValue(window, name));
}

// propValue for the paint path, where each GetPropW is a round trip to the
// window server under Wine (tens of microseconds, more than a whole native
// paint): the value read last, while the engine has written no property
// since. Only the thread that made the first read keeps values; others read
// the property every time.
std::intptr_t keptPropValue(HWND window, const wchar_t* name);
inline int keptPropIndex(HWND window, const wchar_t* name) {
    return static_cast<int>(keptPropValue(window, name));
}

// True when the window publishes its own background for the control painters.
// A provider sets the property when it makes its window, before anything in it
// paints, so the kept value is the one it publishes.
inline bool offersBackground(HWND window) {
    return window && keptPropValue(window, kPropOffersBackground) == 1;
}

}  // namespace pelmora
