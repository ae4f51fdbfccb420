#include "report/engine/prepared/frxPreviewPages.h"

#include <algorithm>
#include <cmath>

#include "platform/classes/ClassRegistry.h"
#include "platform/gdi/dc/DeviceContext.h"
#include "platform/gdi/dc/GdiObjects.h"
#include "platform/gdi/draw/Shapes.h"
#include "platform/rtl/Conversions.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/FileUtils.h"
#include "platform/rtl/FormatText.h"
#include "platform/rtl/Guards.h"
#include "platform/rtl/SaveSeam.h"
#include "platform/rtl/Streams.h"
#include "platform/rtl/StringUtils.h"
#include "platform/sys/ShellApi.h"
#include "report/engine/model/frxBands.h"
#include "report/engine/model/frxOptions.h"
#include "report/engine/model/frxPage.h"
#include "report/engine/model/frxReport.h"
#include "report/engine/model/frxUtils.h"
#include "report/engine/objects/frxMemoView.h"
#include "report/engine/objects/frxPictureView.h"
#include "report/engine/objects/frxView.h"
#include "report/engine/serialize/frxXMLSerializer.h"
#include "report/engine/xml/frxXML.h"

namespace {

constexpr Integer kCacheSize = 50;
constexpr Extended kPixelsPerMm = frxPage::fr01cm;

[[noreturn]] void InvalidFile() { throw Exception("Invalid file format"); }

bool IsCrossView(const TfrxComponent* Obj)
{
  const char* n = Obj->ClassName();
  return SysUtils::SameText(n, "TfrxCrossView") || SysUtils::SameText(n, "TfrxDBCrossView");
}

AnsiString TrimLead(const AnsiString& s)
{
  size_t i = 0;
  while (i < s.size() && s[i] == ' ') ++i;
  return s.substr(i);
}

// "page<n>" -> n; -1 for any other name.
Integer SourceIndexOf(const AnsiString& Name)
{
  if (Name.size() < 5 || !SysUtils::SameText(Name.substr(0, 4), "page")) return -1;
  Integer n = 0;
  for (size_t i = 4; i < Name.size(); ++i) {
    if (Name[i] < '0' || Name[i] > '9' || n > 100000000) return -1;
    n = n * 10 + (Name[i] - '0');
  }
  return n;
}

Extended AttrFloat(const TfrxXMLItem* Item, const char* Name, Extended Default)
{
  AnsiString v = Item->GetProp(Name);
  if (v.empty()) return Default;
  try {
    return frxUtils::StrToFloatAnySep(v);
  } catch (const EConvertError&) {
    return Default;
  }
}

}  // namespace

// ---- TfrxDictionary --------------------------------------------------------------------------

void TfrxDictionary::Clear()
{
  FNames.clear();
  FSources.clear();
}

void TfrxDictionary::Add(const AnsiString& Name, const AnsiString& SourceName, TfrxComponent* Object)
{
  FSources.push_back({SourceName, Object});
  FNames[Name] = FSources.size() - 1;
}

AnsiString TfrxDictionary::AddUnique(const AnsiString& Base, const AnsiString& SourceName, TfrxComponent* Object)
{
  AnsiString name = CreateUniqueName(Base);
  Add(name, SourceName, Object);
  return name;
}

TfrxComponent* TfrxDictionary::GetObject(const AnsiString& Name) const
{
  auto it = FNames.find(Name);
  return it == FNames.end() ? nullptr : FSources[it->second].Object;
}

AnsiString TfrxDictionary::GetSourceName(const AnsiString& Name) const
{
  auto it = FNames.find(Name);
  return it == FNames.end() ? AnsiString() : FSources[it->second].Name;
}

AnsiString TfrxDictionary::CreateUniqueName(const AnsiString& Base) const
{
  auto taken = [&](Integer n) { return FNames.count(Base + SysUtils::IntToStr(n)) != 0; };
  Integer n = 10000;
  while (n > 1 && !taken(n)) n /= 2;
  while (taken(n)) ++n;
  return Base + SysUtils::IntToStr(n);
}

void TfrxDictionary::ForEach(const std::function<void(const AnsiString&, const AnsiString&)>& Proc) const
{
  for (const auto& [name, index] : FNames) Proc(name, FSources[index].Name);
}

// ---- TfrxOutline -----------------------------------------------------------------------------

TfrxOutline::TfrxOutline(TfrxPreviewPages* APreviewPages) : TfrxCustomOutline(APreviewPages), FPages(APreviewPages) {}

TfrxXMLItem* TfrxOutline::Root() { return FPages->Section("outline"); }

Integer TfrxOutline::GetCount()
{
  if (!FCurItem) FCurItem = Root();
  return FCurItem->GetCount();
}

void TfrxOutline::AddItem(const AnsiString& Text, Integer Top)
{
  if (!FCurItem) FCurItem = Root();
  TfrxXMLItem* item = FCurItem->Add();
  item->SetName("item");
  item->SetProp("text", frxXML::EscapeText(Text));
  item->SetProp("page", SysUtils::IntToStr(FPages->CurPage));
  item->SetProp("top", SysUtils::IntToStr(Top));
  FCurItem = item;
}

void TfrxOutline::LevelDown(Integer Index)
{
  if (!FCurItem) FCurItem = Root();
  if (Index >= 0 && Index < FCurItem->GetCount()) FCurItem = FCurItem->GetItem(Index);
}

void TfrxOutline::LevelRoot() { FCurItem = Root(); }

void TfrxOutline::LevelUp()
{
  if (!FCurItem) FCurItem = Root();
  if (FCurItem != Root() && FCurItem->GetParent()) FCurItem = FCurItem->GetParent();
}

void TfrxOutline::GetItem(Integer Index, AnsiString& Text, Integer& Page, Integer& Top)
{
  if (!FCurItem) FCurItem = Root();
  if (Index < 0 || Index >= FCurItem->GetCount()) return;
  TfrxXMLItem* item = FCurItem->GetItem(Index);
  Text = item->GetProp("text");
  AnsiString p = item->GetProp("page"), t = item->GetProp("top");
  if (!p.empty()) Page = SysUtils::StrToIntDef(p, 0);
  if (!t.empty()) Top = SysUtils::StrToIntDef(t, 0);
}

TfrxXMLItem* TfrxOutline::LastItem()
{
  if (!FCurItem) FCurItem = Root();
  return FCurItem->GetCount() ? FCurItem->GetItem(FCurItem->GetCount() - 1) : FCurItem;
}

Integer TfrxOutline::GetLastItem()
{
  if (!FCurItem) FCurItem = Root();
  return FCurItem->GetCount() - 1;
}

void TfrxOutline::ShiftItems(Integer From, Integer NewTop)
{
  if (!FCurItem) FCurItem = Root();
  if (From >= 0 && From < FCurItem->GetCount()) ShiftItemsAfter(FCurItem->GetItem(From), NewTop);
}

void TfrxOutline::ShiftItemsAfter(TfrxXMLItem* From, Integer NewTop)
{
  TfrxXMLItem* parent = From ? From->GetParent() : nullptr;
  if (!parent) return;
  Integer i = parent->IndexOf(From);
  if (i < 0 || i + 1 >= parent->GetCount()) return;
  TfrxXMLItem* item = parent->GetItem(i + 1);
  Integer dy = NewTop - SysUtils::StrToIntDef(item->GetProp("top"), 0);
  std::vector<TfrxXMLItem*> stack{item};
  while (!stack.empty()) {
    TfrxXMLItem* it = stack.back();
    stack.pop_back();
    it->SetProp("page", SysUtils::IntToStr(SysUtils::StrToIntDef(it->GetProp("page"), 0) + 1));
    it->SetProp("top", SysUtils::IntToStr(SysUtils::StrToIntDef(it->GetProp("top"), 0) + dy));
    for (int k = 0; k < it->GetCount(); ++k) stack.push_back(it->GetItem(k));
  }
}

// ---- TfrxPreviewPages: building --------------------------------------------------------------

TfrxPreviewPages::TfrxPreviewPages(TfrxReport* AReport)
    : TfrxCustomPreviewPages(AReport), FDoc(std::make_unique<TfrxXMLDocument>())
{
  SetOutline(std::make_unique<TfrxOutline>(this));
  Clear();
}

TfrxPreviewPages::~TfrxPreviewPages() { ClearCache(); }

TfrxXMLItem* TfrxPreviewPages::Section(const char* Name)
{
  TfrxXMLItem* root = FDoc->GetRoot();
  if (root->GetName().empty()) root->SetName("preparedreport");
  return root->FindOrAddItem(Name);
}

TfrxXMLItem* TfrxPreviewPages::PageItem(Integer Index)
{
  TfrxXMLItem* pages = Section("previewpages");
  if (Index < 0 || Index >= pages->GetCount()) return nullptr;
  return pages->GetItem(Index);
}

Integer TfrxPreviewPages::GetCount() { return Section("previewpages")->GetCount(); }

void TfrxPreviewPages::ClearCache() { FCache.clear(); }

void TfrxPreviewPages::Clear()
{
  ClearCache();
  FSourcePages.clear();
  FSourceIndex.clear();
  FSourceText.clear();
  FDoc->Clear();
  FDoc->GetRoot()->SetName("preparedreport");
  FDictionary.Clear();
  GetOutline()->LevelRoot();
  CurPage = -1;
  FirstPage = 0;
  FMemory = 0;
  FAdding = true;
  FMarkPage = -1;
  FMarkCount = 0;
}

void TfrxPreviewPages::Initialize()
{
  FDoc->SetTempDir(GetReport()->GetEngineOptions()->TempDir);
  GetReport()->ProgressStart(0);
}

void TfrxPreviewPages::RememberText(TfrxComponent* Copy)
{
  if (Copy->StoreAllProperties()) {
    FSourceText[Copy] = Copy->ClassName();
  } else {
    TfrxXMLSerializer s(nullptr);
    FSourceText[Copy] = s.WriteComponentStr(Copy);
  }
}

void TfrxPreviewPages::RegisterSourceObject(TfrxComponent* Template, TfrxComponent* Copy, Integer SourceIndex)
{
  AnsiString base =
      dynamic_cast<TfrxBand*>(Copy) ? AnsiString("b") : SysUtils::LowerCase(Copy->GetBaseName().substr(0, 1));
  AnsiString name = FDictionary.AddUnique(base, "Page" + SysUtils::IntToStr(SourceIndex) + "." + Copy->GetName(), Copy);
  Copy->SetAlias(name);
  if (Template) Template->SetAlias(name);
  RememberText(Copy);
}

void TfrxPreviewPages::AddSourcePage(TfrxReportPage* Page)
{
  TClass cls = Page->ClassType();
  std::unique_ptr<TfrxReportPage> copy(dynamic_cast<TfrxReportPage*>(cls->Create(nullptr)));
  if (!copy) return;
  copy->AssignWithChildren(Page);
  Integer index = static_cast<Integer>(FSourcePages.size());
  // Same order on both sides: the copy was read from the template's own stream.
  std::vector<TfrxComponent*> tmpl = Page->GetAllObjects();
  std::vector<TfrxComponent*> objs = copy->GetAllObjects();
  std::vector<TfrxComponent*> cross;
  for (size_t i = 0; i < objs.size(); ++i) {
    if (IsCrossView(objs[i])) {
      cross.push_back(objs[i]);
      continue;
    }
    RegisterSourceObject(i < tmpl.size() ? tmpl[i] : nullptr, objs[i], index);
  }
  for (TfrxComponent* c : cross) delete c;
  copy->SetName(Page->GetName());
  FSourceIndex[Page] = index;
  FSourcePages.push_back(std::move(copy));
}

void TfrxPreviewPages::AddToSourcePage(TfrxComponent* Obj)
{
  if (FSourcePages.empty()) return;
  TfrxReportPage* page = FSourcePages.back().get();
  auto* copy = dynamic_cast<TfrxComponent*>(Obj->ClassType()->Create(page));
  if (!copy) return;
  copy->Assign(Obj);
  AnsiString base = Obj->GetBaseName();
  for (Integer n = 1;; ++n) {
    AnsiString name = base + SysUtils::IntToStr(n);
    bool used = page->FindObject(name) != nullptr || (GetReport() && GetReport()->FindObject(name) != nullptr);
    if (!used) {
      copy->SetName(name);
      break;
    }
  }
  RegisterSourceObject(Obj, copy, static_cast<Integer>(FSourcePages.size()) - 1);
}

void TfrxPreviewPages::AddPage(TfrxReportPage* Page)
{
  TfrxEngineOptions* opts = GetReport()->GetEngineOptions();
  if (opts->UseFileCache && static_cast<Int64>(opts->MaxMemSize) * 1048576 < FMemory) {
    TfrxXMLItem* pages = Section("previewpages");
    for (Integer i = pages->GetCount() - 2; i >= 0; --i) {
      TfrxXMLItem* p = pages->GetItem(i);
      if (!p->GetInMemory()) break;
      if (p->GetSwappable()) FDoc->SwapOut(p);
    }
    FMemory = 0;
  }
  ++CurPage;
  if (CurPage < GetCount() && !FAdding) return;
  auto known = FSourceIndex.find(Page);
  Integer source = known != FSourceIndex.end() ? known->second
                   : FSourcePages.empty()      ? 0
                                               : static_cast<Integer>(FSourcePages.size()) - 1;
  TfrxXMLItem* pages = Section("previewpages");
  TfrxXMLItem* item = pages->Add();
  item->SetName("page" + SysUtils::IntToStr(source));
  if (pages->GetCount() > 2) item->SetSwappable(true);
  CurPage = pages->GetCount() - 1;
  // A page the run moves back from (subreports, vertical bands) is followed by the one it made.
  FAdding = false;
  GetReport()->Progress(0, CurPage + 1);
}

void TfrxPreviewPages::WriteObject(TfrxComponent* Obj, TfrxXMLItem* Parent)
{
  if (!Obj->GetVisible()) return;
  TfrxXMLItem* item = Parent;
  if (!dynamic_cast<TfrxSubreport*>(Obj) && !IsCrossView(Obj)) {
    item = Parent->Add();
    TfrxComponent* copy = FDictionary.GetObject(Obj->GetAlias());
    AnsiString text;
    if (!copy || copy == Obj) {
      TfrxXMLSerializer s(nullptr);
      item->SetName(Obj->ClassName());
      text = s.WriteProperties(Obj);
    } else {
      item->SetName(Obj->GetAlias());
      TfrxCustomEngine* engine = Engine;
      if (engine && GetReport()->GetEngineOptions()->DoublePass && !engine->FinalPass) {
        text = Obj->TfrxComponent::WriteDiff(copy);
      } else if (copy->StoreAllProperties()) {
        TfrxXMLSerializer s(nullptr);
        text = s.WriteProperties(Obj) + " " + TrimLead(Obj->TfrxComponent::WriteDiff(copy));
      } else {
        text = Obj->WriteDiff(copy);
      }
    }
    item->SetText(SysUtils::Trim(text));
    FMemory += static_cast<Int64>(item->GetName().size() + item->GetText().size() + sizeof(TfrxXMLItem) + 16);
  }
  for (TfrxComponent* c : Obj->GetObjects()) WriteObject(c, item);
}

void TfrxPreviewPages::AddObject(TfrxComponent* Obj)
{
  TfrxXMLItem* page = PageItem(CurPage);
  if (!page) return;
  FDoc->SwapIn(page);
  WriteObject(Obj, page);
}

Integer TfrxPreviewPages::GetCurPosition()
{
  TfrxXMLItem* page = PageItem(CurPage);
  return page ? page->GetCount() : 0;
}

bool TfrxPreviewPages::BandExists(TfrxBand* Band)
{
  TfrxXMLItem* page = PageItem(CurPage);
  if (!page) return false;
  bool anyOfClass = dynamic_cast<TfrxPageFooter*>(Band) || dynamic_cast<TfrxColumnFooter*>(Band);
  for (int i = 0; i < page->GetCount(); ++i) {
    TfrxComponent* src = FDictionary.GetObject(page->GetItem(i)->GetName());
    if (!src) continue;
    if (src->GetAlias() == Band->GetAlias()) return true;
    if (anyOfClass && src->ClassType() == Band->ClassType()) return true;
  }
  return false;
}

Extended TfrxPreviewPages::GetLastY()
{
  TfrxXMLItem* page = PageItem(CurPage);
  if (!page) return 0;
  Extended result = 0;
  for (int i = 0; i < page->GetCount(); ++i) {
    TfrxXMLItem* item = page->GetItem(i);
    auto* band = dynamic_cast<TfrxBand*>(FDictionary.GetObject(item->GetName()));
    if (!band || dynamic_cast<TfrxPageFooter*>(band)) continue;
    Extended y = AttrFloat(item, "t", band->GetTop()) + AttrFloat(item, "h", band->GetHeight());
    result = std::max(result, y);
  }
  return result;
}

Integer TfrxPreviewPages::CutObjects(Integer From)
{
  TfrxXMLItem* page = PageItem(CurPage);
  TfrxXMLItem* cut = Section("cutted");
  if (!page) return 0;
  while (From >= 0 && From < page->GetCount()) cut->AddItem(page->GetItem(From));
  return page->GetCount();
}

void TfrxPreviewPages::PasteObjects(Extended X, Extended Y)
{
  TfrxXMLItem* root = FDoc->GetRoot();
  int ci = root->Find("cutted");
  if (ci < 0) return;
  TfrxXMLItem* cut = root->GetItem(ci);
  TfrxXMLItem* page = PageItem(CurPage);
  if (page && cut->GetCount() > 0) {
    TfrxXMLItem* first = cut->GetItem(0);
    Extended dx = X - AttrFloat(first, "l", 0), dy = Y - AttrFloat(first, "t", 0);
    while (cut->GetCount() > 0) {
      TfrxXMLItem* item = cut->GetItem(0);
      item->SetProp("l", SysUtils::FloatToStr(static_cast<double>(AttrFloat(item, "l", 0) + dx)));
      item->SetProp("t", SysUtils::FloatToStr(static_cast<double>(AttrFloat(item, "t", 0) + dy)));
      page->AddItem(item);
    }
  }
  delete cut;
}

void TfrxPreviewPages::MarkPosition()
{
  FMarkPage = GetCount() - 1;
  FMarkCount = FMarkPage >= 0 ? PageItem(FMarkPage)->GetCount() : 0;
}

void TfrxPreviewPages::ResetToMark()
{
  ClearCache();
  TfrxXMLItem* root = FDoc->GetRoot();
  if (FMarkPage < 0) {
    for (int i = 0; i < root->GetCount(); ++i)
      if (!SysUtils::SameText(root->GetItem(i)->GetName(), "anchors")) root->GetItem(i)->Clear();
  } else {
    TfrxXMLItem* pages = Section("previewpages");
    while (pages->GetCount() > FMarkPage + 1) delete pages->GetItem(pages->GetCount() - 1);
    TfrxXMLItem* page = pages->GetItem(FMarkPage);
    FDoc->SwapIn(page);
    while (page->GetCount() > FMarkCount) delete page->GetItem(page->GetCount() - 1);
  }
  GetOutline()->LevelRoot();
  CurPage = FMarkPage;
  FMemory = 0;
}

void TfrxPreviewPages::Finish()
{
  ClearCache();
  GetReport()->ProgressStop(0);
}

// ---- Anchors ---------------------------------------------------------------------------------

void TfrxPreviewPages::AddAnchor(const AnsiString& Text)
{
  TfrxXMLItem* item = Section("anchors")->Add();
  item->SetName("item");
  item->SetProp("text", frxXML::EscapeText(Text));
  item->SetProp("page", SysUtils::IntToStr(CurPage));
  item->SetProp("top", SysUtils::IntToStr(Engine ? static_cast<Int64>(std::lround(Engine->CurY)) : 0));
}

TfrxXMLItem* TfrxPreviewPages::GetAnchor(const AnsiString& Text)
{
  TfrxXMLItem* anchors = Section("anchors");
  for (int i = anchors->GetCount() - 1; i >= 0; --i)
    if (SysUtils::SameText(anchors->GetItem(i)->GetProp("text"), Text)) return anchors->GetItem(i);
  return nullptr;
}

Integer TfrxPreviewPages::GetAnchorPage(const AnsiString& Text)
{
  TfrxXMLItem* a = GetAnchor(Text);
  return a ? SysUtils::StrToIntDef(a->GetProp("page"), 0) + 1 : 1;
}

// ---- Rebuilding pages ------------------------------------------------------------------------

void TfrxPreviewPages::BuildObject(TfrxXMLItem* Item, TfrxComponent* Parent)
{
  TfrxXMLSerializer s(nullptr);
  s.SetOwner(Parent);
  TfrxComponent* obj;
  if (TfrxComponent* tmpl = FDictionary.GetObject(Item->GetName())) {
    auto it = FSourceText.find(tmpl);
    AnsiString text = it != FSourceText.end() ? it->second : AnsiString(tmpl->ClassName());
    obj = s.ReadComponentStr(Parent, text + " " + Item->GetText());
    if (obj) {
      obj->SetName(tmpl->GetName());
      obj->SetAlias(Item->GetName());
    }
  } else {
    obj = s.ReadComponentStr(Parent, Item->GetName() + " " + Item->GetText());
  }
  if (!obj) return;
  for (int i = 0; i < Item->GetCount(); ++i) BuildObject(Item->GetItem(i), obj);
}

std::unique_ptr<TfrxReportPage> TfrxPreviewPages::BuildPage(TfrxXMLItem* Item)
{
  FDoc->SwapIn(Item);
  const AnsiString& name = Item->GetName();
  if (SysUtils::SameText(name, "TfrxReportPage") || SysUtils::SameText(name, "TfrxDMPPage")) {
    TClass cls = Classes::FindClass(name);
    std::unique_ptr<TfrxReportPage> page(dynamic_cast<TfrxReportPage*>(cls->Create(nullptr)));
    if (!page) InvalidFile();
    TfrxXMLSerializer s(nullptr);
    s.ReadRootComponent(page.get(), Item);
    return page;
  }
  Integer source = SourceIndexOf(name);
  if (source < 0 || source >= static_cast<Integer>(FSourcePages.size())) InvalidFile();
  TfrxReportPage* src = FSourcePages[static_cast<size_t>(source)].get();
  std::unique_ptr<TfrxReportPage> page(dynamic_cast<TfrxReportPage*>(src->ClassType()->Create(nullptr)));
  page->Assign(src);
  page->SetName(src->GetName());
  for (int i = 0; i < Item->GetCount(); ++i) BuildObject(Item->GetItem(i), page.get());
  return page;
}

TfrxReportPage* TfrxPreviewPages::GetPage(Integer Index)
{
  TfrxXMLItem* item = PageItem(Index);
  if (!item) return nullptr;
  if (!(Engine && Engine->Running)) {
    for (auto it = FCache.begin(); it != FCache.end(); ++it)
      if (it->first == Index) {
        FCache.splice(FCache.begin(), FCache, it);
        return FCache.front().second.get();
      }
  }
  std::unique_ptr<TfrxReportPage> page = BuildPage(item);
  page->AlignChildren();
  TfrxReportPage* result = page.get();
  FCache.emplace_front(Index, std::move(page));
  while (static_cast<Integer>(FCache.size()) > kCacheSize) {
    Integer old = FCache.back().first;
    FCache.pop_back();
    TfrxXMLItem* oldItem = PageItem(old);
    if (oldItem && GetReport()->GetEngineOptions()->UseFileCache && oldItem->GetSwappable() && oldItem->GetInMemory())
      FDoc->SwapOut(oldItem);
  }
  return result;
}

SIZE TfrxPreviewPages::GetPageSize(Integer Index)
{
  TfrxXMLItem* item = PageItem(Index);
  if (!item) return SIZE{0, 0};
  TfrxReportPage* page = nullptr;
  Integer source = SourceIndexOf(item->GetName());
  if (source >= 0 && source < static_cast<Integer>(FSourcePages.size()))
    page = FSourcePages[static_cast<size_t>(source)].get();
  else
    page = GetPage(Index);
  if (!page) return SIZE{0, 0};
  return SIZE{static_cast<LONG>(std::lround(page->GetWidth())), static_cast<LONG>(std::lround(page->GetHeight()))};
}

// ---- Editing ---------------------------------------------------------------------------------

void TfrxPreviewPages::AddEmptyPage(Integer Index)
{
  TfrxXMLItem* ref = PageItem(Index);
  if (!ref) return;
  auto* item = new TfrxXMLItem();
  item->SetName(ref->GetName());
  Section("previewpages")->InsertItem(Index, item);
  ClearCache();
}

void TfrxPreviewPages::DeletePage(Integer Index)
{
  if (GetCount() < 2) return;
  if (TfrxXMLItem* item = PageItem(Index)) delete item;
  ClearCache();
}

void TfrxPreviewPages::ModifyPage(Integer Index, TfrxReportPage* Page)
{
  TfrxXMLItem* item = PageItem(Index);
  if (!item) return;
  FDoc->SwapIn(item);
  item->Clear();
  item->SetText(AnsiString());
  TfrxXMLSerializer s(nullptr);
  s.WriteRootComponent(Page, true, item);
  item->SetSwappable(false);
  ClearCache();
}

// ---- Files -----------------------------------------------------------------------------------

void TfrxPreviewPages::SaveToStream(TStream* Stream)
{
  TfrxReport* report = GetReport();
  TfrxXMLItem* reportItem = Section("report");
  reportItem->Clear();
  TfrxXMLItem* r = reportItem->Add();
  r->SetName(report->ClassName());
  r->SetProp("DotMatrixReport", report->DotMatrixReport ? "1" : "0");
  r->SetProp("PreviewOptions.OutlineVisible", report->GetPreviewOptions()->OutlineVisible ? "1" : "0");
  r->SetProp("PreviewOptions.OutlineWidth", SysUtils::IntToStr(report->GetPreviewOptions()->OutlineWidth));

  TfrxXMLItem* sources = Section("sourcepages");
  sources->Clear();
  for (auto& page : FSourcePages) {
    TfrxXMLSerializer s(nullptr);
    s.WriteRootComponent(page.get(), true, sources->Add());
  }
  TfrxXMLItem* dict = Section("dictionary");
  dict->Clear();
  FDictionary.ForEach([&](const AnsiString& Name, const AnsiString& SourceName) {
    TfrxXMLItem* item = dict->Add();
    item->SetName(Name);
    item->SetProp("name", SourceName);
  });
  FDoc->SetIndented(false);
  FDoc->SaveToStream(Stream);
  sources->Clear();
}

void TfrxPreviewPages::LoadFromStream(TStream* Stream, bool AllowPartialLoading)
{
  Clear();
  FDoc->LoadFromStream(Stream, AllowPartialLoading);
  TfrxXMLItem* root = FDoc->GetRoot();
  if (!SysUtils::SameText(root->GetName(), "preparedreport")) InvalidFile();
  TfrxReport* report = GetReport();
  TfrxXMLItem* reportItem = Section("report");
  if (reportItem->GetCount() > 0) {
    TfrxXMLItem* r = reportItem->GetItem(0);
    report->DotMatrixReport = r->GetProp("DotMatrixReport") == "1";
    report->GetPreviewOptions()->OutlineVisible = r->GetProp("PreviewOptions.OutlineVisible") == "1";
    report->GetPreviewOptions()->OutlineWidth =
        SysUtils::StrToIntDef(r->GetProp("PreviewOptions.OutlineWidth"), report->GetPreviewOptions()->OutlineWidth);
  }
  TfrxXMLItem* sources = Section("sourcepages");
  for (int i = 0; i < sources->GetCount(); ++i) {
    TfrxXMLItem* item = sources->GetItem(i);
    TClass cls =
        Classes::GetClass(SysUtils::SameText(item->GetName(), "TfrxDMPPage") ? "TfrxDMPPage" : "TfrxReportPage");
    if (!cls) cls = TfrxReportPage::StaticClass();
    std::unique_ptr<TfrxReportPage> page(dynamic_cast<TfrxReportPage*>(cls->Create(nullptr)));
    TfrxXMLSerializer s(nullptr);
    s.ReadRootComponent(page.get(), item);
    for (TfrxComponent* c : page->GetAllObjects()) RememberText(c);
    FSourcePages.push_back(std::move(page));
  }
  sources->Clear();
  TfrxXMLItem* dict = Section("dictionary");
  for (int i = 0; i < dict->GetCount(); ++i) {
    TfrxXMLItem* item = dict->GetItem(i);
    AnsiString source = item->GetProp("name");
    size_t dot = source.find('.');
    if (dot == AnsiString::npos || !SysUtils::SameText(source.substr(0, 4), "Page")) InvalidFile();
    Integer index = -1;
    if (!SysUtils::TryStrToInt(source.substr(4, dot - 4), index) || index < 0 ||
        index >= static_cast<Integer>(FSourcePages.size()))
      InvalidFile();
    TfrxComponent* obj = FSourcePages[static_cast<size_t>(index)]->FindObject(source.substr(dot + 1));
    if (!obj) InvalidFile();
    obj->SetAlias(item->GetName());
    FDictionary.Add(item->GetName(), source, obj);
  }
  CheckReferences();
  GetOutline()->LevelRoot();
  CurPage = GetCount() - 1;
}

// Page elements must name a source page that exists (or be full pages).
void TfrxPreviewPages::CheckReferences()
{
  TfrxXMLItem* pages = Section("previewpages");
  for (int i = 0; i < pages->GetCount(); ++i) {
    const AnsiString& name = pages->GetItem(i)->GetName();
    if (SysUtils::SameText(name, "TfrxReportPage") || SysUtils::SameText(name, "TfrxDMPPage")) continue;
    Integer source = SourceIndexOf(name);
    if (source < 0 || source >= static_cast<Integer>(FSourcePages.size())) InvalidFile();
  }
}

bool TfrxPreviewPages::LoadFromFile(const AnsiString& FileName, bool ExceptionIfNotFound)
{
  bool exists = SysUtils::FileExists(FileName);
  if (exists || ExceptionIfNotFound) {
    auto f = std::make_unique<TFileStream>(FileName, fmOpenRead | fmShareDenyWrite);
    LoadFromStream(f.get(), false);
  }
  return exists;
}

void TfrxPreviewPages::SaveToFile(const AnsiString& FileName)
{
  SaveSeam::SaveStream(FileName, [this](TStream* Stream) { SaveToStream(Stream); });
}

// ---- Drawing ---------------------------------------------------------------------------------

namespace frxPreviewPages {

std::vector<TfrxView*> PageViews(TfrxReportPage* Page)
{
  std::vector<TfrxView*> out;
  for (TfrxComponent* c : Page->GetAllObjects())
    if (auto* v = dynamic_cast<TfrxView*>(c)) out.push_back(v);
  return out;
}

bool IsOpenableURL(const AnsiString& URL)
{
  AnsiString u = SysUtils::LowerCase(SysUtils::Trim(URL));
  return u.rfind("http://", 0) == 0 || u.rfind("https://", 0) == 0 || u.rfind("mailto:", 0) == 0;
}

}  // namespace frxPreviewPages

namespace {

// Swaps a page's left and right margins for the time it is drawn (mirrored odd pages).
class TMirrorGuard {
public:
  TMirrorGuard(TfrxReportPage* Page, bool Mirror) : FPage(Page), FMirror(Mirror)
  {
    if (FMirror) std::swap(FPage->LeftMargin, FPage->RightMargin);
  }
  ~TMirrorGuard()
  {
    if (FMirror) std::swap(FPage->LeftMargin, FPage->RightMargin);
  }
  TMirrorGuard(const TMirrorGuard&) = delete;
  TMirrorGuard& operator=(const TMirrorGuard&) = delete;

private:
  TfrxReportPage* FPage;
  bool FMirror;
};

}  // namespace

void TfrxPreviewPages::DrawPage(Integer Index, HDC Canvas, Extended ScaleX, Extended ScaleY, Extended OffsetX,
                                Extended OffsetY)
{
  TfrxReportPage* page = GetPage(Index);
  if (!page) return;
  TMirrorGuard mirror(page, page->MirrorMargins && Index % 2 == 1);
  if (page->Color != clNone && page->Color != static_cast<TColor>(0x1FFFFFFF)) {
    RECT r{static_cast<LONG>(std::lround(OffsetX)), static_cast<LONG>(std::lround(OffsetY)),
           static_cast<LONG>(std::lround(OffsetX + page->GetWidth() * ScaleX)),
           static_cast<LONG>(std::lround(OffsetY + page->GetHeight() * ScaleY))};
    HBRUSH b = Windows::CreateSolidBrush(static_cast<COLORREF>(page->Color));
    Windows::FillRect(Canvas, &r, b);
    Windows::DeleteObject(b);
  }
  OffsetX += page->LeftMargin * kPixelsPerMm * ScaleX;
  OffsetY += page->TopMargin * kPixelsPerMm * ScaleY;
  bool printer = Windows::GetDeviceCaps(Canvas, TECHNOLOGY) == DT_RASPRINTER;
  bool metafile = Windows::GetObjectType(reinterpret_cast<HGDIOBJ>(Canvas)) == OBJ_ENHMETADC;
  RECT clip{};
  bool hasClip = Windows::GetClipBox(Canvas, &clip) != NULLREGION;
  for (TfrxView* v : frxPreviewPages::PageViews(page)) {
    if (printer && !v->Printable) continue;
    if (!metafile && hasClip) {
      Extended l = OffsetX + v->GetAbsLeft() * ScaleX - 20, t = OffsetY + v->GetAbsTop() * ScaleY - 20;
      Extended r = l + v->GetWidth() * ScaleX + 40, b = t + v->GetHeight() * ScaleY + 40;
      if (r < clip.left || l > clip.right || b < clip.top || t > clip.bottom) continue;
    }
    if (auto* m = dynamic_cast<TfrxCustomMemoView*>(v)) m->TotalPages = GetCount();
    v->Draw(Canvas, ScaleX, ScaleY, OffsetX, OffsetY);
  }
}

void TfrxPreviewPages::ObjectOver(Integer Index, Integer X, Integer Y, Integer Button, Integer Shift, Extended Scale,
                                  Extended OffsetX, Extended OffsetY, bool Click, Integer& Cursor)
{
  if (Engine && Engine->Running) return;
  TfrxReportPage* page = GetPage(Index);
  if (!page) return;
  bool mirrored = page->MirrorMargins && Index % 2 == 1;
  OffsetX += (mirrored ? page->RightMargin : page->LeftMargin) * kPixelsPerMm * Scale;
  OffsetY += page->TopMargin * kPixelsPerMm * Scale;
  TfrxReport* report = GetReport();
  report->SetProgressMessage(AnsiString());
  std::vector<TfrxView*> views = frxPreviewPages::PageViews(page);
  for (auto it = views.rbegin(); it != views.rend(); ++it) {
    TfrxView* v = *it;
    Extended l = OffsetX + v->GetAbsLeft() * Scale, t = OffsetY + v->GetAbsTop() * Scale;
    if (X < l || X > l + v->GetWidth() * Scale || Y < t || Y > t + v->GetHeight() * Scale) continue;
    if (v->Cursor != 0) Cursor = v->Cursor;
    if (!v->URL.empty()) {
      report->SetProgressMessage(v->URL);
      if (v->Cursor == 0) Cursor = -21;
    }
    if (!Click) {
      if (report->OnMouseOverObject) report->OnMouseOverObject(v);
      return;
    }
    if (!v->URL.empty()) {
      const AnsiString& url = v->URL;
      if (url[0] == '@') {
        if (OnShowPage) OnShowPage(SysUtils::StrToIntDef(url.substr(1), 1) - 1, 0);
      } else if (url[0] == '#') {
        if (TfrxXMLItem* a = GetAnchor(url.substr(1)))
          if (OnShowPage)
            OnShowPage(SysUtils::StrToIntDef(a->GetProp("page"), 0), SysUtils::StrToIntDef(a->GetProp("top"), 0));
      } else if (frxPreviewPages::IsOpenableURL(url)) {
        ShellApi::ShellExecute("open", url);
      }
    }
    bool modified = false;
    report->DoPreviewClick(v, Button, Shift, modified);
    if (modified) ModifyPage(Index, page);
    return;
  }
}

bool TfrxPreviewPages::Export(TfrxCustomExportFilter* Filter)
{
  TfrxReport* report = GetReport();
  Filter->Report = report;
  if (Filter->ShowDialog && Filter->ShowSettingsDialog() != 1) return false;
  // Without a preview its page is the first.
  if (Filter->CurPage) Filter->PageNumbers = SysUtils::IntToStr(CurPreviewPage + 1);
  TStringList list;
  frxUtils::ParsePageNumbers(Filter->PageNumbers, &list, GetCount());
  std::vector<Integer> wanted;
  for (Integer i = 0; i < list.GetCount(); ++i) wanted.push_back(SysUtils::StrToInt(list[i]));
  if (!Filter->BeginExport()) return true;

  // EndExport and the end of the progress run also when a page raises; the page's error is the
  // one the caller hears of.
  TScopeExit end([Filter, report] {
    TScopeExit stop([report] { report->ProgressStop(1); });
    Filter->EndExport();
  });
  report->ProgressStart(1);
  for (Integer i = 0; i < GetCount(); ++i) {
    if (!wanted.empty() && std::find(wanted.begin(), wanted.end(), i + 1) == wanted.end()) continue;
    if (report->GetTerminated()) break;
    TfrxReportPage* page = GetPage(i);
    if (!page) continue;
    report->Progress(1, i + 1);
    Filter->BeginPage(page, i);
    bool mirrored = page->MirrorMargins && i % 2 == 1;
    page->SetLeft((mirrored ? page->RightMargin : page->LeftMargin) * kPixelsPerMm);
    page->SetTop(page->TopMargin * kPixelsPerMm);
    // Back in place (and out of the cache) also when the filter raises.
    TScopeExit unplace([this, page] {
      page->SetLeft(0);
      page->SetTop(0);
      ClearCache();
    });
    {
      // The page's fill, stretched over its printable area, goes first.
      TfrxPictureView background(nullptr);
      background.SetName("_pagebackground");
      background.Color = page->Color;
      background.Stretched = true;
      background.KeepAspectRatio = false;
      background.SetBounds(page->GetLeft(), page->GetTop(),
                           page->GetWidth() - (page->LeftMargin + page->RightMargin) * kPixelsPerMm,
                           page->GetHeight() - (page->TopMargin + page->BottomMargin) * kPixelsPerMm);
      Filter->ExportObject(&background);
    }
    for (TfrxComponent* c : page->GetAllObjects()) {
      if (auto* m = dynamic_cast<TfrxCustomMemoView*>(c)) {
        TfrxHighlight* h = m->GetHighlight();
        if (h->Active && h->GetFont()) m->SetFont(h->GetFont());
        m->TotalPages = GetCount();
      }
      Filter->ExportObject(c);
    }
    Filter->EndPage(page, i);
  }
  return true;
}

PELTO_DEFINE_CLASS(TfrxOutline)
