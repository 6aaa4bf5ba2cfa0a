#include "services/date_time_text.h"

namespace pelmora {

std::wstring dateTimeText(const SYSTEMTIME& t, const DateTimeUnits& u) {
    std::wstring text =
        std::to_wstring(t.wYear) + u.year + std::to_wstring(t.wMonth) + u.month + std::to_wstring(t.wDay) + u.day;
    const std::wstring h = std::to_wstring(t.wHour), m = std::to_wstring(t.wMinute), s = std::to_wstring(t.wSecond);
    if (t.wSecond != 0) {
        text += h + u.hour + m + u.minute + s + u.second;
    } else if (t.wMinute != 0) {
        text += h + u.hour + m + u.minute;
    } else if (t.wHour != 0) {
        text += h + u.hour;
    }
    return text;
}

std::wstring currentDateTimeText(const DateTimeUnits& units) {
    SYSTEMTIME now;
    ::GetLocalTime(&now);
    return dateTimeText(now, units);
}

}  // namespace pelmora
