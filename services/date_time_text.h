// The date and time as the information line shows it.
#pragma once

#include <windows.h>

#include <string>

namespace pelmora {

// "2021年12月30日6时50分21秒"; a zero second drops the seconds ("6时51分"),
// zero seconds and minutes leave the hour ("6时"), midnight leaves the date.
std::wstring dateTimeText(const SYSTEMTIME& t);

std::wstring currentDateTimeText();  // local time

}  // namespace pelmora
