#include "updater/transfer_texts.h"

#include <algorithm>

#include "forms/values/number_format.h"
#include "forms/values/to_text.h"

namespace updater {
namespace {

struct NamedMessage {
  std::int32_t code;
  const char* name;
};

// The engine's names of the messages that the log spells out.
const NamedMessage kNamedMessages[] = {
    {3, "下载上传开始"}, {4, "下载上传结束"}, {6, "下载数据范围"}, {7, "下载线程继续下载"},
    {8, "线程正常结束"}, {9, "线程异常结束"}, {16, "收到数据"},    {18, "存在同名文件"},
};

}  // namespace

const char kStatusDownloadFailed[] = "下载失败";
const char kStatusInstallFailed[] = "安装失败";
const char kLogNotInstalled[] = "下载未完成，更新没有安装\r\n";
const char kLogUnpackFailed[] = "更新包解压失败，更新没有安装\r\n";

forms::Text transferLogLine(std::int32_t code) {
  for (const NamedMessage& m : kNamedMessages)
    if (m.code == code) return forms::Text(" #传送常量.") + m.name + "\r\n";
  return "未知消息 " + forms::toText(code) + "\r\n";
}

forms::Text sizeCaption(std::int32_t totalBytes) {
  return forms::toText(forms::roundNumber(totalBytes / 1000.0, 2)) + "K";
}

forms::Text speedCaption(double bytesPerSecond) {
  return forms::formatNumber(bytesPerSecond / 1000.0, 2, false) + "KB/s";
}

std::int32_t progressPosition(std::int32_t done, std::int32_t total) {
  if (total == 0) return 0;
  const double percent = done * 100.0 / total;
  return static_cast<std::int32_t>(std::clamp(percent, 0.0, 100.0));
}

}  // namespace updater
