// TCustomMemo: a multi-line edit box, and TMemo, its published form. Lines reads and writes
// the window's lines (EM_GETLINE, EM_LINEINDEX, EM_REPLACESEL) while there is a window, and the
// control's text before; either way a line break is CR LF.
#pragma once

#include <memory>

#include "platform/rtl/StringList.h"
#include "platform/stdctrls/edits/CustomEdit.h"

class TCustomMemo;

// The lines of a memo (or of any multi-line edit box): a view, owning nothing but the link to
// its box.
class TMemoStrings : public TStrings {
public:
  explicit TMemoStrings(TCustomEdit* AMemo) : FMemo(AMemo) {}
  Integer GetCount() const override;
  void Clear() override;
  void Delete(Integer Index) override;
  void Insert(Integer Index, const AnsiString& S) override;
  AnsiString GetText() const override;
  void SetText(const AnsiString& Value) override;

protected:
  AnsiString Get(Integer Index) const override;
  void Put(Integer Index, const AnsiString& S) override;
  void SetUpdateState(bool Updating) override;

private:
  TCustomEdit* FMemo;
};

class TCustomMemo : public TCustomEdit {
  PELTO_CLASS(TCustomMemo, TCustomEdit)
public:
  explicit TCustomMemo(TComponent* AOwner);
  ~TCustomMemo() override;

  // Owned by the memo; setting copies the lines.
  TStrings* GetLines() const { return FLines.get(); }
  void SetLines(TStrings* Value);
  TAlignment GetAlignment() const { return FAlignment; }
  void SetAlignment(TAlignment Value);
  TScrollStyle GetScrollBars() const { return FScrollBars; }
  void SetScrollBars(TScrollStyle Value);
  bool GetWordWrap() const { return FWordWrap; }
  void SetWordWrap(bool Value);
  // Enter makes a new line (else it is left to the form's default button).
  bool GetWantReturns() const { return FWantReturns; }
  void SetWantReturns(bool Value);
  // Tab types a tab (else it moves the focus).
  bool GetWantTabs() const { return FWantTabs; }
  void SetWantTabs(bool Value) { FWantTabs = Value; }
  // The caret as line (Y) and byte column (X).
  POINT GetCaretPos();
  void SetCaretPos(POINT Value);

  PELTO_PUBLISHED(p)
  {
    p.Property("Alignment", &ThisClass::GetAlignment, &ThisClass::SetAlignment).Default(taLeftJustify);
    p.Property("Lines", &ThisClass::GetLines, &ThisClass::SetLines);
    p.Property("ScrollBars", &ThisClass::GetScrollBars, &ThisClass::SetScrollBars).Default(ssNone);
    p.Property("WantReturns", &ThisClass::GetWantReturns, &ThisClass::SetWantReturns).Default(true);
    p.Property("WantTabs", &ThisClass::GetWantTabs, &ThisClass::SetWantTabs).Default(false);
    p.Property("WordWrap", &ThisClass::GetWordWrap, &ThisClass::SetWordWrap).Default(true);
  }

protected:
  void CreateParams(TCreateParams& Params) override;
  void WndProc(TMessage& Message) override;
  void KeyPress(char& Key) override;
  bool IsSingleLine() const override { return false; }

private:
  std::unique_ptr<TMemoStrings> FLines;
  TAlignment FAlignment = taLeftJustify;
  TScrollStyle FScrollBars = ssNone;
  bool FWordWrap = true;
  bool FWantReturns = true;
  bool FWantTabs = false;

  friend class TMemoStrings;
};

class TMemo : public TCustomMemo {
  PELTO_CLASS(TMemo, TCustomMemo)
public:
  using TCustomMemo::TCustomMemo;
};
