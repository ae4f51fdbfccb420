#include "platform/sys/HttpClient.h"

#include <curl/curl.h>

#include <cctype>
#include <memory>
#include <mutex>

#include "platform/rtl/AnsiStrings.h"
#include "platform/rtl/StringList.h"
#include "platform/rtl/StringUtils.h"

namespace {

void GlobalInit()
{
  static std::once_flag once;
  std::call_once(once, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
}

size_t Collect(char* data, size_t size, size_t count, void* user)
{
  static_cast<std::string*>(user)->append(data, size * count);
  return size * count;
}

bool IsUtf8(const std::string& s)
{
  size_t i = 0;
  while (i < s.size()) {
    unsigned char c = static_cast<unsigned char>(s[i]);
    size_t n = c < 0x80 ? 0 : (c >> 5) == 6 ? 1 : (c >> 4) == 14 ? 2 : (c >> 3) == 30 ? 3 : 99;
    if (n == 99 || i + n >= s.size()) return false;
    for (size_t k = 1; k <= n; ++k)
      if ((static_cast<unsigned char>(s[i + k]) >> 6) != 2) return false;
    i += n + 1;
  }
  return true;
}

// Whether the reply's bytes are CP936 already: a GB charset, or no charset and bytes that
// are not UTF-8 (the older servers send GB text unlabelled).
bool IsGbText(const char* contentType, const std::string& body)
{
  std::string ct = contentType ? SysUtils::LowerCase(contentType) : std::string();
  size_t p = ct.find("charset=");
  if (p == std::string::npos) return !IsUtf8(body);
  std::string cs = ct.substr(p + 8);
  if (!cs.empty() && cs[0] == '"') cs.erase(0, 1);
  return cs.rfind("gb", 0) == 0 || cs.rfind("cp936", 0) == 0;
}

std::string Escape(const std::string& s)
{
  static const char hex[] = "0123456789ABCDEF";
  std::string out;
  for (unsigned char c : s) {
    if (std::isalnum(c) || c == '-' || c == '_' || c == '.' || c == '*')
      out += static_cast<char>(c);
    else if (c == ' ')
      out += '+';
    else {
      out += '%';
      out += hex[c >> 4];
      out += hex[c & 15];
    }
  }
  return out;
}

const char* ReasonPhrase(long code)
{
  switch (code) {
    case 400: return "Bad Request";
    case 401: return "Unauthorized";
    case 403: return "Forbidden";
    case 404: return "Not Found";
    case 405: return "Method Not Allowed";
    case 408: return "Request Timeout";
    case 500: return "Internal Server Error";
    case 501: return "Not Implemented";
    case 502: return "Bad Gateway";
    case 503: return "Service Unavailable";
    case 504: return "Gateway Timeout";
    default: return "Error";
  }
}

}  // namespace

std::string THttpClient::EncodeForm(const TStrings* Fields)
{
  std::string body;
  if (!Fields) return body;
  for (Integer i = 0; i < Fields->GetCount(); ++i) {
    AnsiString line = Fields->GetStrings(i);
    size_t eq = line.find('=');
    AnsiString name = eq == AnsiString::npos ? line : line.substr(0, eq);
    AnsiString value = eq == AnsiString::npos ? AnsiString() : line.substr(eq + 1);
    if (!body.empty()) body += '&';
    body += Escape(System::AnsiToUtf8(name)) + "=" + Escape(System::AnsiToUtf8(value));
  }
  return body;
}

AnsiString THttpClient::Get(const AnsiString& Url) { return Perform(Url, nullptr); }

AnsiString THttpClient::Post(const AnsiString& Url, const TStrings* Fields)
{
  std::string body = EncodeForm(Fields);
  return Perform(Url, &body);
}

AnsiString THttpClient::Perform(const AnsiString& Url, const std::string* Body)
{
  GlobalInit();
  FResponseCode = 0;
  std::unique_ptr<CURL, void (*)(CURL*)> curl(curl_easy_init(), curl_easy_cleanup);
  if (!curl) throw EHttpError("Cannot create an HTTP session", 0);
  std::string url = System::AnsiToUtf8(Url);
  std::string reply;
  char errbuf[CURL_ERROR_SIZE] = {0};
  CURL* c = curl.get();
  curl_easy_setopt(c, CURLOPT_URL, url.c_str());
  curl_easy_setopt(c, CURLOPT_WRITEFUNCTION, Collect);
  curl_easy_setopt(c, CURLOPT_WRITEDATA, &reply);
  curl_easy_setopt(c, CURLOPT_ERRORBUFFER, errbuf);
  curl_easy_setopt(c, CURLOPT_FOLLOWLOCATION, 1L);
  curl_easy_setopt(c, CURLOPT_MAXREDIRS, 10L);
  curl_easy_setopt(c, CURLOPT_NOSIGNAL, 1L);
  curl_easy_setopt(c, CURLOPT_PROTOCOLS_STR, "http,https");
  curl_easy_setopt(c, CURLOPT_REDIR_PROTOCOLS_STR, "http,https");
  if (FTimeout > 0) curl_easy_setopt(c, CURLOPT_TIMEOUT, static_cast<long>(FTimeout));
  std::unique_ptr<curl_slist, void (*)(curl_slist*)> headers(nullptr, curl_slist_free_all);
  if (Body) {
    headers.reset(curl_slist_append(nullptr, "Content-Type: application/x-www-form-urlencoded; charset=UTF-8"));
    curl_easy_setopt(c, CURLOPT_HTTPHEADER, headers.get());
    curl_easy_setopt(c, CURLOPT_POST, 1L);
    curl_easy_setopt(c, CURLOPT_POSTFIELDS, Body->data());
    curl_easy_setopt(c, CURLOPT_POSTFIELDSIZE_LARGE, static_cast<curl_off_t>(Body->size()));
  }
  CURLcode rc = curl_easy_perform(c);
  if (rc != CURLE_OK) {
    AnsiString msg = errbuf[0] ? System::Utf8ToAnsi(errbuf) : AnsiString(curl_easy_strerror(rc));
    throw EHttpError(msg, 0);
  }
  long code = 0;
  curl_easy_getinfo(c, CURLINFO_RESPONSE_CODE, &code);
  FResponseCode = static_cast<int>(code);
  if (code >= 400) throw EHttpError("HTTP/1.1 " + std::to_string(code) + " " + ReasonPhrase(code), FResponseCode);
  char* contentType = nullptr;
  curl_easy_getinfo(c, CURLINFO_CONTENT_TYPE, &contentType);
  return IsGbText(contentType, reply) ? AnsiString(reply) : System::Utf8ToAnsi(reply);
}
