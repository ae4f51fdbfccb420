#include "report/script/host/fs_ievents.h"

#include <algorithm>
#include <memory>

#include "platform/forms/controls/ControlEnums.h"
#include "platform/forms/forms/CustomForm.h"
#include "platform/rtl/StringUtils.h"
#include "report/script/host/fs_ihandles.h"
#include "report/script/interp/fs_iitems.h"

std::vector<Variant> TfsCustomEvent::CallHandler(const std::vector<Variant>& Values)
{
  TfsProcVariable* P = HandlerProc;
  if (!P || P->Executing) return {};
  Integer N = std::min<Integer>(P->GetCount(), static_cast<Integer>(Values.size()));
  for (Integer I = 0; I < N; ++I) P->ParamAt(I)->SetValue(Values[static_cast<std::size_t>(I)]);
  P->NeedResult = false;
  P->GetValue();
  std::vector<Variant> After(Values.size(), Variant::Null());
  for (Integer I = 0; I < N; ++I) After[static_cast<std::size_t>(I)] = P->ParamAt(I)->GetValue();
  return After;
}

namespace {

// Runs Body with the adapter when it still exists.
template <class F>
void WithAdapter(const std::weak_ptr<TfsCustomEvent*>& W, F Body)
{
  auto S = W.lock();
  if (S && *S) Body(*S);
}

Variant Obj(TObject* O) { return fs_ihandles::ToVariant(O); }

}  // namespace

std::any TfsNotifyEvent::GetMethod(const TTypeInfo*)
{
  std::weak_ptr<TfsCustomEvent*> W = Self;
  return TNotifyEvent(
      [W](TObject* Sender) { WithAdapter(W, [&](TfsCustomEvent* A) { A->CallHandler({Obj(Sender)}); }); });
}

namespace {

void CallMouse(const std::weak_ptr<TfsCustomEvent*>& W, TObject* Sender, Integer Button, Integer Shift, Integer X,
               Integer Y)
{
  WithAdapter(W, [&](TfsCustomEvent* A) {
    A->CallHandler({Obj(Sender), Variant(Button), Variant(Shift), Variant(X), Variant(Y)});
  });
}

void CallMouseMove(const std::weak_ptr<TfsCustomEvent*>& W, TObject* Sender, Integer Shift, Integer X, Integer Y)
{
  WithAdapter(W, [&](TfsCustomEvent* A) { A->CallHandler({Obj(Sender), Variant(Shift), Variant(X), Variant(Y)}); });
}

void CallKey(const std::weak_ptr<TfsCustomEvent*>& W, TObject* Sender, Word& Key, Integer Shift)
{
  WithAdapter(W, [&](TfsCustomEvent* A) {
    auto R = A->CallHandler({Obj(Sender), Variant(static_cast<Integer>(Key)), Variant(Shift)});
    if (!R.empty() && !R[1].IsNull()) Key = static_cast<Word>(R[1].AsInteger());
  });
}

void CallClose(const std::weak_ptr<TfsCustomEvent*>& W, TObject* Sender, Integer& Action)
{
  WithAdapter(W, [&](TfsCustomEvent* A) {
    auto R = A->CallHandler({Obj(Sender), Variant(Action)});
    if (!R.empty() && !R[1].IsNull()) Action = R[1].AsInteger();
  });
}

Integer ShiftMask(TShiftState Shift) { return static_cast<Integer>(Shift.Mask()); }

}  // namespace

std::any TfsMouseEvent::GetMethod(const TTypeInfo* PropType)
{
  std::weak_ptr<TfsCustomEvent*> W = Self;
  if (PropType == TypeInfo_TMouseEvent())
    return TMouseEvent([W](TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y) {
      CallMouse(W, Sender, static_cast<Integer>(Button), ShiftMask(Shift), X, Y);
    });
  return TfsMouseEventProc([W](TObject* Sender, Integer Button, Integer Shift, Integer X, Integer Y) {
    CallMouse(W, Sender, Button, Shift, X, Y);
  });
}

std::any TfsMouseMoveEvent::GetMethod(const TTypeInfo* PropType)
{
  std::weak_ptr<TfsCustomEvent*> W = Self;
  if (PropType == TypeInfo_TMouseMoveEvent())
    return TMouseMoveEvent(
        [W](TObject* Sender, TShiftState Shift, int X, int Y) { CallMouseMove(W, Sender, ShiftMask(Shift), X, Y); });
  return TfsMouseMoveEventProc(
      [W](TObject* Sender, Integer Shift, Integer X, Integer Y) { CallMouseMove(W, Sender, Shift, X, Y); });
}

std::any TfsKeyEvent::GetMethod(const TTypeInfo* PropType)
{
  std::weak_ptr<TfsCustomEvent*> W = Self;
  if (PropType == TypeInfo_TKeyEvent())
    return TKeyEvent([W](TObject* Sender, Word& Key, TShiftState Shift) { CallKey(W, Sender, Key, ShiftMask(Shift)); });
  return TfsKeyEventProc([W](TObject* Sender, Word& Key, Integer Shift) { CallKey(W, Sender, Key, Shift); });
}

std::any TfsKeyPressEvent::GetMethod(const TTypeInfo*)
{
  // The host's key-press signature is the script side's own.
  std::weak_ptr<TfsCustomEvent*> W = Self;
  return TfsKeyPressEventProc([W](TObject* Sender, char& Key) {
    WithAdapter(W, [&](TfsCustomEvent* A) {
      auto R = A->CallHandler({Obj(Sender), Variant(AnsiString(1, Key))});
      AnsiString K = R.empty() ? AnsiString() : Variants::VarToStr(R[1]);
      if (!K.empty()) Key = K[0];
    });
  });
}

std::any TfsCloseEvent::GetMethod(const TTypeInfo* PropType)
{
  std::weak_ptr<TfsCustomEvent*> W = Self;
  if (PropType == TypeInfo_TCloseEvent())
    return TCloseEvent([W](TObject* Sender, TCloseAction& Action) {
      Integer A = static_cast<Integer>(Action);
      CallClose(W, Sender, A);
      // A value no close action has leaves the host's as it was.
      if (A >= caNone && A <= caMinimize) Action = static_cast<TCloseAction>(A);
    });
  return TfsCloseEventProc([W](TObject* Sender, Integer& Action) { CallClose(W, Sender, Action); });
}

std::any TfsCloseQueryEvent::GetMethod(const TTypeInfo*)
{
  std::weak_ptr<TfsCustomEvent*> W = Self;
  return TfsCloseQueryEventProc([W](TObject* Sender, bool& CanClose) {
    WithAdapter(W, [&](TfsCustomEvent* A) {
      auto R = A->CallHandler({Obj(Sender), Variant(CanClose)});
      if (!R.empty() && !R[1].IsNull()) CanClose = R[1].AsBoolean();
    });
  });
}

std::any TfsCanResizeEvent::GetMethod(const TTypeInfo*)
{
  std::weak_ptr<TfsCustomEvent*> W = Self;
  return TfsCanResizeEventProc([W](TObject* Sender, Integer& NewWidth, Integer& NewHeight, bool& Resize) {
    WithAdapter(W, [&](TfsCustomEvent* A) {
      auto R = A->CallHandler({Obj(Sender), Variant(NewWidth), Variant(NewHeight), Variant(Resize)});
      if (R.empty()) return;
      if (!R[1].IsNull()) NewWidth = R[1].AsInteger();
      if (!R[2].IsNull()) NewHeight = R[2].AsInteger();
      if (!R[3].IsNull()) Resize = R[3].AsBoolean();
    });
  });
}

void TfsEventList::FreeAt(std::size_t I)
{
  TfsCustomEvent* A = FItems[I];
  FItems.erase(FItems.begin() + static_cast<std::ptrdiff_t>(I));
  delete A;
}

void TfsEventList::Bind(TfsCustomEvent* Adapter)
{
  std::unique_ptr<TfsCustomEvent> Owned(Adapter);
  Unbind(Adapter->BoundObject, Adapter->EventName);
  FItems.push_back(Owned.release());
}

void TfsEventList::Unbind(TObject* Obj, const AnsiString& EventName)
{
  for (std::size_t I = FItems.size(); I-- > 0;)
    if (FItems[I]->BoundObject == Obj && SysUtils::SameText(FItems[I]->EventName, EventName)) FreeAt(I);
}

void TfsEventList::RemoveObject(TObject* Obj)
{
  for (std::size_t I = FItems.size(); I-- > 0;)
    if (FItems[I]->BoundObject == Obj) FreeAt(I);
}

void TfsEventList::RemoveProc(TfsProcVariable* Proc)
{
  for (std::size_t I = FItems.size(); I-- > 0;)
    if (FItems[I]->HandlerProc == Proc) FreeAt(I);
}

void TfsEventList::Clear()
{
  while (!FItems.empty()) FreeAt(FItems.size() - 1);
}

TfsCustomEvent* TfsEventList::Find(TObject* Obj, const AnsiString& EventName) const
{
  for (TfsCustomEvent* A : FItems)
    if (A->BoundObject == Obj && SysUtils::SameText(A->EventName, EventName)) return A;
  return nullptr;
}

namespace fs_ievents {

namespace {
// Freed by Finalize only: scripts destroyed during the process's exit may still ask for it.
TfsEventList* List = nullptr;
bool Finalized = false;
}  // namespace

TfsEventList* GetEventList()
{
  if (!List && !Finalized) List = new TfsEventList;
  return List;
}

void Initialize()
{
  Finalized = false;
  GetEventList();
}

void Finalize()
{
  Finalized = true;
  delete List;
  List = nullptr;
}

}  // namespace fs_ievents
