// THttper: posts a list of form fields to an HTTP address and tells whether the server answered
// exactly "ok". The feedback form and the error report send their texts with it.
#pragma once

#include <memory>

#include "platform/rtl/System.h"

class TStringList;
class THttpClient;

class THttper : public TObject {
public:
  THttper();
  ~THttper() override;

  // The form fields, name=value lines; filled by the caller before Post.
  TStringList* Fields() const { return FFields.get(); }
  // Posts the fields to Address (the default report endpoint when empty) and puts the reply body
  // into Reply. True only for the reply "ok"; any failure answers false and leaves Reply as the
  // caller passed it. Never raises.
  bool Post(WideString& Reply, const WideString& Address = WideString());

private:
  std::unique_ptr<THttpClient> FClient;
  std::unique_ptr<TStringList> FFields;
};

namespace Http {
// The default endpoint: "http://" + the feedback host + "/back.asp".
AnsiString DefaultEndpoint();
// Replaces the feedback host ("host[:port]") for the process; empty puts the default back.
void SetFeedbackHost(const AnsiString& Host);
inline constexpr const char* DefaultFeedbackHost = "feedback.pelto.example.com";
inline constexpr const char* SupportTel = "0571-88880000";
inline constexpr const char* SupportQQ = "800088880";
inline constexpr const char* SalesMail = "sales@pelto.example.com";
}  // namespace Http
