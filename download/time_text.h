#pragma once
// The time text passed to the text callback.
#include <string>

namespace download {

// "Y年M月D日" then "h时m分s秒", dropping trailing zero seconds, then zero minutes; the
// time part is left out at midnight.
std::string formatTimeText(int year, int month, int day, int hour, int minute, int second);

}  // namespace download
