#pragma once
// The progress and error texts of the engine (GBK once compiled), and their formatting.
#include <cstdio>
#include <string>

namespace download::texts {

inline constexpr char kResolving[] = "正在解析域名 [%s]";
inline constexpr char kResolveFailed[] = "解析域名 [%s]出错";
inline constexpr char kConnecting[] = "正在连接 [%s:%d]";
inline constexpr char kConnectedFirst[] = "连接 [%s:%d]成功";
inline constexpr char kConnectedRange[] = "连接[%s:%d]成功";
inline constexpr char kConnectTimedOut[] = "连接 [%s:%d]超时";
inline constexpr char kConnectFailed[] = "连接 [%s:%d]失败";
inline constexpr char kSendFailed[] = "发送请求失败";
inline constexpr char kHeaderTooLong[] = "HTTP返回头部信息过长";
inline constexpr char kNoSize[] = "无法获得文件大小";
inline constexpr char kRedirecting[] = "重定向到 [%s]";
inline constexpr char kNoLocation[] = "获得重定向信息错误";
inline constexpr char kBadLocation[] = "COOKIE过长或获得重定向信息错误或不支持的协议";
inline constexpr char kError[] = "出现错误";
inline constexpr char kUnsupportedStatus[] = "暂时不支持的返回, 返回号[%d]";
inline constexpr char kRetryWait[] = "等待%d秒后重试";
inline constexpr char kRenamedAutomatically[] = "发现同名文件, 系统自动更名为%s";
inline constexpr char kTooManyRenames[] = "发现同名文件，超过系统自动更名次数";
inline constexpr char kUserGaveUp[] = "发现同名文件, 用户选择放弃下载";
inline constexpr char kUserRenamed[] = "发现同名文件, 用户更名为%s";
inline constexpr char kFileError[] = "创建文件错误，超出最大支持下载长度或磁盘是可写或磁盘没有空间";

// printf-style formatting into a text; the arguments are the engine's own values.
template <typename... Args>
std::string format(const char* pattern, Args... args) {
  int size = std::snprintf(nullptr, 0, pattern, args...);
  if (size <= 0) return std::string();
  std::string out(static_cast<std::size_t>(size) + 1, '\0');
  std::snprintf(&out[0], out.size(), pattern, args...);
  out.resize(static_cast<std::size_t>(size));
  return out;
}

}  // namespace download::texts
