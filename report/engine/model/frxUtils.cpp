#include "report/engine/model/frxUtils.h"

#include <cmath>

#include "platform/classes/ClassRegistry.h"
#include "platform/classes/Collection.h"
#include "platform/classes/Component.h"
#include "platform/classes/Reader.h"
#include "platform/classes/Writer.h"
#include "platform/rtl/AnsiStrings.h"
#include "platform/rtl/Conversions.h"
#include "platform/rtl/FormatSettings.h"
#include "platform/rtl/FormatText.h"
#include "platform/rtl/MessageSeam.h"
#include "platform/rtl/StringList.h"
#include "platform/rtl/Variants.h"
#include "report/engine/model/frxClass.h"
#include "report/engine/model/frxRes.h"
#include "report/engine/model/frxReport.h"
#include "report/engine/serialize/frxXMLSerializer.h"

namespace frxUtils {

AnsiString FindBracketed(const AnsiString& Text, const AnsiString& Open, const AnsiString& Close,
                         int& Start, int& Stop)
{
  Stop = Start;
  const int len = static_cast<int>(Text.size());
  if (Open.empty() || Close.empty() || Start < 1 ||
      len < Start + static_cast<int>(Open.size() + Close.size()) - 1)
    return AnsiString();
  auto at = [&](int i, const AnsiString& s) { return Text.compare(i - 1, s.size(), s) == 0; };
  int depth = 0, first = 0;
  bool dq = false, sq = false;
  int i = Start;
  while (i <= len) {
    char c = Text[i - 1];
    if (System::IsLeadByte(c) && i < len) {
      i += 2;
      continue;
    }
    if (!dq && !sq) {
      if (at(i, Open)) {
        if (depth == 0) first = i;
        ++depth;
        i += static_cast<int>(Open.size());
        continue;
      }
      if (depth > 0 && at(i, Close)) {
        --depth;
        i += static_cast<int>(Close.size());
        if (depth == 0) {
          Start = first;
          Stop = i - 1;
          int from = first + static_cast<int>(Open.size());
          return Text.substr(from - 1, (i - static_cast<int>(Close.size())) - from);
        }
        continue;
      }
    }
    if (c == '"' && !sq) dq = !dq;
    else if (c == '\'' && !dq) sq = !sq;
    ++i;
  }
  return AnsiString();
}

void SplitString(const AnsiString& Text, TStrings* List, const AnsiString& Separator)
{
  List->Clear();
  if (Text.empty()) return;
  if (Separator.empty()) {
    List->Add(Text);
    return;
  }
  size_t from = 0;
  while (from < Text.size()) {
    size_t at = Text.find(Separator, from);
    // A separator byte that is the trail of a double-byte character is no separator.
    while (at != AnsiString::npos && at > 0 && System::ByteType(Text, static_cast<int>(at) + 1) == System::mbTrailByte)
      at = Text.find(Separator, at + 1);
    if (at == AnsiString::npos) {
      List->Add(Text.substr(from));
      return;
    }
    List->Add(Text.substr(from, at - from));
    from = at + Separator.size();
  }
}

Extended StrToFloatAnySep(const AnsiString& Text)
{
  AnsiString s;
  for (char c : Text) {
    if (c == ' ') continue;
    s += (c == ',' || c == '.') ? SysUtils::DecimalSeparator : c;
  }
  return SysUtils::StrToFloat(s);
}

AnsiString FloatToStrTwoDecimals(Extended Value)
{
  if (std::floor(Value) == Value) return SysUtils::FloatToStr(static_cast<double>(Value));
  return SysUtils::Format("%2.2f", {static_cast<double>(Value)});
}

TfrxRect MakeFloatRect(Extended Left, Extended Top, Extended Right, Extended Bottom)
{
  return TfrxRect{Left, Top, Right, Bottom};
}

TfrxPoint MakeFloatPoint(Extended X, Extended Y) { return TfrxPoint{X, Y}; }

void ParsePageNumbers(const AnsiString& Text, TStrings* List, Integer PageCount)
{
  List->Clear();
  AnsiString s;
  for (char c : Text)
    if (c != ' ') s += c;
  if (s.empty()) return;
  if (s.back() == '-') s += SysUtils::IntToStr(PageCount);
  TStringList items;
  SplitString(s, &items, ",");
  for (Integer i = 0; i < items.GetCount(); ++i) {
    AnsiString item = items[i];
    size_t dash = item.find('-');
    if (dash == AnsiString::npos) {
      List->Add(SysUtils::IntToStr(SysUtils::StrToInt(item)));
      continue;
    }
    Integer first = SysUtils::StrToInt(item.substr(0, dash));
    Integer last = SysUtils::StrToInt(item.substr(dash + 1));
    for (Integer n = first; n <= last; ++n) List->Add(SysUtils::IntToStr(n));
  }
}

AnsiString GetReferenceName(TfrxComponent* Report, TComponent* Obj)
{
  if (!Obj) return AnsiString();
  TComponent* owner = Obj->GetOwner();
  if (!owner || owner == Report || (Report && owner == Report->GetOwner())) return Obj->GetName();
  auto isGlobal = [](TComponent* c) {
    return c && !c->GetName().empty() && Classes::FindGlobalComponent(c->GetName()) == c;
  };
  if (isGlobal(owner)) return owner->GetName() + "." + Obj->GetName();
  if (isGlobal(owner->GetOwner()))
    return owner->GetOwner()->GetName() + "." + owner->GetName() + "." + Obj->GetName();
  return AnsiString();
}

TComponent* FindReference(TComponent* Owner, const AnsiString& Name)
{
  try {
    TStringList parts;
    SplitString(Name, &parts, ".");
    if (parts.GetCount() == 1) {
      TComponent* c = Owner ? Owner->FindComponent(Name) : nullptr;
      if (!c && dynamic_cast<TfrxReport*>(Owner) && Owner->GetOwner())
        c = Owner->GetOwner()->FindComponent(Name);
      return c;
    }
    if (parts.GetCount() < 2 || parts.GetCount() > 3) return nullptr;
    TComponent* global = Classes::FindGlobalComponent(parts[0]);
    if (!global) return nullptr;
    if (parts.GetCount() == 2) return global->FindComponent(parts[1]);
    TComponent* frame = global->FindComponent(parts[1]);
    return frame ? frame->FindComponent(parts[2]) : nullptr;
  } catch (const Exception&) {
    throw EClassNotFound("Missing " + Name);
  }
}

void WriteCollection(TCollection* Collection, TWriter* Writer, TfrxComponent* Report)
{
  if (!Report || !Report->GetIsWriting()) {
    Writer->WriteCollection(Collection);
    return;
  }
  TfrxXMLSerializer xml(nullptr);
  xml.SetOwner(Report);
  Writer->WriteListBegin();
  for (int i = 0; i < Collection->GetCount(); ++i) {
    AnsiString text = xml.WriteProperties(Collection->GetItem(i));
    Writer->WriteListBegin();
    Writer->WriteValue(vaLString);
    std::uint32_t len = static_cast<std::uint32_t>(text.size());
    Byte bytes[4] = {Byte(len), Byte(len >> 8), Byte(len >> 16), Byte(len >> 24)};
    Writer->Write(bytes, 4);
    Writer->Write(text.data(), static_cast<Int64>(text.size()));
    Writer->WriteListEnd();
  }
  Writer->WriteListEnd();
}

namespace {

// The 7-bit form of old collection streams: byte 1 followed by b stands for b + 128.
AnsiString From7Bit(const AnsiString& s)
{
  AnsiString r;
  for (size_t i = 0; i < s.size(); ++i) {
    if (s[i] == '\x01' && i + 1 < s.size()) r += static_cast<char>(static_cast<unsigned char>(s[++i]) + 128);
    else r += s[i];
  }
  return r;
}

}  // namespace

void ReadCollection(TCollection* Collection, TReader* Reader, TfrxComponent* Report)
{
  if (Reader->NextValue() == vaCollection) {
    Reader->ReadValue();
    Reader->ReadCollection(Collection);
    for (int i = 0; i < Collection->GetCount(); ++i) {
      TCollectionItem* item = Collection->GetItem(i);
      for (const TPropInfo* p : TypInfo::ClassTypeOf(item)->Properties()) {
        if (p->IsReadOnly()) continue;
        TTypeKind k = p->PropType->Kind;
        if (k == tkString || k == tkLString)
          TypInfo::SetStrProp(item, p, From7Bit(TypInfo::GetStrProp(item, p)));
        else if (k == tkVariant) {
          Variant v = TypInfo::GetVariantProp(item, p);
          if (v.VarType() == varString)
            TypInfo::SetVariantProp(item, p, Variant(From7Bit(Variants::VarToStr(v))));
        }
      }
    }
    return;
  }
  Collection->Clear();
  auto* report = dynamic_cast<TfrxReport*>(Report);
  TfrxXMLSerializer* loading = report ? report->GetLoadingSerializer() : nullptr;
  Reader->ReadListBegin();
  while (!Reader->EndOfList()) {
    Reader->ReadListBegin();
    AnsiString text = Reader->ReadString();
    Reader->ReadListEnd();
    TCollectionItem* item = Collection->Add();
    if (loading) {
      loading->ReadProperties(text, item);
    } else {
      TfrxXMLSerializer own(nullptr);
      own.ReadPersistentStr(Report, item, text);
    }
  }
  Reader->ReadListEnd();
}

void ShowErrorBox(const AnsiString& Text)
{
  MessageSeam::Show(Text, frxRes::Get("mbError"), MB_OK | MB_ICONERROR);
}

}  // namespace frxUtils
