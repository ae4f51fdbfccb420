// The design-time contract: editor lookup, property lists of one and several objects, the
// kind editors, the platform-type editors (colour, font name, charset, shortcut, cursor),
// component editors and the registries of filters and wizards.
#include <gtest/gtest.h>

#include "platform/classes/ClassRegistry.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/Variants.h"
#include "platform/forms/graphics/Bitmap.h"
#include "report/engine/ReportEngineModule.h"
#include "report/engine/design/frxDsgnIntf.h"
#include "report/engine/model/frxBands.h"
#include "report/engine/model/frxPage.h"
#include "report/engine/model/frxPlugins.h"
#include "report/engine/model/frxReport.h"
#include "report/engine/model/frxrcClass.h"
#include "report/engine/tests/ReportFixtures.h"

namespace {

class TOtherEditor : public TfrxStringProperty {
  PELTO_CLASS(TOtherEditor, TfrxStringProperty)
};
class TNamedEditor : public TfrxStringProperty {
  PELTO_CLASS(TNamedEditor, TfrxStringProperty)
};

class TBandEditor : public TfrxComponentEditor {
  PELTO_CLASS(TBandEditor, TfrxComponentEditor)
};
class TDataEditor : public TfrxComponentEditor {
  PELTO_CLASS(TDataEditor, TfrxComponentEditor)
};

class TTestFilter : public TfrxCustomExportFilter {
  PELTO_CLASS(TTestFilter, TfrxCustomExportFilter)
public:
  explicit TTestFilter(TComponent* AOwner) : TfrxCustomExportFilter(AOwner) {}
  void ExportObject(TfrxComponent*) override {}
};

TfrxPropertyItem* Find(TfrxPropertyList* l, const AnsiString& name)
{
  for (int i = 0; i < l->GetCount(); ++i)
    if (l->GetItems(i)->Editor->GetName() == name) return l->GetItems(i);
  return nullptr;
}

class DesignIntfTest : public ::testing::Test {
protected:
  void SetUp() override
  {
    frxrcClass::Initialize();
    frxDsgnIntf::Finalize();
    frxDsgnIntf::Initialize();
  }
  // The registries go back to what the module registers, for the tests that follow.
  void TearDown() override
  {
    frxDsgnIntf::Finalize();
    ReportEngineModule::Finalize();
    ReportEngineModule::Initialize();
  }
};

}  // namespace

TEST_F(DesignIntfTest, NamedAndClassEntriesWinOverTypeEntries)
{
  auto* reg = frxDsgnIntf::PropertyEditorRegistry();
  const TTypeInfo* str = TypInfo::TypeInfo<AnsiString>();
  TTestMemoView m(nullptr);
  int typeOnly = reg->GetCount();
  reg->Register(str, nullptr, "", TOtherEditor::StaticClass());
  reg->Register(str, nullptr, "Caption", TNamedEditor::StaticClass());
  reg->Register(str, nullptr, "", TfrxStringProperty::StaticClass());  // a later type-only entry
  EXPECT_EQ(reg->GetEditorIndex(str, &m, "caption"), typeOnly + 1);
  EXPECT_EQ(reg->GetEditorIndex(str, &m, "OnBeforePrint"), typeOnly);  // the earliest type-only
  EXPECT_EQ(reg->GetEditorIndex(TypInfo::TypeInfo<Integer>(), &m, "Count"), -1);
  // Event types go to the event editor.
  static const TTypeInfo* ev = TypInfo::MakeAliasType("TfrxNotifyEvent", str);
  EXPECT_EQ(reg->GetEditorIndex(ev, &m, "OnX"), -1);
  reg->RegisterEventEditor(TfrxStringProperty::StaticClass());
  EXPECT_EQ(reg->GetEditorIndex(ev, &m, "OnX"), reg->GetCount() - 1);
  // Hiding, for the class and its descendants only.
  frxDsgnIntf::HideProperties(TfrxReportComponent::StaticClass(), "Count;Ratio");
  TfrxPropertyList list(nullptr);
  list.SetComponent(&m);
  EXPECT_EQ(Find(&list, "Count"), nullptr);
  EXPECT_EQ(Find(&list, "Ratio"), nullptr);
  EXPECT_NE(Find(&list, "Caption"), nullptr);
  TfrxReportPage page(nullptr);
  list.SetComponent(&page);
  EXPECT_NE(Find(&list, "Columns"), nullptr);
}

TEST_F(DesignIntfTest, PropertyListDescribesEveryKindSortedByName)
{
  TTestMemoView m(nullptr);
  m.SetName("Memo1");
  TfrxPropertyList list(nullptr);
  list.SetComponent(&m);
  AnsiString names;
  for (int i = 0; i < list.GetCount(); ++i) names += list.GetItems(i)->Editor->GetName() + ",";
  EXPECT_EQ(names, "Align,Caption,Count,Font,Height,Left,Link,Marks,Name,ParentFont,Ratio,Tag,Top,Width,WordWrap,");
  // The set gets one element row per value of its element type.
  TfrxPropertyItem* marks = Find(&list, "Marks");
  ASSERT_TRUE(marks && marks->SubProperty);
  EXPECT_EQ(marks->Editor->GetValue(), "[]");
  ASSERT_EQ(marks->SubProperty->GetCount(), 4);
  TfrxPropertyEditor* dontMove = marks->SubProperty->GetItems(2)->Editor.get();
  EXPECT_EQ(dontMove->GetName(), "rfDontMove");
  EXPECT_EQ(dontMove->GetValue(), "False");
  dontMove->SetValue("TRUE");
  EXPECT_TRUE(m.Marks.Contains(rfDontMove));
  EXPECT_EQ(marks->Editor->GetValue(), "[rfDontMove]");
  EXPECT_THROW(dontMove->SetValue("yes"), Exception);
  // The font is a class row with its own properties; the name has its own editor.
  TfrxPropertyItem* font = Find(&list, "Font");
  ASSERT_TRUE(font && font->SubProperty);
  EXPECT_NE(Find(font->SubProperty.get(), "Style"), nullptr);
  EXPECT_NE(dynamic_cast<TfrxNameProperty*>(Find(&list, "Name")->Editor.get()), nullptr);
  EXPECT_EQ(Find(&list, "Name")->Editor->GetAttributes() & paMultiSelect, 0);
  // Kind editors.
  TfrxPropertyEditor* align = Find(&list, "Align")->Editor.get();
  EXPECT_EQ(align->GetValue(), "taLeftJ");
  EXPECT_TRUE(align->Edit());  // steps to the next name of the sorted list
  EXPECT_EQ(m.Align, taRightJ);
  EXPECT_TRUE(align->Edit());  // and wraps
  EXPECT_EQ(m.Align, taCenterJ);
  EXPECT_THROW(align->SetValue("nowhere"), Exception);
  TfrxPropertyEditor* ratio = Find(&list, "Ratio")->Editor.get();
  ratio->SetValue("3,5");
  EXPECT_EQ(m.Ratio, 3.5);
  ratio->SetValue("3.25");
  EXPECT_EQ(m.Ratio, 3.25);
  EXPECT_THROW(Find(&list, "Count")->Editor->SetValue("x"), EConvertError);
}

TEST_F(DesignIntfTest, ComponentPropertiesOfferThePagesObjects)
{
  frxClass::Initialize();
  TfrxReport report(nullptr);
  auto* page = new TfrxReportPage(&report);
  auto* a = new TTestMemoView(page);
  a->SetName("B");
  auto* b = new TTestMemoView(page);
  b->SetName("A");
  auto* band = new TfrxMasterData(page);
  band->SetName("MasterData1");
  TfrxPropertyList list(nullptr);
  list.SetComponent(a);
  TfrxPropertyEditor* link = Find(&list, "Link")->Editor.get();
  link->GetValues();
  EXPECT_EQ(link->GetValuesList()->GetCommaText(), "A,MasterData1");
  link->SetValue("a");
  EXPECT_EQ(a->Link, b);
  EXPECT_EQ(link->GetValue(), "A");
  EXPECT_THROW(link->SetValue("Nobody"), Exception);
  link->SetValue("");
  EXPECT_EQ(a->Link, nullptr);
}

TEST_F(DesignIntfTest, CommonListWritesToEverySelectedObject)
{
  TTestMemoView a(nullptr), b(nullptr);
  a.SetName("A");
  b.SetName("B");
  TfrxPage page(nullptr);
  EXPECT_EQ(frxDsgnIntf::CreateCommonPropertyList({}, nullptr), nullptr);
  auto list = frxDsgnIntf::CreateCommonPropertyList({&a, &b}, nullptr);
  EXPECT_EQ(Find(list.get(), "Name"), nullptr);  // never for two objects
  TfrxPropertyItem* font = Find(list.get(), "Font");
  ASSERT_TRUE(font && font->SubProperty);
  Find(font->SubProperty.get(), "Height")->Editor->SetValue("-20");
  EXPECT_EQ(a.GetFont()->GetHeight(), -20);
  EXPECT_EQ(b.GetFont()->GetHeight(), -20);
  Find(list.get(), "Caption")->Editor->SetValue("both");
  EXPECT_EQ(b.Caption, "both");
  // Only what both have.
  auto mixed = frxDsgnIntf::CreateCommonPropertyList({&a, &page}, nullptr);
  EXPECT_NE(Find(mixed.get(), "Font"), nullptr);
  EXPECT_EQ(Find(mixed.get(), "Caption"), nullptr);
}

TEST_F(DesignIntfTest, ComponentEditorsTakeTheOwnClassElseTheLastAncestor)
{
  auto* reg = frxDsgnIntf::ComponentEditorRegistry();
  TfrxDetailData detail(nullptr);
  EXPECT_EQ(reg->CreateEditor(&detail, nullptr, nullptr), nullptr);
  reg->Register(TfrxBand::StaticClass(), TBandEditor::StaticClass());
  reg->Register(TfrxDataBand::StaticClass(), TDataEditor::StaticClass());
  auto e = reg->CreateEditor(&detail, nullptr, nullptr);
  ASSERT_TRUE(e);
  EXPECT_STREQ(e->ClassName(), "TDataEditor");
  EXPECT_EQ(e->Component, &detail);
  reg->Register(TfrxDetailData::StaticClass(), TBandEditor::StaticClass());
  reg->Register(TfrxBand::StaticClass(), TDataEditor::StaticClass());
  EXPECT_STREQ(reg->CreateEditor(&detail, nullptr, nullptr)->ClassName(), "TBandEditor");
}

TEST_F(DesignIntfTest, FiltersWizardsAndObjectsRegisterOnce)
{
  auto* filters = frxDsgnIntf::ExportFilterRegistry();
  {
    TTestFilter f(nullptr);
    EXPECT_EQ(filters->GetCount(), 1);
    filters->Register(&f);
    filters->Register(nullptr);
    EXPECT_EQ(filters->GetCount(), 1);
    EXPECT_EQ(filters->GetItems(0)->Filter, &f);
    EXPECT_TRUE(f.ShowDialog);
  }
  EXPECT_EQ(filters->GetCount(), 0);
  auto* wizards = frxDsgnIntf::WizardRegistry();
  wizards->Register(TfrxReport::StaticClass(), true);
  wizards->Register(TfrxReport::StaticClass());
  EXPECT_EQ(wizards->GetCount(), 1);
  wizards->Unregister(TfrxReport::StaticClass());
  EXPECT_EQ(wizards->GetCount(), 0);
  auto* objects = frxDsgnIntf::ObjectRegistry();
  objects->RegisterCategory("Shapes", "obShapes", 3);
  objects->RegisterCategory("Shapes", "obShapes", 3);
  objects->Register(TTestMemoView::StaticClass(), "obRect", "", 0);
  objects->Register(TTestMemoView::StaticClass(), "obRoundRect", "", 1);
  objects->Register(TTestMemoView::StaticClass(), "obRect", "", 0);
  EXPECT_EQ(objects->GetCount(), 4);
  EXPECT_EQ(Classes::GetClass("TTestMemoView"), TTestMemoView::StaticClass());
  // A filter outliving the registries leaves quietly.
  auto* late = new TTestFilter(nullptr);
  frxDsgnIntf::Finalize();
  delete late;
}

namespace {

class TTestEngine : public TfrxCustomEngine {
  PELTO_CLASS(TTestEngine, TfrxCustomEngine)
public:
  explicit TTestEngine(TfrxReport* R) : TfrxCustomEngine(R) {}
  void EndPage() override {}
  void NewColumn() override {}
  void NewPage() override {}
  void ShowBand(TfrxBand*) override {}
  void ShowBandByClass(TClass) override {}
  Extended GetFooterHeight() override { return 0; }
  Extended FreeSpace() override { return 0; }
  Variant GetAggregateValue(const AnsiString&, const AnsiString&, TfrxBand*, Integer) override { return Variant(); }
  bool Run() override { return true; }
};

}  // namespace

TEST(PluginBases, EngineFollowsTheReportsOptionsAndStops)
{
  TfrxReport r(nullptr);
  TTestEngine e(&r);
  EXPECT_FALSE(e.GetDoublePass());
  r.GetEngineOptions()->DoublePass = true;
  EXPECT_TRUE(e.GetDoublePass());
  EXPECT_EQ(TypInfo::GetOrdProp(&e, "DoublePass"), 1);
  e.StopReport();
  EXPECT_TRUE(r.GetTerminated());
}

namespace {

// Another unit's own records of the platform types: registrations match them by name.
class TKeyedControl : public TPersistent {
  PELTO_CLASS(TKeyedControl, TPersistent)
public:
  Integer Color = 0, ShortCut = 0, Cursor = 0;
  Integer GetColor() const { return Color; }
  void SetColor(Integer v) { Color = v; }
  Integer GetShortCut() const { return ShortCut; }
  void SetShortCut(Integer v) { ShortCut = v; }
  Integer GetCursor() const { return Cursor; }
  void SetCursor(Integer v) { Cursor = v; }
  PELTO_PUBLISHED(p)
  {
    static const TTypeInfo* color = TypInfo::MakeAliasType("TColor", TypInfo::TypeInfo<Integer>());
    static const TTypeInfo* shortCut = TypInfo::MakeOrdinalType("TShortCut", tkInteger, otUWord, 0, 0xFFFF);
    static const TTypeInfo* cursor = TypInfo::MakeOrdinalType("TCursor", tkInteger, otSWord, -32768, 32767);
    p.Property("Color", color, &TKeyedControl::GetColor, &TKeyedControl::SetColor);
    p.Property("Cursor", cursor, &TKeyedControl::GetCursor, &TKeyedControl::SetCursor);
    p.Property("ShortCut", shortCut, &TKeyedControl::GetShortCut, &TKeyedControl::SetShortCut);
  }
};

}  // namespace

TEST_F(DesignIntfTest, PlatformTypeEditorsAreChosenByTypeName)
{
  TKeyedControl k;
  TfrxPropertyList list(nullptr);
  list.SetComponent(&k);
  EXPECT_NE(dynamic_cast<TfrxColorProperty*>(Find(&list, "Color")->Editor.get()), nullptr);
  EXPECT_NE(dynamic_cast<TfrxCursorProperty*>(Find(&list, "Cursor")->Editor.get()), nullptr);
  EXPECT_NE(dynamic_cast<TfrxShortCutProperty*>(Find(&list, "ShortCut")->Editor.get()), nullptr);
  TFont font;
  list.SetComponent(&font);
  EXPECT_NE(dynamic_cast<TfrxColorProperty*>(Find(&list, "Color")->Editor.get()), nullptr);
  EXPECT_NE(dynamic_cast<TfrxFontNameProperty*>(Find(&list, "Name")->Editor.get()), nullptr);
  EXPECT_NE(dynamic_cast<TfrxFontCharsetProperty*>(Find(&list, "Charset")->Editor.get()), nullptr);
}

TEST_F(DesignIntfTest, ColorEditorTakesNamesAndNumbers)
{
  TKeyedControl k;
  TfrxPropertyList list(nullptr);
  list.SetComponent(&k);
  TfrxPropertyEditor* e = Find(&list, "Color")->Editor.get();
  EXPECT_EQ(e->GetAttributes(), 73);
  struct {
    const char* Text;
    Integer Stored;
    const char* Shown;
  } cases[] = {
      {"clRed", 0x0000FF, "clRed"},     {"CLBTNFACE", static_cast<Integer>(0x8000000F), "clBtnFace"},
      {"clNone", 0x1FFFFFFF, "clNone"}, {"$00123456", 0x123456, "$00123456"},
      {"255", 0xFF, "clRed"},           {"-16777201", static_cast<Integer>(0xFF00000F), "$FF00000F"},
  };
  for (const auto& c : cases) {
    e->SetValue(c.Text);
    EXPECT_EQ(k.Color, c.Stored) << c.Text;
    EXPECT_EQ(e->GetValue(), c.Shown) << c.Text;
  }
  EXPECT_THROW(e->SetValue("clPink"), EConvertError);
  EXPECT_EQ(k.Color, static_cast<Integer>(0xFF00000F));
  e->GetValues();
  TStringList* v = e->GetValuesList();
  EXPECT_EQ((*v)[0], "clBlack");
  EXPECT_GE(v->IndexOf("clWindowText"), 0);
  // Every listed name turns back into a colour that shows as that name.
  for (int i = 0; i < v->GetCount(); ++i)
    EXPECT_EQ(frxDsgnIntf::ColorToString(frxDsgnIntf::StringToColor((*v)[i])), (*v)[i]);
  // The dialog: cancelled or missing changes nothing.
  EXPECT_FALSE(e->Edit());
  TScopedFunction<frxDsgnIntf::TColorDialogFunc> dialog(
      frxDsgnIntf::ColorDialogService(), [](Integer& c) { return c == 1 ? false : (c = 0x00FF00, true); });
  EXPECT_TRUE(e->Edit());
  EXPECT_EQ(e->GetValue(), "clLime");
  k.Color = 1;
  EXPECT_FALSE(e->Edit());
  EXPECT_EQ(k.Color, 1);
}

TEST_F(DesignIntfTest, ShortCutAndCursorEditors)
{
  TKeyedControl k;
  TfrxPropertyList list(nullptr);
  list.SetComponent(&k);
  TfrxPropertyEditor* sc = Find(&list, "ShortCut")->Editor.get();
  EXPECT_EQ(sc->GetValue(), "(None)");
  struct {
    const char* Text;
    Integer Stored;
    const char* Shown;
  } keys[] = {
      {"Ctrl+S", 0x4053, "Ctrl+S"},
      {"alt+shift+bksp", 0xA008, "Shift+Alt+BkSp"},
      {"Shift+Ctrl+F12", 0x607B, "Shift+Ctrl+F12"},
      {"5", 0x35, "5"},
      {"(none)", 0, "(None)"},
      {"Ctrl+Del", 0x402E, "Ctrl+Del"},
      {"", 0, "(None)"},
      {"4660", 0x1234, "4660"},  // a key without a name keeps its number
  };
  for (const auto& c : keys) {
    sc->SetValue(c.Text);
    EXPECT_EQ(k.ShortCut, c.Stored) << c.Text;
    EXPECT_EQ(sc->GetValue(), c.Shown) << c.Text;
  }
  k.ShortCut = 0x4053;
  EXPECT_THROW(sc->SetValue("Ctrl+Nothing"), Exception);
  EXPECT_EQ(k.ShortCut, 0x4053);
  sc->GetValues();
  TStringList* v = sc->GetValuesList();
  ASSERT_EQ(v->GetCount(), 109);
  EXPECT_EQ((*v)[0], "(None)");
  EXPECT_EQ((*v)[1], "Ctrl+A");
  EXPECT_EQ((*v)[27], "Ctrl+Alt+A");
  EXPECT_EQ((*v)[53], "F1");
  EXPECT_EQ((*v)[101], "Ins");
  EXPECT_EQ((*v)[108], "Shift+Alt+BkSp");
  for (int i = 1; i < v->GetCount(); ++i) EXPECT_NE(frxDsgnIntf::TextToShortCut((*v)[i]), 0) << (*v)[i];

  TfrxPropertyEditor* cur = Find(&list, "Cursor")->Editor.get();
  cur->SetValue("crhourglass");
  EXPECT_EQ(k.Cursor, -11);
  EXPECT_EQ(cur->GetValue(), "crHourGlass");
  cur->SetValue("7");
  EXPECT_EQ(cur->GetValue(), "7");
  EXPECT_THROW(cur->SetValue("crPointy"), EConvertError);
  cur->GetValues();
  EXPECT_EQ((*cur->GetValuesList())[0], "crAppStart");  // sorted
  k.Cursor = 0;
  EXPECT_TRUE(cur->Edit());  // steps through the sorted identifiers
  EXPECT_EQ(cur->GetValue(), "crDrag");
}

TEST_F(DesignIntfTest, FontNameAndCharsetEditors)
{
  TFont font;
  TfrxPropertyList list(nullptr);
  list.SetComponent(&font);
  TfrxPropertyEditor* cs = Find(&list, "Charset")->Editor.get();
  EXPECT_EQ(cs->GetValue(), "DEFAULT_CHARSET");
  cs->SetValue("gb2312_charset");
  EXPECT_EQ(font.GetCharset(), 134);
  cs->SetValue("100");
  EXPECT_EQ(cs->GetValue(), "100");
  EXPECT_THROW(cs->SetValue("KLINGON_CHARSET"), EConvertError);
  cs->GetValues();
  EXPECT_GE(cs->GetValuesList()->IndexOf("RUSSIAN_CHARSET"), 0);

  TfrxPropertyEditor* name = Find(&list, "Name")->Editor.get();
  // The installed screen fonts, the classic faces among them, each name once.
  name->GetValues();
  TStringList* faces = name->GetValuesList();
  for (const char* face :
       {"宋体", "Arial", "Tahoma", "Courier New", "Times New Roman", "MS Sans Serif", "Liberation Sans", "文泉驿正黑"})
    EXPECT_GE(faces->IndexOf(face), 0) << face;
  for (int i = 1; i < faces->GetCount(); ++i) EXPECT_NE((*faces)[i - 1], (*faces)[i]);
  TScopedFunction<frxDsgnIntf::TFontNamesFunc> names(frxDsgnIntf::FontNamesService(), [](TStrings* names) {
    names->Add("Zeta");
    names->Add("Alpha");
  });
  name->GetValues();
  ASSERT_EQ(name->GetValuesList()->GetCount(), 2);
  EXPECT_EQ((*name->GetValuesList())[0], "Alpha");
  font.SetName("Alpha");
  EXPECT_TRUE(name->Edit());
  EXPECT_EQ(font.GetName(), "Zeta");
}

TEST_F(DesignIntfTest, FontEditorShowsTheFontsPropertiesAndSetsTheChosenFontOnEveryObject)
{
  TTestMemoView a(nullptr), b(nullptr);
  a.GetFont()->SetName("宋体");
  b.GetFont()->SetName("Arial");
  auto list = frxDsgnIntf::CreateCommonPropertyList({&a, &b}, nullptr);
  TfrxPropertyItem* item = Find(list.get(), "Font");
  ASSERT_NE(item, nullptr);
  TfrxPropertyEditor* e = item->Editor.get();
  ASSERT_NE(dynamic_cast<TfrxFontProperty*>(e), nullptr);
  EXPECT_EQ(e->GetAttributes(), 60);
  EXPECT_EQ(e->GetValue(), "");
  ASSERT_NE(item->SubProperty, nullptr);
  for (const char* sub : {"Charset", "Color", "Height", "Name", "Pitch", "Style"})
    EXPECT_NE(Find(item->SubProperty.get(), sub), nullptr) << sub;
  // A sub-property writes to the font of every selected object.
  Find(item->SubProperty.get(), "Height")->Editor->SetValue("-20");
  EXPECT_EQ(a.GetFont()->GetHeight(), -20);
  EXPECT_EQ(b.GetFont()->GetHeight(), -20);

  // No dialog, or a cancelled one, changes nothing.
  EXPECT_FALSE(e->Edit());
  AnsiString shown;
  TScopedFunction<frxDsgnIntf::TFontDialogFunc> dialog(frxDsgnIntf::FontDialogService(), [&](TFont& f) {
    shown = f.GetName();
    if (shown == "Cancel") return false;
    f.SetName("Courier New");
    f.SetStyle(TFontStyles{fsBold});
    return true;
  });
  EXPECT_TRUE(e->Edit());
  EXPECT_EQ(shown, "宋体");  // the dialog starts from the first object's font
  for (TTestMemoView* m : {&a, &b}) {
    EXPECT_EQ(m->GetFont()->GetName(), "Courier New");
    EXPECT_EQ(m->GetFont()->GetStyle(), TFontStyles{fsBold});
    EXPECT_EQ(m->GetFont()->GetHeight(), -20);
  }
  a.GetFont()->SetName("Cancel");
  EXPECT_FALSE(e->Edit());
  EXPECT_EQ(a.GetFont()->GetName(), "Cancel");
  EXPECT_EQ(b.GetFont()->GetName(), "Courier New");
}

TEST_F(DesignIntfTest, RegisteredButtonsKeepTheirOwnPicture)
{
  auto* objects = frxDsgnIntf::ObjectRegistry();
  auto* wizards = frxDsgnIntf::WizardRegistry();
  {
    TBitmap bmp;
    bmp.SetSize(22, 22);
    bmp.GetScanLine(3)[4] = 0x123456;
    objects->Register(TTestMemoView::StaticClass(), &bmp, "obText", "", 0, 2);
    objects->RegisterCategory("Other", &bmp, "obOther", 5);
    wizards->Register(TfrxReport::StaticClass(), &bmp, true);
  }  // the caller's picture is gone
  for (TBitmap* kept : {objects->GetItems(0)->ButtonBmp.get(), objects->GetItems(1)->ButtonBmp.get(),
                        wizards->GetItems(0)->ButtonBmp.get()}) {
    ASSERT_NE(kept, nullptr);
    EXPECT_EQ(kept->GetWidth(), 22);
    EXPECT_EQ(kept->GetScanLine(3)[4] & 0xFFFFFF, 0x123456u);
  }
  EXPECT_EQ(objects->GetItems(0)->ButtonImageIndex, 2);
  EXPECT_EQ(wizards->GetItems(0)->ButtonImageIndex, -1);
  EXPECT_TRUE(wizards->GetItems(0)->IsToolbarWizard);
  objects->Register(TTestMemoView::StaticClass(), "obRect", "", 1);
  EXPECT_EQ(objects->GetItems(2)->ButtonBmp, nullptr);
}
