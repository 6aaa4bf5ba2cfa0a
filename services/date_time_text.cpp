#include "services/date_time_text.h"

namespace pelmora {

std::wstring dateTimeText(const SYSTEMTIME& t) {
    std::wstring text = std::to_wstring(t.wYear) + L"年" + std::to_wstring(t.wMonth) + L"月" +
                        std::to_wstring(t.wDay) + L"日";
    const std::wstring h = std::to_wstring(t.wHour), m = std::to_wstring(t.wMinute), s = std::to_wstring(t.wSecond);
    if (t.wSecond != 0) {
        text += h + L"时" + m + L"分" + s + L"秒";
    } else if (t.wMinute != 0) {
        text += h + L"时" + m + L"分";
    } else if (t.wHour != 0) {
        text += h + L"时";
    }
    return text;
}

std::wstring currentDateTimeText() {
    SYSTEMTIME now;
    ::GetLocalTime(&now);
    return dateTimeText(now);
}

}  // namespace pelmora
