#include "platform/db/JetProvider.h"

#include <sqlite3.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>

#include <time.h>
#include <cmath>
#include <cstring>

#include "platform/db/ExcelProvider.h"
#include "platform/db/JetDialect.h"
#include "platform/db/JetPassword.h"
#include "platform/db/Params.h"
#include "platform/rtl/AnsiStrings.h"
#include "platform/rtl/Conversions.h"
#include "platform/rtl/DateTime.h"
#include "platform/rtl/FormatText.h"
#include "platform/rtl/StringUtils.h"
#include "platform/rtl/Guards.h"

namespace JetProvider {

namespace {

// Monotonic seconds, for statement time-outs.
double MonotonicNow()
{
  timespec ts;
  clock_gettime(CLOCK_MONOTONIC, &ts);
  return static_cast<double>(ts.tv_sec) + ts.tv_nsec / 1e9;
}

[[noreturn]] void Fail(sqlite3* db)
{
  throw EOleException(System::Utf8ToAnsi(db ? sqlite3_errmsg(db) : "out of memory"));
}

bool FileExists(const AnsiString& name)
{
  struct stat st;
  return ::stat(System::AnsiToUtf8(name).c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

sqlite3* OpenFile(const AnsiString& fileName, bool readOnly)
{
  if (fileName.empty() || !FileExists(fileName))
    throw EOleException(SysUtils::Format("Could not find file '%s'.", {fileName}));
  sqlite3* db = nullptr;
  // A connection is used by one thread at a time: the engine's own locking on every column read
  // is pure cost.
  int flags = (readOnly ? SQLITE_OPEN_READONLY : SQLITE_OPEN_READWRITE) | SQLITE_OPEN_NOMUTEX;
  if (sqlite3_open_v2(System::AnsiToUtf8(fileName).c_str(), &db, flags, nullptr) != SQLITE_OK) {
    AnsiString msg = System::Utf8ToAnsi(db ? sqlite3_errmsg(db) : "out of memory");
    sqlite3_close(db);
    throw EOleException(msg);
  }
  if (sqlite3_exec(db, "SELECT count(*) FROM sqlite_master", nullptr, nullptr, nullptr) != SQLITE_OK) {
    sqlite3_close(db);
    throw EOleException(SysUtils::Format("Unrecognized database format '%s'.", {fileName}));
  }
  return db;
}

// --- the dialect's functions ------------------------------------------------------------------

// A day number from a stored value: numbers as they are, texts as ISO dates; false for Null or
// text that is no date.
bool DaysOf(sqlite3_value* v, double& days)
{
  switch (sqlite3_value_type(v)) {
    case SQLITE_INTEGER:
    case SQLITE_FLOAT: days = sqlite3_value_double(v); return true;
    case SQLITE_TEXT: {
      const char* t = reinterpret_cast<const char*>(sqlite3_value_text(v));
      return JetDialect::ParseDateLiteral(System::Utf8ToWide(t), days);
    }
    default: return false;
  }
}

void FnNow(sqlite3_context* c, int, sqlite3_value**) { sqlite3_result_double(c, SysUtils::Now().Value); }
void FnDate(sqlite3_context* c, int, sqlite3_value**) { sqlite3_result_double(c, std::floor(SysUtils::Now().Value)); }
void FnTime(sqlite3_context* c, int, sqlite3_value**)
{
  double n = SysUtils::Now().Value;
  sqlite3_result_double(c, n - std::floor(n));
}

void Ymd(double days, int& y, int& m, int& d)
{
  Word yy, mm, dd;
  SysUtils::DecodeDate(TDateTime(days), yy, mm, dd);
  y = yy;
  m = mm;
  d = dd;
}

AnsiString Interval(sqlite3_value* v)
{
  const unsigned char* t = sqlite3_value_text(v);
  return SysUtils::LowerCase(SysUtils::Trim(t ? reinterpret_cast<const char*>(t) : ""));
}

void FnDateDiff(sqlite3_context* c, int, sqlite3_value** a)
{
  double d1, d2;
  if (!DaysOf(a[1], d1) || !DaysOf(a[2], d2)) {
    sqlite3_result_null(c);
    return;
  }
  AnsiString iv = Interval(a[0]);
  int y1, m1, dd1, y2, m2, dd2;
  Ymd(d1, y1, m1, dd1);
  Ymd(d2, y2, m2, dd2);
  double r = 0;
  if (iv == "d" || iv == "y" || iv == "w") r = std::floor(d2) - std::floor(d1);
  if (iv == "w")
    r = std::trunc(r / 7);
  else if (iv == "ww")
    r = std::floor((std::floor(d2) - 1) / 7) - std::floor((std::floor(d1) - 1) / 7);
  else if (iv == "yyyy")
    r = y2 - y1;
  else if (iv == "m")
    r = (y2 * 12 + m2) - (y1 * 12 + m1);
  else if (iv == "q")
    r = (y2 * 4 + (m2 - 1) / 3) - (y1 * 4 + (m1 - 1) / 3);
  else if (iv == "h")
    r = std::floor(d2 * 24 + 1e-9) - std::floor(d1 * 24 + 1e-9);
  else if (iv == "n")
    r = std::floor(d2 * 1440 + 1e-9) - std::floor(d1 * 1440 + 1e-9);
  else if (iv == "s")
    r = std::floor(d2 * 86400 + 1e-6) - std::floor(d1 * 86400 + 1e-6);
  else if (iv != "d" && iv != "y") {
    sqlite3_result_error(c, "Invalid procedure call or argument", -1);
    return;
  }
  sqlite3_result_int64(c, static_cast<sqlite3_int64>(r));
}

void FnDateAdd(sqlite3_context* c, int, sqlite3_value** a)
{
  double d;
  if (!DaysOf(a[2], d) || sqlite3_value_type(a[1]) == SQLITE_NULL) {
    sqlite3_result_null(c);
    return;
  }
  AnsiString iv = Interval(a[0]);
  double n = sqlite3_value_double(a[1]);
  if (iv == "d" || iv == "y" || iv == "w")
    d += n;
  else if (iv == "ww")
    d += 7 * n;
  else if (iv == "h")
    d += n / 24;
  else if (iv == "n")
    d += n / 1440;
  else if (iv == "s")
    d += n / 86400;
  else if (iv == "yyyy" || iv == "m" || iv == "q") {
    int y, m, dd;
    Ymd(d, y, m, dd);
    int months = static_cast<int>(n) * (iv == "yyyy" ? 12 : iv == "q" ? 3 : 1);
    int total = y * 12 + (m - 1) + months;
    y = total / 12;
    m = total % 12 + 1;
    static const int mdays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    int maxd = mdays[m - 1] + ((m == 2 && SysUtils::IsLeapYear(static_cast<Word>(y))) ? 1 : 0);
    TDateTime nd;
    SysUtils::TryEncodeDate(static_cast<Word>(y), static_cast<Word>(m), static_cast<Word>(std::min(dd, maxd)), nd);
    d = nd.Value + (d - std::floor(d));
  } else {
    sqlite3_result_error(c, "Invalid procedure call or argument", -1);
    return;
  }
  sqlite3_result_double(c, d);
}

void FnPart(sqlite3_context* c, sqlite3_value* v, int which)
{
  double d;
  if (!DaysOf(v, d)) {
    sqlite3_result_null(c);
    return;
  }
  int y, m, dd;
  Ymd(d, y, m, dd);
  sqlite3_result_int(c, which == 0 ? y : which == 1 ? m : dd);
}
void FnYear(sqlite3_context* c, int, sqlite3_value** a) { FnPart(c, a[0], 0); }
void FnMonth(sqlite3_context* c, int, sqlite3_value** a) { FnPart(c, a[0], 1); }
void FnDay(sqlite3_context* c, int, sqlite3_value** a) { FnPart(c, a[0], 2); }

// Texts are handled by character (UTF-16 code units, as the original counts them).
WideString TextOf(sqlite3_value* v)
{
  const unsigned char* t = sqlite3_value_text(v);
  return System::Utf8ToWide(t ? reinterpret_cast<const char*>(t) : "");
}
void ResultText(sqlite3_context* c, const WideString& s)
{
  std::string u = System::WideToUtf8(s);
  sqlite3_result_text(c, u.data(), static_cast<int>(u.size()), SQLITE_TRANSIENT);
}

void FnLen(sqlite3_context* c, int, sqlite3_value** a)
{
  if (sqlite3_value_type(a[0]) == SQLITE_NULL) {
    sqlite3_result_null(c);
    return;
  }
  sqlite3_result_int64(c, static_cast<sqlite3_int64>(TextOf(a[0]).size()));
}

void FnLeft(sqlite3_context* c, int, sqlite3_value** a)
{
  if (sqlite3_value_type(a[0]) == SQLITE_NULL) {
    sqlite3_result_null(c);
    return;
  }
  WideString s = TextOf(a[0]);
  sqlite3_int64 n = std::max<sqlite3_int64>(0, sqlite3_value_int64(a[1]));
  ResultText(c,
             s.substr(0, static_cast<std::size_t>(std::min<sqlite3_int64>(n, static_cast<sqlite3_int64>(s.size())))));
}

void FnRight(sqlite3_context* c, int, sqlite3_value** a)
{
  if (sqlite3_value_type(a[0]) == SQLITE_NULL) {
    sqlite3_result_null(c);
    return;
  }
  WideString s = TextOf(a[0]);
  std::size_t n = static_cast<std::size_t>(std::max<sqlite3_int64>(0, sqlite3_value_int64(a[1])));
  ResultText(c, n >= s.size() ? s : s.substr(s.size() - n));
}

void FnMid(sqlite3_context* c, int argc, sqlite3_value** a)
{
  if (sqlite3_value_type(a[0]) == SQLITE_NULL) {
    sqlite3_result_null(c);
    return;
  }
  WideString s = TextOf(a[0]);
  sqlite3_int64 start = sqlite3_value_int64(a[1]);
  if (start < 1) {
    sqlite3_result_error(c, "Invalid procedure call or argument", -1);
    return;
  }
  std::size_t from = static_cast<std::size_t>(start - 1);
  if (from >= s.size()) {
    ResultText(c, WideString());
    return;
  }
  std::size_t len =
      argc > 2 ? static_cast<std::size_t>(std::max<sqlite3_int64>(0, sqlite3_value_int64(a[2]))) : WideString::npos;
  ResultText(c, s.substr(from, len));
}

void FnCase(sqlite3_context* c, sqlite3_value* v, bool upper)
{
  if (sqlite3_value_type(v) == SQLITE_NULL) {
    sqlite3_result_null(c);
    return;
  }
  WideString s = TextOf(v);
  for (WideChar& ch : s) {
    if (upper && ch >= u'a' && ch <= u'z') ch = static_cast<WideChar>(ch - 32);
    if (!upper && ch >= u'A' && ch <= u'Z') ch = static_cast<WideChar>(ch + 32);
  }
  ResultText(c, s);
}
void FnUCase(sqlite3_context* c, int, sqlite3_value** a) { FnCase(c, a[0], true); }
void FnLCase(sqlite3_context* c, int, sqlite3_value** a) { FnCase(c, a[0], false); }

void FnIIf(sqlite3_context* c, int, sqlite3_value** a)
{
  bool cond = sqlite3_value_type(a[0]) != SQLITE_NULL && sqlite3_value_double(a[0]) != 0;
  sqlite3_result_value(c, a[cond ? 1 : 2]);
}

void FnNz(sqlite3_context* c, int argc, sqlite3_value** a)
{
  if (sqlite3_value_type(a[0]) != SQLITE_NULL)
    sqlite3_result_value(c, a[0]);
  else if (argc > 1)
    sqlite3_result_value(c, a[1]);
  else
    sqlite3_result_int(c, 0);
}

void FnInt(sqlite3_context* c, int, sqlite3_value** a)
{
  if (sqlite3_value_type(a[0]) == SQLITE_NULL) {
    sqlite3_result_null(c);
    return;
  }
  sqlite3_result_double(c, std::floor(sqlite3_value_double(a[0])));
}

// Text order of the original: code page 936 bytes (pinyin order for the common characters),
// ASCII letters folded. Texts that differ only where code page 936 has no character are told
// apart by their UTF-8 bytes, ASCII folded, so that distinct texts never compare equal.
int CompareText(void*, int la, const void* a, int lb, const void* b)
{
  std::string ua(static_cast<const char*>(a), static_cast<std::size_t>(la));
  std::string ub(static_cast<const char*>(b), static_cast<std::size_t>(lb));
  int c = SysUtils::AnsiCompareText(System::Utf8ToAnsi(ua), System::Utf8ToAnsi(ub));
  if (c != 0) return c;
  int n = std::min(la, lb);
  for (int i = 0; i < n; ++i) {
    unsigned char x = static_cast<unsigned char>(ua[static_cast<std::size_t>(i)]);
    unsigned char y = static_cast<unsigned char>(ub[static_cast<std::size_t>(i)]);
    if (x >= 'A' && x <= 'Z') x = static_cast<unsigned char>(x + 32);
    if (y >= 'A' && y <= 'Z') y = static_cast<unsigned char>(y + 32);
    if (x != y) return x < y ? -1 : 1;
  }
  return la < lb ? -1 : (la > lb ? 1 : 0);
}

void RegisterFunctions(sqlite3* db)
{
  if (sqlite3_create_collation(db, "JETTEXT", SQLITE_UTF8, nullptr, CompareText) != SQLITE_OK) Fail(db);
  struct Fn {
    const char* Name;
    int Args;
    void (*F)(sqlite3_context*, int, sqlite3_value**);
    bool Volatile;
  };
  const Fn fns[] = {
      {"Now", 0, FnNow, true},          {"Date", 0, FnDate, true},
      {"Time", 0, FnTime, true},        {"DateDiff", 3, FnDateDiff, false},
      {"DateAdd", 3, FnDateAdd, false}, {"Year", 1, FnYear, false},
      {"Month", 1, FnMonth, false},     {"Day", 1, FnDay, false},
      {"Len", 1, FnLen, false},         {"jet_left", 2, FnLeft, false},
      {"jet_right", 2, FnRight, false}, {"Mid", 2, FnMid, false},
      {"Mid", 3, FnMid, false},         {"UCase", 1, FnUCase, false},
      {"LCase", 1, FnLCase, false},     {"IIf", 3, FnIIf, false},
      {"Nz", 1, FnNz, false},           {"Nz", 2, FnNz, false},
      {"Int", 1, FnInt, false},
  };
  for (const Fn& f : fns) {
    int flags = SQLITE_UTF8 | (f.Volatile ? 0 : SQLITE_DETERMINISTIC);
    if (sqlite3_create_function(db, f.Name, f.Args, flags, nullptr, f.F, nullptr, nullptr) != SQLITE_OK) Fail(db);
  }
}

// --- result columns ---------------------------------------------------------------------------

TFieldType TypeOfDecl(const char* decl, Integer& size)
{
  size = 0;
  if (!decl) return ftUnknown;
  AnsiString d = SysUtils::UpperCase(decl);
  auto has = [&](const char* s) { return d.find(s) != AnsiString::npos; };
  if (has("LONGTEXT") || has("MEMO") || has("CLOB") || has("LONGCHAR")) return ftWideMemo;
  if (has("CHAR") || has("TEXT") || has("STRING")) {
    std::size_t p = d.find('(');
    size = p == AnsiString::npos ? 255 : SysUtils::StrToIntDef(d.substr(p + 1, d.find(')', p) - p - 1), 255);
    return ftWideString;
  }
  if (has("COUNTER") || has("AUTOINC")) return ftAutoInc;
  if (has("BIGINT") || has("LARGEINT")) return ftLargeint;
  if (has("SMALLINT") || has("SHORT")) return ftSmallint;
  if (has("TINYINT") || d == "BYTE") return ftWord;
  if (has("BIT") || has("YESNO") || has("BOOL") || has("LOGICAL")) return ftBoolean;
  if (has("INT") || d == "LONG") return ftInteger;
  if (has("DATE") || has("TIME")) return ftDateTime;
  if (has("CURRENCY") || has("MONEY") || has("DECIMAL") || has("NUMERIC")) return ftBCD;
  if (has("REAL") || has("FLOA") || has("DOUB") || has("SINGLE")) return ftFloat;
  if (has("BLOB") || has("BINARY") || has("IMAGE") || has("OLE")) return ftBlob;
  return ftUnknown;
}

// Scratch holds the engine's UTF-8 text on its way to the converter; reused by the caller from row
// to row so that reading a text costs one allocation, that of the value kept.
Variant RawValue(sqlite3_stmt* st, int i, std::string& Scratch)
{
  switch (sqlite3_column_type(st, i)) {
    case SQLITE_INTEGER: return Variant(static_cast<long long>(sqlite3_column_int64(st, i)));
    case SQLITE_FLOAT: return Variant(sqlite3_column_double(st, i));
    case SQLITE_TEXT: {
      const char* t = reinterpret_cast<const char*>(sqlite3_column_text(st, i));
      Scratch.assign(t, static_cast<std::size_t>(sqlite3_column_bytes(st, i)));
      return Variant(System::Utf8ToWide(Scratch));
    }
    case SQLITE_BLOB: {
      const char* b = static_cast<const char*>(sqlite3_column_blob(st, i));
      return Variant(AnsiString(b ? b : "", static_cast<std::size_t>(sqlite3_column_bytes(st, i))));
    }
    default: return Variant::Null();
  }
}

Variant Convert(const Variant& v, TFieldType type);

// Values already in the column's form move through unchanged.
Variant Convert(Variant&& v, TFieldType type)
{
  TVarType vt0 = v.VarType();
  if (vt0 == varNull || (vt0 == varOleStr && (type == ftWideString || type == ftWideMemo)) ||
      (vt0 == varDouble && type == ftFloat))
    return std::move(v);
  return Convert(static_cast<const Variant&>(v), type);
}

Variant Convert(const Variant& v, TFieldType type)
{
  if (v.IsNull()) return v;
  TVarType vt = v.VarType();
  try {
    switch (type) {
      case ftWideString:
      case ftWideMemo: return vt == varOleStr ? v : Variant(Variants::VarToWideStr(v));
      case ftInteger:
      case ftSmallint:
      case ftWord:
      case ftAutoInc: return vt == varOleStr ? v : Variant(static_cast<int>(v.AsInt64()));
      case ftLargeint: return vt == varOleStr ? v : Variant(static_cast<long long>(v.AsInt64()));
      case ftBoolean:
        if (vt == varOleStr) {
          WideString s = v.AsWideString();
          return Variant(!(s.empty() || s == u"0" || s == u"False" || s == u"false"));
        }
        return Variant(v.AsDouble() != 0);
      case ftDateTime: {
        if (vt == varOleStr) {
          double d;
          return JetDialect::ParseDateLiteral(v.AsWideString(), d) ? Variant(TDateTime(d)) : v;
        }
        return Variant(TDateTime(v.AsDouble()));
      }
      case ftBCD: return vt == varOleStr ? v : Variant(v.AsCurrency());
      case ftFloat: return vt == varOleStr ? v : Variant(v.AsDouble());
      case ftBlob:
        return vt == varOleStr ? Variant(System::WideToUtf8(v.AsWideString())) : Variant(Variants::VarToStr(v));
      default: return v;
    }
  } catch (const EVariantError&) {
    return v;  // a value the declared type cannot hold comes back as stored
  }
}

// The type of an expression column, from the values it holds (as RawValue reads them).
struct TValueTally {
  bool anyInt = false, anyFloat = false, anyText = false, anyBlob = false, big = false;
  void Add(const Variant& v)
  {
    switch (v.VarType()) {
      case varInt64: {
        anyInt = true;
        Int64 x = v.AsInt64();
        big = big || x < INT32_MIN || x > INT32_MAX;
        break;
      }
      case varDouble: anyFloat = true; break;
      case varOleStr: anyText = true; break;
      case varString: anyBlob = true; break;
      default: break;
    }
  }
  TFieldType Type(Integer& size) const;
};

TFieldType TypeOfValues(const std::vector<std::vector<Variant>>& rows, std::size_t col, Integer& size)
{
  TValueTally tally;
  for (const auto& r : rows) tally.Add(r[col]);
  return tally.Type(size);
}

TFieldType TypeOfValues(const std::vector<TPackedValues>& rows, std::size_t col, Integer& size)
{
  TValueTally tally;
  for (const TPackedValues& r : rows) {
    switch (r.GetKind(col)) {
      case TPackedValues::pkInt64:
      case TPackedValues::pkDouble:
      case TPackedValues::pkAnsi: tally.Add(r.Get(col)); break;
      case TPackedValues::pkWideAnsi:
      case TPackedValues::pkWide: tally.anyText = true; break;
      default: break;
    }
  }
  return tally.Type(size);
}

TFieldType TValueTally::Type(Integer& size) const
{
  size = 0;
  if (anyText || (!anyInt && !anyFloat && !anyBlob)) {
    size = 255;
    return ftWideString;
  }
  if (anyBlob) return ftBlob;
  if (anyFloat) return ftFloat;
  return big ? ftLargeint : ftInteger;
}

bool IsBinaryType(TFieldType t)
{
  return t == ftBlob || t == ftGraphic || t == ftBytes || t == ftVarBytes || t == ftTypedBinary;
}

// --- the provider -----------------------------------------------------------------------------

class TJetProvider : public TDBProvider {
public:
  ~TJetProvider() override { Close(); }

  void Open(const TConnectionString& Params, Integer TimeoutSeconds) override
  {
    Close();
    if (ExcelProvider::IsExcelConnection(Params)) {
      auto excel = ExcelProvider::Create();
      excel->Open(Params, TimeoutSeconds);
      FExcel = std::move(excel);
      return;
    }
    AnsiString file = Params.Get("Data Source");
    bool readOnly = SysUtils::SameText(Params.Get("Mode"), "Read");
    sqlite3* db = OpenFile(file, readOnly);
    if (!JetPassword::Check(db, Params.Get("Jet OLEDB:Database Password"))) {
      sqlite3_close(db);
      throw EOleException("Not a valid password.");
    }
    sqlite3_busy_timeout(db, std::max(1, TimeoutSeconds) * 1000);
    TScopeExit undo([&] { sqlite3_close(db); });
    RegisterFunctions(db);
    undo.Dismiss();
    FDb = db;
  }

  void Close() override
  {
    FExcel.reset();
    if (!FDb) return;
    if (FLevel > 0) sqlite3_exec(FDb, "ROLLBACK", nullptr, nullptr, nullptr);
    FLevel = 0;
    sqlite3_close_v2(FDb);
    FDb = nullptr;
  }

  bool GetConnected() const override { return FDb != nullptr || FExcel; }
  Integer GetTransactionLevel() const override { return FExcel ? FExcel->GetTransactionLevel() : FLevel; }

  std::vector<AnsiString> GetTableNames(bool SystemTables) override
  {
    if (FExcel) return FExcel->GetTableNames(SystemTables);
    CheckOpen();
    std::vector<AnsiString> names;
    sqlite3_stmt* st = nullptr;
    if (sqlite3_prepare_v2(FDb, "SELECT name FROM sqlite_master WHERE type IN ('table', 'view') ORDER BY name", -1, &st,
                           nullptr) != SQLITE_OK)
      Fail(FDb);
    while (sqlite3_step(st) == SQLITE_ROW) {
      AnsiString name = System::Utf8ToAnsi(reinterpret_cast<const char*>(sqlite3_column_text(st, 0)));
      bool system = SysUtils::SameText(name.substr(0, 4), "MSys") || SysUtils::SameText(name.substr(0, 7), "sqlite_");
      if (!system || SystemTables) names.push_back(name);
    }
    sqlite3_finalize(st);
    return names;
  }

  Integer BeginTrans() override
  {
    if (FExcel) return FExcel->BeginTrans();
    CheckOpen();
    Exec(FLevel == 0 ? std::string("BEGIN") : "SAVEPOINT level" + std::to_string(FLevel + 1));
    return ++FLevel;
  }

  void CommitTrans() override
  {
    if (FExcel) return FExcel->CommitTrans();
    CheckTrans();
    Exec(FLevel == 1 ? std::string("COMMIT") : "RELEASE level" + std::to_string(FLevel));
    --FLevel;
  }

  void RollbackTrans() override
  {
    if (FExcel) return FExcel->RollbackTrans();
    CheckTrans();
    if (sqlite3_get_autocommit(FDb)) {  // the engine already rolled back after an error
      FLevel = 0;
      return;
    }
    if (FLevel == 1)
      Exec("ROLLBACK");
    else
      Exec("ROLLBACK TO level" + std::to_string(FLevel) + "; RELEASE level" + std::to_string(FLevel));
    --FLevel;
  }

  TProviderResult Execute(const WideString& Sql, const TParameters* Params, Integer TimeoutSeconds) override
  {
    if (FExcel) return FExcel->Execute(Sql, Params, TimeoutSeconds);
    return Run(Sql, Params, TimeoutSeconds, false);
  }

  TProviderResult ExecuteForDataSet(const WideString& Sql, const TParameters* Params, Integer TimeoutSeconds) override
  {
    if (FExcel) return FExcel->ExecuteForDataSet(Sql, Params, TimeoutSeconds);
    return Run(Sql, Params, TimeoutSeconds, true);
  }

  // Packed: rows go to PackedRows.
  TProviderResult Run(const WideString& Sql, const TParameters* Params, Integer TimeoutSeconds, bool Packed)
  {
    CheckOpen();
    JetDialect::TRewritten rw = JetDialect::Rewrite(Sql);
    sqlite3_stmt* st = nullptr;
    const char* tail = nullptr;
    if (sqlite3_prepare_v2(FDb, rw.Sql.c_str(), static_cast<int>(rw.Sql.size()), &st, &tail) != SQLITE_OK) Fail(FDb);
    struct Finalizer {
      sqlite3_stmt* S;
      sqlite3* D;
      ~Finalizer()
      {
        sqlite3_finalize(S);
        sqlite3_progress_handler(D, 0, nullptr, nullptr);
      }
    } fin{st, FDb};
    if (!st)
      throw EOleException("Invalid SQL statement; expected 'DELETE', 'INSERT', 'PROCEDURE', 'SELECT', or 'UPDATE'.");
    while (tail && *tail && std::strchr(" \t\r\n;", *tail)) ++tail;
    if (tail && *tail) throw EOleException("Characters found after end of SQL statement.");
    for (std::size_t i = 0; i < rw.ParamNames.size(); ++i) {
      TParameter* p = Params ? Params->FindParam(System::WideToAnsi(rw.ParamNames[i])) : nullptr;
      if (!p) DB::DatabaseError(SysUtils::Format("Parameter '%s' not found", {System::WideToAnsi(rw.ParamNames[i])}));
      Bind(st, static_cast<int>(i + 1), *p);
    }

    double deadline = MonotonicNow() + TimeoutSeconds;
    if (TimeoutSeconds > 0) sqlite3_progress_handler(FDb, 4096, &TJetProvider::Progress, &deadline);

    TProviderResult result;
    int cols = sqlite3_column_count(st);
    std::vector<TFieldType> types(static_cast<std::size_t>(cols));
    for (int i = 0; i < cols; ++i) {
      TProviderColumn c;
      c.Name = System::Utf8ToAnsi(sqlite3_column_name(st, i));
      c.DataType = TypeOfDecl(sqlite3_column_decltype(st, i), c.Size);
      const char* table = sqlite3_column_table_name(st, i);
      const char* origin = sqlite3_column_origin_name(st, i);
      if (table && origin) {
        c.BaseTable = System::Utf8ToAnsi(table);
        c.BaseColumn = System::Utf8ToAnsi(origin);
        int notNull = 0, pk = 0, autoinc = 0;
        if (sqlite3_table_column_metadata(FDb, sqlite3_column_database_name(st, i), table, origin, nullptr, nullptr,
                                          &notNull, &pk, &autoinc) == SQLITE_OK) {
          if (autoinc && (c.DataType == ftInteger || c.DataType == ftLargeint)) c.DataType = ftAutoInc;
          c.Required = notNull != 0;
        }
      }
      result.Columns.push_back(c);
    }
    int rc;
    std::string scratch;
    TPackedValuesBuilder builder;
    while (Packed && (rc = sqlite3_step(st)) == SQLITE_ROW) {
      builder.Begin(static_cast<std::size_t>(cols));
      for (int i = 0; i < cols; ++i) {
        const std::size_t at = static_cast<std::size_t>(i);
        const TFieldType t = result.Columns[at].DataType;
        const int kind = sqlite3_column_type(st, i);
        if (kind == SQLITE_NULL) {
          builder.SetNull(at);
        } else if (kind == SQLITE_TEXT && (t == ftWideString || t == ftWideMemo || t == ftUnknown)) {
          const char* text = reinterpret_cast<const char*>(sqlite3_column_text(st, i));
          builder.SetUtf8Text(at, text, static_cast<std::size_t>(sqlite3_column_bytes(st, i)));
        } else if (kind == SQLITE_INTEGER && t == ftInteger) {
          builder.SetInteger(at, static_cast<std::int32_t>(sqlite3_column_int64(st, i)));
        } else if (kind == SQLITE_FLOAT && t == ftFloat) {
          builder.SetDouble(at, sqlite3_column_double(st, i));
        } else {
          builder.SetVariant(at, t == ftUnknown ? RawValue(st, i, scratch) : Convert(RawValue(st, i, scratch), t));
        }
      }
      result.PackedRows.push_back(builder.Finish());
    }
    while (!Packed && (rc = sqlite3_step(st)) == SQLITE_ROW) {
      std::vector<Variant> row;
      row.reserve(static_cast<std::size_t>(cols));
      for (int i = 0; i < cols; ++i) {
        TFieldType t = result.Columns[static_cast<std::size_t>(i)].DataType;
        row.push_back(t == ftUnknown ? RawValue(st, i, scratch) : Convert(RawValue(st, i, scratch), t));
      }
      result.Rows.push_back(std::move(row));
    }
    if (rc != SQLITE_DONE) {
      // Some errors end the transaction inside the engine; the level follows.
      if (FLevel > 0 && sqlite3_get_autocommit(FDb)) FLevel = 0;
      if (rc == SQLITE_INTERRUPT) throw EOleException("Query timeout expired");
      Fail(FDb);
    }
    for (int i = 0; i < cols; ++i) {
      TProviderColumn& c = result.Columns[static_cast<std::size_t>(i)];
      if (c.DataType != ftUnknown) continue;  // converted while stepping
      if (!Packed) {
        c.DataType = TypeOfValues(result.Rows, static_cast<std::size_t>(i), c.Size);
        for (auto& r : result.Rows)
          r[static_cast<std::size_t>(i)] = Convert(r[static_cast<std::size_t>(i)], c.DataType);
        continue;
      }
      c.DataType = TypeOfValues(result.PackedRows, static_cast<std::size_t>(i), c.Size);
      // Rows are packed again only where the value changes form.
      for (TPackedValues& r : result.PackedRows) {
        Variant raw = r.Get(static_cast<std::size_t>(i));
        Variant typed = Convert(raw, c.DataType);
        if (typed.VarType() == raw.VarType()) continue;
        std::vector<Variant> values = r.Unpack();
        values[static_cast<std::size_t>(i)] = std::move(typed);
        TPackedValues::Pack(values, r);
      }
    }
    result.RowsAffected = cols > 0 ? -1 : sqlite3_changes64(FDb);
    return result;
  }

  TProviderResult ExecuteInsert(const WideString& Sql, const TParameters* Params, Integer TimeoutSeconds,
                                const AnsiString& Table, const std::vector<AnsiString>& Columns) override
  {
    if (FExcel) return FExcel->ExecuteInsert(Sql, Params, TimeoutSeconds, Table, Columns);
    TProviderResult r = Execute(Sql, Params, TimeoutSeconds);
    if (r.RowsAffected != 1 || Columns.empty()) return r;
    // The new row is found by its rowid, which an INTEGER PRIMARY KEY column is, so a counter
    // key comes back with the row.
    TParameters p;
    p.CreateParameter("pelto_rowid", ftLargeint, Variant(static_cast<Int64>(sqlite3_last_insert_rowid(FDb))));
    WideString sql = u"select ";
    for (std::size_t i = 0; i < Columns.size(); ++i) sql += (i ? u", [" : u"[") + System::AnsiToWide(Columns[i]) + u"]";
    sql += u" from [" + System::AnsiToWide(Table) + u"] where rowid = :pelto_rowid";
    try {
      TProviderResult row = Execute(sql, &p, TimeoutSeconds);
      if (row.Rows.size() == 1) {
        r.Columns = std::move(row.Columns);
        r.Rows = std::move(row.Rows);
      }
    } catch (const EOleException&) {
      // A table without rowids cannot be read back; the insert itself stands.
    }
    return r;
  }

private:
  static int Progress(void* arg) { return MonotonicNow() > *static_cast<double*>(arg) ? 1 : 0; }

  void CheckOpen() const
  {
    if (!FDb) throw EOleException("Operation is not allowed when the object is closed.");
  }

  void CheckTrans() const
  {
    CheckOpen();
    if (FLevel == 0) throw EOleException("Cannot commit or rollback without a transaction.");
  }

  void Exec(const std::string& sql)
  {
    if (sqlite3_exec(FDb, sql.c_str(), nullptr, nullptr, nullptr) != SQLITE_OK) Fail(FDb);
  }

  void Bind(sqlite3_stmt* st, int i, const TParameter& p)
  {
    const Variant& v = p.GetValue().Deref();
    int rc = SQLITE_OK;
    switch (v.VarType()) {
      case varEmpty:
      case varNull: rc = sqlite3_bind_null(st, i); break;
      case varBoolean: rc = sqlite3_bind_int(st, i, v.AsBoolean() ? 1 : 0); break;
      case varSmallint:
      case varInteger:
      case varShortInt:
      case varByte:
      case varWord:
      case varLongWord:
      case varInt64: rc = sqlite3_bind_int64(st, i, v.AsInt64()); break;
      case varSingle:
      case varDouble:
      case varCurrency:
      case varDate: rc = sqlite3_bind_double(st, i, v.AsDouble()); break;
      case varOleStr: {
        std::string u = System::WideToUtf8(v.AsWideString());
        rc = sqlite3_bind_text(st, i, u.data(), static_cast<int>(u.size()), SQLITE_TRANSIENT);
        break;
      }
      case varString: {
        const AnsiString& s = v.AsString();
        if (IsBinaryType(p.GetDataType())) {
          rc = sqlite3_bind_blob(st, i, s.data(), static_cast<int>(s.size()), SQLITE_TRANSIENT);
        } else {
          std::string u = System::AnsiToUtf8(s);
          rc = sqlite3_bind_text(st, i, u.data(), static_cast<int>(u.size()), SQLITE_TRANSIENT);
        }
        break;
      }
      default: {
        std::string u = System::WideToUtf8(Variants::VarToWideStr(v));
        rc = sqlite3_bind_text(st, i, u.data(), static_cast<int>(u.size()), SQLITE_TRANSIENT);
        break;
      }
    }
    if (rc != SQLITE_OK) Fail(FDb);
  }

  sqlite3* FDb = nullptr;
  Integer FLevel = 0;
  std::unique_ptr<TDBProvider> FExcel;  // the "Excel 8.0" mode, when the connection asks for it
};

}  // namespace

std::unique_ptr<TDBProvider> Create() { return std::make_unique<TJetProvider>(); }

void CreateDatabase(const AnsiString& FileName, const AnsiString& Password)
{
  if (FileExists(FileName)) throw EOleException("Database already exists.");
  sqlite3* db = nullptr;
  int rc =
      sqlite3_open_v2(System::AnsiToUtf8(FileName).c_str(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
  if (rc != SQLITE_OK) {
    AnsiString msg = System::Utf8ToAnsi(db ? sqlite3_errmsg(db) : "out of memory");
    sqlite3_close(db);
    throw EOleException(msg);
  }
  TScopeExit undo([&] { sqlite3_close(db); });
  JetPassword::Store(db, Password);
}

void ChangeDatabasePassword(const AnsiString& FileName, const AnsiString& OldPassword, const AnsiString& NewPassword)
{
  sqlite3* db = OpenFile(FileName, false);
  TScopeExit undo([&] { sqlite3_close(db); });
  if (!JetPassword::Check(db, OldPassword)) throw EOleException("Not a valid password.");
  JetPassword::Store(db, NewPassword);
}

void CopyDatabase(const AnsiString& Source, const AnsiString& Dest)
{
  sqlite3* src = OpenFile(Source, true);
  std::string dest = System::AnsiToUtf8(Dest);
  std::string temp = dest + ".tmp-" + std::to_string(::getpid());
  ::unlink(temp.c_str());
  sqlite3* dst = nullptr;
  AnsiString error;
  if (sqlite3_open_v2(temp.c_str(), &dst, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr) != SQLITE_OK) {
    error = System::Utf8ToAnsi(dst ? sqlite3_errmsg(dst) : "out of memory");
  } else if (sqlite3_backup* b = sqlite3_backup_init(dst, "main", src, "main")) {
    int rc;
    while ((rc = sqlite3_backup_step(b, 256)) == SQLITE_OK || rc == SQLITE_BUSY || rc == SQLITE_LOCKED)
      sqlite3_sleep(rc == SQLITE_OK ? 0 : 20);
    sqlite3_backup_finish(b);
    if (rc != SQLITE_DONE) error = System::Utf8ToAnsi(sqlite3_errstr(rc));
  } else {
    error = System::Utf8ToAnsi(sqlite3_errmsg(dst));
  }
  if (error.empty()) {
    sqlite3_stmt* st = nullptr;
    std::string verdict;
    if (sqlite3_prepare_v2(dst, "PRAGMA integrity_check", -1, &st, nullptr) == SQLITE_OK &&
        sqlite3_step(st) == SQLITE_ROW)
      verdict = reinterpret_cast<const char*>(sqlite3_column_text(st, 0));
    sqlite3_finalize(st);
    if (verdict != "ok") error = "The copy of the database failed its check: " + System::Utf8ToAnsi(verdict);
  }
  sqlite3_close(dst);
  sqlite3_close(src);
  if (error.empty() && std::rename(temp.c_str(), dest.c_str()) != 0)
    error = SysUtils::Format("Could not replace file '%s'.", {Dest});
  if (!error.empty()) {
    ::unlink(temp.c_str());
    throw EOleException(error);
  }
}

}  // namespace JetProvider
