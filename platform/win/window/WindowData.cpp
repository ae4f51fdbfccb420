#include "platform/win/window/WindowData.h"

#include <algorithm>
#include <unordered_map>

#include "platform/gdi/dc/GdiObjects.h"

namespace WindowData {
namespace {

struct Table {
  std::unordered_map<HWND, Ptr> windows;
  std::vector<HWND> order;  // creation order
  std::vector<HWND> topLevel;
  std::uintptr_t next = 0x10000;
  SharedState state;
};

Table& T()
{
  static Table t;
  return t;
}

}  // namespace

Ptr Find(HWND h)
{
  auto it = T().windows.find(h);
  return it == T().windows.end() ? nullptr : it->second;
}

WndData* Get(HWND h)
{
  auto it = T().windows.find(h);
  return it == T().windows.end() ? nullptr : it->second.get();
}

HWND NewHandle()
{
  T().next += 4;
  return reinterpret_cast<HWND>(T().next);
}

void Add(const Ptr& w)
{
  T().windows[w->handle] = w;
  T().order.push_back(w->handle);
}

void Remove(HWND h)
{
  auto& t = T();
  auto it = t.windows.find(h);
  if (it == t.windows.end()) return;
  if (it->second->update) Windows::DeleteObject(it->second->update);
  if (it->second->windowRgn) Windows::DeleteObject(it->second->windowRgn);
  t.windows.erase(it);
  t.order.erase(std::remove(t.order.begin(), t.order.end(), h), t.order.end());
  t.topLevel.erase(std::remove(t.topLevel.begin(), t.topLevel.end(), h), t.topLevel.end());
}

std::vector<HWND> All() { return T().order; }
std::vector<HWND>& TopLevel() { return T().topLevel; }

std::vector<HWND>& SiblingList(WndData* w)
{
  if (w->parent) {
    if (WndData* p = Get(w->parent)) return p->children;
  }
  return T().topLevel;
}

SharedState& State() { return T().state; }

RECT ScreenRect(HWND h)
{
  WndData* w = Get(h);
  if (!w) return {};
  RECT r = w->rect;
  if (w->parent) {
    POINT o = ClientOrigin(w->parent);
    r.left += o.x;
    r.right += o.x;
    r.top += o.y;
    r.bottom += o.y;
  }
  return r;
}

POINT ClientOrigin(HWND h)
{
  WndData* w = Get(h);
  if (!w) return {};
  RECT r = ScreenRect(h);
  return {r.left + w->client.left, r.top + w->client.top};
}

HWND TopLevelOf(HWND h)
{
  WndData* w = Get(h);
  while (w && w->parent) {
    h = w->parent;
    w = Get(h);
  }
  return w ? h : nullptr;
}

bool IsDescendant(HWND ancestor, HWND h)
{
  WndData* w = Get(h);
  while (w && w->parent) {
    if (w->parent == ancestor) return true;
    w = Get(w->parent);
  }
  return false;
}

bool IsVisibleChain(HWND h)
{
  for (WndData* w = Get(h); w; w = w->parent ? Get(w->parent) : nullptr) {
    if (!(w->style & WS_VISIBLE)) return false;
  }
  return Get(h) != nullptr;
}

void Clear()
{
  auto& t = T();
  for (auto& [h, w] : t.windows) {
    if (w->update) Windows::DeleteObject(w->update);
    if (w->windowRgn) Windows::DeleteObject(w->windowRgn);
  }
  t.windows.clear();
  t.order.clear();
  t.topLevel.clear();
  t.state = SharedState{};
}

}  // namespace WindowData
