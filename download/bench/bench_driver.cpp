// Downloads one address with the engine and reports the time it took:
//   engine_bench URL LOCAL_FILE [CONNECTIONS]
// Prints "bytes=N ms=M" on success; the exit code is 0 only when every byte arrived.
#include <windows.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>

#include "download/download.h"

namespace {

HANDLE ended = nullptr;
std::atomic<std::int32_t> total{0};
std::atomic<std::int32_t> endValue{0};
std::atomic<int> failures{0};

std::int32_t onEvent(std::int32_t code, std::int32_t, std::int32_t p2, std::int32_t, std::int32_t) {
  if (code == download::kTransferStart) total = p2;
  if (code == download::kConnectionFailed) ++failures;
  if (code == download::kTransferEnd) {
    endValue = p2;
    SetEvent(ended);
  }
  return download::kGiveUp;
}

void onText(std::int32_t, const char*, const char* text, std::int32_t level, std::int32_t) {
  if (level == download::kTextError) std::fprintf(stderr, "%s\n", text);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: engine_bench URL LOCAL_FILE [CONNECTIONS]\n");
    return 2;
  }
  ended = CreateEventA(nullptr, TRUE, FALSE, nullptr);
  download::TaskParam param;
  param.url = argv[1];
  param.localFile = argv[2];
  param.threadCount = argc > 3 ? std::atoi(argv[3]) : 5;
  param.eventCallback = &onEvent;
  param.textCallback = &onText;
  download::Download download;
  auto start = std::chrono::steady_clock::now();
  if (!download::startDownload(download, param)) {
    std::fprintf(stderr, "refused: %s\n", argv[1]);
    return 2;
  }
  WaitForSingleObject(ended, INFINITE);
  auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() -
                                                                  start)
                .count();
  std::printf("bytes=%ld ms=%lld\n", static_cast<long>(total.load()), static_cast<long long>(ms));
  return failures == 0 && total > 0 && endValue == total ? 0 : 1;
}
