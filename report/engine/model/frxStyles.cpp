#include "report/engine/model/frxStyles.h"

#include "platform/rtl/Exceptions.h"
#include "platform/rtl/FormatText.h"
#include "platform/rtl/StringList.h"
#include "platform/rtl/Streams.h"
#include "report/engine/model/frxUtils.h"
#include "report/engine/objects/frxMemoView.h"
#include "report/engine/serialize/frxXMLSerializer.h"
#include "report/engine/xml/frxXML.h"
#include "platform/rtl/StringUtils.h"
#include "platform/rtl/SaveSeam.h"

using SysUtils::SameText;

TfrxStyleItem::TfrxStyleItem(TCollection* Collection)
    : TCollectionItem(Collection), FFont(std::make_unique<TFont>()), FFrame(std::make_unique<TfrxFrame>())
{
  frxUtils::SetDefaultFont(FFont.get());
}

TfrxStyleItem::~TfrxStyleItem() = default;

void TfrxStyleItem::Assign(TPersistent* Source)
{
  if (auto* s = dynamic_cast<TfrxStyleItem*>(Source)) {
    FName = s->FName;
    Color = s->Color;
    FFont->Assign(s->FFont.get());
    FFrame->Assign(s->FFrame.get());
    return;
  }
  TCollectionItem::Assign(Source);
}

void TfrxStyleItem::SetName(const AnsiString& Value)
{
  if (auto* set = dynamic_cast<TfrxStyles*>(GetCollection()))
    if (TfrxStyleItem* other = set->Find(Value); other && other != this) throw Exception("Duplicate name");
  FName = Value;
}

void TfrxStyleItem::CreateUniqueName()
{
  auto* set = dynamic_cast<TfrxStyles*>(GetCollection());
  for (Integer n = 1;; ++n) {
    AnsiString name = "Style" + SysUtils::IntToStr(n);
    TfrxStyleItem* other = set ? set->Find(name) : nullptr;
    if (!other || other == this) {
      FName = name;
      return;
    }
  }
}

TfrxStyles::TfrxStyles(TfrxComponent* Report) : TCollection(TfrxStyleItem::StaticClass()), FReport(Report) {}

TfrxStyleItem* TfrxStyles::Find(const AnsiString& AName) const
{
  for (int i = 0; i < GetCount(); ++i)
    if (SameText(GetItems(i)->GetName(), AName)) return GetItems(i);
  return nullptr;
}

void TfrxStyles::GetList(TStrings* List) const
{
  List->Clear();
  for (int i = 0; i < GetCount(); ++i) List->Add(GetItems(i)->GetName());
}

void TfrxStyles::Apply()
{
  if (!FReport) return;
  // The list is a snapshot: applying a style changes fonts, never the tree.
  TfrxComponent::TfrxComponentList all = FReport->GetAllObjects();
  for (TfrxComponent* c : all)
    if (auto* memo = dynamic_cast<TfrxCustomMemoView*>(c)) memo->SetStyle(memo->GetStyle());
}

void TfrxStyles::SaveToXMLItem(TfrxXMLItem* Item)
{
  TfrxXMLSerializer s(nullptr);
  Item->SetName("style");
  Item->SetText("Name=\"" + frxXML::EscapeText(Name) + "\"");
  for (int i = 0; i < GetCount(); ++i) {
    TfrxXMLItem* child = Item->Add();
    child->SetName("item");
    AnsiString text = s.WriteProperties(GetItems(i));
    if (!text.empty()) text.erase(0, 1);
    child->SetText(text);
  }
}

void TfrxStyles::LoadFromXMLItem(TfrxXMLItem* Item)
{
  Clear();
  Name = Item->GetProp("Name");
  TfrxXMLSerializer s(nullptr);
  for (int i = 0; i < Item->GetCount(); ++i) {
    TfrxXMLItem* child = Item->GetItem(i);
    if (SameText(child->GetName(), "item")) s.ReadProperties(child->GetText(), Add());
  }
  Apply();
}

void TfrxStyles::SaveToStream(TStream* Stream)
{
  frxXML::SaveDocument(Stream, [this](TfrxXMLItem* Root) { SaveToXMLItem(Root); });
}

void TfrxStyles::LoadFromStream(TStream* Stream)
{
  Clear();
  frxXML::LoadDocument(Stream, "style", [this](TfrxXMLItem* Root) { LoadFromXMLItem(Root); });
}

void TfrxStyles::SaveToFile(const AnsiString& FileName)
{
  SaveSeam::SaveStream(FileName, [this](TStream* f) { SaveToStream(f); });
}

void TfrxStyles::LoadFromFile(const AnsiString& FileName)
{
  TFileStream f(FileName, fmOpenRead | fmShareDenyWrite);
  LoadFromStream(&f);
}

TfrxStyles* TfrxStyleSheet::Add()
{
  FItems.push_back(std::make_unique<TfrxStyles>());
  return FItems.back().get();
}

void TfrxStyleSheet::Delete(int Index) { FItems.erase(FItems.begin() + Index); }

TfrxStyles* TfrxStyleSheet::Find(const AnsiString& Name) const
{
  for (const auto& s : FItems)
    if (SameText(s->Name, Name)) return s.get();
  return nullptr;
}

void TfrxStyleSheet::GetList(TStrings* List) const
{
  List->Clear();
  for (const auto& s : FItems) List->Add(s->Name);
}

void TfrxStyleSheet::LoadFromStream(TStream* Stream)
{
  Clear();
  TfrxXMLDocument doc;
  doc.LoadFromStream(Stream);
  TfrxXMLItem* root = doc.GetRoot();
  if (!SameText(root->GetName(), "stylesheet")) return;
  for (int i = 0; i < root->GetCount(); ++i)
    if (SameText(root->GetItem(i)->GetName(), "style")) Add()->LoadFromXMLItem(root->GetItem(i));
}

PELTO_DEFINE_CLASS(TfrxStyleItem)
PELTO_PUBLISH(TfrxStyleItem, p)
{
  p.Property("Name", &ThisClass::GetName, &ThisClass::SetName);
  p.Property("Color", TypeInfo_TColor(), &ThisClass::Color, &ThisClass::Color);
  p.Property("Font", &ThisClass::GetFont, &ThisClass::SetFont);
  p.Property("Frame", &ThisClass::GetFrame, &ThisClass::SetFrame);
}

PELTO_DEFINE_CLASS(TfrxStyles)
