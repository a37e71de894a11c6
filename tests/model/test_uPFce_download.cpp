// DownloadFile against a small HTTP server on 127.0.0.1 that the test runs itself.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <functional>

#include "support/HttpServer.h"
#include "support/TestSupport.h"
#include "platform/download.h"
#include "model/uPFce.h"

using testsupport::HttpServer;
using testsupport::ReadBytes;
using testsupport::TempDir;
using testsupport::WriteBytes;

namespace {

// Nothing beside the target: no temporary file left by a download.
size_t EntriesIn(const std::string& dir) {
  size_t n = 0;
  for (auto& e : std::filesystem::directory_iterator(dir)) {
    (void)e;
    ++n;
  }
  return n;
}

const std::string kBody("26\r\nOprava tisku\r\n\0\xFF\xE8", 22);

}  // namespace

TEST(Download, FileArrivesWholeAndReplacesTheOldOne) {
  HttpServer server;
  server.On("/download/inf.dat", HttpServer::Ok(kBody));
  TempDir dir;
  const std::string target = dir.File("inf.dat");
  WriteBytes(target, "an older and much longer version file\r\n");
  EXPECT_TRUE(DownloadFile(server.Url("/download/inf.dat"), target));
  EXPECT_EQ(ReadBytes(target), kBody);
  EXPECT_EQ(EntriesIn(dir.Path()), 1u);

  server.On("/empty", HttpServer::Ok(""));
  EXPECT_TRUE(DownloadFile(server.Url("/empty"), target));
  EXPECT_EQ(ReadBytes(target), "");
}

TEST(Download, RedirectsAreFollowed) {
  HttpServer server;
  server.On("/new/inf.dat", HttpServer::Ok(kBody));
  server.On("/inf.dat", HttpServer::Status("301 Moved Permanently", "Location: /moved\r\n", ""));
  server.On("/moved", HttpServer::Status("302 Found", "Location: " + server.Url("/new/inf.dat") + "\r\n", ""));
  TempDir dir;
  EXPECT_TRUE(DownloadFile(server.Url("/inf.dat"), dir.File("inf.dat")));
  EXPECT_EQ(ReadBytes(dir.File("inf.dat")), kBody);
  EXPECT_EQ(server.Requests(), 3);
}

TEST(Download, FailuresLeaveTheTargetAsItWas) {
  HttpServer server;
  server.On("/cut", {"HTTP/1.1 200 OK\r\nContent-Length: 1000\r\nConnection: close\r\n\r\n26\r\nhalf"});
  server.On("/error", HttpServer::Status("500 Internal Server Error", "", "<html>oops</html>"));
  server.On("/loop", HttpServer::Status("302 Found", "Location: /loop\r\n", ""));
  server.On("/nowhere", HttpServer::Status("302 Found", "", ""));
  server.On("/local", HttpServer::Status("302 Found", "Location: file:///etc/hostname\r\n", ""));
  TempDir dir;
  const std::string target = dir.File("inf.dat");
  const std::string fresh = dir.File("fresh.dat");
  WriteBytes(target, "24\r\n");
  for (const char* path : {"/missing", "/cut", "/error", "/loop", "/nowhere", "/local"}) {
    SCOPED_TRACE(path);
    EXPECT_FALSE(DownloadFile(server.Url(path), target));
    EXPECT_EQ(ReadBytes(target), "24\r\n");
    EXPECT_FALSE(DownloadFile(server.Url(path), fresh));
    EXPECT_FALSE(std::filesystem::exists(fresh));
    EXPECT_EQ(EntriesIn(dir.Path()), 1u);
  }
}

TEST(Download, NoServerOrNoUsableAddressIsFalse) {
  // A port that was just free: nothing listens there any more.
  std::string url;
  {
    HttpServer gone;
    url = gone.Url("/inf.dat");
  }
  TempDir dir;
  EXPECT_FALSE(DownloadFile(url, dir.File("inf.dat")));
  EXPECT_FALSE(DownloadFile("", dir.File("inf.dat")));
  EXPECT_FALSE(DownloadFile("not a url at all", dir.File("inf.dat")));
  EXPECT_FALSE(DownloadFile("file:///etc/hostname", dir.File("inf.dat")));
  EXPECT_EQ(EntriesIn(dir.Path()), 0u);
}

TEST(Download, TargetThatCannotBeWrittenFailsBeforeFetching) {
  HttpServer server;
  server.On("/inf.dat", HttpServer::Ok(kBody));
  TempDir dir;
  ::mkdir(dir.File("ro").c_str(), 0555);
  EXPECT_FALSE(DownloadFile(server.Url("/inf.dat"), dir.File("ro/inf.dat")));
  EXPECT_FALSE(DownloadFile(server.Url("/inf.dat"), dir.File("no/such/folder/inf.dat")));
  EXPECT_FALSE(DownloadFile(server.Url("/inf.dat"), dir.Path()));
  EXPECT_EQ(server.Requests(), 0);
}

TEST(Download, AFailureSaysWhyOnStandardError) {
  HttpServer server;
  server.On("/inf.dat", HttpServer::Ok(kBody));
  server.On("/error", HttpServer::Status("500 Internal Server Error", "", "<html>oops</html>"));
  server.On("/big", {"HTTP/1.1 200 OK\r\nConnection: close\r\n\r\n" + std::string(70000, '7')});
  TempDir dir;
  ::mkdir(dir.File("ro").c_str(), 0555);
  const auto why = [](const std::function<bool()>& download) {
    testing::internal::CaptureStderr();
    EXPECT_FALSE(download());
    return testing::internal::GetCapturedStderr();
  };
  const std::string readOnly = why([&] { return DownloadFile(server.Url("/inf.dat"), dir.File("ro/inf.dat")); });
  EXPECT_NE(readOnly.find(dir.File("ro/inf.dat")), std::string::npos) << readOnly;
  const std::string error = why([&] { return DownloadFile(server.Url("/error"), dir.File("inf.dat")); });
  EXPECT_NE(error.find("500"), std::string::npos) << error;
  const std::string big = why([&] { return DownloadFile(server.Url("/big"), dir.File("inf.dat"), kVersionFileLimits); });
  EXPECT_NE(big.find(std::to_string(kVersionFileMaxBytes)), std::string::npos) << big;
  std::string reason = "old";
  EXPECT_TRUE(platform::DownloadUrlToFile(server.Url("/inf.dat"), dir.File("inf.dat"), {}, &reason));
  EXPECT_EQ(reason, "");
}

TEST(Download, StalledServerIsGivenUpAfterTheTimeLimit) {
  HttpServer server;
  // Accepts and then says nothing at all.
  server.On("/slow", HttpServer::Silent());
  TempDir dir;
  platform::DownloadLimits limits;
  limits.connect = 1;
  limits.stalled = 1;
  limits.total = 2;
  EXPECT_FALSE(platform::DownloadUrlToFile(server.Url("/slow"), dir.File("inf.dat"), limits));
  EXPECT_EQ(EntriesIn(dir.Path()), 0u);
}

TEST(Download, ABodyBeyondTheLimitIsRefusedWhetherAnnouncedOrNot) {
  HttpServer server;
  const std::string big(70000, '7');
  server.On("/announced", HttpServer::Ok(big));
  // No length given: the body ends when the server closes the connection.
  server.On("/unannounced", {"HTTP/1.1 200 OK\r\nConnection: close\r\n\r\n" + big});
  server.On("/exact", HttpServer::Ok(std::string(kVersionFileMaxBytes, '1')));
  TempDir dir;
  const std::string target = dir.File("inf.dat");
  WriteBytes(target, "24\r\n");
  for (const char* path : {"/announced", "/unannounced"}) {
    SCOPED_TRACE(path);
    EXPECT_FALSE(DownloadFile(server.Url(path), target, kVersionFileLimits));
    EXPECT_EQ(ReadBytes(target), "24\r\n");
    EXPECT_EQ(EntriesIn(dir.Path()), 1u);
  }
  EXPECT_TRUE(DownloadFile(server.Url("/exact"), target, kVersionFileLimits));
  EXPECT_EQ(ReadBytes(target).size(), kVersionFileMaxBytes);
  // Without a limit the same body arrives whole.
  EXPECT_TRUE(DownloadFile(server.Url("/unannounced"), target));
  EXPECT_EQ(ReadBytes(target), big);
}

TEST(Download, AnHttpsAddressIsNeverFollowedToPlainHttp) {
  EXPECT_STREQ(platform::RedirectProtocols("https://www.zorvik.example/inf.dat"), "https");
  EXPECT_STREQ(platform::RedirectProtocols("HTTPS://www.zorvik.example/inf.dat"), "https");
  EXPECT_STREQ(platform::RedirectProtocols("http://www.zorvik.example/inf.dat"), "http,https");
}
