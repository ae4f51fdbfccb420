// Docking: tool windows docked into a site, stacked and set side by side, floated in their own
// tool window and docked again, by code and by dragging with the mouse; the site's layout saved
// and loaded; layouts naming missing windows and damaged ones; pictures of docked and floating
// windows.
#include "platform/classes/ClassRegistry.h"
#include "platform/forms/controls/Controls.h"
#include "platform/forms/controls/DockDrag.h"
#include "platform/forms/controls/DockTree.h"
#include "platform/forms/forms/DockForm.h"
#include "platform/forms/tests/ControlsTestUtil.h"
#include "platform/gdi/dc/SysColors.h"
#include "platform/rtl/Streams.h"
#include "platform/testsupport/PixelCanvas.h"
#include "platform/win/backend/Headless.h"
#include "platform/win/input/InputQueue.h"
#include "platform/win/window/Windows.h"

namespace {

constexpr int kDockGrab = TDockTree::GrabberSize;
constexpr int kDockGap = TDockTree::SplitterSize;

// A main form with a dock site along its left edge and tool windows that dock into it, all
// found by name as the program's global components are.
class DockTest : public FormsTest {
protected:
  void SetUp() override
  {
    FormsTest::SetUp();
    Classes::RegisterFindGlobalComponentProc("DockTest", [this](const AnsiString& Name) -> TComponent* {
      return Owner ? Owner->FindComponent(Name) : nullptr;
    });
    Main = MakeForm(600, 400);
    Main->SetName("MainForm");
    Site = new TLogControl(Owner.get(), "Site");
    Site->SetParent(Main);
    Site->SetBounds(0, 0, 200, 300);
    Site->SetDockSite(true);
    Site->SetUseDockManager(true);
    Main->Show();
  }
  void TearDown() override
  {
    Owner.reset();
    Classes::UnregisterFindGlobalComponentProc("DockTest");
    FormsTest::TearDown();
  }
  // A tool window: a form that floats as its own window.
  TForm* MakeTool(const char* Name, const char* Caption, int W = 150, int H = 120)
  {
    auto* tool = new TForm(Owner.get());
    tool->SetName(Name);
    tool->SetCaption(Caption);
    tool->SetBorderStyle(bsSizeToolWin);
    tool->SetDragKind(dkDock);
    tool->SetBounds(700, 100, W, H);
    tool->SetColor(clWindow);
    tool->Show();
    return tool;
  }
  // A dockable control that floats in a tool window made for it.
  TLogControl* MakePane(const char* Name, const char* Caption)
  {
    auto* pane = new TLogControl(Owner.get(), Name);
    pane->SetParent(Main);
    pane->SetBounds(300, 20, 150, 120);
    pane->SetCaption(Caption);
    pane->SetDragKind(dkDock);
    return pane;
  }
  // Screen point of a client point of a control.
  static POINT At(TControl* C, int X, int Y) { return C->ClientToScreen(POINT{X, Y}); }
  // Presses at From, moves in steps to To and releases there.
  void DragMouse(POINT From, POINT To)
  {
    InputQueue::MouseMove(From.x, From.y);
    InputQueue::MouseDown(InputQueue::Button::Left, From.x, From.y);
    Pump();
    for (int i = 1; i <= 4; ++i) {
      InputQueue::MouseMove(From.x + (To.x - From.x) * i / 4, From.y + (To.y - From.y) * i / 4);
      Pump();
    }
  }
  void Release(POINT To)
  {
    InputQueue::MouseUp(InputQueue::Button::Left, To.x, To.y);
    Pump();
  }
  std::vector<std::uint8_t> SaveLayout()
  {
    TMemoryStream s;
    Site->GetDockManager()->SaveToStream(&s);
    auto* p = static_cast<const std::uint8_t*>(s.GetMemory());
    return std::vector<std::uint8_t>(p, p + s.GetSize());
  }
  void LoadLayout(const std::vector<std::uint8_t>& Bytes)
  {
    TMemoryStream s;
    if (!Bytes.empty()) s.WriteBuffer(Bytes.data(), Int64(Bytes.size()));
    s.SetPosition(0);
    Site->GetDockManager()->LoadFromStream(&s);
  }
  // Bounds of each control in the site, as one comparable text.
  static std::string Places(std::initializer_list<TControl*> Controls)
  {
    std::string out;
    for (TControl* c : Controls) {
      RECT r = c->GetBoundsRect();
      out += c->GetName() + (c->GetHostDockSite() ? "@" + c->GetHostDockSite()->GetName() : std::string("@-")) + "(" +
             std::to_string(r.left) + "," + std::to_string(r.top) + "," + std::to_string(r.right) + "," +
             std::to_string(r.bottom) + ") ";
    }
    return out;
  }

  TForm* Main = nullptr;
  TLogControl* Site = nullptr;
};

bool SameRect(RECT a, RECT b)
{
  return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

void ExpectBounds(TControl* C, RECT Want)
{
  SCOPED_TRACE(C->GetName());
  RECT r = C->GetBoundsRect();
  EXPECT_EQ(r.left, Want.left);
  EXPECT_EQ(r.top, Want.top);
  EXPECT_EQ(r.right, Want.right);
  EXPECT_EQ(r.bottom, Want.bottom);
}

}  // namespace

TEST_F(DockTest, APaneDocksStacksFloatsAndDocksAgain)
{
  TLogControl* a = MakePane("ToolA", "对象查看器");
  TLogControl* b = MakePane("ToolB", "数据树");
  std::vector<std::string> events;
  Site->OnDockDrop = [&](TObject*, TDragDockObject* s, int, int) {
    events.push_back("drop " + s->GetControl()->GetName());
  };
  Site->OnUnDock = [&](TObject*, TControl* c, TWinControl* to, bool&) {
    events.push_back("undock " + c->GetName() + (to ? " to " + to->GetName() : std::string(" floating")));
  };

  ASSERT_TRUE(a->ManualDock(Site));
  EXPECT_EQ(a->GetHostDockSite(), Site);
  EXPECT_EQ(a->GetParent(), Site);
  EXPECT_FALSE(a->Floating());
  ExpectBounds(a, RECT{0, kDockGrab, 200, 300});  // under its grabber

  // The site is taller than wide: the next one stacks below.
  ASSERT_TRUE(b->ManualDock(Site));
  EXPECT_EQ(Site->GetDockClientCount(), 2);
  int half = (300 - kDockGap) / 2;
  ExpectBounds(a, RECT{0, kDockGrab, 200, half});
  ExpectBounds(b, RECT{0, half + kDockGap + kDockGrab, 200, 300});

  // Beside it on the right: side by side.
  ASSERT_TRUE(b->ManualDock(Site, a, alRight));
  int w = (200 - kDockGap) / 2;
  ExpectBounds(a, RECT{0, kDockGrab, w, 300});
  ExpectBounds(b, RECT{w + kDockGap, kDockGrab, 200, 300});

  // Floated: a tool window holds it, whose client area is where it was asked to go.
  ASSERT_TRUE(a->ManualFloat(RECT{400, 200, 560, 330}));
  EXPECT_TRUE(a->Floating());
  auto* host = dynamic_cast<TCustomDockForm*>(a->GetHostDockSite());
  ASSERT_NE(host, nullptr);
  EXPECT_EQ(a->GetParent(), host);
  EXPECT_TRUE(host->GetVisible());
  EXPECT_EQ(host->GetCaption(), "对象查看器");
  EXPECT_EQ(host->GetBorderStyle(), bsSizeToolWin);
  POINT origin = host->ClientToScreen(POINT{0, 0});
  EXPECT_EQ(origin.x, 400);
  EXPECT_EQ(origin.y, 200);
  ExpectBounds(a, RECT{0, 0, 160, 130});  // a lone client has no grabber: the caption is its grabber
  ExpectBounds(b, RECT{0, kDockGrab, 200, 300});
  EXPECT_EQ(Site->GetDockClientCount(), 1);

  // Its close button hides the tool window with the pane in it.
  host->Close();
  EXPECT_FALSE(host->GetVisible());
  EXPECT_EQ(a->GetHostDockSite(), host);

  // Docked again above the other one: the empty floating window goes.
  HWND hostWnd = host->GetHandle();
  ASSERT_TRUE(a->ManualDock(Site, b, alTop));
  EXPECT_EQ(a->GetHostDockSite(), Site);
  ExpectBounds(a, RECT{0, kDockGrab, 200, half});
  ExpectBounds(b, RECT{0, half + kDockGap + kDockGrab, 200, 300});
  Pump();
  EXPECT_FALSE(Windows::IsWindow(hostWnd));
  // Floating again, each takes the size it had before it was docked.
  EXPECT_EQ(a->GetUndockWidth(), 160);
  EXPECT_EQ(a->GetUndockHeight(), 130);
  EXPECT_EQ(b->GetUndockWidth(), 150);
  EXPECT_EQ(b->GetUndockHeight(), 120);
  EXPECT_EQ((std::vector<std::string>{"drop ToolA", "drop ToolB", "undock ToolB to Site", "drop ToolB",
                                      "undock ToolA floating", "drop ToolA"}),
            events);
}

TEST_F(DockTest, RefusalsKeepTheControlWhereItWas)
{
  TForm* a = MakeTool("ToolA", "A");
  ASSERT_TRUE(a->ManualDock(Site));
  Site->OnUnDock = [](TObject*, TControl*, TWinControl*, bool& Allow) { Allow = false; };
  EXPECT_FALSE(a->ManualFloat(RECT{400, 200, 500, 300}));
  EXPECT_EQ(a->GetHostDockSite(), Site);
  EXPECT_EQ(Site->GetDockClientCount(), 1);

  // A site inside the control cannot take it.
  auto* inner = new TLogControl(Owner.get(), "Inner");
  inner->SetParent(a);
  inner->SetDockSite(true);
  Site->OnUnDock = nullptr;
  EXPECT_FALSE(a->ManualDock(inner));
  EXPECT_EQ(a->GetHostDockSite(), Site);

  // A docked control freed leaves the site; a freed site leaves its clients unhosted.
  TForm* b = MakeTool("ToolB", "B");
  ASSERT_TRUE(b->ManualDock(Site));
  delete a;
  EXPECT_EQ(Site->GetDockClientCount(), 1);
  ExpectBounds(b, RECT{0, kDockGrab, 200, 300});
  b->SetParent(Main);  // moved away without docking: the site forgets it
  EXPECT_EQ(b->GetHostDockSite(), nullptr);
  EXPECT_EQ(Site->GetDockClientCount(), 0);
}

TEST_F(DockTest, DraggingTheGrabberFloatsAndTheCaptionDocksAgain)
{
  TForm* a = MakeTool("ToolA", "A");
  TForm* b = MakeTool("ToolB", "B");
  b->SetUndockWidth(140);
  b->SetUndockHeight(90);
  ASSERT_TRUE(a->ManualDock(Site));
  ASSERT_TRUE(b->ManualDock(Site));
  std::vector<std::string> ends;
  b->OnStartDock = [&](TObject*, TDragDockObject*& o) { ends.push_back("start"); };
  b->OnEndDock = [&](TObject*, TObject* target, int, int) {
    auto* c = dynamic_cast<TComponent*>(target);
    ends.push_back(c ? c->GetName() : "none");
  };

  // From B's grabber out onto the empty part of the main form: the frame shows the float place.
  RECT grab;
  ASSERT_TRUE(Site->GetDockManager()->GetControlBounds(b, grab));
  POINT from = At(Site, 30, grab.top + 5);
  POINT to = At(Main, 400, 200);
  DragMouse(from, to);
  RECT frame = DockDrag::FrameRect();
  EXPECT_EQ(frame.right - frame.left, 140);
  EXPECT_EQ(frame.bottom - frame.top, 90);
  EXPECT_EQ(frame.left, to.x - 30);  // held where the mouse took it
  Release(to);
  EXPECT_TRUE(SameRect(DockDrag::FrameRect(), RECT{}));
  ASSERT_TRUE(b->Floating());
  POINT origin = b->ClientToScreen(POINT{0, 0});
  EXPECT_EQ(origin.x, frame.left);
  EXPECT_EQ(origin.y, frame.top);
  ExpectBounds(a, RECT{0, kDockGrab, 200, 300});

  // B's caption drags it back, onto the lower half of A's zone.
  EXPECT_EQ(b->GetHostDockSite(), nullptr);
  RECT hostRect;
  Windows::GetWindowRect(b->GetHandle(), &hostRect);
  POINT caption{hostRect.left + 30, hostRect.top + 6};
  POINT over = At(Site, 100, 280);
  DragMouse(caption, over);
  frame = DockDrag::FrameRect();
  POINT siteOrigin = At(Site, 0, 0);
  EXPECT_EQ(frame.top, siteOrigin.y + 150);  // the lower half of A's zone
  EXPECT_EQ(frame.bottom, siteOrigin.y + 300);
  Release(over);
  EXPECT_EQ(b->GetHostDockSite(), Site);
  int half = (300 - kDockGap) / 2;
  ExpectBounds(a, RECT{0, kDockGrab, 200, half});
  ExpectBounds(b, RECT{0, half + kDockGap + kDockGrab, 200, 300});

  // Escape cancels a drag: nothing moves.
  std::string before = Places({a, b});
  DragMouse(from, to);
  InputQueue::KeyDown(VK_ESCAPE);
  Pump();
  Release(to);
  EXPECT_EQ(Places({a, b}), before);
  EXPECT_EQ((std::vector<std::string>{"start", "none", "start", "Site", "start", "none"}), ends);
}

TEST_F(DockTest, SiteRefusalsMakeTheDropFloat)
{
  struct Case {
    const char* Name;
    std::function<void(TLogControl*)> Arrange;
  };
  const Case cases[] = {
      {"OnDockOver refuses",
       [](TLogControl* s) {
         s->OnDockOver = [](TObject*, TDragDockObject*, int, int, TDragState, bool& A) { A = false; };
       }},
      {"OnGetSiteInfo refuses",
       [](TLogControl* s) {
         s->OnGetSiteInfo = [](TObject*, TControl*, RECT&, POINT, bool& CanDock) { CanDock = false; };
       }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Name);
    TForm* a = MakeTool("ToolA", "A");
    c.Arrange(Site);
    RECT r;
    Windows::GetWindowRect(a->GetHandle(), &r);
    POINT from{r.left + 30, r.top + 6};
    POINT to = At(Site, 100, 100);
    DragMouse(from, to);
    Release(to);
    EXPECT_EQ(a->GetHostDockSite(), nullptr);
    EXPECT_EQ(Site->GetDockClientCount(), 0);
    EXPECT_TRUE(a->Floating());
    Site->OnDockOver = nullptr;
    Site->OnGetSiteInfo = nullptr;
    delete a;
  }
}

TEST_F(DockTest, CloseButtonsAndSplittersOfTheSite)
{
  TForm* a = MakeTool("ToolA", "A");
  TForm* b = MakeTool("ToolB", "B");
  ASSERT_TRUE(a->ManualDock(Site));
  ASSERT_TRUE(b->ManualDock(Site));
  int half = (300 - kDockGap) / 2;

  // The splitter between them moves their shared edge.
  POINT split = At(Site, 100, half + 1);
  DragMouse(split, POINT{split.x, split.y + 40});
  Release(POINT{split.x, split.y + 40});
  ExpectBounds(a, RECT{0, kDockGrab, 200, half + 40});
  ExpectBounds(b, RECT{0, half + 40 + kDockGap + kDockGrab, 200, 300});

  // A's close button closes it; B takes the room, and A comes back in its place when shown.
  RECT zone;
  ASSERT_TRUE(Site->GetDockManager()->GetControlBounds(a, zone));
  POINT close = At(Site, zone.right - 2 - TDockTree::CloseButtonSize / 2, zone.top + kDockGrab / 2);
  InputQueue::MouseMove(close.x, close.y);
  InputQueue::MouseDown(InputQueue::Button::Left, close.x, close.y);
  InputQueue::MouseUp(InputQueue::Button::Left, close.x, close.y);
  Pump();
  EXPECT_FALSE(a->GetVisible());
  EXPECT_EQ(a->GetHostDockSite(), Site);
  ExpectBounds(b, RECT{0, kDockGrab, 200, 300});
  a->Show();
  ExpectBounds(a, RECT{0, kDockGrab, 200, half + 40});
}

TEST_F(DockTest, TheLayoutSavedAndLoadedIsTheSame)
{
  TForm* a = MakeTool("ToolA", "A");
  TForm* b = MakeTool("ToolB", "B");
  TForm* c = MakeTool("ToolC", "C");
  // A on top; B and C side by side below it, B narrower.
  ASSERT_TRUE(a->ManualDock(Site));
  ASSERT_TRUE(b->ManualDock(Site));
  ASSERT_TRUE(c->ManualDock(Site, b, alRight));
  POINT split = At(Site, (200 - kDockGap) / 2 + 1, 250);
  DragMouse(split, POINT{split.x - 30, split.y});
  Release(POINT{split.x - 30, split.y});
  std::string arranged = Places({a, b, c});
  std::vector<std::uint8_t> saved = SaveLayout();

  // Rearranged and partly floated, then loaded: each window is back in its place.
  ASSERT_TRUE(c->ManualFloat(RECT{500, 100, 600, 200}));
  ASSERT_TRUE(a->ManualDock(Site, b, alLeft));
  ASSERT_NE(Places({a, b, c}), arranged);
  LoadLayout(saved);
  EXPECT_EQ(Places({a, b, c}), arranged);
  EXPECT_EQ(SaveLayout(), saved);
  Pump();  // the floating window C left frees itself
  EXPECT_EQ(Site->GetDockClientCount(), 3);
}

TEST_F(DockTest, LayoutsWithMissingWindowsAndTheStoredDefault)
{
  TForm* tree = MakeTool("frxReportTreeForm", "报表树");
  TForm* inspector = MakeTool("frxObjectInspector", "对象查看器");
  Site->SetBounds(0, 0, 159, 584);
  // The stored default of a site stacking two windows, as hexadecimal text.
  const char* hex =
      "00000400000000004802000000000000019F00000000000000010000000073000000110000006672785265706F727454726565466F726D"
      "010000000048020000120000006672784F626A656374496E73706563746F72FFFFFFFF";
  std::vector<std::uint8_t> bytes;
  for (const char* p = hex; p[0] && p[1]; p += 2)
    bytes.push_back(std::uint8_t(std::stoi(std::string(p, 2), nullptr, 16)));
  LoadLayout(bytes);
  EXPECT_EQ(tree->GetHostDockSite(), Site);
  EXPECT_EQ(inspector->GetHostDockSite(), Site);
  EXPECT_LT(tree->GetTop(), inspector->GetTop());
  EXPECT_EQ(tree->GetWidth(), 159);
  EXPECT_NEAR(tree->GetHeight() + kDockGrab, 115, 1);

  // A name that finds no window is skipped; the others still come.
  std::vector<std::uint8_t> missing = bytes;
  std::string from = "frxReportTreeForm", to = "frxReportTreeFxrm";
  auto at = std::search(missing.begin(), missing.end(), from.begin(), from.end());
  std::copy(to.begin(), to.end(), at);
  ASSERT_TRUE(tree->ManualFloat(RECT{600, 100, 700, 200}));
  ASSERT_TRUE(inspector->ManualFloat(RECT{600, 300, 700, 400}));
  LoadLayout(missing);
  EXPECT_TRUE(tree->Floating());
  EXPECT_EQ(inspector->GetHostDockSite(), Site);
  ExpectBounds(inspector, RECT{0, kDockGrab, 159, 584});

  // Names of nothing at all: the layout stays as it is.
  std::string kept = Places({tree, inspector});
  std::vector<std::uint8_t> none = missing;
  from = "frxObjectInspector";
  to = "frxObjectInspectxr";
  at = std::search(none.begin(), none.end(), from.begin(), from.end());
  std::copy(to.begin(), to.end(), at);
  LoadLayout(none);
  EXPECT_EQ(Places({tree, inspector}), kept);
}

TEST_F(DockTest, ADamagedLayoutKeepsTheArrangement)
{
  TForm* a = MakeTool("ToolA", "A");
  TForm* b = MakeTool("ToolB", "B");
  ASSERT_TRUE(a->ManualDock(Site));
  ASSERT_TRUE(b->ManualDock(Site));
  std::vector<std::uint8_t> good = SaveLayout();
  ASSERT_TRUE(b->ManualDock(Site, a, alRight));
  std::string arranged = Places({a, b});

  auto with = [&](size_t At, std::vector<std::uint8_t> Bytes) {
    std::vector<std::uint8_t> v = good;
    std::copy(Bytes.begin(), Bytes.end(), v.begin() + long(At));
    return v;
  };
  struct Case {
    const char* Name;
    std::vector<std::uint8_t> Bytes;
  };
  // The top zone starts at byte 12 (level, orientation, limit, name length), its first child
  // (named "ToolA") at 25, the second at 43.
  const Case cases[] = {
      {"empty", {}},
      {"another version", with(0, {1, 0, 0, 0})},
      {"top zone not at level 0", with(12, {1, 0, 0, 0})},
      {"level jumps by two", with(25, {2, 0, 0, 0})},
      {"negative level", with(25, {0xFE, 0xFF, 0xFF, 0xFF})},
      {"unknown orientation", with(16, {7})},
      {"name longer than the stream", with(21, {0xFF, 0xFF, 0, 0})},
      {"negative name length", with(21, {0xFF, 0xFF, 0xFF, 0xFF})},
      {"zone under a window", with(43, {2, 0, 0, 0})},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Name);
    LoadLayout(c.Bytes);
    EXPECT_EQ(Places({a, b}), arranged);
  }
  // Cut short anywhere.
  for (size_t n = 0; n + 1 < good.size(); ++n) {
    SCOPED_TRACE(n);
    LoadLayout(std::vector<std::uint8_t>(good.begin(), good.begin() + long(n)));
    ASSERT_EQ(Places({a, b}), arranged);
  }
}

TEST_F(DockTest, PicturesOfDockedAndFloatingWindows)
{
  Main->SetCaption("合同管理");
  Site->SetColor(clBtnFace);
  TForm* a = MakeTool("ToolA", "对象查看器");
  TForm* b = MakeTool("ToolB", "报表树");
  TForm* c = MakeTool("ToolC", "数据树", 160, 110);
  TLogControl* d = MakePane("PaneD", "合同列表");
  for (TForm* f : {a, b, c}) f->GetFont()->SetName("宋体");
  Site->GetFont()->SetName("宋体");
  a->SetColor(RGB(255, 255, 224));
  b->SetColor(RGB(224, 255, 224));
  c->SetColor(RGB(224, 240, 255));
  d->SetColor(RGB(255, 228, 225));
  ASSERT_TRUE(a->ManualDock(Site));
  ASSERT_TRUE(b->ManualDock(Site));
  ASSERT_TRUE(c->ManualFloat(RECT{260, 160, 420, 270}));
  ASSERT_TRUE(d->ManualFloat(RECT{460, 200, 620, 320}));
  auto* host = dynamic_cast<TCustomDockForm*>(d->GetHostDockSite());
  ASSERT_NE(host, nullptr);
  host->GetFont()->SetName("宋体");
  for (TWinControl* w :
       {static_cast<TWinControl*>(Main), static_cast<TWinControl*>(c), static_cast<TWinControl*>(host)})
    w->Update();
  Pump();

  // The grabbers carry the captions; the floating windows have caption bars of their own.
  POINT grab = At(Site, 100, 2);
  EXPECT_EQ(Headless::ScreenPixel(grab.x, grab.y), Windows::GetSysColor(COLOR_BTNFACE));
  POINT inA = At(a, 20, 20), inC = At(c, 20, 20), inD = At(d, 20, 20);
  EXPECT_EQ(Headless::ScreenPixel(inA.x, inA.y), RGB(255, 255, 224));
  EXPECT_EQ(Headless::ScreenPixel(inC.x, inC.y), RGB(224, 240, 255));
  EXPECT_EQ(Headless::ScreenPixel(inD.x, inD.y), RGB(255, 228, 225));
  RECT r;
  Windows::GetWindowRect(Main->GetHandle(), &r);
  RECT area{r.left - 10, r.top - 10, r.right + 40, r.bottom + 10};
  TPixelCanvas docked(area.right - area.left, area.bottom - area.top, RGB(255, 255, 255));
  CopyScreen(docked, area, 0, 0);
  SavePng(docked.Bmp, "forms_dock_floating.png");

  // B dragged over the top of A: the docking rectangle shows over everything.
  RECT zone;
  ASSERT_TRUE(Site->GetDockManager()->GetControlBounds(b, zone));
  DragMouse(At(Site, 30, zone.top + 5), At(Site, 100, 40));
  RECT frame = DockDrag::FrameRect();
  EXPECT_EQ(Headless::ScreenPixel(frame.left, frame.top + 10), Windows::GetSysColor(COLOR_HIGHLIGHT));
  TPixelCanvas dragging(area.right - area.left, area.bottom - area.top, RGB(255, 255, 255));
  CopyScreen(dragging, area, 0, 0);
  SavePng(dragging.Bmp, "forms_dock_dragging.png");
  Release(At(Site, 100, 40));
  EXPECT_EQ(b->GetHostDockSite(), Site);
  EXPECT_LT(b->GetTop(), a->GetTop());  // dropped on the top half of A's zone
}
