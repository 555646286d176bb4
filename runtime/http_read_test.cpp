#include "runtime/http_read.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

namespace {

std::string server() {
  const char* s = std::getenv("INSTALLER_TEST_SERVER");
  return s ? s : "127.0.0.1:5001";
}

std::string url(const std::string& pathAndQuery) { return "http://" + server() + pathAndQuery; }

std::string asString(const Bytes& b) { return std::string(b.begin(), b.end()); }

std::string control(const std::string& pathAndQuery) {
  return asString(httpReadWhole(url("/__control/" + pathAndQuery)));
}

// The sample manifest as the server sends it in full.
Bytes wholeManifest() { return httpReadWhole(url("/vrk/azq.txt")); }

class HttpRead : public ::testing::Test {
 protected:
  void SetUp() override {
    control("clear");
    control("log/clear");
  }
  void TearDown() override { control("clear"); }
};

}  // namespace

TEST_F(HttpRead, ReadsTheWholeFileWithTheInstallersAgent) {
  int status = -1;
  const Bytes body = httpReadWhole(url("/vrk/azq.txt"), &status);
  EXPECT_EQ(status, 200);
  EXPECT_NE(asString(body).find(u8"安装器版本号=（"), std::string::npos) << asString(body);
  const std::string log = control("log");
  EXPECT_NE(log.find("GET /vrk/azq.txt range=- ua=Mozilla/4.0 (compatible; MSIE 6.0; Windows NT 5.0) -> 200"),
            std::string::npos)
      << log;
}

TEST_F(HttpRead, ErrorStatusStillGivesTheBodyAndReportsTheStatus) {
  int status = 0;
  const Bytes body = httpReadWhole(url("/vrk/azq.txt?status=404"), &status);
  EXPECT_EQ(status, 404);
  EXPECT_FALSE(body.empty());
  EXPECT_EQ(asString(body).find(u8"安装器版本号=（"), std::string::npos);
}

TEST_F(HttpRead, BodyCutShortIsKeptAsFarAsItWasRead) {
  int status = 0;
  const Bytes body = httpReadWhole(url("/vrk/azq.txt?cut=10"), &status);
  const Bytes whole = wholeManifest();
  ASSERT_GT(whole.size(), 10u);
  EXPECT_EQ(status, 200);
  EXPECT_EQ(body, Bytes(whole.begin(), whole.begin() + 10));
}

TEST_F(HttpRead, BodyWithoutLengthEndsWithTheConnection) {
  const Bytes whole = wholeManifest();
  ASSERT_FALSE(whole.empty());
  EXPECT_EQ(httpReadWhole(url("/vrk/azq.txt?nolength=1")), whole);
}

TEST(HttpReadFailure, NothingListeningGivesEmptyAndStatusZero) {
  const std::string host = server().substr(0, server().find(':'));
  for (const std::string& u : {"http://" + host + ":1/vrk/azq.txt", std::string("not a url"),
                               std::string("ftp://" + host + "/x")}) {
    int status = -1;
    EXPECT_TRUE(httpReadWhole(u, &status).empty()) << u;
    EXPECT_EQ(status, 0) << u;
  }
}
