// Status bars, up-down controls and progress bars on a headless form: what reaches the window,
// the bottom alignment, stepping with its events and wrapping.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/commctrl/progress/Progress.h"
#include "platform/commctrl/statusbar/StatusBar.h"
#include "platform/commctrl/updown/UpDown.h"
#include "platform/forms/tests/ControlsTestUtil.h"
#include "platform/stdctrls/StdCtrls.h"
#include "platform/stdctrls/comctrls/ProgressBar.h"
#include "platform/stdctrls/comctrls/StatusBar.h"
#include "platform/stdctrls/comctrls/UpDown.h"
#include "platform/stdctrls/edits/CustomEdit.h"
#include "platform/stdctrls/tests/StdCtrlsTestUtil.h"
#include "platform/win/backend/Headless.h"
#include "platform/win/input/InputQueue.h"
#include "platform/win/queue/Messages.h"

namespace {

class BarsTest : public FormsTest {
protected:
  void SetUp() override
  {
    FormsTest::SetUp();
    StdCtrls::Initialize();
    Form = MakeForm(500, 300);
  }
  // The window's text of a part, and its drawing flags.
  static std::string PartText(HWND Bar, int Part, UINT* Flags = nullptr)
  {
    char text[256] = {};
    LRESULT r = Windows::SendMessage(Bar, SB_GETTEXT, WPARAM(Part), reinterpret_cast<LPARAM>(text));
    if (Flags) *Flags = HIWORD(r);
    return text;
  }
  static std::vector<int> Edges(HWND Bar)
  {
    int edges[16] = {};
    int n = int(Windows::SendMessage(Bar, SB_GETPARTS, 16, reinterpret_cast<LPARAM>(edges)));
    return std::vector<int>(edges, edges + n);
  }
  void ClickArrow(TUpDown* Arrows, bool Up)
  {
    RECT r = Arrows->GetClientRect();
    ClickClient(Arrows, POINT{r.right / 2, Up ? r.bottom / 4 : r.bottom * 3 / 4});
    Pump();
  }
  TForm* Form = nullptr;
};

}  // namespace

TEST_F(BarsTest, StatusPanelsReachTheWindowWithWidthsTextsAndLooks)
{
  auto* bar = new TStatusBar(Owner.get());
  bar->SetParent(Form);
  struct Panel {
    const char* text;
    int width;
    TAlignment alignment;
    TStatusPanelBevel bevel;
    const char* shown;  // the window's text
    UINT flags;
  };
  const Panel panels[] = {
      {"D:\\合同\\pelto.mdb", 200, taLeftJustify, pbLowered, "D:\\合同\\pelto.mdb", 0},
      {"sa", 80, taCenter, pbNone, "\tsa", SBT_NOBORDERS},
      {"", 60, taRightJustify, pbRaised, "\t\t", SBT_POPOUT},
      {"就绪", 60, taLeftJustify, pbLowered, "就绪", 0},
  };
  // Set before the window exists: kept and written when it is made.
  for (const Panel& p : panels) {
    TStatusPanel* panel = bar->GetPanels()->Add();
    panel->SetText(p.text);
    panel->SetWidth(p.width);
    panel->SetAlignment(p.alignment);
    panel->SetBevel(p.bevel);
  }
  Form->Show();
  HWND h = bar->GetHandle();
  for (int i = 0; i < 4; ++i) {
    UINT flags = 0;
    EXPECT_EQ(PartText(h, i, &flags), panels[i].shown) << i;
    EXPECT_EQ(flags & (SBT_NOBORDERS | SBT_POPOUT), panels[i].flags) << i;
  }
  EXPECT_EQ(Edges(h), (std::vector<int>{200, 280, 340, -1})) << "the last panel runs to the end";

  // Docked at the bottom across the form, also after a resize.
  RECT client = Form->GetClientRect();
  EXPECT_EQ(bar->GetTop() + bar->GetHeight(), client.bottom);
  EXPECT_EQ(bar->GetWidth(), client.right);

  // The main window's recipe: the first panel takes what the others leave.
  bar->OnResize = [bar](TObject*) {
    TStatusPanels* p = bar->GetPanels();
    p->GetItems(0)->SetWidth(bar->GetWidth() - p->GetItems(1)->GetWidth() - p->GetItems(2)->GetWidth() -
                             p->GetItems(3)->GetWidth());
  };
  Form->SetWidth(Form->GetWidth() + 100);
  EXPECT_EQ(bar->GetWidth(), Form->GetClientRect().right);
  EXPECT_EQ(Edges(h)[0], bar->GetWidth() - 200);
  bar->GetPanels()->GetItems(1)->SetText("操作员");
  EXPECT_EQ(PartText(h, 1), "\t操作员");

  bar->SetSimpleText("正在打开合同...");
  bar->SetSimplePanel(true);
  EXPECT_NE(Windows::SendMessage(h, SB_ISSIMPLE, 0, 0), 0);
  EXPECT_EQ(PartText(h, SB_SIMPLEID), "正在打开合同...");
  bar->SetSimplePanel(false);
  EXPECT_EQ(Windows::SendMessage(h, SB_ISSIMPLE, 0, 0), 0);
  EXPECT_EQ(PartText(h, 3), "就绪");
  EXPECT_THROW(bar->GetPanels()->GetItems(4), EListError);
}

TEST_F(BarsTest, UpDownStepsItsBuddyAndTellsWhichArrow)
{
  auto* edit = new TEdit(Owner.get());
  edit->SetParent(Form);
  edit->SetBounds(10, 10, 80, 21);
  auto* arrows = new TUpDown(Owner.get());
  arrows->SetParent(Form);
  arrows->SetMin(0);
  arrows->SetMax(10);
  arrows->SetIncrement(4);
  arrows->SetPosition(3);
  arrows->SetAssociate(edit);
  Form->Show();
  EXPECT_EQ(edit->GetText(), "3");
  EXPECT_EQ(arrows->GetLeft(), edit->GetLeft() + edit->GetWidth()) << "beside its buddy, on the right";

  std::vector<std::string> log;
  bool refuse = false;
  arrows->OnChanging = [&](TObject*, bool& Allow) {
    log.push_back("changing");
    Allow = !refuse;
  };
  arrows->OnClick = [&](TObject*, TUDBtnType B) {
    log.push_back(std::string(B == btNext ? "next " : "prev ") + std::to_string(arrows->GetPosition()));
  };
  struct Step {
    bool up;
    bool refused;
    int position;
    const char* text;
  };
  const Step steps[] = {
      {true, false, 7, "7"},   {true, false, 10, "10"}, {true, false, 10, "10"},
      {false, true, 10, "10"}, {false, false, 6, "6"},
  };
  for (const Step& s : steps) {
    refuse = s.refused;
    ClickArrow(arrows, s.up);
    EXPECT_EQ(arrows->GetPosition(), s.position);
    EXPECT_EQ(edit->GetText(), s.text);
  }
  EXPECT_EQ(log, (std::vector<std::string>{"changing", "next 7", "changing", "next 10", "changing", "changing",
                                           "changing", "prev 6"}));

  // Wrapping round past the top is still the upper arrow.
  log.clear();
  arrows->SetWrap(true);
  arrows->SetPosition(9);
  ClickArrow(arrows, true);
  EXPECT_EQ(log, (std::vector<std::string>{"changing", "next 0"}));

  // A number typed into the buddy is where the next step starts.
  edit->SetText("2");
  EXPECT_EQ(arrows->GetPosition(), 2);
  arrows->SetPosition(50);
  EXPECT_EQ(arrows->GetPosition(), 10);
  EXPECT_THROW(arrows->SetAssociate(arrows), EInvalidOperation);
  delete edit;
  EXPECT_EQ(arrows->GetAssociate(), nullptr);
}

TEST_F(BarsTest, ProgressStaysInRangeAndStepsRound)
{
  auto* bar = new TProgressBar(Owner.get());
  bar->SetParent(Form);
  struct Case {
    const char* what;
    std::function<void(TProgressBar*)> act;
    int position;
  };
  const Case cases[] = {
      {"set within", [](TProgressBar* b) { b->SetPosition(42); }, 42},
      {"set above the range", [](TProgressBar* b) { b->SetPosition(420); }, 100},
      {"set below the range", [](TProgressBar* b) { b->SetPosition(-3); }, 0},
      {"step", [](TProgressBar* b) { b->StepIt(); }, 10},
      {"step past the end starts again",
       [](TProgressBar* b) {
         b->SetPosition(95);
         b->StepIt();
       },
       5},
      {"step by, kept in range",
       [](TProgressBar* b) {
         b->SetPosition(90);
         b->StepBy(30);
       },
       100},
      {"a narrower range pulls the position in",
       [](TProgressBar* b) {
         b->SetPosition(80);
         b->SetMax(50);
         b->SetMin(10);
       },
       50},
  };
  for (bool windowed : {false, true}) {
    if (windowed) Form->Show();
    for (const Case& c : cases) {
      SCOPED_TRACE(std::string(c.what) + (windowed ? " (window)" : ""));
      bar->SetMin(0);
      bar->SetMax(100);
      bar->SetPosition(0);
      c.act(bar);
      EXPECT_EQ(bar->GetPosition(), c.position);
      if (windowed) EXPECT_EQ(Windows::SendMessage(bar->GetHandle(), PBM_GETPOS, 0, 0), c.position);
    }
  }
}
