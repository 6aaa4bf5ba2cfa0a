// A pointer above 4 GiB keeps all 64 bits wherever the engine keeps one: in
// the named window properties, in the records found by window handle and in
// the class procedure table. In a 64-bit process the system's procedures and
// the heap lie up there, so a place that kept 32 bits would call, paint with
// or free a different address. A 32-bit process has no such addresses.
#include "skin/controls/core/window_properties.h"

#include <windows.h>
#include <gtest/gtest.h>

#include <cstdint>
#include <functional>

#include "skin/controls/class_procedures.h"
#include "skin/controls/core/control_background.h"
#include "skin/controls/core/control_proc.h"
#include "skin/controls/core/window_records.h"
#include "tests/skin/skin_test_support.h"

namespace pelmora {
namespace {

bool above4GiB(const void* address) {
    return static_cast<std::uint64_t>(reinterpret_cast<std::uintptr_t>(address)) >> 32 != 0;
}

// Address space reserved (never committed) above 4 GiB, only to have real
// addresses up there to store: the system's top-down choice first, then a
// few fixed places in case that one came out low.
class HighReservation {
public:
    static constexpr SIZE_T kSize = 64 * 1024;

    HighReservation() {
        if (sizeof(void*) < 8) return;
        take(nullptr, MEM_TOP_DOWN);
        for (std::uint64_t hint : {0x100000000ull, 0x7F000000000ull, 0x10000000000ull}) {
            if (above4GiB(address_)) break;
            release();
            take(reinterpret_cast<void*>(static_cast<std::uintptr_t>(hint)), 0);
        }
    }
    ~HighReservation() { release(); }
    HighReservation(const HighReservation&) = delete;
    HighReservation& operator=(const HighReservation&) = delete;

    void* address() const { return address_; }
    // The reserved address `offset` bytes in; distinct values for distinct places.
    std::intptr_t value(int offset) const { return reinterpret_cast<std::intptr_t>(address_) + offset; }

private:
    void take(void* at, DWORD topDown) { address_ = ::VirtualAlloc(at, kSize, MEM_RESERVE | topDown, PAGE_NOACCESS); }
    void release() {
        if (address_) ::VirtualFree(address_, 0, MEM_RELEASE);
        address_ = nullptr;
    }

    void* address_ = nullptr;
};

// The low 32 bits of a value, as a place that kept only those would hand it back.
std::intptr_t truncated(std::intptr_t value) {
    return static_cast<std::intptr_t>(static_cast<std::uint32_t>(value));
}

// A host window recorded as a skinned window, with a container in it that
// holds a label: real windows for the places the engine reads from windows.
class HighPointerTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (sizeof(void*) < 8) GTEST_SKIP() << "a 32-bit process has no addresses above 4 GiB";
        ASSERT_TRUE(above4GiB(reserved.address()))
            << "no address above 4 GiB could be reserved; got " << reserved.address();
        host = test::createHostWindow(100, 100, 250, 200);
        box = test::createChild(host, L"Static", 0, 10, 10, 200, 150);
        label = test::createChild(box, L"Static", 0, 5, 5, 80, 20, L"label");
        ASSERT_TRUE(host && box && label);
        hostIndex = test::recordWindow(host);
        SkinnedWindowRecord& record = *windowRecord(hostIndex);
        record.controls<ContainerSkinRecord>().at(record.controls<ContainerSkinRecord>().takeSlot()).window = box;
    }
    void TearDown() override {
        if (host) ::DestroyWindow(host);
    }

    test::SkinState state;  // records and class table back to a fresh process's after the test
    HighReservation reserved;
    HWND host = nullptr, box = nullptr, label = nullptr;
    int hostIndex = 0;
};

// Every property that holds a handle or a procedure, each given its own
// address, all set before any is read back: a name that shared another's
// slot would show too.
TEST_F(HighPointerTest, EveryPointerPropertyReadsBackWhole) {
    struct Row {
        const wchar_t* name;
        const char* holds;
    };
    const Row rows[] = {
        {kPropPreviousProc, "previous window procedure"},
        {kPropLayerPreviousProc, "previous procedure of the control layer"},
        {kPropBackgroundBrush, "pattern brush handed to a control"},
        {kPropBackgroundBitmap, "bitmap behind that brush"},
        {kPropComposedFirstBitmap, "bitmap the composed DC held when made"},
        {kPropComposedBitmap, "bitmap holding the composed image"},
        {kPropProviderAncestor, "nearest background provider"},
        {kPropOfferedBackgroundDc, "DC a provider offers"},
    };
    int offset = 0;
    for (const Row& row : rows) ASSERT_TRUE(setPropValue(label, row.name, reserved.value(offset += 16))) << row.holds;
    offset = 0;
    for (const Row& row : rows) {
        const std::intptr_t stored = reserved.value(offset += 16);
        EXPECT_EQ(propValue(label, row.name), stored) << row.holds;
    }
}

// The engine's own look-ups of a stored pointer: each row stores one value
// where the engine keeps it and reads it back the way the engine finds it.
TEST_F(HighPointerTest, EngineLookUpsGiveTheWholePointerBack) {
    struct Row {
        const char* place;
        std::function<std::intptr_t(std::intptr_t stored)> storeAndFind;
    };
    const Row rows[] = {
        {"window record found by its handle, not by its low 32 bits",
         [](std::intptr_t stored) {
             const auto window = reinterpret_cast<HWND>(stored);
             const int index = test::recordWindow(window);
             if (findWindowRecord(reinterpret_cast<HWND>(truncated(stored))) != 0) return std::intptr_t{0};
             return findWindowRecord(window) == index ? reinterpret_cast<std::intptr_t>(windowRecord(index)->window)
                                                      : std::intptr_t{0};
         }},
        {"control record found by its handle, not by its low 32 bits, with its previous procedure",
         [this](std::intptr_t stored) {
             const auto control = reinterpret_cast<HWND>(stored);
             auto& buttons = windowRecord(hostIndex)->controls<ButtonSkinRecord>();
             const int slot = buttons.takeSlot();
             buttons.at(slot).window = control;
             buttons.at(slot).previousProc = reinterpret_cast<WNDPROC>(stored);
             const auto find = [this](HWND window) { return findControl<ButtonSkinRecord>(hostIndex, window); };
             if (find(reinterpret_cast<HWND>(truncated(stored))) != 0 || find(control) != slot) return std::intptr_t{0};
             const ButtonSkinRecord* found = findControlRecord<ButtonSkinRecord>(hostIndex, slot);
             return found && found->window == control ? reinterpret_cast<std::intptr_t>(found->previousProc)
                                                      : std::intptr_t{0};
         }},
        {"class procedure table",
         [](std::intptr_t stored) {
             setClassProcedure(ControlProcedure::Static, reinterpret_cast<WNDPROC>(stored));
             return reinterpret_cast<std::intptr_t>(classProcedure(ControlProcedure::Static));
         }},
        {"background provider a container names, as a control inside it finds it",
         [this](std::intptr_t stored) {
             setPropValue(box, kPropProviderAncestor, stored);
             return reinterpret_cast<std::intptr_t>(locateControlOwner(label, true).provider);
         }},
    };
    int offset = 0;
    for (const Row& row : rows) {
        const std::intptr_t stored = reserved.value(offset += 64);
        EXPECT_EQ(row.storeAndFind(stored), stored) << row.place;
    }
}

// The paint path reads the properties that lead to a control's record, its
// text colour and its background from kept values. Whatever the engine changes
// is read afresh at the next paint: a value written again, and a window record
// taken out, after which the later windows and their controls are renumbered.
TEST(KeptPropertyTest, WhatTheEngineChangesIsReadAfresh) {
    test::SkinState state;
    const HWND first = test::createHostWindow(100, 100, 200, 150);
    const HWND second = test::createHostWindow(320, 100, 200, 150);
    const HWND button = test::createChild(second, L"Button", 0, 5, 5, 80, 20, L"ok");
    ASSERT_TRUE(first && second && button);
    test::recordWindow(first);
    const int secondIndex = test::recordWindow(second);
    SkinnedWindowRecord* secondRecord = windowRecord(secondIndex);
    auto& buttons = secondRecord->controls<ButtonSkinRecord>();
    const int slot = buttons.takeSlot();
    buttons.at(slot).window = button;
    setPropValue(button, kPropListIndex, slot);
    setPropValue(button, kPropOwnerIndex, secondIndex);
    ASSERT_EQ(locate<ButtonSkinRecord>(button).window, secondRecord);

    for (const std::intptr_t colour : {0x000000FF, 0x0000FF00, 0}) {
        setPropValue(button, kPropTextColour, colour);
        EXPECT_EQ(keptPropValue(button, kPropTextColour), colour);
    }

    const auto removed = removeWindowRecord(1);
    const auto at = locate<ButtonSkinRecord>(button);
    EXPECT_EQ(at.window, secondRecord);
    EXPECT_EQ(at.record, &buttons.at(slot));
    ::DestroyWindow(first);
    ::DestroyWindow(second);
}

}  // namespace
}  // namespace pelmora
