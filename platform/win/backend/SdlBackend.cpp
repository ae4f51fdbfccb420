#include "platform/win/backend/SdlBackend.h"

#include <SDL.h>

#include <cstdint>
#include <cstring>
#include <fstream>
#include <unordered_map>
#include <vector>

#include "platform/gdi/dc/DeviceContext.h"
#include "platform/gdi/dc/GdiObjects.h"
#include "platform/gdi/image/Bitmaps.h"
#include "platform/gdi/image/Icons.h"
#include "platform/gdi/image/PictureFiles.h"
#include "platform/rtl/AnsiStrings.h"
#include "platform/win/backend/Backend.h"
#include "platform/win/caret/Cursors.h"
#include "platform/win/input/Focus.h"
#include "platform/win/input/InputQueue.h"
#include "platform/win/paint/Painting.h"
#include "platform/win/queue/Messages.h"
#include "platform/win/window/WindowData.h"
#include "platform/win/window/Windows.h"

namespace SdlBackend {
namespace {

int VirtualKey(SDL_Keycode k)
{
  if (k >= SDLK_a && k <= SDLK_z) return 'A' + (k - SDLK_a);
  if (k >= SDLK_0 && k <= SDLK_9) return '0' + (k - SDLK_0);
  if (k >= SDLK_F1 && k <= SDLK_F12) return VK_F1 + (k - SDLK_F1);
  if (k >= SDLK_KP_1 && k <= SDLK_KP_9) return VK_NUMPAD0 + 1 + (k - SDLK_KP_1);
  switch (k) {
    case SDLK_KP_0: return VK_NUMPAD0;
    case SDLK_RETURN:
    case SDLK_KP_ENTER: return VK_RETURN;
    case SDLK_ESCAPE: return VK_ESCAPE;
    case SDLK_BACKSPACE: return VK_BACK;
    case SDLK_TAB: return VK_TAB;
    case SDLK_SPACE: return VK_SPACE;
    case SDLK_DELETE: return VK_DELETE;
    case SDLK_INSERT: return VK_INSERT;
    case SDLK_HOME: return VK_HOME;
    case SDLK_END: return VK_END;
    case SDLK_PAGEUP: return VK_PRIOR;
    case SDLK_PAGEDOWN: return VK_NEXT;
    case SDLK_LEFT: return VK_LEFT;
    case SDLK_RIGHT: return VK_RIGHT;
    case SDLK_UP: return VK_UP;
    case SDLK_DOWN: return VK_DOWN;
    case SDLK_LSHIFT: return VK_LSHIFT;
    case SDLK_RSHIFT: return VK_RSHIFT;
    case SDLK_LCTRL: return VK_LCONTROL;
    case SDLK_RCTRL: return VK_RCONTROL;
    case SDLK_LALT: return VK_LMENU;
    case SDLK_RALT: return VK_RMENU;
    case SDLK_CAPSLOCK: return VK_CAPITAL;
    case SDLK_APPLICATION: return VK_APPS;
    case SDLK_SEMICOLON: return 0xBA;
    case SDLK_EQUALS: return 0xBB;
    case SDLK_COMMA: return 0xBC;
    case SDLK_MINUS: return 0xBD;
    case SDLK_PERIOD: return 0xBE;
    case SDLK_SLASH: return 0xBF;
    case SDLK_KP_MULTIPLY: return VK_MULTIPLY;
    case SDLK_KP_PLUS: return VK_ADD;
    case SDLK_KP_MINUS: return VK_SUBTRACT;
    case SDLK_KP_PERIOD: return VK_DECIMAL;
    case SDLK_KP_DIVIDE: return VK_DIVIDE;
    default: return 0;
  }
}

InputQueue::Button ButtonOf(Uint8 b)
{
  return b == SDL_BUTTON_RIGHT    ? InputQueue::Button::Right
         : b == SDL_BUTTON_MIDDLE ? InputQueue::Button::Middle
                                  : InputQueue::Button::Left;
}

class Sdl : public WindowBackend {
public:
  DWORD Now() override { return DWORD(SDL_GetTicks()); }

  bool Wait(DWORD timeoutMs) override
  {
    SDL_Event ev;
    int got = SDL_WaitEventTimeout(&ev, timeoutMs == INFINITE ? 1000 : int(timeoutMs));
    if (got) Handle(ev);
    Poll();
    return true;
  }

  void Poll() override
  {
    SDL_Event ev;
    while (SDL_PollEvent(&ev)) Handle(ev);
    // The desktop gave the keyboard to another program: the application is deactivated.
    if (FocusLostPending) {
      FocusLostPending = false;
      if (!SDL_GetKeyboardFocus()) Focus::DeactivateApp();
    }
  }

  SIZE ScreenSize() override
  {
    SDL_DisplayMode mode;
    if (SDL_GetDesktopDisplayMode(0, &mode) != 0) return {1024, 768};
    return {mode.w, mode.h};
  }

  RECT WorkArea() override
  {
    SDL_Rect r;
    if (SDL_GetDisplayUsableBounds(0, &r) != 0) {
      SIZE s = ScreenSize();
      return {0, 0, s.cx, s.cy};
    }
    return {r.x, r.y, r.x + r.w, r.y + r.h};
  }

  void TopLevelChanged(HWND top) override
  {
    WndData* w = WindowData::Get(top);
    if (!w) return;
    bool visible = w->style & WS_VISIBLE;
    RECT r = w->rect;
    int cx = std::max(1, int(r.right - r.left)), cy = std::max(1, int(r.bottom - r.top));
    auto it = FWindows.find(top);
    if (it == FWindows.end()) {
      if (!visible) return;  // native windows are made when first shown
      Uint32 flags = SDL_WINDOW_BORDERLESS | SDL_WINDOW_HIDDEN;
      if (w->exStyle & (WS_EX_TOOLWINDOW | WS_EX_TOPMOST)) flags |= SDL_WINDOW_SKIP_TASKBAR;
      if (w->exStyle & WS_EX_TOPMOST) flags |= SDL_WINDOW_ALWAYS_ON_TOP;
      if (w->style & WS_POPUP) flags |= SDL_WINDOW_POPUP_MENU;
      std::string title = System::AnsiToUtf8(w->text);
      SDL_Window* win = SDL_CreateWindow(title.c_str(), r.left, r.top, cx, cy, flags);
      if (!win) return;
      it = FWindows.emplace(top, win).first;
      FByNative[SDL_GetWindowID(win)] = top;
    }
    SDL_Window* win = it->second;
    std::string title = System::AnsiToUtf8(w->text);
    if (title != SDL_GetWindowTitle(win)) SDL_SetWindowTitle(win, title.c_str());
    int x, y, ow, oh;
    SDL_GetWindowPosition(win, &x, &y);
    SDL_GetWindowSize(win, &ow, &oh);
    if (x != r.left || y != r.top) SDL_SetWindowPosition(win, r.left, r.top);
    if (ow != cx || oh != cy) SDL_SetWindowSize(win, cx, cy);
    bool shown = SDL_GetWindowFlags(win) & SDL_WINDOW_SHOWN;
    if (visible && !shown) {
      SDL_ShowWindow(win);
      Present(top);
    } else if (!visible && shown) {
      SDL_HideWindow(win);
      RefocusActive(top);
    }
  }

  void Activated(HWND top) override
  {
    auto it = FWindows.find(top);
    if (it != FWindows.end() && (SDL_GetWindowFlags(it->second) & SDL_WINDOW_SHOWN))
      SDL_SetWindowInputFocus(it->second);
  }

  void TopLevelDestroyed(HWND top) override
  {
    auto it = FWindows.find(top);
    if (it == FWindows.end()) return;
    FByNative.erase(SDL_GetWindowID(it->second));
    SDL_DestroyWindow(it->second);
    FWindows.erase(it);
    RefocusActive(top);
  }

  void Present(HWND top) override
  {
    auto it = FWindows.find(top);
    const Painting::Surface* s = Painting::SurfaceOf(top);
    if (it == FWindows.end() || !s) return;
    SDL_Surface* dst = SDL_GetWindowSurface(it->second);
    if (!dst) return;
    SDL_LockSurface(dst);
    int w = std::min(dst->w, s->width), h = std::min(dst->h, s->height);
    SDL_ConvertPixels(w, h, SDL_PIXELFORMAT_RGB888, s->pixels.data(), s->width * 4, dst->format->format, dst->pixels,
                      dst->pitch);
    SDL_UnlockSurface(dst);
    SDL_UpdateWindowSurface(it->second);
  }

  void CursorChanged(HCURSOR cursor) override
  {
    if (!cursor) {
      SDL_ShowCursor(SDL_DISABLE);
      return;
    }
    SDL_ShowCursor(SDL_ENABLE);
    // The program's own (drawn) cursors become colour cursors; standard ones the desktop's.
    if (!Windows::StandardCursorId(cursor)) {
      auto& own = FOwnCursors[cursor];
      if (!own) own = ColourCursor(cursor);
      if (own) {
        SDL_SetCursor(own);
        return;
      }
    }
    SDL_SystemCursor which = SDL_SYSTEM_CURSOR_ARROW;
    switch (Windows::StandardCursorId(cursor)) {
      case 32513: which = SDL_SYSTEM_CURSOR_IBEAM; break;
      case 32514: which = SDL_SYSTEM_CURSOR_WAIT; break;
      case 32515: which = SDL_SYSTEM_CURSOR_CROSSHAIR; break;
      case 32642: which = SDL_SYSTEM_CURSOR_SIZENWSE; break;
      case 32643: which = SDL_SYSTEM_CURSOR_SIZENESW; break;
      case 32644: which = SDL_SYSTEM_CURSOR_SIZEWE; break;
      case 32645: which = SDL_SYSTEM_CURSOR_SIZENS; break;
      case 32646: which = SDL_SYSTEM_CURSOR_SIZEALL; break;
      case 32648: which = SDL_SYSTEM_CURSOR_NO; break;
      case 32649: which = SDL_SYSTEM_CURSOR_HAND; break;
      case 32650: which = SDL_SYSTEM_CURSOR_WAITARROW; break;
      default: break;
    }
    auto& c = FCursors[which];
    if (!c) c = SDL_CreateSystemCursor(which);
    if (c) SDL_SetCursor(c);
  }

  ~Sdl() override
  {
    for (auto& [k, c] : FCursors) SDL_FreeCursor(c);
    for (auto& [k, c] : FOwnCursors)
      if (c) SDL_FreeCursor(c);
  }

  // An SDL cursor from an icon's colour image and mask (clear where the mask is set).
  static SDL_Cursor* ColourCursor(HCURSOR cursor)
  {
    ICONINFO info;
    if (!Windows::GetIconInfo(cursor, &info)) return nullptr;
    BITMAP bm{};
    Windows::GetObject(info.hbmColor, &bm);
    SDL_Cursor* made = nullptr;
    if (bm.bmWidth > 0 && bm.bmHeight > 0) {
      const int w = bm.bmWidth, h = bm.bmHeight;
      BITMAPINFO bi{};
      bi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
      bi.bmiHeader.biWidth = w;
      bi.bmiHeader.biHeight = -h;  // top-down
      bi.bmiHeader.biPlanes = 1;
      bi.bmiHeader.biBitCount = 32;
      std::vector<std::uint32_t> colour(size_t(w * h)), mask(size_t(w * h));
      HDC dc = Windows::CreateCompatibleDC(nullptr);
      Windows::GetDIBits(dc, info.hbmColor, 0, UINT(h), colour.data(), &bi, DIB_RGB_COLORS);
      Windows::GetDIBits(dc, info.hbmMask, 0, UINT(h), mask.data(), &bi, DIB_RGB_COLORS);
      Windows::DeleteDC(dc);
      if (SDL_Surface* s = SDL_CreateRGBSurfaceWithFormat(0, w, h, 32, SDL_PIXELFORMAT_ARGB8888)) {
        for (int y = 0; y < h; ++y) {
          auto* row = reinterpret_cast<std::uint32_t*>(static_cast<std::uint8_t*>(s->pixels) + y * s->pitch);
          for (int x = 0; x < w; ++x) {
            size_t i = size_t(y * w + x);
            bool clear = (mask[i] & 0x00FFFFFF) != 0;
            row[x] = clear ? 0 : (0xFF000000u | (colour[i] & 0x00FFFFFF));
          }
        }
        made = SDL_CreateColorCursor(s, int(info.xHotspot), int(info.yHotspot));
        SDL_FreeSurface(s);
      }
    }
    Windows::DeleteObject(info.hbmMask);
    Windows::DeleteObject(info.hbmColor);
    return made;
  }

  void TextInputAt(HWND top, const RECT& rect) override
  {
    // SDL places the input method's window for the window with the keyboard focus.
    auto it = FWindows.find(top);
    if (it == FWindows.end() || SDL_GetKeyboardFocus() != it->second) return;
    SDL_Rect r{int(rect.left), int(rect.top), int(rect.right - rect.left), int(rect.bottom - rect.top)};
    SDL_SetTextInputRect(&r);
  }
  bool SetDesktopClipboardText(const std::string& utf8) override { return SDL_SetClipboardText(utf8.c_str()) == 0; }

  bool GetDesktopClipboardText(std::string& utf8) override
  {
    if (!SDL_HasClipboardText()) return false;
    char* t = SDL_GetClipboardText();
    if (!t) return false;
    utf8 = t;
    SDL_free(t);
    return true;
  }

  HBITMAP Shot()
  {
    SIZE sz = ScreenSize();
    BITMAPINFO bi{};
    bi.bmiHeader.biWidth = sz.cx;
    bi.bmiHeader.biHeight = -sz.cy;
    bi.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    HBITMAP bmp = Windows::CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (!bmp || !bits) return bmp;
    auto* out = static_cast<std::uint32_t*>(bits);
    std::fill(out, out + size_t(sz.cx) * size_t(sz.cy), 0x00008080u);
    // Bottom to top, so the topmost window ends up in front.
    auto& tops = WindowData::TopLevel();
    for (auto t = tops.rbegin(); t != tops.rend(); ++t) {
      auto it = FWindows.find(*t);
      if (it == FWindows.end() || !(SDL_GetWindowFlags(it->second) & SDL_WINDOW_SHOWN)) continue;
      SDL_Surface* src = SDL_GetWindowSurface(it->second);
      if (!src) continue;
      int x0, y0;
      SDL_GetWindowPosition(it->second, &x0, &y0);
      std::vector<std::uint32_t> px(size_t(src->w) * size_t(src->h));
      SDL_LockSurface(src);
      SDL_ConvertPixels(src->w, src->h, src->format->format, src->pixels, src->pitch, SDL_PIXELFORMAT_RGB888, px.data(),
                        src->w * 4);
      SDL_UnlockSurface(src);
      for (int y = 0; y < src->h; ++y) {
        for (int x = 0; x < src->w; ++x) {
          int sx = x0 + x, sy = y0 + y;
          if (sx < 0 || sy < 0 || sx >= sz.cx || sy >= sz.cy) continue;
          out[size_t(sy) * size_t(sz.cx) + size_t(sx)] = px[size_t(y) * size_t(src->w) + size_t(x)];
        }
      }
    }
    return bmp;
  }

private:
  // A native window went away: the desktop's keyboard focus goes back to the active window's.
  void RefocusActive(HWND gone)
  {
    HWND active = WindowData::State().active;
    if (active && active != gone) Activated(active);
  }

  // Screen coordinates of a point in a native window.
  POINT ScreenPoint(Uint32 windowId, int x, int y)
  {
    auto it = FByNative.find(windowId);
    if (it == FByNative.end()) return {x, y};
    RECT r = WindowData::ScreenRect(it->second);
    return {r.left + x, r.top + y};
  }

  void Handle(const SDL_Event& ev)
  {
    switch (ev.type) {
      case SDL_MOUSEMOTION: {
        POINT p = ScreenPoint(ev.motion.windowID, ev.motion.x, ev.motion.y);
        InputQueue::MouseMove(p.x, p.y);
        break;
      }
      case SDL_MOUSEBUTTONDOWN:
      case SDL_MOUSEBUTTONUP: {
        POINT p = ScreenPoint(ev.button.windowID, ev.button.x, ev.button.y);
        if (ev.type == SDL_MOUSEBUTTONDOWN)
          InputQueue::MouseDown(ButtonOf(ev.button.button), p.x, p.y);
        else
          InputQueue::MouseUp(ButtonOf(ev.button.button), p.x, p.y);
        break;
      }
      case SDL_MOUSEWHEEL: {
        int x, y;
        SDL_GetGlobalMouseState(&x, &y);
        InputQueue::MouseWheel(ev.wheel.y * WHEEL_DELTA, x, y);
        break;
      }
      case SDL_KEYDOWN:
      case SDL_KEYUP: {
        int vk = VirtualKey(ev.key.keysym.sym);
        if (!vk) break;
        if (ev.type == SDL_KEYDOWN)
          InputQueue::KeyDown(vk);
        else
          InputQueue::KeyUp(vk);
        break;
      }
      case SDL_TEXTINPUT: {
        // Plain keys make their characters through TranslateMessage; text from an input
        // method (anything beyond ASCII) arrives here.
        std::string t = ev.text.text;
        bool ascii = std::all_of(t.begin(), t.end(), [](char c) { return (unsigned char)c < 0x80; });
        if (!ascii) InputQueue::Text(System::Utf8ToAnsi(t));
        break;
      }
      case SDL_WINDOWEVENT: {
        auto it = FByNative.find(ev.window.windowID);
        if (it == FByNative.end()) break;
        if (ev.window.event == SDL_WINDOWEVENT_CLOSE) Windows::PostMessage(it->second, WM_CLOSE, 0, 0);
        if (ev.window.event == SDL_WINDOWEVENT_EXPOSED) Present(it->second);
        if (ev.window.event == SDL_WINDOWEVENT_FOCUS_GAINED && WindowData::State().active != it->second &&
            Windows::IsWindowEnabled(it->second) &&
            !(Windows::GetWindowLongPtr(it->second, GWL_EXSTYLE) & WS_EX_NOACTIVATE))
          Windows::SetActiveWindow(it->second);
        if (ev.window.event == SDL_WINDOWEVENT_FOCUS_LOST && !SDL_GetKeyboardFocus()) FocusLostPending = true;
        break;
      }
      default: break;
    }
  }

  bool FocusLostPending = false;
  std::unordered_map<int, SDL_Cursor*> FCursors;
  std::unordered_map<HCURSOR, SDL_Cursor*> FOwnCursors;  // made from the program's cursors
  std::unordered_map<HWND, SDL_Window*> FWindows;
  std::unordered_map<Uint32, HWND> FByNative;
};

Sdl* gRunning = nullptr;

}  // namespace

bool Start(std::string* error)
{
  // A click that comes right after a window got the focus is a click all the same: the window
  // layer decides about activation itself (WM_MOUSEACTIVATE). Without this a press on a list
  // that has just dropped down is lost.
  SDL_SetHint(SDL_HINT_MOUSE_FOCUS_CLICKTHROUGH, "1");
  if (SDL_InitSubSystem(SDL_INIT_VIDEO | SDL_INIT_EVENTS | SDL_INIT_TIMER) != 0) {
    if (error) *error = SDL_GetError();
    return false;
  }
  SDL_StartTextInput();
  MessageQueue::Reset();
  auto b = std::make_unique<Sdl>();
  gRunning = b.get();
  Backend::Install(std::move(b));
  return true;
}

void Stop()
{
  if (!gRunning) return;
  for (HWND t : std::vector<HWND>(WindowData::TopLevel())) gRunning->TopLevelDestroyed(t);
  gRunning = nullptr;
  Backend::Install(nullptr);
  SDL_QuitSubSystem(SDL_INIT_VIDEO | SDL_INIT_EVENTS | SDL_INIT_TIMER);
  SDL_Quit();
}

HBITMAP Screenshot() { return gRunning ? gRunning->Shot() : nullptr; }

HBITMAP ScreenshotToPng(const std::string& PngPath)
{
  HBITMAP shot = Screenshot();
  if (!shot) return nullptr;
  std::vector<std::uint8_t> png = PngFile::SavePng(shot);
  std::ofstream out(PngPath, std::ios::binary);
  out.write(reinterpret_cast<const char*>(png.data()), std::streamsize(png.size()));
  if (!out.flush()) {
    Windows::DeleteObject(shot);
    return nullptr;
  }
  return shot;
}

bool SaveScreenshot(const std::string& PngPath)
{
  HBITMAP shot = ScreenshotToPng(PngPath);
  if (shot) Windows::DeleteObject(shot);
  return shot != nullptr;
}

}  // namespace SdlBackend
