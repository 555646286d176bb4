#include "download/download_task.h"

#include <vector>

#include "download/download_platform.h"
#include "download/http_transport.h"
#include "runtime/codepage.h"

namespace {

TickSource g_tickSource = nullptr;

uint32_t nowTick() { return g_tickSource ? g_tickSource() : systemTickCount(); }

// A fresh agent text per call: the uptime read as a signed 32-bit number.
Text agentText() { return "Agent" + decimalText(int32_t(nowTick())); }

// The range asks for everything from resumeStart on; no space after the
// colon and no end offset.
Text rangeHeader(int64_t resumeStart) {
  return "\r\nRange:bytes=" + decimalText(resumeStart) + "-";
}

// Only a success status carries the file. 206 is a success only when we asked
// for a range; without one it cannot be the whole file.
bool carriesBody(int status, bool rangeAsked) {
  if (status == 206) return rangeAsked;
  return status >= 200 && status <= 299;
}

// The 32-bit wrap-around difference; a chunk read in the start millisecond
// reports 10 so that no caller divides by 0.
uint32_t elapsedSince(uint32_t startTick) {
  uint32_t elapsed = nowTick() - startTick;
  return elapsed == 0 ? 10 : elapsed;
}

struct Transfer {
  const Text& url;
  const Text& localPath;
  DownloadProgressCallback progress;
  int64_t resumeStart;
  bool resume;
  int32_t& running;

  DownloadResult run();
  DownloadResult readLoop(HttpRequest& request, const HttpResponse& response, LocalFile& file,
                          int64_t received);
};

DownloadResult Transfer::run() {
  // Handles are declared in opening order, so they close in reverse: the
  // file, then the request, then the session, on every path out.
  HttpSessionHandle session = openHttpSession(agentText());
  if (!session) return DownloadResult::NetworkError;

  const bool continued = resume && resumeStart > 0;
  const Text header = continued ? rangeHeader(resumeStart) : Text();
  HttpResponse response;
  HttpRequestHandle request = openHttpUrl(*session, url, header, response);
  if (!request) return DownloadResult::UrlOpenError;
  // An error page is not the file: refuse it before the local file is
  // touched, so an existing file keeps its contents.
  if (!carriesBody(response.status, continued)) return DownloadResult::UrlOpenError;

  // A server that ignores the range sends the whole file from byte 0:
  // appending it would corrupt the file, so it starts over instead.
  const bool append = continued && response.status == 206;
  LocalFile file;
  if (!file.open(localPath, append ? LocalFile::Mode::Append : LocalFile::Mode::StartOver))
    return DownloadResult::LocalFileError;
  return readLoop(*request, response, file, append ? resumeStart : 0);
}

DownloadResult Transfer::readLoop(HttpRequest& request, const HttpResponse& response,
                                  LocalFile& file, int64_t received) {
  const int64_t total = queryContentLength(url);
  char totalText[24], receivedText[24], runText[24];
  formatDecimal(total, totalText);
  std::vector<uint8_t> buffer(kDownloadChunkSize, 0);
  int64_t bodyBytes = 0;

  const uint32_t startTick = nowTick();
  running = 1;
  while (running != 0) {
    size_t count = 0;
    if (!readHttpBody(request, buffer.data(), buffer.size(), count))
      return DownloadResult::ReadError;
    if (count == 0) {
      // The connection closed before the announced length: a cut transfer,
      // not a complete file.
      if (response.contentLength >= 0 && bodyBytes < response.contentLength)
        return DownloadResult::ReadError;
      break;
    }
    if (!file.write(buffer.data(), count)) return DownloadResult::LocalWriteError;
    bodyBytes += int64_t(count);
    received += int64_t(count);

    const uint32_t elapsed = elapsedSince(startTick);
    formatDecimal(received, receivedText);
    formatDecimal(received - resumeStart, runText);
    if (progress)
      callProgressRoutine(progress, intptr_t(totalText), intptr_t(receivedText),
                          intptr_t(elapsed), intptr_t(runText));
  }
  return running != 0 ? DownloadResult::Completed : DownloadResult::Paused;
}

}  // namespace

Text downloadResultMessage(DownloadResult result) {
  switch (result) {
    case DownloadResult::Completed: return gbk("下载成功");
    case DownloadResult::Paused: return gbk("下载已暂停");
    case DownloadResult::NetworkError: return gbk("网络连接错误");
    case DownloadResult::UrlOpenError: return gbk("不能打开该URL");
    case DownloadResult::LocalFileError: return gbk("不能打开本地文件");
    case DownloadResult::ReadError: return gbk("读文件出错");
    case DownloadResult::LocalWriteError: return gbk("写入本地文件出错");
  }
  return Text();
}

void DownloadTask::destroy() {}

DownloadTask* DownloadTask::copy() const { return new DownloadTask(*this); }

DownloadResult DownloadTask::download(const Text& url, const Text& localPath,
                                      DownloadProgressCallback progress, int64_t resumeStart,
                                      bool resume, Text& message) {
  Transfer transfer{url, localPath, progress, resumeStart, resume, running};
  const DownloadResult result = transfer.run();
  message = downloadResultMessage(result);
  return result;
}

void DownloadTask::stop() { running = 0; }

void setTickSourceForTesting(TickSource source) { g_tickSource = source; }
