// TcxMemo: the multi-line text editor. A text editor (cxTextEdit.h) whose inner control is a
// multi-line EDIT window (TcxCustomInnerMemo) with scroll-bar, word-wrap, return and tab
// settings. The editor's own painted scroll bars stand over the window's bars and follow them:
// every change posts CM_SYNCSCROLLBARS to the memo, so several changes cause one update;
// moving a painted bar scrolls the window (a dragged thumb by the 32-bit line number, so texts
// of more than 65,535 lines reach the right line).
//
// A cell shows the first line only, cut to at most 250 bytes without splitting a double-byte
// character.
#pragma once

#include "controls/editors/textedit/cxInnerTextEdit.h"
#include "controls/editors/textedit/cxTextEdit.h"
#include "controls/editors/textedit/cxTextEditProperties.h"
#include "controls/editors/textedit/cxTextEditViewInfo.h"
#include "platform/stdctrls/StdCtrlsTypes.h"

class TMemoStrings;
class TStrings;

// The memo's private message: synchronise the painted scroll bars.
constexpr UINT CM_SYNCSCROLLBARS = 0x8068;

class TcxCustomMemoProperties : public TcxCustomTextEditProperties {
  PELTO_CLASS(TcxCustomMemoProperties, TcxCustomTextEditProperties)
public:
  explicit TcxCustomMemoProperties(TPersistent* AOwner);
  void Assign(TPersistent* Source) override;

  TScrollStyle GetScrollBars() const { return FScrollBars; }
  void SetScrollBars(TScrollStyle Value);
  bool GetWantReturns() const { return FWantReturns; }
  void SetWantReturns(bool Value);
  bool GetWantTabs() const { return FWantTabs; }
  void SetWantTabs(bool Value);
  bool GetWordWrap() const { return FWordWrap; }
  void SetWordWrap(bool Value);

  TClass GetViewDataClass() const override;
  TClass GetContainerClass() const override;
  TClass GetViewInfoClass() const override;
  TcxCustomEditViewData* CreateViewData(TcxCustomEditStyle* AStyle, bool AIsInplace) override;
  bool WantTabKey() override { return FWantTabs; }
  // Unless AFullText: the first line, at most 250 bytes.
  WideString GetDisplayText(const Variant& AEditValue, bool AFullText = false) override;
  bool UsesDataDisplayText(bool AEditFocused) override;
  bool UsesOwnDrawTextFlags() override { return true; }

private:
  TScrollStyle FScrollBars = ssNone;
  bool FWantReturns = true;
  bool FWantTabs = false;
  bool FWordWrap = true;
};

class TcxMemoProperties : public TcxCustomMemoProperties {
  PELTO_CLASS(TcxMemoProperties, TcxCustomMemoProperties)
public:
  using TcxCustomMemoProperties::TcxCustomMemoProperties;
  PELTO_PUBLISHED(p);
};

class TcxCustomMemoViewData : public TcxCustomTextEditViewData {
  PELTO_CLASS(TcxCustomMemoViewData, TcxCustomTextEditViewData)
public:
  using TcxCustomTextEditViewData::TcxCustomTextEditViewData;
  int GetDrawTextFlags() override;
  void GetTextOffsets(RECT& R) override;
};

class TcxCustomMemoViewInfo : public TcxCustomTextEditViewInfo {
  PELTO_CLASS(TcxCustomMemoViewInfo, TcxCustomTextEditViewInfo)
public:
  TcxCustomMemoViewInfo() = default;
  TcxCustomEditViewInfo* Clone() const override;
  void DrawText(TcxCanvas* ACanvas) override;
};

class TcxCustomMemo;

// The multi-line EDIT window inside a memo: the text editor's inner window with ES_MULTILINE,
// the memo's scroll bars, word wrap, return and tab settings, and its lines.
class TcxCustomInnerMemo : public TcxCustomInnerTextEdit {
  PELTO_CLASS(TcxCustomInnerMemo, TcxCustomInnerTextEdit)
public:
  explicit TcxCustomInnerMemo(TComponent* AOwner);
  ~TcxCustomInnerMemo() override;

  TcxCustomMemo* GetMemo() const;
  // The window's lines (CR LF between them); owned by the inner memo.
  TStrings* GetLines() const;
  TScrollStyle GetScrollBars() const { return FScrollBars; }
  void SetScrollBars(TScrollStyle Value);
  bool GetWantReturns() const { return FWantReturns; }
  void SetWantReturns(bool Value);
  bool GetWantTabs() const { return FWantTabs; }
  void SetWantTabs(bool Value) { FWantTabs = Value; }
  bool GetWordWrap() const { return FWordWrap; }
  void SetWordWrap(bool Value);
  bool GetMultiLine() override { return true; }
  void AdjustMargins() override;

protected:
  void CreateParams(TCreateParams& Params) override;
  void CreateWnd() override;
  void WndProc(TMessage& Message) override;
  void KeyPress(char& Key) override;
  void KeyUp(Word& Key, TShiftState Shift) override;

private:
  std::unique_ptr<TMemoStrings> FLines;
  TScrollStyle FScrollBars = ssNone;
  bool FWantReturns = true;
  bool FWantTabs = false;
  bool FWordWrap = true;
  bool FSettingText = false;
};

class TcxCustomMemo : public TcxCustomTextEdit {
  PELTO_CLASS(TcxCustomMemo, TcxCustomTextEdit)
public:
  explicit TcxCustomMemo(TComponent* AOwner);
  ~TcxCustomMemo() override;

  TcxCustomMemoProperties* GetMemoProperties() { return static_cast<TcxCustomMemoProperties*>(GetProperties()); }
  TcxCustomInnerMemo* GetInnerMemo();
  TClass GetPropertiesClass() const override;
  void PropertiesChanged(TObject* Sender) override;
  void CutToClipboard() override;
  void SetSelText(const AnsiString& Value) override;
  void ClearSelection() override;
  void UpdateInnerEditAppearance() override;
  // Follows the inner window's bars now (a posted CM_SYNCSCROLLBARS calls it later).
  void SyncScrollBars() override;
  // Posts one CM_SYNCSCROLLBARS however often it is asked before the message arrives.
  void PostSyncScrollBars();

protected:
  friend class TcxCustomInnerMemo;

  void ReadState(TReader* Reader) override;
  void WndProc(TMessage& Message) override;
  void CreateParams(TCreateParams& Params) override;
  void CreateWnd() override;
  bool HasOwnScrollBars() override { return true; }
  // The bars follow the inner window, not the control's own scroll-bar calculation.
  void UpdateScrollBars() override;
  void Scroll(TScrollBarKind Kind, TScrollCode ScrollCode, int& ScrollPos) override;
  void AdjustInnerEditPosition() override;
  bool CanKeyDownModifyEdit(Word Key, TShiftState Shift) override;
  void ChangeHandler(TObject* Sender) override;
  void DoEditKeyDown(Word& Key, TShiftState Shift) override;
  void KeyDown(Word& Key, TShiftState Shift) override;
  TClass GetInnerEditClass() const override;
  void InitializeViewData(TcxCustomEditViewData* AViewData) override;
  bool HasInnerEditRect() override { return true; }
  // The arrow, page, Home and End keys move the caret between lines.
  bool WantNavigationKeys() override { return true; }
  bool CanProcessActivationKey(char Key) override { return Key != '\r'; }
  virtual bool IsCaretMoveKey(Word AKey, TShiftState AShift);

  bool IsClearPasting() const { return FClearPasting; }

private:
  // After a change made through the editor: the value follows the window's text.
  void ResyncAfterChange();

  bool FAdjusting = false;
  bool FSyncing = false;
  bool FSyncPosted = false;
  bool FClearPasting = false;    // the inner window handles WM_CLEAR or WM_PASTE
  bool FInternalAction = false;  // the memo itself asks the inner window to clear
};

class TcxMemo : public TcxCustomMemo {
  PELTO_CLASS(TcxMemo, TcxCustomMemo)
public:
  using TcxCustomMemo::TcxCustomMemo;
  TcxMemoProperties* GetActiveProperties() { return static_cast<TcxMemoProperties*>(GetProperties()); }
  TStrings* GetLines();
  void SetLines(TStrings* Value);
  TClass GetPropertiesClass() const override;
  PELTO_PUBLISHED(p);
};

namespace cxMemo {
// The text a cell shows: before the first line break, at most AMaxBytes bytes, never half a
// double-byte character.
AnsiString FirstLine(const AnsiString& AText, int AMaxBytes = 250);
// Registers TcxMemoProperties in the editor properties list. Idempotent.
void Initialize();
}  // namespace cxMemo
