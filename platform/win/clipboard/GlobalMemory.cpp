#include "platform/win/clipboard/GlobalMemory.h"

#include <memory>
#include <unordered_map>
#include <vector>

namespace Windows {
namespace {
struct Block {
  std::vector<unsigned char> bytes;
  int locks = 0;
};
struct Blocks {
  std::unordered_map<HGLOBAL, std::unique_ptr<Block>> map;
  std::uintptr_t next = 0x50000;
};
Blocks& B()
{
  static Blocks b;
  return b;
}
Block* Find(HGLOBAL h)
{
  auto it = B().map.find(h);
  return it == B().map.end() ? nullptr : it->second.get();
}
}  // namespace

HGLOBAL GlobalAlloc(UINT, std::size_t bytes)
{
  if (bytes > (std::size_t(1) << 30)) return nullptr;
  auto b = std::make_unique<Block>();
  b->bytes.assign(bytes ? bytes : 1, 0);
  B().next += 8;
  HGLOBAL h = reinterpret_cast<HGLOBAL>(B().next);
  B().map[h] = std::move(b);
  return h;
}

HGLOBAL GlobalFree(HGLOBAL mem) { return B().map.erase(mem) ? nullptr : mem; }

void* GlobalLock(HGLOBAL mem)
{
  Block* b = Find(mem);
  if (!b) return nullptr;
  ++b->locks;
  return b->bytes.data();
}

BOOL GlobalUnlock(HGLOBAL mem)
{
  Block* b = Find(mem);
  if (!b || b->locks == 0) return FALSE;
  return --b->locks > 0;
}

std::size_t GlobalSize(HGLOBAL mem)
{
  Block* b = Find(mem);
  return b ? b->bytes.size() : 0;
}

}  // namespace Windows
