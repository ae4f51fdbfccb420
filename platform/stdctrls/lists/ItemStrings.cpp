#include "platform/stdctrls/lists/ItemStrings.h"

#include "platform/forms/controls/WinControl.h"
#include "platform/rtl/Guards.h"
#include "platform/win/queue/Messages.h"

bool TItemStrings::HasWindow() const { return FControl->HandleAllocated(); }

LRESULT TItemStrings::Send(UINT Msg, WPARAM W, LPARAM L) const
{
  return Windows::SendMessage(FControl->GetHandle(), Msg, W, L);
}

void TItemStrings::CheckIndex(Integer Index, Integer Count) const
{
  if (Index < 0 || Index >= Count) Error("List index out of bounds (%d)", Index);
}

Integer TItemStrings::GetCount() const { return HasWindow() ? Integer(Send(FMsg.GetCount)) : FSaved->GetCount(); }

AnsiString TItemStrings::Get(Integer Index) const
{
  CheckIndex(Index, GetCount());
  if (!HasWindow()) return (*FSaved)[Index];
  LRESULT len = Send(FMsg.GetTextLen, WPARAM(Index));
  AnsiString s(std::size_t(std::max<LRESULT>(len, 0)) + 1, '\0');
  LRESULT got = Send(FMsg.GetText, WPARAM(Index), reinterpret_cast<LPARAM>(s.data()));
  s.resize(std::size_t(std::max<LRESULT>(got, 0)));
  return s;
}

TObject* TItemStrings::GetObject(Integer Index) const
{
  CheckIndex(Index, GetCount());
  if (!HasWindow()) return FSaved->GetObjects(Index);
  return reinterpret_cast<TObject*>(Send(FMsg.GetData, WPARAM(Index)));
}

void TItemStrings::PutObject(Integer Index, TObject* AObject)
{
  CheckIndex(Index, GetCount());
  if (!HasWindow())
    FSaved->SetObjects(Index, AObject);
  else
    Send(FMsg.SetData, WPARAM(Index), reinterpret_cast<LPARAM>(AObject));
}

Integer TItemStrings::Add(const AnsiString& S)
{
  if (!HasWindow()) return FSaved->Add(S);
  LRESULT at = Send(FMsg.AddString, 0, reinterpret_cast<LPARAM>(S.c_str()));
  if (at < 0) throw EOutOfMemory("Insufficient memory for the lines of the list");
  return Integer(at);
}

void TItemStrings::Insert(Integer Index, const AnsiString& S)
{
  if (Index != GetCount()) CheckIndex(Index, GetCount());
  if (!HasWindow()) {
    FSaved->Insert(Index, S);
    return;
  }
  if (Send(FMsg.InsertString, WPARAM(Index), reinterpret_cast<LPARAM>(S.c_str())) < 0)
    throw EOutOfMemory("Insufficient memory for the lines of the list");
}

void TItemStrings::Delete(Integer Index)
{
  CheckIndex(Index, GetCount());
  if (!HasWindow())
    FSaved->Delete(Index);
  else
    Send(FMsg.DeleteString, WPARAM(Index));
}

void TItemStrings::Clear()
{
  if (!HasWindow())
    FSaved->Clear();
  else
    Send(FMsg.Reset);
}

Integer TItemStrings::IndexOf(const AnsiString& S) const
{
  if (!HasWindow()) return FSaved->IndexOf(S);
  return Integer(Send(FMsg.FindExact, WPARAM(-1), reinterpret_cast<LPARAM>(S.c_str())));
}

void TItemStrings::Move(Integer CurIndex, Integer NewIndex)
{
  if (CurIndex == NewIndex) return;
  BeginUpdate();
  TScopeExit updated([this] { EndUpdate(); });
  AnsiString s = Get(CurIndex);
  TObject* o = GetObject(CurIndex);
  Delete(CurIndex);
  InsertObject(NewIndex, s, o);
}

void TItemStrings::SetUpdateState(bool Updating)
{
  if (!HasWindow()) return;
  Send(WM_SETREDRAW, !Updating);
  if (!Updating) FControl->Refresh();
}
