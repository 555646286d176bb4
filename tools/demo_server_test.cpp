// Talks to the fixture demo server over raw sockets, so that every byte on
// the wire (a missing length, a cut body, a reset) is visible.
#include <arpa/inet.h>
#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <fstream>
#include <map>
#include <netinet/in.h>
#include <string>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/time.h>
#include <thread>
#include <unistd.h>
#include <vector>

#include <gtest/gtest.h>

namespace {

using Clock = std::chrono::steady_clock;

struct Reply {
  bool connected = false;
  int status = 0;
  std::map<std::string, std::string> headers;  // names in lower case
  std::string body;
  bool reset = false;  // the connection ended with ECONNRESET rather than a clean close
  Clock::duration headersToBody{};  // from the end of the headers to the first body byte

  bool has(const std::string& name) const { return headers.count(name) != 0; }
  std::string header(const std::string& name) const {
    auto found = headers.find(name);
    return found == headers.end() ? std::string() : found->second;
  }
};

std::string serverHost() {
  const char* server = getenv("INSTALLER_TEST_SERVER");
  std::string text = server ? server : "127.0.0.1:5001";
  return text.substr(0, text.rfind(':'));
}

int serverPort() {
  const char* server = getenv("INSTALLER_TEST_SERVER");
  std::string text = server ? server : "127.0.0.1:5001";
  return atoi(text.substr(text.rfind(':') + 1).c_str());
}

std::string siteDir() {
  const char* site = getenv("INSTALLER_TEST_SITE");
  return site ? site : "site";
}

std::string lower(std::string text) {
  for (char& c : text) c = static_cast<char>(tolower(static_cast<unsigned char>(c)));
  return text;
}

void parseHead(const std::string& head, Reply& reply) {
  size_t lineEnd = head.find("\r\n");
  std::string statusLine = head.substr(0, lineEnd);
  size_t space = statusLine.find(' ');
  if (space != std::string::npos) reply.status = atoi(statusLine.c_str() + space + 1);
  size_t start = lineEnd + 2;
  while (start < head.size()) {
    size_t end = head.find("\r\n", start);
    if (end == std::string::npos) end = head.size();
    std::string line = head.substr(start, end - start);
    size_t colon = line.find(':');
    if (colon != std::string::npos) {
      size_t value = line.find_first_not_of(' ', colon + 1);
      reply.headers[lower(line.substr(0, colon))] =
          value == std::string::npos ? std::string() : line.substr(value);
    }
    start = end + 2;
  }
}

// Sends one request exactly as written and reads until the server ends the
// connection.
Reply exchange(const std::string& request) {
  Reply reply;
  int sock = socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in address = {};
  address.sin_family = AF_INET;
  address.sin_port = htons(static_cast<uint16_t>(serverPort()));
  inet_pton(AF_INET, serverHost().c_str(), &address.sin_addr);
  timeval timeout = {20, 0};
  setsockopt(sock, SOL_SOCKET, SO_RCVTIMEO, &timeout, sizeof timeout);
  if (connect(sock, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) {
    close(sock);
    return reply;
  }
  reply.connected = true;
  send(sock, request.data(), request.size(), MSG_NOSIGNAL);
  std::string received;
  size_t headEnd = std::string::npos;
  Clock::time_point headTime, firstBodyTime;
  char buffer[65536];
  for (;;) {
    ssize_t count = recv(sock, buffer, sizeof buffer, 0);
    if (count < 0 && errno == EINTR) continue;
    if (count < 0) {
      reply.reset = errno == ECONNRESET;
      break;
    }
    if (count == 0) break;
    received.append(buffer, static_cast<size_t>(count));
    if (headEnd == std::string::npos) {
      headEnd = received.find("\r\n\r\n");
      if (headEnd != std::string::npos) headTime = Clock::now();
    }
    if (headEnd != std::string::npos && received.size() > headEnd + 4 &&
        firstBodyTime == Clock::time_point()) {
      firstBodyTime = Clock::now();
    }
  }
  close(sock);
  if (headEnd == std::string::npos) return reply;
  parseHead(received.substr(0, headEnd), reply);
  reply.body = received.substr(headEnd + 4);
  if (firstBodyTime != Clock::time_point()) reply.headersToBody = firstBodyTime - headTime;
  return reply;
}

Reply get(const std::string& target, const std::string& extraHeaders = std::string(),
          const std::string& method = "GET") {
  return exchange(method + " " + target + " HTTP/1.1\r\nHost: " + serverHost() +
                  "\r\nConnection: close\r\n" + extraHeaders + "\r\n");
}

std::string percentEncode(const std::string& text) {
  static const char kHex[] = "0123456789ABCDEF";
  std::string out;
  for (unsigned char c : text) {
    if (isalnum(c) || c == '-' || c == '_' || c == '.' || c == '/') {
      out.push_back(static_cast<char>(c));
    } else {
      out += '%';
      out += kHex[c >> 4];
      out += kHex[c & 15];
    }
  }
  return out;
}

void control(const std::string& target) {
  Reply reply = get(target);
  ASSERT_EQ(reply.status, 200) << target << ": " << reply.body;
}

void setRule(const std::string& path, const std::string& switches) {
  control("/__control/rule?path=" + percentEncode(path) + "&spec=" + percentEncode(switches));
}

void writeFile(const std::string& path, const std::string& data) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << data;
}

// 1000 bytes whose every position is recognisable.
std::string sampleBytes(size_t size) {
  std::string data(size, '\0');
  for (size_t i = 0; i < size; ++i) data[i] = static_cast<char>((i * 7 + i / 251) & 0xFF);
  return data;
}

const char kSample[] = "/tools-test/data.bin";
const char kSecret[] = "tools-test secret: must never be served";

class DemoServerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    mkdir((siteDir() + "/tools-test").c_str(), 0755);
    writeFile(siteDir() + kSample, sampleBytes(1000));
    control("/__control/clear");
    control("/__control/log/clear");
  }
  void TearDown() override { control("/__control/clear"); }
};

TEST_F(DemoServerTest, ServesFileWithItsLength) {
  Reply reply = get(kSample);
  EXPECT_EQ(reply.status, 200);
  EXPECT_EQ(reply.header("content-length"), "1000");
  EXPECT_EQ(reply.body, sampleBytes(1000));
  EXPECT_FALSE(reply.reset);

  Reply head = get(kSample, "", "HEAD");
  EXPECT_EQ(head.status, 200);
  EXPECT_EQ(head.header("content-length"), "1000");
  EXPECT_EQ(head.body, "");
}

TEST_F(DemoServerTest, ServesSiteFilesAndPercentDecodedNames) {
  std::string name = "/tools-test/中文 名.txt";
  writeFile(siteDir() + name, "chinese name");
  EXPECT_EQ(get(percentEncode(name)).body, "chinese name");

  Reply manifest = get("/vrk/azq.txt");
  EXPECT_EQ(manifest.status, 200);
  EXPECT_NE(manifest.body.find("安装器版本号=（V11）"), std::string::npos);

  EXPECT_EQ(get("/tools-test/no-such-file.bin").status, 404);
  EXPECT_EQ(get("/tools-test/").status, 404);
}

TEST_F(DemoServerTest, AnswersRanges) {
  struct Case {
    const char* header;
    int status;
    const char* contentRange;
    size_t first, size;
  } const cases[] = {
      {"Range: bytes=100-", 206, "bytes 100-999/1000", 100, 900},
      {"Range:bytes=100-", 206, "bytes 100-999/1000", 100, 900},  // as WinInet callers write it
      {"Range: bytes=999-", 206, "bytes 999-999/1000", 999, 1},
      {"Range: bytes=0-9", 206, "bytes 0-9/1000", 0, 10},
      {"Range: bytes=990-5000", 206, "bytes 990-999/1000", 990, 10},
      {"Range: bytes=1000-", 416, "bytes */1000", 0, 0},
      {"Range: bytes=5000-", 416, "bytes */1000", 0, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.header);
    Reply reply = get(kSample, std::string(c.header) + "\r\n");
    EXPECT_EQ(reply.status, c.status);
    EXPECT_EQ(reply.header("content-range"), c.contentRange);
    EXPECT_EQ(reply.header("content-length"), std::to_string(reply.body.size()));
    if (c.status == 206) {
      EXPECT_EQ(reply.body, sampleBytes(1000).substr(c.first, c.size));
    }
  }
}

TEST_F(DemoServerTest, StreamsLargeFileFromAnyOffset) {
  // Larger than the server's read chunk, so offsets cross chunk boundaries.
  std::string big = sampleBytes(3 * 1024 * 1024 + 17);
  writeFile(siteDir() + "/tools-test/big.bin", big);
  // Compared as booleans: a failure should not print megabytes.
  Reply whole = get("/tools-test/big.bin");
  EXPECT_EQ(whole.body.size(), big.size());
  EXPECT_TRUE(whole.body == big);
  Reply tail = get("/tools-test/big.bin", "Range: bytes=300001-\r\n");
  EXPECT_EQ(tail.status, 206);
  EXPECT_EQ(tail.body.size(), big.size() - 300001);
  EXPECT_TRUE(tail.body == big.substr(300001));
  unlink((siteDir() + "/tools-test/big.bin").c_str());
}

// Each switch works alike from the query string and from a control rule.
struct SwitchCase {
  const char* name;
  const char* switches;
  const char* extraHeaders;
  void (*check)(const Reply&);
};

const SwitchCase kSwitchCases[] = {
    {"status404", "status=404", "",
     [](const Reply& r) {
       EXPECT_EQ(r.status, 404);
       EXPECT_NE(r.body.find("<html>"), std::string::npos);
       EXPECT_EQ(r.header("content-length"), std::to_string(r.body.size()));
     }},
    {"status500", "status=500", "", [](const Reply& r) { EXPECT_EQ(r.status, 500); }},
    {"cut", "cut=100", "",
     [](const Reply& r) {
       EXPECT_EQ(r.status, 200);
       EXPECT_EQ(r.header("content-length"), "1000");  // announced in full...
       EXPECT_EQ(r.body, sampleBytes(1000).substr(0, 100));  // ...but closed early
       EXPECT_FALSE(r.reset);
     }},
    {"reset", "reset=100", "",
     [](const Reply& r) {
       EXPECT_EQ(r.header("content-length"), "1000");
       EXPECT_EQ(r.body, sampleBytes(1000).substr(0, 100));
       EXPECT_TRUE(r.reset);
     }},
    {"resetBeforeBody", "reset=0", "",
     [](const Reply& r) {
       EXPECT_EQ(r.status, 200);
       EXPECT_EQ(r.body, "");
       EXPECT_TRUE(r.reset);
     }},
    {"stall", "stall=400", "",
     [](const Reply& r) {
       EXPECT_EQ(r.body, sampleBytes(1000));
       EXPECT_GE(r.headersToBody, std::chrono::milliseconds(350));
     }},
    {"nolength", "nolength=1", "",
     [](const Reply& r) {
       EXPECT_EQ(r.status, 200);
       EXPECT_FALSE(r.has("content-length"));
       EXPECT_FALSE(r.has("transfer-encoding"));
       EXPECT_EQ(r.body, sampleBytes(1000));
       EXPECT_FALSE(r.reset);
     }},
    {"nolengthCut", "nolength=1,cut=10", "",
     [](const Reply& r) {
       EXPECT_FALSE(r.has("content-length"));
       EXPECT_EQ(r.body, sampleBytes(1000).substr(0, 10));
     }},
    {"norange", "norange=1", "Range:bytes=500-\r\n",
     [](const Reply& r) {
       EXPECT_EQ(r.status, 200);
       EXPECT_FALSE(r.has("content-range"));
       EXPECT_EQ(r.body, sampleBytes(1000));
     }},
    {"body", "body=hello%20world", "",
     [](const Reply& r) {
       EXPECT_EQ(r.status, 200);
       EXPECT_EQ(r.body, "hello world");
       EXPECT_EQ(r.header("content-length"), "11");
     }},
    {"bodyWithRange", "body=0123456789", "Range: bytes=4-\r\n",
     [](const Reply& r) {
       EXPECT_EQ(r.status, 206);
       EXPECT_EQ(r.body, "456789");
     }},
};

void PrintTo(const SwitchCase& c, std::ostream* out) { *out << c.switches; }

class SwitchTest : public DemoServerTest, public ::testing::WithParamInterface<SwitchCase> {};

std::string switchesAsQuery(std::string list) {
  for (char& c : list) {
    if (c == ',') c = '&';
  }
  return list;
}

TEST_P(SwitchTest, ThroughQueryString) {
  const SwitchCase& c = GetParam();
  GetParam().check(get(std::string(kSample) + "?" + switchesAsQuery(c.switches), c.extraHeaders));
}

TEST_P(SwitchTest, ThroughControlRule) {
  const SwitchCase& c = GetParam();
  setRule(kSample, c.switches);
  GetParam().check(get(kSample, c.extraHeaders));
  // The rule holds for its exact path only.
  EXPECT_EQ(get("/tools-test/data.bin.other").status, 404);
  control("/__control/clear");
  EXPECT_EQ(get(kSample).body, sampleBytes(1000));
}

INSTANTIATE_TEST_SUITE_P(Switches, SwitchTest, ::testing::ValuesIn(kSwitchCases),
                         [](const ::testing::TestParamInfo<SwitchCase>& info) {
                           return std::string(info.param.name);
                         });

TEST_F(DemoServerTest, RuleBodyCarriesAManifestText) {
  // The text holds '=', ',' and full-width parentheses; tests encode it into
  // the rule's list once more, and the server decodes both layers.
  std::string manifest = "安装器版本号=（V12）,更新提示=（请更新，谢谢）\r\n";
  setRule("/vrk/azq.txt", "body=" + percentEncode(manifest));
  EXPECT_EQ(get("/vrk/azq.txt").body, manifest);
  // Encoded only once, commas and all, it arrives the same.
  setRule("/vrk/azq.txt", "body=" + manifest);
  EXPECT_EQ(get("/vrk/azq.txt").body, manifest);
  // A rule can also stand for a file that does not exist.
  setRule("/vrk/virtual.txt", "body=abc");
  EXPECT_EQ(get("/vrk/virtual.txt").body, "abc");
}

TEST_F(DemoServerTest, QueryWinsOverRule) {
  setRule(kSample, "status=500");
  EXPECT_EQ(get(std::string(kSample) + "?status=503").status, 503);
}

TEST_F(DemoServerTest, RejectsBadSwitches) {
  EXPECT_EQ(get(std::string(kSample) + "?cut=abc").status, 400);
  EXPECT_EQ(get(std::string(kSample) + "?status=99").status, 400);
  EXPECT_EQ(get(std::string(kSample) + "?nolength=yes").status, 400);
  // Parameters that are not switches are ignored.
  EXPECT_EQ(get(std::string(kSample) + "?v=3").body, sampleBytes(1000));

  EXPECT_EQ(get("/__control/rule?path=/x&spec=" + percentEncode("bogus=1")).status, 400);
  EXPECT_EQ(get("/__control/rule?path=/x&spec=" + percentEncode("status=")).status, 400);
  EXPECT_EQ(get("/__control/rule?path=x&spec=status%3D404").status, 400);
}

TEST_F(DemoServerTest, LogsEachRequestButNotControlOnes) {
  get(std::string(kSample) + "?cut=5", "Range:bytes=3-\r\nUser-Agent: Agent123\r\n");
  get("/tools-test/missing.bin", "", "HEAD");
  setRule("/x", "status=404");
  Reply log = get("/__control/log");
  EXPECT_EQ(log.body,
            "GET /tools-test/data.bin?cut=5 range=bytes=3- ua=Agent123 -> 206\n"
            "HEAD /tools-test/missing.bin range=- ua=- -> 404\n");

  // The file given with --log holds the same lines.
  std::ifstream file(std::string(getenv("INSTALLER_BINARY_DIR") ? getenv("INSTALLER_BINARY_DIR") : ".") +
                     "/test-server/requests.log");
  std::string all((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
  EXPECT_NE(all.find("HEAD /tools-test/missing.bin range=- ua=- -> 404\n"), std::string::npos);

  control("/__control/log/clear");
  EXPECT_EQ(get("/__control/log").body, "");
}

TEST_F(DemoServerTest, NeverServesOutsideItsFolder) {
  // A file beside the served folder, and a link inside it that leads there.
  std::string outside = siteDir() + "/../tools-test-secret.txt";
  writeFile(outside, kSecret);
  std::string link = siteDir() + "/tools-test/link-out.txt";
  unlink(link.c_str());
  ASSERT_EQ(symlink("../../tools-test-secret.txt", link.c_str()), 0);
  const char* const targets[] = {
      "/../tools-test-secret.txt",
      "/tools-test/../../tools-test-secret.txt",
      "/%2e%2e/tools-test-secret.txt",
      "/%2E%2E/tools-test-secret.txt",
      "/tools-test/..%2f..%2ftools-test-secret.txt",
      "/tools-test/%2e%2e%2f%2e%2e%2ftools-test-secret.txt",
      "/tools-test/link-out.txt",
      "/tools-test/data.bin%00.txt",
  };
  for (const char* target : targets) {
    SCOPED_TRACE(target);
    Reply reply = get(target);
    EXPECT_TRUE(reply.status == 403 || reply.status == 404 || reply.status == 400) << reply.status;
    EXPECT_EQ(reply.body.find(kSecret), std::string::npos);
  }
  unlink(link.c_str());
  unlink(outside.c_str());
}

TEST_F(DemoServerTest, StalledRequestsDoNotHoldUpOthers) {
  setRule(kSample, "stall=1500");
  std::vector<std::thread> stalled;
  std::vector<Reply> replies(8);
  std::vector<Clock::time_point> finished(replies.size());
  for (size_t i = 0; i < replies.size(); ++i) {
    stalled.emplace_back([&replies, &finished, i] {
      replies[i] = get(kSample);
      finished[i] = Clock::now();
    });
  }
  // While they all wait, a plain request still gets its answer.
  std::this_thread::sleep_for(std::chrono::milliseconds(200));
  Reply quick = get("/vrk/azq.txt");
  Clock::time_point quickFinished = Clock::now();
  for (std::thread& t : stalled) t.join();
  EXPECT_EQ(quick.status, 200);
  for (size_t i = 0; i < replies.size(); ++i) {
    EXPECT_EQ(replies[i].body, sampleBytes(1000));
    EXPECT_LT(quickFinished, finished[i]);
  }
}

}  // namespace
