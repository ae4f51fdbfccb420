// The gallery of the editor framework on the desktop back end: editors in every border style
// (rows) and button style (columns), with hot-tracking, a drop-down and an ellipsis button each,
// and a row of in-place looking editors. It reports on standard output, one flushed line each, so
// that a script can drive it (the Xvfb test does): "ready" with the screen points of two buttons,
// "hot <row> <column> <button>" when a button lights under the mouse, "down"/"up" when one is
// pressed and released, "click <row> <column> <button>" for a button click, and "shot" after F12
// saved a screenshot to the path given as the first argument, before it ends.
#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "controls/editors/EditorsModule.h"
#include "controls/editors/checkbox/cxCheckBox.h"
#include "controls/editors/dropdown/cxEditPopupWindow.h"
#include "controls/editors/listbox/cxListBox.h"
#include "controls/editors/memo/cxMemo.h"
#include "controls/editors/spinedit/cxSpinEdit.h"
#include "controls/editors/edit/cxEditViewInfo.h"
#include "controls/editors/maskedit/cxMaskEdit.h"
#include "controls/editors/textedit/cxTextEdit.h"
#include "controls/editors/tests/EditTestEditors.h"
#include "controls/framework/FrameworkModule.h"
#include "controls/framework/cxScrollBar.h"
#include "platform/forms/app/Application.h"
#include "platform/forms/controls/Controls.h"
#include "platform/forms/forms/Form.h"
#include "platform/forms/graphics/Canvas.h"
#include "platform/gdi/dc/GdiObjects.h"
#include "platform/rtl/AnsiStrings.h"
#include "platform/rtl/StringList.h"
#include "platform/commctrl/CommCtrl.h"
#include "platform/win/backend/SdlBackend.h"
#include "platform/win/queue/Messages.h"
#include "platform/win/window/Windows.h"

namespace {

std::string gShotPath;

void Say(const std::string& line)
{
  std::printf("%s\n", line.c_str());
  std::fflush(stdout);
}

std::string At(TControl* C, int X, int Y)
{
  POINT p = C->ClientToScreen(POINT{X, Y});
  return std::to_string(p.x) + " " + std::to_string(p.y);
}

// A gallery editor tells which of its buttons lights, goes down and comes up.
class TGalleryEdit : public TcxTestButtonEdit {
public:
  using TcxTestButtonEdit::TcxTestButtonEdit;
  std::string Name;  // "<row> <column>"

protected:
  void ProcessButtonChanges(TcxCustomEditViewInfo* AOld, bool AIsMouseEvent) override
  {
    TcxCustomEditViewInfo* vi = GetEditViewInfo();
    if (vi->HotButton >= 0 && vi->HotButton != AOld->HotButton)
      Say("hot " + Name + " " + std::to_string(vi->HotButton));
    TcxTestButtonEdit::ProcessButtonChanges(AOld, AIsMouseEvent);
  }
  void DoButtonDown(int Index) override { Say("down " + Name + " " + std::to_string(Index)); }
  void DoButtonUp(int Index) override { Say("up " + Name + " " + std::to_string(Index)); }
};

// A caption painted on the form's colour.
class TGalleryCaption : public TcxControl {
public:
  using TcxControl::TcxControl;
  AnsiString Text;

protected:
  void Paint() override
  {
    TCanvas* c = TCustomControl::GetCanvas();
    c->GetBrush()->SetColor(clBtnFace);
    c->FillRect(GetClientRect());
    c->TextOut(0, 2, Text);
  }
};

void AddLabel(TForm* Form, int X, int Y, const char* Text)
{
  auto* l = new TGalleryCaption(Form);
  l->Text = Text;
  l->SetParent(Form);
  l->SetBounds(X, Y, 66, 20);
}

// ---- Check boxes, list box and the sizeable pop-up ("check <name> <state>" when a box toggles,
// "popup <w> <h> grip <x> <y>" when the pop-up opened, "resized <w> <h>" after a drag of its grip).

struct TChoiceEditors {
  TcxCheckBox* First = nullptr;
  TGalleryEdit* Opener = nullptr;
  TcxCustomEditPopupWindow* Popup = nullptr;
};

TChoiceEditors gChoices;

void AddChoiceEditors(TForm* Form, int Top)
{
  Form->SetHeight(std::max(Form->GetHeight(), Top + 200));
  AddLabel(Form, 10, Top + 4, "复选框");
  const TcxEditBorderStyle looks[] = {ebs3D, ebsFlat, ebsUltraFlat, ebsSingle};
  const char* captions[] = {"已签订", "已付款", "未知", "停用"};
  for (int i = 0; i < 4; ++i) {
    auto* c = new TcxCheckBox(Form);
    c->SetParent(Form);
    c->SetBounds(80 + i * 135, Top, 125, 21);
    c->GetEditStyle()->SetEditBorderStyle(looks[i]);
    c->Properties()->SetCaption(captions[i]);
    c->Properties()->SetAllowGrayed(i == 2);
    const std::string name = std::to_string(i);
    c->GetProperties()->OnChange = [c, name](TObject*) {
      Say("check " + name + " " + std::to_string(int(c->GetState())));
    };
    if (i == 1) c->SetChecked(true);
    if (i == 2) c->SetState(cbsGrayed);
    if (i == 3) c->SetEnabled(false);
    if (i == 0) gChoices.First = c;
  }
  AddLabel(Form, 10, Top + 40, "列表框");
  auto* list = new TcxListBox(Form);
  list->SetParent(Form);
  list->SetBounds(80, Top + 36, 125, 90);
  for (const char* s : {"合同管理", "客户管理", "付款计划", "发票登记", "投标管理", "部门设置", "操作员", "报表"})
    list->GetItems()->Add(s);
  list->SetItemIndex(1);
  AddLabel(Form, 230, Top + 40, "弹出窗口");
  auto* opener = new TGalleryEdit(Form);
  opener->Name = "7 0";
  opener->SetParent(Form);
  opener->SetAutoSize(false);
  opener->SetBounds(300, Top + 36, 160, 24);
  opener->SetEditValue(Variant(AnsiString("选择部门")));
  opener->GetProperties()->GetButtons()->Add()->SetKind(bkDown);
  auto* popup = cxEditTest::MakeDepartmentPopup(opener, 200, 150);
  popup->OnUserResized = [popup](TObject*) {
    Say("resized " + std::to_string(popup->GetWidth()) + " " + std::to_string(popup->GetHeight()));
  };
  popup->OnCloseButtonClick = [popup](TObject*) { popup->ClosePopup(false); };
  opener->GetProperties()->OnButtonClick = [popup](TObject*, int) {
    if (popup->IsShown()) {
      popup->ClosePopup(false);
      return;
    }
    popup->Popup(nullptr);
    popup->RecalculateLayout();
    const RECT g = popup->GetPopupViewInfo()->Info.SizeGripSizingRect;
    Say("popup " + std::to_string(popup->GetWidth()) + " " + std::to_string(popup->GetHeight()) + " grip " +
        At(popup, (g.left + g.right) / 2, (g.top + g.bottom) / 2));
  };
  gChoices.Opener = opener;
  gChoices.Popup = popup;
}

// Where the scenario clicks: the first check box's mark and the pop-up opener's button.
std::string ChoicePoints()
{
  const RECT m = gChoices.First->GetCheckViewInfo()->Check.CheckRect;
  const RECT b = gChoices.Opener->GetEditViewInfo()->Button(0)->VisibleBounds;
  return "check " + At(gChoices.First, (m.left + m.right) / 2, (m.top + m.bottom) / 2) + " opener " +
         At(gChoices.Opener, (b.left + b.right) / 2, (b.top + b.bottom) / 2);
}

// ---- Text and mask editors: a row of them, each saying its text when it changes ("plain ...",
// "lookup ...", "mask ..."), and a line "textedit <plain x y> <lookup x y> <mask x y>" for the script.

std::vector<TControl*> gTextEditors;

std::string TextEditorsLine()
{
  std::string line = "textedit";
  for (TControl* e : gTextEditors) line += " " + At(e, 20, 10);
  return line;
}

template <class T>
T* AddTextEditor(TForm* Form, int X, int Y, const char* Name)
{
  auto* e = new T(Form);
  e->SetParent(Form);
  e->SetBounds(X, Y, 125, 24);
  const std::string name = Name;
  e->GetProperties()->OnChange = [e, name](TObject*) {
    Say(name + " " + System::AnsiToUtf8(e->GetDisplayValueText()));
  };
  gTextEditors.push_back(e);
  return e;
}

void AddTextEditors(TForm* Form, int Left, int Top, int PitchX)
{
  Form->SetHeight(std::max(Form->GetHeight(), Top + 80));
  AddLabel(Form, 10, Top + 4, "文本");
  AddTextEditor<TcxTextEdit>(Form, Left, Top, "plain");
  auto* lookup = AddTextEditor<TcxTextEdit>(Form, Left + PitchX, Top, "lookup");
  for (const char* item : {"Apple", "Apricot", "合同管理", "合作伙伴"})
    lookup->GetTextProperties()->GetLookupItems()->Add(item);
  auto* mask = AddTextEditor<TcxMaskEdit>(Form, Left + 2 * PitchX, Top, "mask");
  mask->GetMaskProperties()->SetEditMask("!(999) 000-0000;1;_");
  auto* password = AddTextEditor<TcxTextEdit>(Form, Left + 3 * PitchX, Top, "password");
  password->GetTextProperties()->SetEchoMode(eemPassword);
  password->SetText("secret");
  auto* right = AddTextEditor<TcxTextEdit>(Form, Left + 4 * PitchX, Top, "right");
  right->GetTextProperties()->GetAlignment()->SetHorz(taRightJustify);
  right->SetText("右对齐 123");
  auto* decimal = AddTextEditor<TcxMaskEdit>(Form, Left + 5 * PitchX, Top, "decimal");
  decimal->GetMaskProperties()->SetMaskKind(emkRegExpr);
  decimal->GetMaskProperties()->SetEditMask("\\d+(,\\d\\d)?");
  decimal->SetText("12,50");
}

// Spin editors in their three button arrangements and a memo with a vertical bar. They say
// "spin <text>" at each change of the first one and "memo top <line>" when the memo's bar
// scrolled it.
struct TSpinMemoEditors {
  TcxSpinEdit* Spin = nullptr;
  TcxMemo* Memo = nullptr;
};

TSpinMemoEditors gSpinMemo;

void AddSpinAndMemo(TForm* Form, int Top)
{
  Form->SetHeight(std::max(Form->GetHeight(), Top + 150));
  AddLabel(Form, 10, Top + 4, "微调框");
  const TcxSpinEditButtonsPosition positions[] = {sbpVert, sbpHorzRight, sbpHorzLeftRight};
  for (int i = 0; i < 3; ++i) {
    auto* s = new TcxSpinEdit(Form);
    s->SetParent(Form);
    s->SetBounds(80 + i * 135, Top, 125, 24);
    TcxSpinEditProperties* p = s->GetActiveProperties();
    p->GetSpinButtons()->SetPosition(positions[i]);
    p->GetSpinButtons()->SetShowFastButtons(i == 2);
    p->SetValueType(i == 1 ? vtFloat : vtInt);
    p->SetIncrement(i == 1 ? 0.5 : 1);
    s->SetValue(Variant(i == 1 ? 2.5 : 100.0));
    if (i == 0) {
      s->SetValue(Variant(0));
      p->OnChange = [s](TObject*) { Say("spin " + std::string(s->GetInnerTextEditControl()->GetText())); };
      gSpinMemo.Spin = s;
    }
  }
  AddLabel(Form, 490, Top + 4, "备注");
  auto* memo = new TcxMemo(Form);
  memo->SetParent(Form);
  memo->SetBounds(560, Top, 300, 110);
  memo->GetActiveProperties()->SetScrollBars(ssVertical);
  AnsiString text;
  for (int i = 1; i <= 200; ++i)
    text += "第" + std::to_string(i) + "条：甲方按期付款，乙方按期交货。Line " + std::to_string(i) + "\r\n";
  memo->GetLines()->SetText(text);
  gSpinMemo.Memo = memo;
}

// Where the scenario holds and clicks: the first spin editor's up button and the line-down arrow
// of the memo's bar. Made once the form is shown (the bar exists then).
std::string SpinMemoPoints()
{
  TcxMemo* memo = gSpinMemo.Memo;
  TcxScrollBar* bar = memo->GetVScrollBar();
  auto previous = bar->OnScroll;
  bar->OnScroll = [previous, memo](TObject* Sender, TScrollCode Code, int& Pos) {
    if (previous) previous(Sender, Code, Pos);
    const LRESULT top = Windows::SendMessage(memo->GetInnerMemo()->GetHandle(), EM_GETFIRSTVISIBLELINE, 0, 0);
    Say("memo top " + std::to_string(top));
  };
  const RECT up = gSpinMemo.Spin->GetEditViewInfo()->Button(1)->VisibleBounds;
  const POINT arrow{bar->GetLeft() + bar->GetWidth() / 2, bar->GetTop() + bar->GetHeight() - bar->GetWidth() / 2};
  return "up " + At(gSpinMemo.Spin, (up.left + up.right) / 2, (up.top + up.bottom) / 2) + " memobar " +
         At(memo, arrow.x, arrow.y);
}

}  // namespace

int main(int argc, char** argv)
{
  gShotPath = argc > 1 ? argv[1] : "editors_gallery.png";
  std::string err;
  if (!SdlBackend::Start(&err)) {
    std::fprintf(stderr, "no display: %s\n", err.c_str());
    return 2;
  }
  Forms::InitializeApplication();
  FrameworkModule::Initialize();
  EditorsModule::Initialize();
  TApplication* app = Forms::Application;
  app->Initialize();
  TForm* form = nullptr;
  app->CreateForm(form);
  form->SetCaption("编辑器");
  form->SetBounds(20, 20, 900, 500);
  form->SetColor(clBtnFace);

  const TcxEditBorderStyle borders[] = {ebsNone, ebsSingle, ebsThick, ebsFlat, ebs3D, ebsUltraFlat};
  const char* borderNames[] = {"无边框", "单线", "粗线", "平面", "立体", "超平面"};
  const TcxEditButtonStyle styles[] = {btsDefault, bts3D, btsFlat, btsSimple, btsHotFlat, btsUltraFlat};
  const char* styleNames[] = {"默认", "立体", "平面", "简单", "热平面", "超平面"};
  const int left = 80, top = 40, width = 125, pitchX = 135, pitchY = 44;
  for (int c = 0; c < 6; ++c) AddLabel(form, left + c * pitchX, 14, styleNames[c]);
  TGalleryEdit* edits[6][6] = {};
  for (int r = 0; r < 6; ++r) {
    AddLabel(form, 10, top + r * pitchY + 4, borderNames[r]);
    for (int c = 0; c < 6; ++c) {
      auto* e = new TGalleryEdit(form);
      e->Name = std::to_string(r) + " " + std::to_string(c);
      e->SetParent(form);
      e->SetAutoSize(false);
      e->SetBounds(left + c * pitchX, top + r * pitchY, width, 24);
      TcxCustomEditStyle* s = e->GetEditStyle();
      s->SetEditBorderStyle(borders[r]);
      s->SetButtonStyle(styles[c]);
      s->SetHotTrack(true);
      if (r == 2 && c == 5) s->SetShadow(true);
      TcxCustomEditProperties* p = e->GetProperties();
      p->GetButtons()->Add()->SetKind(bkEllipsis);
      p->GetButtons()->Add()->SetKind(bkDown);
      const std::string name = e->Name;
      p->OnButtonClick = [name](TObject*, int Index) { Say("click " + name + " " + std::to_string(Index)); };
      e->SetEditValue(Variant(AnsiString("合同 ") + AnsiString(std::to_string(r * 6 + c + 1))));
      edits[r][c] = e;
    }
  }
  // A disabled editor, and one whose buttons show only while it has the focus.
  auto* disabled = new TGalleryEdit(form);
  disabled->Name = "6 0";
  disabled->SetParent(form);
  disabled->SetAutoSize(false);
  disabled->SetBounds(left, top + 6 * pitchY, width, 24);
  disabled->GetProperties()->GetButtons()->Add();
  disabled->SetEnabled(false);
  auto* hidden = new TGalleryEdit(form);
  hidden->Name = "6 1";
  hidden->SetParent(form);
  hidden->SetAutoSize(false);
  hidden->SetBounds(left + pitchX, top + 6 * pitchY, width, 24);
  hidden->GetProperties()->GetButtons()->Add()->SetKind(bkEllipsis);
  hidden->GetEditStyle()->SetButtonTransparency(ebtHideInactive);

  AddChoiceEditors(form, top + 7 * pitchY + 6);
  AddTextEditors(form, left, top + 7 * pitchY + 150, pitchX);
  AddSpinAndMemo(form, top + 7 * pitchY + 186);

  app->OnMessage = [](MSG& msg, bool& handled) {
    if (msg.message != WM_KEYDOWN || msg.wParam != VK_F12) return;
    handled = true;
    HBITMAP shot = SdlBackend::ScreenshotToPng(gShotPath);
    if (shot) Windows::DeleteObject(shot);
    Say(shot ? "shot" : "shot failed");
    Forms::Application->Terminate();
  };
  form->Show();
  Controls::ProcessMessages();
  auto buttonAt = [](TGalleryEdit* E, int Index) {
    const RECT b = E->GetEditViewInfo()->Button(Index)->VisibleBounds;
    return At(E, (b.left + b.right) / 2, (b.top + b.bottom) / 2);
  };
  Say(TextEditorsLine());
  Say("ready hover " + buttonAt(edits[1][4], 1) + " press " + buttonAt(edits[4][1], 0) + " away " + At(form, 860, 360));
  Say("choices " + ChoicePoints());
  Say("spinmemo " + SpinMemoPoints());
  app->Run();
  EditorsModule::Finalize();
  FrameworkModule::Finalize();
  Forms::FinalizeApplication();
  SdlBackend::Stop();
  return 0;
}
