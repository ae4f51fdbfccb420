// A blocking HTTP client (libcurl) with default settings: GET of an address and POST of an
// HTML form, answering the reply body as text.
//
// Text crosses the wire as UTF-8: form fields are sent URL-encoded in UTF-8, and a reply is
// converted to CP936 from UTF-8, unless its Content-Type names a GB charset (gb2312, gbk,
// gb18030) or names none and the bytes are not UTF-8: those bytes are taken as they are.
//
// Errors raise EHttpError: a transfer failure (refused connection, unknown host, time-out)
// with libcurl's message and StatusCode 0; a reply status of 400 or above with the message
// "HTTP/1.1 <code> <reason>" and the status in StatusCode. Redirections are followed.
#pragma once

#include "platform/rtl/Exceptions.h"
#include "platform/rtl/System.h"

class TStrings;

class EHttpError : public Exception {
public:
  EHttpError(const AnsiString& msg, int statusCode) : Exception(msg), FStatusCode(statusCode) {}
  const char* ClassName() const override { return "EHttpError"; }
  int StatusCode() const { return FStatusCode; }

private:
  int FStatusCode;
};

class THttpClient : public TObject {
public:
  THttpClient() = default;
  ~THttpClient() override = default;
  THttpClient(const THttpClient&) = delete;
  THttpClient& operator=(const THttpClient&) = delete;

  // The body of the reply to a GET of Url.
  AnsiString Get(const AnsiString& Url);
  // Posts Fields (name=value lines; a line without '=' is a name with an empty value) as
  // application/x-www-form-urlencoded and answers the reply body.
  AnsiString Post(const AnsiString& Url, const TStrings* Fields);

  // The status code of the last reply (0 before any, or after a transfer failure).
  int GetResponseCode() const { return FResponseCode; }
  // Seconds a request may take in all; 0 (the default) leaves libcurl's own limits.
  void SetTimeout(int Seconds) { FTimeout = Seconds; }
  int GetTimeout() const { return FTimeout; }

  // The form body Post sends for Fields (exposed for the callers' own checks).
  static std::string EncodeForm(const TStrings* Fields);

private:
  AnsiString Perform(const AnsiString& Url, const std::string* Body);
  int FResponseCode = 0;
  int FTimeout = 0;
};
