#include "report/engine/run/frxAggregate.h"

#include <algorithm>

#include "platform/rtl/AnsiStrings.h"
#include "platform/rtl/Conversions.h"
#include "platform/rtl/StringList.h"
#include "platform/rtl/StringUtils.h"
#include "report/engine/data/frxDataSet.h"
#include "report/engine/model/frxBands.h"
#include "report/engine/model/frxReport.h"
#include "report/engine/model/frxUtils.h"
#include "report/engine/model/frxVariables.h"
#include "report/engine/objects/frxMemoView.h"

// ---- TfrxAggregateItem -----------------------------------------------------------------------

void TfrxAggregateItem::Reset(bool Force)
{
  if (!Force && Running && Count > 0) return;
  Count = 0;
  Value = Variant::Null();
  ColumnValues.clear();
  ColumnCounts.clear();
}

void TfrxAggregateItem::Combine(Variant& Target, const Variant& V) const
{
  if (Target.IsNull()) {
    Target = V;
    return;
  }
  if (V.IsNull()) return;
  switch (Kind) {
    case agSum:
    case agAvg:
    case agCount: Target = Target + V; break;
    case agMin:
      if (V < Target) Target = V;
      break;
    case agMax:
      if (V > Target) Target = V;
      break;
  }
}

Variant TfrxAggregateItem::Result(Integer VColumn) const
{
  Variant v = Value;
  Integer n = Count;
  if (!ColumnValues.empty()) {
    size_t i = static_cast<size_t>(std::max<Integer>(VColumn, 0));
    v = i < ColumnValues.size() ? ColumnValues[i] : Variant::Null();
    n = i < ColumnCounts.size() ? ColumnCounts[i] : 0;
  }
  switch (Kind) {
    case agAvg: return n > 0 && !v.IsNull() ? v / Variant(n) : Variant::Null();
    case agCount: return Variant(n);
    default: return v;
  }
}

// ---- Discovery -------------------------------------------------------------------------------

namespace {

bool IsSkipped(unsigned char c)
{
  return c < ' ' || c == ' ' || std::strchr("!#$%&*+,-./=[]^|", c) != nullptr || (c >= '0' && c <= '9');
}

bool EndsIdentifier(unsigned char c) { return c <= ' ' || std::strchr("!#$%&(*+,-./=[]^|", c) != nullptr; }

// Index of the Close matching the Open at From (quotes skipped, double-byte characters
// stepped over); npos when unclosed.
size_t MatchClose(const AnsiString& Text, size_t From, char Open, char Close)
{
  int depth = 0;
  char quote = 0;
  for (size_t i = From; i < Text.size(); ++i) {
    char c = Text[i];
    if (System::IsLeadByte(c) && i + 1 < Text.size()) {
      ++i;
      continue;
    }
    if (quote) {
      if (c == quote) quote = 0;
      continue;
    }
    if (c == '\'' || c == '"')
      quote = c;
    else if (c == Open)
      ++depth;
    else if (c == Close && --depth == 0)
      return i;
  }
  return AnsiString::npos;
}

TfrxAggregateFunction KindOf(const AnsiString& Upper, bool& Found)
{
  Found = true;
  if (Upper == "SUM") return agSum;
  if (Upper == "AVG") return agAvg;
  if (Upper == "MIN") return agMin;
  if (Upper == "MAX") return agMax;
  if (Upper == "COUNT") return agCount;
  Found = false;
  return agSum;
}

}  // namespace

void TfrxAggregateList::AddBand(TfrxBand* Band, TfrxBand* DefaultDataBand)
{
  if (!Band) return;
  for (TfrxComponent* c : Band->GetObjects())
    if (auto* m = dynamic_cast<TfrxCustomMemoView*>(c); m && m->AllowExpressions) ParseMemo(m, DefaultDataBand);
}

void TfrxAggregateList::ParseMemo(TfrxCustomMemoView* Memo, TfrxBand* DefaultDataBand)
{
  size_t comma = Memo->ExpressionDelimiters.find(',');
  if (comma == AnsiString::npos) return;
  AnsiString open = Memo->ExpressionDelimiters.substr(0, comma), close = Memo->ExpressionDelimiters.substr(comma + 1);
  AnsiString text = Memo->GetText();
  int start = 1;
  while (start <= static_cast<int>(text.size())) {
    int stop = start;
    AnsiString expr = frxUtils::FindBracketed(text, open, close, start, stop);
    if (stop == start) break;
    std::vector<AnsiString> chain;
    ScanName(SysUtils::Trim(expr), Memo, DefaultDataBand, chain, true);
    start = stop + 1;
  }
}

// A report variable is scanned as its value. A Whole expression that is a data field
// reference holds nothing; any other whole expression is walked.
void TfrxAggregateList::ScanName(const AnsiString& Name, TfrxCustomMemoView* Memo, TfrxBand* DefaultDataBand,
                                 std::vector<AnsiString>& Chain, bool Whole)
{
  TfrxVariables* vars = FReport->GetVariables();
  if (vars->IndexOf(Name) >= 0) {
    for (const AnsiString& n : Chain)
      if (SysUtils::SameText(n, Name)) {
        FReport->GetErrors()->Add(Memo->GetName() + ": " + Name);
        return;
      }
    Chain.push_back(Name);
    Variant v = vars->GetVariable(Name);
    Scan(v.IsNull() ? AnsiString() : Variants::VarToStr(v), Memo, DefaultDataBand, Chain);
    Chain.pop_back();
    return;
  }
  if (!Whole) return;
  TfrxDataSet* ds = nullptr;
  AnsiString field;
  FReport->ParseDataField(Name, ds, field);
  if (ds && ds->HasField(field)) return;
  Scan(Name, Memo, DefaultDataBand, Chain);
}

void TfrxAggregateList::Scan(const AnsiString& Text, TfrxCustomMemoView* Memo, TfrxBand* DefaultDataBand,
                             std::vector<AnsiString>& Chain)
{
  size_t i = 0;
  const size_t n = Text.size();
  while (i < n) {
    unsigned char c = static_cast<unsigned char>(Text[i]);
    if (c == '\'' || c == '"') {
      size_t e = i + 1;
      while (e < n && Text[e] != static_cast<char>(c)) e += System::IsLeadByte(Text[e]) && e + 1 < n ? 2 : 1;
      i = e + 1;
      continue;
    }
    if (c == '(' || c == '<') {
      size_t e = MatchClose(Text, i, static_cast<char>(c), c == '(' ? ')' : '>');
      if (e == AnsiString::npos) e = n;
      Scan(Text.substr(i + 1, e - i - 1), Memo, DefaultDataBand, Chain);
      i = e + 1;
      continue;
    }
    if (c == ')' || c == '>' || IsSkipped(c)) {
      ++i;
      continue;
    }
    // An identifier; a lead byte takes its trail byte with it, whatever that byte is.
    size_t s = i;
    while (i < n) {
      unsigned char d = static_cast<unsigned char>(Text[i]);
      if (System::IsLeadByte(static_cast<char>(d)) && i + 1 < n) {
        i += 2;
        continue;
      }
      if (EndsIdentifier(d)) break;
      ++i;
    }
    AnsiString ident = Text.substr(s, i - s);
    bool isAggregate = false;
    KindOf(SysUtils::UpperCase(ident), isAggregate);
    if (isAggregate && i < n && Text[i] == '(') {
      size_t e = MatchClose(Text, i, '(', ')');
      if (e == AnsiString::npos) e = n;
      AnsiString inner = Text.substr(i + 1, e > i ? e - i - 1 : 0);
      std::vector<AnsiString> args;
      AnsiString cur;
      int depth = 0;
      bool sq = false;
      for (size_t k = 0; k < inner.size(); ++k) {
        char ch = inner[k];
        if (System::IsLeadByte(ch) && k + 1 < inner.size()) {
          cur += inner.substr(k, 2);
          ++k;
          continue;
        }
        if (ch == '\'') sq = !sq;
        if (!sq && ch == '(') ++depth;
        if (!sq && ch == ')') --depth;
        if (!sq && depth == 0 && ch == ',' && args.size() < 2) {
          args.push_back(SysUtils::Trim(cur));
          cur.clear();
          continue;
        }
        cur += ch;
      }
      if (!SysUtils::Trim(cur).empty() || !args.empty()) args.push_back(SysUtils::Trim(cur));
      AddCall(ident, args, SysUtils::Trim(Text.substr(s, std::min(e + 1, n) - s)), Memo, DefaultDataBand);
      i = e + 1;
      continue;
    }
    if (!ident.empty()) ScanName(ident, Memo, DefaultDataBand, Chain, false);
  }
}

void TfrxAggregateList::AddCall(const AnsiString& Name, const std::vector<AnsiString>& Args, const AnsiString& Text,
                                TfrxCustomMemoView* Memo, TfrxBand* DefaultDataBand)
{
  bool found = false;
  auto item = std::make_unique<TfrxAggregateItem>();
  item->Kind = KindOf(SysUtils::UpperCase(Name), found);
  size_t first = 0;
  if (item->Kind != agCount) {
    item->Expression = Args.empty() ? AnsiString() : SysUtils::Trim(Args[0]);
    first = 1;
  }
  AnsiString bandName = Args.size() > first ? Args[first] : AnsiString();
  AnsiString flags = Args.size() > first + 1 ? Args[first + 1] : AnsiString();
  item->DataBand = DefaultDataBand;
  if (!bandName.empty())
    if (auto* b = dynamic_cast<TfrxBand*>(FReport->FindObject(bandName))) item->DataBand = b;
  Integer f = flags.empty() ? 0 : SysUtils::StrToInt(flags);
  item->CountInvisible = (f & 1) != 0;
  item->Running = (f & 2) != 0;
  item->MemoName = Memo->GetName();
  item->Text = Text;
  item->ResetBand = dynamic_cast<TfrxBand*>(Memo->GetParent());
  if (item->ResetBand && item->ResetBand->GetVertical())
    if (auto from = CrossOrigins.find(Memo); from != CrossOrigins.end()) {
      TfrxBand* h = from->second;
      if (dynamic_cast<TfrxReportSummary*>(h) || dynamic_cast<TfrxPageFooter*>(h) || dynamic_cast<TfrxFooter*>(h) ||
          dynamic_cast<TfrxGroupFooter*>(h))
        item->ResetBand = h;
    }
  item->InPageFooter = dynamic_cast<TfrxPageFooter*>(item->ResetBand) != nullptr;
  item->Reset(true);
  FItems.push_back(std::move(item));
}

// ---- Values ----------------------------------------------------------------------------------

void TfrxAggregateList::AddValue(TfrxBand* Band, Integer VColumn)
{
  for (auto& p : FItems) {
    TfrxAggregateItem& it = *p;
    if (it.DataBand != Band || !(Band->GetVisible() || it.CountInvisible)) continue;
    Variant v = Variant::Null();
    if (it.Kind != agCount) {
      AnsiString saved = FReport->CurObject;
      FReport->CurObject = it.MemoName;
      v = FReport->Calc(it.Expression);
      FReport->CurObject = saved;
      if (v.VarType() == varBoolean) v = Variant(v.AsBoolean() ? 1 : 0);
    }
    if (VColumn < 1) {
      if (it.Keeping) {
        ++it.KeptCount;
        it.Combine(it.KeptValue, v);
      } else {
        ++it.Count;
        it.Combine(it.Value, v);
      }
    } else {
      // Instances beyond the arrays grow them: a cross table may have any number of columns.
      size_t col = static_cast<size_t>(VColumn);
      if (it.ColumnValues.size() <= col) {
        it.ColumnValues.resize(std::max<size_t>(col + 1, 1001), Variant::Null());
        it.ColumnCounts.resize(it.ColumnValues.size(), 0);
      }
      ++it.ColumnCounts[col];
      it.Combine(it.ColumnValues[col], v);
    }
  }
}

Variant TfrxAggregateList::GetValue(TfrxBand* CalcBand, Integer VColumn, const AnsiString& Name,
                                    const AnsiString& Expression, TfrxBand* Band, Integer Flags)
{
  bool found = false;
  TfrxAggregateFunction kind = KindOf(SysUtils::UpperCase(Name), found);
  if (!found || kind == agCount) kind = agCount;
  AnsiString expr = SysUtils::Trim(Expression);
  for (auto& p : FItems) {
    TfrxAggregateItem& it = *p;
    if (it.ResetBand != CalcBand || it.Kind != kind || !SysUtils::SameText(it.Expression, expr)) continue;
    if (Band && it.DataBand != Band) continue;
    if (it.CountInvisible != ((Flags & 1) != 0) || it.Running != ((Flags & 2) != 0)) continue;
    return it.Result(VColumn);
  }
  return Variant::Null();
}

void TfrxAggregateList::ResetForBand(TfrxBand* Band)
{
  for (auto& p : FItems)
    if (p->ResetBand == Band) p->Reset(false);
}

void TfrxAggregateList::StartKeep()
{
  for (auto& p : FItems)
    if (p->InPageFooter && !p->Keeping) {
      p->Keeping = true;
      p->KeptCount = 0;
      p->KeptValue = Variant::Null();
    }
}

void TfrxAggregateList::EndKeep()
{
  for (auto& p : FItems) {
    TfrxAggregateItem& it = *p;
    if (!it.InPageFooter || !it.Keeping) continue;
    it.Keeping = false;
    it.Count += it.KeptCount;
    it.Combine(it.Value, it.KeptValue);
    it.KeptCount = 0;
    it.KeptValue = Variant::Null();
  }
}

void TfrxAggregateList::ClearValues()
{
  for (auto& p : FItems) p->Reset(true);
}
