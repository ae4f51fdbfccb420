#include "controls/data/cxDataFilterFast.h"

#include <cmath>
#include <cstring>
#include <typeinfo>
#include <vector>

#include "controls/data/cxCustomData.h"
#include "controls/data/cxDataFilter.h"
#include "controls/data/cxLike.h"

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
    case varSmallint: case varInteger: case varSingle: case varDouble: case varDate: case varShortInt:
    case varByte: case varWord: case varLongWord:
      return true;
    default:
      return false;
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
  int Op = 0;  // 0 =, 1 <>, 2 <, 3 <=, 4 >, 5 >=
  double Value = 0;
  AnsiString Pattern;
  char Percent = '%', Underscore = '_';
  bool Negate = false;
  int Prefix = -1;  // the pattern is this many ASCII literals and one trailing wildcard

  // The entry of the field in the record's block; nullptr for Null.
  const Byte* Slot(int R) const
  {
    const Byte* block = R >= 0 ? Storage->StoredRecordBuffer(R) : Storage->GetRecordBuffer(R);
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
          return (text->size() >= static_cast<size_t>(Prefix) && std::memcmp(text->data(), Pattern.data(), static_cast<size_t>(Prefix)) == 0) != Negate;
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

class TProgram : public TcxDataFilterProgram {
public:
  explicit TProgram(TNode ARoot) : FRoot(std::move(ARoot)) {}
  bool Matches(int ARecordIndex) const override { return FRoot.Eval(ARecordIndex); }
  void MatchRecords(const int* ARecords, size_t ACount, unsigned char* AResults) const override
  {
    for (size_t i = 0; i < ACount; ++i) AResults[i] = FRoot.Eval(ARecords[i]);
  }

private:
  TNode FRoot;
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
    static const std::type_info* const ops[] = {&typeid(TcxFilterEqualOperator), &typeid(TcxFilterNotEqualOperator),
                                                &typeid(TcxFilterLessOperator), &typeid(TcxFilterLessEqualOperator),
                                                &typeid(TcxFilterGreaterOperator), &typeid(TcxFilterGreaterEqualOperator)};
    for (int i = 0; i < 6; ++i)
      if (t == *ops[i]) {
        ANode.Kind = TNode::Number;
        ANode.Op = i;
        ANode.Value = value.AsDouble();
        return true;
      }
    return false;
  }
  // Case-insensitive criteria upper-case both sides first: left to the general evaluation.
  if (ANode.Type == TcxStringValueType::Class() && value.VarType() == varString &&
      !ACriteria->GetOptions().Contains(fcoCaseInsensitive) &&
      (t == typeid(TcxFilterLikeOperator) || t == typeid(TcxFilterNotLikeOperator))) {
    ANode.Kind = TNode::Like;
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
  return std::make_unique<TProgram>(std::move(root));
}

}  // namespace cxDataFilterFast
