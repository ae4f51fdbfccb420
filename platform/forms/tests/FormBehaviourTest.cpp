#include "platform/commctrl/CommCtrl.h"
#include "platform/forms/controls/BasicAction.h"
#include "platform/forms/controls/Controls.h"
#include "platform/forms/controls/MainMenuBase.h"
#include "platform/forms/controls/PopupMenuBase.h"
#include "platform/win/menu/Menus.h"
#include "platform/forms/controls/DragObject.h"
#include "platform/forms/forms/DataModule.h"
#include "platform/forms/forms/Frame.h"
#include "platform/forms/tests/ControlsTestUtil.h"
#include "platform/win/scroll/ScrollBars.h"
#include "platform/forms/graphics/Brush.h"
#include "platform/forms/graphics/Canvas.h"
#include "platform/rtl/MessageSeam.h"
#include "platform/win/backend/Headless.h"
#include "platform/win/paint/Painting.h"
#include "platform/win/input/Focus.h"
#include "platform/win/input/InputQueue.h"
#include "platform/win/mdi/MdiClient.h"
#include "platform/win/queue/Messages.h"
#include "platform/win/window/Windows.h"

using Log = std::vector<std::string>;

namespace {
void Press(TControl* c, POINT at)
{
  Headless::AdvanceTime(1000);  // each press a click of its own, never a double click
  POINT p = c->ClientToScreen(at);
  InputQueue::MouseMove(p.x, p.y);
  InputQueue::MouseDown(InputQueue::Button::Left, p.x, p.y);
}
void MoveTo(TControl* c, POINT at)
{
  POINT p = c->ClientToScreen(at);
  InputQueue::MouseMove(p.x, p.y);
}
void Release(TControl* c, POINT at)
{
  POINT p = c->ClientToScreen(at);
  InputQueue::MouseUp(InputQueue::Button::Left, p.x, p.y);
}
}  // namespace

TEST_F(FormsTest, ADragIsRefusedThenAcceptedAndDroppedOnTheTarget)
{
  TForm* form = MakeForm(500, 300);
  auto* source = new TLogGraphic(Owner.get(), "Source");
  source->SetParent(form);
  source->SetBounds(10, 10, 60, 30);
  source->SetDragMode(dmAutomatic);
  auto* target = new TLogControl(Owner.get(), "Target");
  target->SetParent(form);
  target->SetBounds(200, 10, 100, 100);
  Log events;
  bool accept = false;
  target->OnDragOver = [&](TObject*, TObject* src, int x, int y, TDragState state, bool& ok) {
    events.push_back("over " + std::to_string(int(state)) + (accept ? " yes" : " no"));
    EXPECT_EQ(src, source);
    ok = accept;
  };
  target->OnDragDrop = [&](TObject*, TObject* src, int x, int y) {
    events.push_back("drop " + std::to_string(x) + "," + std::to_string(y));
  };
  source->OnEndDrag = [&](TObject*, TObject* to, int x, int y) {
    events.push_back(std::string("end ") + (to ? static_cast<TComponent*>(to)->GetName() : "none"));
  };
  int clicks = 0;
  source->OnClick = [&](TObject*) { ++clicks; };
  form->Show();

  // A press and release without moving is a click, not a drag.
  Press(source, {5, 5});
  Release(source, {5, 5});
  Pump();
  EXPECT_EQ(clicks, 1);
  EXPECT_TRUE(events.empty());

  // Refused: the drop does not happen and the source hears of no target.
  Press(source, {5, 5});
  MoveTo(source, {30, 20});  // past the threshold: the drag starts
  MoveTo(target, {50, 50});
  Pump();
  EXPECT_TRUE(DragManager::Dragging());
  Release(target, {50, 50});
  Pump();
  EXPECT_EQ(events, (Log{"over 0 no", "over 2 no", "over 2 no", "over 1 no", "end none"}));
  EXPECT_FALSE(DragManager::Dragging());

  events.clear();
  accept = true;
  Press(source, {5, 5});
  MoveTo(target, {20, 30});
  Pump();
  Release(target, {20, 30});
  Pump();
  EXPECT_EQ(events, (Log{"over 0 yes", "over 2 yes", "over 2 yes", "drop 20,30", "end Target"}));
  EXPECT_EQ(clicks, 1);  // no click after a drag
}

TEST_F(FormsTest, EscapeCancelsADrag)
{
  TForm* form = MakeForm(500, 300);
  auto* source = new TLogControl(Owner.get(), "Source");
  source->SetParent(form);
  auto* target = new TLogControl(Owner.get(), "Target");
  target->SetParent(form);
  target->SetBounds(200, 10, 100, 100);
  bool dropped = false, ended = false;
  target->OnDragOver = [](TObject*, TObject*, int, int, TDragState, bool& ok) { ok = true; };
  target->OnDragDrop = [&](TObject*, TObject*, int, int) { dropped = true; };
  source->OnEndDrag = [&](TObject*, TObject* to, int, int) { ended = to == nullptr; };
  form->Show();
  source->SetFocus();
  MoveTo(target, {10, 10});
  Pump();
  source->BeginDrag(true);
  MoveTo(target, {20, 20});
  Pump();
  InputQueue::KeyDown(VK_ESCAPE);
  Pump();
  EXPECT_FALSE(DragManager::Dragging());
  EXPECT_FALSE(dropped);
  EXPECT_TRUE(ended);
}

TEST_F(FormsTest, MdiChildrenActivateCascadeAndMaximiseInTheFrame)
{
  TForm* frame = MakeForm(800, 600);
  frame->SetFormStyle(fsMDIForm);
  frame->SetCaption("Frame");
  frame->Show();
  ASSERT_NE(frame->GetClientHandle(), nullptr);

  Log activations;
  auto child = [&](const char* name) {
    auto* f = new TForm(Owner.get());
    f->SetName(name);
    f->SetCaption(name);
    f->SetBounds(0, 0, 200, 150);
    f->OnActivate = [&activations, f](TObject*) { activations.push_back(f->GetName() + "+"); };
    f->OnDeactivate = [&activations, f](TObject*) { activations.push_back(f->GetName() + "-"); };
    f->SetFormStyle(fsMDIChild);  // shown at once
    return f;
  };
  TForm* a = child("A");
  TForm* b = child("B");
  EXPECT_TRUE(a->GetVisible());
  EXPECT_EQ(Windows::GetParent(a->GetHandle()), frame->GetClientHandle());
  EXPECT_EQ(frame->GetMDIChildCount(), 2);
  EXPECT_EQ(frame->GetActiveMDIChild(), b);
  EXPECT_EQ(activations, (Log{"A+", "A-", "B+"}));

  activations.clear();
  a->SetFocus();
  EXPECT_EQ(frame->GetActiveMDIChild(), a);
  EXPECT_EQ(activations, (Log{"B-", "A+"}));

  frame->Cascade();
  RECT ra, rb;
  Windows::GetWindowRect(a->GetHandle(), &ra);
  Windows::GetWindowRect(b->GetHandle(), &rb);
  EXPECT_NE(ra.left, rb.left);  // stepped down and to the right
  EXPECT_NE(ra.top, rb.top);

  b->SetWindowState(wsMaximized);
  EXPECT_EQ(b->GetWindowState(), wsMaximized);
  RECT client;
  Windows::GetClientRect(frame->GetClientHandle(), &client);
  EXPECT_EQ(b->GetClientWidth(), client.right);  // fills the client, its frame outside
  EXPECT_EQ(Windows::GetWindowText(frame->GetHandle()), "Frame - [B]");
  b->SetWindowState(wsNormal);
  EXPECT_EQ(Windows::GetWindowText(frame->GetHandle()), "Frame");

  // Closing a child does nothing (it minimises) unless OnClose frees it.
  b->OnClose = [](TObject*, TCloseAction& action) { action = caFree; };
  b->Close();
  Pump();
  EXPECT_EQ(frame->GetMDIChildCount(), 1);
}

TEST_F(FormsTest, AnMdiChildNeedsAFrame)
{
  auto* f = new TForm(Owner.get());
  EXPECT_THROW(f->SetFormStyle(fsMDIChild), EInvalidOperation);
}

TEST_F(FormsTest, AltMnemonicsAndNextDlgCtlMoveTheFocus)
{
  TForm* form = MakeForm();
  auto* first = new TLogControl(Owner.get(), "First");
  auto* second = new TLogControl(Owner.get(), "Second");
  auto* button = new TTestButton(Owner.get());
  for (TWinControl* c : std::vector<TWinControl*>{first, second, button}) {
    c->SetParent(form);
    c->SetTabStop(true);
  }
  second->SetLeft(60);
  button->SetLeft(120);
  button->SetCaption("保存(&S)");
  int clicks = 0;
  button->OnClick = [&](TObject*) { ++clicks; };
  form->Show();
  first->SetFocus();

  InputQueue::KeyDown(VK_MENU);
  InputQueue::KeyDown('S');
  InputQueue::KeyUp('S');
  InputQueue::KeyUp(VK_MENU);
  Pump();
  EXPECT_EQ(clicks, 1);

  Windows::PostMessage(form->GetHandle(), WM_NEXTDLGCTL, 0, 0);
  Pump();
  EXPECT_TRUE(second->Focused());
  Windows::PostMessage(form->GetHandle(), WM_NEXTDLGCTL, 1, 0);  // backwards
  Pump();
  EXPECT_TRUE(first->Focused());
  Windows::PostMessage(form->GetHandle(), WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(button->GetHandle()), 1);
  Pump();
  EXPECT_TRUE(button->Focused());
}

namespace {
class TReflectTarget : public TLogControl {
public:
  using TLogControl::TLogControl;
  std::vector<UINT> Got;

protected:
  void WndProc(TMessage& Message) override
  {
    if (Message.Msg >= CN_BASE && Message.Msg < CN_BASE + 0x400) Got.push_back(Message.Msg);
    TLogControl::WndProc(Message);
    if (Message.Msg == CN_COMMAND) Message.Result = 7;
  }
};
}  // namespace

TEST_F(FormsTest, NotificationsToAParentAreReflectedToTheChildTheyConcern)
{
  TForm* form = MakeForm();
  auto* child = new TReflectTarget(Owner.get(), "Child");
  child->SetParent(form);
  HWND parent = form->GetHandle(), wnd = child->GetHandle();
  auto send = [&](UINT msg, WPARAM w, LPARAM l) { return Windows::SendMessage(parent, msg, w, l); };
  EXPECT_EQ(send(WM_COMMAND, MAKEWPARAM(5, 0x300), reinterpret_cast<LPARAM>(wnd)), 7);
  NMHDR hdr;
  hdr.hwndFrom = wnd;
  send(WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&hdr));
  DRAWITEMSTRUCT di;
  di.CtlType = ODT_BUTTON;
  di.hwndItem = wnd;
  send(WM_DRAWITEM, 0, reinterpret_cast<LPARAM>(&di));
  send(WM_VSCROLL, 0, reinterpret_cast<LPARAM>(wnd));
  child->SetColor(clAqua);
  HDC dc = Windows::GetDC(wnd);
  LRESULT brush = send(WM_CTLCOLOREDIT, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(wnd));
  Windows::ReleaseDC(wnd, dc);
  EXPECT_NE(brush, 0);  // the child's own brush
  EXPECT_EQ(child->Got, (std::vector<UINT>{CN_COMMAND, CN_NOTIFY, CN_DRAWITEM, CN_VSCROLL, CN_CTLCOLOREDIT}));
}

TEST_F(FormsTest, AnExceptionInAnEventIsShownAndAnAbortIsSilent)
{
  std::vector<std::string> shown;
  MessageSeam::TScopedMessageBox box([&](const AnsiString& text, const AnsiString&, unsigned) {
    shown.push_back(text);
    return IDOK;
  });
  TForm* form = MakeForm();
  auto* button = new TTestButton(Owner.get());
  button->SetParent(form);
  bool abort = true;
  button->OnClick = [&](TObject*) {
    if (abort) throw EAbort("quiet");
    throw EConvertError("'x' is not a valid integer value");
  };
  form->Show();
  for (bool a : {true, false}) {
    abort = a;
    Press(button, {5, 5});
    Release(button, {5, 5});
    Pump();
  }
  EXPECT_EQ(shown, (std::vector<std::string>{"'x' is not a valid integer value"}));
}

TEST_F(FormsTest, WindowlessControlsPaintInTheirParentsPaint)
{
  struct TSwatch : TGraphicControl {
    using TGraphicControl::TGraphicControl;
    int Painted = 0;
    void Paint() override
    {
      ++Painted;
      GetCanvas()->GetBrush()->SetColor(clRed);
      GetCanvas()->FillRect(RECT{0, 0, GetWidth(), GetHeight()});
    }
  };
  TForm* form = MakeForm();
  auto* swatch = new TSwatch(Owner.get());
  swatch->SetParent(form);
  swatch->SetBounds(20, 30, 40, 10);
  form->Show();
  form->Update();
  EXPECT_GE(swatch->Painted, 1);
  EXPECT_EQ(Headless::ClientPixel(form->GetHandle(), 25, 35), RGB(255, 0, 0));
  EXPECT_EQ(Headless::ClientPixel(form->GetHandle(), 15, 35), Graphics::ColorToRGB(clBtnFace));
  EXPECT_EQ(Headless::ClientPixel(form->GetHandle(), 65, 35), Graphics::ColorToRGB(clBtnFace));
}

TEST_F(FormsTest, FramesOwnTheirComponentsAndAreReachedByDottedNames)
{
  TForm* form = MakeForm();
  form->SetName("MainFrm");
  Log created;
  for (const char* name : {"ListFra", "EditFra"}) {
    auto* frame = new TFrame(form);
    frame->SetName(name);
    frame->SetParent(form);
    auto* edit = new TLogControl(frame, "Edit1");  // the same name on each frame
    edit->SetParent(frame);
  }
  TComponent* first = Forms::FindNestedComponent(form, "ListFra.Edit1");
  TComponent* second = Forms::FindNestedComponent(form, "MainFrm.EditFra.Edit1");
  ASSERT_NE(first, nullptr);
  ASSERT_NE(second, nullptr);
  EXPECT_NE(first, second);
  EXPECT_EQ(first->GetOwner()->GetName(), "ListFra");
  EXPECT_EQ(Forms::FindNestedComponent(form, "ListFra.Edit2"), nullptr);
  EXPECT_EQ(Forms::FindNestedComponent(form, "ListFra..Edit1"), nullptr);
  std::vector<AnsiString> children;
  auto* list = static_cast<TFrame*>(form->FindComponent("ListFra"));
  list->GetChildren([&](TComponent* c) { children.push_back(c->GetName()); }, form);
  EXPECT_EQ(children, (std::vector<AnsiString>{"Edit1"}));
}

TEST_F(FormsTest, ADataModuleTellsItsEventsWhileItsComponentsExist)
{
  Log events;
  {
    auto module = std::make_unique<TDataModule>(nullptr);
    auto* keep = new TComponent(module.get());
    keep->SetName("Query1");
    module->OnDestroy = [&](TObject*) {
      events.push_back("destroy with " + std::to_string(module->GetComponentCount()));
    };
  }
  EXPECT_EQ(events, (Log{"destroy with 1"}));
}

namespace {
// A control over the system BUTTON class.
class TSubclassedButton : public TWinControl {
public:
  using TWinControl::TWinControl;
  int Clicks = 0;

protected:
  void CreateParams(TCreateParams& Params) override
  {
    TWinControl::CreateParams(Params);
    CreateSubClass(Params, "BUTTON");
  }
  void Dispatch(TMessage& Message) override
  {
    if (Message.Msg == CN_COMMAND && HIWORD(Message.WParam) == BN_CLICKED) ++Clicks;
    TWinControl::Dispatch(Message);
  }
};
}  // namespace

TEST_F(FormsTest, ASystemClassUnderAControlPaintsAndNotifiesAsItself)
{
  TForm* form = MakeForm();
  auto* button = new TSubclassedButton(Owner.get());
  button->SetParent(form);
  button->SetBounds(10, 10, 75, 25);
  button->SetCaption("确定");
  form->Show();
  form->Update();
  HWND wnd = button->GetHandle();
  EXPECT_EQ(Windows::GetWindowText(wnd), "确定");
  // The button's own face and frame: button face inside, a dark edge at the bottom right.
  EXPECT_EQ(Headless::ClientPixel(wnd, 5, 12), Graphics::ColorToRGB(clBtnFace));
  EXPECT_NE(Headless::ClientPixel(wnd, 73, 23), Graphics::ColorToRGB(clBtnFace));
  Press(button, {20, 10});
  Release(button, {20, 10});
  Pump();
  EXPECT_EQ(button->Clicks, 1);
}

TEST_F(FormsTest, AnAutoScrollingFormScrollsItsChildrenIntoView)
{
  TForm* form = MakeForm(300, 200);
  form->SetBorderStyle(bsNone);
  auto* near = new TLogControl(Owner.get(), "Near");
  auto* far = new TLogControl(Owner.get(), "Far");
  auto* pinned = new TLogControl(Owner.get(), "Pinned");  // follows the bottom edge
  for (TControl* c : std::vector<TControl*>{near, far, pinned}) c->SetParent(form);
  near->SetBounds(10, 10, 50, 20);
  far->SetBounds(10, 500, 50, 20);
  pinned->SetBounds(200, 170, 50, 20);
  pinned->SetAnchors(TAnchors{akLeft, akBottom});
  form->Show();
  TControlScrollBar* vert = form->GetVertScrollBar();
  EXPECT_EQ(vert->GetRange(), 520);
  EXPECT_TRUE(vert->IsScrollBarVisible());
  EXPECT_FALSE(form->GetHorzScrollBar()->IsScrollBarVisible());

  Windows::SendMessage(form->GetHandle(), WM_VSCROLL, SB_LINEDOWN, 0);
  EXPECT_EQ(vert->GetPosition(), 8);
  EXPECT_EQ(near->GetTop(), 2);

  form->ScrollInView(far);
  int client = form->GetClientHeight();
  EXPECT_EQ(far->GetTop() + far->GetHeight(), client);  // just inside the bottom edge
  EXPECT_EQ(vert->GetPosition(), 520 - client);
  Windows::SendMessage(form->GetHandle(), WM_VSCROLL, SB_TOP, 0);
  EXPECT_EQ(near->GetTop(), 10);
  EXPECT_EQ(far->GetTop(), 500);

  far->SetTop(100);  // everything fits: the bar goes
  EXPECT_FALSE(vert->IsScrollBarVisible());
  EXPECT_EQ(vert->GetPosition(), 0);
}

namespace {
class TRecordingPopup : public TPopupMenuBase {
public:
  using TPopupMenuBase::TPopupMenuBase;
  std::vector<POINT> Shown;
  void Popup(int X, int Y) override { Shown.push_back(POINT{X, Y}); }
};

class TRecordingMenu : public TMainMenuBase {
public:
  explicit TRecordingMenu(TComponent* AOwner) : TMainMenuBase(AOwner) {}
  ~TRecordingMenu() override
  {
    if (FHandle) Windows::DestroyMenu(FHandle);
  }
  std::vector<WORD> Commands;
  HMENU GetHandle() override
  {
    if (!FHandle) {
      FHandle = Windows::CreateMenu();
      Windows::AppendMenu(FHandle, MF_STRING, 101, "文件(&F)");
    }
    return FHandle;
  }
  bool DispatchCommand(WORD ACommand) override
  {
    Commands.push_back(ACommand);
    return ACommand == 101;
  }

private:
  HMENU FHandle = nullptr;
};
}  // namespace

TEST_F(FormsTest, ActionsPopupMenusAndTheMenuBarReachTheirControls)
{
  TForm* form = MakeForm();
  auto* button = new TTestButton(Owner.get());
  button->SetParent(form);
  auto* action = new TBasicAction(Owner.get());
  int executed = 0;
  action->OnExecute = [&](TObject*) { ++executed; };
  button->SetAction(action);
  auto* popup = new TRecordingPopup(Owner.get());
  button->SetPopupMenu(popup);
  auto* menu = new TRecordingMenu(Owner.get());
  form->SetMenu(menu);
  form->Show();
  EXPECT_EQ(Windows::GetMenu(form->GetHandle()), menu->GetHandle());

  button->Click();  // no OnClick: the action runs
  EXPECT_EQ(executed, 1);
  bool handlerRan = false;
  button->OnContextPopup = [&](TObject*, POINT, bool& handled) { handlerRan = true; };
  POINT p = button->ClientToScreen(POINT{5, 6});
  Windows::SendMessage(button->GetHandle(), WM_CONTEXTMENU, reinterpret_cast<WPARAM>(button->GetHandle()),
                       MAKELPARAM(p.x, p.y));
  EXPECT_TRUE(handlerRan);
  ASSERT_EQ(popup->Shown.size(), 1u);
  EXPECT_EQ(popup->Shown[0].x, p.x);
  EXPECT_EQ(popup->GetPopupComponent(), button);

  Windows::SendMessage(form->GetHandle(), WM_COMMAND, 101, 0);
  EXPECT_EQ(menu->Commands, (std::vector<WORD>{101}));

  // Freed, they are forgotten.
  delete action;
  delete popup;
  EXPECT_EQ(button->GetAction(), nullptr);
  EXPECT_EQ(button->GetPopupMenu(), nullptr);
  button->Click();
  delete menu;
  EXPECT_EQ(form->GetMenu(), nullptr);
  EXPECT_EQ(Windows::GetMenu(form->GetHandle()), nullptr);
}

TEST_F(FormsTest, TheContextMenuKeyAndShiftF10OpenTheFocusedControlsMenuAtItsCorner)
{
  TForm* form = MakeForm();
  auto* button = new TTestButton(Owner.get());
  button->SetParent(form);
  button->SetBounds(30, 40, 80, 25);
  button->SetTabStop(true);
  auto* popup = new TRecordingPopup(Owner.get());
  button->SetPopupMenu(popup);
  form->Show();
  button->SetFocus();
  Pump();
  std::vector<POINT> asked;  // what OnContextPopup was told, in client coordinates
  button->OnContextPopup = [&](TObject*, POINT p, bool&) { asked.push_back(p); };
  const POINT corner = button->ClientToScreen(POINT{0, 0});
  struct Case {
    const char* What;
    std::vector<int> Keys;  // pressed in order, released in reverse
    bool Opens;
  };
  const Case cases[] = {
      {"the context-menu key", {VK_APPS}, true},
      {"Shift+F10", {VK_SHIFT, VK_F10}, true},
      {"F10 alone", {VK_F10}, false},
      {"Alt+Shift+F10", {VK_MENU, VK_SHIFT, VK_F10}, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.What);
    popup->Shown.clear();
    asked.clear();
    for (int k : c.Keys) InputQueue::KeyDown(k);
    for (auto k = c.Keys.rbegin(); k != c.Keys.rend(); ++k) InputQueue::KeyUp(*k);
    Pump();
    ASSERT_EQ(popup->Shown.size(), c.Opens ? 1u : 0u);
    if (!c.Opens) continue;
    EXPECT_EQ(popup->Shown[0].x, corner.x);
    EXPECT_EQ(popup->Shown[0].y, corner.y);
    ASSERT_EQ(asked.size(), 1u);
    EXPECT_EQ(asked[0].x, -1) << "from the keyboard: no mouse point";
  }
}

TEST_F(FormsTest, ImeModeDecidesWhetherInputMethodTextReachesTheFocusedControl)
{
  TForm* form = MakeForm();
  std::string typed;
  auto make = [&](TImeMode Mode, int Top) {
    auto* c = new TTestButton(Owner.get());
    c->SetParent(form);
    c->SetBounds(10, Top, 80, 20);
    c->SetTabStop(true);
    c->SetImeMode(Mode);
    c->OnKeyPress = [&typed](TObject*, char& Key) { typed += Key; };
    return c;
  };
  form->Show();
  Pump();
  // The input method's context is shared: a control that closes it leaves it closed for the
  // next one that does not care; only a dissociation ends with the focus.
  struct Step {
    TImeMode Mode;
    const char* Gets;
  };
  const Step steps[] = {
      {imChinese, "合a"}, {imClose, "a"},      {imDontCare, "a"}, {imOpen, "合a"},
      {imDisable, "a"},   {imDontCare, "合a"}, {imSAlpha, "a"},
  };
  int top = 10;
  for (const Step& s : steps) {
    TTestButton* c = make(s.Mode, top);
    top += 24;
    c->SetFocus();
    Pump();
    typed.clear();
    InputQueue::Text("合a");
    Pump();
    EXPECT_EQ(typed, s.Gets) << "ImeMode " << int(s.Mode);
  }
  // Changed while focused, it applies at once.
  TTestButton* last = make(imDontCare, top);
  last->SetFocus();
  last->SetImeMode(imDisable);
  typed.clear();
  InputQueue::Text("合");
  Pump();
  EXPECT_EQ(typed, "");
  last->SetImeMode(imChinese);
  InputQueue::Text("合");
  Pump();
  EXPECT_EQ(typed, "合");
}

TEST_F(FormsTest, AMenuThatOutlivesItsFormForgetsIt)
{
  auto* menu = new TRecordingMenu(Owner.get());
  {
    TForm* form = MakeForm();
    form->SetMenu(menu);
    EXPECT_EQ(menu->GetWindowOwner(), form);
    delete form;
  }
  EXPECT_EQ(menu->GetWindowOwner(), nullptr);
  // Moved to another form and back to none, it follows.
  TForm* other = MakeForm();
  other->SetMenu(menu);
  other->SetMenu(nullptr);
  EXPECT_EQ(menu->GetWindowOwner(), nullptr);
}

TEST_F(FormsTest, PublishedPropertiesCarryTheirTypeNames)
{
  struct Case {
    TClass cls;
    const char* prop;
    const char* type;
  };
  const Case cases[] = {
      {TControl::StaticClass(), "Color", "TColor"},
      {TControl::StaticClass(), "Cursor", "TCursor"},
      {TControl::StaticClass(), "OnClick", "TNotifyEvent"},
      {TControl::StaticClass(), "OnDragOver", "TDragOverEvent"},
      {TControl::StaticClass(), "Align", "TAlign"},
      {TControl::StaticClass(), "Anchors", "TAnchors"},
      {TWinControl::StaticClass(), "OnKeyPress", "TKeyPressEvent"},
      {TForm::StaticClass(), "Caption", "TCaption"},
      {TForm::StaticClass(), "OnClose", "TCloseEvent"},
      {TForm::StaticClass(), "BorderStyle", "TFormBorderStyle"},
      {TForm::StaticClass(), "HorzScrollBar", "TControlScrollBar"},
  };
  for (const Case& c : cases) {
    const TPropInfo* p = c.cls->FindProperty(c.prop);
    ASSERT_NE(p, nullptr) << c.prop;
    EXPECT_EQ(p->PropType->Name, c.type) << c.prop;
  }
  TForm* form = MakeForm();
  TypInfo::SetEnumProp(form, "BorderStyle", "bsDialog");
  EXPECT_EQ(form->GetBorderStyle(), bsDialog);
  TypInfo::SetStrProp(form, "Caption", "合同");
  EXPECT_EQ(form->GetCaption(), "合同");
  EXPECT_EQ(TypInfo::GetSetProp(form, TypInfo::GetPropInfo(form, "Anchors")), "akLeft,akTop");
}

TEST_F(FormsTest, AControlHearsWhenItIsShownHiddenOrReshaped)
{
  struct TShapeWatcher : TLogControl {
    using TLogControl::TLogControl;
    int Heard = 0;
    void WndProc(TMessage& Message) override
    {
      if (Message.Msg == CM_WINDOWSHAPECHANGED) ++Heard;
      TLogControl::WndProc(Message);
    }
  };
  TForm* form = MakeForm();
  auto* inner = new TShapeWatcher(Owner.get(), "Inner");
  inner->SetParent(form);
  form->Show();
  struct Step {
    const char* what;
    std::function<void()> act;
  };
  const Step steps[] = {
      {"hide", [&] { inner->Hide(); }},
      {"show", [&] { inner->Show(); }},
      {"move", [&] { inner->SetLeft(30); }},
      {"resize", [&] { inner->SetWidth(90); }},
  };
  for (const Step& s : steps) {
    inner->Heard = 0;
    s.act();
    EXPECT_GE(inner->Heard, 1) << s.what;
  }
  inner->Heard = 0;
  inner->SetLeft(30);  // no change, no news
  EXPECT_EQ(inner->Heard, 0);
}

TEST_F(FormsTest, TheWheelGoesUpToTheFirstControlThatHandlesIt)
{
  TForm* form = MakeForm();
  auto* panel = new TLogControl(Owner.get(), "Panel");
  auto* edit = new TLogControl(Owner.get(), "Edit");
  panel->SetParent(form);
  edit->SetParent(panel);
  Log seen;
  panel->OnMouseWheelDown = [&](TObject*, TShiftState, POINT, bool& handled) {
    seen.push_back("panel down");
    handled = true;
  };
  form->OnMouseWheel = [&](TObject*, TShiftState, int delta, POINT, bool&) {
    seen.push_back("form " + std::to_string(delta));
  };
  form->Show();
  edit->SetFocus();
  POINT p = edit->ClientToScreen(POINT{5, 5});
  InputQueue::MouseWheel(-120, p.x, p.y);
  InputQueue::MouseWheel(120, p.x, p.y);
  Pump();
  // Down: the panel takes it; up: nobody below the form does, so the form hears it.
  EXPECT_EQ(seen, (Log{"panel down", "form 120"}));
}

TEST_F(FormsTest, ChangingPixelsPerInchScalesPlacesSizesAndFonts)
{
  TForm* form = MakeForm();
  auto* edit = new TLogControl(Owner.get(), "Edit");
  edit->SetParent(form);
  edit->SetBounds(10, 20, 100, 21);
  edit->SetParentFont(false);
  edit->GetFont()->SetSize(9);
  form->SetPixelsPerInch(120);
  EXPECT_EQ(edit->GetBoundsRect(), (RECT{13, 25, 138, 51}));
  EXPECT_EQ(edit->GetFont()->GetSize(), 11);
}

TEST_F(FormsTest, AControlThatWantsASpecialKeyKeepsItFromTheDialog)
{
  struct TWantsEnter : TLogControl {
    using TLogControl::TLogControl;
    int Enters = 0;
    void WndProc(TMessage& Message) override
    {
      if (Message.Msg == CM_WANTSPECIALKEY) {
        Message.Result = Message.WParam == VK_RETURN;
        return;
      }
      if (Message.Msg == WM_KEYDOWN && Message.WParam == VK_RETURN) ++Enters;
      TLogControl::WndProc(Message);
    }
  };
  TForm* form = MakeForm();
  auto* memo = new TWantsEnter(Owner.get(), "Memo");
  memo->SetParent(form);
  auto* ok = new TTestButton(Owner.get());
  ok->SetParent(form);
  ok->SetLeft(100);
  ok->Default = true;
  int clicks = 0;
  ok->OnClick = [&](TObject*) { ++clicks; };
  form->Show();
  memo->SetFocus();
  for (int key : {VK_RETURN, VK_ESCAPE}) {
    InputQueue::KeyDown(key);
    InputQueue::KeyUp(key);
  }
  Pump();
  EXPECT_EQ(memo->Enters, 1);
  EXPECT_EQ(clicks, 0);
}
