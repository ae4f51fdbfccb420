// A one-thread HTTP server on 127.0.0.1 for tests: each request is answered by the handler the
// test gives (status, content type, body, or no reply at all); the last request's body and
// content type are kept. It stops when it goes (waiting at most 10 s for a slow request).
#pragma once

#include <functional>
#include <mutex>
#include <string>
#include <thread>

#include "platform/rtl/System.h"

class TLoopbackHttpServer {
public:
  struct TReply {
    std::string Body;
    std::string Status = "200 OK";
    std::string ContentType = "text/plain; charset=utf-8";
    bool Drop = false;  // close the connection without any reply
  };
  using THandler = std::function<TReply(const std::string& Path, const std::string& Body)>;

  explicit TLoopbackHttpServer(THandler Handler);
  ~TLoopbackHttpServer();
  TLoopbackHttpServer(const TLoopbackHttpServer&) = delete;
  TLoopbackHttpServer& operator=(const TLoopbackHttpServer&) = delete;

  // "http://127.0.0.1:<port>" + Path.
  AnsiString Url(const char* Path) const;
  // "127.0.0.1:<port>".
  AnsiString HostAndPort() const;
  std::string LastBody() const;
  std::string LastContentType() const;
  int RequestCount() const;

private:
  void Run();
  void Serve(int Fd);

  THandler FHandler;
  int FListen = -1;
  int FPort = 0;
  volatile bool FStop = false;
  mutable std::mutex FLock;
  std::string FLastBody, FLastContentType;
  int FRequests = 0;
  std::thread FThread;
};
