#include "core/Http.h"

#include "platform/rtl/AnsiStrings.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/StringList.h"
#include "platform/sys/HttpClient.h"

namespace Http {
namespace {
AnsiString& Host()
{
  static AnsiString H = DefaultFeedbackHost;
  return H;
}
}  // namespace

AnsiString DefaultEndpoint() { return "http://" + Host() + "/back.asp"; }

void SetFeedbackHost(const AnsiString& Value) { Host() = Value.empty() ? AnsiString(DefaultFeedbackHost) : Value; }

}  // namespace Http

THttper::THttper() : FClient(std::make_unique<THttpClient>()), FFields(std::make_unique<TStringList>()) {}

THttper::~THttper() = default;

bool THttper::Post(WideString& Reply, const WideString& Address)
{
  AnsiString Url = Address.empty() ? Http::DefaultEndpoint() : System::WideToAnsi(Address);
  try {
    AnsiString Body = FClient->Post(Url, FFields.get());
    Reply = System::AnsiToWide(Body);
    return Body == "ok";
  } catch (...) {
    // No network, a server error or a fault inside the client: all count as failure.
    return false;
  }
}
