// The date and time as the information line shows it.
#pragma once

#include <windows.h>

#include <string>

namespace pelmora {

// The words after each number; an installer in another language has its own.
struct DateTimeUnits {
    std::wstring year = L"年", month = L"月", day = L"日", hour = L"时", minute = L"分", second = L"秒";
};

// "2021年12月30日6时50分21秒"; a zero second drops the seconds ("6时51分"),
// zero seconds and minutes leave the hour ("6时"), midnight leaves the date.
std::wstring dateTimeText(const SYSTEMTIME& t, const DateTimeUnits& units = DateTimeUnits{});

std::wstring currentDateTimeText(const DateTimeUnits& units = DateTimeUnits{});  // local time

}  // namespace pelmora
