// Grid columns over a real table: field binding, titles with sort markers, streaming of explicit
// values, and sorting and filtering handed to an adapter that works on the SQLite query.
#include <gtest/gtest.h>

#include <functional>

#include "gridkit/filter/STFilterEh.h"
#include "gridkit/model/DBGridEhModel.h"
#include "gridkit/tests/GridHostStandIn.h"
#include "gridkit/tests/GridTestDb.h"
#include "platform/classes/Reader.h"
#include "platform/db/Fields.h"
#include "platform/forms/controls/ImgList.h"
#include "platform/forms/graphics/Font.h"
#include "platform/rtl/Streams.h"

namespace {

class Columns : public testing::Test {
protected:
  void SetUp() override
  {
    Db.Exec("create table 合同 (编号 INTEGER, 名称 TEXT(30), 金额 FLOAT)");
    const char* names[] = {"张三的合同", "O'Brien的合同", "李四的合同", "王五的合同"};
    for (int i = 0; i < 4; ++i)
      Db.Exec("insert into 合同 values (:id, :name, :amount)",
              {{"id", i + 1}, {"name", names[i]}, {"amount", (4 - i) * 10.0}});
    Q = Db.Query("select * from 合同 order by 编号");
    Source.SetDataSet(Q.get());
    Host.Link.SetDataSource(&Source);
  }
  TColumnEh* Add(const char* Field)
  {
    TColumnEh* c = Grid.GetColumns()->Add();
    c->SetFieldName(Field);
    return c;
  }
  std::vector<Integer> Ids()
  {
    std::vector<Integer> ids;
    for (Q->First(); !Q->GetEof(); Q->Next()) ids.push_back(Q->FieldByName("编号")->GetAsInteger());
    return ids;
  }

  GridTestDb Db;
  std::unique_ptr<TADOQuery> Q;
  TDataSource Source{nullptr};
  TGridHostStandIn Host;
  TDBGridEhModel Grid{&Host};
};

TEST_F(Columns, BindFieldsLazilyInTheFieldsOwnSpelling)
{
  TColumnEh* c = Add("名称");
  EXPECT_EQ(c->GetField(), Q->FieldByName("名称"));
  EXPECT_EQ(c->GetTitle()->GetCaption(), "名称");
  Q->FieldByName("名称")->SetDisplayLabel("合同名称");
  EXPECT_EQ(c->GetTitle()->GetCaption(), "合同名称");
  EXPECT_FALSE(c->GetReadOnly());
  Grid.ReadOnly = true;
  EXPECT_TRUE(c->GetReadOnly());

  TCollection loose(TColumnEh::StaticClass());
  auto* outside = static_cast<TColumnEh*>(loose.Add());
  outside->SetFieldName("名称");
  EXPECT_EQ(outside->GetField(), nullptr);
  EXPECT_FALSE(outside->GetReadOnly());

  Db.Exec("create table t2 (Code INTEGER)");
  TColumnEh* lower = Add("code");
  EXPECT_EQ(lower->GetField(), nullptr) << "not in this dataset";
  EXPECT_TRUE(Grid.GetColumns()->IsCustomized());
  EXPECT_EQ(Grid.GetColumns()->GetColumnByIndex(1), lower);
  EXPECT_THROW(Grid.GetColumns()->GetColumnByIndex(Grid.GetColumns()->GetCount()), EListError);
}

TEST_F(Columns, DefaultColumnCaptionWritesTheFieldsLabel)
{
  TColumnEh* c = Grid.GetColumns()->AddAutoCreated();
  c->SetFieldName("金额");
  Add("名称");
  EXPECT_FALSE(Grid.GetColumns()->IsCustomized()) << "the first column decides";
  c->GetTitle()->SetCaption("合同金额");
  EXPECT_EQ(Q->FieldByName("金额")->GetDisplayLabel(), "合同金额");
  EXPECT_FALSE(c->IsExplicit(cvTitleCaption));
}

TEST_F(Columns, SortMarkersKeepIndexesWithoutGaps)
{
  TColumnEh* a = Add("编号");
  TColumnEh* b = Add("名称");
  TColumnEh* c = Add("金额");
  Grid.OptionsEh.Include(dghMultiSortMarking);
  for (TColumnEh* col : {a, b, c}) col->GetTitle()->SetSortMarker(smDownEh);
  EXPECT_EQ(c->GetTitle()->GetSortIndex(), 3);
  EXPECT_EQ(Grid.GetSortMarkedColumns(), (TColumnsEhList{a, b, c}));
  c->GetTitle()->SetSortIndex(2);
  EXPECT_EQ(b->GetTitle()->GetSortIndex(), 3);
  EXPECT_EQ(Grid.GetSortMarkedColumns(), (TColumnsEhList{a, c, b}));
  c->GetTitle()->SetSortIndex(5);
  EXPECT_EQ(c->GetTitle()->GetSortIndex(), 2) << "only exchanged with another marked column";
  a->GetTitle()->SetSortMarker(smNoneEh);
  EXPECT_EQ(c->GetTitle()->GetSortIndex(), 1);
  EXPECT_EQ(b->GetTitle()->GetSortIndex(), 2);
  EXPECT_EQ(Grid.GetSortMarkedColumns(), (TColumnsEhList{c, b}));

  Grid.OptionsEh.Exclude(dghMultiSortMarking);
  a->GetTitle()->SetSortMarker(smUpEh);
  EXPECT_EQ(b->GetTitle()->GetSortMarker(), smNoneEh);
  EXPECT_EQ(c->GetTitle()->GetSortIndex(), 0);
  EXPECT_EQ(a->GetTitle()->GetSortIndex(), 1);
  EXPECT_EQ(Grid.GetSortMarkedColumns(), (TColumnsEhList{a}));

  // Loaded values are taken as they are; the list is rebuilt from them, gaps kept.
  Grid.GetColumns()->BeginUpdate();
  a->GetTitle()->SetSortIndex(1);
  c->GetTitle()->SetSortIndex(3);
  b->GetTitle()->SetSortIndex(0);
  Grid.GetColumns()->EndUpdate();
  EXPECT_EQ(Grid.GetSortMarkedColumns(), (TColumnsEhList{a, nullptr, c}));
}

TEST_F(Columns, ToggleCyclesTheMarker)
{
  TColumnEh* a = Add("名称");
  struct Case {
    bool Ctrl;
    std::vector<TSortMarkerEh> Cycle;
  } cases[] = {{false, {smDownEh, smUpEh, smDownEh, smUpEh}}, {true, {smDownEh, smUpEh, smNoneEh, smDownEh}}};
  for (const Case& c : cases) {
    a->GetTitle()->SetSortMarker(smNoneEh);
    for (TSortMarkerEh expected : c.Cycle) {
      a->GetTitle()->ToggleSortMarker(c.Ctrl);
      EXPECT_EQ(a->GetTitle()->GetSortMarker(), expected) << "ctrl " << c.Ctrl;
    }
  }
}

TEST_F(Columns, GridWideDefaultsAndTheExplicitValueRule)
{
  TColumnDefValuesEh* defs = Grid.GetColumnDefValues();
  TColumnTitleDefValuesEh* title = defs->GetTitle();
  Grid.FixedColor = clSilver;
  EXPECT_EQ(title->GetColor(), clSilver);
  title->SetColor(clSilver);  // the current default: marked, not stored
  EXPECT_TRUE(title->ColorExplicit());
  EXPECT_FALSE(title->ColorStored());
  Grid.FixedColor = clGray;
  EXPECT_EQ(title->GetColor(), clSilver) << "an explicit colour no longer follows the grid";
  EXPECT_TRUE(title->ColorStored());

  TColumnEh* c = Add("名称");
  EXPECT_FALSE(c->GetDblClickNextVal());
  defs->SetDblClickNextVal(true);
  title->SetTitleButton(true);
  EXPECT_TRUE(c->GetDblClickNextVal()) << "inherited from the grid";
  EXPECT_TRUE(c->GetTitle()->GetTitleButton());
  c->SetDblClickNextVal(false);
  defs->SetDblClickNextVal(true);
  EXPECT_FALSE(c->GetDblClickNextVal());

  // Assigning defaults leaves HighlightRequired and Footer; a title colour goes only when set.
  TDBGridEhColumnDefValuesEh other(nullptr);
  other.SetHighlightRequired(true);
  other.GetFooter()->SetToolTips(true);
  other.SetEndEllipsis(true);
  other.Assign(defs);
  EXPECT_TRUE(other.GetHighlightRequired());
  EXPECT_TRUE(other.GetFooter()->GetToolTips());
  EXPECT_FALSE(other.GetEndEllipsis());
  EXPECT_TRUE(other.GetDblClickNextVal());
  EXPECT_TRUE(other.GetTitle()->ColorExplicit());
  TDBGridEhColumnDefValuesEh fresh(nullptr);
  other.GetTitle()->Assign(fresh.GetTitle());
  EXPECT_EQ(other.GetTitle()->GetColor(), clSilver) << "an inheriting source colour is not copied";
}

// A grid whose own column widths the tests set.
class TSizedGrid : public TGridHostStandIn {
public:
  std::vector<Integer> Widths = std::vector<Integer>(8, 0);
  Integer GetGridColWidth(Integer Col) override { return Widths[static_cast<std::size_t>(Col)]; }
  void SetGridColWidth(Integer Col, Integer Width) override { Widths[static_cast<std::size_t>(Col)] = Width; }
  Integer GetColumnOffset() override { return 1; }
};

TEST_F(Columns, NaturalAndClampedWidths)
{
  TCollection loose(TColumnEh::StaticClass());
  EXPECT_EQ(static_cast<TColumnEh*>(loose.Add())->GetWidth(), 64) << "outside a grid";

  TColumnEh* name = Add("名称");
  Q->FieldByName("名称")->SetDisplayWidth(10);
  Integer ten = name->NaturalWidth();
  Q->FieldByName("名称")->SetDisplayWidth(20);
  Integer twenty = name->NaturalWidth();
  Integer overhang = 0;
  Integer zero = Grid.TextWidth("0", &overhang);
  EXPECT_GT(zero, 0);
  EXPECT_EQ(twenty - ten, 10 * (zero - overhang));
  EXPECT_EQ(ten, (zero - overhang) * 10 + overhang + 4);

  name->SetWidth(name->NaturalWidth());
  EXPECT_FALSE(name->IsExplicit(cvWidth)) << "the natural width keeps it inheriting";
  name->SetMaxWidth(300);
  name->SetWidth(500);
  EXPECT_EQ(name->GetWidth(), 300);
  name->SetMinWidth(50);
  name->SetWidth(20);
  EXPECT_EQ(name->GetWidth(), 50);
  EXPECT_EQ(name->ClampWidth(1000), 300);
  TColumnEh* none = Add("");
  EXPECT_EQ(none->GetWidth(), Grid.DefaultColWidth);
}

TEST_F(Columns, AutoFitScalesDesignWidthsWithMulDiv)
{
  TSizedGrid host;
  host.Link.SetDataSource(&Source);
  TDBGridEhModel grid(&host);
  auto* a = grid.GetColumns()->Add();
  auto* b = grid.GetColumns()->Add();
  grid.AutoFitColWidths = true;
  a->DesignWidth = 120;
  b->DesignWidth = 80;
  host.Widths[1] = 100;  // a is shown 100 wide
  host.Widths[2] = 70;
  a->SetWidth(90);
  EXPECT_EQ(a->DesignWidth, 108);
  EXPECT_EQ(b->DesignWidth, 92) << "the next column takes the difference";
  b->SetWidth(35);
  EXPECT_EQ(b->DesignWidth, 46) << "the last column passes nothing on";
  EXPECT_EQ(a->DesignWidth, 108);

  grid.AutoFitColWidths = false;
  a->SetWidth(77);
  EXPECT_EQ(host.Widths[1], 77) << "without auto-fit the grid shows the column's width";
}

// A component holding a grid model's columns, as a form holds a grid.
class TGridComponent : public TComponent {
  PELTO_CLASS(TGridComponent, TComponent)
public:
  explicit TGridComponent(TComponent* AOwner) : TComponent(AOwner) {}
  TGridHostStandIn Host;
  TDBGridEhModel Model{&Host};
  TDBGridColumnsEh* GetColumns() const { return Model.GetColumns(); }
  void SetColumns(TDBGridColumnsEh* Value) { Model.GetColumns()->Assign(Value); }
  PELTO_PUBLISHED(p) { p.Property("Columns", &TGridComponent::GetColumns, &TGridComponent::SetColumns); }
};

TEST_F(Columns, ExplicitValuesStreamOnlyWhenTheyDifferFromTheDefault)
{
  TGridComponent grid(nullptr);
  grid.Host.Link.SetDataSource(&Source);
  auto* name = grid.GetColumns()->Add();
  name->SetFieldName("名称");
  name->GetTitle()->SetCaption("合同名称");
  name->SetCheckboxes(false);  // the default for a text field: marked, not stored
  auto* amount = grid.GetColumns()->Add();
  amount->SetFieldName("金额");
  amount->SetReadOnly(true);
  amount->GetTitle()->SetCaption("金额");  // equal to the field's label: not stored
  amount->GetSTFilter()->SetDataField("编号");

  TMemoryStream stream;
  Classes::WriteComponent(&stream, &grid);
  std::string bytes(static_cast<const char*>(stream.GetMemory()), static_cast<std::size_t>(stream.GetSize()));
  EXPECT_EQ(bytes.rfind("TPF0", 0), 0u);
  EXPECT_NE(bytes.find("合同名称"), std::string::npos);
  EXPECT_EQ(bytes.find("Checkboxes"), std::string::npos);
  EXPECT_NE(bytes.find("ReadOnly"), std::string::npos);
  EXPECT_EQ(bytes.find("Title.Caption", bytes.find("金额")), std::string::npos);

  TGridComponent copy(nullptr);
  copy.Host.Link.SetDataSource(&Source);
  stream.SetPosition(0);
  Classes::ReadComponent(&stream, &copy);
  ASSERT_EQ(copy.GetColumns()->GetCount(), 2);
  TColumnEh* c0 = copy.GetColumns()->GetColumnByIndex(0);
  TColumnEh* c1 = copy.GetColumns()->GetColumnByIndex(1);
  EXPECT_EQ(c0->GetTitle()->GetCaption(), "合同名称");
  EXPECT_TRUE(c0->IsExplicit(cvTitleCaption));
  EXPECT_FALSE(c0->IsExplicit(cvCheckboxes));
  EXPECT_TRUE(c1->GetReadOnly());
  EXPECT_FALSE(c1->IsExplicit(cvTitleCaption));
  EXPECT_EQ(c1->GetSTFilter()->GetDataField(), "编号");
}

TEST_F(Columns, LookFollowsTheGridUntilSetOnTheColumn)
{
  TCollection loose(TColumnEh::StaticClass());
  auto* alone = static_cast<TColumnEh*>(loose.Add());
  EXPECT_EQ(alone->GetColor(), clWindow);
  EXPECT_EQ(alone->GetAlignment(), taLeftJustify);
  EXPECT_EQ(alone->GetTitle()->GetColor(), clBtnFace);
  EXPECT_EQ(alone->GetFooter()->GetColor(), clWindow);
  alone->GetFont()->SetSize(14);
  EXPECT_EQ(alone->GetTitle()->GetFont()->GetSize(), 14) << "outside a grid the title takes the column's font";
  EXPECT_EQ(alone->GetFooter()->GetFont()->GetSize(), 14);

  TColumnEh* name = Add("名称");
  TColumnEh* amount = Add("金额");
  EXPECT_EQ(name->GetAlignment(), taLeftJustify);
  EXPECT_EQ(amount->GetAlignment(), taRightJustify) << "numbers are right-justified";
  EXPECT_EQ(amount->GetFooter()->GetAlignment(), taRightJustify);
  EXPECT_TRUE(name->GetWordWrap());
  EXPECT_FALSE(amount->GetWordWrap());

  struct {
    const char* What;
    std::function<void(TColor)> SetGrid;
    std::function<TColor()> Read;
    std::function<void(TColor)> SetOwn;
  } colours[] = {
      {"cell", [&](TColor c) { Grid.Color = c; }, [&] { return name->GetColor(); },
       [&](TColor c) { name->SetColor(c); }},
      {"title", [&](TColor c) { Grid.FixedColor = c; }, [&] { return name->GetTitle()->GetColor(); },
       [&](TColor c) { name->GetTitle()->SetColor(c); }},
      {"footer", [&](TColor c) { Grid.FooterColor = c; }, [&] { return name->GetFooter()->GetColor(); },
       [&](TColor c) { name->GetFooter()->SetColor(c); }},
  };
  for (auto& c : colours) {
    SCOPED_TRACE(c.What);
    c.SetGrid(clYellow);
    EXPECT_EQ(c.Read(), clYellow);
    c.SetOwn(clRed);
    c.SetGrid(clAqua);
    EXPECT_EQ(c.Read(), clRed);
  }

  // Fonts follow the grid's fonts until changed on the column, title or footer.
  Grid.GetFont()->SetSize(11);
  Grid.GetTitleFont()->SetSize(12);
  Grid.GetFooterFont()->SetSize(13);
  EXPECT_EQ(name->GetFont()->GetSize(), 11);
  EXPECT_EQ(name->GetTitle()->GetFont()->GetSize(), 12);
  EXPECT_EQ(name->GetFooter()->GetFont()->GetSize(), 13);
  name->GetFont()->SetStyle({fsBold});
  name->GetTitle()->GetFont()->SetStyle({fsItalic});
  EXPECT_TRUE(name->IsExplicit(cvFont));
  EXPECT_TRUE(name->IsExplicit(cvTitleFont));
  Grid.GetFont()->SetSize(20);
  Grid.GetTitleFont()->SetSize(21);
  EXPECT_EQ(name->GetFont()->GetSize(), 11);
  EXPECT_EQ(name->GetTitle()->GetFont()->GetSize(), 12);
  EXPECT_EQ(amount->GetFont()->GetSize(), 20);
  name->ResetToDefaults();
  EXPECT_EQ(name->GetFont()->GetSize(), 20);
  EXPECT_EQ(name->GetTitle()->GetFont()->GetStyle(), TFontStyles{});
  EXPECT_EQ(name->GetColor(), clAqua);

  // Title alignment: centred with multi-level titles until set.
  EXPECT_EQ(name->GetTitle()->GetAlignment(), taLeftJustify);
  Grid.UseMultiTitle = true;
  EXPECT_EQ(name->GetTitle()->GetAlignment(), taCenter);
  EXPECT_FALSE(Grid.GetColumnDefValues()->GetTitle()->AlignmentExplicit());

  // The input method: a value equal to the grid's keeps the column inheriting.
  Grid.ImeMode = imChinese;
  name->SetImeMode(imChinese);
  EXPECT_FALSE(name->IsExplicit(cvImeMode));
  Grid.ImeMode = imClose;
  EXPECT_EQ(name->GetImeMode(), imClose);
  name->SetImeMode(imOpen);
  Grid.ImeMode = imChinese;
  EXPECT_EQ(name->GetImeMode(), imOpen);

  // Layout and the switches read the grid's column defaults.
  Grid.GetColumnDefValues()->SetLayout(tlCenter);
  Grid.GetColumnDefValues()->SetEndEllipsis(true);
  EXPECT_EQ(amount->GetLayout(), tlCenter);
  EXPECT_TRUE(amount->GetEndEllipsis());
  amount->SetLayout(tlBottom);
  Grid.GetColumnDefValues()->SetLayout(tlTop);
  EXPECT_EQ(amount->GetLayout(), tlBottom);
}

TEST_F(Columns, SortMarkerAreaShrinksWithTheColumn)
{
  Grid.OptionsEh = {dghAutoSortMarking, dghMultiSortMarking};
  TColumnEh* a = Add("名称");
  TColumnEh* b = Add("金额");
  EXPECT_EQ(a->GetTitle()->SortMarkerAreaWidth(), 0) << "no marker";
  a->GetTitle()->SetSortMarker(smDownEh);
  a->SetWidth(40);
  EXPECT_EQ(a->GetTitle()->SortMarkerAreaWidth(), 16);
  a->SetWidth(3);
  EXPECT_EQ(a->GetTitle()->SortMarkerAreaWidth(), 0);
  // With two marked columns the number joins the marker, measured in the sort-number font.
  b->GetTitle()->SetSortMarker(smUpEh);
  Integer digit = Grid.TextWidth("2", nullptr, nullptr, DBGridEh::SortIndexFont());
  EXPECT_GT(digit, 0);
  b->SetWidth(100);
  EXPECT_EQ(b->GetTitle()->SortMarkerAreaWidth(), 16 + digit);
  b->SetWidth(16 + digit + 4 - 1);
  EXPECT_EQ(b->GetTitle()->SortMarkerAreaWidth(), 2 + digit) << "the marker's room without its margin";
}

TEST_F(Columns, LookStreamsWhatWasSetAndDiffers)
{
  TGridComponent grid(nullptr);
  grid.Host.Link.SetDataSource(&Source);
  auto* name = grid.GetColumns()->Add();
  name->SetFieldName("名称");
  name->SetColor(clRed);
  name->SetAlignment(taCenter);
  name->GetFont()->SetStyle({fsBold});
  name->GetTitle()->GetFont()->SetName("宋体");
  name->GetTitle()->SetColor(clYellow);
  name->GetFooter()->SetColor(clLime);
  name->SetImeMode(imChinese);
  auto* amount = grid.GetColumns()->Add();
  amount->SetFieldName("金额");
  amount->SetColor(grid.Model.Color);       // the default: not stored
  amount->SetAlignment(taRightJustify);     // the field's: not stored
  amount->GetTitle()->SetColor(clBtnFace);  // the grid's fixed colour: not stored

  TMemoryStream stream;
  Classes::WriteComponent(&stream, &grid);
  std::string bytes(static_cast<const char*>(stream.GetMemory()), static_cast<std::size_t>(stream.GetSize()));
  std::string second = bytes.substr(bytes.find("金额"));
  for (const char* p : {"Color", "Alignment", "Font"}) EXPECT_EQ(second.find(p), std::string::npos) << p;

  TGridComponent copy(nullptr);
  copy.Host.Link.SetDataSource(&Source);
  stream.SetPosition(0);
  Classes::ReadComponent(&stream, &copy);
  TColumnEh* c0 = copy.GetColumns()->GetColumnByIndex(0);
  TColumnEh* c1 = copy.GetColumns()->GetColumnByIndex(1);
  EXPECT_EQ(c0->GetColor(), clRed);
  EXPECT_EQ(c0->GetAlignment(), taCenter);
  EXPECT_EQ(c0->GetFont()->GetStyle(), TFontStyles{fsBold});
  EXPECT_EQ(c0->GetTitle()->GetFont()->GetName(), "宋体");
  EXPECT_EQ(c0->GetTitle()->GetColor(), clYellow);
  EXPECT_EQ(c0->GetFooter()->GetColor(), clLime);
  EXPECT_EQ(c0->GetImeMode(), imChinese);
  EXPECT_TRUE(c0->IsExplicit(cvFont));
  EXPECT_FALSE(c1->IsExplicit(cvColor));
  EXPECT_FALSE(c1->IsExplicit(cvFont));
  copy.Model.Color = clSilver;
  EXPECT_EQ(c1->GetColor(), clSilver);
}

TEST_F(Columns, EditButtonsNotifyTheirColumnAndCopyEventsToo)
{
  TColumnEh* c = Add("名称");
  int before = Host.GridPaints;
  TEditButtonEh* b = c->GetEditButtons()->Add();
  EXPECT_TRUE(b->GetVisible()) << "a column's buttons are visible ones";
  EXPECT_EQ(b->GetShortCut(), TVisibleEditButtonEh::AltDown);
  b->SetStyle(ebsEllipsisEh);
  EXPECT_GT(Host.GridPaints, before) << "a button change is a change of the column";
  for (auto [in, out] : {std::pair{0, 1}, {7, 4}, {3, 3}}) {
    b->SetNumGlyphs(in);
    EXPECT_EQ(b->GetNumGlyphs(), out);
  }
  int clicks = 0;
  b->OnClick = [&](TObject*, bool&) { ++clicks; };
  TEditButtonEh single(static_cast<TComponent*>(nullptr));
  int changes = 0;
  single.OnChangeInternal = [&](TObject*) { ++changes; };
  single.Assign(b);
  EXPECT_EQ(single.GetStyle(), ebsEllipsisEh);
  EXPECT_EQ(single.GetNumGlyphs(), 3);
  EXPECT_GT(changes, 0);
  bool handled = false;
  single.OnClick(&single, handled);
  EXPECT_EQ(clicks, 1) << "the events are copied with the look";
}

TEST_F(Columns, AnImageListMakesAnImageColumnAndIsForgottenWhenFreed)
{
  TColumnEh* c = Add("编号");
  c->GetPickList()->SetText("一\n二");
  c->GetKeyList()->SetText("1\n2");
  EXPECT_EQ(c->GetColumnKind(), ckKeyPickList);
  {
    TImageList images(nullptr);
    c->SetImageList(&images);
    EXPECT_EQ(c->GetColumnKind(), ckImages);
    c->SetShowImageAndText(true);
    EXPECT_EQ(c->GetColumnKind(), ckKeyPickList);
    c->SetShowImageAndText(false);
    int paints = Host.GridPaints;
    images.Clear();
    EXPECT_GT(Host.GridPaints, paints) << "a change of the list repaints the grid";
  }
  EXPECT_EQ(c->GetImageList(), nullptr);
  EXPECT_EQ(c->GetColumnKind(), ckKeyPickList);
  c->SetCheckboxes(true);
  EXPECT_EQ(c->GetColumnKind(), ckCheckboxes);
}

// Sorts and filters an ADO query with its own Sort and Filter, from the grid's markers and cells.
class TQueryAdapter : public TDataSetFilterSortAdapterEh {
public:
  TQueryAdapter() : TDataSetFilterSortAdapterEh(TCustomADODataSet::StaticClass()) {}
  void ApplySorting(TObject* Grid, TDataSet* DataSet, bool) override
  {
    AnsiString sort;
    for (TColumnEh* c : static_cast<TDBGridEhModel*>(Grid)->GetSortMarkedColumns()) {
      if (!c) continue;
      if (!sort.empty()) sort += ", ";
      sort += c->GetFieldName() + (c->GetTitle()->GetSortMarker() == smUpEh ? " DESC" : " ASC");
    }
    DataSet->SetSort(sort);
  }
  void ApplyFilter(TObject* Grid, TDataSet* DataSet, bool) override
  {
    auto* grid = static_cast<TDBGridEhModel*>(Grid);
    AnsiString filter;
    for (int i = 0; i < grid->GetColumns()->GetCount(); ++i) {
      TSTColumnFilterEh* f = grid->GetColumns()->GetColumnByIndex(i)->GetSTFilter();
      const TSTFilterExpressionEh& e = f->GetParsedExpression();
      if (e.FirstOperator == sfoNone) continue;
      AnsiString field = "[" + f->TargetFieldName() + "]";
      AnsiString cond;
      if (e.FirstOperator == sfoLike)
        cond = field + " LIKE " + DBGridEh::OperandDisplayText("%" + Variants::VarToStr(e.FirstOperand) + "%");
      else
        cond = field + " " + DbUtilsEh::FilterOperatorSqlText[e.FirstOperator] + " " +
               DBGridEh::OperandDisplayText(e.FirstOperand);
      filter += (filter.empty() ? "" : " AND ") + cond;
    }
    LastFilter = filter;
    DataSet->SetFilter(filter);
    DataSet->SetFiltered(!filter.empty());
  }
  AnsiString LastFilter;
};

TEST_F(Columns, TitleClickAndFilterRowReachTheTableThroughAnAdapter)
{
  TColumnEh* name = Add("名称");
  TColumnEh* amount = Add("金额");
  Grid.ApplySorting();
  EXPECT_EQ(Ids(), (std::vector<Integer>{1, 2, 3, 4})) << "no adapter: nothing happens";
  auto adapter = std::make_unique<TQueryAdapter>();
  TQueryAdapter* a = adapter.get();
  DbUtilsEh::RegisterDataSetAdapter(std::move(adapter));

  Grid.TitleClick(amount, false);  // ascending amounts: the ids run backwards
  EXPECT_EQ(Ids(), (std::vector<Integer>{4, 3, 2, 1}));
  Grid.TitleClick(amount, false);
  EXPECT_EQ(Ids(), (std::vector<Integer>{1, 2, 3, 4}));

  name->GetSTFilter()->SetExpressionText("O'Brien的合同");
  EXPECT_EQ(name->GetSTFilter()->ExpressionDisplayText(), "~ 'O''Brien的合同'");
  Grid.ApplyFilter();
  EXPECT_EQ(a->LastFilter, "[名称] LIKE '%O''Brien的合同%'");
  EXPECT_EQ(Ids(), (std::vector<Integer>{2}));
  name->GetSTFilter()->SetExpressionText("= 张三的合同");
  amount->GetSTFilter()->SetExpressionText(">= 30");
  Grid.ApplyFilter();
  EXPECT_EQ(Ids(), (std::vector<Integer>{1}));
  Grid.ClearFilter();
  Grid.ApplyFilter();
  EXPECT_EQ(Ids().size(), 4u);

  int handled = 0;
  Grid.OnApplyFilter = [&](TDBGridEhModel*) { ++handled; };
  Grid.ApplyFilter();
  EXPECT_EQ(handled, 1) << "the grid's own handler replaces the service";
  DbUtilsEh::ClearAdapterRegistry();
}

TEST_F(Columns, FilterTextThatDoesNotParseKeepsTheCondition)
{
  TSTColumnFilterEh* f = Add("金额")->GetSTFilter();
  EXPECT_TRUE(f->GetVisible());
  EXPECT_EQ(f->ExpressionDisplayText(), "");
  struct Case {
    const char* Text;
    const char* Display;
  } cases[] = {{">= 10 and < 20", ">= 10 AND < 20"}, {"= null", "=Null"}, {">5 and", "> 5 AND  ''"}};
  for (const Case& c : cases) {
    f->SetExpressionText(c.Text);
    EXPECT_EQ(f->ExpressionDisplayText(), c.Display) << c.Text;
  }
  f->SetExpressionText(">5");
  EXPECT_THROW(f->SetExpressionText(">5 = 3"), Exception);
  EXPECT_EQ(f->GetExpressionText(), ">5");
  EXPECT_EQ(f->GetParsedExpression().FirstOperator, sfoGreater);
  EXPECT_EQ(Variants::VarType(f->GetParsedExpression().FirstOperand), varDouble) << "the converted operand stays";
  EXPECT_EQ(f->GetParsedExpression().Conjunction, sfoNone) << "nothing of the refused text is kept";

  TSTColumnFilterEh* s = Add("名称")->GetSTFilter();
  s->SetExpressionText("a,b");
  EXPECT_EQ(s->ExpressionDisplayText(), "In ('a','b')");
  EXPECT_EQ(DBGridEh::VariantListToQuotedText(Variants::VarArrayOf({"O'Brien", 2})), "'O''Brien','2'");
  EXPECT_EQ(DBGridEh::VariantListToQuotedText("abc"), "abc");
  s->SetExpressionText("abc");
  EXPECT_EQ(s->ExpressionDisplayText(), "~ 'abc'");
}

}  // namespace
