#include "controls/data/filter/cxDataFilterFast.h"

#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <typeinfo>
#include <vector>

#include "controls/data/controller/cxCustomData.h"
#include "controls/data/filter/cxDataFilter.h"
#include "controls/data/filter/cxLike.h"

namespace {

template <class T>
double ReadPlain(const Byte* ASlot)
{
  T v;
  std::memcpy(&v, ASlot, sizeof(T));
  return static_cast<double>(v);
}

using TReadNumber = double (*)(const Byte*);

// Number types whose values are numbers in the Variant order (not Booleans), exact as doubles.
TReadNumber NumberReaderOf(TcxValueTypeClass AType)
{
  if (AType == TcxFloatValueType::Class() || AType == TcxDateTimeValueType::Class()) return &ReadPlain<double>;
  if (AType == TcxIntegerValueType::Class()) return &ReadPlain<Integer>;
  if (AType == TcxSmallintValueType::Class()) return &ReadPlain<SmallInt>;
  if (AType == TcxWordValueType::Class()) return &ReadPlain<Word>;
  return nullptr;
}

bool IsExactNumber(const Variant& V)
{
  switch (V.VarType()) {
    case varSmallint:
    case varInteger:
    case varSingle:
    case varDouble:
    case varDate:
    case varShortInt:
    case varByte:
    case varWord:
    case varLongWord: return true;
    default: return false;
  }
}

// The Variant order of two numbers: NaN first, then by value.
int CompareNumbers(double A, double B)
{
  const bool na = std::isnan(A), nb = std::isnan(B);
  if (na || nb) return na && nb ? 0 : na ? -1 : 1;
  return A < B ? -1 : B < A ? 1 : 0;
}

struct TNode {
  enum TKind { Group, Number, Like } Kind = Group;
  // Group
  TcxFilterBoolOperatorKind BoolKind = fbkAnd;
  std::vector<TNode> Children;
  // Number and Like
  TcxDataStorage* Storage = nullptr;
  int Offset = 0;
  TcxValueTypeClass Type = nullptr;
  TReadNumber Read = nullptr;
  const TcxValueDef* Def = nullptr;
  const double* Column = nullptr;      // the storage's number column of the field, for a list run
  const TcxTextHead* Heads = nullptr;  // the same for a short prefix test
  int Op = 0;                          // 0 =, 1 <>, 2 <, 3 <=, 4 >, 5 >=
  double Value = 0;
  AnsiString Pattern;
  char Percent = '%', Underscore = '_';
  bool Negate = false;
  int Prefix = -1;  // the pattern is this many ASCII literals and one trailing wildcard

  // The entry of the field in the record's block; nullptr for Null.
  const Byte* Slot(int R) const
  {
    const Byte* block =
        R >= 0 && R < Storage->RecordCount() ? Storage->StoredRecordBuffer(R) : Storage->GetRecordBuffer(R);
    if (!block || block[Offset] == 0) return nullptr;
    return block + Offset + 1;
  }

  bool Eval(int R) const
  {
    switch (Kind) {
      case Number: {
        const Byte* slot = Slot(R);
        int c = -1;  // Null before numbers
        if (slot) {
          double v;
          if (Read == &ReadPlain<double>)
            std::memcpy(&v, slot, sizeof v);  // the common float case without the call
          else
            v = Read(slot);
          c = CompareNumbers(v, Value);
        }
        switch (Op) {
          case 0: return c == 0;
          case 1: return c != 0;
          case 2: return c < 0;
          case 3: return c < 1;
          case 4: return c > 0;
          default: return c >= 0;
        }
      }
      case Like: {
        const Byte* slot = Slot(R);
        static const AnsiString Empty;
        const AnsiString* text = slot ? cxDataStorage::StringOfSlot(slot) : nullptr;
        if (!text) text = &Empty;
        if (Prefix >= 0)
          return (text->size() >= static_cast<size_t>(Prefix) &&
                  std::memcmp(text->data(), Pattern.data(), static_cast<size_t>(Prefix)) == 0) != Negate;
        return cxLike::LikeMatches(*text, Pattern, Percent, Underscore) != Negate;
      }
      default: {
        if (Children.empty()) return true;
        const bool first = Children[0].Eval(R);
        bool result = (BoolKind == fbkNotAnd || BoolKind == fbkNotOr) ? !first : first;
        // The tests have no side effects: stop once the result can no longer change.
        const bool settled = BoolKind == fbkAnd || BoolKind == fbkNotOr ? false : true;
        for (size_t i = 1; i < Children.size() && result != settled; ++i) {
          const bool v = Children[i].Eval(R);
          switch (BoolKind) {
            case fbkAnd: result = v; break;
            case fbkOr: result = v; break;
            case fbkNotAnd: result = !v; break;
            case fbkNotOr: result = !v; break;
          }
        }
        return result;
      }
    }
  }
};

// Which positions of the record list a step runs over: List[0 .. Count-1], or all positions
// 0 .. Count-1 when List is nullptr.
struct TSelection {
  const unsigned* List;
  size_t Count;
  bool Dense() const { return List == nullptr; }
};

template <class F>
void ForEach(const TSelection& ASel, F&& AProc)
{
  if (ASel.Dense())
    for (size_t p = 0; p < ASel.Count; ++p) AProc(static_cast<unsigned>(p));
  else
    for (size_t i = 0; i < ASel.Count; ++i) AProc(ASel.List[i]);
}

// A LIKE reads a text per record; a number test reads a plain value.
bool IsCostly(const TNode& ANode)
{
  if (ANode.Kind == TNode::Like) return true;
  if (ANode.Kind == TNode::Number) return false;
  for (const auto& c : ANode.Children)
    if (IsCostly(c)) return true;
  return false;
}

// The list form of the evaluation: one test at a time over the positions still undecided in
// its group, reading the numbered records' blocks from the storage's array. Within a group the
// number tests run first, over every position and without branches on the values; the LIKE
// tests then run only over the positions those left undecided. The tests have no side effects,
// so the order does not change any result.
class TBatch {
public:
  TBatch(const TcxDataStorage* AStorage, const int* ARecords)
      : FRecords(ARecords), FArray(AStorage->RecordArray()), FStride(AStorage->RecordStride()),
        FHas(AStorage->HasBlocks()), FCount(AStorage->RecordCount())
  {}

  // Sets AOut[p] to the node's result for every position p of ASel.
  void Run(const TNode& ANode, const TSelection& ASel, unsigned char* AOut)
  {
    switch (ANode.Kind) {
      case TNode::Number: RunNumber(ANode, ASel, AOut); break;
      case TNode::Like: RunLike(ANode, ASel, AOut); break;
      default: RunGroup(ANode, ASel, AOut); break;
    }
  }

private:
  // The field's entry for record R, nullptr when Null; internal records go the general way.
  const Byte* Slot(const TNode& ANode, int R) const
  {
    if (static_cast<unsigned>(R) >= static_cast<unsigned>(FCount)) return ANode.Slot(R);
    if (!FHas[R]) return nullptr;
    const Byte* entry = FArray + static_cast<size_t>(R) * FStride + ANode.Offset;
    return entry[0] ? entry + 1 : nullptr;
  }

  // A value that is not NaN: Null and NaN order before every number, and the IEEE comparisons
  // below answer so for a NaN, which therefore stands for Null too.
  template <class T, int Op>
  void NumberLoop(const TNode& ANode, const TSelection& ASel, unsigned char* AOut) const
  {
    const double value = ANode.Value;
    ForEach(ASel, [&](unsigned p) {
      const Byte* slot = Slot(ANode, FRecords[p]);
      double v = std::numeric_limits<double>::quiet_NaN();
      if (slot) {
        T t;
        std::memcpy(&t, slot, sizeof t);
        v = static_cast<double>(t);
      }
      bool r;
      switch (Op) {
        case 0: r = v == value; break;
        case 1: r = v != value; break;
        case 2: r = !(v >= value); break;
        case 3: r = !(v > value); break;
        case 4: r = v > value; break;
        default: r = v >= value; break;
      }
      AOut[p] = r;
    });
  }

  template <class T>
  void NumberOp(const TNode& ANode, const TSelection& ASel, unsigned char* AOut) const
  {
    switch (ANode.Op) {
      case 0: NumberLoop<T, 0>(ANode, ASel, AOut); break;
      case 1: NumberLoop<T, 1>(ANode, ASel, AOut); break;
      case 2: NumberLoop<T, 2>(ANode, ASel, AOut); break;
      case 3: NumberLoop<T, 3>(ANode, ASel, AOut); break;
      case 4: NumberLoop<T, 4>(ANode, ASel, AOut); break;
      default: NumberLoop<T, 5>(ANode, ASel, AOut); break;
    }
  }

  // The same tests over the field's number column (NaN for Null as above).
  template <int Op>
  void ColumnLoop(const TNode& ANode, const TSelection& ASel, unsigned char* AOut) const
  {
    const double value = ANode.Value;
    const double* column = ANode.Column;
    ForEach(ASel, [&](unsigned p) {
      const int r = FRecords[p];
      double v;
      if (static_cast<unsigned>(r) < static_cast<unsigned>(FCount)) {
        v = column[r];
      } else {
        const Byte* slot = ANode.Slot(r);
        v = slot ? ANode.Read(slot) : std::numeric_limits<double>::quiet_NaN();
      }
      bool res;
      switch (Op) {
        case 0: res = v == value; break;
        case 1: res = v != value; break;
        case 2: res = !(v >= value); break;
        case 3: res = !(v > value); break;
        case 4: res = v > value; break;
        default: res = v >= value; break;
      }
      AOut[p] = res;
    });
  }

  void RunNumber(const TNode& ANode, const TSelection& ASel, unsigned char* AOut) const
  {
    if (!std::isnan(ANode.Value) && ANode.Column) {
      switch (ANode.Op) {
        case 0: ColumnLoop<0>(ANode, ASel, AOut); break;
        case 1: ColumnLoop<1>(ANode, ASel, AOut); break;
        case 2: ColumnLoop<2>(ANode, ASel, AOut); break;
        case 3: ColumnLoop<3>(ANode, ASel, AOut); break;
        case 4: ColumnLoop<4>(ANode, ASel, AOut); break;
        default: ColumnLoop<5>(ANode, ASel, AOut); break;
      }
    } else if (std::isnan(ANode.Value))
      ForEach(ASel, [&](unsigned p) { AOut[p] = ANode.Eval(FRecords[p]); });
    else if (ANode.Read == &ReadPlain<double>)
      NumberOp<double>(ANode, ASel, AOut);
    else if (ANode.Read == &ReadPlain<Integer>)
      NumberOp<Integer>(ANode, ASel, AOut);
    else if (ANode.Read == &ReadPlain<SmallInt>)
      NumberOp<SmallInt>(ANode, ASel, AOut);
    else if (ANode.Read == &ReadPlain<Word>)
      NumberOp<Word>(ANode, ASel, AOut);
    else
      ForEach(ASel, [&](unsigned p) { AOut[p] = ANode.Eval(FRecords[p]); });
  }

  void RunLike(const TNode& ANode, const TSelection& ASel, unsigned char* AOut) const
  {
    static const AnsiString Empty;
    const size_t prefix = ANode.Prefix >= 0 ? static_cast<size_t>(ANode.Prefix) : 0;
    const char* pattern = ANode.Pattern.data();
    // The texts are looked up a run at a time, so the lookups of a run overlap.
    constexpr size_t Run = 256;
    const Byte* slots[Run];
    const AnsiString* texts[Run];
    unsigned positions[Run];
    size_t n = 0;
    if (ANode.Prefix >= 0 && ANode.Prefix <= 8) {
      // A prefix of at most eight bytes is decided by the texts' heads alone (no text: the
      // empty text).
      std::uint64_t want = 0;
      for (size_t i = 0; i < 8; ++i) want = (want << 8) | (i < prefix ? static_cast<unsigned char>(pattern[i]) : 0u);
      const std::uint64_t mask = prefix == 0 ? 0 : ~std::uint64_t(0) << (64 - 8 * prefix);
      if (ANode.Heads) {
        // The field's head column: one read per record, no lookups.
        ForEach(ASel, [&](unsigned p) {
          const int r = FRecords[p];
          TcxTextHead head;
          if (static_cast<unsigned>(r) < static_cast<unsigned>(FCount)) {
            head = ANode.Heads[r];
          } else {
            const Byte* slot = ANode.Slot(r);
            cxDataStorage::TextHeadsOfSlots(&slot, 1, &head);
          }
          const bool m = head.Size >= prefix && (head.Bytes & mask) == want;
          AOut[p] = m != ANode.Negate;
        });
        return;
      }
      TcxTextHead heads[Run];
      auto flushHeads = [&] {
        cxDataStorage::TextHeadsOfSlots(slots, n, heads);
        for (size_t i = 0; i < n; ++i) {
          const bool m = heads[i].Size >= prefix && (heads[i].Bytes & mask) == want;
          AOut[positions[i]] = m != ANode.Negate;
        }
        n = 0;
      };
      ForEach(ASel, [&](unsigned p) {
        slots[n] = Slot(ANode, FRecords[p]);
        positions[n] = p;
        if (++n == Run) flushHeads();
      });
      flushHeads();
      return;
    }
    auto flush = [&] {
      cxDataStorage::StringsOfSlots(slots, n, texts);
      for (size_t i = 0; i < n; ++i) {
        const AnsiString* text = texts[i] ? texts[i] : &Empty;
        bool m;
        if (ANode.Prefix >= 0) {
          m = text->size() >= prefix;
          const char* d = text->data();
          for (size_t k = 0; m && k < prefix; ++k) m = d[k] == pattern[k];
        } else {
          m = cxLike::LikeMatches(*text, ANode.Pattern, ANode.Percent, ANode.Underscore);
        }
        AOut[positions[i]] = m != ANode.Negate;
      }
      n = 0;
    };
    ForEach(ASel, [&](unsigned p) {
      slots[n] = Slot(ANode, FRecords[p]);
      positions[n] = p;
      if (++n == Run) flush();
    });
    flush();
  }

  // A group answers its first child's result (negated for the Not kinds), then takes each next
  // child's (negated the same way) while the result is not settled.
  void RunGroup(const TNode& ANode, const TSelection& ASel, unsigned char* AOut)
  {
    if (ANode.Children.empty()) {
      ForEach(ASel, [&](unsigned p) { AOut[p] = 1; });
      return;
    }
    const unsigned char negate = ANode.BoolKind == fbkNotAnd || ANode.BoolKind == fbkNotOr ? 1 : 0;
    const unsigned char settled = ANode.BoolKind == fbkAnd || ANode.BoolKind == fbkNotOr ? 0 : 1;
    std::vector<const TNode*> order;
    for (const auto& c : ANode.Children)
      if (!IsCostly(c)) order.push_back(&c);
    for (const auto& c : ANode.Children)
      if (IsCostly(c)) order.push_back(&c);

    TSelection open = ASel;      // the positions still undecided (dense: see below)
    std::vector<unsigned> list;  // open's list once it has one of its own
    std::vector<unsigned char> scratch;
    // While open is dense and a child was run, the undecided positions are those whose result
    // is not settled; a cheap child then runs over all of them and is blended in.
    bool blended = false;
    for (size_t i = 0; i < order.size() && open.Count > 0; ++i) {
      const TNode& child = *order[i];
      if (blended && open.Dense() && !IsCostly(child)) {
        scratch.resize(open.Count);
        Run(child, open, scratch.data());
        for (size_t p = 0; p < open.Count; ++p) {
          const unsigned char v = scratch[p] ^ negate;
          AOut[p] = AOut[p] == settled ? settled : v;
        }
        continue;
      }
      if (blended && open.Dense() && child.Kind == TNode::Group) {
        // A costly group: it runs over all positions too, and lists for its own costly tests
        // only the positions that neither this group nor one around it has decided.
        FDecided.push_back({AOut, settled});
        scratch.resize(open.Count);
        Run(child, open, scratch.data());
        FDecided.pop_back();
        for (size_t p = 0; p < open.Count; ++p) {
          const unsigned char v = scratch[p] ^ negate;
          AOut[p] = AOut[p] == settled ? settled : v;
        }
        continue;
      }
      if (open.Dense() && IsCostly(child) && (blended || !FDecided.empty())) {
        // A costly test: from here on, the undecided positions as a list.
        list.resize(open.Count);
        size_t n = 0;
        for (size_t p = 0; p < open.Count; ++p) {
          unsigned char undecided = !blended || AOut[p] != settled;
          for (const auto& d : FDecided) undecided &= d.first[p] != d.second;
          list[n] = static_cast<unsigned>(p);
          n += undecided;
        }
        list.resize(n);
        open = {list.data(), n};
        if (n == 0) break;
      }
      Run(child, open, AOut);
      if (negate) ForEach(open, [&](unsigned p) { AOut[p] ^= 1; });
      if (open.Dense()) {
        blended = true;
        continue;
      }
      if (i + 1 == order.size()) break;  // no child left to narrow the list for
      // Keep the list of the positions still undecided (in place once the list is ours).
      std::vector<unsigned> next;
      std::vector<unsigned>& target = open.List == list.data() && !list.empty() ? list : next;
      if (&target == &next) next.resize(open.Count);
      size_t n = 0;
      for (size_t k = 0; k < open.Count; ++k) {
        const unsigned p = open.List[k];
        target[n] = p;
        n += AOut[p] != settled;
      }
      target.resize(n);
      if (&target == &next) list.swap(next);
      open = {list.data(), n};
    }
  }

  // The dense groups around the one running: their results and settled values. A position
  // one of them has settled needs no costly test any more.
  std::vector<std::pair<const unsigned char*, unsigned char>> FDecided;
  const int* FRecords;
  const Byte* FArray;
  size_t FStride;
  const Byte* FHas;
  int FCount;
};

class TProgram : public TcxDataFilterProgram {
public:
  TProgram(TNode ARoot, const TcxDataStorage* AStorage) : FRoot(std::move(ARoot)), FStorage(AStorage) {}
  bool Matches(int ARecordIndex) const override { return FRoot.Eval(ARecordIndex); }
  void MatchRecords(const int* ARecords, size_t ACount, unsigned char* AResults) const override
  {
    // Over a whole list a test reads the field's column from the storage (looked up now: the
    // records may have changed since the criteria were compiled); one record reads the block.
    FindColumns(FRoot);
    TBatch(FStorage, ARecords).Run(FRoot, {nullptr, ACount}, AResults);
  }

private:
  static void FindColumns(TNode& ANode)
  {
    if (ANode.Kind == TNode::Number) ANode.Column = ANode.Storage->NumberColumn(ANode.Def);
    if (ANode.Kind == TNode::Like && ANode.Prefix >= 0 && ANode.Prefix <= 8)
      ANode.Heads = ANode.Storage->TextHeadColumn(ANode.Def);
    for (auto& c : ANode.Children) FindColumns(c);
  }

  mutable TNode FRoot;
  const TcxDataStorage* FStorage;
};

bool CompileCondition(TcxDataFilterCriteria* ACriteria, TcxFilterCriteriaItem* AItem, TNode& ANode)
{
  if (typeid(*AItem) != typeid(TcxDataFilterCriteriaItem)) return false;
  TcxCustomDataField* f = static_cast<TcxDataFilterCriteriaItem*>(AItem)->GetField();
  TcxValueDef* def = f ? f->GetValueDef() : nullptr;
  if (!def || !def->GetIsStored()) return false;
  TcxFilterOperator* op = AItem->GetOperator();
  if (!op) return false;
  const Variant& value = AItem->GetValue();
  ANode.Storage = f->GetDataController()->GetStorage();
  ANode.Offset = def->GetEntryOffset();
  ANode.Type = def->GetTypeClass();
  const std::type_info& t = typeid(*op);
  if ((ANode.Read = NumberReaderOf(ANode.Type)) && IsExactNumber(value)) {
    static const std::type_info* const ops[] = {
        &typeid(TcxFilterEqualOperator),   &typeid(TcxFilterNotEqualOperator),
        &typeid(TcxFilterLessOperator),    &typeid(TcxFilterLessEqualOperator),
        &typeid(TcxFilterGreaterOperator), &typeid(TcxFilterGreaterEqualOperator)};
    for (int i = 0; i < 6; ++i)
      if (t == *ops[i]) {
        ANode.Kind = TNode::Number;
        ANode.Op = i;
        ANode.Value = value.AsDouble();
        ANode.Def = def;
        return true;
      }
    return false;
  }
  // Case-insensitive criteria upper-case both sides first: left to the general evaluation.
  if (ANode.Type == TcxStringValueType::Class() && value.VarType() == varString &&
      !ACriteria->GetOptions().Contains(fcoCaseInsensitive) &&
      (t == typeid(TcxFilterLikeOperator) || t == typeid(TcxFilterNotLikeOperator))) {
    ANode.Kind = TNode::Like;
    ANode.Def = def;
    ANode.Pattern = value.AsString();
    ANode.Percent = ACriteria->GetPercentWildcard();
    ANode.Underscore = ACriteria->GetUnderscoreWildcard();
    ANode.Negate = t == typeid(TcxFilterNotLikeOperator);
    // "abc%": ASCII literals cannot meet a lead byte, so a byte prefix is the character prefix.
    const AnsiString& pt = ANode.Pattern;
    size_t n = pt.size();
    while (n > 0 && pt[n - 1] == ANode.Percent) --n;
    bool literal = n < pt.size();
    for (size_t i = 0; literal && i < n; ++i) {
      const unsigned char ch = static_cast<unsigned char>(pt[i]);
      literal = ch >= 0x20 && ch < 0x80 && pt[i] != ANode.Percent && pt[i] != ANode.Underscore;
    }
    if (literal) ANode.Prefix = static_cast<int>(n);
    return true;
  }
  return false;
}

bool CompileGroup(TcxDataFilterCriteria* ACriteria, TcxFilterCriteriaItemList* AList, TNode& ANode)
{
  ANode.Kind = TNode::Group;
  ANode.BoolKind = AList->GetBoolOperatorKind();
  for (int i = 0; i < AList->GetCount(); ++i) {
    TcxCustomFilterCriteriaItem* item = AList->GetItem(i);
    TNode child;
    const bool ok = item->IsItemList() ? CompileGroup(ACriteria, static_cast<TcxFilterCriteriaItemList*>(item), child)
                                       : CompileCondition(ACriteria, static_cast<TcxFilterCriteriaItem*>(item), child);
    if (!ok) return false;
    ANode.Children.push_back(std::move(child));
  }
  return true;
}

}  // namespace

namespace cxDataFilterFast {

std::unique_ptr<TcxDataFilterProgram> Compile(TcxDataFilterCriteria* ACriteria)
{
  if (!ACriteria->GetDataController()->IsFilterDataValueStored()) return nullptr;
  TNode root;
  if (!CompileGroup(ACriteria, ACriteria->GetRoot(), root)) return nullptr;
  return std::make_unique<TProgram>(std::move(root), ACriteria->GetDataController()->GetStorage());
}

}  // namespace cxDataFilterFast
