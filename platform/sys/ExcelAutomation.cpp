#include "platform/sys/ExcelAutomation.h"

#include <memory>
#include <vector>

#include "platform/rtl/Exceptions.h"
#include "platform/rtl/FileUtils.h"
#include "platform/rtl/FormatText.h"
#include "platform/sys/AppPaths.h"
#include "platform/sys/ExcelWorkbook.h"
#include "platform/sys/ShellApi.h"
#include "platform/rtl/StringUtils.h"

namespace ExcelAutomation {

TService<std::function<TShowWorkbook>>& ShowWorkbookService()
{
  static TService<std::function<TShowWorkbook>> slot(std::make_unique<std::function<TShowWorkbook>>(
      [](const AnsiString& FileName) { ShellApi::ShellOpen(FileName); }));
  return slot;
}

TService<std::function<TClipboardPicture>>& ClipboardPictureService()
{
  static TService<std::function<TClipboardPicture>> slot(
      std::make_unique<std::function<TClipboardPicture>>([](std::string&, int&, int&) { return false; }));
  return slot;
}

namespace {

// ---- The application's state, shared by every object of its tree ---------------------------

struct TExcelApp {
  std::vector<std::unique_ptr<TExcelWorkbook>> Books;
  std::vector<int> ActiveSheets;  // per book
  int ActiveBook = -1;
  bool Visible = false;
  bool Quitted = false;
  std::map<AnsiString, Variant> Flags;  // DisplayAlerts, ScreenUpdating...

  ~TExcelApp()
  {
    if (!Visible || Quitted || ActiveBook < 0) return;
    // Left open and visible: show the workbook instead of losing it.
    try {
      TExcelWorkbook* book = Books[ActiveBook].get();
      if (!book->Saved) book->SaveAs(AppPaths::CreateTempFile("Book", AnsiString(), ".xlsx"));
      ShowWorkbookService().Current()(book->FileName);
    } catch (...) {
      // A destructor must not throw; nothing more can be done here.
    }
  }
};

enum class TKind {
  Application,
  Workbooks,
  Workbook,
  Worksheets,
  Worksheet,
  Range,
  Font,
  Interior,
  Borders,
  Border,
  PageSetup,
  Styles,
  Style,
  Pictures,
  Picture
};

// ---- Cell addresses ------------------------------------------------------------------------

AnsiString ColumnName(int col)
{
  AnsiString s;
  while (col > 0) {
    int m = (col - 1) % 26;
    s.insert(s.begin(), static_cast<char>('A' + m));
    col = (col - 1) / 26;
  }
  return s;
}

[[noreturn]] void BadRange(const AnsiString& text) { throw EOleException("Invalid range: " + text); }

// One side of a reference: "A1", "$A$1", "A" (a column) or "1" (a row). Answers 0 for a part
// that is absent.
void ParseRef(const AnsiString& s, int& row, int& col)
{
  row = col = 0;
  size_t i = 0;
  if (i < s.size() && s[i] == '$') ++i;
  while (i < s.size() && std::isalpha(static_cast<unsigned char>(s[i]))) {
    col = col * 26 + (std::toupper(static_cast<unsigned char>(s[i])) - 'A' + 1);
    if (col > ExcelMaxCol) BadRange(s);
    ++i;
  }
  if (i < s.size() && s[i] == '$') ++i;
  size_t digits = i;
  while (i < s.size() && std::isdigit(static_cast<unsigned char>(s[i]))) {
    row = row * 10 + (s[i] - '0');
    if (row > ExcelMaxRow) BadRange(s);
    ++i;
  }
  if (i != s.size() || (row == 0 && col == 0) || (i > digits && row == 0)) BadRange(s);
}

TExcelRect ParseRange(const AnsiString& text)
{
  AnsiString a = text, b = text;
  size_t colon = text.find(':');
  if (colon != AnsiString::npos) {
    a = text.substr(0, colon);
    b = text.substr(colon + 1);
  }
  int r1, c1, r2, c2;
  ParseRef(a, r1, c1);
  ParseRef(b, r2, c2);
  if ((r1 == 0) != (r2 == 0) || (c1 == 0) != (c2 == 0)) BadRange(text);
  TExcelRect r;
  r.Top = r1 ? std::min(r1, r2) : 1;
  r.Bottom = r1 ? std::max(r1, r2) : ExcelMaxRow;
  r.Left = c1 ? std::min(c1, c2) : 1;
  r.Right = c1 ? std::max(c1, c2) : ExcelMaxCol;
  return r;
}

TExcelRect Union(const TExcelRect& a, const TExcelRect& b)
{
  return {std::min(a.Top, b.Top), std::min(a.Left, b.Left), std::max(a.Bottom, b.Bottom), std::max(a.Right, b.Right)};
}

int ToInt(const Variant& v) { return v.AsInteger(); }

bool IsMissing(const Variant& v)
{
  const Variant& d = v.Deref();
  return d.IsEmpty() || ((d.VarType() & varTypeMask) == varError && d.AsError() == VAR_PARAMNOTFOUND);
}

// ---- The objects ---------------------------------------------------------------------------

class TExcelObject : public TDispatchObject {
public:
  TExcelObject(std::shared_ptr<TExcelApp> app, TKind kind) : App(std::move(app)), Kind(kind) {}

  std::shared_ptr<TExcelApp> App;
  TKind Kind;
  TExcelWorkbook* Book = nullptr;
  TExcelSheet* Sheet = nullptr;
  TExcelRect Rect;
  AnsiString StyleName;  // Font, Interior of a style; Style
  bool OfStyle = false;
  int Edge = -1;  // Border: 0..3; -1 = all four
  int PictureIndex = 0;

  Variant Invoke(const AnsiString& name, TDispatchKind kind, std::vector<Variant>& args) override;

private:
  TExcelObject* Make(TKind kind) const
  {
    auto* o = new TExcelObject(App, kind);
    o->Book = Book;
    o->Sheet = Sheet;
    o->Rect = Rect;
    o->StyleName = StyleName;
    o->OfStyle = OfStyle;
    return o;
  }
  TExcelObject* MakeRange(const TExcelRect& r) const
  {
    TExcelObject* o = Make(TKind::Range);
    o->Rect = r;
    o->OfStyle = false;
    return o;
  }
  TExcelObject* MakeSheet(TExcelWorkbook* book, int index) const
  {
    if (index < 1 || index > static_cast<int>(book->Sheets.size())) throw EOleException("Invalid index");
    TExcelObject* o = Make(TKind::Worksheet);
    o->Book = book;
    o->Sheet = book->Sheets[index - 1].get();
    return o;
  }
  TExcelObject* MakeBook(int index) const
  {
    if (index < 1 || index > static_cast<int>(App->Books.size())) throw EOleException("Invalid index");
    TExcelObject* o = Make(TKind::Workbook);
    o->Book = App->Books[index - 1].get();
    return o;
  }
  int BookIndex(TExcelWorkbook* book) const
  {
    for (size_t i = 0; i < App->Books.size(); ++i)
      if (App->Books[i].get() == book) return static_cast<int>(i);
    return -1;
  }
  TExcelObject* ActiveSheet() const
  {
    if (App->ActiveBook < 0) throw EOleException("No workbook is open");
    return MakeSheet(App->Books[App->ActiveBook].get(), App->ActiveSheets[App->ActiveBook] + 1);
  }

  // Format access for ranges (every cell) and styles.
  void Change(const std::function<void(TExcelFormat&)>& change)
  {
    if (OfStyle) {
      change(Book->AddStyle(StyleName));
      return;
    }
    Sheet->ChangeFormat(Rect, change);
  }
  TExcelFormat Read() const
  {
    if (OfStyle) {
      TExcelFormat* s = Book->FindStyle(StyleName);
      return s ? *s : TExcelFormat();
    }
    TExcelFormat f;
    if (const TExcelCell* c = Sheet->FindCell(Rect.Top, Rect.Left)) {
      if (!c->Style.empty())
        if (TExcelFormat* s = Book->FindStyle(c->Style)) f = *s;
      f.Overlay(c->Format);
    }
    return f;
  }

  // A range from arguments relative to this range: (row, col), or a text address.
  TExcelRect SubRange(const std::vector<Variant>& idx) const
  {
    if (idx.size() >= 2) {
      int r = ToInt(idx[0]), c = ToInt(idx[1]);
      return {Rect.Top + r - 1, Rect.Left + c - 1, Rect.Top + r - 1, Rect.Left + c - 1};
    }
    if (idx.size() == 1) {
      int n = ToInt(idx[0]);  // the n-th cell, row by row
      int width = Rect.Right - Rect.Left + 1;
      int r = Rect.Top + (n - 1) / width, c = Rect.Left + (n - 1) % width;
      return {r, c, r, c};
    }
    return Rect;
  }
  TExcelRect RangeOf(const Variant& v) const
  {
    const Variant& d = v.Deref();
    if ((d.VarType() & varTypeMask) == varDispatch)
      if (auto* o = dynamic_cast<TExcelObject*>(d.AsDispatch()); o && o->Kind == TKind::Range) return o->Rect;
    return ParseRange(d.AsString());
  }
  TExcelRect ColumnsOf(const std::vector<Variant>& idx) const
  {
    if (idx.empty()) return Rect;
    const Variant& d = idx[0].Deref();
    if ((d.VarType() & varTypeMask) == varOleStr || (d.VarType() & varTypeMask) == 0x100) {
      TExcelRect r = ParseRange(d.AsString());
      return {Rect.Top, r.Left, Rect.Bottom, r.Right};
    }
    int c = Rect.Left + ToInt(d) - 1;
    return {Rect.Top, c, Rect.Bottom, c};
  }
  TExcelRect RowsOf(const std::vector<Variant>& idx) const
  {
    if (idx.empty()) return Rect;
    const Variant& d = idx[0].Deref();
    if ((d.VarType() & varTypeMask) == varOleStr || (d.VarType() & varTypeMask) == 0x100) {
      TExcelRect r = ParseRange(d.AsString());
      return {r.Top, Rect.Left, r.Bottom, Rect.Right};
    }
    int r = Rect.Top + ToInt(d) - 1;
    return {r, Rect.Left, r, Rect.Right};
  }

  Variant RangeValue() const
  {
    if (Rect.Area() == 1) {
      const TExcelCell* c = Sheet->FindCell(Rect.Top, Rect.Left);
      return c ? c->Value : Variant();
    }
    if (Rect.Area() > 65536) throw EOleException("Range too large for a value");
    Variant a = Variants::VarArrayCreate({1, Rect.Bottom - Rect.Top + 1, 1, Rect.Right - Rect.Left + 1}, varVariant);
    for (int r = Rect.Top; r <= Rect.Bottom; ++r)
      for (int c = Rect.Left; c <= Rect.Right; ++c)
        if (const TExcelCell* cell = Sheet->FindCell(r, c))
          Variants::VarArrayPut(a, cell->Value, {r - Rect.Top + 1, c - Rect.Left + 1});
    return a;
  }

  Variant InvokeApplication(const AnsiString& n, TDispatchKind kind, std::vector<Variant>& args);
  Variant InvokeWorkbooks(const AnsiString& n, TDispatchKind kind, std::vector<Variant>& args);
  Variant InvokeWorkbook(const AnsiString& n, TDispatchKind kind, std::vector<Variant>& args);
  Variant InvokeWorksheets(const AnsiString& n, TDispatchKind kind, std::vector<Variant>& args);
  Variant InvokeWorksheet(const AnsiString& n, TDispatchKind kind, std::vector<Variant>& args);
  Variant InvokeRange(const AnsiString& n, TDispatchKind kind, std::vector<Variant>& args);
  Variant InvokeFormat(const AnsiString& n, TDispatchKind kind, std::vector<Variant>& args);
  Variant InvokeBorders(const AnsiString& n, TDispatchKind kind, std::vector<Variant>& args);
  Variant InvokePageSetup(const AnsiString& n, TDispatchKind kind, std::vector<Variant>& args);
  Variant InvokeStyles(const AnsiString& n, TDispatchKind kind, std::vector<Variant>& args);
  Variant InvokePictures(const AnsiString& n, TDispatchKind kind, std::vector<Variant>& args);
};

// Splits a put's arguments into the indexes and the value.
struct TCall {
  bool Put;
  std::vector<Variant> Index;
  Variant Value;
  TCall(TDispatchKind kind, const std::vector<Variant>& args) : Put((kind & dkPropertyPut) != 0)
  {
    Index = args;
    if (Put && !Index.empty()) {
      Value = Index.back();
      Index.pop_back();
    }
  }
};

// Writes `value` through the range object's default member.
Variant PutDefault(IDispatch* range, const Variant& value)
{
  Variant holder(range);
  holder.Set("Value", value);
  return Variant();
}

Variant TExcelObject::Invoke(const AnsiString& name, TDispatchKind kind, std::vector<Variant>& args)
{
  AnsiString n = SysUtils::LowerCase(name);
  switch (Kind) {
    case TKind::Application: return InvokeApplication(n, kind, args);
    case TKind::Workbooks: return InvokeWorkbooks(n, kind, args);
    case TKind::Workbook: return InvokeWorkbook(n, kind, args);
    case TKind::Worksheets: return InvokeWorksheets(n, kind, args);
    case TKind::Worksheet: return InvokeWorksheet(n, kind, args);
    case TKind::Range: return InvokeRange(n, kind, args);
    case TKind::Font:
    case TKind::Interior:
    case TKind::Style: return InvokeFormat(n, kind, args);
    case TKind::Borders:
    case TKind::Border: return InvokeBorders(n, kind, args);
    case TKind::PageSetup: return InvokePageSetup(n, kind, args);
    case TKind::Styles: return InvokeStyles(n, kind, args);
    case TKind::Pictures:
    case TKind::Picture: return InvokePictures(n, kind, args);
  }
  Variants::RaiseUnknownName(name);
}

Variant TExcelObject::InvokeApplication(const AnsiString& n, TDispatchKind kind, std::vector<Variant>& args)
{
  TCall call(kind, args);
  if (n == "application") return Variant(static_cast<IDispatch*>(this));
  if (n == "visible") {
    if (call.Put) App->Visible = call.Value.AsBoolean();
    return call.Put ? Variant() : Variant(App->Visible);
  }
  if (n == "displayalerts" || n == "screenupdating" || n == "interactive" || n == "enableevents" ||
      n == "enableautocomplete" || n == "enableanimations" || n == "caption" || n == "usercontrol") {
    if (call.Put) {
      App->Flags[n] = call.Value;
      return Variant();
    }
    auto it = App->Flags.find(n);
    return it != App->Flags.end() ? it->second : Variant(true);
  }
  if (n == "workbooks") {
    auto* o = Make(TKind::Workbooks);
    if (call.Index.empty()) return Variant(static_cast<IDispatch*>(o));
    Variant holder(static_cast<IDispatch*>(o));
    return holder.Get("Item", {call.Index[0]});
  }
  if (n == "activeworkbook") {
    if (App->ActiveBook < 0) return Variant(static_cast<IDispatch*>(nullptr));
    return Variant(static_cast<IDispatch*>(MakeBook(App->ActiveBook + 1)));
  }
  if (n == "quit") {
    App->Quitted = true;
    App->Visible = false;
    return Variant();
  }
  if (n == "activesheet" || n == "cells" || n == "range" || n == "columns" || n == "rows") {
    Variant sheet(static_cast<IDispatch*>(ActiveSheet()));
    if (n == "activesheet") return sheet;
    return sheet.AsDispatch()->Invoke(n, kind, args);
  }
  Variants::RaiseUnknownName(n);
}

Variant TExcelObject::InvokeWorkbooks(const AnsiString& n, TDispatchKind kind, std::vector<Variant>& args)
{
  TCall call(kind, args);
  if (n == "add") {
    App->Books.push_back(std::make_unique<TExcelWorkbook>());
    App->ActiveSheets.push_back(0);
    App->ActiveBook = static_cast<int>(App->Books.size()) - 1;
    return Variant(static_cast<IDispatch*>(MakeBook(App->ActiveBook + 1)));
  }
  if (n == "count") return Variant(static_cast<int>(App->Books.size()));
  if (n == "item") return Variant(static_cast<IDispatch*>(MakeBook(ToInt(call.Index.at(0)))));
  Variants::RaiseUnknownName(n);
}

Variant TExcelObject::InvokeWorkbook(const AnsiString& n, TDispatchKind kind, std::vector<Variant>& args)
{
  TCall call(kind, args);
  if (n == "worksheets" || n == "sheets") {
    if (call.Index.empty()) return Variant(static_cast<IDispatch*>(Make(TKind::Worksheets)));
    return Variant(static_cast<IDispatch*>(MakeSheet(Book, ToInt(call.Index[0]))));
  }
  if (n == "activesheet") {
    int b = BookIndex(Book);
    return Variant(static_cast<IDispatch*>(MakeSheet(Book, App->ActiveSheets[b] + 1)));
  }
  if (n == "styles") return Variant(static_cast<IDispatch*>(Make(TKind::Styles)));
  if (n == "saveas" || n == "save") {
    AnsiString file = n == "save" ? Book->FileName : call.Index.empty() ? AnsiString() : call.Index[0].AsString();
    if (file.empty()) throw EOleException("No file name to save the workbook to");
    // Only the Open XML workbook (51) is written; a classic binary code (-4143, 56, ...) would
    // otherwise get an Open XML file under an ".xls" name that nothing opens as such.
    if (n == "saveas" && call.Index.size() > 1 && !IsMissing(call.Index[1]) && ToInt(call.Index[1]) != 51)
      throw EOleException("Cannot save " + file + " in workbook format " + SysUtils::IntToStr(ToInt(call.Index[1])) +
                          ": only the Open XML workbook (51, .xlsx) can be written");
    Book->SaveAs(file);
    return Variant();
  }
  if (n == "saved") {
    if (call.Put) Book->Saved = call.Value.AsBoolean();
    return call.Put ? Variant() : Variant(Book->Saved);
  }
  if (n == "fullname") return Variant(Book->FileName);
  if (n == "name")
    return Variant(Book->FileName.empty() ? AnsiString("Book1") : SysUtils::ExtractFileName(Book->FileName));
  if (n == "close") {
    // Close(SaveChanges, FileName): saves first when asked to.
    if (!call.Index.empty() && !IsMissing(call.Index[0]) && call.Index[0].AsBoolean()) {
      AnsiString file = call.Index.size() > 1 && !IsMissing(call.Index[1]) ? call.Index[1].AsString() : Book->FileName;
      if (!file.empty()) Book->SaveAs(file);
    }
    int b = BookIndex(Book);
    if (b >= 0 && App->ActiveBook == b) App->ActiveBook = -1;
    return Variant();
  }
  if (n == "activate") {
    App->ActiveBook = BookIndex(Book);
    return Variant();
  }
  Variants::RaiseUnknownName(n);
}

Variant TExcelObject::InvokeWorksheets(const AnsiString& n, TDispatchKind kind, std::vector<Variant>& args)
{
  TCall call(kind, args);
  if (n == "count") return Variant(static_cast<int>(Book->Sheets.size()));
  if (n == "item") return Variant(static_cast<IDispatch*>(MakeSheet(Book, ToInt(call.Index.at(0)))));
  if (n == "add") {
    Book->AddSheet();
    return Variant(static_cast<IDispatch*>(MakeSheet(Book, static_cast<int>(Book->Sheets.size()))));
  }
  Variants::RaiseUnknownName(n);
}

Variant TExcelObject::InvokeWorksheet(const AnsiString& n, TDispatchKind kind, std::vector<Variant>& args)
{
  TCall call(kind, args);
  TExcelObject* sheetRange = MakeRange({1, 1, ExcelMaxRow, ExcelMaxCol});
  Variant holder(static_cast<IDispatch*>(sheetRange));
  if (n == "cells" || n == "columns" || n == "rows") return sheetRange->Invoke(n, kind, args);
  if (n == "range") {
    if (call.Index.empty()) throw EOleException("Range needs an address");
    TExcelRect r = RangeOf(call.Index[0]);
    if (call.Index.size() > 1 && !IsMissing(call.Index[1])) r = Union(r, RangeOf(call.Index[1]));
    TExcelObject* range = MakeRange(r);
    if (call.Put) return PutDefault(range, call.Value);
    return Variant(static_cast<IDispatch*>(range));
  }
  if (n == "pagesetup") return Variant(static_cast<IDispatch*>(Make(TKind::PageSetup)));
  if (n == "pictures") {
    TExcelObject* p = Make(TKind::Pictures);
    if (call.Index.empty()) return Variant(static_cast<IDispatch*>(p));
    Variant pics(static_cast<IDispatch*>(p));
    return pics.Get("Item", {call.Index[0]});
  }
  if (n == "name") {
    if (call.Put) Sheet->Name = call.Value.AsString();
    return call.Put ? Variant() : Variant(Sheet->Name);
  }
  if (n == "select" || n == "activate") {
    int b = BookIndex(Book);
    for (size_t i = 0; i < Book->Sheets.size(); ++i)
      if (Book->Sheets[i].get() == Sheet) App->ActiveSheets[b] = static_cast<int>(i);
    return Variant();
  }
  Variants::RaiseUnknownName(n);
}

Variant TExcelObject::InvokeRange(const AnsiString& n, TDispatchKind kind, std::vector<Variant>& args)
{
  TCall call(kind, args);
  if (n == "value" || n == "value2" || n == "formula") {
    if (!call.Put) return RangeValue();
    Sheet->SetValue(Rect, call.Value);
    return Variant();
  }
  if (n == "text") return Variant(RangeValue().AsString());
  if (n == "cells" || n == "item" || n == "range") {
    TExcelRect r = n == "range" && !call.Index.empty() ? RangeOf(call.Index[0]) : SubRange(call.Index);
    if (n == "range" && !call.Index.empty()) {
      // An address inside a range counts from the range's top-left.
      r = {Rect.Top + r.Top - 1, Rect.Left + r.Left - 1, Rect.Top + r.Bottom - 1, Rect.Left + r.Right - 1};
    }
    TExcelObject* range = MakeRange(r);
    if (call.Put) return PutDefault(range, call.Value);
    return Variant(static_cast<IDispatch*>(range));
  }
  if (n == "columns") return Variant(static_cast<IDispatch*>(MakeRange(ColumnsOf(call.Index))));
  if (n == "rows") return Variant(static_cast<IDispatch*>(MakeRange(RowsOf(call.Index))));
  if (n == "entirecolumn") return Variant(static_cast<IDispatch*>(MakeRange({1, Rect.Left, ExcelMaxRow, Rect.Right})));
  if (n == "entirerow") return Variant(static_cast<IDispatch*>(MakeRange({Rect.Top, 1, Rect.Bottom, ExcelMaxCol})));
  if (n == "row") return Variant(Rect.Top);
  if (n == "column") return Variant(Rect.Left);
  if (n == "count") return Variant(static_cast<double>(Rect.Area()));
  if (n == "address") {
    AnsiString a = "$" + ColumnName(Rect.Left) + "$" + std::to_string(Rect.Top);
    if (Rect.Area() > 1) a += ":$" + ColumnName(Rect.Right) + "$" + std::to_string(Rect.Bottom);
    return Variant(a);
  }
  if (n == "numberformat" || n == "numberformatlocal") {
    if (!call.Put) return Variant(Read().NumberFormat.value_or("General"));
    AnsiString f = call.Value.AsString();
    Change([&f](TExcelFormat& x) { x.NumberFormat = f; });
    return Variant();
  }
  if (n == "mergecells") {
    if (!call.Put) return Variant(Sheet->IsMerged(Rect));
    if (call.Value.AsBoolean())
      Sheet->Merge(Rect);
    else
      Sheet->Unmerge(Rect);
    return Variant();
  }
  if (n == "merge") {
    Sheet->Merge(Rect);
    return Variant();
  }
  if (n == "unmerge") {
    Sheet->Unmerge(Rect);
    return Variant();
  }
  if (n == "style") {
    if (!call.Put) {
      const TExcelCell* c = Sheet->FindCell(Rect.Top, Rect.Left);
      AnsiString s = c ? c->Style : AnsiString();
      if (!s.empty() && Book->StyleNames.count(SysUtils::LowerCase(s))) s = Book->StyleNames[SysUtils::LowerCase(s)];
      return Variant(s.empty() ? AnsiString("Normal") : s);
    }
    AnsiString s = call.Value.AsString();
    if (!Book->FindStyle(s) && SysUtils::LowerCase(s) != "normal") throw EOleException("No style named " + s);
    Sheet->SetStyle(Rect, SysUtils::LowerCase(s) == "normal" ? AnsiString() : s);
    return Variant();
  }
  if (n == "font") return Variant(static_cast<IDispatch*>(Make(TKind::Font)));
  if (n == "interior") return Variant(static_cast<IDispatch*>(Make(TKind::Interior)));
  if (n == "borders") {
    TExcelObject* b = Make(TKind::Borders);
    if (call.Index.empty()) return Variant(static_cast<IDispatch*>(b));
    Variant holder(static_cast<IDispatch*>(b));
    return holder.Get("Item", {call.Index[0]});
  }
  if (n == "horizontalalignment" || n == "verticalalignment" || n == "wraptext") return InvokeFormat(n, kind, args);
  if (n == "columnwidth") {
    if (!call.Put) {
      auto it = Sheet->ColumnWidths.find(Rect.Left);
      return Variant(it != Sheet->ColumnWidths.end() ? it->second : 8.43);
    }
    double w = call.Value.AsDouble();
    if (w < 0 || w > 255) throw EOleException("Unable to set the ColumnWidth property");
    for (int c = Rect.Left; c <= Rect.Right; ++c) Sheet->ColumnWidths[c] = w;
    return Variant();
  }
  if (n == "rowheight") {
    if (!call.Put) {
      auto it = Sheet->RowHeights.find(Rect.Top);
      return Variant(it != Sheet->RowHeights.end() ? it->second : 13.5);
    }
    double h = call.Value.AsDouble();
    if (h < 0 || h > 409) throw EOleException("Unable to set the RowHeight property");
    if (Rect.Bottom - Rect.Top < 65536)
      for (int r = Rect.Top; r <= Rect.Bottom; ++r) Sheet->RowHeights[r] = h;
    return Variant();
  }
  if (n == "pagebreak") {
    auto& rows = Sheet->PageBreakRows;
    if (!call.Put) {
      return Variant(std::find(rows.begin(), rows.end(), Rect.Top) != rows.end() ? -4135 : -4142);
    }
    rows.erase(std::remove(rows.begin(), rows.end(), Rect.Top), rows.end());
    if (call.Value.AsInteger() != -4142) rows.push_back(Rect.Top);
    return Variant();
  }
  if (n == "select" || n == "activate") return Variant();
  if (n == "clear" || n == "clearcontents") {
    for (auto it = Sheet->Cells.begin(); it != Sheet->Cells.end();) {
      if (Rect.Contains(it->first.first, it->first.second)) {
        if (n == "clear") {
          it = Sheet->Cells.erase(it);
          continue;
        }
        it->second.Value = Variant();
      }
      ++it;
    }
    return Variant();
  }
  if (n == "pastespecial" || n == "paste") {
    TExcelPicture p;
    if (ClipboardPictureService().Current()(p.Png, p.PixelWidth, p.PixelHeight)) {
      p.Row = Rect.Top;
      p.Col = Rect.Left;
      Sheet->Pictures.push_back(std::move(p));
    }
    return Variant();
  }
  Variants::RaiseUnknownName(n);
}

// Font and Interior of a range or style, and the Style object itself.
Variant TExcelObject::InvokeFormat(const AnsiString& n, TDispatchKind kind, std::vector<Variant>& args)
{
  TCall call(kind, args);
  TExcelFormat f = call.Put ? TExcelFormat() : Read();
  if (Kind == TKind::Style) {
    if (n == "name") return Variant(Book->StyleNames[SysUtils::LowerCase(StyleName)]);
    if (n == "font") return Variant(static_cast<IDispatch*>(Make(TKind::Font)));
    if (n == "interior") return Variant(static_cast<IDispatch*>(Make(TKind::Interior)));
    if (n == "numberformat") {
      if (!call.Put) return Variant(f.NumberFormat.value_or("General"));
      AnsiString v = call.Value.AsString();
      Change([&v](TExcelFormat& x) { x.NumberFormat = v; });
      return Variant();
    }
  }
  auto boolMember = [&](std::optional<bool> TExcelFormat::*member) -> Variant {
    if (!call.Put) return Variant((f.*member).value_or(false));
    bool v = call.Value.AsBoolean();
    Change([member, v](TExcelFormat& x) { x.*member = v; });
    return Variant();
  };
  if (Kind == TKind::Font) {
    if (n == "bold") return boolMember(&TExcelFormat::Bold);
    if (n == "italic") return boolMember(&TExcelFormat::Italic);
    if (n == "underline") {
      if (!call.Put) return Variant(f.Underline.value_or(false) ? 2 : -4142);
      // True (-1), single (2) and double (-4119) underline; False (0) and none (-4142) remove it.
      int v = call.Value.AsInteger();
      bool on = v != 0 && v != -4142;
      Change([on](TExcelFormat& x) { x.Underline = on; });
      return Variant();
    }
    if (n == "name") {
      if (!call.Put) return Variant(f.FontName.value_or("Calibri"));
      AnsiString v = call.Value.AsString();
      Change([&v](TExcelFormat& x) { x.FontName = v; });
      return Variant();
    }
    if (n == "size") {
      if (!call.Put) return Variant(f.FontSize.value_or(11.0));
      double v = call.Value.AsDouble();
      if (v < 1 || v > 409) throw EOleException("Unable to set the Size property of the Font class");
      Change([v](TExcelFormat& x) { x.FontSize = v; });
      return Variant();
    }
    if (n == "color") {
      if (!call.Put) return Variant(static_cast<double>(f.FontColor.value_or(0)));
      auto v = static_cast<std::uint32_t>(call.Value.AsInt64());
      Change([v](TExcelFormat& x) { x.FontColor = v; });
      return Variant();
    }
  }
  if (Kind == TKind::Interior && n == "color") {
    if (!call.Put) return Variant(static_cast<double>(f.FillColor.value_or(0xFFFFFF)));
    auto v = static_cast<std::uint32_t>(call.Value.AsInt64());
    Change([v](TExcelFormat& x) { x.FillColor = v; });
    return Variant();
  }
  if (Kind != TKind::Font && Kind != TKind::Interior) {
    if (n == "wraptext") return boolMember(&TExcelFormat::WrapText);
    if (n == "horizontalalignment" || n == "verticalalignment") {
      bool h = n == "horizontalalignment";
      if (!call.Put) return Variant(h ? f.HAlign.value_or(1) : f.VAlign.value_or(-4107));
      int v = call.Value.AsInteger();
      Change([h, v](TExcelFormat& x) { (h ? x.HAlign : x.VAlign) = v; });
      return Variant();
    }
  }
  Variants::RaiseUnknownName(n);
}

Variant TExcelObject::InvokeBorders(const AnsiString& n, TDispatchKind kind, std::vector<Variant>& args)
{
  TCall call(kind, args);
  if (Kind == TKind::Borders && n == "item") {
    TExcelObject* b = Make(TKind::Border);
    int k = ToInt(call.Index.at(0));
    // Edges 7..10 are left, top, bottom, right; diagonals and inside lines are not kept.
    b->Edge = k >= 7 && k <= 10 ? k - 7 : -2;
    return Variant(static_cast<IDispatch*>(b));
  }
  if (Kind == TKind::Borders && n == "count") return Variant(6);
  if (n == "linestyle" || n == "weight") {
    bool style = n == "linestyle";
    if (!call.Put) {
      TExcelFormat f = Read();
      int e = Edge < 0 ? 0 : Edge;
      return Variant(style ? f.Border[e].value_or(-4142) : f.BorderWeight[e].value_or(2));
    }
    int v = call.Value.AsInteger();
    if (Edge == -2) return Variant();
    if (Edge == -1) {
      Change([style, v](TExcelFormat& x) {
        for (int e = 0; e < 4; ++e) (style ? x.Border[e] : x.BorderWeight[e]) = v;
      });
      return Variant();
    }
    // One edge of the range: only the cells along it.
    TExcelRect edge = Rect;
    switch (Edge) {
      case 0: edge.Right = edge.Left; break;
      case 1: edge.Bottom = edge.Top; break;
      case 2: edge.Top = edge.Bottom; break;
      case 3: edge.Left = edge.Right; break;
    }
    int e = Edge;
    Sheet->ChangeFormat(edge, [style, v, e](TExcelFormat& x) { (style ? x.Border[e] : x.BorderWeight[e]) = v; });
    return Variant();
  }
  if (n == "color") return Variant();  // border colours are not kept: every line is black
  Variants::RaiseUnknownName(n);
}

Variant TExcelObject::InvokePageSetup(const AnsiString& n, TDispatchKind kind, std::vector<Variant>& args)
{
  TCall call(kind, args);
  std::optional<double>* margin = n == "leftmargin"     ? &Sheet->LeftMargin
                                  : n == "rightmargin"  ? &Sheet->RightMargin
                                  : n == "topmargin"    ? &Sheet->TopMargin
                                  : n == "bottommargin" ? &Sheet->BottomMargin
                                                        : nullptr;
  if (margin) {
    if (!call.Put) return Variant(margin->value_or(n == "leftmargin" || n == "rightmargin" ? 50.4 : 54.0));
    double v = call.Value.AsDouble();
    if (v < 0) throw EOleException("Unable to set the margin");
    *margin = v;
    return Variant();
  }
  if (n == "orientation") {
    if (!call.Put) return Variant(Sheet->Landscape ? 2 : 1);
    Sheet->Landscape = call.Value.AsInteger() == 2;
    return Variant();
  }
  Variants::RaiseUnknownName(n);
}

Variant TExcelObject::InvokeStyles(const AnsiString& n, TDispatchKind kind, std::vector<Variant>& args)
{
  TCall call(kind, args);
  if (n == "add" || n == "item") {
    AnsiString name = call.Index.at(0).AsString();
    if (name.empty()) throw EOleException("A style needs a name");
    if (n == "add")
      Book->AddStyle(name);
    else if (!Book->FindStyle(name))
      throw EOleException("No style named " + name);
    TExcelObject* s = Make(TKind::Style);
    s->StyleName = name;
    s->OfStyle = true;
    return Variant(static_cast<IDispatch*>(s));
  }
  if (n == "count") return Variant(static_cast<int>(Book->Styles.size()));
  Variants::RaiseUnknownName(n);
}

Variant TExcelObject::InvokePictures(const AnsiString& n, TDispatchKind kind, std::vector<Variant>& args)
{
  TCall call(kind, args);
  if (Kind == TKind::Pictures) {
    if (n == "count") return Variant(static_cast<int>(Sheet->Pictures.size()));
    if (n == "item") {
      int i = ToInt(call.Index.at(0));
      if (i < 1 || i > static_cast<int>(Sheet->Pictures.size())) throw EOleException("Invalid picture index");
      TExcelObject* p = Make(TKind::Picture);
      p->PictureIndex = i - 1;
      return Variant(static_cast<IDispatch*>(p));
    }
  } else if (n == "width" || n == "height") {
    TExcelPicture& p = Sheet->Pictures[PictureIndex];
    double& size = n == "width" ? p.Width : p.Height;
    if (!call.Put) return Variant(size > 0 ? size : (n == "width" ? p.PixelWidth : p.PixelHeight) * 0.75);
    size = call.Value.AsDouble();
    return Variant();
  }
  Variants::RaiseUnknownName(n);
}

}  // namespace

IDispatch* CreateExcelApplication() { return new TExcelObject(std::make_shared<TExcelApp>(), TKind::Application); }

}  // namespace ExcelAutomation
