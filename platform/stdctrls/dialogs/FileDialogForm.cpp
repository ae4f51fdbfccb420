#include "platform/stdctrls/dialogs/FileDialogForm.h"

#include "platform/forms/graphics/Brush.h"
#include "platform/forms/graphics/Canvas.h"
#include "platform/forms/graphics/Font.h"
#include "platform/forms/graphics/Pen.h"
#include "platform/forms/controls/SizeConstraints.h"
#include "platform/rtl/FileUtils.h"
#include "platform/rtl/StringList.h"
#include "platform/stdctrls/buttons/Button.h"
#include "platform/stdctrls/buttons/CheckBox.h"
#include "platform/stdctrls/dialogs/DialogControls.h"
#include "platform/stdctrls/edits/CustomEdit.h"
#include "platform/stdctrls/lists/ComboBox.h"
#include "platform/stdctrls/lists/ListBox.h"

namespace {

constexpr int kLeft = 8, kFieldX = 96, kButtonW = 74, kRowH = 23;

// The folders from the root down to Folder ("/a/b/" -> "/", "/a", "/a/b").
std::vector<AnsiString> FolderChain(const AnsiString& Folder)
{
  std::vector<AnsiString> out{"/"};
  AnsiString path;
  size_t start = 1;
  while (start < Folder.size()) {
    size_t slash = Folder.find('/', start);
    if (slash == AnsiString::npos) slash = Folder.size();
    if (slash > start) {
      path += "/" + Folder.substr(start, slash - start);
      out.push_back(path);
    }
    start = slash + 1;
  }
  return out;
}

}  // namespace

TFileDialogForm::TFileDialogForm(TComponent* AOwner, TFileDialogModel& Model, const AnsiString& Title, bool Save)
    : TForm(AOwner), FModel(Model)
{
  bool sizing = Model.Options.Contains(ofEnableSizing);
  SetCaption(Title);
  SetBorderStyle(sizing ? bsSizeable : bsDialog);
  SetBorderIcons(TBorderIcons{biSystemMenu});
  SetPosition(poScreenCenter);
  SetClientSize(470, 310);
  int w = 470, h = 310;

  FFolders = new TComboBox(this);
  FFolders->SetParent(this);
  FFolders->SetStyle(csDropDownList);
  FFolders->SetBounds(kFieldX, 8, w - kFieldX - kLeft - 70, kRowH);
  FFolders->SetAnchors(TAnchors{akLeft, akTop, akRight});
  FFolders->OnSelect = [this](TObject* S) { FolderSelect(S); };
  FieldCaption(FFolders, "查找范围(&I):");

  FUp = new TButton(this);
  FUp->SetParent(this);
  FUp->SetCaption("上一级");
  FUp->SetBounds(w - kLeft - 62, 8, 62, kRowH);
  FUp->SetAnchors(TAnchors{akTop, akRight});
  FUp->OnClick = [this](TObject* S) { UpClick(S); };

  FList = new TListBox(this);
  FList->SetParent(this);
  FList->SetStyle(lbOwnerDrawFixed);
  FList->SetItemHeight(18);
  FList->SetBounds(kLeft, 40, w - 2 * kLeft, h - 40 - 100);
  FList->SetAnchors(TAnchors{akLeft, akTop, akRight, akBottom});
  FList->SetMultiSelect(Model.Options.Contains(ofAllowMultiSelect));
  FList->SetExtendedSelect(true);
  FList->OnDrawItem = [this](TObject* C, int I, RECT R, TOwnerDrawState St) { DrawEntry(C, I, R, St); };
  FList->OnClick = [this](TObject* S) { ListClick(S); };
  FList->OnDblClick = [this](TObject* S) { ListDblClick(S); };

  int nameY = h - 88, typeY = h - 58;
  FName = new TEdit(this);
  FName->SetParent(this);
  FName->SetBounds(kFieldX, nameY, w - kFieldX - kButtonW - 2 * kLeft, kRowH);
  FName->SetAnchors(TAnchors{akLeft, akRight, akBottom});
  FieldCaption(FName, "文件名(&N):");

  FTypes = new TComboBox(this);
  FTypes->SetParent(this);
  FTypes->SetStyle(csDropDownList);
  FTypes->SetBounds(kFieldX, typeY, w - kFieldX - kButtonW - 2 * kLeft, kRowH);
  FTypes->SetAnchors(TAnchors{akLeft, akRight, akBottom});
  FTypes->OnSelect = [this](TObject* S) { TypeChange(S); };
  FieldCaption(FTypes, Save ? "保存类型(&T):" : "文件类型(&T):");
  for (const TFileFilter& f : Model.GetFilters()) FTypes->GetItems()->Add(f.Description);
  if (!Model.GetFilters().empty()) FTypes->SetItemIndex(Model.GetFilterIndex() - 1);

  FOk = new TButton(this);
  FOk->SetParent(this);
  FOk->SetCaption(Save ? "保存(&S)" : "打开(&O)");
  FOk->SetDefault(true);
  FOk->SetBounds(w - kLeft - kButtonW, nameY, kButtonW, kRowH);
  FOk->SetAnchors(TAnchors{akRight, akBottom});
  FOk->OnClick = [this](TObject*) { Confirm(); };

  FCancel = new TButton(this);
  FCancel->SetParent(this);
  FCancel->SetCaption("取消");
  FCancel->SetCancel(true);
  FCancel->SetModalResult(mrCancel);
  FCancel->SetBounds(w - kLeft - kButtonW, typeY, kButtonW, kRowH);
  FCancel->SetAnchors(TAnchors{akRight, akBottom});

  if (!Save && !Model.Options.Contains(ofHideReadOnly)) {
    FReadOnly = new TCheckBox(this);
    FReadOnly->SetParent(this);
    FReadOnly->SetCaption("以只读方式打开(&R)");
    FReadOnly->SetChecked(Model.Options.Contains(ofReadOnly));
    FReadOnly->SetBounds(kFieldX, h - 28, 200, 20);
    FReadOnly->SetAnchors(TAnchors{akLeft, akBottom});
  }
  Reload();
  SetActiveControl(FName);
  // Sized smaller than it starts, the fields would run into each other.
  GetConstraints()->SetMinWidth(GetWidth());
  GetConstraints()->SetMinHeight(GetHeight());
}

void TFileDialogForm::Reload()
{
  FFolderPaths = FolderChain(FModel.GetFolder());
  TStrings* lines = FFolders->GetItems();
  lines->BeginUpdate();
  lines->Clear();
  for (size_t i = 0; i < FFolderPaths.size(); ++i)
    lines->Add(AnsiString(i * 2, ' ') + (i == 0 ? AnsiString("/") : SysUtils::ExtractFileName(FFolderPaths[i])));
  lines->EndUpdate();
  FFolders->SetItemIndex(int(FFolderPaths.size()) - 1);
  FUp->SetEnabled(FFolderPaths.size() > 1);

  TStrings* items = FList->GetItems();
  items->BeginUpdate();
  items->Clear();
  for (const TFileEntry& e : FModel.GetEntries()) items->Add(e.Name);
  items->EndUpdate();
}

void TFileDialogForm::Handle(TFileDialogModel::TResult Result)
{
  using R = TFileDialogModel::TResult;
  switch (Result) {
    case R::Chosen: SetModalResult(mrOk); break;
    case R::Entered:
      FName->SetText("");
      Reload();
      break;
    case R::Masked: Reload(); break;
    case R::Refused:
      if (GetVisible() && FName->CanFocus()) FName->SetFocus();
      break;
  }
}

void TFileDialogForm::Confirm()
{
  // A pick in the focused list answers for itself (a name that is not its file's true name is
  // refused there); otherwise the name box does.
  if (GetActiveControl() == FList && FList->GetItemIndex() >= 0 && FList->GetSelCount() <= 1) {
    Handle(FModel.AcceptEntry(FList->GetItemIndex()));
    return;
  }
  Handle(FModel.Accept(FName->GetText()));
}

void TFileDialogForm::ListClick(TObject*)
{
  const auto& entries = FModel.GetEntries();
  AnsiString text;
  int files = 0;
  for (int i = 0; i < FList->GetCount() && i < int(entries.size()); ++i) {
    if (!FList->GetSelected(i) || entries[size_t(i)].Folder) continue;
    text += (files ? " \"" : "\"") + entries[size_t(i)].Name + "\"";
    ++files;
  }
  if (files == 1) text = text.substr(1, text.size() - 2);  // one name goes without quotes
  if (files) FName->SetText(text);
}

void TFileDialogForm::ListDblClick(TObject*)
{
  if (FList->GetItemIndex() >= 0) Handle(FModel.AcceptEntry(FList->GetItemIndex()));
}

void TFileDialogForm::TypeChange(TObject*)
{
  FModel.SetFilterIndex(FTypes->GetItemIndex() + 1);
  Reload();
}

void TFileDialogForm::FolderSelect(TObject*)
{
  int i = FFolders->GetItemIndex();
  if (i >= 0 && i < int(FFolderPaths.size()) && FModel.SetFolder(FFolderPaths[size_t(i)])) Reload();
}

void TFileDialogForm::UpClick(TObject*)
{
  if (FFolderPaths.size() > 1 && FModel.SetFolder(FFolderPaths[FFolderPaths.size() - 2])) Reload();
}

void TFileDialogForm::FieldCaption(TWinControl* Field, const AnsiString& Text)
{
  TLabel* l = DialogControls::Caption(this, this, Text, kLeft, Field->GetTop() + 4, Field);
  // The captions stay beside their fields when the form is sized.
  l->SetAnchors(Field->GetAnchors().Contains(akBottom) ? TAnchors{akLeft, akBottom} : TAnchors{akLeft, akTop});
}

void TFileDialogForm::DrawEntry(TObject*, int Index, RECT Rect, TOwnerDrawState State)
{
  TCanvas* c = FList->GetCanvas();
  c->FillRect(Rect);
  if (Index < 0 || Index >= int(FModel.GetEntries().size())) return;
  const TFileEntry& e = FModel.GetEntries()[size_t(Index)];
  int x = Rect.left + 3, y = Rect.top + 3;
  TColor brush = c->GetBrush()->GetColor();
  c->GetPen()->SetColor(e.Folder ? TColor(0x00308AB8) : clGray);
  if (e.Folder) {
    c->GetBrush()->SetColor(TColor(0x0066DDFF));  // the folder glyph's yellow
    c->Rectangle(x, y + 2, x + 15, y + 12);
    c->Rectangle(x, y, x + 6, y + 3);
  } else {
    c->GetBrush()->SetColor(clWhite);
    c->Rectangle(x + 2, y, x + 12, y + 12);
    c->MoveTo(x + 4, y + 4);
    c->LineTo(x + 10, y + 4);
    c->MoveTo(x + 4, y + 7);
    c->LineTo(x + 10, y + 7);
  }
  c->GetBrush()->SetColor(brush);
  c->GetBrush()->SetStyle(bsClear);
  // A name CP936 cannot hold is greyed: it can be seen but not opened.
  if (!e.Representable && !State.Contains(odSelected)) c->GetFont()->SetColor(clGrayText);
  c->TextOut(x + 20, Rect.top + 2, e.Name);
  c->GetBrush()->SetStyle(bsSolid);
}
