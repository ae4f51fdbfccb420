// The editor control on a headless desktop: the value protocol, keys and buttons, the view info,
// the repository, the in-place edit list and in-place activation, driven by messages and input.
#include <gtest/gtest.h>

#include <memory>

#include "controls/editors/EditorsModule.h"
#include "controls/editors/edit/cxEditViewData.h"
#include "controls/editors/edit/cxEditViewInfo.h"
#include "controls/editors/tests/EditTestEditors.h"
#include "controls/framework/cxGraphics.h"
#include "controls/framework/tests/ControlTestUtil.h"
#include "platform/classes/ClassRegistry.h"
#include "platform/classes/Reader.h"
#include "platform/forms/forms/Form.h"
#include "platform/rtl/Streams.h"
#include "platform/win/WinUser.h"
#include "platform/win/input/Focus.h"

namespace {

struct EditControlTest : cxWindowTest {
  void SetUp() override
  {
    cxWindowTest::SetUp();
    EditorsModule::Initialize();
  }
  void TearDown() override
  {
    Owner.reset();
    EditorsModule::Finalize();
    cxWindowTest::TearDown();
  }
  template <class T>
  T* Make(int Left = 10, int Top = 10, int Width = 120, int Height = 21)
  {
    T* e = new T(Form);
    e->SetParent(Form);
    e->SetAutoSize(false);  // the test editors have no content: auto size would make them 4 pixels high
    e->SetBounds(Left, Top, Width, Height);
    Pump();
    return e;
  }
  // Counts the change events of an editor's properties.
  struct Events {
    int Change = 0, ValueChanged = 0;
  };
  void Listen(TcxCustomEdit* E, Events& Ev)
  {
    E->GetProperties()->OnChange = [&Ev](TObject*) { ++Ev.Change; };
    E->GetProperties()->OnEditValueChanged = [&Ev](TObject*) { ++Ev.ValueChanged; };
  }
};

}  // namespace

// ---- Value protocol

TEST_F(EditControlTest, NewEditorsStartNullWithAutoSizeOnlyStandAlone)
{
  auto* stand = new TcxTestButtonEdit(Form);
  EXPECT_TRUE(stand->GetEditValue().IsNull());
  EXPECT_FALSE(stand->IsEditValueStored());
  EXPECT_TRUE(stand->GetAutoSize());
  std::unique_ptr<TcxCustomEdit> inplace(TcxCustomEdit::CreateInplace(TcxTestButtonEdit::StaticClass(), nullptr, true));
  EXPECT_TRUE(inplace->IsInplace());
  EXPECT_FALSE(inplace->GetAutoSize());
  inplace->SetAutoSize(true);  // ignored in place
  EXPECT_FALSE(inplace->GetAutoSize());
}

TEST_F(EditControlTest, ValueChangesFireEventsOnlyOnRealChangesAndOnceInALock)
{
  auto* e = Make<TcxTestButtonEdit>();
  Events ev;
  Listen(e, ev);
  e->SetEditValue(Variant(5));
  EXPECT_EQ(ev.Change, 1);
  EXPECT_EQ(ev.ValueChanged, 1);
  e->SetEditValue(Variant(5));
  EXPECT_EQ(ev.Change, 1);
  e->SetEditValue(Variant(AnsiString("5")));  // another variant type is a change
  EXPECT_EQ(ev.Change, 2);
  e->LockChangeEvents(true);
  e->SetEditValue(Variant(6));
  e->SetEditValue(Variant(7));
  EXPECT_EQ(ev.Change, 2);
  e->LockChangeEvents(false);
  EXPECT_EQ(ev.Change, 3);
  EXPECT_EQ(ev.ValueChanged, 3);
  e->LockChangeEvents(true);
  e->SetEditValue(Variant(8));
  e->LockChangeEvents(false, false);  // released without firing
  EXPECT_EQ(ev.Change, 3);
  // An editor that fires OnChange from its own text never does so for a value set by code.
  auto* t = Make<TcxTestTextEdit>(10, 60);
  Events tev;
  Listen(t, tev);
  t->GetProperties()->OnChange = nullptr;
  int changes = 0;
  t->SetEditValue(Variant(1));
  t->GetProperties()->OnChange = [&](TObject*) { ++changes; };
  t->SetEditValue(Variant(2));
  EXPECT_EQ(tev.ValueChanged, 2);
  EXPECT_EQ(changes, 1);  // the EDIT's own text change, not the value protocol
}

TEST_F(EditControlTest, EditValueCannotBeSetFromInsideOnEditing)
{
  auto* e = Make<TcxTestButtonEdit>();
  e->SetEditValue(Variant(1));
  int asked = 0;
  e->OnEditing = [&](TObject*, bool&) {
    ++asked;
    e->SetEditValue(Variant(99));
  };
  e->SetFocus();
  Pump();
  Type("x");
  EXPECT_EQ(asked, 1);
  EXPECT_EQ(e->GetEditValue().AsInteger(), 1);
  EXPECT_EQ(e->GetShownText(), "1x");
}

TEST_F(EditControlTest, ValidateEditSkipsOnValidateWithoutChangesAndHandlesErrors)
{
  auto* e = Make<TcxTestButtonEdit>();
  int validated = 0;
  e->GetProperties()->OnValidate = [&](TObject*, Variant&, AnsiString&, bool&) { ++validated; };
  EXPECT_TRUE(e->ValidateEdit(true));
  EXPECT_EQ(validated, 0);

  struct Case {
    const char* NewText;  // what the handler puts in; null: nothing
    const char* Shown;
  };
  const Case cases[] = {{nullptr, "ab"}, {"fixed", "fixed"}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Shown);
    e->SetEditValue(Variant::Null());
    e->SetFocus();
    Pump();
    Type("ab");
    e->GetProperties()->OnValidate = [&](TObject*, Variant& Display, AnsiString& Text, bool& Error) {
      Error = true;
      Text = "bad";
      if (c.NewText) Display = Variant(AnsiString(c.NewText));
    };
    EXPECT_FALSE(e->ValidateEdit(false));
    EXPECT_EQ(e->GetShownText(), c.Shown);
    EXPECT_TRUE(e->GetEditModified());
    EXPECT_TRUE(e->GetEditValue().IsNull());
    try {
      e->ValidateEdit(true);
      ADD_FAILURE() << "no error raised";
    } catch (const Exception& x) {
      EXPECT_EQ(x.Message(), "bad");
    }
  }
  e->GetProperties()->OnValidate = nullptr;
  EXPECT_TRUE(e->ValidateEdit(true));
  EXPECT_EQ(Variants::VarToStr(e->GetEditValue()), "fixed");
}

TEST_F(EditControlTest, EscapeRestoresTheValueAtEntryOnlyWhenAllowedAndDropsItsCharacter)
{
  for (bool allowed : {true, false}) {
    SCOPED_TRACE(allowed);
    auto* t = Make<TcxTestTextEdit>(10, allowed ? 10 : 60);
    static_cast<TcxTestEditProperties*>(t->GetProperties())->ResetOnEscape = allowed;
    t->SetEditValue(Variant(AnsiString("old")));
    t->SetFocus();
    Pump();
    Type("N");
    EXPECT_TRUE(t->GetEditModified());
    t->Inner()->Chars.clear();
    Key(VK_ESCAPE);  // the key, then its character
    // The Escape key is taken whenever the text was changed; its character never follows it.
    EXPECT_EQ(t->Inner()->Chars, "");
    EXPECT_EQ(t->Inner()->GetText(), allowed ? "old" : "N");  // "N" replaced the selected text
    EXPECT_EQ(t->GetEditModified(), !allowed);
  }
}

// ---- Keys and buttons

TEST_F(EditControlTest, ClearKeyAsksOnEditingThenSetsNull)
{
  for (bool allow : {true, false}) {
    SCOPED_TRACE(allow);
    auto* e = Make<TcxTestButtonEdit>();
    e->GetProperties()->SetClearKey(VK_DELETE);
    e->SetEditValue(Variant(3));
    int asked = 0;
    e->OnEditing = [&](TObject*, bool& CanEdit) {
      ++asked;
      CanEdit = allow;
    };
    e->SetFocus();
    Pump();
    Key(VK_DELETE);
    EXPECT_EQ(asked, 1);
    EXPECT_EQ(e->GetEditValue().IsNull(), allow);
  }
}

TEST_F(EditControlTest, CtrlEnterClicksTheDefaultButtonAndNoEnterReachesTheEdit)
{
  auto* t = Make<TcxTestTextEdit>();
  t->GetProperties()->GetButtons()->Add();
  t->GetProperties()->GetButtons()->Add()->SetDefault(true);
  Pump();
  std::vector<int> clicked;
  t->GetProperties()->OnButtonClick = [&](TObject*, int Index) { clicked.push_back(Index); };
  t->SetFocus();
  Pump();
  t->Inner()->Received.clear();
  KeyWith(VK_RETURN, VK_CONTROL);
  ASSERT_EQ(clicked.size(), 1u);
  EXPECT_EQ(clicked[0], 1);
  EXPECT_EQ(t->Inner()->Received.find('\r'), AnsiString::npos);
  EXPECT_EQ(t->Inner()->Received.find('\n'), AnsiString::npos);
}

TEST_F(EditControlTest, ButtonReleasedOutsideGivesButtonUpWithoutClick)
{
  auto* e = Make<TcxTestButtonEdit>(10, 10, 120, 24);
  e->GetProperties()->GetButtons()->Add();
  Pump();
  int clicks = 0;
  e->GetProperties()->OnButtonClick = [&](TObject*, int) { ++clicks; };
  TcxCustomEditViewInfo* vi = e->GetEditViewInfo();
  ASSERT_EQ(vi->ButtonCount(), 1);
  const RECT b = vi->Button(0)->Bounds;
  const int bx = (b.left + b.right) / 2, by = (b.top + b.bottom) / 2;
  Press(e, bx, by);
  EXPECT_EQ(vi->Button(0)->State, cxEditButtonPressed);
  EXPECT_EQ(e->Log, std::vector<AnsiString>{"down 0"});
  Release(e, 5, by);  // over the text, away from the button
  EXPECT_EQ(e->Log, (std::vector<AnsiString>{"down 0", "up 0"}));
  EXPECT_EQ(clicks, 0);
  e->Log.clear();
  Wait(1000);
  Press(e, bx, by);
  Release(e, bx, by);
  EXPECT_EQ(e->Log, (std::vector<AnsiString>{"down 0", "up 0"}));
  EXPECT_EQ(clicks, 1);
  MoveTo(e, bx, by);
  EXPECT_EQ(vi->Button(0)->State, cxEditButtonHot);
}

// ---- In place

namespace {

struct EditInplaceTest : EditControlTest {
  TcxTestInplaceHost* Host = nullptr;
  std::unique_ptr<TcxTestEditProperties> Props1, Props2;
  std::unique_ptr<TcxTestTextEditProperties> TextProps;
  void SetUp() override
  {
    EditControlTest::SetUp();
    Props1 = std::make_unique<TcxTestEditProperties>(nullptr);
    Props2 = std::make_unique<TcxTestEditProperties>(nullptr);
    TextProps = std::make_unique<TcxTestTextEditProperties>(nullptr);
    Host = new TcxTestInplaceHost(Form);
    Host->SetParent(Form);
    Host->SetBounds(10, 10, 400, 40);
    Pump();
  }
  void TearDown() override
  {
    Owner.reset();
    Props1.reset();
    Props2.reset();
    TextProps.reset();
    EditControlTest::TearDown();
  }
};

}  // namespace

TEST_F(EditInplaceTest, ColumnsSharingPropertiesShareOneEditor)
{
  TcxInplaceEditList* list = Host->GetEditList();
  TcxCustomEdit* a = list->GetEdit(Props1.get());
  EXPECT_EQ(list->GetEdit(Props1.get()), a);
  TcxCustomEdit* b = list->GetEdit(Props2.get());
  EXPECT_NE(a, b);
  EXPECT_TRUE(a->IsInplace());
  EXPECT_FALSE(a->GetVisible());
  EXPECT_EQ(list->GetEditByPropertiesClass(TcxTestEditProperties::StaticClass()), a);
  EXPECT_EQ(list->Count(), 2);
  TcxCustomEdit* t = list->GetEditByPropertiesClass(TcxTestTextEditProperties::StaticClass());
  EXPECT_EQ(list->Count(), 3);
  EXPECT_EQ(t->GetProperties()->ClassType(), TcxTestTextEditProperties::StaticClass());
  // The editor shows the column's current settings each time it is taken.
  Props1->SetReadOnly(true);
  EXPECT_TRUE(list->GetEdit(Props1.get())->GetProperties()->GetReadOnly());
  list->RemoveEdit(TextProps.get());  // none kept for it: nothing happens
  EXPECT_EQ(list->Count(), 3);
  list->RemoveEdit(Props2.get());
  EXPECT_EQ(list->Count(), 2);
}

TEST_F(EditInplaceTest, ActivationByKeyDeliversTheCharacterToTheEdit)
{
  Host->Columns = {TextProps.get()};
  Host->Values = {Variant(AnsiString("v"))};
  Host->SetFocus();
  Pump();
  Type("Q");
  auto* t = dynamic_cast<TcxTestTextEdit*>(Host->GetActiveEdit());
  ASSERT_NE(t, nullptr);
  EXPECT_TRUE(t->GetVisible());
  EXPECT_TRUE(t->Focused());
  EXPECT_NE(t->Inner()->Received.find('Q'), AnsiString::npos);
  EXPECT_EQ(t->Inner()->GetText().find('Q') != AnsiString::npos, true);
}

TEST_F(EditInplaceTest, NavigationKeysGoToTheOwnerAndTabMovesOn)
{
  Host->Columns = {Props1.get()};
  TcxCustomEdit* e = Host->ShowEditor(0);
  Pump();
  ASSERT_TRUE(e->Focused());
  for (int key : {VK_LEFT, VK_DOWN, VK_PRIOR, VK_HOME}) Key(key);
  EXPECT_EQ(Host->PassedKeys, (std::vector<Word>{VK_LEFT, VK_DOWN, VK_PRIOR, VK_HOME}));
  Host->PassedKeys.clear();
  Key(VK_TAB);
  EXPECT_EQ(Host->PassedKeys, std::vector<Word>{VK_TAB});
}

TEST_F(EditInplaceTest, ASecondClickSoonAfterActivationIsADoubleClick)
{
  Host->Columns = {Props1.get(), Props2.get()};
  Click(Host, 30, 10);
  auto* e = dynamic_cast<TcxTestButtonEdit*>(Host->GetActiveEdit());
  ASSERT_NE(e, nullptr);
  EXPECT_TRUE(e->IsDoubleClickTimerRunning());
  Click(e, 20, 10);
  EXPECT_EQ(std::count(e->Log.begin(), e->Log.end(), AnsiString("dblclick")), 1);
  EXPECT_FALSE(e->IsDoubleClickTimerRunning());
  // Later than the double-click time the second click is an ordinary one.
  Click(Host, 130, 10);
  auto* f = dynamic_cast<TcxTestButtonEdit*>(Host->GetActiveEdit());
  ASSERT_NE(f, nullptr);
  Wait(Windows::GetDoubleClickTime() + 50);
  EXPECT_FALSE(f->IsDoubleClickTimerRunning());
  Click(f, 20, 10);
  EXPECT_EQ(std::count(f->Log.begin(), f->Log.end(), AnsiString("dblclick")), 0);
}

// ---- Repository

TEST_F(EditControlTest, RepositoryItemsReconfigureTheirEditorsAndLeaveThemWorkingWhenFreed)
{
  auto* repo = new TcxEditRepository(Form);
  auto* item = repo->CreateItem(TcxEditRepositoryItem::StaticClass());
  EXPECT_EQ(repo->Count(), 1);
  auto* e = Make<TcxTestButtonEdit>();
  // An item of the base properties class is not acceptable for the test editor.
  EXPECT_THROW(e->SetRepositoryItem(item), Exception);
  EXPECT_EQ(e->GetRepositoryItem(), nullptr);
  delete item;

  struct TTestItem : TcxEditRepositoryItem {
    explicit TTestItem(TComponent* O) : TcxEditRepositoryItem(O) { CreateProperties(); }
    TClass GetEditPropertiesClass() const override { return TcxTestEditProperties::StaticClass(); }
  };
  auto* testItem = new TTestItem(Form);
  testItem->SetRepository(repo);
  e->SetRepositoryItem(testItem);
  EXPECT_EQ(e->GetProperties(), testItem->GetProperties());
  testItem->GetProperties()->GetButtons()->Add();
  Pump();
  EXPECT_EQ(e->GetEditViewInfo()->ButtonCount(), 1);  // the item's change reached the editor
  delete testItem;
  EXPECT_EQ(repo->Count(), 0);
  EXPECT_EQ(e->GetRepositoryItem(), nullptr);
  EXPECT_EQ(e->GetProperties(), e->GetOwnProperties());
  Pump();
  EXPECT_EQ(e->GetEditViewInfo()->ButtonCount(), 0);  // back to its own look at once
  e->GetOwnProperties()->GetButtons()->Add();
  e->GetOwnProperties()->GetButtons()->Add();
  Pump();
  EXPECT_EQ(e->GetEditViewInfo()->ButtonCount(), 2);  // its own properties reach it again
}

// ---- View info

TEST(EditViewData, EffectiveBorderStyleTable)
{
  const TcxEditBorderStyle styles[] = {ebsNone, ebsSingle, ebsThick, ebsFlat, ebs3D, ebsUltraFlat};
  const TcxEditBorderStyle expected[3][6] = {
      {ebsNone, ebsSingle, ebsThick, ebsFlat, ebs3D, ebsSingle},
      {ebsNone, ebsSingle, ebsThick, ebsFlat, ebs3D, ebsSingle},
      {ebsFlat, ebsThick, ebsThick, ebs3D, ebs3D, ebsSingle},
  };
  for (int hot = 0; hot < 3; ++hot)
    for (int i = 0; i < 6; ++i)
      EXPECT_EQ(cxEdit::EffectiveEditBorderStyle(styles[i], hot), expected[hot][i]) << hot << " " << i;
}

TEST(EditViewData, DefaultButtonAndPopupBorderStyles)
{
  struct Case {
    TcxEditBorderStyle StyleBorder, Effective;
    TcxEditButtonStyle Button;
    TcxEditPopupBorderStyle Popup;
  };
  const Case cases[] = {
      {ebsThick, ebsThick, bts3D, epbsSingle},
      {ebs3D, ebs3D, bts3D, epbsSingle},
      {ebsFlat, ebsFlat, btsFlat, epbsFlat},
      {ebsUltraFlat, ebsUltraFlat, btsFlat, epbsSingle},
      {ebsSingle, ebsSingle, btsHotFlat, epbsSingle},
      {ebsNone, ebsNone, btsSimple, epbsFlat},
      {ebsUltraFlat, ebsSingle, btsUltraFlat, epbsSingle},
      {ebsUltraFlat, ebsNone, btsUltraFlat, epbsFlat},
  };
  TcxCustomEditProperties p(nullptr);
  for (const Case& c : cases) {
    TcxEditStyle style(nullptr);
    style.SetEditBorderStyle(c.StyleBorder);
    TcxCustomEditViewData vd(&p, &style, false);
    EXPECT_EQ(vd.GetButtonStyle(c.Effective), c.Button) << c.StyleBorder << " " << c.Effective;
    EXPECT_EQ(vd.GetPopupBorderStyle(c.Effective), c.Popup) << c.StyleBorder << " " << c.Effective;
  }
  TcxEditStyle style(nullptr);
  style.SetButtonStyle(btsSimple);
  style.SetPopupBorderStyle(epbsFrame3D);
  TcxCustomEditViewData vd(&p, &style, false);
  EXPECT_EQ(vd.GetButtonStyle(ebs3D), btsSimple);
  EXPECT_EQ(vd.GetPopupBorderStyle(ebs3D), epbsFrame3D);
  // In place the pop-up border follows the look and feel.
  const std::pair<TcxLookAndFeelKind, TcxEditPopupBorderStyle> kinds[] = {
      {lfFlat, epbsFlat}, {lfStandard, epbsFrame3D}, {lfUltraFlat, epbsSingle}};
  for (auto [kind, popup] : kinds) {
    TcxEditStyle s(nullptr);
    s.GetLookAndFeel()->SetKind(kind);
    TcxCustomEditViewData inplace(&p, &s, true);
    EXPECT_EQ(inplace.GetPopupBorderStyle(ebsNone), popup);
  }
}

TEST_F(EditControlTest, ButtonsWiderThanTheEditorKeepTheirBoundsWithCutVisibleBounds)
{
  auto* e = Make<TcxTestButtonEdit>(10, 10, 30, 21);
  e->GetProperties()->GetButtons()->Add()->SetWidth(20);
  e->GetProperties()->GetButtons()->Add()->SetWidth(20);
  e->SetBounds(10, 10, 30, 21);
  Pump();
  TcxCustomEditViewInfo* vi = e->GetEditViewInfo();
  ASSERT_EQ(vi->ButtonCount(), 2);
  for (int i = 0; i < 2; ++i) {
    const TcxEditButtonViewInfo* b = vi->Button(i);
    EXPECT_GE(b->Bounds.right - b->Bounds.left, 20) << i;
    EXPECT_LE(b->VisibleBounds.right - b->VisibleBounds.left, b->Bounds.right - b->Bounds.left) << i;
  }
  EXPECT_LT(vi->Button(0)->VisibleBounds.right - vi->Button(0)->VisibleBounds.left, 20);
  EXPECT_EQ(vi->ClientRect.right - vi->ClientRect.left, 0);
}

TEST_F(EditControlTest, HideInactiveButtonsShowOnlyWhileFocused)
{
  auto* e = Make<TcxTestButtonEdit>();
  auto* other = Make<TcxTestButtonEdit>(10, 60);
  e->GetProperties()->GetButtons()->Add();
  e->GetEditStyle()->SetButtonTransparency(ebtHideInactive);
  Pump();
  TcxCustomEditViewInfo* vi = e->GetEditViewInfo();
  EXPECT_EQ(vi->ButtonCount(), 0);
  EXPECT_EQ(vi->ClientRect.right, vi->BorderRect.right);
  e->SetFocus();
  Pump();
  EXPECT_EQ(vi->ButtonCount(), 1);
  EXPECT_LT(vi->ClientRect.right, vi->BorderRect.right);
  other->SetFocus();
  Pump();
  EXPECT_EQ(vi->ButtonCount(), 0);
}

TEST_F(EditControlTest, FlatBorderWithHotTrackShows3DUnderTheMouse)
{
  auto* e = Make<TcxTestButtonEdit>();
  e->GetEditStyle()->SetEditBorderStyle(ebsFlat);
  e->GetEditStyle()->SetHotTrack(true);
  MoveTo(Form, 300, 300);
  EXPECT_EQ(e->GetEditViewInfo()->BorderStyle, cbsFlat);
  MoveTo(e, 30, 10);
  EXPECT_EQ(e->GetEditViewInfo()->BorderStyle, cbs3D);
}

TEST_F(EditControlTest, EditSizeWithoutWidthLimitAndAutoHeight)
{
  auto* e = Make<TcxTestButtonEdit>();
  TcxCustomEditProperties* p = e->GetProperties();
  TcxEditSizeProperties limits;
  limits.Width = -1;
  SIZE size{};
  p->CalculateEditSize(e->GetCanvas(), e->GetEditStyle(), false, Variant::Null(), limits, size);
  EXPECT_EQ(limits.Width, -1);
  // The base editor has no content: the size is the border alone (2 on each side).
  EXPECT_EQ(size.cx, 4);
  EXPECT_EQ(size.cy, 4);
  TcxEditSizeProperties narrow;
  narrow.Width = 2;  // below the constant part
  p->CalculateEditSize(e->GetCanvas(), e->GetEditStyle(), false, Variant::Null(), narrow, size);
  EXPECT_EQ(size.cx, 2);
  // Auto size gives a stand-alone editor the computed height.
  e->SetAutoSize(true);
  e->SetBounds(10, 10, 120, 40);
  EXPECT_EQ(e->GetHeight(), 4);
}

// ---- Stream

TEST_F(EditControlTest, StreamStoresAssignedReadOnlyNonNullValueAndNoEditorStyleValues)
{
  Classes::RegisterClass(TcxTestButtonEdit::StaticClass());
  auto* e = Make<TcxTestButtonEdit>();
  e->GetProperties()->SetReadOnly(false);
  e->SetEditValue(Variant(42));
  e->GetEditStyle()->SetButtonStyle(bts3D);
  e->GetEditStyle()->SetColor(clRed);
  TMemoryStream stream;
  Classes::WriteComponent(&stream, e);
  const std::string bytes(static_cast<const char*>(stream.GetMemory()), size_t(stream.GetSize()));
  EXPECT_NE(bytes.find("ReadOnly"), std::string::npos);
  EXPECT_NE(bytes.find("EditValue"), std::string::npos);
  EXPECT_NE(bytes.find("Style.Color"), std::string::npos);
  EXPECT_EQ(bytes.find("ButtonStyle"), std::string::npos);
  EXPECT_EQ(bytes.find("AutoSelect"), std::string::npos);

  auto* copy = Make<TcxTestButtonEdit>(10, 60);
  stream.SetPosition(0);
  Classes::ReadComponent(&stream, copy);
  EXPECT_EQ(copy->GetEditValue().AsInteger(), 42);
  EXPECT_TRUE(copy->GetProperties()->IsReadOnlyStored());
  EXPECT_EQ(copy->GetEditStyle()->GetColor(), clRed);

  // Nothing assigned, nothing stored.
  auto* plain = Make<TcxTestButtonEdit>(10, 100);
  TMemoryStream plainStream;
  Classes::WriteComponent(&plainStream, plain);
  const std::string plainBytes(static_cast<const char*>(plainStream.GetMemory()), size_t(plainStream.GetSize()));
  EXPECT_EQ(plainBytes.find("ReadOnly"), std::string::npos);
  EXPECT_EQ(plainBytes.find("EditValue"), std::string::npos);
}

// ---- Posting

namespace {

// Keeps what the editor stores, and can refuse it.
class TRecordingBinding : public TcxEditDataBinding {
  PELTO_CLASS(TRecordingBinding, TcxEditDataBinding)
public:
  using TcxEditDataBinding::TcxEditDataBinding;
  void UpdateData(const Variant& Value) override
  {
    if (Refuse) throw Exception("refused");
    Stored.push_back(Variants::VarToStr(Value));
  }
  std::vector<AnsiString> Stored;
  bool Refuse = false;
};

class TBoundEdit : public TcxTestButtonEdit {
  PELTO_CLASS(TBoundEdit, TcxTestButtonEdit)
public:
  using TcxTestButtonEdit::TcxTestButtonEdit;
  TRecordingBinding* Binding() { return static_cast<TRecordingBinding*>(GetDataBinding()); }

protected:
  TClass GetDataBindingClass() const override { return TRecordingBinding::StaticClass(); }
};

}  // namespace

TEST_F(EditControlTest, AStandAloneEditorStoresItsValueWhenItLosesTheFocus)
{
  auto* e = Make<TBoundEdit>();
  auto* other = Make<TcxTestButtonEdit>(10, 60);
  e->SetFocus();
  Pump();
  Type("12");
  other->SetFocus();
  Pump();
  EXPECT_EQ(e->Binding()->Stored, std::vector<AnsiString>{"12"});
  EXPECT_FALSE(e->GetEditModified());
  // A store that fails reports the error and leaves the editor changed.
  e->Binding()->Refuse = true;
  e->SetFocus();
  Pump();
  Type("3");
  EXPECT_THROW(e->PostEditValue(true), Exception);
  EXPECT_EQ(e->Binding()->Stored.size(), 1u);
}

TEST_F(EditInplaceTest, EnterWithValidateOnEnterPostsThroughTheOwner)
{
  Props1->SetValidateOnEnter(true);
  Host->Columns = {Props1.get()};
  TcxCustomEdit* e = Host->ShowEditor(0);
  Pump();
  Type("7");
  EXPECT_TRUE(e->GetEditModified());
  Key(VK_RETURN);
  EXPECT_EQ(Host->PostCount, 1);
  EXPECT_EQ(Variants::VarToStr(e->GetEditValue()), "7");
  EXPECT_FALSE(e->GetModifiedAfterEnter());
}
