// The two small editors through which the editor framework is tested, and the in-place host.
// - TcxTestButtonEdit: buttons and no inner control; it keeps its own text, typed characters
//   append to it.
// - TcxTestTextEdit: hosts a plain EDIT window (TcxTestInnerEdit); its text is the edit's text.
// - TcxTestInplaceHost: a control of cells, one column of properties each, that activates the
//   editors of a TcxInplaceEditList over a cell by key and by mouse, as a grid does.
#pragma once

#include <memory>
#include <vector>

#include "controls/editors/edit/cxEdit.h"
#include "controls/framework/cxLookAndFeels.h"
#include "platform/stdctrls/edits/CustomEdit.h"

class TcxTestEditProperties : public TcxCustomEditProperties {
  PELTO_CLASS(TcxTestEditProperties, TcxCustomEditProperties)
public:
  using TcxCustomEditProperties::TcxCustomEditProperties;
  bool CanCompareEditValue() override { return CompareValues; }
  bool CanResetEditValue() override { return ResetOnEscape; }
  bool CanValidate() override { return true; }
  TClass GetContainerClass() const override;
  bool CompareValues = true;
  bool ResetOnEscape = true;
};

class TcxTestButtonEdit : public TcxCustomEdit {
  PELTO_CLASS(TcxTestButtonEdit, TcxCustomEdit)
public:
  explicit TcxTestButtonEdit(TComponent* AOwner) : TcxCustomEdit(AOwner) {}
  TcxTestEditProperties* Props() { return static_cast<TcxTestEditProperties*>(GetProperties()); }
  const AnsiString& GetShownText() const { return FText; }
  void GetDisplayValue(Variant& Text) override { Text = Variant(FText); }
  void SetDisplayValue(const Variant& Value) override { FText = Variants::VarToStr(Value); }
  void SynchronizeDisplayValue() override { FText = Variants::VarToStr(GetEditValue()); }
  TClass GetPropertiesClass() const override { return TcxTestEditProperties::StaticClass(); }

  // What the framework's hooks were called with, in order ("down 0", "up 0", "dblclick", ...).
  std::vector<AnsiString> Log;
  int SelectAllCount = 0;

protected:
  void SelectAll() override { ++SelectAllCount; }
  bool CanKeyPressModifyEdit(char Key) override { return true; }
  void DoEditKeyPress(char& Key) override;
  void SetInternalDisplayValue(const Variant& Value) override { InternalSetEditValue(Value, false); }
  void DoButtonDown(int Index) override;
  void DoButtonUp(int Index) override;
  void DblClick() override;

private:
  AnsiString FText;
};

// A plain EDIT window as an editor's inner control.
class TcxTestInnerEdit : public TCustomEdit, public IcxCustomInnerEdit {
  PELTO_CLASS(TcxTestInnerEdit, TCustomEdit)
public:
  using TConstructArg = TComponent*;
  explicit TcxTestInnerEdit(TComponent* AOwner);
  TWinControl* GetControl() override { return this; }
  TcxContainer* GetControlContainer() override { return dynamic_cast<TcxContainer*>(GetOwner()); }
  Variant GetTextValue() override { return Variant(GetText()); }
  TNotifyEvent GetOnChange() override { return OnChange; }
  bool GetReadOnly() override { return TCustomEdit::GetReadOnly(); }
  void LockBounds(bool ALock) override { FLockBounds += ALock ? 1 : -1; }
  void SafelySetFocus() override;
  void SetTextValue(const Variant& V) override { SetText(Variants::VarToStr(V)); }
  void SetParent(TWinControl* AParent) override { TCustomEdit::SetParent(AParent); }
  void SetOnChange(TNotifyEvent AEvent) override { OnChange = std::move(AEvent); }
  void SetReadOnly(bool Value) override { TCustomEdit::SetReadOnly(Value); }
  // Every WM_CHAR the window got, and the characters the editor let through to it.
  AnsiString Received, Chars;

protected:
  void WndProc(TMessage& Message) override;
  void KeyDown(Word& Key, TShiftState Shift) override;
  void KeyPress(char& Key) override;

private:
  int FLockBounds = 0;
};

class TcxTestTextEditProperties : public TcxTestEditProperties {
  PELTO_CLASS(TcxTestTextEditProperties, TcxTestEditProperties)
public:
  using TcxTestEditProperties::TcxTestEditProperties;
  bool HasOwnChangeEvent() override { return true; }
  TClass GetContainerClass() const override;
};

class TcxTestTextEdit : public TcxCustomEdit {
  PELTO_CLASS(TcxTestTextEdit, TcxCustomEdit)
public:
  explicit TcxTestTextEdit(TComponent* AOwner) : TcxCustomEdit(AOwner) {}
  TcxTestInnerEdit* Inner() { return static_cast<TcxTestInnerEdit*>(GetInnerEdit()->GetControl()); }
  void GetDisplayValue(Variant& Text) override { Text = Variant(Inner()->GetText()); }
  void SetDisplayValue(const Variant& Value) override { Inner()->SetText(Variants::VarToStr(Value)); }
  void SynchronizeDisplayValue() override;
  TClass GetPropertiesClass() const override { return TcxTestTextEditProperties::StaticClass(); }
  void SelectAll() override { Inner()->SelectAll(); }
  void EditorKeyDown(Word& Key, TShiftState Shift) { KeyDown(Key, Shift); }
  void EditorKeyPress(char& Key) { KeyPress(Key); }

protected:
  TClass GetInnerEditClass() const override { return TcxTestInnerEdit::StaticClass(); }
  bool CanKeyDownModifyEdit(Word Key, TShiftState Shift) override { return Key == VK_DELETE || Key == VK_BACK; }
  bool CanKeyPressModifyEdit(char Key) override { return true; }
  void SetInternalDisplayValue(const Variant& Value) override { InternalSetEditValue(Value, false); }
  bool HasInnerEditRect() override { return true; }
  void InitializeInnerEdit() override;
};

// A row of cells, one per column; a column edits with its properties through the host's
// in-place edit list. Keys and clicks on the host activate the cell's editor over the cell.
class TcxTestInplaceHost : public TcxControl {
  PELTO_CLASS(TcxTestInplaceHost, TcxControl)
public:
  explicit TcxTestInplaceHost(TComponent* AOwner);
  ~TcxTestInplaceHost() override;
  // Borrowed; each column is one cell of CellWidth pixels.
  std::vector<TcxCustomEditProperties*> Columns;
  std::vector<Variant> Values;
  int CellWidth = 100, CellHeight = 20;
  TcxInplaceEditList* GetEditList() { return &FEditList; }
  TcxCustomEdit* GetActiveEdit() const { return FActive; }
  // Activates the column's editor over its cell, without a key or click.
  TcxCustomEdit* ShowEditor(int Column);
  // Keys the active editor passed on (navigation, Tab).
  std::vector<Word> PassedKeys;
  int PostCount = 0;

protected:
  void KeyPress(char& Key) override;
  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;

private:
  TcxCustomEdit* Prepare(int Column);

  TcxInplaceEditList FEditList;
  TcxCustomEdit* FActive = nullptr;
  int FFocusedColumn = 0;
  TcxCustomEditData* FEditData = nullptr;
};

class TcxCustomEditPopupWindow;

namespace cxEditTest {
// A sizeable pop-up of the editor with the system panel and a shadow, a fixed size of
// AWidth x AHeight and a list of five departments as its content; not shown. The caller owns it.
TcxCustomEditPopupWindow* MakeDepartmentPopup(TcxCustomEdit* AEdit, int AWidth, int AHeight);
}  // namespace cxEditTest

// The four looks the picture tests draw editors in: standard, flat, ultra-flat and the themed
// fall-back.
struct TEditorPictureLook {
  const char* Name;
  TcxLookAndFeelKind Kind;
  TcxEditBorderStyle Border;
  bool Native;
};
extern const TEditorPictureLook kEditorPictureLooks[4];
void ApplyPictureLook(TcxCustomEditStyle* S, const TEditorPictureLook& L);
