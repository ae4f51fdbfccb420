#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <thread>

#include "platform/rtl/AnsiStrings.h"
#include "platform/rtl/StringList.h"
#include "platform/sys/HttpClient.h"

namespace {

// A one-thread HTTP server on 127.0.0.1 serving a few fixed paths; it records the last request
// body and stops when the test ends (it waits for connections at most 10 s each).
class TLoopbackServer {
public:
  TLoopbackServer()
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
  ~TLoopbackServer()
  {
    FStop = true;
    FThread.join();
    close(FListen);
  }
  AnsiString Url(const char* path) const { return "http://127.0.0.1:" + std::to_string(FPort) + path; }
  std::string LastBody, LastContentType;

private:
  void Run()
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
  void Serve(int fd)
  {
    std::string req;
    char buf[4096];
    size_t headerEnd = std::string::npos, need = 0;
    for (;;) {
      pollfd p{fd, POLLIN, 0};
      if (poll(&p, 1, 10000) <= 0) return;
      ssize_t n = recv(fd, buf, sizeof buf, 0);
      if (n <= 0) return;
      req.append(buf, static_cast<size_t>(n));
      if (headerEnd == std::string::npos && (headerEnd = req.find("\r\n\r\n")) != std::string::npos) {
        size_t cl = req.find("Content-Length: ");
        need = headerEnd + 4 + (cl != std::string::npos && cl < headerEnd ? std::stoul(req.substr(cl + 16)) : 0);
      }
      if (headerEnd != std::string::npos && req.size() >= need) break;
    }
    LastBody = req.substr(headerEnd + 4);
    size_t ct = req.find("Content-Type: ");
    LastContentType =
        ct != std::string::npos && ct < headerEnd ? req.substr(ct + 14, req.find("\r\n", ct) - ct - 14) : "";
    std::string path = req.substr(req.find(' ') + 1);
    path = path.substr(0, path.find(' '));
    std::string status = "200 OK", type = "text/plain; charset=utf-8", body;
    if (path.rfind("/back.asp", 0) == 0)
      body = "ok";
    else if (path.rfind("/broker?user=", 0) == 0)
      body = System::AnsiToUtf8("db.example\r\n1433\r\nsa\r\n秘密\r\n") + path.substr(13);
    else if (path == "/gb") {
      type = "text/plain; charset=GB2312";
      body = "\xBA\xCF\xCD\xAC";
    }  // 合同 in CP936
    else if (path == "/unlabelled") {
      type = "text/plain";
      body = "\xBA\xCF\xCD\xAC";
    } else {
      status = "404 Not Found";
      body = "no such page";
    }
    std::string reply = "HTTP/1.1 " + status + "\r\nContent-Type: " + type +
                        "\r\nContent-Length: " + std::to_string(body.size()) + "\r\nConnection: close\r\n\r\n" + body;
    send(fd, reply.data(), reply.size(), MSG_NOSIGNAL);
  }
  int FListen = -1;
  int FPort = 0;
  volatile bool FStop = false;
  std::thread FThread;
};

TEST(HttpClientTest, GetAnswersTheReplyBodyAsText)
{
  TLoopbackServer server;
  THttpClient http;
  // The reply is UTF-8 on the wire and CP936 here; a GB reply is taken as it stands.
  EXPECT_EQ(http.Get(server.Url("/broker?user=zor")), "db.example\r\n1433\r\nsa\r\n秘密\r\nzor");
  EXPECT_EQ(http.GetResponseCode(), 200);
  EXPECT_EQ(http.Get(server.Url("/gb")), "合同");
  EXPECT_EQ(http.Get(server.Url("/unlabelled")), "合同");
}

TEST(HttpClientTest, PostSendsTheFieldsAsAUtf8Form)
{
  TLoopbackServer server;
  THttpClient http;
  TStringList fields;
  fields.Add("Data=      Company: 澜岳\r\n");
  fields.Add("Note=a&b=c+d 100%");
  fields.Add("Empty");
  EXPECT_EQ(http.Post(server.Url("/back.asp"), &fields), "ok");
  EXPECT_EQ(server.LastContentType, "application/x-www-form-urlencoded; charset=UTF-8");
  EXPECT_EQ(server.LastBody, "Data=++++++Company%3A+%E6%BE%9C%E5%B2%B3%0D%0A&Note=a%26b%3Dc%2Bd+100%25&Empty=");
}

TEST(HttpClientTest, ErrorStatusRaisesWithTheStatus)
{
  TLoopbackServer server;
  THttpClient http;
  try {
    http.Get(server.Url("/missing"));
    FAIL() << "no exception";
  } catch (const EHttpError& e) {
    EXPECT_EQ(e.StatusCode(), 404);
    EXPECT_EQ(e.Message(), "HTTP/1.1 404 Not Found");
  }
  EXPECT_EQ(http.GetResponseCode(), 404);
}

TEST(HttpClientTest, RefusedConnectionRaisesWithTheLibraryMessage)
{
  // A port that was just free and has no listener.
  int s = socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in a{};
  a.sin_family = AF_INET;
  a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  bind(s, reinterpret_cast<sockaddr*>(&a), sizeof a);
  socklen_t len = sizeof a;
  getsockname(s, reinterpret_cast<sockaddr*>(&a), &len);
  close(s);
  THttpClient http;
  try {
    http.Get("http://127.0.0.1:" + std::to_string(ntohs(a.sin_port)) + "/");
    FAIL() << "no exception";
  } catch (const EHttpError& e) {
    EXPECT_EQ(e.StatusCode(), 0);
    EXPECT_NE(e.Message().find("onnect"), AnsiString::npos) << e.Message();
  }
  EXPECT_THROW(http.Get("ftp://127.0.0.1/"), EHttpError);
}

}  // namespace
