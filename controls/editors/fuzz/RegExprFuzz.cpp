// Arbitrary masks for the compiler and arbitrary typing for the walk.
// Input: a flags byte, two bytes of mask length, the mask, then the keys. Key 0x08 steps back,
// 0x7F restarts, anything else is typed.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "controls/editors/EditorsModule.h"
#include "controls/editors/regexpr/cxRegExpr.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
  EditorsModule::Initialize();
  if (size < 3) return 0;
  const bool caseInsensitive = data[0] & 1;
  const bool completion = data[0] & 2;
  std::size_t maskLength = (static_cast<std::size_t>(data[1]) << 8 | data[2]) % 4096;
  data += 3;
  size -= 3;
  if (maskLength > size) maskLength = size;
  const AnsiString mask(reinterpret_cast<const char*>(data), maskLength);
  const AnsiString keys(reinterpret_cast<const char*>(data + maskLength), size - maskLength);

  TcxRegExpr expr;
  expr.SetCaseInsensitive(caseInsensitive);
  expr.SetLiteralCompletion(completion);
  int literals = 0;
  expr.OnLiteralAdded = [&](TcxRegExpr*, char) { ++literals; };
  expr.OnLiteralRemoved = [&](TcxRegExpr*) { --literals; };
  try {
    expr.Compile(mask);
  } catch (const EcxRegExprError& e) {
    if (e.GetErrors().Count() == 0) std::abort();  // a refusal always says why
    for (int i = 0; i < e.GetErrors().Count(); ++i) (void)e.GetErrors().Items(i).Text();
    return 0;
  }
  for (char key : keys) {
    if (key == '\x08') {
      expr.StepBack();
    } else if (key == '\x7F') {
      expr.Restart();
      if (!expr.AtStart() || expr.StepBack()) std::abort();
    } else {
      char c = key;
      expr.Accept(c);
    }
    (void)expr.IsComplete();
  }
  AnsiString accepted;
  expr.Restart();
  expr.AcceptText(keys, accepted);
  if (accepted.size() > keys.size()) std::abort();
  return 0;
}
