// Small classes the tests and the reader's fuzz target stream: a filter wrapper with the
// criteria properties of a filter file, and a node component with one property of each kind.
#pragma once

#include <vector>

#include "platform/classes/ClassRegistry.h"
#include "platform/classes/Collection.h"
#include "platform/classes/Component.h"
#include "platform/classes/Filer.h"
#include "platform/classes/Reader.h"
#include "platform/classes/Writer.h"
#include "platform/rtl/Streams.h"
#include "platform/rtl/StringList.h"
#include "platform/rtl/Variants.h"

PELTO_ENUM(TFixtureFilterOption, fcoCaseInsensitive, fcoShowOperatorDescription, fcoSoftNull, fcoSoftCompare)
PELTO_SET(TFixtureFilterOptions, TFixtureFilterOption)

// The published part of filter criteria, with the criteria data as the binary "Criteria".
class TFixtureCriteria : public TPersistent {
  PELTO_CLASS(TFixtureCriteria, TPersistent)
public:
  Integer MaxValueListCount = 0;
  TFixtureFilterOptions Options;
  char PercentWildcard = '%';
  char UnderscoreWildcard = '_';
  bool Active = false;
  std::vector<Byte> Data;  // the criteria data; stored when not empty

  PELTO_PUBLISHED(p)
  {
    p.Property("MaxValueListCount", &TFixtureCriteria::MaxValueListCount, &TFixtureCriteria::MaxValueListCount)
        .Default(0);
    p.Property("Options", &TFixtureCriteria::Options, &TFixtureCriteria::Options).Default(TFixtureFilterOptions());
    p.Property("PercentWildcard", &TFixtureCriteria::PercentWildcard, &TFixtureCriteria::PercentWildcard).Default('%');
    p.Property("UnderscoreWildcard", &TFixtureCriteria::UnderscoreWildcard, &TFixtureCriteria::UnderscoreWildcard)
        .Default('_');
    p.Property("Active", &TFixtureCriteria::Active, &TFixtureCriteria::Active).Default(false);
  }

protected:
  void DefineProperties(TFiler* Filer) override
  {
    Filer->DefineBinaryProperty(
        "Criteria",
        [this](TStream* s) {
          Data.assign(static_cast<size_t>(s->GetSize()), 0);
          if (!Data.empty()) s->ReadBuffer(Data.data(), static_cast<Int64>(Data.size()));
        },
        [this](TStream* s) { s->WriteBuffer(Data.data(), static_cast<Int64>(Data.size())); }, !Data.empty());
  }
};

class TFilterWrapper : public TComponent {
  PELTO_CLASS(TFilterWrapper, TComponent)
public:
  explicit TFilterWrapper(TComponent* AOwner) : TComponent(AOwner) {}
  TFixtureCriteria* GetFilter() { return FFilter; }
  void SetFilter(TFixtureCriteria* Value) { FFilter = Value; }

  PELTO_PUBLISHED(p) { p.Property("Filter", &TFilterWrapper::GetFilter, &TFilterWrapper::SetFilter); }

private:
  TFixtureCriteria FOwnFilter;              // streamed when no other criteria are given
  TFixtureCriteria* FFilter = &FOwnFilter;  // not owned
};

PELTO_ENUM(TFixtureShape, fsRect, fsRound, fsEllipse)
PELTO_SET(TFixtureShapes, TFixtureShape)
PELTO_TYPE_ALIAS(TFixtureColor, Integer)

class TFixtureFont : public TPersistent {
  PELTO_CLASS(TFixtureFont, TPersistent)
public:
  AnsiString Name = "Arial";
  Integer Size = 10;
  void Assign(TPersistent* Source) override
  {
    if (auto* f = dynamic_cast<TFixtureFont*>(Source)) {
      Name = f->Name;
      Size = f->Size;
      return;
    }
    TPersistent::Assign(Source);
  }
  PELTO_PUBLISHED(p)
  {
    // No default for the name: an empty name differs from "Arial" and must be written.
    p.Property("Name", &TFixtureFont::Name, &TFixtureFont::Name);
    p.Property("Size", &TFixtureFont::Size, &TFixtureFont::Size).Default(10);
  }
};

class TFixtureItem : public TCollectionItem {
  PELTO_CLASS(TFixtureItem, TCollectionItem)
public:
  explicit TFixtureItem(TCollection* Collection) : TCollectionItem(Collection) {}
  AnsiString Caption;
  Integer Width = 64;
  void Assign(TPersistent* Source) override
  {
    if (auto* i = dynamic_cast<TFixtureItem*>(Source)) {
      Caption = i->Caption;
      Width = i->Width;
      return;
    }
    TCollectionItem::Assign(Source);
  }
  PELTO_PUBLISHED(p)
  {
    p.Property("Caption", &TFixtureItem::Caption, &TFixtureItem::Caption);
    p.Property("Width", &TFixtureItem::Width, &TFixtureItem::Width).Default(64);
  }
};

// A node of a component tree: it owns its children and streams them below itself.
class TFixtureNode : public TComponent {
  PELTO_CLASS(TFixtureNode, TComponent)
public:
  explicit TFixtureNode(TComponent* AOwner)
      : TComponent(AOwner), Items(this, TFixtureItem::StaticClass()), Columns(this, TFixtureItem::StaticClass())
  {}
  ~TFixtureNode() override
  {
    SetLink(nullptr);
    DestroyComponents();
  }

  AnsiString Caption;
  WideString WideCaption;
  Integer Count = 0;
  Int64 Big = 0;
  double Ratio = 0;
  Currency Amount;
  TDateTime When;
  TFixtureShape Shape = fsRect;
  TFixtureShapes Shapes;
  TFixtureColor Color = 0;
  bool Visible = true;
  WideChar Letter = 0;
  Variant Extra;
  TFixtureFont Font;
  TOwnedCollection Items;
  TStringList Lines;
  TOwnedCollection Columns;  // not published: stored through a defined property
  std::vector<Byte> Blob;    // stored through a defined binary property
  TNotifyEvent OnChange;
  std::vector<AnsiString> LoadedLog;  // names in the order Loaded ran, kept on the root

  TFixtureNode* GetLink() const { return FLink; }
  void SetLink(TFixtureNode* Value)
  {
    if (FLink == Value) return;
    if (FLink) FLink->RemoveFreeNotification(this);
    FLink = Value;
    if (FLink) FLink->FreeNotification(this);
  }
  TFixtureFont* GetFont() { return &Font; }
  void SetFont(TFixtureFont* Value) { Font.Assign(Value); }
  TOwnedCollection* GetItems() { return &Items; }
  void SetItems(TOwnedCollection* Value) { Items.Assign(Value); }
  TStringList* GetLines() { return &Lines; }

  void GetChildren(TGetChildProc Proc, TComponent* Root) override
  {
    for (int i = 0; i < GetComponentCount(); ++i) Proc(GetComponent(i));
  }
  TComponent* GetChildOwner() override { return this; }
  void Loaded() override
  {
    TComponent::Loaded();
    TComponent* top = this;
    while (top->GetOwner()) top = top->GetOwner();
    if (auto* root = dynamic_cast<TFixtureNode*>(top)) root->LoadedLog.push_back(GetName());
  }

  PELTO_PUBLISHED(p)
  {
    p.Property("Caption", &TFixtureNode::Caption, &TFixtureNode::Caption);
    p.Property("WideCaption", &TFixtureNode::WideCaption, &TFixtureNode::WideCaption);
    p.Property("Count", &TFixtureNode::Count, &TFixtureNode::Count).Default(0);
    p.Property("Big", &TFixtureNode::Big, &TFixtureNode::Big).Default(0);
    p.Property("Ratio", &TFixtureNode::Ratio, &TFixtureNode::Ratio);
    p.Property("Amount", &TFixtureNode::Amount, &TFixtureNode::Amount);
    p.Property("When", &TFixtureNode::When, &TFixtureNode::When);
    p.Property("Shape", &TFixtureNode::Shape, &TFixtureNode::Shape).Default(fsRect);
    p.Property("Shapes", &TFixtureNode::Shapes, &TFixtureNode::Shapes).Default(TFixtureShapes());
    p.Property("Color", TypeInfo_TFixtureColor(), &TFixtureNode::Color, &TFixtureNode::Color).Default(0);
    p.Property("Visible", &TFixtureNode::Visible, &TFixtureNode::Visible).Default(true);
    p.Property("Letter", &TFixtureNode::Letter, &TFixtureNode::Letter).Default(WideChar(0));
    p.Property("Extra", &TFixtureNode::Extra, &TFixtureNode::Extra);
    p.Property("Font", &TFixtureNode::GetFont, &TFixtureNode::SetFont);
    p.Property("Items", &TFixtureNode::GetItems, &TFixtureNode::SetItems);
    p.Property("Lines", &TFixtureNode::GetLines, nullptr);
    p.Property("Link", &TFixtureNode::GetLink, &TFixtureNode::SetLink);
    p.Property("OnChange", TypeInfo_TNotifyEvent(), &TFixtureNode::OnChange, &TFixtureNode::OnChange);
  }

protected:
  void Notification(TComponent* AComponent, TOperation Operation) override
  {
    TComponent::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == FLink) FLink = nullptr;
  }
  void DefineProperties(TFiler* Filer) override
  {
    Filer->DefineProperty(
        "Columns",
        [this](TReader* r) {
          r->CheckValue(vaCollection);
          r->ReadCollection(&Columns);
        },
        [this](TWriter* w) { w->WriteCollection(&Columns); }, Columns.GetCount() > 0);
    Filer->DefineBinaryProperty(
        "Blob",
        [this](TStream* s) {
          Blob.assign(static_cast<size_t>(s->GetSize()), 0);
          if (!Blob.empty()) s->ReadBuffer(Blob.data(), static_cast<Int64>(Blob.size()));
        },
        [this](TStream* s) { s->WriteBuffer(Blob.data(), static_cast<Int64>(Blob.size())); }, !Blob.empty());
  }

private:
  TFixtureNode* FLink = nullptr;
};

namespace StreamFixtures {
inline void Register()
{
  Classes::Initialize();
  Classes::RegisterClasses({TFilterWrapper::StaticClass(), TFixtureNode::StaticClass()});
}
}  // namespace StreamFixtures
