#include "platform/win/tests/WinTestUtil.h"

#include "platform/win/backend/Headless.h"
#include "platform/win/queue/Messages.h"
#include "platform/win/window/Windows.h"

namespace {
std::vector<LoggedMessage> gMessageLog;
std::map<std::pair<HWND, UINT>, std::function<LRESULT(WPARAM, LPARAM)>> gHandlers;
}  // namespace

void LogMessage(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam) { gMessageLog.push_back({wnd, msg, wParam, lParam}); }

LRESULT TestWndProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
  gMessageLog.push_back({wnd, msg, wParam, lParam});
  auto it = gHandlers.find({wnd, msg});
  if (it != gHandlers.end()) {
    auto fn = it->second;  // the handler may replace itself
    return fn(wParam, lParam);
  }
  return Windows::DefWindowProc(wnd, msg, wParam, lParam);
}

void WinTest::SetUp()
{
  Headless::Start(800, 600);
  gMessageLog.clear();
  gHandlers.clear();
  WNDCLASSEXA wc;
  wc.style = CS_DBLCLKS;
  wc.lpfnWndProc = TestWndProc;
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
  wc.lpszClassName = "TestWnd";
  ASSERT_NE(Windows::RegisterClassEx(&wc), 0);
}

void WinTest::TearDown()
{
  Headless::Start(800, 600);
  gHandlers.clear();
  gMessageLog.clear();
}

HWND WinTest::Make(DWORD style, int x, int y, int w, int h, HWND parent, DWORD exStyle, int id)
{
  return Windows::CreateWindowEx(exStyle, "TestWnd", "", style, x, y, w, h, parent,
                                 reinterpret_cast<HMENU>(std::intptr_t(id)), nullptr, nullptr);
}

void WinTest::On(HWND wnd, UINT msg, std::function<LRESULT(WPARAM, LPARAM)> fn)
{
  gHandlers[{wnd, msg}] = std::move(fn);
}

std::vector<std::pair<HWND, UINT>> WinTest::Seq(const std::vector<UINT>& which) const
{
  std::vector<std::pair<HWND, UINT>> out;
  for (auto& m : gMessageLog) {
    if (which.empty() || std::find(which.begin(), which.end(), m.msg) != which.end()) out.emplace_back(m.wnd, m.msg);
  }
  return out;
}

std::vector<LoggedMessage> WinTest::Of(UINT msg) const
{
  std::vector<LoggedMessage> out;
  for (auto& m : gMessageLog) {
    if (m.msg == msg) out.push_back(m);
  }
  return out;
}

int WinTest::Count(HWND wnd, UINT msg) const
{
  int n = 0;
  for (auto& m : gMessageLog) n += (m.wnd == wnd && m.msg == msg);
  return n;
}

void WinTest::ClearLog() { gMessageLog.clear(); }

int WinTest::Pump()
{
  MSG m;
  int n = 0;
  while (Windows::PeekMessage(&m, nullptr, 0, 0, PM_REMOVE)) {
    Windows::TranslateMessage(&m);
    Windows::DispatchMessage(&m);
    ++n;
  }
  return n;
}
