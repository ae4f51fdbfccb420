// Small report classes for the tests of the tree and the file format: a text-like view with
// positions, a font, a string list, an enumeration, a set, a reference and defined data.
#pragma once

#include "platform/classes/Filer.h"
#include "platform/classes/Reader.h"
#include "platform/classes/Writer.h"
#include "platform/rtl/StringList.h"
#include "report/engine/model/frxClass.h"

PELTO_ENUM(TTestAlign, taLeftJ, taCenterJ, taRightJ)

class TTestMemoView : public TfrxReportComponent {
  PELTO_CLASS(TTestMemoView, TfrxReportComponent)
public:
  explicit TTestMemoView(TComponent* AOwner) : TfrxReportComponent(AOwner) {}

  TStringList* GetMemo() const { return FMemo.get(); }
  void SetMemo(TStringList* Value) { FMemo->Assign(Value); }
  TTestAlign Align = taLeftJ;
  bool WordWrap = true;
  Integer Count = 0;
  double Ratio = 0;
  AnsiString Caption;
  TfrxRestrictions Marks;
  TfrxComponent* Link = nullptr;
  // Written as defined data when not empty.
  AnsiString Secret;

  TfrxComponent* GetLink() const { return Link; }
  void SetLink(TfrxComponent* Value) { Link = Value; }

  PELTO_PUBLISHED(p)
  {
    p.Property("Left", &ThisClass::GetLeft, &ThisClass::SetLeft);
    p.Property("Top", &ThisClass::GetTop, &ThisClass::SetTop);
    p.Property("Width", &ThisClass::GetWidth, &ThisClass::SetWidth);
    p.Property("Height", &ThisClass::GetHeight, &ThisClass::SetHeight);
    p.Property("Font", &ThisClass::GetFont, &ThisClass::SetFont)
        .StoredWhen(TPublisher<ThisClass>::When([](const ThisClass* o) { return o->IsFontStored(); }));
    p.Property("ParentFont", &ThisClass::GetParentFont, &ThisClass::SetParentFont).Default(true);
    p.Property("Align", &ThisClass::Align, &ThisClass::Align).Default(taLeftJ);
    p.Property("WordWrap", &ThisClass::WordWrap, &ThisClass::WordWrap).Default(true);
    p.Property("Count", &ThisClass::Count, &ThisClass::Count).Default(0);
    p.Property("Ratio", &ThisClass::Ratio, &ThisClass::Ratio);
    p.Property("Caption", &ThisClass::Caption, &ThisClass::Caption);
    p.Property("Marks", &ThisClass::Marks, &ThisClass::Marks).Default(TfrxRestrictions{});
    p.Property("Link", &ThisClass::GetLink, &ThisClass::SetLink);
    p.Property("Memo", &ThisClass::GetMemo, &ThisClass::SetMemo);
  }

protected:
  void DefineProperties(TFiler* Filer) override
  {
    Filer->DefineProperty(
        "Secret", [this](TReader* r) { Secret = r->ReadString(); }, [this](TWriter* w) { w->WriteString(Secret); },
        !Secret.empty());
  }

private:
  std::unique_ptr<TStringList> FMemo = std::make_unique<TStringList>();
};

// An abstract class that the file cannot create.
class TTestAbstractView : public TfrxReportComponent {
  PELTO_CLASS(TTestAbstractView, TfrxReportComponent)
public:
  explicit TTestAbstractView(TComponent* AOwner) : TfrxReportComponent(AOwner) {}
  virtual void Pure() = 0;
};
