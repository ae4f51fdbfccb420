// The data-aware edit, combo box and check box on a one-row dataset held in memory, driven by
// typed input and clicks on a headless form.
#include <gtest/gtest.h>

#include "platform/classes/ClassRegistry.h"
#include "platform/classes/TypInfo.h"
#include "platform/db/DataSet.h"
#include "platform/db/DataSource.h"
#include "platform/db/Fields.h"
#include "platform/forms/controls/BasicAction.h"
#include "platform/forms/controls/Messages.h"
#include "platform/forms/graphics/Font.h"
#include "platform/forms/tests/ControlsTestUtil.h"
#include "platform/rtl/StringList.h"
#include "platform/stdctrls/dbctrls/DBCheckBox.h"
#include "platform/stdctrls/dbctrls/DBComboBox.h"
#include "platform/stdctrls/dbctrls/DBCtrls.h"
#include "platform/stdctrls/dbctrls/DBEdit.h"
#include "platform/stdctrls/edits/CustomEdit.h"
#include "platform/stdctrls/tests/PictureUtil.h"
#include "platform/testsupport/MessageBoxAnswerer.h"
#include "platform/win/backend/Headless.h"
#include "platform/win/input/InputQueue.h"
#include "platform/win/queue/Messages.h"
#include "platform/win/window/Windows.h"

namespace {

// One row of search criteria, as the criteria forms bind them.
class TCriteriaRow : public TDataSet {
public:
  explicit TCriteriaRow(TComponent* AOwner) : TDataSet(AOwner) {}
  ~TCriteriaRow() override { Close(); }

protected:
  void InternalOpen() override
  {
    GetFieldDefs().Clear();
    GetFieldDefs().Add("HtName", ftString, 8);
    GetFieldDefs().Add("HtCode", ftString, 10);
    GetFieldDefs().Add("HtFund", ftFloat);
    GetFieldDefs().Add("HintDays", ftInteger);
    GetFieldDefs().Add("PayType", ftString, 10);
    GetFieldDefs().Add("InvHint", ftBoolean);
    GetFieldDefs().Add("IsLock", ftString, 4);
    AddLoadedRecord({Variant(AnsiString("旧合同")), Variant(AnsiString("123456")), Variant(1234.5), Variant(30),
                     Variant(AnsiString("付款")), Variant::Null(), Variant(AnsiString("否"))});
  }
};

class DBCtrlsTest : public FormsTest {
protected:
  void SetUp() override
  {
    FormsTest::SetUp();
    DBCtrls::Initialize();
    Form = MakeForm(420, 300);
    Data = new TCriteriaRow(Owner.get());
    Data->Open();
    Source = new TDataSource(Owner.get());
    Source->SetDataSet(Data);
    Other = new TEdit(Owner.get());
    Other->SetParent(Form);
    Other->SetBounds(250, 10, 100, 21);
    Form->Show();
  }
  template <class T>
  T* Bind(const char* FieldName, int Top, const char* Name = "")
  {
    auto* c = new T(Owner.get());
    if (*Name) c->SetName(Name);
    c->SetParent(Form);
    c->SetBounds(10, Top, 200, c->GetHeight());
    c->SetDataSource(Source);
    c->SetDataField(FieldName);
    return c;
  }
  void Type(const AnsiString& Text)
  {
    InputQueue::Text(Text);
    Pump();
  }
  void Key(int VKey)
  {
    InputQueue::KeyDown(VKey);
    InputQueue::KeyUp(VKey);
    Pump();
  }
  void ClickOn(TControl* C)
  {
    Headless::AdvanceTime(1000);  // a click of its own, never a double click
    POINT p = C->ClientToScreen(POINT{8, C->GetHeight() / 2});
    InputQueue::MouseMove(p.x, p.y);
    InputQueue::MouseDown(InputQueue::Button::Left, p.x, p.y);
    InputQueue::MouseUp(InputQueue::Button::Left, p.x, p.y);
    Pump();
  }
  // Leaves the control under test by focusing the plain edit beside it.
  void Leave()
  {
    Other->SetFocus();
    Pump();
  }
  AnsiString Field(const char* Name) { return Data->FieldByName(Name)->GetAsString(); }

  TForm* Form = nullptr;
  TCriteriaRow* Data = nullptr;
  TDataSource* Source = nullptr;
  TEdit* Other = nullptr;
};

// An action that runs on data sources, as the dataset actions do.
class TPostAction : public TBasicAction {
public:
  using TBasicAction::TBasicAction;
  bool HandlesTarget(TObject* Target) override { return dynamic_cast<TDataSource*>(Target) != nullptr; }
  void ExecuteTarget(TObject* Target) override { static_cast<TDataSource*>(Target)->GetDataSet()->Post(); }
  void UpdateTarget(TObject* Target) override { ++Updates; }
  int Updates = 0;
};

}  // namespace

TEST_F(DBCtrlsTest, TheLinkFollowsSourceFieldAndDataset)
{
  // Malformed first: a field the dataset lacks names the control.
  auto* edit = new TDBEdit(Owner.get());
  edit->SetName("HtNameEdit");
  TFieldDataLink* link = edit->GetDataLink();
  EXPECT_EQ(link->GetField(), nullptr);
  EXPECT_FALSE(link->GetCanModify());
  EXPECT_FALSE(link->Edit());
  edit->SetDataSource(Source);
  EXPECT_FALSE(link->Edit()) << "a source without a field name";
  try {
    edit->SetDataField("NoSuchField");
    FAIL() << "no error";
  } catch (const EDatabaseError& e) {
    EXPECT_EQ(AnsiString(e.Message()), "HtNameEdit: Field 'NoSuchField' not found");
  }
  EXPECT_EQ(link->GetField(), nullptr);

  int changes = 0;
  link->OnActiveChange = [&](TObject*) { ++changes; };
  edit->SetDataField("HtName");
  ASSERT_EQ(link->GetField(), Data->FieldByName("HtName"));
  EXPECT_EQ(edit->GetText(), "旧合同");
  EXPECT_EQ(edit->GetMaxLength(), 8) << "a string field's size";
  int shows = 0;
  TNotifyEvent show = link->OnDataChange;
  link->OnDataChange = [&](TObject* s) { ++shows, show(s); };
  edit->SetDataField("HtName");
  EXPECT_EQ(shows, 0) << "the same name again: not even a reload";
  link->OnDataChange = show;

  // The control answers CM_GETDATALINK with its link.
  edit->SetParent(Form);
  EXPECT_EQ(Windows::SendMessage(edit->GetHandle(), CM_GETDATALINK, 0, 0), reinterpret_cast<LRESULT>(link));

  // Closing and opening the dataset drops and finds the field again.
  Data->Close();
  EXPECT_EQ(link->GetField(), nullptr);
  EXPECT_EQ(edit->GetText(), "");
  Data->Open();
  EXPECT_EQ(link->GetField(), Data->FieldByName("HtName"));
  EXPECT_EQ(edit->GetText(), "旧合同");
  EXPECT_EQ(changes, 2);

  // A change of another field leaves the box alone; its own field shows at once.
  Data->Edit();
  Data->FieldByName("HtCode")->SetAsString("999");
  EXPECT_EQ(edit->GetText(), "旧合同");
  Data->FieldByName("HtName")->SetAsString("新合同");
  EXPECT_EQ(edit->GetText(), "新合同");
  Data->Cancel();

  // A field asked to focus its control focuses it.
  Data->FieldByName("HtName")->FocusControl();
  EXPECT_TRUE(edit->Focused());

  // A data action aimed at the source runs through the link.
  TPostAction action(nullptr);
  Data->Edit();
  EXPECT_TRUE(edit->UpdateAction(&action));
  EXPECT_EQ(action.Updates, 1);
  EXPECT_TRUE(edit->ExecuteAction(&action));
  EXPECT_EQ(Data->GetState(), dsBrowse);
  edit->SetDataSource(nullptr);
  EXPECT_FALSE(edit->ExecuteAction(&action));
}

TEST_F(DBCtrlsTest, TypingEditsLeavingWritesEscapeResets)
{
  auto* edit = Bind<TDBEdit>("HtName", 10);
  edit->SetFocus();
  EXPECT_EQ(Data->GetState(), dsBrowse) << "focus alone changes nothing";
  Key(VK_END);
  Type("甲");
  EXPECT_EQ(Data->GetState(), dsEdit);
  EXPECT_EQ(edit->GetText(), "旧合同甲");
  EXPECT_EQ(Field("HtName"), "旧合同") << "the field waits for the box to be left";

  // Escape puts the field's text back and keeps the dataset editing.
  Key(VK_ESCAPE);
  EXPECT_EQ(edit->GetText(), "旧合同");
  EXPECT_FALSE(edit->GetDataLink()->GetModified());

  // Typing stops at the field's size, counted in characters as the databases count them.
  edit->SelectAll();
  Type("付款合同一二三四五六");
  EXPECT_EQ(edit->GetText(), "付款合同一二三四");
  Leave();
  EXPECT_EQ(Field("HtName"), "付款合同一二三四");
  Data->Post();
  EXPECT_EQ(Field("HtName"), "付款合同一二三四");
  EXPECT_EQ(edit->GetText(), "付款合同一二三四");
}

TEST_F(DBCtrlsTest, TypingIsRefusedWhereTheFieldMayNotChange)
{
  auto* edit = Bind<TDBEdit>("HtName", 10);
  struct Case {
    const char* What;
    std::function<void(bool)> Set;
  } cases[] = {
      {"the box is read-only", [&](bool on) { edit->SetReadOnly(on); }},
      {"the field is read-only", [&](bool on) { Data->FieldByName("HtName")->SetReadOnly(on); }},
      {"the source does not edit by itself", [&](bool on) { Source->SetAutoEdit(!on); }},
      {"the dataset is read-only", [&](bool on) { Data->SetReadOnly(on); }},
  };
  for (const Case& c : cases) {
    c.Set(true);
    edit->SetFocus();
    Key(VK_END);
    Type("乙x");
    Key(VK_BACK);
    EXPECT_EQ(edit->GetText(), "旧合同") << c.What;
    EXPECT_EQ(Data->GetState(), dsBrowse) << c.What;
    Leave();
    EXPECT_EQ(Field("HtName"), "旧合同") << c.What;
    c.Set(false);
  }
  // Numbers take digits and signs only; a refused Chinese character leaves no half behind.
  auto* days = Bind<TDBEdit>("HintDays", 40);
  days->SetFocus();
  days->SelectAll();
  Type("天1e天5");
  EXPECT_EQ(days->GetText(), "15");
}

TEST_F(DBCtrlsTest, TheFieldsMaskAndTextsApply)
{
  TField* code = Data->FieldByName("HtCode");
  code->SetEditMask("000-000;0;_");
  auto* fund = Data->FieldByName("HtFund");
  static_cast<TFloatField*>(fund)->SetDisplayFormat("#,##0.00");
  auto* codeEdit = Bind<TDBEdit>("HtCode", 10);
  auto* fundEdit = Bind<TDBEdit>("HtFund", 40);

  // Unfocused: the display text, laid out by the mask.
  EXPECT_TRUE(codeEdit->IsMasked());
  EXPECT_EQ(codeEdit->GetEditText(), "123-456");
  EXPECT_EQ(fundEdit->GetEditText(), "1,234.50");
  // Focused: the edit text.
  fundEdit->SetFocus();
  EXPECT_EQ(fundEdit->GetEditText(), "1234.5");
  Leave();
  EXPECT_EQ(fundEdit->GetEditText(), "1,234.50");

  // The mask takes the typed digits and steps over its literal; letters are refused.
  codeEdit->SetFocus();
  Key(VK_HOME);
  Type("65a4321");
  EXPECT_EQ(codeEdit->GetEditText(), "654-321");
  Leave();
  EXPECT_EQ(code->GetAsString(), "654321");

  // An incomplete text fails the mask: the focus stays and the error is shown.
  TMessageBoxAnswerer answers;
  codeEdit->SetFocus();
  Key(VK_HOME);
  Type("7");
  Key(VK_DELETE);
  Leave();
  EXPECT_TRUE(codeEdit->Focused());
  ASSERT_EQ(answers.Texts().size(), 1u);
  EXPECT_EQ(answers.Texts()[0], "Invalid input value.  Use escape key to abandon changes");
  EXPECT_EQ(code->GetAsString(), "654321");
}

TEST_F(DBCtrlsTest, ARefusedWriteKeepsTheFocusAndShowsTheError)
{
  auto* fund = Bind<TDBEdit>("HtFund", 10);
  Data->FieldByName("HtFund")->OnValidate = [](TField* f) {
    if (f->GetAsFloat() < 0) throw Exception("合同金额不能为负数");
  };
  struct Case {
    const char* Typed;
    const char* Shown;  // the message box's text; empty: the write is taken
    const char* Stored;
  } cases[] = {
      {"-5", "合同金额不能为负数", "1234.5"},
      {"1-2", "'1-2' is not a valid floating point value", "1234.5"},
      {"88.5", "", "88.5"},
  };
  for (const Case& c : cases) {
    TMessageBoxAnswerer answers;
    fund->SetFocus();
    fund->SelectAll();
    Type(c.Typed);
    Leave();
    EXPECT_EQ(Field("HtFund"), c.Stored) << c.Typed;
    if (*c.Shown) {
      EXPECT_TRUE(fund->Focused()) << c.Typed;
      EXPECT_EQ(answers.Texts(), std::vector<AnsiString>{c.Shown});
      EXPECT_EQ(fund->GetSelText(), c.Typed) << "the refused text is selected";
      Key(VK_ESCAPE);
    } else {
      EXPECT_TRUE(Other->Focused()) << c.Typed;
      EXPECT_TRUE(answers.Texts().empty());
    }
  }
}

TEST_F(DBCtrlsTest, ComboBoxesShowChooseAndWriteTheField)
{
  auto* list = Bind<TDBComboBox>("PayType", 10);
  list->SetStyle(csDropDownList);
  for (const char* s : {"收款", "付款", "其他"}) list->GetItems()->Add(s);
  Data->Refresh();
  EXPECT_EQ(list->GetItemIndex(), 1) << "the line equal to the field";

  // Read-only: the arrow keys do not move the selection.
  list->SetReadOnly(true);
  list->SetFocus();
  Key(VK_DOWN);
  EXPECT_EQ(list->GetItemIndex(), 1);
  EXPECT_EQ(Data->GetState(), dsBrowse);
  list->SetReadOnly(false);

  Key(VK_DOWN);
  EXPECT_EQ(list->GetItemIndex(), 2);
  EXPECT_EQ(Data->GetState(), dsEdit);
  Key(VK_ESCAPE);
  EXPECT_EQ(list->GetItemIndex(), 1) << "Escape goes back to the field";
  Key(VK_UP);
  Leave();
  EXPECT_EQ(Field("PayType"), "收款");

  // A value that is no line selects none.
  Data->FieldByName("PayType")->SetAsString("预付");
  EXPECT_EQ(list->GetItemIndex(), -1);

  // A drop-down combo box takes typed text.
  auto* kind = Bind<TDBComboBox>("HtName", 40);
  kind->SetAutoComplete(false);
  EXPECT_EQ(kind->GetText(), "旧合同");
  kind->SetReadOnly(true);
  kind->SetFocus();
  Type("x");
  Key(VK_BACK);
  EXPECT_EQ(kind->GetText(), "旧合同") << "read-only refuses typing";
  kind->SetReadOnly(false);
  kind->SetFocus();
  kind->SelectAll();
  Type("框架协议");
  Leave();
  EXPECT_EQ(Field("HtName"), "框架协议");
}

TEST_F(DBCtrlsTest, ANullCheckBoxIsGreyedAndCyclesAsConfigured)
{
  auto* box = Bind<TDBCheckBox>("InvHint", 10);
  box->SetCaption("开票提醒");
  struct Case {
    bool AllowGrayed;
    std::vector<TCheckBoxState> Clicks;  // the states after each click, from Null
    std::vector<const char*> Stored;     // the field after leaving, per click
  } cases[] = {
      {false, {cbChecked, cbUnchecked, cbChecked}, {"True", "False", "True"}},
      {true, {cbChecked, cbUnchecked, cbGrayed}, {"True", "False", ""}},
  };
  for (const Case& c : cases) {
    Data->Cancel();
    Data->Edit();
    Data->FieldByName("InvHint")->Clear();
    Data->Post();
    EXPECT_EQ(box->GetState(), cbGrayed) << "Null";
    box->SetAllowGrayed(c.AllowGrayed);
    for (std::size_t i = 0; i < c.Clicks.size(); ++i) {
      ClickOn(box);
      EXPECT_EQ(box->GetState(), c.Clicks[i]) << c.AllowGrayed << " click " << i;
      Leave();
      EXPECT_EQ(Field("InvHint"), c.Stored[i]) << c.AllowGrayed << " click " << i;
    }
  }

  // A text field by its values; an unknown text is greyed; read-only refuses the click.
  auto* lock = Bind<TDBCheckBox>("IsLock", 40);
  lock->SetValueChecked("是;Y");
  lock->SetValueUnchecked("否;N");
  EXPECT_EQ(lock->GetState(), cbUnchecked);
  ClickOn(lock);
  Leave();
  EXPECT_EQ(Field("IsLock"), "是");
  Data->FieldByName("IsLock")->SetAsString("y");
  EXPECT_EQ(lock->GetState(), cbChecked);
  Data->FieldByName("IsLock")->SetAsString("也许");
  EXPECT_EQ(lock->GetState(), cbGrayed);
  Data->Post();
  lock->SetReadOnly(true);
  ClickOn(lock);
  EXPECT_EQ(lock->GetState(), cbGrayed);
  EXPECT_EQ(Data->GetState(), dsBrowse);
}

TEST_F(DBCtrlsTest, PictureOfTheDataAwareControls)
{
  Form->SetCaption("合同查找");
  Form->GetFont()->SetName("宋体");
  Form->GetFont()->SetSize(9);
  Data->FieldByName("HtCode")->SetEditMask("000-000;0;_");
  static_cast<TFloatField*>(Data->FieldByName("HtFund"))->SetDisplayFormat("#,##0.00");
  Bind<TDBEdit>("HtName", 10);
  Bind<TDBEdit>("HtCode", 40);
  auto* fund = Bind<TDBEdit>("HtFund", 70);
  auto* pay = Bind<TDBComboBox>("", 100);
  pay->SetStyle(csDropDownList);
  for (const char* s : {"收款", "付款", "其他"}) pay->GetItems()->Add(s);
  pay->SetDataField("PayType");
  auto* greyed = Bind<TDBCheckBox>("InvHint", 135);
  greyed->SetCaption("开票提醒(空)");
  auto* lock = Bind<TDBCheckBox>("IsLock", 160);
  lock->SetCaption("已锁定");
  lock->SetValueChecked("是");
  lock->SetValueUnchecked("否");
  auto* readOnly = Bind<TDBEdit>("HintDays", 190);
  readOnly->SetReadOnly(true);
  fund->SetFocus();
  Pump();
  SaveFormPicture(Form, "dbctrls.png");
  EXPECT_EQ(greyed->GetState(), cbGrayed);
  EXPECT_EQ(lock->GetState(), cbUnchecked);
  EXPECT_EQ(fund->GetEditText(), "1234.5");
}

TEST_F(DBCtrlsTest, StoredFormsReachTheLinkThroughThePublishedProperties)
{
  // A stored form names the classes and sets the link's properties, not the window's.
  for (const char* name : {"TDBEdit", "TDBComboBox", "TDBCheckBox"})
    EXPECT_NE(Classes::FindClass(name), nullptr) << name;
  auto* edit = new TDBEdit(Owner.get());
  edit->SetParent(Form);
  TypInfo::SetObjectProp(edit, "DataSource", Source);
  TypInfo::SetStrProp(edit, "DataField", "HtName");
  TypInfo::SetOrdProp(edit, "ReadOnly", 1);
  EXPECT_EQ(edit->GetField(), Data->FieldByName("HtName"));
  EXPECT_TRUE(edit->GetReadOnly());
  EXPECT_FALSE(edit->GetDataLink()->Edit());
  auto* box = new TDBCheckBox(Owner.get());
  TypInfo::SetStrProp(box, "ValueChecked", "是");
  EXPECT_EQ(box->GetValueChecked(), "是");
}
