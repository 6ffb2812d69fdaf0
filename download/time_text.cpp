#include "download/time_text.h"

#include "download/engine_texts.h"

namespace download {

std::string formatTimeText(int year, int month, int day, int hour, int minute, int second) {
  std::string text = texts::format("%d年%d月%d日", year, month, day);
  if (second != 0) return text + texts::format("%d时%d分%d秒", hour, minute, second);
  if (minute != 0) return text + texts::format("%d时%d分", hour, minute);
  if (hour != 0) return text + texts::format("%d时", hour);
  return text;
}

}  // namespace download
