// TCustomMaskEdit: an edit box whose text follows an edit mask (MaskUtils.h), and TMaskEdit,
// its published form. Without a mask it is a plain edit box.
//
// With a mask the window shows the edit text: every position of the mask, literals in place
// and the blank character in unfilled places. Typing overwrites the next input place that
// takes the character (literals are stepped over; a character no place takes beeps and is
// dropped); Backspace and Delete blank places rather than remove them; a paste fills the
// places from the caret on. Text is the stored value (MaskUtils::TEditMask::Value), EditText
// the shown one. Escape puts back the text the box had when the focus came, and leaving the
// box validates it.
#pragma once

#include <memory>

#include "platform/stdctrls/edits/CustomEdit.h"

namespace MaskUtils {
class TEditMask;
}

// Raised by ValidateEdit for a text the mask does not take.
PELTO_DECLARE_EXCEPTION(EDBEditError, Exception);

class TCustomMaskEdit : public TCustomEdit {
  PELTO_CLASS(TCustomMaskEdit, TCustomEdit)
public:
  explicit TCustomMaskEdit(TComponent* AOwner);
  ~TCustomMaskEdit() override;

  const AnsiString& GetEditMask() const { return FEditMask; }
  // Keeps the stored value and lays it out through the new mask.
  void SetEditMask(const AnsiString& Value);
  bool IsMasked() const;
  // The shown text, literals and blanks included; set as it is.
  AnsiString GetEditText();
  void SetEditText(const AnsiString& Value);
  // Raises EDBEditError "Invalid input value.  Use escape key to abandon changes" when the box
  // was modified and its text fails the mask; the caret goes to the first failing place.
  virtual void ValidateEdit();
  // The text the box had when the focus came, put back.
  void Reset();
  // The mask in use (parsed); empty without a mask.
  const MaskUtils::TEditMask& GetMask() const { return *FMask; }

  PELTO_PUBLISHED(p) { p.Property("EditMask", &ThisClass::GetEditMask, &ThisClass::SetEditMask); }

protected:
  // The stored value without the mask's layout (Text reads and writes this).
  AnsiString GetTextBuf() override;
  void SetTextBuf(const AnsiString& Value) override;
  void WndProc(TMessage& Message) override;
  void KeyDown(Word& Key, TShiftState Shift) override;
  void KeyPress(char& Key) override;
  void CMEnter(TMessage& Message) override;
  void CMExit(TMessage& Message) override;
  void CMWantSpecialKey(TMessage& Message) override;
  // Whether the edit text passes the mask; Pos: the first failing position (characters).
  virtual bool Validate(const AnsiString& Value, int& Pos);
  virtual void ValidateError();

private:
  // Character index <-> byte offset in the edit text.
  int CharIndexOf(const AnsiString& Text, int ByteOffset) const;
  int ByteOffsetOf(const AnsiString& Text, int CharIndex) const;
  // Shows Text as one change (modified, OnChange once) with the caret at character Caret.
  void Replace(const AnsiString& Text, int Caret);
  // The selection in characters.
  void CharSelection(int& From, int& To);
  void InputChar(AnsiString Ch);
  // Blanks the input places in [From, To).
  AnsiString Blanked(const AnsiString& Text, int From, int To) const;
  void DeleteKey(bool Back);
  void Paste(const AnsiString& Clip);

  std::unique_ptr<MaskUtils::TEditMask> FMask;
  AnsiString FEditMask;
  AnsiString FOldValue;  // the edit text when the focus came
  char FLead = 0;        // a lead byte waiting for its trail byte
};

class TMaskEdit : public TCustomMaskEdit {
  PELTO_CLASS(TMaskEdit, TCustomMaskEdit)
public:
  using TCustomMaskEdit::TCustomMaskEdit;
};
