// Drives a masked editor on the headless desktop with an arbitrary mask (of each kind) and a
// sequence of keys, characters (CP936 bytes and double-byte characters), selections and pastes.
// After every step the editor's text must be whole CP936 characters: no lone lead byte, no NUL.
// A mask the modes refuse (EcxMaskEditError) ends the input; nothing else may raise.
//
// Input: byte 0 the mask kind, byte 1 the mask length n, then n mask bytes, then steps of two
// bytes each (an operation and its argument).
#include <cstdint>
#include <cstdlib>
#include <string>

#include "controls/editors/EditorsModule.h"
#include "controls/editors/maskedit/cxMaskEdit.h"
#include "controls/editors/textedit/cxInnerTextEdit.h"
#include "controls/framework/FrameworkModule.h"
#include "platform/forms/app/Application.h"
#include "platform/forms/app/Clipboard.h"
#include "platform/forms/controls/Controls.h"
#include "platform/forms/forms/Form.h"
#include "platform/win/WinUser.h"
#include "platform/win/backend/Headless.h"
#include "platform/win/queue/Messages.h"

namespace {

bool IsLead(unsigned char c) { return c >= 0x81 && c <= 0xFE; }
bool IsTrail(unsigned char c) { return (c >= 0x40 && c <= 0x7E) || (c >= 0x80 && c <= 0xFE); }

void CheckWhole(const AnsiString& t)
{
  for (size_t i = 0; i < t.size();) {
    const auto c = static_cast<unsigned char>(t[i]);
    if (c == 0) std::abort();
    if (IsLead(c)) {
      if (i + 1 >= t.size() || !IsTrail(static_cast<unsigned char>(t[i + 1]))) std::abort();
      i += 2;
    } else {
      ++i;
    }
  }
}

struct TFuzzDesk {
  TComponent* Owner = nullptr;
  TForm* Form = nullptr;
  TFuzzDesk()
  {
    Headless::Start(640, 480);
    Controls::Initialize();
    Forms::InitializeApplication();
    FrameworkModule::Initialize();
    EditorsModule::Initialize();
    Owner = new TComponent(nullptr);
    Form = new TForm(Owner);
    Form->SetBounds(0, 0, 400, 200);
    Form->Show();
    Controls::ProcessMessages();
  }
};

TFuzzDesk& Desk()
{
  static TFuzzDesk desk;  // lives for the run
  return desk;
}

const Word kKeys[] = {VK_LEFT, VK_RIGHT, VK_HOME, VK_END, VK_DELETE, VK_BACK, VK_UP, VK_DOWN, VK_RETURN, VK_ESCAPE};
// Double-byte characters whose trail bytes look like ASCII and like lead bytes.
const char* const kChinese[] = {"\xBA\xCF", "\xCD\xAC", "\xB1\x61", "\x81\x40", "\xFE\xFE", "\xB1\xED"};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size)
{
  if (size < 2) return 0;
  TFuzzDesk& desk = Desk();
  auto* edit = new TcxMaskEdit(desk.Form);
  edit->SetParent(desk.Form);
  edit->SetBounds(10, 10, 200, 21);
  const size_t maskLength = std::min<size_t>(data[1], size - 2);
  const AnsiString mask(reinterpret_cast<const char*>(data) + 2, maskLength);
  TcxCustomMaskEditProperties* p = edit->GetMaskProperties();
  try {
    p->SetMaskKind(TcxEditMaskKind(data[0] % 3));
    p->SetEditMask(mask);
  } catch (EcxMaskEditError&) {
    delete edit;
    return 0;
  }
  edit->SetFocus();
  Controls::ProcessMessages();
  TcxCustomInnerTextEdit* inner = edit->GetInnerTextEditControl();
  const HWND wnd = inner->GetHandle();
  for (size_t i = 2 + maskLength; i + 1 < size; i += 2) {
    const unsigned op = data[i] % 8, arg = data[i + 1];
    switch (op) {
      case 0: Windows::SendMessage(wnd, WM_CHAR, arg, 0); break;
      case 1: {
        const char* ch = kChinese[arg % 6];
        Windows::SendMessage(wnd, WM_IME_CHAR,
                             (WPARAM(static_cast<unsigned char>(ch[0])) << 8) | static_cast<unsigned char>(ch[1]), 0);
        break;
      }
      case 2: Windows::SendMessage(wnd, WM_KEYDOWN, kKeys[arg % 10], 0); break;
      case 3: edit->SetSelStart(arg % 24); break;
      case 4: edit->SetSelLength(arg % 8); break;
      case 5: {
        AnsiString text;
        for (unsigned k = 0; k < arg % 5; ++k) text += (k & 1) ? kChinese[arg % 6] : "1a";
        Clipbrd::Clipboard()->SetAsText(text);
        Windows::SendMessage(wnd, WM_PASTE, 0, 0);
        break;
      }
      case 6: Windows::SendMessage(wnd, WM_CHAR, 8, 0); break;
      default: try { edit->ValidateEdit(false);
        } catch (Exception&) {}
        break;
    }
    CheckWhole(edit->GetDisplayValueText());
  }
  delete edit;
  Controls::ProcessMessages();
  return 0;
}
