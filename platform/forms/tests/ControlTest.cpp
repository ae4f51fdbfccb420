#include <functional>

#include "platform/forms/controls/Controls.h"
#include "platform/forms/controls/SizeConstraints.h"
#include "platform/forms/graphics/Font.h"
#include "platform/forms/tests/ControlsTestUtil.h"
#include "platform/win/input/Focus.h"
#include "platform/win/input/InputQueue.h"
#include "platform/win/queue/Messages.h"
#include "platform/win/window/Windows.h"

using Log = std::vector<std::string>;

TEST_F(FormsTest, WindowsAreMadeOnDemandParentFirstAndDestroyedChildrenFirst)
{
  TForm* form = MakeForm();
  auto* panel = new TLogControl(Owner.get(), "Panel");
  auto* inner = new TLogControl(Owner.get(), "Inner");
  panel->SetParent(form);
  inner->SetParent(panel);
  EXPECT_FALSE(form->HandleAllocated());
  EXPECT_FALSE(inner->HandleAllocated());

  inner->HandleNeeded();  // asks for its parents' windows first
  EXPECT_TRUE(form->HandleAllocated());
  EXPECT_EQ(ControlLog(), (Log{"Panel:WM_CREATE", "Inner:WM_CREATE"}));
  EXPECT_EQ(Windows::GetParent(inner->GetHandle()), panel->GetHandle());

  ControlLog().clear();
  delete form;
  EXPECT_EQ(ControlLog(), (Log{"Inner:WM_DESTROY", "Panel:WM_DESTROY"}));
  EXPECT_FALSE(panel->HandleAllocated());
  EXPECT_EQ(panel->GetParent(), nullptr);
}

TEST_F(FormsTest, AControlWithoutParentCannotHaveAWindow)
{
  auto* lone = new TLogControl(Owner.get(), "Lone");
  EXPECT_THROW(lone->HandleNeeded(), EInvalidOperation);
  EXPECT_THROW(lone->SetParent(lone), EInvalidOperation);
}

TEST_F(FormsTest, RecreateWndKeepsTextChildrenAndFocus)
{
  TForm* form = MakeForm();
  auto* box = new TLogControl(Owner.get(), "Box");
  auto* edit = new TLogControl(Owner.get(), "Edit");
  box->SetParent(form);
  edit->SetParent(box);
  edit->SetText("合同编号");
  form->Show();
  edit->SetFocus();
  HWND old = box->GetHandle();
  ASSERT_TRUE(edit->Focused());

  box->RecreateWnd();
  EXPECT_NE(box->GetHandle(), old);
  EXPECT_EQ(Windows::GetParent(edit->GetHandle()), box->GetHandle());
  EXPECT_EQ(edit->GetText(), "合同编号");
  EXPECT_EQ(Windows::GetWindowText(edit->GetHandle()), "合同编号");
  EXPECT_TRUE(edit->Focused());
}

TEST_F(FormsTest, EnterAndExitRunOutOfTheOldContainersAndIntoTheNewOnes)
{
  TForm* form = MakeForm();
  auto* a = new TLogControl(Owner.get(), "A");
  auto* a1 = new TLogControl(Owner.get(), "A1");
  auto* a2 = new TLogControl(Owner.get(), "A2");
  auto* b = new TLogControl(Owner.get(), "B");
  auto* b1 = new TLogControl(Owner.get(), "B1");
  a->SetParent(form);
  b->SetParent(form);
  a1->SetParent(a);
  a2->SetParent(a);
  b1->SetParent(b);
  b->SetLeft(100);
  a2->SetTop(25);
  form->Show();

  struct Step {
    TWinControl* to;
    Log expected;
  };
  const Step steps[] = {
      {a1, {"A:CM_ENTER", "A1:CM_ENTER"}},
      {b1, {"A1:CM_EXIT", "A:CM_EXIT", "B:CM_ENTER", "B1:CM_ENTER"}},
      {a2, {"B1:CM_EXIT", "B:CM_EXIT", "A:CM_ENTER", "A2:CM_ENTER"}},
      {a1, {"A2:CM_EXIT", "A1:CM_ENTER"}},
      {a, {"A1:CM_EXIT"}},
  };
  for (const Step& s : steps) {
    ControlLog().clear();
    s.to->SetFocus();
    Log got;
    for (const std::string& e : ControlLog())
      if (e.find("CM_") != std::string::npos) got.push_back(e);
    EXPECT_EQ(got, s.expected) << s.to->GetName();
    EXPECT_EQ(form->GetActiveControl(), s.to);
  }
}

TEST_F(FormsTest, MouseEnterAndLeaveFollowThePointerOverWindowlessAndWindowedControls)
{
  TForm* form = MakeForm(500, 400);
  auto* panel = new TLogControl(Owner.get(), "P");
  panel->SetParent(form);
  panel->SetBounds(0, 0, 300, 200);
  auto* graphic = new TLogGraphic(Owner.get(), "G");
  graphic->SetParent(panel);
  graphic->SetBounds(10, 10, 40, 20);
  auto* windowed = new TLogControl(Owner.get(), "W");
  windowed->SetParent(panel);
  windowed->SetBounds(100, 10, 50, 20);
  form->Show();
  Pump();

  struct Step {
    POINT at;  // in the panel
    Log expected;
  };
  const Step steps[] = {
      {{200, 150}, {"P:CM_MOUSEENTER"}},
      {{20, 15}, {"P:CM_MOUSELEAVE", "G:CM_MOUSEENTER", "P:CM_MOUSEENTER(G)"}},
      {{110, 15}, {"G:CM_MOUSELEAVE", "P:CM_MOUSELEAVE(G)", "W:CM_MOUSEENTER", "P:CM_MOUSEENTER(W)"}},
      {{200, 150}, {"W:CM_MOUSELEAVE", "P:CM_MOUSELEAVE(W)", "P:CM_MOUSEENTER"}},
  };
  for (const Step& s : steps) {
    ControlLog().clear();
    POINT p = panel->ClientToScreen(s.at);
    InputQueue::MouseMove(p.x, p.y);
    Pump();
    Log got;
    for (const std::string& e : ControlLog())
      if (e.find("CM_MOUSE") != std::string::npos) got.push_back(e);
    EXPECT_EQ(got, s.expected) << s.at.x << "," << s.at.y;
  }
}

TEST_F(FormsTest, FontColourAndShowHintFollowTheParentUntilSetOnTheControl)
{
  TForm* first = MakeForm();
  TForm* second = MakeForm();
  struct Inherited {
    const char* name;
    int a, b, c, own;  // first's value, second's, first's changed, the control's own
    std::function<void(TControl*, int)> set;
    std::function<int(TControl*)> get;
    std::function<bool(TControl*)> follows;
  };
  const Inherited kinds[] = {
      {"Font", 10, 14, 12, 9, [](TControl* c, int v) { c->GetFont()->SetSize(v); },
       [](TControl* c) { return c->GetFont()->GetSize(); }, [](TControl* c) { return c->GetParentFont(); }},
      {"Color", clRed, clBlue, clLime, clYellow, [](TControl* c, int v) { c->SetColor(v); },
       [](TControl* c) { return int(c->GetColor()); }, [](TControl* c) { return c->GetParentColor(); }},
      {"ShowHint", 1, 1, 0, 0, [](TControl* c, int v) { c->SetShowHint(v != 0); },
       [](TControl* c) { return int(c->GetShowHint()); }, [](TControl* c) { return c->GetParentShowHint(); }},
  };
  for (const Inherited& k : kinds) {
    SCOPED_TRACE(k.name);
    k.set(first, k.a);
    k.set(second, k.b);
    auto* panel = new TLogControl(Owner.get());
    auto* inner = new TLogGraphic(Owner.get());
    panel->SetParent(first);
    inner->SetParent(panel);
    EXPECT_EQ(k.get(inner), k.a);  // through a container
    k.set(first, k.c);
    EXPECT_EQ(k.get(inner), k.c);
    panel->SetParent(second);  // a changed parent
    EXPECT_EQ(k.get(inner), k.b);
    k.set(inner, k.own);  // its own value stops the inheritance
    EXPECT_FALSE(k.follows(inner));
    k.set(second, k.own);
    k.set(second, k.b);
    EXPECT_EQ(k.get(inner), k.own);
    EXPECT_EQ(k.get(panel), k.b);
  }
}

namespace {
// The dialog base of the application: 469 x 270 client area, a bevel 48 high along the bottom
// and three 75 x 25 buttons anchored to the bottom right.
struct Dialog {
  TForm* form;
  TLogGraphic* bevel;
  TTestButton* ok;
  TTestButton* cancel;
  TTestButton* help;
};

Dialog MakeDialog(TComponent* owner)
{
  Dialog d;
  d.form = new TForm(owner);
  d.form->SetBorderStyle(bsSizeable);
  d.form->SetClientSize(469, 270);
  d.bevel = new TLogGraphic(owner);
  d.bevel->SetParent(d.form);
  d.bevel->SetHeight(48);
  d.bevel->SetAlign(alBottom);
  int left = 216;
  for (TTestButton** b : {&d.ok, &d.cancel, &d.help}) {
    *b = new TTestButton(owner);
    (*b)->SetParent(d.form);
    (*b)->SetBounds(left, 234, 75, 25);
    (*b)->SetAnchors(TAnchors{akRight, akBottom});
    left += 83;
  }
  d.ok->ModalResult = mrOk;
  d.ok->Default = true;
  d.cancel->ModalResult = mrCancel;
  d.cancel->Cancel = true;
  return d;
}

RECT Bounds(TControl* c) { return c->GetBoundsRect(); }
}  // namespace

TEST_F(FormsTest, DialogLayoutFollowsResizesWithinItsConstraints)
{
  Dialog d = MakeDialog(Owner.get());
  d.form->GetConstraints()->SetMinWidth(300);
  d.form->GetConstraints()->SetMinHeight(200);
  EXPECT_EQ(Bounds(d.bevel), (RECT{0, 222, 469, 270}));
  d.form->Show();  // the window's own client area from now on
  EXPECT_EQ(d.form->GetClientWidth(), 469);
  EXPECT_EQ(Bounds(d.help), (RECT{382, 234, 457, 259}));

  struct Size {
    int w, h;  // asked for (client)
  };
  for (Size s : {Size{600, 400}, Size{500, 300}, Size{100, 50}, Size{469, 270}}) {
    d.form->SetClientSize(s.w, s.h);
    int cw = d.form->GetClientWidth(), ch = d.form->GetClientHeight();
    SCOPED_TRACE(std::to_string(cw) + "x" + std::to_string(ch));
    EXPECT_GE(d.form->GetWidth(), 300);
    EXPECT_GE(d.form->GetHeight(), 200);
    EXPECT_EQ(Bounds(d.bevel), (RECT{0, ch - 48, cw, ch}));
    EXPECT_EQ(Bounds(d.ok), (RECT{cw - 253, ch - 36, cw - 178, ch - 11}));
    EXPECT_EQ(Bounds(d.help), (RECT{cw - 87, ch - 36, cw - 12, ch - 11}));
    EXPECT_EQ(d.help->GetWidth(), 75);
  }
  EXPECT_EQ(d.form->GetClientWidth(), 469);
}

namespace {
class TAutoLabel : public TGraphicControl {
public:
  using TGraphicControl::TGraphicControl;
  int TextWidth = 60;

protected:
  bool CanAutoSize(int& NewWidth, int& NewHeight) override
  {
    NewWidth = TextWidth;
    NewHeight = 13;
    return true;
  }
};
}  // namespace

TEST_F(FormsTest, AutoSizeAndConstraintsDecideTheSize)
{
  TForm* form = MakeForm();
  auto* label = new TAutoLabel(Owner.get());
  label->SetParent(form);
  label->SetBounds(5, 5, 200, 50);
  label->SetAutoSize(true);
  EXPECT_EQ(Bounds(label), (RECT{5, 5, 65, 18}));
  label->GetConstraints()->SetMaxWidth(40);
  EXPECT_EQ(label->GetWidth(), 40);
  label->GetConstraints()->SetMinHeight(30);
  label->SetBounds(5, 5, 10, 10);
  EXPECT_EQ(Bounds(label), (RECT{5, 5, 15, 35}));
  bool refuse = true;
  label->OnCanResize = [&](TObject*, int&, int&, bool& ok) { ok = !refuse; };
  label->SetBounds(5, 5, 20, 40);
  EXPECT_EQ(Bounds(label), (RECT{5, 5, 15, 35}));
}

TEST_F(FormsTest, TabSkipsHiddenAndDisabledControlsThroughNestedContainers)
{
  TForm* form = MakeForm();
  auto make = [&](const char* name, TWinControl* parent, int left) {
    auto* c = new TLogControl(Owner.get(), name);
    c->SetParent(parent);
    c->SetLeft(left);
    c->SetTabStop(true);
    return c;
  };
  TLogControl* first = make("First", form, 0);
  TLogControl* group = make("Group", form, 60);
  group->SetTabStop(false);
  group->SetWidth(200);
  TLogControl* inner1 = make("Inner1", group, 0);
  TLogControl* hidden = make("Hidden", group, 60);
  TLogControl* inner2 = make("Inner2", group, 120);
  TLogControl* disabled = make("Disabled", form, 300);
  TLogControl* last = make("Last", form, 360);
  hidden->SetVisible(false);
  disabled->SetEnabled(false);
  last->SetTabOrder(0);  // first in its parent's order
  form->Show();
  last->SetFocus();
  Pump();

  auto press = [&](bool shift) {
    if (shift) InputQueue::KeyDown(VK_SHIFT);
    InputQueue::KeyDown(VK_TAB);
    InputQueue::KeyUp(VK_TAB);
    if (shift) InputQueue::KeyUp(VK_SHIFT);
    Pump();
    return Controls::FindControl(Windows::GetFocus());
  };
  for (TWinControl* expected : std::vector<TWinControl*>{first, inner1, inner2, last, first})
    EXPECT_EQ(press(false), expected) << expected->GetName();
  for (TWinControl* expected : std::vector<TWinControl*>{last, inner2, inner1, first})
    EXPECT_EQ(press(true), expected) << expected->GetName();

  // A control that wants Tab keeps it.
  inner1->SetFocus();
  inner1->DlgCode = DLGC_WANTTAB;
  EXPECT_EQ(press(false), inner1);
}

TEST_F(FormsTest, EnterAndEscapeGiveTheModalResultOfTheDefaultAndCancelButtons)
{
  struct Case {
    int key;
    TModalResult expected;
  };
  for (Case c : {Case{VK_RETURN, mrOk}, Case{VK_ESCAPE, mrCancel}}) {
    Dialog d = MakeDialog(Owner.get());
    d.form->OnShow = [&](TObject*) {
      InputQueue::KeyDown(c.key);
      InputQueue::KeyUp(c.key);
    };
    EXPECT_EQ(d.form->ShowModal(), c.expected);
    EXPECT_FALSE(d.form->GetVisible());
  }
}

TEST_F(FormsTest, KeyPreviewLetsTheFormSeeAndEatKeysFirst)
{
  TForm* form = MakeForm();
  auto* edit = new TLogControl(Owner.get(), "Edit");
  edit->SetParent(form);
  Log seen;
  edit->OnKeyDown = [&](TObject*, Word& key, TShiftState) { seen.push_back("edit " + std::to_string(key)); };
  edit->OnKeyPress = [&](TObject*, char& key) { seen.push_back(std::string("press ") + key); };
  form->OnKeyDown = [&](TObject*, Word& key, TShiftState) {
    seen.push_back("form " + std::to_string(key));
    if (key == VK_F2) key = 0;  // eaten
  };
  form->Show();
  edit->SetFocus();

  for (bool preview : {false, true}) {
    form->SetKeyPreview(preview);
    seen.clear();
    InputQueue::KeyDown('A');
    InputQueue::KeyUp('A');
    InputQueue::KeyDown(VK_F2);
    InputQueue::KeyUp(VK_F2);
    Pump();
    if (preview)
      EXPECT_EQ(seen, (Log{"form 65", "edit 65", "press a", "form 113"}));
    else
      EXPECT_EQ(seen, (Log{"edit 65", "press a", "edit 113"}));
  }
}

TEST_F(FormsTest, ADoubleByteCharacterIsTwoKeyPresses)
{
  TForm* form = MakeForm();
  auto* edit = new TLogControl(Owner.get(), "Edit");
  edit->SetParent(form);
  std::string typed;
  edit->OnKeyPress = [&](TObject*, char& key) { typed += key; };
  form->Show();
  edit->SetFocus();
  InputQueue::Text("合a");
  Pump();
  EXPECT_EQ(typed, "合a");
}

TEST_F(FormsTest, ShowModalAsksCloseQueryAndRefusesAVisibleForm)
{
  Dialog d = MakeDialog(Owner.get());
  int asked = 0;
  d.form->OnCloseQuery = [&](TObject*, bool& canClose) {
    canClose = ++asked > 1;  // the first answer keeps the dialog open
    if (!canClose) {
      InputQueue::KeyDown(VK_ESCAPE);
      InputQueue::KeyUp(VK_ESCAPE);
    }
  };
  d.form->OnShow = [&](TObject*) {
    InputQueue::KeyDown(VK_RETURN);
    InputQueue::KeyUp(VK_RETURN);
  };
  EXPECT_EQ(d.form->ShowModal(), mrCancel);
  EXPECT_EQ(asked, 2);

  d.form->OnCloseQuery = nullptr;
  d.form->Show();
  try {
    d.form->ShowModal();
    FAIL() << "a visible form became modal";
  } catch (const EInvalidOperation& e) {
    EXPECT_EQ(e.Message(), "Cannot make a visible window modal");
  }
}

TEST_F(FormsTest, OtherWindowsAreDisabledWhileAFormIsModal)
{
  TForm* main = MakeForm();
  main->Show();
  Dialog d = MakeDialog(Owner.get());
  bool mainEnabledInside = true;
  d.form->OnShow = [&](TObject*) {
    mainEnabledInside = Windows::IsWindowEnabled(main->GetHandle());
    d.form->SetModalResult(mrOk);  // the loop starts afresh: only a later answer counts
    InputQueue::KeyDown(VK_ESCAPE);
    InputQueue::KeyUp(VK_ESCAPE);
  };
  EXPECT_EQ(d.form->ShowModal(), mrCancel);
  EXPECT_FALSE(mainEnabledInside);
  EXPECT_TRUE(Windows::IsWindowEnabled(main->GetHandle()));
}

TEST_F(FormsTest, AFormFreedOnCloseFromItsOwnClickGoesOnceTheClickIsDone)
{
  TForm* form = MakeForm();
  auto* button = new TTestButton(form);
  button->SetParent(form);
  bool destroyed = false;
  form->OnDestroy = [&](TObject*) { destroyed = true; };
  form->OnClose = [](TObject*, TCloseAction& action) { action = caFree; };
  button->OnClick = [&](TObject*) {
    form->Close();
    EXPECT_FALSE(destroyed);  // still handling its click
  };
  form->Show();
  POINT p = button->ClientToScreen(POINT{10, 10});
  InputQueue::MouseDown(InputQueue::Button::Left, p.x, p.y);
  InputQueue::MouseUp(InputQueue::Button::Left, p.x, p.y);
  Pump();
  EXPECT_TRUE(destroyed);
  EXPECT_EQ(Owner->GetComponentCount(), 0);
}
