#include "report/engine/model/frxUtils.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "platform/classes/ClassRegistry.h"
#include "platform/classes/Collection.h"
#include "platform/classes/Component.h"
#include "platform/classes/Reader.h"
#include "platform/classes/Writer.h"
#include "platform/forms/graphics/Font.h"
#include "platform/rtl/AnsiStrings.h"
#include "platform/rtl/Conversions.h"
#include "platform/rtl/FormatSettings.h"
#include "platform/rtl/FormatText.h"
#include "platform/rtl/MessageSeam.h"
#include "platform/rtl/StringList.h"
#include "platform/rtl/Variants.h"
#include "platform/forms/graphics/Bitmap.h"
#include "platform/forms/graphics/Canvas.h"
#include "platform/gdi/dc/DeviceContext.h"
#include "platform/gdi/image/Bitmaps.h"
#include "platform/sys/AppPaths.h"
#include "report/engine/model/frxClass.h"
#include "report/engine/model/frxRes.h"
#include "report/engine/model/frxReport.h"
#include "report/engine/serialize/frxXMLSerializer.h"

namespace frxUtils {

AnsiString FindBracketed(const AnsiString& Text, const AnsiString& Open, const AnsiString& Close, int& Start, int& Stop)
{
  Stop = Start;
  const int len = static_cast<int>(Text.size());
  if (Open.empty() || Close.empty() || Start < 1 || len < Start + static_cast<int>(Open.size() + Close.size()) - 1)
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
    if (c == '"' && !sq)
      dq = !dq;
    else if (c == '\'' && !dq)
      sq = !sq;
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
  if (isGlobal(owner->GetOwner())) return owner->GetOwner()->GetName() + "." + owner->GetName() + "." + Obj->GetName();
  return AnsiString();
}

TComponent* FindReference(TComponent* Owner, const AnsiString& Name)
{
  try {
    TStringList parts;
    SplitString(Name, &parts, ".");
    if (parts.GetCount() == 1) {
      TComponent* c = Owner ? Owner->FindComponent(Name) : nullptr;
      if (!c && dynamic_cast<TfrxReport*>(Owner) && Owner->GetOwner()) c = Owner->GetOwner()->FindComponent(Name);
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
    if (s[i] == '\x01' && i + 1 < s.size())
      r += static_cast<char>(static_cast<unsigned char>(s[++i]) + 128);
    else
      r += s[i];
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
          if (v.VarType() == varString) TypInfo::SetVariantProp(item, p, Variant(From7Bit(Variants::VarToStr(v))));
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

void ShowErrorBox(const AnsiString& Text) { MessageSeam::Show(Text, frxRes::Get("mbError"), MB_OK | MB_ICONERROR); }

TService<std::function<TApplicationContainers()>>& ApplicationContainersService()
{
  static TService<std::function<TApplicationContainers()>> slot(
      std::make_unique<std::function<TApplicationContainers()>>([] { return TApplicationContainers(); }));
  return slot;
}

namespace {

// By class name, since the window layer's classes are not known down here.
bool DescendsFrom(TComponent* C, const char* ClassName)
{
  for (TClass cls = TypInfo::ClassTypeOf(C); cls; cls = cls->ClassParent())
    if (cls->ClassName() == ClassName) return true;
  return false;
}

}  // namespace

void GetComponentList(TComponent* Report, TClass ClassRef, TStrings* List, TComponent* Skip)
{
  List->Clear();
  auto* report = dynamic_cast<TfrxReport*>(Report);
  auto scan = [&](TComponent* Owner) {
    if (!Owner) return;
    for (int i = 0; i < Owner->GetComponentCount(); ++i) {
      TComponent* c = Owner->GetComponent(i);
      if (c != Skip && TypInfo::ClassTypeOf(c)->InheritsFrom(ClassRef)) List->AddObject(GetReferenceName(report, c), c);
    }
  };
  if (report) scan(report);
  TApplicationContainers app = ApplicationContainersService().Current()();
  for (TComponent* form : app.Forms) {
    scan(form);
    if (!form) continue;
    for (int i = 0; i < form->GetComponentCount(); ++i)
      if (DescendsFrom(form->GetComponent(i), "TCustomFrame")) scan(form->GetComponent(i));
  }
  for (TComponent* dm : app.DataModules) scan(dm);
  for (TComponent* form : app.CustomForms) {
    if (!form || TypInfo::ClassTypeOf(form)->ClassName() != "TDataModuleForm") continue;
    for (int i = 0; i < form->GetComponentCount(); ++i)
      if (DescendsFrom(form->GetComponent(i), "TDataModule")) scan(form->GetComponent(i));
  }
}

void DrawTransparentBitmap(TCanvas* Canvas, int X, int Y, TBitmap* Bitmap)
{
  if (!Canvas || !Bitmap || Bitmap->GetEmpty()) return;
  // A transparent copy, so that the caller's bitmap keeps its own setting.
  TBitmap masked;
  masked.Assign(Bitmap);
  masked.SetTransparent(true);
  Canvas->Draw(X, Y, &masked);
}

void DrawBitmap(TCanvas* Canvas, const RECT& Rect, TBitmap* Bitmap)
{
  if (!Canvas || !Bitmap || Bitmap->GetEmpty()) return;
  const int w = Bitmap->GetWidth(), h = Bitmap->GetHeight();
  std::vector<std::uint32_t> bits(static_cast<size_t>(w) * h);
  for (int y = 0; y < h; ++y) std::copy_n(Bitmap->GetScanLine(y), w, bits.begin() + static_cast<size_t>(y) * w);
  BITMAPINFO bmi;
  bmi.bmiHeader.biWidth = w;
  bmi.bmiHeader.biHeight = -h;  // top-down, as the rows were copied
  bmi.bmiHeader.biPlanes = 1;
  bmi.bmiHeader.biBitCount = 32;
  bmi.bmiHeader.biCompression = BI_RGB;
  HDC dc = Canvas->GetHandle();
  int oldMode = 0;
  if (Bitmap->GetPixelFormat() != pf1bit) oldMode = Windows::SetStretchBltMode(dc, COLORONCOLOR);
  Windows::StretchDIBits(dc, Rect.left, Rect.top, Rect.right - Rect.left, Rect.bottom - Rect.top, 0, 0, w, h,
                         bits.data(), &bmi, DIB_RGB_COLORS, SRCCOPY);
  if (oldMode) Windows::SetStretchBltMode(dc, oldMode);
}

void DrawGraphic(TCanvas* Canvas, const RECT& Rect, TGraphic* Graphic)
{
  if (!Canvas || !Graphic || Graphic->GetEmpty()) return;
  TBitmap bmp;
  bmp.SetPixelFormat(pf32bit);
  bmp.SetSize(Graphic->GetWidth(), Graphic->GetHeight());
  bmp.GetCanvas()->Draw(0, 0, Graphic);
  DrawBitmap(Canvas, Rect, &bmp);
}

AnsiString GetTempFile(const AnsiString& Dir) { return AppPaths::CreateTempFile("fr", Dir); }

void SetDefaultFont(TFont* Font)
{
  Font->SetPixelsPerInch(96);
  Font->SetName("Arial");
  Font->SetSize(10);
  Font->SetColor(clBlack);
  Font->SetCharset(1);  // DEFAULT_CHARSET
  Font->SetStyle(TFontStyles());
  Font->SetPitch(fpDefault);
}

}  // namespace frxUtils
