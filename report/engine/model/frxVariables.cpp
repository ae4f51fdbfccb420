#include "report/engine/model/frxVariables.h"

#include "platform/rtl/StringList.h"
#include "platform/rtl/Streams.h"
#include "report/engine/serialize/frxXMLSerializer.h"
#include "report/engine/xml/frxXML.h"
#include "platform/rtl/StringUtils.h"
#include "platform/rtl/SaveSeam.h"

using SysUtils::SameText;

namespace {

bool IsHeader(const AnsiString& Name) { return !Name.empty() && Name[0] == ' '; }

}  // namespace

void TfrxVariable::Assign(TPersistent* Source)
{
  if (auto* v = dynamic_cast<TfrxVariable*>(Source)) {
    Name = v->Name;
    Value = v->Value;
    return;
  }
  TCollectionItem::Assign(Source);
}

TfrxVariables::TfrxVariables() : TCollection(TfrxVariable::StaticClass()) {}

int TfrxVariables::IndexOf(const AnsiString& Name) const
{
  for (int i = 0; i < GetCount(); ++i)
    if (SameText(GetItems(i)->Name, Name)) return i;
  return -1;
}

Variant TfrxVariables::GetVariable(const AnsiString& Name) const
{
  int i = IndexOf(Name);
  return i < 0 ? Variant::Null() : GetItems(i)->Value;
}

void TfrxVariables::SetVariable(const AnsiString& Name, const Variant& Value)
{
  int i = IndexOf(Name);
  TfrxVariable* v = i < 0 ? Add() : GetItems(i);
  if (i < 0) v->Name = Name;
  v->Value = Value;
}

void TfrxVariables::GetCategoriesList(TStrings* List, bool ClearList) const
{
  if (ClearList) List->Clear();
  for (int i = 0; i < GetCount(); ++i)
    if (IsHeader(GetItems(i)->Name)) List->Add(GetItems(i)->Name.substr(1));
}

int TfrxVariables::CategoryIndex(const AnsiString& Category) const
{
  for (int i = 0; i < GetCount(); ++i)
    if (IsHeader(GetItems(i)->Name) && SameText(GetItems(i)->Name.substr(1), Category)) return i;
  return -1;
}

int TfrxVariables::BlockEnd(int Header) const
{
  int i = Header + 1;
  while (i < GetCount() && !IsHeader(GetItems(i)->Name)) ++i;
  return i;
}

void TfrxVariables::GetVariablesList(const AnsiString& Category, TStrings* List) const
{
  List->Clear();
  int i = 0;
  if (!Category.empty()) {
    int h = CategoryIndex(Category);
    if (h < 0) return;
    i = h + 1;
  }
  for (; i < GetCount(); ++i) {
    const AnsiString& n = GetItems(i)->Name;
    if (n.empty() || IsHeader(n)) break;
    List->Add(n);
  }
}

void TfrxVariables::DeleteCategory(const AnsiString& Name)
{
  int h = CategoryIndex(Name);
  if (h < 0) return;
  for (int n = BlockEnd(h) - h; n > 0; --n) Delete(h);
}

void TfrxVariables::DeleteVariable(const AnsiString& Name)
{
  int i = IndexOf(Name);
  if (i >= 0) Delete(i);
}

void TfrxVariables::AddVariable(const AnsiString& Category, const AnsiString& Name, const Variant& Value)
{
  int h = CategoryIndex(Category);
  if (h < 0) return;
  auto* v = static_cast<TfrxVariable*>(Insert(BlockEnd(h)));
  v->Name = Name;
  v->Value = Value;
}

void TfrxVariables::SaveToXMLItem(TfrxXMLItem* Item)
{
  TfrxXMLSerializer s(nullptr);
  Item->SetName("variables");
  for (int i = 0; i < GetCount(); ++i) {
    TfrxXMLItem* child = Item->Add();
    child->SetName("item");
    AnsiString text = s.WriteProperties(GetItems(i));
    if (!text.empty()) text.erase(0, 1);
    child->SetText(text);
  }
}

void TfrxVariables::LoadFromXMLItem(TfrxXMLItem* Item)
{
  Clear();
  TfrxXMLSerializer s(nullptr);
  for (int i = 0; i < Item->GetCount(); ++i) {
    TfrxXMLItem* child = Item->GetItem(i);
    if (SameText(child->GetName(), "item")) s.ReadProperties(child->GetText(), Add());
  }
}

void TfrxVariables::SaveToStream(TStream* Stream)
{
  frxXML::SaveDocument(Stream, [this](TfrxXMLItem* Root) { SaveToXMLItem(Root); });
}

void TfrxVariables::LoadFromStream(TStream* Stream)
{
  Clear();
  frxXML::LoadDocument(Stream, "variables", [this](TfrxXMLItem* Root) { LoadFromXMLItem(Root); });
}

void TfrxVariables::SaveToFile(const AnsiString& FileName)
{
  SaveSeam::SaveStream(FileName, [this](TStream* f) { SaveToStream(f); });
}

void TfrxVariables::LoadFromFile(const AnsiString& FileName)
{
  TFileStream f(FileName, fmOpenRead | fmShareDenyWrite);
  LoadFromStream(&f);
}

PELTO_DEFINE_CLASS(TfrxVariable)
PELTO_PUBLISH(TfrxVariable, p)
{
  p.Property("Name", &ThisClass::Name, &ThisClass::Name);
  p.Property("Value", &ThisClass::Value, &ThisClass::Value);
}

PELTO_DEFINE_CLASS(TfrxVariables)
