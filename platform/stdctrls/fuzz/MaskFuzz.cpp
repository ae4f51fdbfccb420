// The edit mask, fed a mask (the input's first line) and then typing, deletions, selections,
// pastes and texts set by code into a masked edit box. After every step: the box shows exactly
// one character per position of the mask, literals in place, and its stored value laid out
// again gives back what it shows.
#include <cstdint>
#include <cstdlib>

#include "platform/forms/app/Clipboard.h"
#include "platform/forms/forms/Form.h"
#include "platform/stdctrls/StdCtrls.h"
#include "platform/stdctrls/edits/MaskEdit.h"
#include "platform/stdctrls/edits/MaskUtils.h"
#include "platform/win/backend/Headless.h"

using MaskUtils::TEditMask;

namespace {

void Check(TMaskEdit* Edit)
{
  const TEditMask& mask = Edit->GetMask();
  AnsiString shown = Edit->GetEditText();
  if (!mask.IsMasked()) return;
  std::vector<AnsiString> chars = MaskUtils::SplitChars(shown);
  if (int(chars.size()) != mask.Count()) std::abort();
  for (int i = 0; i < mask.Count(); ++i)
    if (mask.Item(i).Literal && chars[std::size_t(i)] != mask.Item(i).Char) std::abort();
  if (mask.Format(mask.Value(shown), mask.Blank()) != shown) std::abort();
  int bad = mask.FirstInvalid(shown);
  if (bad < -1 || bad > mask.Count()) std::abort();
}

TForm* Host()
{
  static TForm* form = [] {
    Headless::Start(800, 600);
    StdCtrls::Initialize();
    auto* f = new TForm(nullptr);
    f->SetBounds(10, 10, 300, 100);
    f->Show();
    return f;
  }();
  return form;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* Data, std::size_t Size)
{
  AnsiString input(reinterpret_cast<const char*>(Data), Size);
  std::size_t eol = input.find('\n');
  AnsiString maskText = input.substr(0, std::min(eol, std::size_t(64)));
  AnsiString ops = eol == AnsiString::npos ? AnsiString() : input.substr(eol + 1, 256);

  // FormatMaskText on any pair.
  AnsiString formatted = MaskUtils::FormatMaskText(maskText, ops);
  TEditMask parsed(maskText);
  if (parsed.IsMasked() && int(MaskUtils::SplitChars(formatted).size()) < parsed.Count()) std::abort();

  TMaskEdit edit(nullptr);
  edit.SetParent(Host());
  edit.SetEditMask(maskText);
  edit.SetFocus();
  Check(&edit);
  for (std::size_t i = 0; i < ops.size(); ++i) {
    unsigned char op = static_cast<unsigned char>(ops[i]);
    switch (op) {
      case 1: edit.Perform(WM_CHAR, 8, 0); break;
      case 2: edit.Perform(WM_KEYDOWN, VK_DELETE, 0); break;
      case 3:
        if (i + 2 < ops.size()) {
          edit.SetSelStart(static_cast<unsigned char>(ops[i + 1]) % 40);
          edit.SetSelLength(static_cast<unsigned char>(ops[i + 2]) % 40);
          i += 2;
        }
        break;
      case 4: {
        std::size_t n = i + 1 < ops.size() ? static_cast<unsigned char>(ops[i + 1]) % 16 : 0;
        edit.SetText(ops.substr(std::min(i + 2, ops.size()), n));
        i += 1 + n;
        break;
      }
      case 5: {
        std::size_t n = i + 1 < ops.size() ? static_cast<unsigned char>(ops[i + 1]) % 16 : 0;
        Clipbrd::Clipboard()->SetAsText(ops.substr(std::min(i + 2, ops.size()), n));
        edit.PasteFromClipboard();
        i += 1 + n;
        break;
      }
      case 6: edit.Perform(WM_KEYDOWN, VK_ESCAPE, 0); break;
      default: edit.Perform(WM_CHAR, op, 0); break;
    }
    Check(&edit);
  }
  return 0;
}
