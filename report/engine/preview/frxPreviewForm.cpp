#include "report/engine/preview/frxPreviewForm.h"

#include <algorithm>
#include <cmath>

#include "platform/forms/app/Application.h"
#include "platform/forms/controls/ImgList.h"
#include "platform/forms/graphics/Bitmap.h"
#include "platform/forms/graphics/Brush.h"
#include "platform/forms/graphics/Canvas.h"
#include "platform/forms/graphics/Font.h"
#include "platform/forms/graphics/Pen.h"
#include "platform/rtl/Conversions.h"
#include "platform/rtl/FormatText.h"
#include "platform/rtl/StringUtils.h"
#include "platform/stdctrls/buttons/SpeedButton.h"
#include "platform/stdctrls/comctrls/StatusBar.h"
#include "platform/stdctrls/comctrls/TreeView.h"
#include "platform/stdctrls/edits/CustomEdit.h"
#include "platform/stdctrls/menus/Menus.h"
#include "platform/stdctrls/panels/Panel.h"
#include "platform/stdctrls/toolbars/ToolBar.h"
#include "platform/stdctrls/toolbars/ToolButton.h"
#include "platform/win/WinUser.h"
#include "report/engine/controls/frxComboBox.h"
#include "report/engine/design/frxDsgnIntf.h"
#include "report/engine/model/frxPlugins.h"
#include "report/engine/model/frxReport.h"
#include "report/engine/model/frxRes.h"
#include "report/engine/model/frxUtils.h"
#include "report/engine/print/frxPrinter.h"
#include "report/engine/preview/frxPreview.h"
#include "report/engine/run/frxEngine.h"

namespace {

// The tool bar's 16 x 16 pictures, drawn here: index as the buttons use them.
void DrawButtonImage(TCanvas* C, int Index)
{
  auto pen = [&](TColor Color) { C->GetPen()->SetColor(Color); };
  auto brush = [&](TColor Color) { C->GetBrush()->SetColor(Color); };
  auto sheet = [&](int L, int T, int R, int B) {
    pen(clBlack);
    brush(clWhite);
    C->Rectangle(L, T, R, B);
  };
  auto line = [&](int X1, int Y1, int X2, int Y2) {
    C->MoveTo(X1, Y1);
    C->LineTo(X2, Y2);
  };
  auto triangle = [&](bool Left, int X) {
    pen(clNavy);
    brush(clNavy);
    if (Left)
      C->Polygon({POINT{X + 6, 3}, POINT{X + 6, 12}, POINT{X + 1, 8}});
    else
      C->Polygon({POINT{X, 3}, POINT{X, 12}, POINT{X + 5, 8}});
  };
  auto magnifier = [&](bool Plus) {
    pen(clBlack);
    brush(clWhite);
    C->Ellipse(2, 2, 11, 11);
    C->GetPen()->SetWidth(2);
    line(10, 10, 14, 14);
    C->GetPen()->SetWidth(1);
    if (Plus) {
      line(4, 6, 9, 6);
      line(6, 4, 6, 9);
    }
  };
  switch (Index) {
    case 0:  // open
      pen(clBlack);
      brush(clYellow);
      C->Polygon({POINT{1, 4}, POINT{6, 4}, POINT{7, 6}, POINT{14, 6}, POINT{14, 13}, POINT{1, 13}});
      break;
    case 1:  // save
      pen(clNavy);
      brush(clNavy);
      C->Rectangle(2, 2, 14, 14);
      brush(clWhite);
      C->Rectangle(4, 3, 12, 8);
      break;
    case 2:  // print
      sheet(4, 1, 12, 7);
      brush(clGray);
      C->Rectangle(1, 7, 15, 13);
      break;
    case 3:  // export
      sheet(2, 1, 11, 15);
      pen(clGreen);
      C->GetPen()->SetWidth(2);
      line(7, 8, 14, 8);
      line(11, 5, 14, 8);
      line(11, 11, 14, 8);
      C->GetPen()->SetWidth(1);
      break;
    case 4: magnifier(false); break;
    case 5:  // outline
      pen(clBlack);
      line(3, 2, 3, 13);
      line(3, 5, 7, 5);
      line(3, 12, 7, 12);
      brush(clNavy);
      C->Rectangle(8, 3, 14, 7);
      C->Rectangle(8, 10, 14, 14);
      break;
    case 7:  // page settings
      sheet(3, 1, 13, 15);
      pen(clGray);
      for (int y = 4; y < 13; y += 3) line(5, y, 11, y);
      break;
    case 8:
      pen(clNavy);
      line(3, 3, 3, 13);
      triangle(true, 5);
      break;
    case 9: triangle(true, 4); break;
    case 10: triangle(false, 6); break;
    case 11:
      triangle(false, 4);
      pen(clNavy);
      line(12, 3, 12, 13);
      break;
    case 12: sheet(4, 1, 12, 15); break;
    case 13:
      sheet(1, 3, 15, 13);
      pen(clNavy);
      line(3, 8, 13, 8);
      break;
    case 14:
      C->GetFont()->SetName("Tahoma");
      C->GetFont()->SetHeight(-9);
      C->GetBrush()->SetStyle(bsClear);
      C->TextOut(0, 2, "1:1");
      break;
    case 15:
      sheet(1, 2, 8, 13);
      sheet(8, 2, 15, 13);
      break;
    case 16:  // hand
      pen(clBlack);
      brush(0xC0E0FF);
      C->RoundRect(3, 5, 13, 15, 4, 4);
      for (int x = 4; x <= 10; x += 3) C->Rectangle(x, 1, x + 2, 7);
      break;
    case 17: magnifier(true); break;
    case 19:
      sheet(2, 1, 11, 15);
      pen(clGreen);
      C->GetPen()->SetWidth(2);
      line(9, 11, 15, 11);
      line(12, 8, 12, 14);
      C->GetPen()->SetWidth(1);
      break;
    case 20:
      sheet(2, 1, 11, 15);
      pen(clRed);
      C->GetPen()->SetWidth(2);
      line(9, 8, 15, 14);
      line(15, 8, 9, 14);
      C->GetPen()->SetWidth(1);
      break;
    case 21:
      sheet(2, 1, 11, 15);
      pen(clMaroon);
      C->GetPen()->SetWidth(2);
      line(7, 13, 14, 6);
      C->GetPen()->SetWidth(1);
      break;
    default: break;
  }
}

void FillButtonImages(TCustomImageList* Images)
{
  for (int i = 0; i < 22; ++i) {
    TBitmap bitmap;
    bitmap.SetWidth(16);
    bitmap.SetHeight(16);
    TCanvas* c = bitmap.GetCanvas();
    c->GetBrush()->SetColor(clFuchsia);
    c->FillRect(RECT{0, 0, 16, 16});
    DrawButtonImage(c, i);
    Images->AddMasked(&bitmap, clFuchsia);
  }
}

struct TButtonRow {
  const char* Name;
  int Image;
  const char* Caption;
  TfrxPreviewButton Shown;
};

}  // namespace

TfrxPreviewForm::TfrxPreviewForm(TComponent* AOwner) : TForm(AOwner)
{
  SetName("frxPreviewForm");
  SetCaption("预览");
  SetClientSize(760, 560);
  SetPosition(poScreenCenter);
  SetKeyPreview(true);
  GetFont()->SetName("Tahoma");
  GetFont()->SetSize(8);

  FImages = new TCustomImageList(this);
  FImages->SetWidth(16);
  FImages->SetHeight(16);
  FillButtonImages(FImages);

  FToolBar = new TToolBar(this);
  FToolBar->SetName("ToolBar");
  FToolBar->SetParent(this);
  FToolBar->SetAlign(alTop);
  FToolBar->SetFlat(true);
  FToolBar->SetImages(FImages);
  FToolBar->SetButtonWidth(24);
  FToolBar->SetButtonHeight(24);
  FToolBar->SetHeight(28);
  FToolBar->SetShowHint(true);

  FExportPopup = new TPopupMenu(this);
  FExportPopup->SetName("ExportPopup");
  FDesignerPopup = new TPopupMenu(this);
  FDesignerPopup->SetName("DesignerPopup");
  auto* showTemplate = new TMenuItem(this);
  showTemplate->SetName("ShowTemplateMI");
  showTemplate->SetCaption("Show template");
  showTemplate->OnClick = [this](TObject*) { FPreview->EditTemplate(); };
  FDesignerPopup->GetItems()->Add(showTemplate);

  // Left to right; the zoom box, the page box and the close button stand over separators
  // of their width (PlaceEmbedded).
  AddButton("PrintB", 2, "打印")->OnClick = [this](TObject*) { PrintClick(); };
  AddButton("OpenB", 0, "打开报表")->OnClick = [this](TObject*) { FPreview->LoadFromFile(); };
  AddButton("SaveB", 1, "保存报表")->OnClick = [this](TObject*) { FPreview->SaveToFile(); };
  TToolButton* exportB = AddButton("ExportB", 3, "导出报表");
  exportB->SetStyle(tbsDropDown);
  exportB->SetDropdownMenu(FExportPopup);
  AddButton("FindB", 4, "查找文本")->OnClick = [this](TObject*) { FPreview->Find(); };
  AddSeparator("Sep2", 8);
  AddButton("ZoomWholePageB", 12, "整页")->OnClick = [this](TObject*) {
    FPreview->SetZoomMode(zmWholePage);
    UpdateZoom();
  };
  AddButton("ZoomPageWidthB", 13, "页宽")->OnClick = [this](TObject*) {
    FPreview->SetZoomMode(zmPageWidth);
    UpdateZoom();
  };
  AddButton("Zoom100B", 14, "100%")->OnClick = [this](TObject*) {
    FPreview->SetZoom(1);
    UpdateZoom();
  };
  AddButton("Zoom50B", 15, "双页")->OnClick = [this](TObject*) {
    FPreview->SetZoomMode(zmManyPages);
    UpdateZoom();
  };
  AddSeparator("Sep3", 70);
  FZoomCB = new TfrxComboBox(this);
  FZoomCB->SetName("ZoomCB");
  FZoomCB->SetParent(FToolBar);
  FZoomCB->SetHint("缩放");
  FZoomCB->SetListWidth(100);
  for (const char* z : {"25%", "50%", "75%", "100%", "150%", "200%"}) FZoomCB->GetItems()->Add(z);
  FZoomCB->GetItems()->Add(frxRes::Get("zmPageWidth"));
  FZoomCB->GetItems()->Add(frxRes::Get("zmWholePage"));
  FZoomCB->OnSelect = [this](TObject*) { ZoomCBClick(); };
  FZoomCB->OnKeyDown = [this](TObject*, Word& Key, TShiftState) {
    if (Key == VK_RETURN) {
      ZoomCBClick();
      Key = 0;
    }
  };
  FEmbedded.push_back({FZoomCB, "Sep3"});
  FButtons["ZoomCB"] = FZoomCB;
  AddButton("PageSettingsB", 7, "页面设置")->OnClick = [this](TObject*) { FPreview->PageSetupDialog(); };
  TToolButton* outline = AddButton("OutlineB", 5, "大纲");
  outline->SetStyle(tbsCheck);
  outline->OnClick = [this, outline](TObject*) {
    FPreview->SetOutlineVisible(outline->GetDown());
    FPreview->UpdatePages();
  };
  AddSeparator("Sep8", 8);
  TToolButton* handTool = AddButton("HandToolB", 16, "拖放");
  handTool->SetHint("拖放工具");
  handTool->SetStyle(tbsCheck);
  handTool->SetGrouped(true);
  handTool->SetDown(true);
  handTool->OnClick = [this](TObject*) { FPreview->SetTool(0); };
  TToolButton* zoomTool = AddButton("ZoomToolB", 17, "缩放工具");
  zoomTool->SetStyle(tbsCheck);
  zoomTool->SetGrouped(true);
  zoomTool->OnClick = [this](TObject*) { FPreview->SetTool(1); };
  AddSeparator("Sep7", 8);
  AddButton("NewPageB", 19, "增加页")->OnClick = [this](TObject*) { FPreview->AddPage(); };
  AddButton("DelPageB", 20, "删除页")->OnClick = [this](TObject*) { FPreview->DeletePage(); };
  TToolButton* designer = AddButton("DesignerB", 21, "编辑页");
  designer->OnClick = [this](TObject*) { FPreview->EditPage(); };
  designer->SetPopupMenu(FDesignerPopup);
  AddSeparator("Sep6", 8);
  AddButton("FirstB", 8, "第一页")->OnClick = [this](TObject*) { FPreview->First(); };
  AddButton("PriorB", 9, "上一页")->OnClick = [this](TObject*) { FPreview->Prior(); };
  AddSeparator("Sep4", 44);
  FPageE = new TEdit(this);
  FPageE->SetName("PageE");
  FPageE->SetParent(FToolBar);
  FPageE->SetBorderStyle(bsNone);
  FPageE->SetHint("页数");
  FPageE->SetText("1");
  FPageE->OnKeyDown = [this](TObject*, Word& Key, TShiftState) {
    if (Key == VK_RETURN) {
      PageEntered();
      Key = 0;
    }
  };
  FEmbedded.push_back({FPageE, "Sep4"});
  FButtons["PageE"] = FPageE;
  AddButton("NextB", 10, "下一页")->OnClick = [this](TObject*) { FPreview->Next(); };
  AddButton("LastB", 11, "最后一页")->OnClick = [this](TObject*) { FPreview->Last(); };
  AddSeparator("Sep5", 90);
  FCancelB = new TSpeedButton(this);
  FCancelB->SetName("CancelB");
  FCancelB->SetParent(FToolBar);
  FCancelB->SetFlat(true);
  FCancelB->SetHint("关闭预览");
  FCancelB->SetCaption(frxRes::Get("clClose"));
  FCancelB->OnClick = [this](TObject*) { CancelClick(); };
  FEmbedded.push_back({FCancelB, "Sep5"});
  FButtons["CancelB"] = FCancelB;

  FStatusBar = new TStatusBar(this);
  FStatusBar->SetName("StatusBar");
  FStatusBar->SetParent(this);
  FStatusBar->SetAlign(alBottom);
  FStatusBar->GetPanels()->Add()->SetWidth(150);
  FStatusBar->GetPanels()->Add()->SetWidth(50);

  FPreview = new TfrxPreview(this);
  FPreview->SetName("Preview");
  FPreview->SetParent(this);
  FPreview->SetAlign(alClient);
  FPreview->OnPageChanged = [this](TObject* S, Integer N) { OnPageChanged(S, N); };

  frxRes::frxResources()->ApplyFormTexts(this);
  PlaceEmbedded();
  SetActiveControl(FPreview->GetWorkspace());
}

TfrxPreviewForm::~TfrxPreviewForm()
{
  // The preview unlinks itself; the report forgets its window here.
  if (FPreview && FPreview->Report && FPreview->Report->PreviewForm == this) FPreview->Report->PreviewForm = nullptr;
}

TToolButton* TfrxPreviewForm::AddButton(const AnsiString& Name, int Image, const AnsiString& Caption, bool)
{
  auto* b = new TToolButton(this);
  b->SetName(Name);
  b->SetParent(FToolBar);
  b->SetImageIndex(Image);
  b->SetCaption(Caption);
  b->SetHint(Caption);
  FButtons[Name] = b;
  return b;
}

void TfrxPreviewForm::AddSeparator(const AnsiString& Name, int Width)
{
  auto* b = new TToolButton(this);
  b->SetName(Name);
  b->SetStyle(tbsSeparator);
  b->SetParent(FToolBar);
  // The bar gives a new separator its narrow width; the boxes' places are wider.
  b->SetWidth(Width);
  FButtons[Name] = b;
}

void TfrxPreviewForm::PlaceEmbedded()
{
  for (auto& [control, placeholder] : FEmbedded) {
    TControl* sep = Button(placeholder);
    if (!sep) continue;
    RECT r = sep->GetBoundsRect();
    int h = control == FCancelB ? r.bottom - r.top : std::min<int>(21, r.bottom - r.top);
    control->SetBounds(r.left + 2, r.top + (r.bottom - r.top - h) / 2, r.right - r.left - 4, h);
    control->SetVisible(sep->GetVisible());
  }
}

void TfrxPreviewForm::DoShow()
{
  TForm::DoShow();
  FToolBar->HandleNeeded();
  PlaceEmbedded();
}

void TfrxPreviewForm::Resize()
{
  TForm::Resize();
  PlaceEmbedded();
}

TControl* TfrxPreviewForm::Button(const AnsiString& Name) const
{
  auto it = FButtons.find(Name);
  return it == FButtons.end() ? nullptr : it->second;
}

void TfrxPreviewForm::FillExportMenu()
{
  while (FExportPopup->GetItems()->GetCount() > 0) delete FExportPopup->GetItems()->GetItem(0);
  TfrxExportFilterCollection* filters = frxDsgnIntf::ExportFilterRegistryIfAny();
  if (!filters) return;
  for (int i = 0; i < filters->GetCount(); ++i) {
    TfrxCustomExportFilter* filter = filters->GetItems(i)->Filter;
    if (!filter) continue;
    auto* item = new TMenuItem(this);
    item->SetCaption(filter->GetFilterCaption() + "...");
    item->SetTag(i);
    item->OnClick = [this](TObject* Sender) {
      auto* mi = static_cast<TMenuItem*>(Sender);
      TfrxExportFilterCollection* list = frxDsgnIntf::ExportFilterRegistryIfAny();
      if (list && mi->GetTag() < list->GetCount()) FPreview->Export(list->GetItems(mi->GetTag())->Filter);
    };
    FExportPopup->GetItems()->Add(item);
  }
}

void TfrxPreviewForm::Init()
{
  TfrxReport* report = FPreview->Report;
  if (!report) return;
  TfrxPreviewOptions* options = report->GetPreviewOptions();
  if (options->Maximized) SetWindowState(wsMaximized);
  if (options->MDIChild) SetFormStyle(fsMDIChild);
  FPreview->SetOutlineVisible(options->OutlineVisible);
  FPreview->GetOutlineTree()->SetWidth(options->OutlineWidth);
  if (auto* b = dynamic_cast<TToolButton*>(Button("OutlineB"))) b->SetDown(options->OutlineVisible);
  FPreview->SetZoom(options->Zoom);
  FPreview->SetZoomMode(options->ZoomMode);

  TfrxPreviewButtons buttons = options->Buttons;
  static const std::pair<const char*, TfrxPreviewButton> kShown[] = {
      {"PrintB", pbPrint},     {"OpenB", pbLoad},       {"SaveB", pbSave},          {"ExportB", pbExport},
      {"FindB", pbFind},       {"Sep2", pbZoom},        {"ZoomWholePageB", pbZoom}, {"ZoomPageWidthB", pbZoom},
      {"Zoom100B", pbZoom},    {"Zoom50B", pbZoom},     {"Sep3", pbZoom},           {"PageSettingsB", pbPageSetup},
      {"OutlineB", pbOutline}, {"Sep8", pbTools},       {"HandToolB", pbTools},     {"ZoomToolB", pbTools},
      {"Sep7", pbEdit},        {"NewPageB", pbEdit},    {"DelPageB", pbEdit},       {"DesignerB", pbEdit},
      {"Sep6", pbNavigator},   {"FirstB", pbNavigator}, {"PriorB", pbNavigator},    {"Sep4", pbNavigator},
      {"NextB", pbNavigator},  {"LastB", pbNavigator}};
  for (const auto& [name, button] : kShown)
    if (TControl* c = Button(name)) c->SetVisible(buttons.Contains(button));
  // The separator before the settings group goes with the group.
  if (TControl* c = Button("Sep8"))
    c->SetVisible(buttons.Contains(pbTools) && (buttons.Contains(pbPageSetup) || buttons.Contains(pbOutline)));
  // The buttons get their places with the tool bar's window; the boxes take theirs from them.
  FToolBar->HandleNeeded();
  FToolBar->SetShowCaptions(options->ShowCaptions);
  if (options->ShowCaptions) {
    FToolBar->SetButtonWidth(64);
    FToolBar->SetButtonHeight(40);
    FToolBar->SetHeight(44);
  }
  PlaceEmbedded();
  FillExportMenu();
  if (!report->GetReportOptions()->Name.empty()) SetCaption(report->GetReportOptions()->Name);
  UpdateControls();
  FPreview->InitPreview();
  UpdateZoom();
}

void TfrxPreviewForm::SetStatusText(const AnsiString& Text)
{
  FStatusBar->GetPanels()->GetItems(1)->SetText(Text);
  if (Forms::Application) Forms::Application->ProcessMessages();
}

void TfrxPreviewForm::UpdateControls()
{
  bool running = FPreview->IsRunning();
  bool edit = FPreview->Report && FPreview->Report->GetPreviewOptions()->AllowEdit;
  auto enable = [&](const char* Name, bool Value) {
    TControl* c = Button(Name);
    if (!c) return;
    c->SetEnabled(Value);
    if (!Value)
      if (auto* b = dynamic_cast<TToolButton*>(c)) b->SetDown(false);
  };
  for (const char* name : {"OpenB", "SaveB", "PrintB", "ExportB", "FindB", "PageSettingsB"}) enable(name, !running);
  for (const char* name : {"NewPageB", "DelPageB", "DesignerB"}) enable(name, !running && edit);
}

void TfrxPreviewForm::UpdateZoom()
{
  FZoomCB->SetText(SysUtils::IntToStr(static_cast<int>(std::lround(FPreview->GetZoom() * 100))) + "%");
}

void TfrxPreviewForm::SetCloseCaption(const AnsiString& Text) { FCancelB->SetCaption(Text); }

void TfrxPreviewForm::ZoomCBClick()
{
  if (FPreview->CanFocus()) FPreview->GetWorkspace()->SetFocus();
  int index = FZoomCB->GetItemIndex();
  AnsiString text = FZoomCB->GetText();
  if (index == 6 && text == (*FZoomCB->GetItems())[6]) {
    FPreview->SetZoomMode(zmPageWidth);
  } else if (index == 7 && text == (*FZoomCB->GetItems())[7]) {
    FPreview->SetZoomMode(zmWholePage);
  } else {
    for (char& ch : text)
      if (ch == '%') ch = ' ';
    text.erase(std::remove(text.begin(), text.end(), ' '), text.end());
    if (!text.empty()) FPreview->SetZoom(frxUtils::StrToFloatAnySep(text) / 100);
  }
  UpdateZoom();
}

void TfrxPreviewForm::PageEntered() { FPreview->SetPageNo(SysUtils::StrToInt(FPageE->GetText())); }

void TfrxPreviewForm::PrintClick()
{
  if (frxPrinter::GetPrinters()->HasPhysicalPrinters)
    FPreview->Print();
  else
    frxUtils::ShowErrorBox(frxRes::Get("clNoPrinters"));
}

void TfrxPreviewForm::OnPageChanged(TObject*, Integer PageNo)
{
  TfrxReport* report = FPreview->Report;
  Integer count = FPreview->GetPageCount();
  bool firstPass = report && report->GetEngine() && report->GetEngineOptions()->DoublePass &&
                   !report->GetEngine()->FinalPass && FPreview->IsRunning();
  AnsiString text = firstPass ? frxRes::Get("clFirstPass") + SysUtils::IntToStr(count)
                              : SysUtils::Format(frxRes::Get("clPageOf"), {PageNo, count});
  FStatusBar->GetPanels()->GetItems(0)->SetText(text);
  FPageE->SetText(SysUtils::IntToStr(PageNo));
}

void TfrxPreviewForm::CancelClick()
{
  if (FPreview->IsRunning())
    FPreview->Cancel();
  else
    Close();
}

bool TfrxPreviewForm::CloseQuery()
{
  if (FPreview->IsRunning()) return false;
  return TForm::CloseQuery();
}

void TfrxPreviewForm::DoClose(TCloseAction& Action)
{
  TForm::DoClose(Action);
  if (!GetFormState().Contains(fsModal)) Action = caFree;
}

void TfrxPreviewForm::KeyDown(Word& Key, TShiftState Shift)
{
  if (Key == VK_ESCAPE) {
    CancelClick();
    Key = 0;
    return;
  }
  TForm::KeyDown(Key, Shift);
}

bool TfrxPreviewForm::DoMouseWheel(TShiftState Shift, int WheelDelta, POINT MousePos)
{
  if (TForm::DoMouseWheel(Shift, WheelDelta, MousePos)) return true;
  FPreview->MouseWheelScroll(WheelDelta);
  return true;
}

PELTO_DEFINE_CLASS(TfrxPreviewForm)
