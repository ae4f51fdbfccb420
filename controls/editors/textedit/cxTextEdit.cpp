#include "controls/editors/textedit/cxTextEdit.h"

#include <algorithm>

#include "controls/editors/edit/cxEditRepository.h"
#include "controls/editors/edit/cxEditStyle.h"
#include "controls/editors/textedit/cxInnerTextEdit.h"
#include "controls/editors/textedit/cxTextEditViewInfo.h"
#include "controls/framework/cxGraphics.h"
#include "platform/forms/app/Clipboard.h"
#include "platform/forms/controls/Messages.h"
#include "platform/rtl/AnsiStrings.h"
#include "platform/rtl/Guards.h"
#include "platform/rtl/StringList.h"
#include "platform/win/WinUser.h"
#include "platform/win/clipboard/Clipboard.h"
#include "platform/win/input/Focus.h"
#include "platform/win/queue/Messages.h"
#include "platform/rtl/Conversions.h"
#include "platform/win/window/Rects.h"
#include "platform/win/window/Windows.h"

// ---- Life

TcxCustomTextEdit::TcxCustomTextEdit(TComponent* AOwner) : TcxCustomEdit(AOwner)
{
  SetParentColor(false);
  cxFormats::GetFormatController()->AddListener(this);
}

TcxCustomTextEdit::~TcxCustomTextEdit()
{
  if (TcxFormatController* c = cxFormats::FindFormatController()) c->RemoveListener(this);
  FILookupData = nullptr;
  FLookupData.reset();
}

void cxTextEdit::Initialize()
{
  cxEdit::GetRegisteredEditProperties()->Register(TcxTextEditProperties::StaticClass(),
                                                  "TextEdit|Represents a single line text editor");
}

// ---- Parts and properties

TClass TcxCustomTextEdit::GetPropertiesClass() const { return TcxTextEditProperties::StaticClass(); }
TClass TcxTextEdit::GetPropertiesClass() const { return TcxTextEditProperties::StaticClass(); }
TClass TcxCustomTextEdit::GetInnerEditClass() const { return TcxCustomInnerTextEdit::StaticClass(); }

IcxInnerTextEdit* TcxCustomTextEdit::GetInnerTextEdit()
{
  if (IsInnerEditMissing()) return nullptr;
  return dynamic_cast<IcxInnerTextEdit*>(GetInnerEdit());
}

TcxCustomInnerTextEdit* TcxCustomTextEdit::GetInnerTextEditControl()
{
  IcxInnerTextEdit* inner = GetInnerTextEdit();
  return inner ? dynamic_cast<TcxCustomInnerTextEdit*>(inner->GetControl()) : nullptr;
}

void TcxCustomTextEdit::InitializeInnerEdit()
{
  TcxCustomEdit::InitializeInnerEdit();
  // Sized here, once the properties name the view info class: a resize asks for the view info.
  if (GetWidth() == 0 && GetHeight() == 0) SetBounds(GetLeft(), GetTop(), 121, 21);
  if (auto* inner = dynamic_cast<TWinControl*>(GetInnerEdit()->GetControl())) inner->SetColor(clWindow);
}

void TcxCustomTextEdit::GetChildren(TGetChildProc Proc, TComponent* Root)
{
  TWinControl* inner = GetInnerTextEditControl();
  TcxCustomEdit::GetChildren(
      [&Proc, inner](TComponent* Child) {
        if (Child != inner) Proc(Child);
      },
      Root);
}

void TcxCustomTextEdit::RecreateLookupData()
{
  TClass c = GetTextProperties()->GetLookupDataClass();
  if (c == FLookupDataClass && (FLookupData || !c)) return;
  FILookupData = nullptr;
  FLookupData.reset();
  FLookupDataClass = c;
  if (!c) return;
  FLookupData.reset(static_cast<TcxCustomTextEditLookupData*>(c->Create(this)));
  FILookupData = FLookupData.get();
  FILookupData->SetOnItemSelected([this](TObject* Sender) { LookupDataSelectItem(Sender); });
}

TcxTextEditProperties* TcxCustomTextEdit::GetPublishedProperties()
{
  return static_cast<TcxTextEditProperties*>(GetOwnProperties());
}

void TcxCustomTextEdit::SetPublishedProperties(TcxTextEditProperties* Value)
{
  if (!GetRepositoryItem()) GetOwnProperties()->Assign(Value);
}

void TcxCustomTextEdit::PropertiesChanged(TObject* Sender)
{
  TcxCustomTextEditProperties* p = GetTextProperties();
  IcxInnerTextEdit* inner = GetInnerTextEdit();
  if (inner) inner->SetAlignment(p->GetAlignment()->GetHorz());
  RecreateLookupData();
  if (FILookupData) {
    FILookupData->PropertiesChanged();
    if (!FLookupTextUpdating) FILookupData->TextChanged();
  }
  if (inner) {
    if (!HasInnerEditRect()) UpdateDrawValue();
    inner->SetAutoSelect(p->GetAutoSelect() && !IsInplace());
    inner->SetCharCase(p->GetCharCase());
    inner->SetEchoMode(p->GetEchoMode());
    inner->SetHideSelection(p->GetHideSelection());
    inner->SetMaxLength(p->GetMaxLength());
    inner->SetOEMConvert(p->GetOEMConvert());
    inner->SetReadOnly(p->GetReadOnly());
  }
  EnsureEditorBounds();
  if (!IsPosting()) RefreshDisplayText();
  UpdateDrawValue();
  TcxCustomEdit::PropertiesChanged(Sender);
  if (inner && inner->GetControl()->HandleAllocated()) inner->GetControl()->Invalidate();
}

void TcxCustomTextEdit::FormatChanged()
{
  GetProperties()->Changed();
  SynchronizeDisplayValue();
}

void TcxCustomTextEdit::Loaded()
{
  TcxCustomEdit::Loaded();
  ShortRefreshContainer(false);
}

void TcxCustomTextEdit::EnsureEditorBounds()
{
  TcxCustomTextEditProperties* p = GetTextProperties();
  if (IsDesigning() && p->IsEditValueNumeric() && !IsInnerEditMissing() && p->GetMaxValue() != p->GetMinValue())
    ClampEditValue();
}

bool TcxCustomTextEdit::IsEditingPossible() { return GetEditingStyle() != 3; }

bool TcxCustomTextEdit::IsValidChar(char AChar)
{
  return TcxCustomEdit::IsValidChar(AChar) || GetTextProperties()->GetValidChars()[static_cast<unsigned char>(AChar)];
}

TcxEditSizeProperties TcxCustomTextEdit::GetEditSizeProperties()
{
  TcxEditSizeProperties r;
  r.MaxLineCount = 1;
  r.Width = -1;
  return r;
}

// ---- Value protocol

void TcxCustomTextEdit::GetDisplayValue(Variant& Text)
{
  IcxInnerTextEdit* inner = GetInnerTextEdit();
  Text = inner ? inner->GetTextValue() : Variant(AnsiString());
}

void TcxCustomTextEdit::SetDisplayValue(const Variant& Value)
{
  if (IcxInnerTextEdit* inner = GetInnerTextEdit()) inner->SetTextValue(Value);
}

void TcxCustomTextEdit::DisplayValueToEditValue(const Variant& ADisplayValue, Variant& EditValue, bool)
{
  EditValue = ADisplayValue;
}

bool TcxCustomTextEdit::ApplyDisplayText(const AnsiString& AText)
{
  const size_t nul = AText.find('\0');
  Variant v(nul == AnsiString::npos ? AText : AText.substr(0, nul));
  if (!GetTextProperties()->IsDisplayValueValid(v, HasEditFocus())) return false;
  if (IsUserChange() && !DoEditing()) return false;
  SetInternalDisplayValue(v);
  return true;
}

void TcxCustomTextEdit::SetInternalDisplayValue(const Variant& Value)
{
  GetDataBinding()->SetDisplayValue(Value);
  if (IsUserChange()) return;
  ResetLookupSelection();
  SyncEditValueFromText();
  SetModifiedSinceEnter(false);
}

void TcxCustomTextEdit::ApplyDisplayValue(const Variant& ADisplayValue)
{
  const bool lookupSelection = FLookupSelection;
  TScopeExit Restore([this, lookupSelection] { FLookupSelection = lookupSelection; });
  if (GetEditingStyle() == 0 && FILookupData && GetTextProperties()->UseLookupData()) {
    const AnsiString text = Variants::VarToStr(ADisplayValue);
    if (!GetTextProperties()->FindLookupText(text)) GetTextProperties()->DoNewLookupDisplayText(this, text);
  }
  TcxCustomEdit::ApplyDisplayValue(ADisplayValue);
}

void TcxCustomTextEdit::SyncEditValueFromTextNow()
{
  TcxCustomTextEditProperties* p = GetProperties() == GetTextProperties() ? GetTextProperties() : nullptr;
  if (!p) return;
  const bool compare = p->CanCompareEditValue();
  const Variant old = GetEditValue();
  Variant v;
  DisplayValueToEditValue(Variant(GetDisplayValueText()), v, HasEditFocus());
  StoreEditValue(v);
  if (IsUserChange())
    SetEditModified(true);
  else
    SetModifiedSinceEnter(false);
  if (compare && !cxEdit::VarEqualsExact(old, v)) {
    DoEditValueChanged();
    if (!p->HasOwnChangeEvent()) DoChange();
  }
}

void TcxCustomTextEdit::SynchronizeDisplayValue()
{
  if (IsInnerEditMissing()) return;
  TcxCustomTextEditProperties* p = GetTextProperties();
  Variant display;
  Variant value = GetEditValue();
  const bool focused = HasEditFocus();
  if (p->CanValidate()) {
    const bool valid = p->IsEditValueValid(value, focused);
    if (valid || focused) {
      if (valid)
        PrepareDisplayValue(GetEditValue(), display, focused);
      else
        p->GetEmptyDisplayValue(display);
    } else if (Variants::VarType(GetEditValue()) == varDate) {
      display = Variant(SysUtils::DateTimeToStr(Variants::VarToDateTime(GetEditValue())));
    } else {
      try {
        display = Variant(Variants::VarToStr(GetEditValue()));
      } catch (EConvertError&) {
        display = Variant(AnsiString());
      }
    }
  } else {
    PrepareDisplayValue(GetEditValue(), display, focused);
  }
  SaveModified();
  TScopeExit Restore([this] {
    FInternalTextSetting = false;
    RestoreModified();
    ResetLookupSelection();
    UpdateDrawValue();
  });
  FInternalTextSetting = true;
  GetDataBinding()->SetDisplayValue(display);
}

void TcxCustomTextEdit::RefreshDisplayText()
{
  if (IsInnerEditMissing()) return;
  TcxCustomTextEditProperties* p = GetTextProperties();
  const int style = GetEditingStyle();
  if (style == 1 || style == 2) {
    if (GetEditModified()) {
      Variant v(GetDisplayValueText());
      if (!p->IsDisplayValueValid(v, true)) {
        Variant empty;
        p->GetEmptyDisplayValue(empty);
        SaveModified();
        TScopeExit Restore([this] { RestoreModified(); });
        GetDataBinding()->SetDisplayValue(empty);
      }
    } else {
      SynchronizeDisplayValue();
    }
  } else if (!GetEditModified()) {
    GetDataBinding()->UpdateDisplayValue();
  }
  if (!HasInnerEditRect()) UpdateDrawValue();
}

void TcxCustomTextEdit::ChangeHandler(TObject* Sender)
{
  {
    LockChangeEvents(true);
    TScopeExit Unlock([this] { LockChangeEvents(false, true); });
    TcxCustomEdit::ChangeHandler(Sender);
  }
  auto* vi = dynamic_cast<TcxCustomTextEditViewInfo*>(GetEditViewInfo());
  if (!vi || !vi->TextInfo.EditWindowShown) UpdateDrawValue();
}

void TcxCustomTextEdit::InternalGetText(AnsiString& S) { S = GetDisplayValueText(); }

bool TcxCustomTextEdit::InternalSetText(const AnsiString& S) { return ApplyDisplayText(S); }

void TcxCustomTextEdit::SetText(const AnsiString& Value) { InternalSetText(Value); }

void TcxCustomTextEdit::SetEditingText(const AnsiString& S)
{
  if (!DoEditing()) return;
  SetDisplayValue(Variant(S));
  SetEditModified(true);
}

void TcxCustomTextEdit::Activate(TcxCustomEditData*& AEditData)
{
  TcxCustomEdit::Activate(AEditData);
  IcxInnerTextEdit* inner = GetInnerTextEdit();
  if (!inner || !HandleAllocated()) return;
  inner->SetSelStart(0);
  if (GetProperties()->GetAutoSelect()) SelectAll();
}

// ---- Messages

void TcxCustomTextEdit::WndProc(TMessage& Message)
{
  switch (Message.Msg) {
    case WM_SETTEXT:
      if (FInternalTextSetting) break;
      Message.Result =
          InternalSetText(Message.LParam ? AnsiString(reinterpret_cast<const char*>(Message.LParam)) : AnsiString())
              ? 1
              : 0;
      return;
    case WM_GETTEXT: {
      AnsiString s;
      InternalGetText(s);
      auto* buffer = reinterpret_cast<char*>(Message.LParam);
      const int size = int(Message.WParam);
      if (size < 1 || !buffer) {
        Message.Result = 0;
        return;
      }
      // At most size - 1 bytes, never half a double-byte character.
      int n = 0;
      for (int i = 1; i <= int(s.size());) {
        const int next = System::NextCharIndex(s, i);
        if (next - 1 > size - 1) break;
        n = std::min(next - 1, int(s.size()));
        i = next;
      }
      std::copy_n(s.data(), n, buffer);
      buffer[n] = 0;
      Message.Result = n;
      return;
    }
    case WM_GETTEXTLENGTH: {
      AnsiString s;
      InternalGetText(s);
      Message.Result = LRESULT(s.size());
      return;
    }
    case WM_CLEAR:
      if (!GetProperties()->GetReadOnly()) {
        const bool was = IsUserChange();
        SetUserChange(true);
        TScopeExit Restore([this, was] { SetUserChange(was); });
        ClearSelection();
      }
      return;
    default: break;
  }
  TcxCustomEdit::WndProc(Message);
}

void TcxCustomTextEdit::InnerEditWindowProc(TMessage& Message)
{
  if (Message.Msg == WM_SETFOCUS) {
    IcxInnerTextEdit* inner = GetInnerTextEdit();
    if (inner && inner->GetAutoSelect()) inner->SelectAll();
    return;
  }
  TcxCustomEdit::InnerEditWindowProc(Message);
}

void TcxCustomTextEdit::UnhookInnerEditWindowProc()
{
  TcxCustomEdit::UnhookInnerEditWindowProc();
  IcxInnerTextEdit* inner = GetInnerTextEdit();
  if (!inner || !inner->GetControl()->HandleAllocated() || IsContainerDestroying()) return;
  const bool autoSelect = inner->GetAutoSelect();
  inner->SetAutoSelect(false);
  TScopeExit Restore([inner, autoSelect] { inner->SetAutoSelect(autoSelect); });
  if (Windows::GetFocus() == inner->GetControl()->GetHandle())
    Windows::SendMessage(inner->GetControl()->GetHandle(), WM_SETFOCUS, 0, 0);
}

void TcxCustomTextEdit::DoExit()
{
  TcxCustomEdit::DoExit();
  SetLookupSelection(false);
}

// ---- Selection and clipboard

int TcxCustomTextEdit::GetSelStart()
{
  IcxInnerTextEdit* inner = GetInnerTextEdit();
  return inner ? inner->GetSelStart() : 0;
}

int TcxCustomTextEdit::GetSelLength()
{
  IcxInnerTextEdit* inner = GetInnerTextEdit();
  return inner ? inner->GetSelLength() : 0;
}

AnsiString TcxCustomTextEdit::GetSelText()
{
  IcxInnerTextEdit* inner = GetInnerTextEdit();
  return inner ? inner->GetSelText() : AnsiString();
}

void TcxCustomTextEdit::SetSelStart(int Value)
{
  if (GetEditingStyle() == 3) return;
  if (IcxInnerTextEdit* inner = GetInnerTextEdit()) inner->SetSelStart(Value);
}

void TcxCustomTextEdit::SetSelLength(int Value)
{
  if (GetEditingStyle() == 3) return;
  if (IcxInnerTextEdit* inner = GetInnerTextEdit()) inner->SetSelLength(Value);
}

void TcxCustomTextEdit::SelectAll()
{
  if (IcxInnerTextEdit* inner = GetInnerTextEdit()) inner->SelectAll();
}

void TcxCustomTextEdit::SetSelText(const AnsiString& Value)
{
  const int style = GetEditingStyle();
  if (IsUserChange() && style == 3) return;
  IcxInnerTextEdit* inner = GetInnerTextEdit();
  if (!inner) return;
  if (style == 2 || style == 3) SelectAll();
  // What may be inserted: up to a NUL, before the first line break of a single-line editor,
  // and never a lone lead byte at its end.
  AnsiString s = Value.substr(0, Value.find('\0'));
  if (!inner->GetMultiLine()) s = s.substr(0, s.find_first_of("\r\n"));
  if (!s.empty() && System::ByteType(s, int(s.size())) == System::mbLeadByte) s.pop_back();
  const AnsiString text = GetDisplayValueText();
  const int start = std::min<int>(inner->GetSelStart(), int(text.size()));
  const int end = std::min<int>(start + inner->GetSelLength(), int(text.size()));
  const AnsiString before = text.substr(0, size_t(start)), after = text.substr(size_t(end));
  AnsiString newText;
  int caret;
  const int maxLength = GetTextProperties()->GetMaxLength();
  if (style == 0 && maxLength > 0) {
    const AnsiString head = cxTextEdit::LeftChars(before + s, maxLength);
    if (int(head.size()) <= start) return;  // nothing of the text fits
    newText = cxTextEdit::LeftChars(head + after, maxLength);
    caret = int(head.size());
  } else if (style == 2) {
    newText = s;
    caret = int(s.size());
  } else {
    newText = before + s + after;
    caret = start + int(s.size());
  }
  if (ApplyDisplayText(newText)) SetSelStart(caret);
}

void TcxCustomTextEdit::DeleteSelection()
{
  IcxInnerTextEdit* inner = GetInnerTextEdit();
  if (!inner || inner->GetSelLength() == 0) return;
  const int start = inner->GetSelStart();
  AnsiString text = GetDisplayValueText();
  text.erase(size_t(start), size_t(inner->GetSelLength()));
  if (ApplyDisplayText(text)) SetSelStart(start);
}

void TcxCustomTextEdit::ClearSelection() { DeleteSelection(); }

void TcxCustomTextEdit::CopyToClipboard()
{
  const int style = GetEditingStyle();
  if (style == 2 || style == 3) SelectAll();
  IcxInnerTextEdit* inner = GetInnerTextEdit();
  if (inner && inner->GetSelLength() > 0) inner->CopyToClipboard();
}

void TcxCustomTextEdit::CutToClipboard()
{
  const int style = GetEditingStyle();
  if (IsUserChange() && style == 3) return;
  if (style == 2 || style == 3) SelectAll();
  IcxInnerTextEdit* inner = GetInnerTextEdit();
  if (!inner || inner->GetSelLength() == 0) return;
  inner->CopyToClipboard();
  DeleteSelection();
}

void TcxCustomTextEdit::PasteFromClipboard()
{
  TClipboard* clipboard = Clipbrd::Clipboard();
  if (!clipboard->HasFormat(CF_TEXT)) return;
  SetSelText(clipboard->GetAsText());
}

// ---- Lookup

void TcxCustomTextEdit::SetLookupSelection(bool Value)
{
  if (!HandleAllocated() || FLookupSelectionLock > 0 || Value == FLookupSelection) return;
  FLookupSelection = Value;
  UpdateDrawValue();
}

void TcxCustomTextEdit::ResetLookupSelection()
{
  if (FILookupData) SetLookupSelection(false);
}

void TcxCustomTextEdit::LookupKeyToEditValue(const Variant& AKey, Variant& V)
{
  DisplayValueToEditValue(Variant(FILookupData ? FILookupData->GetKeyText(AKey) : AnsiString()), V, false);
}

void TcxCustomTextEdit::LookupDataSelectItem(TObject*)
{
  if (!FILookupData) return;
  Variant v;
  LookupKeyToEditValue(FILookupData->GetSelectedKey(), v);
  const bool changed = !cxEdit::VarEqualsExact(v, GetEditValue());
  if (changed && !DoEditing()) return;
  SaveModified();
  {
    TScopeExit Restore([this] { RestoreModified(); });
    SetEditValueChecked(v);
  }
  if (changed) SetEditModified(true);
  SelectAll();
  ShortRefreshContainer(false);
}

bool TcxCustomTextEdit::LookupFind(AnsiString& S)
{
  IcxInnerTextEdit* inner = GetInnerTextEdit();
  AnsiString tail;
  const bool found = FILookupData && FILookupData->Locate(S, tail, false);
  // The flag follows the search; the redraw waits until the text is in place.
  FLookupSelection = found;
  if (S.empty()) {
    if (GetEditingStyle() != 2) GetDataBinding()->SetDisplayValue(Variant(AnsiString()));
    FLookupSelection = false;
  }
  if (found) {
    GetDataBinding()->SetDisplayValue(Variant(S + tail));
    if (inner) {
      inner->SetSelStart(int(S.size()));
      inner->SetSelLength(int(tail.size()));
    }
  }
  UpdateDrawValue();
  return found;
}

// ---- View

bool TcxCustomTextEdit::HasInnerEditRect()
{
  if (FInnerEditShowing != iesAuto) return FInnerEditShowing == iesAlwaysShown;
  const int style = GetEditingStyle();
  if (style == 2 || style == 3 || IsInnerEditMissing() || IsDesigning()) return false;
  if (IsActiveControl()) return true;
  return GetTextProperties()->GetAlignment()->GetHorz() == taLeftJustify;
}

std::optional<RECT> TcxCustomTextEdit::GetChildClipRect(const RECT& Bounds, TControl* Child)
{
  if (!HasInnerEditRect()) return RECT{0, 0, 0, 0};
  std::optional<RECT> r = TcxCustomEdit::GetChildClipRect(Bounds, Child);
  auto* vi = dynamic_cast<TcxCustomTextEditViewInfo*>(GetEditViewInfo());
  const int style = GetEditingStyle();
  if (r && vi && !IsInplace() && vi->EditThemeState != 0 && vi->TextInfo.ComboBoxStyle && (style == 0 || style == 1)) {
    --r->right;
    --r->bottom;
  }
  return r;
}

void TcxCustomTextEdit::RefreshView(POINT P, int Button, bool IsMouseEvent, TShiftState Shift)
{
  TcxCustomEdit::RefreshView(P, Button, IsMouseEvent, Shift);
  if (!HandleAllocated() || IsContainerDestroying()) return;
  UpdateInnerEditAppearance();
  // Whether the EDIT window shows follows the focus: its clip region with it.
  if (TcxCustomInnerTextEdit* inner = GetInnerTextEditControl()) {
    RECT client = GetClientRect();
    AdjustClientRect(client);
    AlignControls(inner, client);
  }
}

void TcxCustomTextEdit::UpdateInnerEditAppearance()
{
  TcxCustomInnerTextEdit* inner = GetInnerTextEditControl();
  if (!inner || IsCreating()) return;
  inner->LockBounds(true);
  TScopeExit Unlock([inner] { inner->LockBounds(false); });
  TcxCustomEditViewInfo* vi = GetEditViewInfo();
  if (inner->GetColor() != vi->BackgroundColor) inner->SetColor(vi->BackgroundColor);
  TFont* font = GetEditStyle()->GetFont();
  TFont* now = inner->GetFont();
  if (now->GetName() != font->GetName() || now->GetHeight() != font->GetHeight() ||
      now->GetStyle() != font->GetStyle() || now->GetColor() != vi->TextColor) {
    inner->GetFont()->Assign(font);
    inner->GetFont()->SetColor(vi->TextColor);
  }
}

void TcxCustomTextEdit::AdjustInnerEditPosition()
{
  TcxCustomInnerTextEdit* inner = GetInnerTextEditControl();
  if (!inner || !HandleAllocated()) return;
  TcxCanvas* canvas = GetCanvas();
  canvas->SetFont(GetEditStyle()->GetFont());
  AdjustInnerEditPositionTo(canvas->TextHeight("Wg"));
}

void TcxCustomTextEdit::AdjustInnerEditPositionTo(int AHeight)
{
  if (FInnerPositionAdjusting) return;
  TValueGuard adjusting(FInnerPositionAdjusting, true);
  TcxCustomInnerTextEdit* inner = GetInnerTextEditControl();
  if (!inner) return;
  const RECT c = GetEditViewInfo()->ClientRect;
  const int height = c.bottom - c.top;
  const int themed = GetEditViewInfo()->EditThemeState != 0 ? 1 : 0;
  int top = c.top + 1;
  switch (GetProperties()->GetAlignment()->GetVert()) {
    case taBottomJustify:
      top = c.bottom - AHeight + 1 + (IsInplace() ? themed : 0);
      top = std::max<int>(top, c.top + 1);
      break;
    case taVCenter:
      top = c.top + (height - AHeight + (IsInplace() ? themed : 0)) / 2 + 1;
      if (IsInplace()) top = std::max<int>(top, c.top + 1);
      break;
    default: break;
  }
  const int width = std::max<int>(0, c.right - c.left - 2);
  AHeight = std::max(0, std::min<int>(AHeight, c.bottom - top));
  const RECT now = inner->GetBoundsRect();
  if (now.left == c.left + 1 && now.top == top && now.right - now.left == width && now.bottom - now.top == AHeight)
    return;
  inner->TCustomEdit::SetBounds(c.left + 1, top, width, AHeight);
}

void TcxCustomTextEdit::UpdateDrawValue()
{
  if (IsInnerEditMissing() || !GetEditViewInfo()) return;
  std::unique_ptr<TcxCustomEditViewData> vd(CreateViewData());
  InitializeViewData(vd.get());
  auto* tvd = dynamic_cast<TcxCustomTextEditViewData*>(vd.get());
  auto* vi = dynamic_cast<TcxCustomTextEditViewInfo*>(GetEditViewInfo());
  if (!tvd || !vi) return;
  tvd->SetDrawText(Variant(GetDisplayValueText()), vi);
  if (!HandleAllocated()) return;
  ShortRefreshContainer(false);
  SetViewInfoSelection(tvd);
  Invalidate();
}

void TcxCustomTextEdit::SetViewInfoSelection(TcxCustomTextEditViewData*)
{
  auto* vi = dynamic_cast<TcxCustomTextEditViewInfo*>(GetEditViewInfo());
  if (!vi) return;
  TcxTextPaintInfo& t = vi->TextInfo;
  const int style = GetEditingStyle();
  const bool incremental = GetTextProperties()->GetIncrementalSearch();
  if (style == 2 && FLookupSelection && incremental) {
    const int start = GetSelStart(), length = GetSelLength();
    if (vi->ReversedSelection) {
      t.SelStart = 0;
      t.SelLength = start;
      t.SelTextColor = clHighlight;
      t.SelBkColor = clHighlightText;
    } else {
      t.SelStart = start;
      t.SelLength = length;
      t.SelTextColor = clHighlightText;
      t.SelBkColor = clHighlight;
    }
  } else if (style == 3 || style == 2) {
    t.SelLength = 0;
  }
  t.TextOutData = cxEditTextUtils::TcxTextOutData();
}

// ---- Published

void TcxTextEdit::Published(TPublisher<ThisClass>& p)
{
  p.Property("BeepOnEnter", &ThisClass::GetBeepOnEnter, &ThisClass::SetBeepOnEnter).Default(true);
  p.Property("Text", &ThisClass::GetText, &ThisClass::SetText);
}

PELTO_DEFINE_CLASS(TcxCustomTextEdit)

PELTO_DEFINE_CLASS(TcxTextEdit)
