// Tab controls and page controls on a headless form: tabs changed at run time, the user's
// choice of a tab with its events, pages shown, hidden, moved and freed.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/commctrl/tab/Tab.h"
#include "platform/forms/tests/ControlsTestUtil.h"
#include "platform/stdctrls/StdCtrls.h"
#include "platform/stdctrls/comctrls/PageControl.h"
#include "platform/stdctrls/comctrls/TabControl.h"
#include "platform/stdctrls/tests/StdCtrlsTestUtil.h"
#include "platform/win/backend/Headless.h"
#include "platform/win/input/InputQueue.h"
#include "platform/win/queue/Messages.h"

namespace {

class TabsTest : public FormsTest {
protected:
  void SetUp() override
  {
    FormsTest::SetUp();
    StdCtrls::Initialize();
    Form = MakeForm(500, 350);
  }
  // The tab texts the window shows, "|"-joined.
  static std::string WindowTabs(TWinControl* Tabs)
  {
    HWND h = Tabs->GetHandle();
    std::string out;
    int n = int(Windows::SendMessage(h, TCM_GETITEMCOUNT, 0, 0));
    for (int i = 0; i < n; ++i) {
      char text[64] = {};
      TCITEM item;
      item.mask = TCIF_TEXT;
      item.pszText = text;
      item.cchTextMax = sizeof text;
      Windows::SendMessage(h, TCM_GETITEM, WPARAM(i), reinterpret_cast<LPARAM>(&item));
      out += (i ? "|" : "") + std::string(text);
    }
    return out;
  }
  void ClickTab(TCustomTabControl* Tabs, int Index)
  {
    RECT r = Tabs->TabRect(Index);
    ClickClient(Tabs, POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2});
    Pump();
  }
  void Watch(TCustomTabControl* Tabs)
  {
    Tabs->OnChanging = [this](TObject*, bool& Allow) {
      Log.push_back("changing");
      Allow = !Refuse;
    };
    Tabs->OnChange = [this](TObject*) { Log.push_back("change"); };
  }
  TForm* Form = nullptr;
  std::vector<std::string> Log;
  bool Refuse = false;
};

}  // namespace

TEST_F(TabsTest, TabControlFollowsItsTabsAtRunTime)
{
  auto* tabs = new TTabControl(Owner.get());
  tabs->SetParent(Form);
  tabs->SetBounds(10, 10, 400, 200);
  tabs->GetTabs()->Add("合同");
  tabs->GetTabs()->Add("付款");
  tabs->SetTabIndex(1);
  auto* inside = new TLogControl(Owner.get());
  inside->SetParent(tabs);
  inside->SetAlign(alClient);
  Form->Show();
  Watch(tabs);
  EXPECT_EQ(WindowTabs(tabs), "合同|付款");
  EXPECT_EQ(tabs->GetTabIndex(), 1);
  RECT page = tabs->GetDisplayRect();
  EXPECT_GT(page.top, 10) << "below the tabs";
  EXPECT_EQ(inside->GetBoundsRect().top, page.top);
  EXPECT_EQ(inside->GetBoundsRect().right, page.right);

  struct Step {
    const char* what;
    std::function<void(TStrings*)> change;
    const char* shown;
    int tabIndex;
  };
  const Step steps[] = {
      {"a tab added", [](TStrings* t) { t->Add("发票"); }, "合同|付款|发票", 1},
      {"a tab inserted", [](TStrings* t) { t->Insert(0, "全部"); }, "全部|合同|付款|发票", 1},
      {"a text changed", [](TStrings* t) { t->SetStrings(1, "合同列表"); }, "全部|合同列表|付款|发票", 1},
      {"tabs deleted past the chosen one",
       [](TStrings* t) {
         t->Delete(3);
         t->Delete(2);
         t->Delete(1);
       },
       "全部", 0},
      {"all gone", [](TStrings* t) { t->Clear(); }, "", -1},
  };
  for (const Step& s : steps) {
    SCOPED_TRACE(s.what);
    s.change(tabs->GetTabs());
    EXPECT_EQ(WindowTabs(tabs), s.shown);
    EXPECT_EQ(tabs->GetTabIndex(), s.tabIndex);
    EXPECT_EQ(Windows::SendMessage(tabs->GetHandle(), TCM_GETCURSEL, 0, 0), s.tabIndex);
  }
  EXPECT_TRUE(Log.empty()) << "the program's changes are no events";

  tabs->GetTabs()->SetText("甲\r\n乙\r\n丙");
  tabs->SetTabIndex(0);
  ClickTab(tabs, 2);
  EXPECT_EQ(tabs->GetTabIndex(), 2);
  Refuse = true;
  ClickTab(tabs, 1);
  EXPECT_EQ(tabs->GetTabIndex(), 2);
  EXPECT_EQ(Log, (std::vector<std::string>{"changing", "change", "changing"}));
  tabs->SetTabIndex(7);
  EXPECT_EQ(tabs->GetTabIndex(), -1);
}

TEST_F(TabsTest, PagesShowOneAtATimeAndFollowTheirTabs)
{
  auto* pages = new TPageControl(Owner.get());
  pages->SetParent(Form);
  pages->SetBounds(10, 10, 450, 300);
  auto sheet = [&](const char* caption) {
    auto* s = new TTabSheet(Owner.get());
    s->SetPageControl(pages);
    s->SetCaption(caption);
    return s;
  };
  TTabSheet* basic = sheet("基本信息");
  TTabSheet* pay = sheet("付款计划");
  TTabSheet* hidden = sheet("投标");
  hidden->SetTabVisible(false);
  TTabSheet* invoices = sheet("发票");
  Form->Show();
  Watch(pages);
  EXPECT_EQ(pages->GetActivePage(), basic) << "the first page shows at once";
  EXPECT_EQ(WindowTabs(pages), "基本信息|付款计划|发票");
  EXPECT_EQ(pages->GetPageCount(), 4);
  EXPECT_EQ(invoices->GetPageIndex(), 3);
  EXPECT_EQ(invoices->GetTabIndex(), 2);
  EXPECT_EQ(hidden->GetTabIndex(), -1);
  EXPECT_EQ(basic->GetBoundsRect().top, pages->GetDisplayRect().top) << "a page fills the page area";

  auto shown = [&] {
    std::string out;
    for (int i = 0; i < pages->GetPageCount(); ++i)
      if (pages->GetPage(i)->GetVisible()) out += pages->GetPage(i)->GetCaption();
    return out;
  };
  ClickTab(pages, 2);
  EXPECT_EQ(pages->GetActivePage(), invoices);
  EXPECT_EQ(shown(), "发票");
  Refuse = true;
  ClickTab(pages, 0);
  pages->SelectNextPage(true);
  EXPECT_EQ(pages->GetActivePage(), invoices);
  Refuse = false;
  pages->SelectNextPage(true);  // round the end, past the hidden tab
  EXPECT_EQ(pages->GetActivePage(), basic);
  EXPECT_EQ(Log, (std::vector<std::string>{"changing", "change", "changing", "changing", "changing", "change"}));

  Log.clear();
  struct Step {
    const char* what;
    std::function<void()> act;
    const char* tabs;
    TTabSheet* active;
  };
  const Step steps[] = {
      {"by the program", [&] { pages->SetActivePageIndex(1); }, "基本信息|付款计划|发票", pay},
      {"a page moved to the front", [&] { invoices->SetPageIndex(0); }, "发票|基本信息|付款计划", pay},
      {"a caption changed", [&] { pay->SetCaption("收款计划"); }, "发票|基本信息|收款计划", pay},
      {"a hidden tab shown", [&] { hidden->SetTabVisible(true); }, "发票|基本信息|收款计划|投标", pay},
      {"the active page's tab hidden", [&] { pay->SetTabVisible(false); }, "发票|基本信息|投标", hidden},
      {"the active page freed", [&] { delete hidden; }, "发票|基本信息", invoices},
  };
  for (const Step& s : steps) {
    SCOPED_TRACE(s.what);
    s.act();
    EXPECT_EQ(WindowTabs(pages), s.tabs);
    EXPECT_EQ(pages->GetActivePage(), s.active);
    EXPECT_EQ(shown(), std::string(s.active->GetCaption()));
    EXPECT_EQ(Windows::SendMessage(pages->GetHandle(), TCM_GETCURSEL, 0, 0), s.active->GetTabIndex());
  }
  EXPECT_TRUE(Log.empty());
  EXPECT_EQ(pages->GetPageCount(), 3);

  // Parenting a page to the page control joins it; parenting it elsewhere leaves.
  auto* other = new TTabSheet(Owner.get());
  other->SetParent(pages);
  EXPECT_EQ(other->GetPageControl(), pages);
  other->SetParent(Form);
  EXPECT_EQ(other->GetPageControl(), nullptr);
  EXPECT_THROW(pages->SetActivePage(other), EInvalidOperation);
  EXPECT_THROW(pages->GetPage(3), EListError);
}
