#pragma once
// The download engine: a task fetches one remote file over several connections into a
// local file and reports its progress through two callbacks on its own threads.
//
// Every operation runs on the caller's thread. A Download is a plain 32-bit reference
// that may be copied and kept in any container: the engine never writes through a pointer
// to it, so a task that ends by itself simply makes its reference read as idle.
#include <cstdint>

#include "forms/values/text.h"

namespace download {

// The runtime's text and byte values, in which the engine's interface speaks.
using forms::ByteSet;
using forms::Text;

// The reference of the task that the object runs, 0 when idle.
struct Download {
  std::uint32_t task = 0;
};

// Transfer messages passed to the event callback as its first argument.
enum TransferMessage : std::int32_t {
  kTransferStart = 3,      // p1 taskId, p2 total size, p3 the local path (const char*)
  kTransferEnd = 4,        // p1 taskId, p2 total / received / 0 / -1; always the last
  kConnectionStarted = 5,  // p1 connection
  kRangeBegun = 6,         // p1 connection, p2 position, p3 end of the range
  kRangeTakenOver = 7,     // p1 connection, p2 position, p3 end of the range
  kConnectionEnded = 8,    // p1 connection, p2 position reached
  kConnectionFailed = 9,   // p1 connection, p2 position reached
  kDataReceived = 16,      // p1 connection, p2 bytes in that step
  kUploadProgress = 17,    // p1 connection, p2 bytes sent in that step
  kSameNameFile = 18,      // p1 size of the existing file, p2 total size; answered
};

// Answers to kSameNameFile; any other value gives the download up as well.
enum SameNameAnswer : std::int32_t {
  kRenameAutomatically = 0,
  kGiveUp = 1,
  kKeepPath = 2,  // the callback has moved the old file away
};

// Levels of the progress texts.
enum TextLevel : std::int32_t {
  kTextProgress = 0,
  kTextRequest = 1,
  kTextReplyHeader = 2,
  kTextError = 3,
};

// (code, p1, p2, p3, taskId) -> answer; only the answer to kSameNameFile is read.
using EventCallback = std::int32_t (*)(std::int32_t code, std::int32_t p1, std::int32_t p2,
                                       std::int32_t p3, std::int32_t taskId);
// (connection, time text, message text, level, taskId); the texts live only during the call.
using TextCallback = void (*)(std::int32_t connection, const char* timeText,
                              const char* messageText, std::int32_t level, std::int32_t taskId);

constexpr std::int32_t kModeDownload = 0x1000;
constexpr std::int32_t kModeUpload = 0x2000;  // FTP only

// The anonymous FTP password of a new record.
inline constexpr char kAnonymousPassword[] = "guest@example.org";

// The twenty members of a task's parameters, in their order, with the defaults of a new
// record. The engine copies the record when the task starts.
struct TaskParam {
  std::int32_t mode = 1;
  Text url;        // http://, ftp://, mms://, mmst://, rtsp://
  Text localFile;  // a path ending in "\" names a folder
  Text ftpUser = "anonymous";
  Text ftpPassword = kAnonymousPassword;
  std::int32_t threadCount = 1;
  std::int32_t speedLimit = 0;          // bytes per second for the whole task; 0 = none
  std::int32_t connectTimeout = 20000;  // ms
  std::int32_t sendTimeout = 20000;     // ms
  std::int32_t receiveTimeout = 20000;  // ms, for each receive
  std::int32_t stopWait = 1000;         // ms
  std::int32_t receiveBlock = 20480;    // capped at 20480
  std::int32_t sendBlock = 1024;        // upload only
  TextCallback textCallback = nullptr;
  EventCallback eventCallback = nullptr;
  Text ftpRemoteName;
  std::int32_t ftpTransferType = 1;
  Text asciiExtensions = ".exe|.rar|.zip|.gif|.jpg|.mp3|.rm";
  Text proxy;    // host or host:port; empty = direct
  Text referer;  // empty = url cut before its last "/"
};

// Codes of readStateValue.
enum StateValue : std::int32_t {
  kStateTotalSize = 1,
  kStateReceived = 2,
  kStateRangeCount = 3,
  kStateRangeStart = 4,
  kStateRangeLength = 5,
  kStateRangeReceived = 6,
};

// False, with nothing started, if the object already runs a task or the url has no
// known scheme or no host followed by "/".
bool startDownload(Download& download, const TaskParam& param);

// False if idle. Otherwise stops the task (waiting up to stopWait for its connections),
// replaces `state` with a resumeState snapshot and leaves the object idle at once;
// kTransferEnd follows later on the task thread.
bool stopDownload(Download& download, ByteSet& state, std::int32_t unused);

// The same stop without a snapshot; an idle object is left alone.
void releaseDownload(Download& download);

// Bytes received by the task since the previous call (then 0); 0 when idle.
std::int32_t takeReceivedBytes(const Download& download);

// False if idle; otherwise replaces `state` with a fresh snapshot.
bool getDownloadState(const Download& download, ByteSet& state);

// The running task's taskId, -1 when idle.
std::int32_t getDownloadTaskId(const Download& download);

// For the end of the process: waits until the threads of every task, stopped or not, have
// ended (their last message delivered), at most `ms`, serving the messages sent to the
// calling thread's windows meanwhile, so that a callback which waits for that thread is
// still answered. True when no task thread is left.
bool waitForTasksToEnd(std::int32_t ms);

// A value of a snapshot (see StateValue; `range` is 1-based, used by codes 4-6);
// -1 for an empty or unreadable state, an unknown code or a range out of bounds.
std::int32_t readStateValue(const Download& download, const ByteSet& state, std::int32_t code,
                            std::int32_t range);

}  // namespace download
