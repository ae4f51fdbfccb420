#include "platform/commctrl/edit/EditModel.h"

#include <algorithm>

namespace {

constexpr int kNoLimit = 0x7FFFFFFE;

bool IsLead(unsigned char c) { return c >= 0x81 && c <= 0xFE; }
bool IsTrail(unsigned char c) { return (c >= 0x40 && c <= 0x7E) || (c >= 0x80 && c <= 0xFE); }
bool IsBlank(unsigned ch) { return ch == ' ' || ch == '\t'; }
bool IsBreak(char c) { return c == '\r' || c == '\n'; }

}  // namespace

EditModel::EditModel(bool multiLine) : FMultiLine(multiLine) { LayoutAll(); }

// ---- Settings -----------------------------------------------------------------------------------

void EditModel::SetMeasurer(EditMeasurer* m)
{
  FMeasurer = m;
  LayoutAll();
}

void EditModel::SetWrapWidth(int width)
{
  width = FMultiLine ? std::max(width, 0) : 0;
  if (width == FWrapWidth) return;
  FWrapWidth = width;
  LayoutAll();
}

void EditModel::SetPasswordChar(char ch)
{
  if (ch == FPasswordChar) return;
  FPasswordChar = ch;
  LayoutAll();
}

void EditModel::SetLimit(int chars) { FLimit = chars <= 0 ? kNoLimit : chars; }

// ---- Text -----------------------------------------------------------------------------------------

std::string EditModel::Sanitize(const std::string& in, bool insert) const
{
  std::string out;
  out.reserve(in.size());
  for (size_t i = 0; i < in.size(); ++i) {
    unsigned char c = static_cast<unsigned char>(in[i]);
    if (c == 0) continue;
    if (insert && !FMultiLine && IsBreak(char(c))) break;
    if (IsLead(c)) {
      if (i + 1 < in.size() && IsTrail(static_cast<unsigned char>(in[i + 1]))) {
        out += char(c);
        out += in[++i];
      }
      continue;  // a lone lead byte is never stored
    }
    if (FCase == Case::Upper && c >= 'a' && c <= 'z') c = static_cast<unsigned char>(c - 'a' + 'A');
    if (FCase == Case::Lower && c >= 'A' && c <= 'Z') c = static_cast<unsigned char>(c - 'A' + 'a');
    out += char(c);
  }
  return out;
}

int EditModel::CountChars(const char* p, int n) const
{
  int count = 0;
  for (int i = 0; i < n; ++i, ++count) {
    if (IsLead(static_cast<unsigned char>(p[i])) && i + 1 < n) ++i;
  }
  return count;
}

bool EditModel::SetText(const std::string& text)
{
  std::string s = Sanitize(text, false);
  bool changed = s != FText;
  FText = std::move(s);
  FChars = CountChars(FText.data(), Length());
  FAnchor = FCaret = 0;
  FPendingLead = 0;
  FUndo = {};
  FModified = false;
  LayoutAll();
  return changed;
}

std::string EditModel::Prefix(int maxBytes) const
{
  if (maxBytes <= 0) return std::string();
  if (maxBytes >= Length()) return FText;
  return FText.substr(0, size_t(Boundary(maxBytes)));
}

// ---- Selection and caret ------------------------------------------------------------------------

void EditModel::SetSel(int start, int end)
{
  FPendingLead = 0;
  int n = Length();
  if (start < 0) {
    FAnchor = FCaret;
    return;
  }
  if (end < 0 || end > n) end = n;
  if (start > n) start = n;
  FAnchor = Boundary(start);
  FCaret = Boundary(end);
}

void EditModel::MoveCaret(int pos, bool extend)
{
  FPendingLead = 0;
  FCaret = Boundary(pos);
  if (!extend) FAnchor = FCaret;
}

// ---- Editing ----------------------------------------------------------------------------------------

EditModel::Result EditModel::Replace(const std::string& text, bool undoable, bool typing)
{
  FPendingLead = 0;
  std::string ins = Sanitize(text, true);
  int a = SelStart(), b = SelEnd();
  Result r;
  int removedChars = CountChars(FText.data() + a, b - a);
  long long room = (long long)FLimit - (FChars - removedChars);
  if (CountChars(ins.data(), int(ins.size())) > room) {
    // Cut at a character boundary: keep `room` characters.
    size_t keep = 0;
    for (long long k = 0; k < room && keep < ins.size(); ++k)
      keep += IsLead(static_cast<unsigned char>(ins[keep])) ? 2 : 1;
    ins.resize(keep);
    r.truncated = true;
  }
  std::string removed = FText.substr(size_t(a), size_t(b - a));
  if (ins == removed) {
    FAnchor = FCaret = b;  // the same text: no change, no undo step
    return r;
  }
  if (!undoable)
    FUndo = {};
  else if (typing && FUndo.valid && FUndo.typing && a == b && a == FUndo.pos + FUndo.insertedLen)
    FUndo.insertedLen += int(ins.size());
  else {
    FUndo = {true, a, removed, int(ins.size()), typing};
    ++FUndoSerial;
  }
  Splice(a, b, ins);
  FAnchor = FCaret = a + int(ins.size());
  r.changed = true;
  FModified = true;
  return r;
}

EditModel::Result EditModel::ReplaceSel(const std::string& text, bool undoable)
{
  return Replace(text, undoable, false);
}

EditModel::Result EditModel::TypeByte(unsigned char byte, bool* refused)
{
  if (refused) *refused = false;
  std::string ch;
  if (FPendingLead) {
    unsigned char lead = FPendingLead;
    FPendingLead = 0;
    if (IsTrail(byte)) ch = {char(lead), char(byte)};
  }
  if (ch.empty()) {
    if (IsLead(byte)) {
      FPendingLead = byte;
      return {};
    }
    if (FMultiLine && (byte == '\r' || byte == '\n'))
      ch = "\r\n";
    else if (byte >= 0x20 || (FMultiLine && byte == '\t'))
      ch = std::string(1, char(byte));
    else {
      if (refused) *refused = true;
      return {};
    }
  }
  if (FNumberOnly && !(ch.size() == 1 && ch[0] >= '0' && ch[0] <= '9')) {
    if (refused) *refused = true;
    return {};
  }
  return Replace(ch, true, true);
}

EditModel::Result EditModel::DeleteBack()
{
  FPendingLead = 0;
  if (!HasSelection()) {
    if (FCaret == 0) return {};
    FAnchor = PrevChar(FCaret);
  }
  return Replace(std::string(), true, false);
}

EditModel::Result EditModel::DeleteForward()
{
  FPendingLead = 0;
  if (!HasSelection()) {
    if (FCaret >= Length()) return {};
    FAnchor = NextChar(FCaret);
  }
  return Replace(std::string(), true, false);
}

bool EditModel::Undo()
{
  FPendingLead = 0;
  if (!FUndo.valid) return false;
  int pos = FUndo.pos;
  std::string inserted = FText.substr(size_t(pos), size_t(FUndo.insertedLen));
  std::string removed = std::move(FUndo.removed);
  Splice(pos, pos + int(inserted.size()), removed);
  // Undoing again puts back what this undo took out.
  FUndo = {true, pos, inserted, int(removed.size()), false};
  ++FUndoSerial;
  FAnchor = pos;
  FCaret = pos + int(removed.size());
  bool changed = inserted != removed;
  if (changed) FModified = true;
  return changed;
}

void EditModel::Splice(int from, int to, const std::string& text)
{
  FChars += CountChars(text.data(), int(text.size())) - CountChars(FText.data() + from, to - from);
  FText.replace(size_t(from), size_t(to - from), text);
  Relayout(from, to - from, int(text.size()));
}

// ---- Characters and words ---------------------------------------------------------------------

unsigned EditModel::CharAt(int pos, int* len) const
{
  unsigned char c = static_cast<unsigned char>(FText[size_t(pos)]);
  if (IsLead(c) && pos + 1 < Length()) {
    *len = 2;
    return (unsigned(c) << 8) | static_cast<unsigned char>(FText[size_t(pos) + 1]);
  }
  *len = 1;
  return c;
}

bool EditModel::IsBoundary(int pos) const
{
  if (pos <= 0 || pos >= Length()) return true;
  // The run of lead-range bytes before `pos` starts on a boundary (the line's start, or after
  // a byte that cannot lead); inside it bytes pair up from its start.
  int lineStart = Get(size_t(LineFromChar(pos))).start;
  int k = pos;
  while (k > lineStart && IsLead(static_cast<unsigned char>(FText[size_t(k) - 1]))) --k;
  return (pos - k) % 2 == 0;
}

int EditModel::Boundary(int pos) const
{
  pos = std::clamp(pos, 0, Length());
  return IsBoundary(pos) ? pos : pos - 1;
}

int EditModel::PrevChar(int pos) const
{
  pos = Boundary(pos);
  if (pos == 0) return 0;
  int p = IsBoundary(pos - 1) ? pos - 1 : pos - 2;
  if (FMultiLine && FText[size_t(p)] == '\n' && p > 0 && FText[size_t(p) - 1] == '\r') --p;
  return p;
}

int EditModel::NextChar(int pos) const
{
  pos = Boundary(pos);
  if (pos >= Length()) return Length();
  if (FMultiLine && FText[size_t(pos)] == '\r' && pos + 1 < Length() && FText[size_t(pos) + 1] == '\n') return pos + 2;
  int len;
  CharAt(pos, &len);
  return pos + len;
}

// 0 blank, 1 other single-byte, 2 double-byte, 3 line break.
int EditModel::ClassAt(int pos) const
{
  int len;
  unsigned ch = CharAt(pos, &len);
  if (len == 2) return 2;
  if (IsBreak(char(ch))) return 3;
  return IsBlank(ch) ? 0 : 1;
}

int EditModel::NextWord(int pos) const
{
  int n = Length();
  pos = Boundary(pos);
  if (pos >= n) return n;
  int c = ClassAt(pos);
  if (c == 3) return NextChar(pos);
  if (c != 0)
    while (pos < n && ClassAt(pos) == c) pos = NextChar(pos);
  while (pos < n && ClassAt(pos) == 0) pos = NextChar(pos);
  return pos;
}

int EditModel::PrevWord(int pos) const
{
  pos = Boundary(pos);
  while (pos > 0 && ClassAt(PrevChar(pos)) == 0) pos = PrevChar(pos);
  if (pos == 0) return 0;
  int c = ClassAt(PrevChar(pos));
  if (c == 3) return PrevChar(pos);
  while (pos > 0 && ClassAt(PrevChar(pos)) == c) pos = PrevChar(pos);
  return pos;
}

void EditModel::WordAt(int pos, int* start, int* end) const
{
  pos = Boundary(pos);
  int n = Length();
  // At the end of a word (or of the text) the word before counts.
  if (pos > 0 && (pos == n || ClassAt(pos) == 3 || (ClassAt(pos) == 0 && ClassAt(PrevChar(pos)) != 0)) &&
      ClassAt(PrevChar(pos)) != 3)
    pos = PrevChar(pos);
  if (pos >= n || ClassAt(pos) == 3) {
    *start = *end = pos;
    return;
  }
  int c = ClassAt(pos);
  int s = pos, e = NextChar(pos);
  while (s > 0 && ClassAt(PrevChar(s)) == c) s = PrevChar(s);
  while (e < n && ClassAt(e) == c) e = NextChar(e);
  *start = s;
  *end = e;
}

// ---- Lines ------------------------------------------------------------------------------------------

int EditModel::Width(unsigned ch, int x) const
{
  if (FPasswordChar) return FMeasurer ? FMeasurer->CharWidth(static_cast<unsigned char>(FPasswordChar)) : 1;
  if (ch == '\t') {
    int tab = FMeasurer ? FMeasurer->TabWidth() : 8;
    if (tab <= 0) return 0;
    return tab - x % tab;
  }
  return FMeasurer ? std::max(FMeasurer->CharWidth(ch), 0) : 1;
}

EditModel::Line EditModel::LayoutLine(int start) const
{
  Line l;
  l.start = start;
  int n = Length(), pos = start, x = 0;
  int breakAt = -1, widthAtBreak = 0;
  while (pos < n) {
    char c = FText[size_t(pos)];
    if (FMultiLine && IsBreak(c)) {
      l.end = pos;
      l.next = pos + 1 + (c == '\r' && pos + 1 < n && FText[size_t(pos) + 1] == '\n');
      l.width = x;
      return l;
    }
    int len;
    unsigned ch = CharAt(pos, &len);
    if (len == 2 && pos > start) {
      breakAt = pos;  // a line may end before any double-byte character
      widthAtBreak = x;
    }
    int w = Width(ch, x);
    if (FWrapWidth > 0 && pos > start && x + w > FWrapWidth && !IsBlank(ch)) {
      if (breakAt > start) {
        l.end = l.next = breakAt;
        l.width = widthAtBreak;
      } else {
        l.end = l.next = pos;
        l.width = x;
      }
      return l;
    }
    x += w;
    pos += len;
    if (IsBlank(ch) || len == 2) {
      breakAt = pos;  // blanks hang at the end of the line they follow
      widthAtBreak = x;
    }
  }
  l.end = l.next = n;
  l.width = x;
  return l;
}

void EditModel::LayoutAll()
{
  FLines.clear();
  FShiftFrom = 0;
  FShift = 0;
  int n = Length(), pos = 0;
  while (true) {
    Line l = LayoutLine(pos);
    FLines.push_back(l);
    if (l.next >= n) {
      if (l.end < l.next) FLines.push_back({n, n, n, 0});  // the empty line after a final break
      break;
    }
    pos = l.next;
  }
}

void EditModel::AddShift(size_t from, size_t to, int delta)
{
  for (size_t k = from; k < to; ++k) {
    FLines[k].start += delta;
    FLines[k].end += delta;
    FLines[k].next += delta;
  }
}

void EditModel::Relayout(int from, int removed, int inserted)
{
  int delta = inserted - removed;
  int n = Length();
  int changeEnd = from + inserted, oldChangeEnd = from + removed;
  // The old line holding `from`; a wrapped line before it may take text back from it.
  int first = LineFromChar(from);
  // A change at a line's start may join its text to the line break before ("\r" + "\n").
  if (first > 0 && Get(size_t(first)).start == from) --first;
  for (int k = 0; k < 2 && first > 0 && Get(size_t(first) - 1).end == Get(size_t(first) - 1).next; ++k) --first;

  std::vector<Line> fresh;
  size_t j = size_t(first) + 1, oldCount = FLines.size();
  int pos = Get(size_t(first)).start;
  bool resynced = false;
  while (true) {
    if (pos >= changeEnd) {
      // Text from an old line start after the change is unchanged, and so is its layout.
      while (j < oldCount && (Get(j).start < oldChangeEnd || Get(j).start + delta < pos)) ++j;
      if (j < oldCount && Get(j).start + delta == pos) {
        resynced = true;
        break;
      }
    }
    Line l = LayoutLine(pos);
    fresh.push_back(l);
    if (l.next >= n) {
      if (l.end < l.next) fresh.push_back({n, n, n, 0});
      break;
    }
    pos = l.next;
  }
  if (!resynced) j = oldCount;
  // Settle the owed shift where it would now be wrong: lines kept before the change take it
  // for good, lines after it that did not owe it are made to owe it, so that from `j` on every
  // line owes the same amount, and then the change's own delta.
  size_t f = size_t(first);
  if (FShiftFrom < f) {
    AddShift(FShiftFrom, f, FShift);
    FShiftFrom = f;
  }
  if (FShiftFrom > j) {
    AddShift(j, std::min(FShiftFrom, oldCount), -FShift);
    FShiftFrom = j;
  }
  FShift += delta;
  size_t replaced = j - f;
  if (fresh.size() == replaced)
    std::copy(fresh.begin(), fresh.end(), FLines.begin() + first);
  else {
    FLines.erase(FLines.begin() + first, FLines.begin() + std::ptrdiff_t(j));
    FLines.insert(FLines.begin() + first, fresh.begin(), fresh.end());
  }
  // The fresh lines are exact: take what they would owe back out.
  AddShift(f, f + fresh.size(), -FShift);
  FShiftFrom = f;
}

int EditModel::LineFromChar(int pos) const
{
  // The last line starting at or before pos.
  size_t lo = 0, hi = FLines.size();
  while (lo < hi) {
    size_t mid = (lo + hi) / 2;
    if (Get(mid).start <= pos)
      lo = mid + 1;
    else
      hi = mid;
  }
  return std::max(int(lo) - 1, 0);
}

int EditModel::LineLeft(int line, int area) const
{
  int w = FLines[size_t(line)].width;
  switch (FAlign) {
    case Align::Center: return std::max((area - w) / 2, 0);
    case Align::Right: return std::max(area - w, 0);
    default: return 0;
  }
}

int EditModel::XInLine(int line, int pos) const
{
  Line l = Get(size_t(line));
  pos = std::clamp(pos, l.start, l.end);
  int x = 0;
  for (int p = l.start; p < pos;) {
    int len;
    unsigned ch = CharAt(p, &len);
    x += Width(ch, x);
    p += len;
  }
  return x;
}

int EditModel::CharAtX(int line, int x) const
{
  Line l = Get(size_t(line));
  int cur = 0;
  for (int p = l.start; p < l.end;) {
    int len;
    unsigned ch = CharAt(p, &len);
    int w = Width(ch, cur);
    if (x < cur + (w + 1) / 2) return p;
    cur += w;
    p += len;
  }
  return l.end;
}

int EditModel::MaxLineWidth() const
{
  int w = 0;
  for (const Line& l : FLines) w = std::max(w, l.width);
  return w;
}

std::string EditModel::Visible(int start, int end) const
{
  if (!FPasswordChar) return FText.substr(size_t(start), size_t(end - start));
  return std::string(size_t(CountChars(FText.data() + start, end - start)), FPasswordChar);
}

int EditModel::WidthAt(int pos, int x) const
{
  int len;
  return Width(CharAt(pos, &len), x);
}
