#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include "platform/rtl/AnsiStrings.h"
#include "platform/rtl/StringList.h"
#include "platform/sys/HttpClient.h"
#include "platform/testsupport/LoopbackHttpServer.h"

namespace {

// Serves a few fixed paths.
class TLoopbackServer : public TLoopbackHttpServer {
public:
  TLoopbackServer() : TLoopbackHttpServer(&Answer) {}

private:
  static TReply Answer(const std::string& path, const std::string&)
  {
    TReply r;
    if (path.rfind("/back.asp", 0) == 0)
      r.Body = "ok";
    else if (path.rfind("/broker?user=", 0) == 0)
      r.Body = System::AnsiToUtf8("db.example\r\n1433\r\nsa\r\n秘密\r\n") + path.substr(13);
    else if (path == "/gb") {
      r.ContentType = "text/plain; charset=GB2312";
      r.Body = "\xBA\xCF\xCD\xAC";  // 合同 in CP936
    } else if (path == "/unlabelled") {
      r.ContentType = "text/plain";
      r.Body = "\xBA\xCF\xCD\xAC";
    } else {
      r.Status = "404 Not Found";
      r.Body = "no such page";
    }
    return r;
  }
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
  EXPECT_EQ(server.LastContentType(), "application/x-www-form-urlencoded; charset=UTF-8");
  EXPECT_EQ(server.LastBody(), "Data=++++++Company%3A+%E6%BE%9C%E5%B2%B3%0D%0A&Note=a%26b%3Dc%2Bd+100%25&Empty=");
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
