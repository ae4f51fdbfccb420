// Edit boxes, masked edits and memos on a headless form, driven by typed input.
#include <gtest/gtest.h>

#include "platform/classes/ClassRegistry.h"
#include "platform/classes/TypInfo.h"
#include "platform/forms/app/Clipboard.h"
#include "platform/forms/tests/ControlsTestUtil.h"
#include "platform/rtl/FormatSettings.h"
#include "platform/rtl/Guards.h"
#include "platform/stdctrls/StdCtrls.h"
#include "platform/stdctrls/edits/MaskEdit.h"
#include "platform/stdctrls/edits/Memo.h"
#include "platform/win/backend/Headless.h"
#include "platform/win/input/InputQueue.h"

namespace {

class EditsTest : public FormsTest {
protected:
  void SetUp() override
  {
    FormsTest::SetUp();
    StdCtrls::Initialize();
    Form = MakeForm(400, 300);
    Form->Show();
  }
  template <class T>
  T* Make(int Top)
  {
    auto* c = new T(Owner.get());
    c->SetParent(Form);
    c->SetBounds(10, Top, 150, c->GetHeight());
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
  TForm* Form = nullptr;
  TValueGuard<char> FDate{SysUtils::DateSeparator, '-'};
};

}  // namespace

TEST_F(EditsTest, OneOnChangePerChange)
{
  // Before the window and with it, by code and by typing: each change fires once, a text set
  // to what it is fires nothing.
  auto* edit = new TEdit(Owner.get());
  int changes = 0;
  edit->OnChange = [&](TObject* s) {
    EXPECT_EQ(s, edit);
    ++changes;
  };
  struct Step {
    const char* What;
    std::function<void()> Do;
    int Changes;
  } steps[] = {
      {"text before a window", [&] { edit->SetText("合同"); }, 1},
      {"the same text", [&] { edit->SetText("合同"); }, 1},
      {"the window is made", [&] { edit->SetParent(Form), edit->GetHandle(); }, 1},
      {"text with a window", [&] { edit->SetText("合同号"); }, 2},
      {"the same again", [&] { edit->SetText("合同号"); }, 2},
      {"typing two characters", [&] { edit->SetFocus(), Type("ab"); }, 4},
      {"typing a Chinese character", [&] { Type("款"); }, 5},
      {"the selection replaced", [&] { edit->SelectAll(), edit->SetSelText("x"); }, 6},
      {"cleared", [&] { edit->Clear(); }, 7},
      {"cleared again", [&] { edit->Clear(); }, 7},
  };
  for (const Step& s : steps) {
    s.Do();
    EXPECT_EQ(changes, s.Changes) << s.What;
  }
}

TEST_F(EditsTest, AutoSelectSelectsTheTextWhenTheFocusComesByKeyboard)
{
  auto* first = Make<TEdit>(10);
  auto* second = Make<TEdit>(40);
  auto* third = Make<TEdit>(70);
  second->SetText("合同编号");
  third->SetText("客户");
  third->SetAutoSelect(false);
  first->SetFocus();
  Key(VK_TAB);
  ASSERT_TRUE(second->Focused());
  EXPECT_EQ(second->GetSelStart(), 0);
  EXPECT_EQ(second->GetSelLength(), 8);
  EXPECT_EQ(second->GetSelText(), "合同编号");
  Key(VK_TAB);
  ASSERT_TRUE(third->Focused());
  EXPECT_EQ(third->GetSelLength(), 0);
}

TEST_F(EditsTest, PropertiesReachTheWindowAndSurviveANewOne)
{
  auto* edit = Make<TEdit>(10);
  edit->SetText("abc");
  edit->SetMaxLength(4);
  // The new window takes the focus back, which would select all.
  edit->SetAutoSelect(false);
  edit->SetFocus();
  Key(VK_END);
  Type("defg");
  EXPECT_EQ(edit->GetText(), "abcd");
  edit->SetSelStart(1);
  edit->SetSelLength(2);
  edit->SetCharCase(ecUpperCase);  // converts and makes a new window
  EXPECT_EQ(edit->GetText(), "ABCD");
  EXPECT_EQ(edit->GetSelStart(), 1);
  EXPECT_EQ(edit->GetSelLength(), 2);
  EXPECT_TRUE(edit->GetModified());
  edit->SetReadOnly(true);
  Type("z");
  EXPECT_EQ(edit->GetText(), "ABCD");
  edit->SetReadOnly(false);
  edit->SetModified(false);
  EXPECT_FALSE(edit->GetModified());
  edit->SelectAll();
  edit->CutToClipboard();
  EXPECT_EQ(edit->GetText(), "");
  edit->PasteFromClipboard();
  EXPECT_EQ(edit->GetText(), "ABCD");
  EXPECT_TRUE(edit->GetCanUndo());
  edit->Undo();
  EXPECT_EQ(edit->GetText(), "");
}

TEST_F(EditsTest, TypingIntoAMaskFillsItsPlaces)
{
  auto* edit = Make<TMaskEdit>(10);
  edit->SetEditMask("0000年99月99日;1;_");
  EXPECT_EQ(edit->GetEditText(), "____年__月__日");
  EXPECT_EQ(edit->GetText(), "    年  月  日");
  int changes = 0;
  edit->OnChange = [&](TObject*) { ++changes; };
  edit->SetFocus();
  Key(VK_HOME);
  // Literals are stepped over, a refused character beeps and changes nothing.
  int beeps = Headless::Beeps();
  Type("2009");
  EXPECT_EQ(edit->GetEditText(), "2009年__月__日");
  EXPECT_EQ(edit->GetSelStart(), 6);
  Type("x");
  EXPECT_EQ(edit->GetSelStart(), 6);
  Type("0");
  EXPECT_EQ(edit->GetSelStart(), 7);
  Type("305");
  EXPECT_EQ(Headless::Beeps(), beeps + 1);
  EXPECT_EQ(edit->GetEditText(), "2009年03月05日");
  EXPECT_EQ(changes, 8);
  // Backspace blanks the place before the caret and keeps the literals.
  Key(VK_END);
  Type("\b\b\b");
  EXPECT_EQ(edit->GetEditText(), "2009年0_月__日");
  // Escape puts back the text the box had when the focus came.
  Key(VK_ESCAPE);
  EXPECT_EQ(edit->GetEditText(), "____年__月__日");
  EXPECT_FALSE(edit->GetModified());
}

TEST_F(EditsTest, ChineseFillsOnePlaceAndCaseMarksApply)
{
  auto* edit = Make<TMaskEdit>(10);
  edit->SetEditMask(">CC-LL-999;0;*");
  edit->SetFocus();
  Key(VK_HOME);
  Type("合同ab12");
  EXPECT_EQ(edit->GetEditText(), "合同-AB-12*");
  EXPECT_EQ(edit->GetText(), "合同AB12 ");
  // Delete blanks the selected places; a paste fills places from the caret.
  edit->SetSelStart(0);
  edit->SetSelLength(4);
  Key(VK_DELETE);
  EXPECT_EQ(edit->GetEditText(), "**-AB-12*");
  Clipbrd::Clipboard()->SetAsText("款项");
  edit->SetSelStart(0);
  edit->SetSelLength(0);
  edit->PasteFromClipboard();
  EXPECT_EQ(edit->GetEditText(), "款项-AB-12*");
  // Text set by code goes through the mask.
  edit->SetText("甲乙xy3");
  EXPECT_EQ(edit->GetEditText(), "甲乙-xy-3**");
}

TEST_F(EditsTest, ValidateEditRaisesAtTheFirstBadPlace)
{
  auto* edit = Make<TMaskEdit>(10);
  auto* other = Make<TEdit>(40);
  edit->SetEditMask("!99-00;1;_");
  edit->SetFocus();
  Key(VK_HOME);
  // Unmodified: nothing to validate.
  EXPECT_NO_THROW(edit->ValidateEdit());
  Type("12");
  EXPECT_EQ(edit->GetEditText(), "12-__");
  try {
    edit->ValidateEdit();
    FAIL() << "no error";
  } catch (const EDBEditError& e) {
    EXPECT_EQ(AnsiString(e.Message()), "Invalid input value.  Use escape key to abandon changes");
  }
  EXPECT_EQ(edit->GetSelStart(), 3);
  // Leaving the box validates it and the focus stays.
  other->SetFocus();
  EXPECT_TRUE(edit->Focused());
  Type("45");
  EXPECT_NO_THROW(other->SetFocus());
  EXPECT_EQ(edit->GetText(), "12-45");
}

TEST_F(EditsTest, AMaskChangeKeepsTheValue)
{
  auto* edit = Make<TMaskEdit>(10);
  edit->SetText("123456");
  edit->SetEditMask("000-000;0;_");
  EXPECT_EQ(edit->GetEditText(), "123-456");
  EXPECT_EQ(edit->GetText(), "123456");
  edit->SetEditMask("");
  EXPECT_EQ(edit->GetText(), "123456");
  EXPECT_FALSE(edit->IsMasked());
}

TEST_F(EditsTest, MemoLinesWithAndWithoutAWindow)
{
  for (bool windowed : {false, true}) {
    auto* memo = new TMemo(Owner.get());
    if (windowed) {
      memo->SetParent(Form);
      memo->GetHandle();
    }
    TStrings* lines = memo->GetLines();
    EXPECT_EQ(lines->GetCount(), 0);
    lines->Add("合同");
    lines->Add("客户");
    lines->Insert(1, "款项");
    lines->Insert(0, "");
    EXPECT_EQ(memo->GetText(), "\r\n合同\r\n款项\r\n客户") << windowed;
    lines->SetStrings(2, "发票");
    lines->Delete(3);
    lines->Delete(0);
    EXPECT_EQ(lines->GetCount(), 2) << windowed;
    EXPECT_EQ(lines->GetStrings(1), "发票") << windowed;
    EXPECT_EQ(memo->GetText(), "合同\r\n发票") << windowed;
    EXPECT_THROW(lines->GetStrings(2), EStringListError);
    // A final break adds no line.
    memo->SetText("a\r\nb\r\n");
    EXPECT_EQ(lines->GetCount(), 2) << windowed;
    lines->Add("c");
    EXPECT_EQ(memo->GetText(), "a\r\nb\r\nc") << windowed;
    lines->Clear();
    EXPECT_EQ(lines->GetCount(), 0) << windowed;
  }
}

TEST_F(EditsTest, AMemoLineLongerThanTheLineBufferIsReadWhole)
{
  auto* memo = Make<TMemo>(10);
  memo->SetWordWrap(false);
  AnsiString longLine(70000, 'x');
  memo->GetLines()->SetText("a\r\n" + longLine + "\r\nb");
  EXPECT_EQ(memo->GetLines()->GetStrings(1), longLine);
}

TEST_F(EditsTest, MemoReturnsAndTabs)
{
  auto* memo = Make<TMemo>(10);
  auto* after = Make<TEdit>(120);
  memo->SetFocus();
  Type("合同");
  Key(VK_RETURN);
  Type("款项");
  EXPECT_EQ(memo->GetLines()->GetCount(), 2);
  EXPECT_EQ(memo->GetCaretPos().y, 1);
  // Without WantReturns Enter makes no line; without WantTabs Tab moves on.
  memo->SetWantReturns(false);
  Key(VK_RETURN);
  EXPECT_EQ(memo->GetLines()->GetCount(), 2);
  memo->SetWantTabs(true);
  Key(VK_TAB);
  EXPECT_TRUE(memo->Focused());
  EXPECT_EQ(memo->GetText(), "合同\r\n款项\t");
  memo->SetWantTabs(false);
  Key(VK_TAB);
  EXPECT_TRUE(after->Focused());
}

TEST_F(EditsTest, ClassesAndPropertiesArePublished)
{
  for (const char* name : {"TEdit", "TMaskEdit", "TMemo"}) EXPECT_NE(Classes::FindClass(name), nullptr) << name;
  TMaskEdit edit(nullptr);
  TMemo memo(nullptr);
  for (const char* p : {"Text", "MaxLength", "PasswordChar", "CharCase", "ReadOnly", "OnChange", "EditMask"})
    EXPECT_TRUE(TypInfo::IsPublishedProp(&edit, p)) << p;
  for (const char* p : {"Lines", "WordWrap", "ScrollBars", "Alignment", "WantReturns", "WantTabs"})
    EXPECT_TRUE(TypInfo::IsPublishedProp(&memo, p)) << p;
  TypInfo::SetStrProp(&edit, TypInfo::GetPropInfo(&edit, "EditMask"), "000;0;_");
  EXPECT_EQ(edit.GetEditText(), "___");
}
