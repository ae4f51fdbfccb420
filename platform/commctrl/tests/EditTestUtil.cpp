#include "platform/commctrl/tests/EditTestUtil.h"

#include "platform/commctrl/CommCtrl.h"
#include "platform/win/window/Windows.h"

void EditTest::SetUp()
{
  WinTest::SetUp();
  CommCtrl::Initialize();
  FParent = Make(WS_OVERLAPPEDWINDOW | WS_VISIBLE, 50, 50, 400, 300);
}

HWND EditTest::MakeEdit(DWORD style, const std::string& text, int width, int height)
{
  static int id = 100;
  return Windows::CreateWindowEx(WS_EX_CLIENTEDGE, "EDIT", text.c_str(), WS_CHILD | WS_VISIBLE | style, 10, 10, width,
                                 height, FParent, reinterpret_cast<HMENU>(std::intptr_t(++id)), nullptr, nullptr);
}

std::vector<WORD> EditTest::Notes(HWND edit) const
{
  std::vector<WORD> out;
  for (auto& m : Of(WM_COMMAND))
    if (m.wnd == FParent && reinterpret_cast<HWND>(m.lParam) == edit) out.push_back(HIWORD(m.wParam));
  return out;
}
