// The mask editor's modes: the object that knows the mask kind and to which the editor hands
// every key, clipboard action and text change.
// - TcxMaskEditStandardMode: a classic edit mask, fixed positions, overwrite typing.
// - TcxMaskEditRegExprMode: a regular expression; the text may have any length, the expression
//   decides what may be typed at the caret. The text left of the caret (the head) has been fed
//   through the expression, the text right of it (the tail) has not.
// - TcxMaskEditRegExprExMode: the same with the fixed characters of the mask filled in and
//   skipped automatically.
//
// A key operation answering false consumes the key; true leaves it to the inner EDIT window.
//
// CP936: masks work on bytes, the editor's text on characters. A double-byte character is typed
// only where the mask takes both of its bytes (else refused with the beep); caret moves,
// Backspace and Delete step over both bytes; no operation leaves half a character in the text.
#pragma once

#include <memory>

#include "controls/editors/mask/cxStandardMask.h"
#include "controls/editors/regexpr/cxRegExpr.h"
#include "platform/classes/ClassDecl.h"
#include "platform/rtl/Exceptions.h"
#include "platform/stdctrls/StdCtrlsTypes.h"

class TcxCustomMaskEdit;
class TcxCustomMaskEditProperties;

// Raised with the text of all regular-expression errors of a mask.
PELTO_DECLARE_EXCEPTION(EcxMaskEditError, Exception);

class TcxMaskEditCustomMode : public TObject {
public:
  // AEdit may be null (the properties' private modes).
  TcxMaskEditCustomMode(TcxCustomMaskEdit* AEdit, TcxCustomMaskEditProperties* AProperties);
  ~TcxMaskEditCustomMode() override = default;

  // 0 standard, 1 regular expression, 2 extended regular expression.
  virtual int MaskKind() const = 0;
  virtual void AfterPaste() = 0;
  // Keeps the text, compiles it when not empty; raises EcxMaskEditError for a bad expression.
  virtual void SetMask(const AnsiString& AMask) = 0;
  virtual AnsiString EmptyText() = 0;
  virtual AnsiString FormatText(const AnsiString& AText) = 0;
  virtual void BeforeSelectAll() = 0;
  virtual bool CaretAtBegin() = 0;
  virtual bool CaretAtEnd() = 0;
  virtual bool IsValid(const AnsiString& AText) = 0;
  virtual void CaretMoved() = 0;
  virtual void BeforePaste() = 0;
  virtual bool KeyBackspace() = 0;
  virtual bool KeyDelete() = 0;
  virtual bool KeyEnd() = 0;
  virtual bool KeyHome() = 0;
  virtual bool KeyLeft() = 0;
  virtual bool KeyRight() = 0;
  // Ch is the lead byte of a double-byte character whose trail byte the editor's inner edit
  // holds (GetImeLastChar).
  virtual bool KeyChar(char& Ch) = 0;
  virtual void SetText(const AnsiString& AText) = 0;
  // Shows the value through the mask again.
  virtual void RefreshText();
  virtual void ShowInitialText() = 0;
  virtual AnsiString TextToValue(const AnsiString& AText) = 0;

  const AnsiString& GetMask() const { return FMask; }
  TcxCustomMaskEditProperties* GetProperties() const { return FProperties; }
  void SetProperties(TcxCustomMaskEditProperties* Value) { FProperties = Value; }
  TcxCustomMaskEdit* GetEdit() const { return FEdit; }
  TEditCharCase GetCharCase() const { return FCharCase; }
  void SetCharCase(TEditCharCase Value) { FCharCase = Value; }
  void SetClipboardTextLength(int Value) { FClipboardTextLength = Value; }

protected:
  // The owner's beep: only with BeepOnError.
  void Beep();
  // The editor has its inner text control (false without an editor and at design time).
  bool HasEdit();
  AnsiString Text();
  void ShowText(const AnsiString& AText);
  int SelStart();
  int SelLength();
  void SetSelection(int AStart, int ALength);
  // The trail byte of the double-byte character being typed, else 0.
  char PendingTrail();
  bool ShiftHeld();
  void ClearShift();

  TcxCustomMaskEdit* FEdit;
  TcxCustomMaskEditProperties* FProperties;
  AnsiString FMask;
  bool FInitialText = false;
  TEditCharCase FCharCase = ecNormal;
  int FClipboardTextLength = 0;
};

class TcxMaskEditStandardMode : public TcxMaskEditCustomMode {
public:
  using TcxMaskEditCustomMode::TcxMaskEditCustomMode;
  int MaskKind() const override { return 0; }
  void AfterPaste() override;
  void SetMask(const AnsiString& AMask) override;
  AnsiString EmptyText() override { return FStandardMask.EmptyText(); }
  AnsiString FormatText(const AnsiString& AText) override;
  void BeforeSelectAll() override {}
  bool CaretAtBegin() override;
  bool CaretAtEnd() override;
  bool IsValid(const AnsiString& AText) override;
  void CaretMoved() override;
  void BeforePaste() override;
  bool KeyBackspace() override;
  bool KeyDelete() override;
  bool KeyEnd() override;
  bool KeyHome() override;
  bool KeyLeft() override;
  bool KeyRight() override;
  bool KeyChar(char& Ch) override;
  void SetText(const AnsiString&) override { CaretMoved(); }
  void RefreshText() override;
  void ShowInitialText() override;
  AnsiString TextToValue(const AnsiString& AText) override;

  const TcxStandardMask& GetStandardMask() const { return FStandardMask; }
  // Fill that puts a double-byte character only into two places that take its two bytes.
  AnsiString Fill(const AnsiString& AText, bool AAdjustCase) const;

private:
  bool IsLiteral(int APos) const;
  // With Shift, the key is the EDIT window's (answers true).
  bool ShiftedKey(const AnsiString& AText);
  // The caret at APos with the one-character cursor; the key is consumed.
  bool MoveCursor(int APos);
  bool IsPlace(int APos) const { return APos >= 0 && APos < FStandardMask.ItemCount() && !IsLiteral(APos); }
  // The length of the character at APos in the text (0 at the end).
  static int CharLen(const AnsiString& AText, int APos);

  TcxStandardMask FStandardMask;
  int FPasteCaret = 0;
};

class TcxMaskEditRegExprMode : public TcxMaskEditCustomMode {
public:
  TcxMaskEditRegExprMode(TcxCustomMaskEdit* AEdit, TcxCustomMaskEditProperties* AProperties);
  int MaskKind() const override { return 1; }
  void AfterPaste() override {}
  void SetMask(const AnsiString& AMask) override;
  AnsiString EmptyText() override { return AnsiString(); }
  AnsiString FormatText(const AnsiString& AText) override;
  void BeforeSelectAll() override;
  bool CaretAtBegin() override { return SelStart() == 0; }
  bool CaretAtEnd() override { return SelStart() >= int(Text().size()); }
  bool IsValid(const AnsiString& AText) override;
  void CaretMoved() override { FResync = true; }
  void BeforePaste() override {}
  bool KeyBackspace() override;
  bool KeyDelete() override;
  bool KeyEnd() override;
  bool KeyHome() override;
  bool KeyLeft() override;
  bool KeyRight() override;
  bool KeyChar(char& Ch) override;
  void SetText(const AnsiString& AText) override;
  void RefreshText() override;
  void ShowInitialText() override {}
  AnsiString TextToValue(const AnsiString& AText) override { return AText; }

  // Takes the case flag from the properties.
  void UpdateCaseInsensitive();
  const AnsiString& GetHead() const { return FHead; }
  const AnsiString& GetTail() const { return FTail; }

protected:
  virtual void TakeSelection();
  virtual void PutBackSelection();
  virtual void Resync();
  // Feeds a character (both bytes of a double-byte one); steps back what it took on a refusal.
  bool AcceptChar(AnsiString& ACh);
  void StepBackChar(const AnsiString& ACh);
  bool TailFits();
  void CutTail();
  bool IsCompiled() const { return FRegExpr && FRegExpr->IsCompiled(); }
  // A new expression compiled from the mask with the properties' case flag.
  std::unique_ptr<TcxRegExpr> CompilePrivate(bool ALiteralCompletion);

  std::unique_ptr<TcxRegExpr> FRegExpr;
  AnsiString FHead, FTail;
  AnsiString FTakenSelection;
  bool FTakenFromTail = false;
  bool FResync = false;
};

class TcxMaskEditRegExprExMode : public TcxMaskEditRegExprMode {
public:
  TcxMaskEditRegExprExMode(TcxCustomMaskEdit* AEdit, TcxCustomMaskEditProperties* AProperties);
  int MaskKind() const override { return 2; }
  void SetMask(const AnsiString& AMask) override;
  AnsiString EmptyText() override;
  AnsiString FormatText(const AnsiString& AText) override;
  bool IsValid(const AnsiString& AText) override;
  bool KeyBackspace() override;
  bool KeyDelete() override;
  bool KeyChar(char& Ch) override;
  bool KeyLeft() override;
  bool KeyRight() override;
  void SetText(const AnsiString& AText) override;
  void ShowInitialText() override;
  void BeforePaste() override { Resync(); }

protected:
  void Resync() override;

private:
  void Reset();
  // The literals the mask forces at its start.
  AnsiString StartLiterals();
  // After the head changed: the tail fed again when it fits (with the literals forced after
  // it shown), else cut.
  void TestTail(int ACaret);
  // The expression fed with the head, without completion.
  void FeedHead();
  // The head less its last typed character and the literals forced after it; ARemovedReal is
  // false when only the start literals were there.
  AnsiString BackOverForced(bool& ARemovedReal);

  AnsiString FCompleted;  // literals completed during the current operation
  int FRemoved = 0;       // literals taken back during the current operation
};

namespace cxMaskEditModes {
// The text with every lead byte that has no trail byte after it replaced by ABlank.
AnsiString RepairHalves(const AnsiString& AText, char ABlank);
// The message of a mask's regular-expression errors.
AnsiString ErrorsText(const TcxRegExprErrors& AErrors);
}  // namespace cxMaskEditModes
