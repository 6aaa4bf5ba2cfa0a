#include "skin/controls/core/window_records.h"

#include "skin/controls/core/window_properties.h"

namespace pelmora {
namespace {

void renumber(SkinnedWindowRecord& record, int index) {
    if (record.window) setPropValue(record.window, kPropListIndex, index);
    forEachControlList(record, [index](auto& list, const wchar_t* ownerProperty) {
        for (auto& control : list)
            if (control.window) setPropValue(control.window, ownerProperty, index);
    });
}

}  // namespace

int windowRecordCount() {
    return static_cast<int>(windowRecords().size());
}

SkinnedWindowRecord* windowRecord(int index) {
    auto& records = windowRecords();
    if (index < 1 || index > static_cast<int>(records.size())) return nullptr;
    return records[static_cast<size_t>(index - 1)].get();
}

int appendWindowRecord(std::unique_ptr<SkinnedWindowRecord> record) {
    windowRecords().push_back(std::move(record));
    propertiesChanged();
    return windowRecordCount();
}

std::unique_ptr<SkinnedWindowRecord> removeWindowRecord(int index) {
    auto& records = windowRecords();
    if (index < 1 || index > static_cast<int>(records.size())) return nullptr;
    auto removed = std::move(records[static_cast<size_t>(index - 1)]);
    records.erase(records.begin() + (index - 1));
    propertiesChanged();
    for (int k = 1; k <= static_cast<int>(records.size()); ++k) renumber(*records[static_cast<size_t>(k - 1)], k);
    return removed;
}

void releaseSkinnedWindow(HWND window) {
    // Dropping the returned record frees its composed image and snapshots, and
    // the brushes and bitmaps its controls were answered with.
    removeWindowRecord(findWindowRecord(window));
}

int findWindowRecord(HWND window) {
    const auto& records = windowRecords();
    for (size_t i = 0; i < records.size(); ++i)
        if (records[i]->window == window) return static_cast<int>(i) + 1;
    return 0;
}

int findOwnerWindowRecord(HWND control) {
    for (HWND w = control ? ::GetParent(control) : nullptr; w; w = ::GetParent(w))
        if (const int index = findWindowRecord(w)) return index;
    return 0;
}

}  // namespace pelmora
