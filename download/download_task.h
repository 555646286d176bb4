// DownloadTask: fetches one URL over HTTP and writes the body to a local file
// in 10240-byte chunks, reporting progress after every chunk. It can continue
// a partly downloaded file by asking the server for the bytes from an offset on.
//
// One task lives for the whole process; a download runs synchronously on the
// calling (UI) thread. The window stays alive only because the progress
// routine processes pending window events.
#pragma once

#include <cstddef>
#include <cstdint>

#include "runtime/text.h"

// The progress routine follows the window-procedure calling convention, so
// the Windows build can hand it to CallWindowProcA. Only 32-bit Windows has a
// separate convention for it.
#if defined(_WIN32) && !defined(_WIN64)
#define INSTALLER_WNDPROC_CC __stdcall
#else
#define INSTALLER_WNDPROC_CC
#endif

// Called once per chunk, right after the chunk was written:
//   totalText     address of the decimal text of the announced total length
//                 ("0" when the server reports none)
//   receivedText  address of the decimal text of the bytes in the file's stream
//                 so far (includes the resume start when continuing)
//   elapsedMs     milliseconds since the first read (never 0: 0 is sent as 10)
//   runText       address of the decimal text of received minus resumeStart
// The values are pointer-sized so a 64-bit build passes the addresses intact.
// The texts belong to the download and change after every chunk. The return
// value is ignored.
using DownloadProgressCallback = intptr_t(INSTALLER_WNDPROC_CC*)(intptr_t totalText,
                                                                 intptr_t receivedText,
                                                                 intptr_t elapsedMs,
                                                                 intptr_t runText);

enum class DownloadResult : int32_t {
  Completed = 0,        // the body ended
  Paused = 1,           // stop() ended the transfer early; the file keeps what came
  NetworkError = -1,    // the Internet session could not be opened
  UrlOpenError = -2,    // the URL could not be opened, or the server refused it
  LocalFileError = -3,  // the local file could not be opened
  ReadError = -4,       // the connection failed mid-body, or the body came short
  LocalWriteError = -5, // writing to the local file failed (disk full, ...)
};

// The message text (GBK) that goes with a result code.
Text downloadResultMessage(DownloadResult result);

// The transfer reads this many bytes at most per chunk.
constexpr size_t kDownloadChunkSize = 10240;

// The table slots, in order: destroy, copy, download, stop. Final, so the
// table holds exactly these four (no virtual destructor needed).
class DownloadTask final {
 public:
  DownloadTask() = default;

  // Does nothing; the exit clean-up calls it just before freeing the object.
  virtual void destroy();
  // A new object with the same running value (caller owns it).
  virtual DownloadTask* copy() const;
  // Fetches url into localPath. A continued download (resume true and
  // resumeStart > 0) asks for the bytes from resumeStart on and appends them
  // at the end of the existing file; otherwise the file starts over. The
  // result's message text replaces message.
  virtual DownloadResult download(const Text& url, const Text& localPath,
                                  DownloadProgressCallback progress, int64_t resumeStart,
                                  bool resume, Text& message);
  // Ends a transfer that is in its read loop before its next read.
  virtual void stop();

  // 1 while a transfer runs (and after it ends normally); only stop() clears it.
  int32_t running = 0;

 private:
  DownloadTask(const DownloadTask&) = default;
  DownloadTask& operator=(const DownloadTask&) = delete;
};

// Asks the server for url's length with a request of its own; 0 when the
// request fails or the server reports no length.
int64_t queryContentLength(const Text& url);

// Test seam: the millisecond uptime counter (32-bit, wraps). Null restores
// the system's counter.
using TickSource = uint32_t (*)();
void setTickSourceForTesting(TickSource source);
