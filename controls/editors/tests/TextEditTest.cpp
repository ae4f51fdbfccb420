// The text editor on a headless desktop: properties, the value protocol through the EDIT window,
// MaxLength in characters, password echo and character case on CP936 text, lookup completion
// and the lookup data, the view info's text, and the editor in place.
#include <gtest/gtest.h>

#include <memory>

#include "controls/editors/EditorsModule.h"
#include "controls/editors/tests/EditTestEditors.h"
#include "controls/editors/textedit/cxInnerTextEdit.h"
#include "controls/editors/textedit/cxTextEdit.h"
#include "controls/editors/textedit/cxTextEditViewInfo.h"
#include "controls/framework/tests/ControlTestUtil.h"
#include "platform/classes/ClassRegistry.h"
#include "platform/classes/Reader.h"
#include "platform/classes/Writer.h"
#include "platform/forms/app/Clipboard.h"
#include "platform/forms/forms/Form.h"
#include "platform/rtl/AnsiStrings.h"
#include "platform/rtl/StringList.h"
#include "platform/rtl/Streams.h"
#include "platform/gdi/dc/GdiObjects.h"
#include "platform/gdi/draw/Regions.h"
#include "platform/win/WinUser.h"
#include "platform/win/window/Windows.h"
#include "platform/win/input/Focus.h"
#include "platform/win/queue/Messages.h"

namespace {

// A text editor whose properties answer a chosen editing style and that selects lookup items
// by key, as the combo editors do.
class TTextEditStyledProperties : public TcxTextEditProperties {
  PELTO_CLASS(TTextEditStyledProperties, TcxTextEditProperties)
public:
  using TcxTextEditProperties::TcxTextEditProperties;
  int Style = 0;
  int GetEditingStyle() override { return Style; }
  TClass GetContainerClass() const override;
};

class TTextEditStyled : public TcxCustomTextEdit {
  PELTO_CLASS(TTextEditStyled, TcxCustomTextEdit)
public:
  using TcxCustomTextEdit::TcxCustomTextEdit;
  TClass GetPropertiesClass() const override { return TTextEditStyledProperties::StaticClass(); }
  TTextEditStyledProperties* Props() { return static_cast<TTextEditStyledProperties*>(GetProperties()); }
  bool CanSelectLookupItemByKey(bool) override { return true; }
  bool PopupOpen = false;
  bool HasOpenPopup() override { return PopupOpen; }
  void ClosePopupByEscape() { SetPopupJustClosed(true); }
};

TClass TTextEditStyledProperties::GetContainerClass() const { return TTextEditStyled::StaticClass(); }

struct TextEditTest : cxWindowTest {
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
  template <class T = TcxTextEdit>
  T* Make(int Top = 10, int Width = 120)
  {
    auto* e = new T(Form);
    e->SetParent(Form);
    e->SetBounds(10, Top, Width, 21);
    Pump();
    return e;
  }
  void Focus(TcxCustomTextEdit* E)
  {
    E->SetFocus();
    Pump();
  }
  static AnsiString Shown(TcxCustomTextEdit* E)
  {
    return static_cast<TcxCustomTextEditViewInfo*>(E->GetEditViewInfo())->GetText();
  }
  static void SetItems(TcxCustomTextEdit* E, std::initializer_list<const char*> Items)
  {
    TStringList* l = E->GetTextProperties()->GetLookupItems();
    l->Clear();
    for (const char* s : Items) l->Add(s);
  }
};

}  // namespace

// ---- Properties

TEST_F(TextEditTest, PropertiesKeepTheirBoundsAndLengthRules)
{
  TcxTextEditProperties p(nullptr);
  EXPECT_EQ(p.GetMaxLength(), 0);
  EXPECT_FALSE(p.IsMaxLengthStored());
  p.SetMaxLength(-5);
  EXPECT_EQ(p.GetMaxLength(), 0);
  EXPECT_TRUE(p.IsMaxLengthStored());
  p.SetMaxValue(5);
  p.SetMinValue(10);  // never above an assigned maximum
  EXPECT_EQ(p.GetMinValue(), 5);
  p.SetMaxValue(1);  // never below an assigned minimum
  EXPECT_EQ(p.GetMaxValue(), 5);
  EXPECT_EQ(p.GetSupportedOperations(), 174u);
  EXPECT_TRUE(p.CanResetEditValue());
  p.SetHideCursor(true);
  EXPECT_EQ(p.GetEditingStyle(), 3);
  EXPECT_FALSE(p.CanResetEditValue());
}

TEST_F(TextEditTest, DisplayTextShowsPasswordStarsPerByteAndFoldsOnlyAsciiLetters)
{
  TcxTextEditProperties p(nullptr);
  struct Case {
    TcxEditEchoMode Echo;
    TEditCharCase CharCase;
    const char* Value;
    const char* Expected;
  };
  // "合同" is four bytes; its trail bytes include values in the ASCII letter range.
  const Case cases[] = {
      {eemPassword, ecNormal, "abc", "***"},        {eemPassword, ecNormal, "合同", "****"},
      {eemNormal, ecUpperCase, "abc", "ABC"},       {eemNormal, ecUpperCase, "a合同b", "A合同B"},
      {eemNormal, ecLowerCase, "AB表格", "ab表格"}, {eemNormal, ecNormal, "aB", "aB"},
  };
  for (const Case& c : cases) {
    p.SetEchoMode(c.Echo);
    p.SetCharCase(c.CharCase);
    EXPECT_EQ(System::WideToAnsi(p.GetDisplayText(Variant(AnsiString(c.Value)))), AnsiString(c.Expected)) << c.Value;
  }
  // Trail bytes that look like letters stay as they are.
  const AnsiString hide = "\xB1\x61";  // a double-byte character whose trail byte is 'a'
  p.SetEchoMode(eemNormal);
  p.SetCharCase(ecUpperCase);
  EXPECT_EQ(System::WideToAnsi(p.GetDisplayText(Variant(hide))), hide);
}

TEST_F(TextEditTest, EditListStyleAcceptsOnlyLookupItemsIgnoringCase)
{
  TTextEditStyledProperties p(nullptr);
  p.Style = 1;
  p.GetLookupItems()->Add("Apple");
  p.GetLookupItems()->Add("Banana");
  struct Case {
    const char* Text;
    bool Valid;
  };
  for (const Case& c : {Case{"apple", true}, Case{"", true}, Case{"Cherry", false}, Case{"Appl", false}}) {
    Variant v{AnsiString(c.Text)};
    EXPECT_EQ(p.IsDisplayValueValid(v, true), c.Valid) << c.Text;
    if (c.Valid) EXPECT_EQ(Variants::VarToStr(v), AnsiString(c.Text));  // the case as typed
  }
}

TEST_F(TextEditTest, NumericDescendantRefusesValuesThatAreNoNumbers)
{
  struct TNumericProperties : TcxTextEditProperties {
    using TcxTextEditProperties::TcxTextEditProperties;
    bool IsEditValueNumeric() override { return true; }
  } p(nullptr);
  Variant display;
  p.PrepareDisplayValue(Variant(2.5), display, true);
  EXPECT_EQ(Variants::VarToStr(display), AnsiString("2.5"));
  p.PrepareDisplayValue(Variant::Null(), display, true);
  EXPECT_EQ(Variants::VarToStr(display), AnsiString());
  try {
    p.PrepareDisplayValue(Variants::VarFromDateTime(40000), display, true);
    FAIL() << "a date is no number";
  } catch (EConvertError& e) {
    EXPECT_EQ(e.Message(), AnsiString("Could not convert to numeric value"));
  }
}

TEST_F(TextEditTest, AssignedEmptyDisplayFormatSurvivesTheStream)
{
  Classes::RegisterClass(TcxTextEdit::StaticClass());
  auto* e = Make<TcxTextEdit>();
  e->GetTextProperties()->SetDisplayFormat("");
  ASSERT_TRUE(e->GetTextProperties()->IsDisplayFormatStored());
  TMemoryStream stream;
  Classes::WriteComponent(&stream, e);
  auto* back = Make<TcxTextEdit>(40);
  stream.SetPosition(0);
  Classes::ReadComponent(&stream, back);
  EXPECT_TRUE(back->GetTextProperties()->IsDisplayFormatStored());
  EXPECT_TRUE(back->GetTextProperties()->GetDisplayFormat().empty());
}

TEST_F(TextEditTest, TextEditorIsRegisteredWithItsDescription)
{
  TcxRegisteredClasses* r = cxEdit::GetRegisteredEditProperties();
  bool found = false;
  for (int i = 0; i < r->GetCount(); ++i)
    if (r->GetItem(i) == TcxTextEditProperties::StaticClass()) {
      EXPECT_EQ(r->GetDescription(i), AnsiString("TextEdit|Represents a single line text editor"));
      found = true;
    }
  EXPECT_TRUE(found);
}

// ---- Value protocol and messages

TEST_F(TextEditTest, EditValueShowsInTheEditWindowAndTextSetsTheValue)
{
  auto* e = Make();
  e->SetEditValue(Variant(AnsiString("合同")));
  EXPECT_EQ(e->GetInnerTextEditControl()->GetText(), AnsiString("合同"));
  e->SetText("abc");
  EXPECT_EQ(Variants::VarToStr(e->GetEditValue()), AnsiString("abc"));
  EXPECT_EQ(e->GetText(), AnsiString("abc"));
}

TEST_F(TextEditTest, GetTextCopiesWhatFitsWithoutSplittingACharacter)
{
  auto* e = Make();
  struct Case {
    const char* Text;
    int Buffer;
    const char* Copied;
  };
  const Case cases[] = {
      {"abcdef", 5, "abcd"},  {"abcdef", 1, ""},
      {"abcdef", 0, ""},      {"合同ab", 4, "合"},  // the second character would need bytes 3 and 4 of 3
      {"合同ab", 6, "合同a"},
  };
  for (const Case& c : cases) {
    e->SetText(c.Text);
    char buffer[16];
    std::fill(std::begin(buffer), std::end(buffer), 'x');
    const LRESULT n = Windows::SendMessage(e->GetHandle(), WM_GETTEXT, WPARAM(c.Buffer), LPARAM(buffer));
    EXPECT_EQ(n, LRESULT(strlen(c.Copied))) << c.Text << " into " << c.Buffer;
    if (c.Buffer > 0) EXPECT_STREQ(buffer, c.Copied);
    if (c.Buffer == 0) EXPECT_EQ(buffer[0], 'x');
  }
  EXPECT_EQ(Windows::SendMessage(e->GetHandle(), WM_GETTEXTLENGTH, 0, 0), 6);
}

TEST_F(TextEditTest, TypedChineseAndLatinTextReachesTheValueOnExit)
{
  auto* e = Make();
  auto* other = Make(40);
  Focus(e);
  Type("ab合同");
  EXPECT_EQ(e->GetText(), AnsiString("ab合同"));
  EXPECT_TRUE(e->GetEditModified());
  Key(VK_BACK);  // a whole double-byte character
  EXPECT_EQ(e->GetText(), AnsiString("ab合"));
  Focus(other);
  EXPECT_EQ(Variants::VarToStr(e->GetEditValue()), AnsiString("ab合"));
}

TEST_F(TextEditTest, MaxLengthCountsCharactersForTypingPasteAndSetSelText)
{
  auto* e = Make();
  e->GetTextProperties()->SetMaxLength(5);
  Focus(e);
  Type("合同ab表格");
  EXPECT_EQ(e->GetText(), AnsiString("合同ab表"));
  struct Case {
    const char* Start;
    const char* Pasted;
    const char* Result;
    int Caret;
  };
  const Case cases[] = {
      {"abc", "12345", "abc12", 5},
      {"abc", "合同表格", "abc合同", 7},
      {"合同表", "abc", "合同表ab", 8},
      {"abcde", "x", "abcde", 5},  // nothing fits: nothing happens
  };
  for (const Case& c : cases) {
    e->SetText(c.Start);
    e->SetSelStart(int(strlen(c.Start)));
    Clipbrd::Clipboard()->SetAsText(c.Pasted);
    Windows::SendMessage(e->GetInnerTextEditControl()->GetHandle(), WM_PASTE, 0, 0);
    EXPECT_EQ(e->GetText(), AnsiString(c.Result)) << c.Start << " + " << c.Pasted;
    EXPECT_EQ(e->GetSelStart(), c.Caret) << c.Start << " + " << c.Pasted;
  }
  // In the middle, what is inserted comes first; the tail gives way.
  e->SetText("ab");
  e->SetSelStart(1);
  e->SetSelText("合同表格");
  EXPECT_EQ(e->GetText(), AnsiString("a合同表格"));
  e->SetText("abc");
  e->SetSelStart(1);
  e->SetSelText("合");
  EXPECT_EQ(e->GetText(), AnsiString("a合bc"));
  EXPECT_EQ(e->GetSelStart(), 3);
}

TEST_F(TextEditTest, PasteKeepsTheFirstLineAndReadOnlyRefusesIt)
{
  auto* e = Make();
  Focus(e);
  Clipbrd::Clipboard()->SetAsText("one\r\ntwo");
  KeyWith('V', VK_CONTROL);
  EXPECT_EQ(e->GetText(), AnsiString("one"));
  e->GetTextProperties()->SetReadOnly(true);
  e->SetSelStart(3);
  KeyWith('V', VK_CONTROL);
  EXPECT_EQ(e->GetText(), AnsiString("one"));
}

TEST_F(TextEditTest, CutAndClearRemoveTheSelectionWithTheCaretAtItsStart)
{
  auto* e = Make();
  Focus(e);
  e->SetText("合同abc");
  e->SetSelStart(2);
  e->SetSelLength(3);
  Windows::SendMessage(e->GetInnerTextEditControl()->GetHandle(), WM_CUT, 0, 0);
  EXPECT_EQ(e->GetText(), AnsiString("合bc"));
  EXPECT_EQ(Clipbrd::Clipboard()->GetAsText(), AnsiString("同a"));
  EXPECT_EQ(e->GetSelStart(), 2);
  e->SelectAll();
  Windows::SendMessage(e->GetHandle(), WM_CLEAR, 0, 0);
  EXPECT_EQ(e->GetText(), AnsiString());
}

TEST_F(TextEditTest, EditWindowTakesCaseAndPasswordEcho)
{
  auto* e = Make();
  e->GetTextProperties()->SetCharCase(ecUpperCase);
  Focus(e);
  Type("ab合c");
  EXPECT_EQ(e->GetText(), AnsiString("AB合C"));
  e->GetTextProperties()->SetEchoMode(eemPassword);
  EXPECT_EQ(e->GetInnerTextEditControl()->GetPasswordChar(), '*');
  EXPECT_EQ(e->GetText(), AnsiString("AB合C"));  // the text itself stays
}

// ---- Showing the EDIT window

TEST_F(TextEditTest, RightAlignedEditorDrawsItsTextUntilFocusedThenEditsLeftAligned)
{
  auto* e = Make();
  auto* other = Make(40);
  e->GetTextProperties()->GetAlignment()->SetHorz(taRightJustify);
  e->SetText("合同abc");
  Focus(other);
  auto* vi = static_cast<TcxCustomTextEditViewInfo*>(e->GetEditViewInfo());
  EXPECT_FALSE(vi->TextInfo.EditWindowShown);
  EXPECT_EQ(Shown(e), AnsiString("合同abc"));
  EXPECT_EQ(vi->TextInfo.TextFlags & 7, 2);  // drawn right-aligned
  const HWND inner = e->GetInnerTextEditControl()->GetHandle();
  auto clippedAway = [inner] {
    HRGN r = Windows::CreateRectRgn(0, 0, 0, 0);
    const int kind = Windows::GetWindowRgn(inner, r);
    Windows::DeleteObject(r);
    return kind == NULLREGION;
  };
  EXPECT_TRUE(clippedAway());
  Focus(e);
  EXPECT_TRUE(vi->TextInfo.EditWindowShown);
  EXPECT_FALSE(clippedAway());
  EXPECT_EQ(e->GetInnerTextEditControl()->GetAlignment(), taLeftJustify);
  // Without left alignment on editing, the EDIT window keeps the editor's alignment.
  e->GetTextProperties()->SetUseLeftAlignmentOnEditing(false);
  EXPECT_EQ(e->GetInnerTextEditControl()->GetAlignment(), taRightJustify);
}

TEST_F(TextEditTest, UnfocusedPasswordEditorDrawsStars)
{
  auto* e = Make();
  auto* other = Make(40);
  e->GetTextProperties()->GetAlignment()->SetHorz(taCenter);
  e->GetTextProperties()->SetEchoMode(eemPassword);
  e->SetText("合a");
  Focus(other);
  EXPECT_EQ(Shown(e), AnsiString("***"));
}

TEST_F(TextEditTest, HintIsNeededOnlyForTextWiderThanItsRectangle)
{
  auto* e = Make(10, 60);
  auto* other = Make(40);
  e->GetTextProperties()->GetAlignment()->SetHorz(taRightJustify);
  Focus(other);
  TcxCanvas* canvas = e->GetCanvas();
  AnsiString text;
  bool multi = false;
  RECT r;
  e->SetText("ab");
  EXPECT_FALSE(e->GetEditViewInfo()->NeedShowHint(canvas, POINT{30, 10}, text, multi, r));
  e->SetText("合同管理系统合同管理系统");
  EXPECT_TRUE(e->GetEditViewInfo()->NeedShowHint(canvas, POINT{30, 10}, text, multi, r));
  EXPECT_EQ(text, AnsiString("合同管理系统合同管理系统"));
  EXPECT_FALSE(multi);
}

// ---- Lookup completion

TEST_F(TextEditTest, TypingCompletesFromLookupItemsAndBackspaceSearchesAgain)
{
  auto* e = Make();
  SetItems(e, {"Apple", "Apricot", "Banana"});
  Focus(e);
  Type("ap");
  EXPECT_EQ(e->GetText(), AnsiString("Apple"));
  EXPECT_EQ(e->GetSelStart(), 2);
  EXPECT_EQ(e->GetSelText(), AnsiString("ple"));
  EXPECT_TRUE(e->GetLookupSelection());
  Key(VK_BACK);
  EXPECT_EQ(e->GetText(), AnsiString("Apple"));
  EXPECT_EQ(e->GetSelStart(), 1);
  EXPECT_EQ(e->GetSelText(), AnsiString("pple"));
  Type("pr");
  EXPECT_EQ(e->GetText(), AnsiString("Apricot"));
  EXPECT_EQ(e->GetSelText(), AnsiString("icot"));
  Type("x");  // no item: the character replaces the completion
  EXPECT_EQ(e->GetText(), AnsiString("Aprx"));
  EXPECT_FALSE(e->GetLookupSelection());
}

TEST_F(TextEditTest, ChineseInputCompletesAsWholeCharacters)
{
  auto* e = Make();
  SetItems(e, {"合同管理", "合作"});
  Focus(e);
  Type("合");
  EXPECT_EQ(e->GetText(), AnsiString("合同管理"));
  EXPECT_EQ(e->GetSelText(), AnsiString("同管理"));
  Type("作");
  EXPECT_EQ(e->GetText(), AnsiString("合作"));
  EXPECT_EQ(e->GetSelLength(), 0);
  Key(VK_BACK);
  EXPECT_EQ(e->GetText(), AnsiString("合同管理"));
  EXPECT_EQ(e->GetSelText(), AnsiString("同管理"));
}

TEST_F(TextEditTest, LookupDataLocatesAndMovesByTheItemsTable)
{
  auto* e = Make<TTextEditStyled>();
  SetItems(e, {"Apple", "Apricot", "Banana"});
  TcxCustomTextEditLookupData* d = e->GetLookupData();
  ASSERT_NE(d, nullptr);
  struct LocateCase {
    const char* Text;
    bool Found;
    const char* Spelled;
    const char* Tail;
    int Key;
  };
  const LocateCase locates[] = {
      {"ap", true, "Ap", "ple", 0}, {"APR", true, "Apr", "icot", 1}, {"b", true, "B", "anana", 2},
      {"", false, "", "", -1},      {"Apples", false, "", "", -1},
  };
  for (const LocateCase& c : locates) {
    AnsiString text = c.Text, tail;
    EXPECT_EQ(d->Locate(text, tail, true), c.Found) << c.Text;
    if (c.Found) {
      EXPECT_EQ(text, AnsiString(c.Spelled));
      EXPECT_EQ(tail, AnsiString(c.Tail));
    }
    EXPECT_EQ(d->GetCurrentKey(), c.Key) << c.Text;
  }
  struct MoveCase {
    int From;
    TcxLookupMoveDirection Direction;
    bool Cycle;
    int To;
  };
  const MoveCase moves[] = {
      {2, lmdNext, false, 2},  {2, lmdNext, true, 0},  {0, lmdPrev, false, 0},      {0, lmdPrev, true, 2},
      {1, lmdFirst, false, 0}, {0, lmdLast, false, 2}, {-1, lmdPageDown, false, 2}, {2, lmdPageUp, false, 0},
  };
  for (const MoveCase& c : moves) {
    d->SetSelectedKey(Variant(c.From));
    d->MoveSelection(c.Direction, c.Cycle);
    EXPECT_EQ(d->GetCurrentKey(), c.To) << c.From << " direction " << int(c.Direction);
  }
  EXPECT_EQ(d->GetKeyText(Variant(-1)), AnsiString());
  EXPECT_EQ(d->GetKeyText(Variant(3)), AnsiString());
  EXPECT_EQ(d->GetKeyText(Variant(1)), AnsiString("Apricot"));
  EXPECT_TRUE(d->IsItemText("BANANA"));
}

TEST_F(TextEditTest, FixedListIgnoresDeleteAndSideKeysAndMovesWithUpDown)
{
  auto* e = Make<TTextEditStyled>();
  e->Props()->Style = 2;
  SetItems(e, {"Apple", "Banana", "Cherry"});
  e->GetLookupData()->SetSelectedKey(Variant(0));
  EXPECT_EQ(e->GetText(), AnsiString("Apple"));
  EXPECT_FALSE(static_cast<TcxCustomTextEditViewInfo*>(e->GetEditViewInfo())->TextInfo.EditWindowShown);
  Focus(e);
  for (int key : {VK_DELETE, VK_LEFT, VK_RIGHT}) {
    Key(key);
    EXPECT_EQ(e->GetText(), AnsiString("Apple")) << key;
  }
  Key(VK_DOWN);
  EXPECT_EQ(e->GetText(), AnsiString("Banana"));
  Key(VK_END);
  EXPECT_EQ(e->GetText(), AnsiString("Cherry"));
  Key(VK_UP);
  EXPECT_EQ(e->GetText(), AnsiString("Banana"));
  Type("c");  // typing only searches
  EXPECT_EQ(e->GetText(), AnsiString("Cherry"));
  Type("x");
  EXPECT_EQ(e->GetText(), AnsiString("Cherry"));
}

TEST_F(TextEditTest, EscapeThatClosedAPopupIsNotHandledTwice)
{
  auto* e = Make<TTextEditStyled>();
  Focus(e);
  Type("abc");
  int escapes = 0;
  e->OnKeyPress = [&](TObject*, char& Key) {
    if (Key == 27) ++escapes;
  };
  e->ClosePopupByEscape();
  Windows::SendMessage(e->GetInnerTextEditControl()->GetHandle(), WM_CHAR, 27, 0);
  EXPECT_EQ(escapes, 0);
  EXPECT_EQ(e->GetText(), AnsiString("abc"));
  Windows::SendMessage(e->GetInnerTextEditControl()->GetHandle(), WM_CHAR, 27, 0);
  EXPECT_EQ(escapes, 1);  // the next Escape is an ordinary one
}

// ---- In place

TEST_F(TextEditTest, InplaceEditorTakesTheActivationKeyAndPassesEdgeKeys)
{
  auto* host = new TcxTestInplaceHost(Form);
  host->SetParent(Form);
  host->SetBounds(10, 80, 300, 20);
  TcxTextEditProperties props(nullptr);
  host->Columns = {&props, &props};
  host->Values = {Variant(AnsiString("x")), Variant(AnsiString("y"))};
  Pump();
  host->SetFocus();
  Pump();
  Type("合");
  auto* e = dynamic_cast<TcxTextEdit*>(host->GetActiveEdit());
  ASSERT_NE(e, nullptr);
  EXPECT_TRUE(e->IsInplace());
  EXPECT_EQ(e->GetText(), AnsiString("合"));
  Key(VK_RIGHT);  // at the end of the text: the host moves on
  ASSERT_FALSE(host->PassedKeys.empty());
  EXPECT_EQ(host->PassedKeys.back(), Word(VK_RIGHT));
  // A click on the second cell activates its editor with the value shown.
  Click(host, 150, 10);
  auto* second = dynamic_cast<TcxTextEdit*>(host->GetActiveEdit());
  ASSERT_NE(second, nullptr);
  EXPECT_EQ(second->GetText(), AnsiString("y"));
}
