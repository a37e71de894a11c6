// DownloadFile against a small HTTP server on 127.0.0.1 that the test runs itself.
#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <thread>

#include "support/TestSupport.h"
#include "platform/download.h"
#include "model/uPFce.h"

using testsupport::ReadBytes;
using testsupport::TempDir;
using testsupport::WriteBytes;

namespace {

// Answers one connection at a time with the raw response set for the path.
// A stalling response is sent and then the connection is held open until the
// client gives up.
class HttpServer {
 public:
  struct Response {
    std::string raw;
    bool stall = false;
  };

  HttpServer() {
    // The test's own server is reached directly, whatever proxy the machine has.
    ::setenv("no_proxy", "*", 1);
    ::setenv("NO_PROXY", "*", 1);
    listener_ = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    addr.sin_port = 0;
    if (::bind(listener_, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0 ||
        ::listen(listener_, 8) != 0) {
      throw std::runtime_error("cannot listen on 127.0.0.1");
    }
    socklen_t len = sizeof addr;
    ::getsockname(listener_, reinterpret_cast<sockaddr*>(&addr), &len);
    port_ = ntohs(addr.sin_port);
    thread_ = std::thread([this] { Serve(); });
  }

  ~HttpServer() {
    // Wakes the accept below, which then fails and ends the thread.
    ::shutdown(listener_, SHUT_RDWR);
    thread_.join();
    ::close(listener_);
  }

  void On(const std::string& path, Response response) { routes_[path] = std::move(response); }
  std::string Url(const std::string& path) const {
    return "http://127.0.0.1:" + std::to_string(port_) + path;
  }
  int Requests() const { return requests_; }

  static Response Ok(const std::string& body) {
    return {"HTTP/1.1 200 OK\r\nContent-Length: " + std::to_string(body.size()) +
            "\r\nConnection: close\r\n\r\n" + body};
  }
  static Response Status(const std::string& line, const std::string& headers,
                         const std::string& body) {
    return {"HTTP/1.1 " + line + "\r\n" + headers + "Content-Length: " +
            std::to_string(body.size()) + "\r\nConnection: close\r\n\r\n" + body};
  }

 private:
  void Serve() {
    for (;;) {
      const int client = ::accept4(listener_, nullptr, nullptr, SOCK_CLOEXEC);
      if (client < 0) return;
      Answer(client);
      ::close(client);
    }
  }

  void Answer(int client) {
    std::string request;
    char buf[4096];
    while (request.find("\r\n\r\n") == std::string::npos) {
      const ssize_t n = ::recv(client, buf, sizeof buf, 0);
      if (n <= 0) return;
      request.append(buf, static_cast<size_t>(n));
    }
    ++requests_;
    const size_t start = request.find(' ') + 1;
    const std::string path = request.substr(start, request.find(' ', start) - start);
    const auto route = routes_.find(path);
    const Response response =
        route != routes_.end() ? route->second : Status("404 Not Found", "", "no such page");
    ::send(client, response.raw.data(), response.raw.size(), MSG_NOSIGNAL);
    if (response.stall) {
      while (::recv(client, buf, sizeof buf, 0) > 0) {
      }
    }
    ::shutdown(client, SHUT_WR);
  }

  int listener_ = -1;
  uint16_t port_ = 0;
  std::thread thread_;
  std::map<std::string, Response> routes_;
  std::atomic<int> requests_{0};
};

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

TEST(Download, StalledServerIsGivenUpAfterTheTimeLimit) {
  HttpServer server;
  // Accepts and then says nothing at all.
  server.On("/slow", {"", true});
  TempDir dir;
  platform::DownloadLimits limits;
  limits.connect = 1;
  limits.stalled = 1;
  limits.total = 2;
  EXPECT_FALSE(platform::DownloadUrlToFile(server.Url("/slow"), dir.File("inf.dat"), limits));
  EXPECT_EQ(EntriesIn(dir.Path()), 0u);
}
