// A host class and an automation object that the test programs reach: THostButton publishes
// properties of every kind and events, and fires them when a script calls Click, MouseDown,
// KeyDown or KeyPress; "Auto" answers late-bound calls.
#pragma once

#include <memory>

#include "platform/classes/ClassDecl.h"
#include "platform/classes/Component.h"
#include "platform/rtl/StringList.h"
#include "platform/rtl/StringUtils.h"
#include "platform/rtl/Variants.h"
#include "report/script/host/fs_iclassvar.h"
#include "report/script/host/fs_ievents.h"
#include "report/script/host/fs_ihandles.h"
#include "report/script/interp/fs_iscript.h"

PELTO_ENUM(THostAlign, haLeft, haCenter, haRight)
PELTO_SET(THostStyles, THostAlign)

inline const TTypeInfo* TypeInfo_TfsMouseEventProc()
{
  static const TTypeInfo* T = TypInfo::MakeSimpleType("TfsMouseEventProc", tkMethod);
  return T;
}
inline const TTypeInfo* TypeInfo_TfsKeyEventProc()
{
  static const TTypeInfo* T = TypInfo::MakeSimpleType("TfsKeyEventProc", tkMethod);
  return T;
}
inline const TTypeInfo* TypeInfo_TfsKeyPressEventProc()
{
  static const TTypeInfo* T = TypInfo::MakeSimpleType("TfsKeyPressEventProc", tkMethod);
  return T;
}

class THostButton : public TComponent {
  PELTO_CLASS(THostButton, TComponent)
public:
  using TConstructArg = TComponent*;
  explicit THostButton(TComponent* AOwner) : TComponent(AOwner) {}

  Integer Width = 0;
  bool Enabled = false;
  double Ratio = 0;
  AnsiString Caption;
  char Accel = 'a';
  THostAlign Align = haLeft;
  THostStyles Styles;
  TComponent* Buddy = nullptr;
  Variant Data;
  TNotifyEvent OnClick;
  TfsMouseEventProc OnMouseDown;
  TfsKeyEventProc OnKeyDown;
  TfsKeyPressEventProc OnKeyPress;

  PELTO_PUBLISHED(p)
  {
    p.Property("Width", &THostButton::Width, &THostButton::Width);
    p.Property("Enabled", &THostButton::Enabled, &THostButton::Enabled);
    p.Property("Ratio", &THostButton::Ratio, &THostButton::Ratio);
    p.Property("Caption", &THostButton::Caption, &THostButton::Caption);
    p.Property("Accel", &THostButton::Accel, &THostButton::Accel);
    p.Property("Align", &THostButton::Align, &THostButton::Align);
    p.Property("Styles", &THostButton::Styles, &THostButton::Styles);
    p.Property("Buddy", &THostButton::Buddy, &THostButton::Buddy);
    p.Property("Data", &THostButton::Data, &THostButton::Data);
    p.Property("OnClick", TypeInfo_TNotifyEvent(), &THostButton::OnClick, &THostButton::OnClick);
    p.Property("OnMouseDown", TypeInfo_TfsMouseEventProc(), &THostButton::OnMouseDown, &THostButton::OnMouseDown);
    p.Property("OnKeyDown", TypeInfo_TfsKeyEventProc(), &THostButton::OnKeyDown, &THostButton::OnKeyDown);
    p.Property("OnKeyPress", TypeInfo_TfsKeyPressEventProc(), &THostButton::OnKeyPress, &THostButton::OnKeyPress);
  }
};

// Answers Visible (property), Add(a, b), Twice(var x) and raises for any other name.
class THostAuto : public TDispatchObject {
public:
  Variant Invoke(const AnsiString& Name, TDispatchKind Kind, std::vector<Variant>& Args) override
  {
    if (SysUtils::SameText(Name, "Visible")) {
      if (Kind & dkPropertyPut) Visible = Args.back().AsBoolean();
      return Variant(Visible);
    }
    if (SysUtils::SameText(Name, "Add") && Args.size() == 2) return Variant(Args[0].AsInteger() + Args[1].AsInteger());
    if (SysUtils::SameText(Name, "Self")) return Variant(static_cast<IDispatch*>(this));
    Variants::RaiseUnknownName(Name);
  }
  bool Visible = false;
};

// The host side of one test script: the class, a button "Button" and an automation object
// "Auto", all released with the fixture.
struct THostFixture {
  std::unique_ptr<THostButton> Button = std::make_unique<THostButton>(nullptr);

  void Register(TfsScript* S)
  {
    TfsClassVariable* C = S->AddClass(THostButton::StaticClass(), "TComponent");
    C->AddMethod("procedure Click", [](TObject* I, const void*, const AnsiString&, Variant&) {
      auto* B = static_cast<THostButton*>(I);
      if (B->OnClick) B->OnClick(B);
      return Variant(0);
    });
    C->AddMethod("procedure MouseDown(Button, Shift, X, Y: Integer)",
                 [](TObject* I, const void*, const AnsiString&, Variant& P) {
                   auto* B = static_cast<THostButton*>(I);
                   auto A = [&](int K) { return Variants::VarArrayGet(P, {K}).AsInteger(); };
                   if (B->OnMouseDown) B->OnMouseDown(B, A(0), A(1), A(2), A(3));
                   return Variant(0);
                 });
    C->AddMethod("procedure KeyDown(var Key: Integer; Shift: Integer)",
                 [](TObject* I, const void*, const AnsiString&, Variant& P) {
                   auto* B = static_cast<THostButton*>(I);
                   Word Key = static_cast<Word>(Variants::VarArrayGet(P, {0}).AsInteger());
                   if (B->OnKeyDown) B->OnKeyDown(B, Key, Variants::VarArrayGet(P, {1}).AsInteger());
                   Variants::VarArrayPut(P, Variant(static_cast<Integer>(Key)), {0});
                   return Variant(0);
                 });
    C->AddMethod("function KeyPress(Key: String): String", [](TObject* I, const void*, const AnsiString&, Variant& P) {
      auto* B = static_cast<THostButton*>(I);
      AnsiString K = Variants::VarToStr(Variants::VarArrayGet(P, {0}));
      char Ch = K.empty() ? ' ' : K[0];
      if (B->OnKeyPress) B->OnKeyPress(B, Ch);
      return Variant(AnsiString(1, Ch));
    });
    C->AddEvent("OnClick", fsMakeEvent<TfsNotifyEvent>);
    C->AddEvent("OnMouseDown", fsMakeEvent<TfsMouseEvent>);
    C->AddEvent("OnKeyDown", fsMakeEvent<TfsKeyEvent>);
    C->AddEvent("OnKeyPress", fsMakeEvent<TfsKeyPressEvent>);
    S->AddEnum("THostAlign", "haLeft, haCenter, haRight");
    S->AddEnumSet("THostStyles", "hsLeft, hsCenter, hsRight");
    S->AddObject("Button", Button.get());
    S->AddVariable("Auto", "Variant", Variant(static_cast<IDispatch*>(new THostAuto)));
  }
  ~THostFixture()
  {
    if (TfsEventList* L = fs_ievents::GetEventList()) L->RemoveObject(Button.get());
    fs_ihandles::Forget(Button.get());
  }
};
