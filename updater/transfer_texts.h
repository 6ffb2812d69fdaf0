#pragma once
// What the task row and the log show for the transfer messages. Portable: numbers in,
// GBK texts out.
#include <cstdint>

#include "forms/values/text.h"

namespace updater {

// The log line of a transfer message: the engine's name of the named codes after
// " #传送常量.", "未知消息 " and the code for any other. Each line ends in CR LF.
forms::Text transferLogLine(std::int32_t code);

// The size cell: the total in units of 1000 bytes, rounded to 2 decimals, then "K".
forms::Text sizeCaption(std::int32_t totalBytes);

// The speed cell: bytes per second in units of 1000, always with 2 decimals, then "KB/s".
forms::Text speedCaption(double bytesPerSecond);

// The bar's position: done of total in percent, truncated toward zero and kept within
// 0..100; 0 when total is 0.
std::int32_t progressPosition(std::int32_t done, std::int32_t total);

// Status and log texts of the two ends of a task that do not install.
extern const char kStatusDownloadFailed[];  // "下载失败"
extern const char kStatusInstallFailed[];   // "安装失败"
extern const char kLogNotInstalled[];       // the download did not arrive whole
extern const char kLogUnpackFailed[];       // the package could not be unpacked

}  // namespace updater
