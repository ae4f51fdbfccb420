#include <gtest/gtest.h>

#include "controls/framework/cxStyles.h"
#include "platform/classes/ClassRegistry.h"
#include "platform/classes/Reader.h"
#include "platform/rtl/Streams.h"

namespace {

class TRecordingStyles : public TcxStyles {
  PELTO_CLASS(TRecordingStyles, TcxStyles)
public:
  using TcxStyles::TcxStyles;
  std::vector<int> Reported;
  int DefaultsAsked = 0;
  TFont DefaultFont;

protected:
  void Changed(int Index) override { Reported.push_back(Index); }
  void GetDefaultViewParams(int Index, TObject* Data, TcxStyleViewParams& Params) override
  {
    ++DefaultsAsked;
    Params.Color = clWindow;
    Params.TextColor = clWindowText;
    Params.Font = &DefaultFont;
  }
};

class TTestSheet : public TcxCustomStyleSheet {
  PELTO_CLASS(TTestSheet, TcxCustomStyleSheet)
public:
  using TcxCustomStyleSheet::TcxCustomStyleSheet;
  TClass GetStyleSetClass() const override { return TRecordingStyles::StaticClass(); }
  TRecordingStyles* Styles() { return static_cast<TRecordingStyles*>(GetStyles()); }

protected:
  std::unique_ptr<TcxCustomStyles> CreateStyleSet() override { return std::make_unique<TRecordingStyles>(this); }
};

// A form: stores the components it owns that have no parent of their own.
class TTestForm : public TComponent {
  PELTO_CLASS(TTestForm, TComponent)
public:
  using TComponent::TComponent;
  void GetChildren(TGetChildProc Proc, TComponent* Root) override
  {
    for (int i = 0; i < GetComponentCount(); ++i)
      if (!GetComponent(i)->HasParent()) Proc(GetComponent(i));
  }
};

struct StylesTest : ::testing::Test {
  TTestForm Form{nullptr};
  TcxStyleRepository* Repository = new TcxStyleRepository(&Form);
  TcxStyle* NewStyle() { return static_cast<TcxStyle*>(Repository->CreateItem(TcxStyle::StaticClass())); }
  TTestSheet* NewSheet() { return static_cast<TTestSheet*>(Repository->CreateStyleSheet(TTestSheet::StaticClass())); }
};

TEST_F(StylesTest, ViewParamsComeFromExtraStyleThenStyleThenDefaults)
{
  TRecordingStyles set(nullptr);
  TcxStyleViewParams p;
  set.GetViewParams(0, nullptr, nullptr, p);
  EXPECT_EQ(p.Color, clWindow);
  EXPECT_EQ(p.TextColor, clWindowText);
  EXPECT_EQ(p.Font, &set.DefaultFont);
  EXPECT_EQ(p.Bitmap, nullptr);

  TcxStyle* style = NewStyle();
  style->SetColor(clRed);
  set.SetStyle(0, style);
  set.GetViewParams(0, nullptr, nullptr, p);
  EXPECT_EQ(p.Color, clRed);
  EXPECT_EQ(p.Font, &set.DefaultFont);

  TcxStyle* extra = NewStyle();
  extra->SetTextColor(clBlue);
  TFont big;
  big.SetHeight(-20);
  big.SetStyle({fsBold});
  extra->SetFont(&big);
  style->SetTextColor(clLime);
  set.DefaultsAsked = 0;
  set.GetViewParams(0, nullptr, extra, p);
  EXPECT_EQ(p.Color, clRed);
  EXPECT_EQ(p.TextColor, clBlue);
  EXPECT_EQ(p.Font, extra->GetFont());
  EXPECT_EQ(p.Font->GetHeight(), -20);
  EXPECT_EQ(set.DefaultsAsked, 0);  // nothing missing: defaults not asked

  // Bitmaps count only while allowed.
  TBitmap two;
  two.SetSize(2, 2);
  style->SetBitmap(&two);
  set.GetViewParams(0, nullptr, extra, p);
  EXPECT_EQ(p.Bitmap, nullptr);
  set.BitmapsAllowed = true;
  set.GetViewParams(0, nullptr, extra, p);
  EXPECT_EQ(p.Bitmap, style->GetBitmap());
  EXPECT_EQ(set.GetBackgroundBitmap(0), style->GetBitmap());
}

TEST_F(StylesTest, StyleValuesAssignAndUnassign)
{
  TcxStyle* style = NewStyle();
  style->SetColor(clRed);
  EXPECT_TRUE(style->GetAssignedValues().Contains(svColor));
  style->SetColor(clDefault);
  EXPECT_FALSE(style->GetAssignedValues().Contains(svColor));
  TBitmap three;
  three.SetSize(3, 3);
  style->SetBitmap(&three);
  EXPECT_TRUE(style->GetAssignedValues().Contains(svBitmap));
  EXPECT_EQ(style->GetBitmap()->GetWidth(), 3);
  style->SetBitmap(nullptr);
  EXPECT_FALSE(style->GetAssignedValues().Contains(svBitmap));
  // Changes made to the owned objects themselves count as well.
  style->GetBitmap()->SetSize(2, 2);
  EXPECT_TRUE(style->GetAssignedValues().Contains(svBitmap));
  style->GetBitmap()->SetSize(0, 0);
  EXPECT_FALSE(style->GetAssignedValues().Contains(svBitmap));
  style->GetFont()->SetName("Arial");
  style->SetTextColor(clBlue);
  TcxStyle* copy = NewStyle();
  copy->Assign(style);
  EXPECT_EQ(copy->GetAssignedValues(), (TcxStyleValues{svFont, svTextColor}));
  EXPECT_EQ(copy->GetFont()->GetName(), "Arial");
  copy->RestoreDefaults();
  EXPECT_TRUE(copy->GetAssignedValues().Empty());
  EXPECT_EQ(copy->GetTextColor(), clDefault);
}

TEST_F(StylesTest, ChangesAndDestructionReachTheSets)
{
  TRecordingStyles a(nullptr), b(nullptr);
  TcxStyle* style = NewStyle();
  a.SetStyle(5, style);
  a.SetStyle(2, style);
  b.SetStyle(7, style);
  EXPECT_EQ(a.GetItem(0).Index, 2);  // entries stay sorted
  a.Reported.clear();
  b.Reported.clear();
  style->SetColor(clRed);
  EXPECT_EQ(a.Reported, (std::vector<int>{2, 5}));
  EXPECT_EQ(b.Reported, (std::vector<int>{7}));
  a.SetStyle(5, nullptr);  // still used at index 2: changes keep arriving there
  a.Reported.clear();
  style->SetTextColor(clBlue);
  EXPECT_EQ(a.Reported, (std::vector<int>{2}));
  a.SetStyle(5, style);
  a.Reported.clear();
  b.Reported.clear();
  delete style;
  EXPECT_EQ(a.GetCount(), 0);
  EXPECT_EQ(b.GetCount(), 0);
  EXPECT_EQ(a.Reported, (std::vector<int>{5, 2}));
  EXPECT_EQ(b.Reported, (std::vector<int>{7}));
  EXPECT_EQ(Repository->GetCount(), 0);
}

TEST_F(StylesTest, SheetSuppliesStylesWithoutOwnEntries)
{
  TTestSheet* sheet = NewSheet();
  TcxStyle* style = NewStyle();
  sheet->Styles()->SetStyle(1, style);
  TRecordingStyles set(nullptr);
  set.SetStyleSheet(sheet);
  EXPECT_EQ(set.Reported, (std::vector<int>{1}));
  EXPECT_EQ(set.GetStyle(1), style);
  set.Reported.clear();
  set.SetStyle(1, style);  // already the answer: no entry, no report
  EXPECT_EQ(set.GetCount(), 0);
  EXPECT_TRUE(set.Reported.empty());
  style->SetColor(clRed);  // through the sheet
  EXPECT_EQ(set.Reported, (std::vector<int>{1}));
  set.SetStyleSheet(nullptr);
  EXPECT_EQ(set.GetStyle(1), nullptr);
  set.SetStyleSheet(sheet);
  delete sheet;  // detaches its users
  EXPECT_EQ(set.GetStyleSheet(), nullptr);
}

TEST_F(StylesTest, SheetCannotBeAttachedAcrossClassesToItselfOrInACycle)
{
  TTestSheet* s1 = NewSheet();
  TTestSheet* s2 = NewSheet();
  TcxStyles other(nullptr);
  other.SetStyleSheet(s1);
  EXPECT_EQ(other.GetStyleSheet(), nullptr);  // set of another class
  s1->Styles()->SetStyleSheet(s1);
  EXPECT_EQ(s1->Styles()->GetStyleSheet(), nullptr);
  s1->Styles()->SetStyleSheet(s2);
  EXPECT_EQ(s1->Styles()->GetStyleSheet(), s2);
  s2->Styles()->SetStyleSheet(s1);
  EXPECT_EQ(s2->Styles()->GetStyleSheet(), nullptr);
}

TEST_F(StylesTest, CaptionEqualToNameIsNotStored)
{
  TTestSheet* sheet = NewSheet();
  sheet->SetName("Sheet1");
  EXPECT_EQ(sheet->GetCaption(), "Sheet1");
  sheet->SetCaption("Grid look");
  EXPECT_EQ(sheet->GetCaption(), "Grid look");
  sheet->SetCaption("SHEET1");
  EXPECT_EQ(sheet->GetCaption(), "Sheet1");
  sheet->SetName("Other");
  EXPECT_EQ(sheet->GetCaption(), "Other");
}

TEST_F(StylesTest, RepositoryStoresItsStylesAndSheetsNestedInTheForm)
{
  cxStyles::Initialize();
  Classes::RegisterClasses({TTestSheet::StaticClass(), TTestForm::StaticClass()});
  Form.SetName("Form1");
  Repository->SetName("Repo");
  // As the designer creates them: owned by the form, listed by the repository.
  auto* style = static_cast<TcxStyle*>(Repository->CreateItemEx(TcxStyle::StaticClass(), &Form));
  style->SetName("Red");
  style->SetColor(clRed);
  auto* bold = static_cast<TcxStyle*>(Repository->CreateItemEx(TcxStyle::StaticClass(), &Form));
  bold->SetName("Bold");
  bold->GetFont()->SetStyle({fsBold});
  bold->GetFont()->SetName("宋体");
  bold->GetBitmap()->SetSize(2, 3);
  bold->GetBitmap()->GetScanLine(1)[1] = 0x123456;
  auto* sheet = static_cast<TTestSheet*>(Repository->CreateStyleSheetEx(TTestSheet::StaticClass(), &Form));
  sheet->SetName("Sheet");
  sheet->SetCaption("Grid look");
  TMemoryStream stream;
  Classes::WriteComponent(&stream, &Form);
  stream.SetPosition(0);
  TTestForm copy(nullptr);
  Classes::ReadComponent(&stream, &copy);
  auto* repo = dynamic_cast<TcxStyleRepository*>(copy.FindComponent("Repo"));
  ASSERT_NE(repo, nullptr);
  ASSERT_EQ(repo->GetCount(), 2);
  auto* red = dynamic_cast<TcxStyle*>(copy.FindComponent("Red"));
  ASSERT_NE(red, nullptr);
  EXPECT_EQ(red->GetStyleRepository(), repo);
  EXPECT_EQ(red->GetColor(), clRed);
  EXPECT_EQ(red->GetAssignedValues(), TcxStyleValues{svColor});  // font and bitmap not stored
  auto* readBold = dynamic_cast<TcxStyle*>(copy.FindComponent("Bold"));
  ASSERT_NE(readBold, nullptr);
  EXPECT_EQ(readBold->GetAssignedValues(), (TcxStyleValues{svBitmap, svFont}));
  EXPECT_EQ(readBold->GetFont()->GetName(), "宋体");
  EXPECT_EQ(readBold->GetFont()->GetStyle(), TFontStyles{fsBold});
  ASSERT_EQ(readBold->GetBitmap()->GetWidth(), 2);
  ASSERT_EQ(readBold->GetBitmap()->GetHeight(), 3);
  EXPECT_EQ(readBold->GetBitmap()->GetScanLine(1)[1], 0x123456u);
  auto* readSheet = dynamic_cast<TTestSheet*>(copy.FindComponent("Sheet"));
  ASSERT_NE(readSheet, nullptr);
  EXPECT_EQ(readSheet->GetStyleRepository(), repo);
  EXPECT_EQ(readSheet->GetCaption(), "Grid look");
}

}  // namespace
