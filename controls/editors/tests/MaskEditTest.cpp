// The mask editor on a headless desktop: the three mask modes driven by typed keys and
// characters (Latin and Chinese), with their beeps, caret moves and validity, and the mask
// properties.
#include <gtest/gtest.h>

#include "controls/editors/EditorsModule.h"
#include "controls/editors/maskedit/cxMaskEdit.h"
#include "controls/editors/textedit/cxInnerTextEdit.h"
#include "controls/framework/tests/ControlTestUtil.h"
#include "platform/forms/forms/Form.h"
#include "platform/win/WinUser.h"
#include "platform/win/backend/Headless.h"
#include "platform/win/queue/Messages.h"

namespace {

struct MaskEditTest : cxWindowTest {
  TcxMaskEdit* Edit = nullptr;
  TcxMaskEdit* Other = nullptr;

  void SetUp() override
  {
    cxWindowTest::SetUp();
    EditorsModule::Initialize();
    Edit = new TcxMaskEdit(Form);
    Edit->SetParent(Form);
    Edit->SetBounds(10, 10, 160, 21);
    Other = new TcxMaskEdit(Form);
    Other->SetParent(Form);
    Other->SetBounds(10, 40, 160, 21);
    Edit->GetMaskProperties()->SetBeepOnError(true);
    Pump();
  }
  void TearDown() override
  {
    Owner.reset();
    EditorsModule::Finalize();
    cxWindowTest::TearDown();
  }
  void Mask(TcxEditMaskKind Kind, const char* Text)
  {
    Edit->GetMaskProperties()->SetMaskKind(Kind);
    Edit->GetMaskProperties()->SetEditMask(Text);
  }
  void Focus(TWinControl* C)
  {
    C->SetFocus();
    Pump();
  }
  AnsiString Shown() { return Edit->GetDisplayValueText(); }
  bool Valid() { return Edit->GetMode()->IsValid(Shown()); }

  // One step of a typing table: what to type (or a key), then the text, caret and beeps.
  struct Step {
    const char* Typed;  // null: press Key
    int Key;
    const char* Text;
    int Caret;
    int Beeps;  // the beeps this step adds
  };
  void Run(const char* Name, std::initializer_list<Step> Steps)
  {
    int n = 0;
    for (const Step& s : Steps) {
      const int before = Headless::Beeps();
      if (s.Typed)
        Type(s.Typed);
      else
        cxWindowTest::Key(s.Key);
      EXPECT_EQ(Shown(), AnsiString(s.Text)) << Name << " step " << n;
      EXPECT_EQ(Edit->GetSelStart(), s.Caret) << Name << " step " << n;
      EXPECT_EQ(Headless::Beeps() - before, s.Beeps) << Name << " step " << n;
      ++n;
    }
  }
};

}  // namespace

// ---- Properties

TEST_F(MaskEditTest, BadRegularExpressionIsRefusedWithItsErrors)
{
  Mask(emkRegExpr, "\\d+");
  try {
    Edit->GetMaskProperties()->SetEditMask("(\\d");
    FAIL() << "an unclosed group is no mask";
  } catch (EcxMaskEditError& e) {
    EXPECT_EQ(e.Message().substr(0, 26), AnsiString("Regular expression errors:"));
    EXPECT_NE(e.Message().find("\r\n"), AnsiString::npos);
  }
  EXPECT_EQ(Edit->GetMaskProperties()->GetEditMask(), AnsiString("\\d+"));
}

TEST_F(MaskEditTest, SwitchingBetweenStandardAndRegularExpressionClearsTheMask)
{
  Mask(emkStandard, "000");
  Edit->GetMaskProperties()->SetMaskKind(emkRegExpr);
  EXPECT_EQ(Edit->GetMaskProperties()->GetEditMask(), AnsiString());
  Edit->GetMaskProperties()->SetEditMask("\\d+");
  Edit->GetMaskProperties()->SetMaskKind(emkRegExprEx);  // between the two expression kinds it stays
  EXPECT_EQ(Edit->GetMaskProperties()->GetEditMask(), AnsiString("\\d+"));
  // Assign changes kind and mask together: the new mask stays.
  TcxMaskEditProperties source(nullptr);
  source.SetEditMask("00;0;_");
  Edit->GetMaskProperties()->Assign(&source);
  EXPECT_EQ(Edit->GetMaskProperties()->GetEditMask(), AnsiString("00;0;_"));
  EXPECT_EQ(Edit->GetMode()->MaskKind(), 0);
}

TEST_F(MaskEditTest, BlankMaskIsNoMaskAndMaskedMaxLengthIsZero)
{
  Mask(emkStandard, "  \t");
  EXPECT_FALSE(Edit->IsMasked());
  Edit->GetMaskProperties()->SetMaxLength(3);
  Focus(Edit);
  Type("abcdef");
  EXPECT_EQ(Shown(), AnsiString("abc"));
  Mask(emkStandard, "000");
  EXPECT_EQ(Edit->GetMaskProperties()->GetMaxLength(), 0);
  Edit->GetMaskProperties()->SetMaxLength(3);
  EXPECT_EQ(Edit->GetMaskProperties()->GetMaxLength(), 0);
}

TEST_F(MaskEditTest, StandardMaskShowsTheBareValueUnfocusedAndTheTemplateFocused)
{
  Mask(emkStandard, "(999)000;0;_");
  Edit->SetEditValue(Variant(AnsiString("123456")));
  Focus(Other);
  EXPECT_EQ(Shown(), AnsiString("123456"));
  Edit->GetMaskProperties()->SetAlwaysShowBlanksAndLiterals(true);
  EXPECT_EQ(Shown(), AnsiString("(123)456"));
  Edit->GetMaskProperties()->SetAlwaysShowBlanksAndLiterals(false);
  Focus(Edit);
  EXPECT_EQ(Shown(), AnsiString("(123)456"));
}

TEST_F(MaskEditTest, MaskedEditorIsRegisteredAndValidatesOnEnter)
{
  TcxRegisteredClasses* r = cxEdit::GetRegisteredEditProperties();
  bool found = false;
  for (int i = 0; i < r->GetCount(); ++i)
    if (r->GetItem(i) == TcxMaskEditProperties::StaticClass())
      found = r->GetDescription(i) == "MaskEdit|Represents a generic masked edit control.";
  EXPECT_TRUE(found);
  EXPECT_TRUE(Edit->GetProperties()->GetValidateOnEnter());
}

// ---- Standard mode

TEST_F(MaskEditTest, StandardPhoneMaskFillsPlacesAndSkipsLiterals)
{
  Mask(emkStandard, "!(999) 000-0000;1;_");
  Focus(Edit);
  EXPECT_EQ(Shown(), AnsiString("(___) ___-____"));
  Edit->SetSelStart(0);
  Run("phone", {
                   {"5", 0, "(5__) ___-____", 2, 0},
                   {"55", 0, "(555) ___-____", 6, 0},
                   {"1", 0, "(555) 1__-____", 7, 0},
                   {"x", 0, "(555) 1__-____", 7, 1},  // no digit
                   {nullptr, VK_BACK, "(555) ___-____", 6, 0},
                   {"234567", 0, "(555) 234-567_", 13, 0},
                   {"8", 0, "(555) 234-5678", 14, 0},
                   {"9", 0, "(555) 234-5678", 14, 0},  // at the end: nothing
                   {nullptr, VK_HOME, "(555) 234-5678", 1, 0},
                   {nullptr, VK_END, "(555) 234-5678", 14, 0},
               });
  EXPECT_TRUE(Valid());
  Edit->SetSelStart(2);
  Edit->SetSelLength(6);  // "55) 1"
  Key(VK_DELETE);
  EXPECT_EQ(Shown(), AnsiString("(5__) __4-5678"));
  EXPECT_FALSE(Valid());
  Edit->GetMaskProperties()->SetIgnoreMaskBlank(true);
  EXPECT_FALSE(Valid());  // only the untouched template passes then
  Edit->SelectAll();
  Key(VK_DELETE);
  EXPECT_TRUE(Valid());
}

TEST_F(MaskEditTest, StandardMaskTypesChineseOnlyWhereTwoPlacesTakeIt)
{
  Mask(emkStandard, "CC-00;1;_");
  Focus(Edit);
  Edit->SetSelStart(0);
  Run("chinese", {
                     {"合", 0, "合-__", 3, 0},
                     {"同", 0, "合-__", 3, 1},  // digits only here
                     {"1", 0, "合-1_", 4, 0},
                     {nullptr, VK_HOME, "合-1_", 0, 0},
                     {"a", 0, "a_-1_", 1, 0},  // the trail byte's place goes blank, never half a character
                     {nullptr, VK_LEFT, "a_-1_", 0, 0},
                 });
  Edit->SetSelStart(1);
  Type("同");  // one place left before the literal: refused
  EXPECT_EQ(Shown(), AnsiString("a_-1_"));
}

TEST_F(MaskEditTest, TabAndEscapeNeverReachTheEditWindow)
{
  Mask(emkStandard, "000");
  Focus(Edit);
  AnsiString passed;
  Edit->GetInnerTextEditControl()->OnKeyPress = [&](TObject*, char& Key) { passed += Key; };
  auto* inner = Edit->GetInnerTextEditControl();
  Windows::SendMessage(inner->GetHandle(), WM_CHAR, '\t', 0);
  Windows::SendMessage(inner->GetHandle(), WM_CHAR, 27, 0);
  EXPECT_EQ(Shown(), AnsiString("___"));
  EXPECT_EQ(passed.find('\t'), AnsiString::npos);
}

// ---- Regular-expression modes

TEST_F(MaskEditTest, RegularExpressionRefusesWhatCannotFollow)
{
  Mask(emkRegExpr, "\\d+(,\\d\\d)?");
  Focus(Edit);
  Run("decimal", {
                     {"12", 0, "12", 2, 0},
                     {"a", 0, "12", 2, 1},
                     {",", 0, "12,", 3, 0},
                     {"5", 0, "12,5", 4, 0},
                 });
  EXPECT_FALSE(Valid());
  Edit->GetMaskProperties()->SetIgnoreMaskBlank(true);
  EXPECT_TRUE(Valid());
  Edit->GetMaskProperties()->SetIgnoreMaskBlank(false);
  Type("0");
  EXPECT_TRUE(Valid());
  Run("back", {
                  {nullptr, VK_BACK, "12,5", 4, 0},
                  {nullptr, VK_HOME, "12,5", 0, 0},
                  {nullptr, VK_DELETE, "2,5", 0, 0},
                  {"合", 0, "2,5", 0, 1},
              });
  EXPECT_TRUE(Edit->GetMode()->IsValid(""));
}

TEST_F(MaskEditTest, RegularExpressionTestsTheTailAfterTheCaret)
{
  Mask(emkRegExpr, "[A-Z]\\d");
  Focus(Edit);
  Type("B1");
  EXPECT_EQ(Shown(), AnsiString("B1"));
  Edit->SetSelStart(1);
  const int before = Headless::Beeps();
  Type("C");
  EXPECT_EQ(Shown(), AnsiString("B1"));
  EXPECT_EQ(Headless::Beeps() - before, 1);
  Edit->SetSelStart(0);
  Edit->SetSelLength(1);
  Type("C");
  EXPECT_EQ(Shown(), AnsiString("C1"));
  EXPECT_EQ(Edit->GetSelStart(), 1);
}

TEST_F(MaskEditTest, ExtendedExpressionCompletesAndRemovesLiterals)
{
  Mask(emkRegExprEx, "'('\\d\\d\\d')'\\d\\d\\d");
  EXPECT_TRUE(Edit->GetMode()->IsValid("("));
  EXPECT_FALSE(Edit->GetMode()->IsValid(""));
  Focus(Edit);
  Edit->SetText("(");
  Edit->SetSelStart(1);
  Run("literals", {
                      {"123", 0, "(123)", 5, 0},
                      {nullptr, VK_BACK, "(12", 3, 0},
                      {"3", 0, "(123)", 5, 0},
                      {"45", 0, "(123)45", 7, 0},
                      {nullptr, VK_LEFT, "(123)45", 6, 0},
                      {nullptr, VK_LEFT, "(123)45", 5, 0},
                      {nullptr, VK_LEFT, "(123)45", 3, 0},
                  });
  Edit->SetText("(");
  Edit->SetSelStart(1);
  Run("start", {{nullptr, VK_BACK, "(", 1, 1}});
  EXPECT_TRUE(Valid());
}

TEST_F(MaskEditTest, ValidationReportsAnInvalidMaskedText)
{
  Mask(emkStandard, "000;1;_");
  Focus(Edit);
  Type("1");
  try {
    Edit->ValidateEdit(true);
    FAIL() << "one digit of three";
  } catch (Exception& e) {
    EXPECT_EQ(e.Message(), AnsiString("The edit value is invalid"));
  }
  Edit->SetSelStart(1);  // the failed validation selected the whole text
  Type("23");
  EXPECT_TRUE(Edit->ValidateEdit(true));
  EXPECT_EQ(Variants::VarToStr(Edit->GetEditValue()), AnsiString("123"));
}
