#pragma once
// A small HTTP server on 127.0.0.1 that a test starts itself. It answers one
// connection at a time with the raw response set for the path, and 404 for
// any other path. A stalling response is sent and then the connection is held
// open, saying nothing more, until the client gives up.

#include <atomic>
#include <cstdint>
#include <functional>
#include <map>
#include <mutex>
#include <string>
#include <thread>

namespace testsupport {

class HttpServer {
 public:
  struct Response {
    std::string raw;
    bool stall = false;
    // Milliseconds the server waits after the request before it answers.
    int delayMs = 0;
    // Runs on the server's thread when the request has arrived, while the
    // client waits for the answer.
    std::function<void()> onRequest = nullptr;
  };

  HttpServer();
  ~HttpServer();
  HttpServer(const HttpServer&) = delete;
  HttpServer& operator=(const HttpServer&) = delete;

  void On(const std::string& path, Response response);
  std::string Url(const std::string& path) const;
  int Requests() const { return requests_; }

  // 200 with the body.
  static Response Ok(const std::string& body);
  // Any status line ("404 Not Found") with extra header lines, each ending in CR LF.
  static Response Status(const std::string& line, const std::string& headers, const std::string& body);
  // 200 with the body, answered only after this many milliseconds.
  static Response Late(const std::string& body, int delayMs);
  // Accepts the request and never answers.
  static Response Silent() { return {"", true}; }

 private:
  void Serve();
  void Answer(int client);

  int listener_ = -1;
  uint16_t port_ = 0;
  std::thread thread_;
  mutable std::mutex mutex_;
  std::map<std::string, Response> routes_;
  std::atomic<int> requests_{0};
};

}  // namespace testsupport
