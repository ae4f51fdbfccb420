// Sections: properties -> editor life -> keys -> clipboard and mouse -> value protocol ->
// properties changed.
#include "controls/editors/maskedit/cxMaskEdit.h"

#include "controls/editors/cxEditConsts.h"
#include "controls/editors/cxResourceStrings.h"
#include "controls/editors/textedit/cxInnerTextEdit.h"
#include "platform/forms/app/Clipboard.h"
#include "platform/rtl/Guards.h"
#include "platform/win/WinUser.h"
#include "platform/win/clipboard/Clipboard.h"
#include "platform/win/queue/Messages.h"

namespace {

bool IsBlankOnly(const AnsiString& S)
{
  for (char c : S)
    if (c != 0 && c != '\t' && c != '\n' && c != '\f' && c != '\r' && c != ' ') return false;
  return true;
}

}  // namespace

void cxMaskEdit::Initialize()
{
  cxEdit::GetRegisteredEditProperties()->Register(TcxMaskEditProperties::StaticClass(),
                                                  "MaskEdit|Represents a generic masked edit control.");
}

// ==== Properties

TcxCustomMaskEditProperties::TcxCustomMaskEditProperties(TPersistent* AOwner) : TcxCustomTextEditProperties(AOwner)
{
  SetValidateOnEnter(true);
}

TcxCustomMaskEditProperties::~TcxCustomMaskEditProperties() = default;

void TcxCustomMaskEditProperties::Assign(TPersistent* Source)
{
  auto* s = dynamic_cast<TcxCustomMaskEditProperties*>(Source);
  BeginUpdate();
  TScopeExit End([this] { EndUpdate(true); });
  TcxCustomTextEditProperties::Assign(Source);
  if (!s) return;
  FMaskKind = s->FMaskKind;
  FEditMask = s->FEditMask;
  FCaseInsensitive = s->FCaseInsensitive;
  FIgnoreMaskBlank = s->FIgnoreMaskBlank;
  FAlwaysShowBlanksAndLiterals = s->FAlwaysShowBlanksAndLiterals;
}

std::unique_ptr<TcxMaskEditCustomMode> TcxCustomMaskEditProperties::CreateMode(TcxEditMaskKind AKind,
                                                                               TcxCustomMaskEdit* AEdit)
{
  switch (AKind) {
    case emkRegExpr: return std::make_unique<TcxMaskEditRegExprMode>(AEdit, this);
    case emkRegExprEx: return std::make_unique<TcxMaskEditRegExprExMode>(AEdit, this);
    default: return std::make_unique<TcxMaskEditStandardMode>(AEdit, this);
  }
}

void TcxCustomMaskEditProperties::SetMaskKind(TcxEditMaskKind Value)
{
  if (Value == FMaskKind) return;
  FMaskKind = Value;
  Changed();
}

AnsiString TcxCustomMaskEditProperties::GetEditMask()
{
  if (FMaskKind == emkStandard && IsBlankOnly(FEditMask)) {
    IcxEditDefaultValuesProvider* p = GetDefaultValuesProvider();
    return p ? p->DefaultEditMask() : AnsiString();
  }
  return FEditMask;
}

void TcxCustomMaskEditProperties::SetEditMask(const AnsiString& Value)
{
  if (Value == GetEditMask()) {
    FEditMask = Value;
    return;
  }
  // A mask the mode cannot take is refused before anything is stored.
  std::unique_ptr<TcxMaskEditCustomMode> probe = CreateMode(FMaskKind, nullptr);
  probe->SetMask(Value);
  FEditMask = Value;
  Changed();
}

bool TcxCustomMaskEditProperties::IsMasked() { return !IsBlankOnly(GetEditMask()); }

void TcxCustomMaskEditProperties::SetCaseInsensitive(bool Value)
{
  if (GetCharCase() != ecNormal) Value = true;
  FCaseInsensitive = Value;
  Changed();
}

void TcxCustomMaskEditProperties::SetCharCase(TEditCharCase Value)
{
  if (Value != ecNormal) FCaseInsensitive = true;
  TcxCustomTextEditProperties::SetCharCase(Value);
}

void TcxCustomMaskEditProperties::SetMaxLength(int Value)
{
  TcxCustomTextEditProperties::SetMaxLength(IsMasked() ? 0 : Value);
}

void TcxCustomMaskEditProperties::SetAlwaysShowBlanksAndLiterals(bool Value)
{
  if (Value == FAlwaysShowBlanksAndLiterals) return;
  FAlwaysShowBlanksAndLiterals = Value;
  Changed();
}

TClass TcxCustomMaskEditProperties::GetContainerClass() const { return TcxMaskEdit::StaticClass(); }

bool TcxCustomMaskEditProperties::IsEditValueValid(Variant& AEditValue, bool AEditFocused)
{
  if (IsMasked()) return true;
  return TcxCustomTextEditProperties::IsEditValueValid(AEditValue, AEditFocused);
}

void TcxCustomMaskEditProperties::PrepareDisplayValue(const Variant& AEditValue, Variant& DisplayValue,
                                                      bool AEditFocused)
{
  if (!IsMasked()) {
    TcxCustomTextEditProperties::PrepareDisplayValue(AEditValue, DisplayValue, AEditFocused);
    return;
  }
  const AnsiString mask = GetEditMask();
  if (!FDisplayMode || FDisplayMode->MaskKind() != int(FMaskKind) || FDisplayMode->GetMask() != mask) {
    FDisplayMode = CreateMode(FMaskKind, nullptr);
    FDisplayMode->SetMask(mask);
  }
  FDisplayMode->SetCharCase(GetCharCase());
  if (auto* r = dynamic_cast<TcxMaskEditRegExprMode*>(FDisplayMode.get())) r->UpdateCaseInsensitive();
  const AnsiString text = Variants::VarToStr(AEditValue);
  if (AEditFocused || FDisplayMode->MaskKind() != 0 || FAlwaysShowBlanksAndLiterals)
    DisplayValue = Variant(FDisplayMode->FormatText(text));
  else
    DisplayValue = Variant(FDisplayMode->TextToValue(text));
}

void TcxCustomMaskEditProperties::ValidateDisplayValue(Variant& DisplayValue, AnsiString& ErrorText, bool& Error,
                                                       TcxCustomEdit* AEdit)
{
  if (!Error && IsMasked()) {
    TcxMaskEditCustomMode* mode = nullptr;
    if (auto* e = dynamic_cast<TcxCustomMaskEdit*>(AEdit)) mode = e->GetMode();
    if (!mode) {
      Variant ignored;
      PrepareDisplayValue(DisplayValue, ignored, true);
      mode = FDisplayMode.get();
    }
    if (mode && !mode->IsValid(Variants::VarToStr(DisplayValue))) {
      Error = true;
      ErrorText = cxResourceStrings::GetResourceString(cxEditConsts::sMaskEditInvalidEditValue);
    }
  }
  TcxCustomTextEditProperties::ValidateDisplayValue(DisplayValue, ErrorText, Error, AEdit);
}

TcxEditDisplayFormatOptions TcxCustomMaskEditProperties::GetDisplayFormatOptions()
{
  return IsMasked() ? 0u : TcxCustomTextEditProperties::GetDisplayFormatOptions();
}

bool TcxCustomMaskEditProperties::UseLookupData()
{
  return !IsMasked() && TcxCustomTextEditProperties::UseLookupData();
}

void TcxMaskEditProperties::Published(TPublisher<ThisClass>& p)
{
  p.Property("AlwaysShowBlanksAndLiterals", &ThisClass::GetAlwaysShowBlanksAndLiterals,
             &ThisClass::SetAlwaysShowBlanksAndLiterals)
      .Default(false);
  p.Property("CaseInsensitive", &ThisClass::GetCaseInsensitive, &ThisClass::SetCaseInsensitive).Default(true);
  p.Property("CharCase", &ThisClass::GetCharCase, &ThisClass::SetCharCase).Default(ecNormal);
  p.Property("EchoMode", &ThisClass::GetEchoMode, &ThisClass::SetEchoMode).Default(eemNormal);
  p.Property("HideSelection", &ThisClass::GetHideSelection, &ThisClass::SetHideSelection).Default(true);
  p.Property("IgnoreMaskBlank", &ThisClass::GetIgnoreMaskBlank, &ThisClass::SetIgnoreMaskBlank).Default(false);
  p.Property("LookupItems", &ThisClass::GetLookupItems, &ThisClass::SetLookupItems);
  p.Property("LookupItemsSorted", &ThisClass::GetLookupItemsSorted, &ThisClass::SetLookupItemsSorted).Default(false);
  p.Property("MaskKind", &ThisClass::GetMaskKind, &ThisClass::SetMaskKind).Default(emkStandard);
  p.Property("EditMask", &ThisClass::GetStoredEditMask, &ThisClass::SetEditMask);
  p.Property("MaxLength", &ThisClass::GetMaxLength, &ThisClass::SetMaxLength).StoredWhen(p.When([](const ThisClass* s) {
    return s->IsMaxLengthStored();
  }));
  p.Property("OEMConvert", &ThisClass::GetOEMConvert, &ThisClass::SetOEMConvert).Default(false);
}

// ==== Editor

TcxCustomMaskEdit::TcxCustomMaskEdit(TComponent* AOwner) : TcxCustomTextEdit(AOwner)
{
  FMode = std::make_unique<TcxMaskEditStandardMode>(this, nullptr);
}

TcxCustomMaskEdit::~TcxCustomMaskEdit() = default;

TClass TcxCustomMaskEdit::GetPropertiesClass() const { return TcxMaskEditProperties::StaticClass(); }
TClass TcxMaskEdit::GetPropertiesClass() const { return TcxMaskEditProperties::StaticClass(); }

void TcxCustomMaskEdit::SendInternalKey(Word AKey)
{
  TcxCustomInnerTextEdit* inner = GetInnerTextEditControl();
  if (!inner || !inner->HandleAllocated()) return;
  TValueGuard internal(FInternalKey, true);
  Windows::SendMessage(inner->GetHandle(), WM_KEYDOWN, AKey, 0);
}

void TcxCustomMaskEdit::SendInternalChar(char AChar)
{
  TcxCustomInnerTextEdit* inner = GetInnerTextEditControl();
  if (!inner || !inner->HandleAllocated()) return;
  TValueGuard internal(FInternalKey, true);
  Windows::SendMessage(inner->GetHandle(), WM_CHAR, static_cast<unsigned char>(AChar), 0);
}

void TcxCustomMaskEdit::ShowModeText(const AnsiString& AText)
{
  TcxCustomInnerTextEdit* inner = GetInnerTextEditControl();
  if (!inner || inner->GetText() == AText) return;
  inner->SetInnerText(AText);
}

// ---- Keys

void TcxCustomMaskEdit::DoEditKeyDown(Word& Key, TShiftState Shift)
{
  if (!IsMasked() || FInternalKey) {
    if (!FInternalKey) TcxCustomTextEdit::DoEditKeyDown(Key, Shift);
    return;
  }
  if (!ValidateKeyDown(Key, Shift)) {
    if (OnAfterKeyDown) OnAfterKeyDown(this, Key, Shift);
    Key = 0;
    return;
  }
  if (Key == VK_TAB) {
    TcxCustomTextEdit::DoEditKeyDown(Key, Shift);
    return;
  }
  FShift = Shift.Contains(ssShift);
  bool keep = true;
  switch (Key) {
    case VK_UP:
    case VK_DOWN:
      if (!HasOpenPopup()) {
        if (OnAfterKeyDown) OnAfterKeyDown(this, Key, Shift);
        Key = 0;
        return;
      }
      break;
    case VK_LEFT:
    case VK_RIGHT: {
      const bool left = Key == VK_LEFT;
      if (Shift.Contains(ssCtrl)) {
        keep = left ? FMode->KeyHome() : FMode->KeyEnd();
        if (keep) SendInternalKey(left ? VK_HOME : VK_END);
        keep = false;
        break;
      }
      const bool atEdge = left ? FMode->CaretAtBegin() : FMode->CaretAtEnd();
      keep = left ? FMode->KeyLeft() : FMode->KeyRight();
      if (!keep && atEdge && OnAfterKeyDown) OnAfterKeyDown(this, Key, Shift);
      break;
    }
    case VK_DELETE:
      if (Shift.Contains(ssShift)) {
        if (GetSelLength() == 0)
          keep = FMode->KeyBackspace();
        else {
          CutToClipboard();
          keep = false;
        }
      } else {
        keep = FMode->KeyDelete();
      }
      break;
    case VK_HOME: keep = FMode->KeyHome(); break;
    case VK_END: keep = FMode->KeyEnd(); break;
    default: break;
  }
  if (!keep) {
    Key = 0;
    return;
  }
  TcxCustomTextEdit::DoEditKeyDown(Key, Shift);
}

void TcxCustomMaskEdit::DoEditKeyPress(char& Key)
{
  if (!IsMasked()) {
    TcxCustomTextEdit::DoEditKeyPress(Key);
    return;
  }
  // Tab and Escape never reach the EDIT window of a masked editor.
  if (Key == '\t' || Key == 27) {
    Key = 0;
    return;
  }
  if (!ValidateKeyPress(Key)) {
    Key = 0;
    return;
  }
  if (Key == '\r' || FInternalKey) return;
  if (Key == 3 || Key == 22 || Key == 24) {
    TcxCustomTextEdit::DoEditKeyPress(Key);
    return;
  }
  const bool keep = Key == 8 ? FMode->KeyBackspace() : FMode->KeyChar(Key);
  if (!keep) Key = 0;
}

void TcxCustomMaskEdit::DoEditKeyUp(Word& Key, TShiftState Shift)
{
  if (FInternalKey) return;
  TcxCustomTextEdit::DoEditKeyUp(Key, Shift);
}

// ---- Selection, clipboard and mouse

void TcxCustomMaskEdit::SetSelStart(int Value)
{
  TcxCustomTextEdit::SetSelStart(Value);
  FMode->CaretMoved();
}

void TcxCustomMaskEdit::SetSelLength(int Value)
{
  TcxCustomTextEdit::SetSelLength(Value);
  FMode->CaretMoved();
}

void TcxCustomMaskEdit::BeforePasteText(int ALength)
{
  FMode->SetClipboardTextLength(ALength);
  FMode->BeforePaste();
}

void TcxCustomMaskEdit::PasteFromClipboard()
{
  TClipboard* clipboard = Clipbrd::Clipboard();
  if (!clipboard->HasFormat(CF_TEXT)) return;
  if (!IsMasked()) {
    TcxCustomTextEdit::PasteFromClipboard();
    return;
  }
  BeforePasteText(int(clipboard->GetAsText().size()));
  TcxCustomTextEdit::PasteFromClipboard();
  FMode->AfterPaste();
}

void TcxCustomMaskEdit::SetSelText(const AnsiString& Value)
{
  if (!IsMasked()) {
    TcxCustomTextEdit::SetSelText(Value);
    return;
  }
  BeforePasteText(int(Value.size()));
  TcxCustomTextEdit::SetSelText(Value);
  FMode->AfterPaste();
}

void TcxCustomMaskEdit::CutToClipboard()
{
  if (!IsMasked()) {
    TcxCustomTextEdit::CutToClipboard();
    return;
  }
  CopyToClipboard();
  FMode->KeyDelete();
}

void TcxCustomMaskEdit::DblClick()
{
  if (IsMasked()) FMode->BeforeSelectAll();
  TcxCustomTextEdit::DblClick();
}

void TcxCustomMaskEdit::DoEnter()
{
  if (IsMasked() && GetProperties()->GetAutoSelect()) FMode->BeforeSelectAll();
  TcxCustomTextEdit::DoEnter();
}

void TcxCustomMaskEdit::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
  if (IsMasked() && Button == mbLeft) FMode->CaretMoved();
  TcxCustomTextEdit::MouseDown(Button, Shift, X, Y);
}

void TcxCustomMaskEdit::MouseMove(TShiftState Shift, int X, int Y)
{
  if (IsMasked() && Shift.Contains(ssLeft)) {
    TValueGuard shift(FShift, true);
    FMode->CaretMoved();
  }
  TcxCustomTextEdit::MouseMove(Shift, X, Y);
}

// ---- Value protocol

void TcxCustomMaskEdit::UpdateValueText() { FValueText = FMode->TextToValue(GetDisplayValueText()); }

void TcxCustomMaskEdit::ChangeHandler(TObject* Sender)
{
  UpdateValueText();
  TcxCustomTextEdit::ChangeHandler(Sender);
}

void TcxCustomMaskEdit::InternalGetText(AnsiString& S)
{
  if (!IsMasked()) {
    TcxCustomTextEdit::InternalGetText(S);
    return;
  }
  S = FValueText;
}

bool TcxCustomMaskEdit::InternalSetText(const AnsiString& S)
{
  if (!IsMasked()) return TcxCustomTextEdit::InternalSetText(S);
  SetEditValueChecked(Variant(S));
  StoreEditValue(Variant(FValueText));
  return true;
}

void TcxCustomMaskEdit::SetInternalDisplayValue(const Variant& Value)
{
  if (!IsMasked() || GetComponentState().Contains(csLoading)) {
    TcxCustomTextEdit::SetInternalDisplayValue(Value);
    return;
  }
  const AnsiString text = Variants::VarToStr(Value);
  AnsiString shown;
  if (HasEditFocus() || FMode->MaskKind() != 0 || GetMaskProperties()->GetAlwaysShowBlanksAndLiterals())
    shown = FMode->FormatText(text);
  else
    shown = FMode->TextToValue(text);
  TcxCustomTextEdit::SetInternalDisplayValue(Variant(shown));
  FMode->SetText(shown);
}

void TcxCustomMaskEdit::DisplayValueToEditValue(const Variant& ADisplayValue, Variant& EditValue, bool AEditFocused)
{
  if (!IsMasked()) {
    TcxCustomTextEdit::DisplayValueToEditValue(ADisplayValue, EditValue, AEditFocused);
    return;
  }
  EditValue = Variant(FMode->TextToValue(Variants::VarToStr(ADisplayValue)));
}

void TcxCustomMaskEdit::Loaded()
{
  TcxCustomTextEdit::Loaded();
  if (IsMasked()) SynchronizeDisplayValue();
}

void TcxCustomMaskEdit::SynchronizeDisplayValue()
{
  TcxCustomTextEdit::SynchronizeDisplayValue();
  if (IsMasked() && !IsInnerEditMissing()) FMode->SetText(GetDisplayValueText());
  UpdateValueText();
}

void TcxCustomMaskEdit::RepositoryItemAssigned() { FMode->SetProperties(GetMaskProperties()); }

// ---- Properties changed

void TcxCustomMaskEdit::PropertiesChanged(TObject* Sender)
{
  TcxCustomMaskEditProperties* p = GetMaskProperties();
  if (FMode->GetProperties() != p) FMode->SetProperties(p);
  bool changed = false;
  {
    p->LockUpdate(true);
    TScopeExit Unlock([p] { p->LockUpdate(false); });
    const AnsiString mask = p->GetEditMask();
    const bool maskChanged = FMode->GetMask() != mask;
    const bool kindChanged = FMode->MaskKind() != int(p->GetMaskKind());
    const bool caseChanged = FModeCharCase != p->GetCharCase();
    bool cleared = false;
    if (kindChanged) {
      // Between a standard and a regular-expression kind the old mask means nothing.
      if ((FMode->MaskKind() == 0) != (p->GetMaskKind() == emkStandard)) {
        p->SetEditMask(AnsiString());
        cleared = true;
      }
      FMode = p->CreateMode(p->GetMaskKind(), this);
      FMode->SetCharCase(p->GetCharCase());
      const AnsiString now = p->GetEditMask();
      FMode->SetMask(now);
      if (!now.empty()) FMode->RefreshText();
      p->SetEmptyString(FMode->EmptyText());
    }
    if (maskChanged) {
      p->TcxCustomTextEditProperties::SetMaxLength(0);
      FMode->SetMask(mask);
      if (cleared) p->SetEditMask(mask);
      if (!mask.empty())
        FMode->RefreshText();
      else if (FMode->MaskKind() == 0 && GetSelLength() == 1)
        TcxCustomTextEdit::SetSelLength(0);
      p->SetEmptyString(FMode->EmptyText());
    }
    if (caseChanged) {
      FMode->SetCharCase(p->GetCharCase());
      if (p->GetCharCase() == ecNormal) {
        if (IcxInnerTextEdit* inner = GetInnerTextEdit()) inner->SetCharCase(ecNormal);
        FMode->RefreshText();
      }
      FModeCharCase = p->GetCharCase();
    }
    if (p->IsMasked() && (!GetInnerTextEdit() || !GetEditValue().IsNull())) FMode->ShowInitialText();
    changed = maskChanged || kindChanged || caseChanged;
  }
  if (auto* r = dynamic_cast<TcxMaskEditRegExprMode*>(FMode.get())) r->UpdateCaseInsensitive();
  TcxCustomTextEdit::PropertiesChanged(Sender);
  if (changed) UpdateValueText();
}

PELTO_DEFINE_CLASS(TcxCustomMaskEditProperties)

PELTO_DEFINE_CLASS(TcxMaskEditProperties)

PELTO_DEFINE_CLASS(TcxCustomMaskEdit)

PELTO_DEFINE_CLASS(TcxMaskEdit)
