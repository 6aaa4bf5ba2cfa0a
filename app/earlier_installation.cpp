#include "app/earlier_installation.h"

#include <cwctype>
#include <vector>

#include "app/install_record_file.h"
#include "app/installation.h"
#include "app/package_contents.h"
#include "app/uninstall_entry.h"
#include "app/uninstallation.h"
#include "payload/package_texts.h"

namespace pelmora {
namespace {

std::vector<std::wstring> piecesOf(const std::wstring& version) {
    std::vector<std::wstring> pieces(1);
    for (wchar_t c : version) {
        if (c == L'.' || c == L'-' || c == L'_' || c == L' ') {
            pieces.emplace_back();
        } else {
            pieces.back() += c;
        }
    }
    return pieces;
}

bool isNumber(const std::wstring& piece) {
    if (piece.empty()) return false;
    for (wchar_t c : piece)
        if (c < L'0' || c > L'9') return false;
    return true;
}

int comparePieces(std::wstring a, std::wstring b) {
    if (a.empty()) a = L"0";
    if (b.empty()) b = L"0";
    if (isNumber(a) && isNumber(b)) {
        // Without leading zeros, the longer number is the larger.
        a.erase(0, std::min(a.find_first_not_of(L'0'), a.size() - 1));
        b.erase(0, std::min(b.find_first_not_of(L'0'), b.size() - 1));
        if (a.size() != b.size()) return a.size() < b.size() ? -1 : 1;
    }
    return a.compare(b) < 0 ? -1 : a.compare(b) > 0 ? 1 : 0;
}

}  // namespace

int compareVersions(const std::wstring& a, const std::wstring& b) {
    const std::vector<std::wstring> pa = piecesOf(a), pb = piecesOf(b);
    for (std::size_t i = 0; i < pa.size() || i < pb.size(); ++i) {
        const int order = comparePieces(i < pa.size() ? pa[i] : L"", i < pb.size() ? pb[i] : L"");
        if (order != 0) return order;
    }
    return 0;
}

std::wstring earlierInstallationLine(const std::wstring& installed, const std::wstring& offered) {
    const PackageContents& package = ownPackage();
    if (compareVersions(installed, offered) == 0)
        return fillIn(package.windowText("reinstallLine"), L"{old}", installed);
    return fillIn(fillIn(package.windowText("upgradeLine"), L"{old}", installed), L"{new}", offered);
}

EarlierInstallation findEarlierInstallation() {
    EarlierInstallation earlier;
    std::wstring location, version;
    if (!readInstalledProduct(ownProductId(), &location, &version)) return earlier;
    record::InstallRecord record;
    if (readRecordFile(location, &record) != RecordFileState::Ok) return earlier;
    earlier.productFolder = location;
    earlier.installDir = folderOf(location);
    // A drive root keeps its backslash: "D:\", not "D:".
    if (earlier.installDir.size() == 2 && earlier.installDir[1] == L':') earlier.installDir += L'\\';
    earlier.version = record.version.empty() ? version : record.version;
    return earlier;
}

}  // namespace pelmora
