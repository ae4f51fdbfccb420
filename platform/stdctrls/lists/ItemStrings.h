// The lines of a list-holding window (list box, combo box): its window's lines while the window
// exists, a list of the control's before (the control moves them in and out with its window).
#pragma once

#include "platform/rtl/StringList.h"
#include "platform/win/WinUser.h"

class TWinControl;

// The messages a window class answers for its lines.
struct TItemMessages {
  UINT GetCount, GetText, GetTextLen, GetData, SetData, AddString, InsertString, DeleteString, Reset, FindExact;
};

class TItemStrings : public TStrings {
public:
  // Control and Saved are borrowed from the control that owns this view.
  TItemStrings(TWinControl* AControl, TStringList* ASaved, const TItemMessages& AMessages)
      : FControl(AControl), FSaved(ASaved), FMsg(AMessages)
  {}
  Integer GetCount() const override;
  void Clear() override;
  void Delete(Integer Index) override;
  void Insert(Integer Index, const AnsiString& S) override;
  Integer Add(const AnsiString& S) override;
  Integer IndexOf(const AnsiString& S) const override;
  void Move(Integer CurIndex, Integer NewIndex) override;

protected:
  AnsiString Get(Integer Index) const override;
  TObject* GetObject(Integer Index) const override;
  void PutObject(Integer Index, TObject* AObject) override;
  void SetUpdateState(bool Updating) override;
  bool HasWindow() const;
  LRESULT Send(UINT Msg, WPARAM W = 0, LPARAM L = 0) const;
  void CheckIndex(Integer Index, Integer Count) const;

  TWinControl* FControl;
  TStringList* FSaved;
  TItemMessages FMsg;
};
