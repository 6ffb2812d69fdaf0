#pragma once
// A calendar date with a time of day, as the runtime's date values carry them.

namespace forms {

struct DateTime {
  int year = 0;
  int month = 0;  // 1..12
  int day = 0;    // 1..31
  int hour = 0;
  int minute = 0;
  int second = 0;
};

}  // namespace forms
