#include "support/HttpServer.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <stdexcept>

namespace testsupport {

HttpServer::HttpServer() {
  // The test's own server is reached directly, whatever proxy the machine has.
  ::setenv("no_proxy", "*", 1);
  ::setenv("NO_PROXY", "*", 1);
  listener_ = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  sockaddr_in addr{};
  addr.sin_family = AF_INET;
  addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  addr.sin_port = 0;
  if (::bind(listener_, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0 || ::listen(listener_, 8) != 0) {
    throw std::runtime_error("cannot listen on 127.0.0.1");
  }
  socklen_t len = sizeof addr;
  ::getsockname(listener_, reinterpret_cast<sockaddr*>(&addr), &len);
  port_ = ntohs(addr.sin_port);
  thread_ = std::thread([this] { Serve(); });
}

HttpServer::~HttpServer() {
  // Wakes the accept below, which then fails and ends the thread.
  ::shutdown(listener_, SHUT_RDWR);
  thread_.join();
  ::close(listener_);
}

void HttpServer::On(const std::string& path, Response response) {
  const std::lock_guard<std::mutex> lock(mutex_);
  routes_[path] = std::move(response);
}

std::string HttpServer::Url(const std::string& path) const {
  return "http://127.0.0.1:" + std::to_string(port_) + path;
}

HttpServer::Response HttpServer::Ok(const std::string& body) {
  return {"HTTP/1.1 200 OK\r\nContent-Length: " + std::to_string(body.size()) + "\r\nConnection: close\r\n\r\n" + body};
}

HttpServer::Response HttpServer::Late(const std::string& body, int delayMs) {
  Response response = Ok(body);
  response.delayMs = delayMs;
  return response;
}

HttpServer::Response HttpServer::Status(const std::string& line, const std::string& headers, const std::string& body) {
  return {"HTTP/1.1 " + line + "\r\n" + headers + "Content-Length: " + std::to_string(body.size()) +
          "\r\nConnection: close\r\n\r\n" + body};
}

void HttpServer::Serve() {
  for (;;) {
    const int client = ::accept4(listener_, nullptr, nullptr, SOCK_CLOEXEC);
    if (client < 0) return;
    Answer(client);
    ::close(client);
  }
}

void HttpServer::Answer(int client) {
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
  Response response;
  {
    const std::lock_guard<std::mutex> lock(mutex_);
    const auto route = routes_.find(path);
    response = route != routes_.end() ? route->second : Status("404 Not Found", "", "no such page");
  }
  if (response.onRequest) response.onRequest();
  if (response.delayMs > 0) std::this_thread::sleep_for(std::chrono::milliseconds(response.delayMs));
  // A client that gives up early must not end the test with a broken pipe.
  size_t sent = 0;
  while (sent < response.raw.size()) {
    const ssize_t n = ::send(client, response.raw.data() + sent, response.raw.size() - sent, MSG_NOSIGNAL);
    if (n <= 0) break;
    sent += static_cast<size_t>(n);
  }
  if (response.stall) {
    while (::recv(client, buf, sizeof buf, 0) > 0) {
    }
  }
  ::shutdown(client, SHUT_WR);
}

}  // namespace testsupport
