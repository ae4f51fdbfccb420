// The report component tree: ownership and parents, names, fonts, bounds and restrictions.
#include <gtest/gtest.h>

#include "platform/rtl/Exceptions.h"
#include "report/engine/model/frxClass.h"
#include "report/engine/model/frxPage.h"
#include "report/engine/model/frxReport.h"
#include "report/engine/tests/ReportFixtures.h"

TEST(ComponentTree, ChildrenBelongToTheirParentAndTheReportOwnsThemAsNames)
{
  TfrxReport report(nullptr);
  auto* page = new TfrxPage(&report);
  auto* memo = new TTestMemoView(page);
  EXPECT_EQ(page->GetParent(), &report);
  EXPECT_EQ(memo->GetOwner(), &report);
  EXPECT_EQ(memo->GetReport(), &report);
  EXPECT_EQ(memo->GetPage(), page);
  EXPECT_EQ(report.GetAllObjects(), (TfrxComponent::TfrxComponentList{page, memo}));
  // Moving to another parent leaves the old one.
  auto* page2 = new TfrxPage(&report);
  memo->SetParent(page2);
  EXPECT_TRUE(page->GetObjects().empty());
  EXPECT_EQ(page2->GetObjects().size(), 1u);
  EXPECT_THROW(page2->SetParent(memo), EInvalidOperation);
  delete page2;  // frees its memo and leaves the report
  EXPECT_EQ(report.GetAllObjects().size(), 1u);
  EXPECT_EQ(report.GetComponentCount(), 1);
}

TEST(ComponentTree, ParentOutsideAReportGivesNoPlatformOwner)
{
  TfrxPage page(nullptr);
  auto* memo = new TTestMemoView(&page);
  EXPECT_EQ(memo->GetOwner(), nullptr);
  EXPECT_EQ(memo->GetParent(), &page);
  EXPECT_EQ(memo->GetReport(), nullptr);
}

TEST(ComponentTree, NamesAreUniquePerReportAndGeneratedFromTheBaseName)
{
  TfrxReport report(nullptr);
  auto* page = new TfrxPage(&report);
  auto* a = new TTestMemoView(page);
  auto* b = new TTestMemoView(page);
  auto* c = new TTestMemoView(page);
  EXPECT_EQ(page->GetBaseName(), "Page");
  EXPECT_EQ(a->GetBaseName(), "TTestMemo");  // only the "Tfrx" prefix goes
  a->SetName("TTestMemo1");
  b->SetName("TTestMemo3");
  c->CreateUniqueName();
  EXPECT_EQ(c->GetName(), "TTestMemo2");
  EXPECT_EQ(report.FindObject("ttestmemo1"), a);
  EXPECT_EQ(report.FindObject("none"), nullptr);
  EXPECT_THROW(c->SetName("TTESTMEMO3"), Exception);
  EXPECT_EQ(c->GetName(), "TTestMemo2");
}

TEST(ComponentTree, FontFollowsTheParentUntilSetOwn)
{
  TfrxPage page(nullptr);
  page.GetFont()->SetName("Tahoma");
  EXPECT_FALSE(page.GetParentFont());
  auto* memo = new TTestMemoView(&page);
  EXPECT_TRUE(memo->GetParentFont());
  EXPECT_EQ(memo->GetFont()->GetName(), "Tahoma");
  page.GetFont()->SetHeight(-20);
  EXPECT_EQ(memo->GetFont()->GetHeight(), -20);  // the change reaches children with ParentFont
  memo->GetFont()->SetName("Arial");
  EXPECT_FALSE(memo->GetParentFont());
  page.GetFont()->SetName("Courier New");
  EXPECT_EQ(memo->GetFont()->GetName(), "Arial");
  TfrxPage lone(nullptr);
  lone.SetParentFont(true);  // no parent: only the flag
  EXPECT_TRUE(lone.GetParentFont());
  EXPECT_EQ(lone.GetFont()->GetName(), "Arial");
}

TEST(ComponentTree, RestrictionsOnlyBindDesignedObjects)
{
  TfrxPage page(nullptr);
  auto* designed = frxClass::CreateForDesign(TTestMemoView::StaticClass(), &page);
  EXPECT_TRUE(designed->GetIsDesigning());
  EXPECT_EQ(designed->GetParent(), &page);
  EXPECT_THROW(frxClass::CreateForDesign(TFont::StaticClass(), &page), EInvalidOperation);
  TTestMemoView m(nullptr);
  m.SetRestrictions(TfrxRestrictions{rfDontMove});
  m.SetBounds(1, 2, 3, 4);
  EXPECT_EQ(m.GetLeft(), 1);
  m.SetIsDesigning(true);
  m.SetBounds(10, 20, 30, 40);
  EXPECT_EQ(m.GetLeft(), 1);
  EXPECT_EQ(m.GetTop(), 2);
  EXPECT_EQ(m.GetWidth(), 30);
  m.SetRestrictions(TfrxRestrictions{rfDontSize});
  m.SetBounds(10, 20, 50, 60);
  EXPECT_EQ(m.GetLeft(), 10);
  EXPECT_EQ(m.GetWidth(), 30);
}

TEST(ComponentTree, AbsolutePositionsSumTheAncestors)
{
  TfrxPage page(nullptr);
  page.SetBounds(5, 7, 0, 0);
  auto* outer = new TTestMemoView(&page);
  outer->SetBounds(10, 20, 0, 0);
  auto* inner = new TTestMemoView(outer);
  inner->SetBounds(1, 2, 0, 0);
  EXPECT_EQ(inner->GetAbsLeft(), 16);
  EXPECT_EQ(inner->GetAbsTop(), 29);
}

TEST(ComponentTree, WriteDiffListsWhatDiffersFromTheReference)
{
  TTestMemoView ref(nullptr), m(nullptr);
  ref.SetBounds(1, 2, 3, 4);
  m.SetBounds(1, 2.00001, 5.5, 4);
  EXPECT_EQ(m.WriteDiff(&ref), " w=\"5.5\"");
  m.GetFont()->SetName("A&B");
  m.GetFont()->SetStyle(TFontStyles{fsBold, fsUnderline});
  m.SetTag(3);
  EXPECT_EQ(m.WriteDiff(&ref), " w=\"5.5\" Font.Name=\"A&#38;B\" Font.Style=\"5\" ParentFont=\"False\" Tag=\"3\"");
}
