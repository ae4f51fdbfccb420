#include "platform/testsupport/LoopbackHttpServer.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

TLoopbackHttpServer::TLoopbackHttpServer(THandler Handler) : FHandler(std::move(Handler))
{
  FListen = socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in a{};
  a.sin_family = AF_INET;
  a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  bind(FListen, reinterpret_cast<sockaddr*>(&a), sizeof a);
  socklen_t len = sizeof a;
  getsockname(FListen, reinterpret_cast<sockaddr*>(&a), &len);
  FPort = ntohs(a.sin_port);
  listen(FListen, 4);
  FThread = std::thread([this] { Run(); });
}

TLoopbackHttpServer::~TLoopbackHttpServer()
{
  FStop = true;
  FThread.join();
  close(FListen);
}

AnsiString TLoopbackHttpServer::HostAndPort() const { return "127.0.0.1:" + std::to_string(FPort); }

AnsiString TLoopbackHttpServer::Url(const char* Path) const { return "http://" + HostAndPort() + Path; }

std::string TLoopbackHttpServer::LastBody() const
{
  std::lock_guard<std::mutex> g(FLock);
  return FLastBody;
}

std::string TLoopbackHttpServer::LastContentType() const
{
  std::lock_guard<std::mutex> g(FLock);
  return FLastContentType;
}

int TLoopbackHttpServer::RequestCount() const
{
  std::lock_guard<std::mutex> g(FLock);
  return FRequests;
}

void TLoopbackHttpServer::Run()
{
  while (!FStop) {
    pollfd p{FListen, POLLIN, 0};
    if (poll(&p, 1, 100) <= 0) continue;
    int fd = accept(FListen, nullptr, nullptr);
    if (fd < 0) continue;
    Serve(fd);
    close(fd);
  }
}

void TLoopbackHttpServer::Serve(int Fd)
{
  std::string req;
  char buf[4096];
  size_t headerEnd = std::string::npos, need = 0;
  for (;;) {
    pollfd p{Fd, POLLIN, 0};
    if (poll(&p, 1, 10000) <= 0) return;
    ssize_t n = recv(Fd, buf, sizeof buf, 0);
    if (n <= 0) return;
    req.append(buf, static_cast<size_t>(n));
    if (headerEnd == std::string::npos && (headerEnd = req.find("\r\n\r\n")) != std::string::npos) {
      size_t cl = req.find("Content-Length: ");
      need = headerEnd + 4 + (cl != std::string::npos && cl < headerEnd ? std::stoul(req.substr(cl + 16)) : 0);
    }
    if (headerEnd != std::string::npos && req.size() >= need) break;
  }
  std::string body = req.substr(headerEnd + 4);
  size_t ct = req.find("Content-Type: ");
  std::string type =
      ct != std::string::npos && ct < headerEnd ? req.substr(ct + 14, req.find("\r\n", ct) - ct - 14) : "";
  std::string path = req.substr(req.find(' ') + 1);
  path = path.substr(0, path.find(' '));
  {
    std::lock_guard<std::mutex> g(FLock);
    FLastBody = body;
    FLastContentType = type;
    ++FRequests;
  }
  TReply r = FHandler(path, body);
  if (r.Drop) return;
  std::string reply = "HTTP/1.1 " + r.Status + "\r\nContent-Type: " + r.ContentType +
                      "\r\nContent-Length: " + std::to_string(r.Body.size()) + "\r\nConnection: close\r\n\r\n" + r.Body;
  send(Fd, reply.data(), reply.size(), MSG_NOSIGNAL);
}
