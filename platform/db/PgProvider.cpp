#include "platform/db/PgProvider.h"

#include <libpq-fe.h>

#include <atomic>
#include <cctype>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <map>

#include "platform/db/Params.h"
#include "platform/db/PgDialect.h"
#include "platform/rtl/AnsiStrings.h"
#include "platform/rtl/Conversions.h"
#include "platform/rtl/DateTime.h"
#include "platform/rtl/FormatText.h"
#include "platform/rtl/Registry.h"
#include "platform/rtl/StringUtils.h"
#include "platform/rtl/Guards.h"

namespace PgProvider {

namespace {

std::atomic<int> Largest{0};

void NoteReply(int Rows)
{
  int seen = Largest.load();
  while (Rows > seen && !Largest.compare_exchange_weak(seen, Rows)) {}
}

// Created once per database; pelto_compat() marks a database that has them. Date minus date
// gives days (as on the other engine, where dates are day numbers); the operators live in
// public, which the provider's sessions search before pg_catalog.
const char* CompatSql = R"SQL(
create extension if not exists citext;
do $$
declare coll text := 'default';
begin
  -- Pinyin order with Latin letters before Chinese characters, as in code page 936.
  if exists (select 1 from pg_collation where collprovider = 'i') then
    create collation public.pelto_order (provider = icu, locale = 'zh-u-kr-latn-hani');
    coll := 'public.pelto_order';
  end if;
  execute 'create domain public.pelto_text as citext collate ' || coll;
  execute 'create domain public.pelto_memo as citext collate ' || coll;
end $$;
create domain public.pelto_bit as smallint;
create function public.getdate() returns timestamp language sql stable
  as $f$ select localtimestamp(3)::timestamp $f$;
create function public.len(text) returns integer language sql immutable
  as $f$ select length(rtrim($1, ' ')) $f$;
create function public.abs(boolean) returns integer language sql immutable
  as $f$ select case when $1 then 1 else 0 end $f$;
create function public.pelto_days(timestamp, timestamp) returns double precision language sql immutable
  as $f$ select extract(epoch from ($1 operator(pg_catalog.-) $2))::double precision / 86400 $f$;
create operator public.- (leftarg = timestamp, rightarg = timestamp, function = public.pelto_days);
create function public.pelto_add_days(timestamp, double precision) returns timestamp language sql immutable
  as $f$ select $1 operator(pg_catalog.+) ($2 * interval '1 day') $f$;
create function public.pelto_sub_days(timestamp, double precision) returns timestamp language sql immutable
  as $f$ select $1 operator(pg_catalog.-) ($2 * interval '1 day') $f$;
create operator public.+ (leftarg = timestamp, rightarg = double precision, function = public.pelto_add_days);
create operator public.- (leftarg = timestamp, rightarg = double precision, function = public.pelto_sub_days);
create function public.datediff(iv text, a timestamp, b timestamp) returns integer language plpgsql immutable as $f$
declare
  ea numeric; eb numeric;
begin
  if a is null or b is null then return null; end if;
  case lower(iv)
    when 'd', 'dd', 'day', 'y', 'dy', 'dayofyear' then return b::date operator(pg_catalog.-) a::date;
    when 'yyyy', 'yy', 'year' then return extract(year from b) - extract(year from a);
    when 'm', 'mm', 'month' then
      return (extract(year from b) * 12 + extract(month from b)) - (extract(year from a) * 12 + extract(month from a));
    when 'q', 'qq', 'quarter' then
      return (extract(year from b) * 4 + extract(quarter from b)) - (extract(year from a) * 4 + extract(quarter from a));
    when 'ww', 'wk', 'week' then
      return floor((b::date operator(pg_catalog.-) date '1899-12-31') / 7.0) - floor((a::date operator(pg_catalog.-) date '1899-12-31') / 7.0);
    when 'h', 'hh', 'hour' then
      return (extract(epoch from date_trunc('hour', b)) - extract(epoch from date_trunc('hour', a))) / 3600;
    when 'n', 'mi', 'minute' then
      return (extract(epoch from date_trunc('minute', b)) - extract(epoch from date_trunc('minute', a))) / 60;
    when 's', 'ss', 'second' then
      return extract(epoch from date_trunc('second', b)) - extract(epoch from date_trunc('second', a));
    else raise exception 'Invalid procedure call or argument';
  end case;
end $f$;
create function public.pelto_compat() returns integer language sql immutable as $f$ select 1 $f$;
)SQL";

// Type oids of the built-in types a result may carry.
enum : Oid {
  oidBool = 16,
  oidBytea = 17,
  oidInt8 = 20,
  oidInt2 = 21,
  oidInt4 = 23,
  oidText = 25,
  oidFloat4 = 700,
  oidFloat8 = 701,
  oidBpchar = 1042,
  oidVarchar = 1043,
  oidDate = 1082,
  oidTime = 1083,
  oidTimestamp = 1114,
  oidTimestampTz = 1184,
  oidNumeric = 1700
};

AnsiString FromUtf8(const char* s) { return System::Utf8ToAnsi(s ? s : ""); }

AnsiString ErrorText(const char* msg)
{
  AnsiString s = FromUtf8(msg);
  if (s.compare(0, 7, "ERROR: ") == 0) s.erase(0, 7);
  while (!s.empty() && (s.back() == '\n' || s.back() == ' ')) s.pop_back();
  std::size_t nl = s.find('\n');
  return nl == AnsiString::npos ? s : s.substr(0, nl);
}

bool IsBinaryType(TFieldType t)
{
  return t == ftBlob || t == ftGraphic || t == ftBytes || t == ftVarBytes || t == ftTypedBinary;
}

std::string NumberText(double v)
{
  char buf[64];
  auto r = std::to_chars(buf, buf + sizeof buf, v);
  return std::string(buf, r.ptr);
}

std::string DateText(double days) { return SysUtils::FormatDateTime("yyyy-mm-dd hh:nn:ss.zzz", TDateTime(days)); }

// The server's own output, "yyyy-mm-dd" with an optional " hh:mm:ss[.fraction]", read without
// the general scanner (a date column costs that per row); false, leaving the parts alone, for any
// other form.
bool ParseServerStamp(const char* s, int& y, int& m, int& d, int& hh, int& nn, double& ss)
{
  auto digits = [s](int at, int n) {
    int v = 0;
    for (int i = 0; i < n; ++i) {
      const char c = s[at + i];
      if (c < '0' || c > '9') return -1;
      v = v * 10 + (c - '0');
    }
    return v;
  };
  const int year = digits(0, 4);
  if (year < 0 || s[4] != '-' || digits(5, 2) < 0 || s[7] != '-' || digits(8, 2) < 0) return false;
  int hour = 0, minute = 0;
  double second = 0;
  if (s[10] != '\0') {
    if (s[10] != ' ' || (hour = digits(11, 2)) < 0 || s[13] != ':' || (minute = digits(14, 2)) < 0 || s[16] != ':' ||
        digits(17, 2) < 0)
      return false;
    const char* end = s + 19;
    if (*end == '.') {
      const char* fraction = ++end;
      while (*end >= '0' && *end <= '9') ++end;
      if (end == fraction) return false;
    }
    if (*end != '\0') return false;
    if (std::from_chars(s + 17, end, second).ptr != end) return false;
  }
  y = year;
  m = digits(5, 2);
  d = digits(8, 2);
  hh = hour;
  nn = minute;
  ss = second;
  return true;
}

bool ParseTimestamp(const char* s, double& days)
{
  int y = 0, m = 0, d = 0, hh = 0, nn = 0, used = 0;
  double ss = 0;
  if (!ParseServerStamp(s, y, m, d, hh, nn, ss)) {
    if (std::sscanf(s, "%d-%d-%d%n", &y, &m, &d, &used) != 3) {
      if (std::sscanf(s, "%d:%d:%lf", &hh, &nn, &ss) == 3) {  // a time alone
        days = (hh * 3600 + nn * 60 + ss) / 86400.0;
        return true;
      }
      return false;
    }
    std::sscanf(s + used, " %d:%d:%lf", &hh, &nn, &ss);
  }
  TDateTime date;
  if (!SysUtils::TryEncodeDate(static_cast<Word>(y), static_cast<Word>(m), static_cast<Word>(d), date)) return false;
  double t = (hh * 3600 + nn * 60 + ss) / 86400.0;
  days = date.Value >= 0 ? date.Value + t : date.Value - t;
  return true;
}

struct TColumnInfo {
  AnsiString Name;      // as written when the table was made
  AnsiString TypeName;  // the type's or domain's name
  Integer Size = 0;
  bool Required = false;
  bool Identity = false;
};

struct TTableInfo {
  AnsiString Name;
  std::map<int, TColumnInfo> Columns;  // by attribute number
};

class TPgProvider : public TDBProvider {
public:
  ~TPgProvider() override { Close(); }

  void Open(const TConnectionString& Params, Integer TimeoutSeconds) override
  {
    Close();
    AnsiString host;
    Integer port = 5432;
    ResolveServer(Params.Get("Data Source"), host, port);
    std::string hostU = System::AnsiToUtf8(host), portS = std::to_string(port),
                db = System::AnsiToUtf8(Params.Get("Initial Catalog")),
                user = System::AnsiToUtf8(Params.Get("User ID")), pw = System::AnsiToUtf8(Params.Get("Password")),
                timeout = std::to_string(TimeoutSeconds > 0 ? TimeoutSeconds : 15);
    const char* keys[] = {"host",
                          "port",
                          "dbname",
                          "user",
                          "password",
                          "connect_timeout",
                          "options",
                          "client_encoding",
                          "application_name",
                          nullptr};
    const char* values[] = {hostU.c_str(),
                            portS.c_str(),
                            db.c_str(),
                            user.c_str(),
                            pw.c_str(),
                            timeout.c_str(),
                            "-c search_path=public,pg_catalog -c DateStyle=ISO,YMD -c client_min_messages=warning",
                            "UTF8",
                            "pelto",
                            nullptr};
    PGconn* c = PQconnectdbParams(keys, values, 0);
    if (!c || PQstatus(c) != CONNECTION_OK) {
      AnsiString msg = c ? ErrorText(PQerrorMessage(c)) : AnsiString("out of memory");
      PQfinish(c);
      throw EOleException(msg);
    }
    PQsetNoticeProcessor(
        c, [](void*, const char*) {}, nullptr);
    FConn = c;
    TScopeExit undo([&] {
      PQexec(FConn, "rollback");
      Close();
    });
    if (!HasCompat()) {
      // Two programs opening a new database at once: the second waits, then finds them made.
      Exec("begin; select pg_advisory_xact_lock(7710421)");
      if (!HasCompat()) Exec(CompatSql);
      Exec("commit");
    }
    undo.Dismiss();
  }

  void Close() override
  {
    if (!FConn) return;
    PQfinish(FConn);  // an open transaction ends with the session, rolled back
    FConn = nullptr;
    FLevel = 0;
    FTimeout = 0;
    FTables.clear();
  }

  bool GetConnected() const override { return FConn != nullptr; }
  Integer GetTransactionLevel() const override { return FLevel; }

  Integer BeginTrans() override
  {
    CheckOpen();
    Exec(FLevel == 0 ? std::string("begin") : "savepoint level" + std::to_string(FLevel + 1));
    return ++FLevel;
  }

  void CommitTrans() override
  {
    CheckTrans();
    Exec(FLevel == 1 ? std::string("commit") : "release savepoint level" + std::to_string(FLevel));
    --FLevel;
  }

  void RollbackTrans() override
  {
    CheckTrans();
    if (FLevel == 1)
      Exec("rollback");
    else
      Exec("rollback to savepoint level" + std::to_string(FLevel) + "; release savepoint level" +
           std::to_string(FLevel));
    --FLevel;
  }

  TProviderResult Execute(const WideString& Sql, const TParameters* Params, Integer TimeoutSeconds) override
  {
    return Run(Sql, Params, TimeoutSeconds, false);
  }

  TProviderResult ExecuteForDataSet(const WideString& Sql, const TParameters* Params, Integer TimeoutSeconds) override
  {
    return Run(Sql, Params, TimeoutSeconds, true);
  }

  TProviderResult Run(const WideString& Sql, const TParameters* Params, Integer TimeoutSeconds, bool Packed)
  {
    CheckOpen();
    PgDialect::TRewritten rw = PgDialect::Rewrite(Sql);
    if (rw.Sql.empty())
      throw EOleException("Invalid SQL statement; expected 'DELETE', 'INSERT', 'PROCEDURE', 'SELECT', or 'UPDATE'.");

    std::size_t n = rw.ParamNames.size();
    std::vector<std::string> texts(n);
    std::vector<const char*> values(n);
    std::vector<int> lengths(n), formats(n);
    std::vector<Oid> types(n);
    for (std::size_t i = 0; i < n; ++i) {
      TParameter* p = Params ? Params->FindParam(System::WideToAnsi(rw.ParamNames[i])) : nullptr;
      if (!p) DB::DatabaseError(SysUtils::Format("Parameter '%s' not found", {System::WideToAnsi(rw.ParamNames[i])}));
      values[i] = Bind(*p, texts[i], types[i], formats[i]) ? texts[i].c_str() : nullptr;
      lengths[i] = static_cast<int>(texts[i].size());
    }

    if (TimeoutSeconds != FTimeout) {
      Exec("set statement_timeout = " + std::to_string(std::max(0, TimeoutSeconds) * 1000));
      FTimeout = TimeoutSeconds;
    }
    if (rw.Columns.empty() && ReadsThroughCursor(rw.Sql))
      return Fetch(rw, static_cast<int>(n), types.data(), values.data(), lengths.data(), formats.data(), Packed);
    // Inside a transaction a failed statement must not doom the rest, as on the other engine.
    if (FLevel > 0) Exec("savepoint pelto_statement");
    PGresult* res = PQexecParams(FConn, rw.Sql.c_str(), static_cast<int>(n), types.data(), values.data(),
                                 lengths.data(), formats.data(), 0);
    struct Clear {
      PGresult* R;
      ~Clear() { PQclear(R); }
    } clear{res};
    ExecStatusType status = PQresultStatus(res);
    if (status != PGRES_COMMAND_OK && status != PGRES_TUPLES_OK) {
      AnsiString msg = res ? ErrorText(PQresultErrorMessage(res)) : ErrorText(PQerrorMessage(FConn));
      const char* state = res ? PQresultErrorField(res, PG_DIAG_SQLSTATE) : nullptr;
      if (FLevel > 0) Exec("rollback to savepoint pelto_statement; release savepoint pelto_statement");
      if (state && std::strcmp(state, "57014") == 0) throw EOleException("Query timeout expired");
      throw EOleException(msg);
    }
    if (FLevel > 0) Exec("release savepoint pelto_statement");

    TProviderResult result;
    if (!rw.Columns.empty() || IsDdl(rw.Sql)) {
      FTables.clear();
      NoteSpellings(rw.Columns);
      if (!rw.Columns.empty()) NormalizeBits(rw.Columns.front().Table);
    }
    if (status == PGRES_COMMAND_OK) {
      const char* t = PQcmdTuples(res);
      result.RowsAffected = t && *t ? std::strtoll(t, nullptr, 10) : 0;
      return result;
    }
    for (int i = 0; i < PQnfields(res); ++i) result.Columns.push_back(Describe(res, i, rw.Spellings));
    AppendRows(res, result, Packed);
    return result;
  }

  // Converts the rows of one reply into Result, whose columns are described already; into its
  // PackedRows when Packed.
  static void AppendRows(const PGresult* res, TProviderResult& Result, bool Packed)
  {
    const int cols = PQnfields(res), rows = PQntuples(res);
    NoteReply(rows);
    if (Packed) {
      Result.PackedRows.reserve(Result.PackedRows.size() + static_cast<std::size_t>(rows));
      TPackedValuesBuilder builder;
      for (int r = 0; r < rows; ++r) {
        builder.Begin(static_cast<std::size_t>(cols));
        for (int i = 0; i < cols; ++i) {
          const std::size_t at = static_cast<std::size_t>(i);
          const TFieldType type = Result.Columns[at].DataType;
          if (PQgetisnull(res, r, i))
            builder.SetNull(at);
          else if (IsTextType(type))
            builder.SetUtf8Text(at, PQgetvalue(res, r, i), static_cast<std::size_t>(PQgetlength(res, r, i)));
          else
            builder.SetVariant(at, Value(PQgetvalue(res, r, i), type));
        }
        Result.PackedRows.push_back(builder.Finish());
      }
      return;
    }
    Result.Rows.reserve(Result.Rows.size() + static_cast<std::size_t>(rows));
    for (int r = 0; r < rows; ++r) {
      std::vector<Variant> row;
      row.reserve(static_cast<std::size_t>(cols));
      for (int i = 0; i < cols; ++i)
        row.push_back(PQgetisnull(res, r, i)
                          ? Variant::Null()
                          : Value(PQgetvalue(res, r, i), Result.Columns[static_cast<std::size_t>(i)].DataType));
      Result.Rows.push_back(std::move(row));
    }
  }

  // A plain query: a cursor can hold it, so its rows can come in batches. SELECT ... INTO makes a
  // table and cannot; a statement this cannot tell about runs whole, as before.
  static bool ReadsThroughCursor(const std::string& sql)
  {
    std::string low = SysUtils::LowerCase(sql);
    std::size_t at = low.find_first_not_of(" \t\r\n(");
    if (at == std::string::npos || low.compare(at, 6, "select") != 0) return false;
    if (at + 6 < low.size() && (std::isalnum(static_cast<unsigned char>(low[at + 6])) || low[at + 6] == '_'))
      return false;
    return low.find("into") == std::string::npos;
  }

  // Runs a query through a cursor and reads its rows FetchRows at a time, so the client never
  // holds more of a large result than one batch besides the rows already converted. The cursor
  // lives in the statement's own transaction (a savepoint inside the caller's); a failure anywhere
  // rolls back as a failed statement does.
  TProviderResult Fetch(const PgDialect::TRewritten& rw, int n, const Oid* types, const char* const* values,
                        const int* lengths, const int* formats, bool Packed)
  {
    const bool own = FLevel == 0;
    Exec(own ? "begin" : "savepoint pelto_statement");
    TScopeExit undo([&] {
      PQclear(
          PQexec(FConn, own ? "rollback" : "rollback to savepoint pelto_statement; release savepoint pelto_statement"));
    });
    auto fail = [&](PGresult* res) {
      AnsiString msg = res ? ErrorText(PQresultErrorMessage(res)) : ErrorText(PQerrorMessage(FConn));
      const char* state = res ? PQresultErrorField(res, PG_DIAG_SQLSTATE) : nullptr;
      const bool timeout = state && std::strcmp(state, "57014") == 0;
      PQclear(res);
      if (timeout) throw EOleException("Query timeout expired");
      throw EOleException(msg);
    };
    std::string declare = "declare pelto_rows no scroll cursor for " + rw.Sql;
    PGresult* res = PQexecParams(FConn, declare.c_str(), n, types, values, lengths, formats, 0);
    if (PQresultStatus(res) != PGRES_COMMAND_OK) fail(res);
    PQclear(res);

    TProviderResult result;
    const std::string fetch = "fetch " + std::to_string(FetchRows) + " from pelto_rows";
    for (bool first = true;; first = false) {
      res = PQexec(FConn, fetch.c_str());
      if (PQresultStatus(res) != PGRES_TUPLES_OK) fail(res);
      TScopeExit clear([res] { PQclear(res); });
      if (first)
        for (int i = 0; i < PQnfields(res); ++i) result.Columns.push_back(Describe(res, i, rw.Spellings));
      AppendRows(res, result, Packed);
      if (PQntuples(res) < FetchRows) break;
    }
    res = PQexec(FConn, own ? "close pelto_rows; commit" : "close pelto_rows; release savepoint pelto_statement");
    if (PQresultStatus(res) != PGRES_COMMAND_OK) fail(res);
    PQclear(res);
    undo.Dismiss();
    return result;
  }

  TProviderResult ExecuteInsert(const WideString& Sql, const TParameters* Params, Integer TimeoutSeconds,
                                const AnsiString& /*Table: the statement names it*/,
                                const std::vector<AnsiString>& Columns) override
  {
    if (Columns.empty()) return Execute(Sql, Params, TimeoutSeconds);
    WideString sql = Sql + u" returning ";
    for (std::size_t i = 0; i < Columns.size(); ++i) sql += (i ? u", [" : u"[") + System::AnsiToWide(Columns[i]) + u"]";
    TProviderResult r = Execute(sql, Params, TimeoutSeconds);
    r.RowsAffected = static_cast<Int64>(r.Rows.size());
    return r;
  }

  std::vector<AnsiString> GetTableNames(bool SystemTables) override
  {
    CheckOpen();
    PGresult* r = PQexec(
        FConn, SystemTables
                   ? "select table_name from information_schema.tables order by 1"
                   : "select table_name from information_schema.tables where table_schema = 'public' order by 1");
    struct Clear {
      PGresult* R;
      ~Clear() { PQclear(R); }
    } clear{r};
    if (PQresultStatus(r) != PGRES_TUPLES_OK) throw EOleException(ErrorText(PQresultErrorMessage(r)));
    std::vector<AnsiString> names;
    for (int i = 0; i < PQntuples(r); ++i) names.push_back(FromUtf8(PQgetvalue(r, i, 0)));
    return names;
  }

private:
  bool HasCompat()
  {
    PGresult* r =
        PQexec(FConn, "select 1 from pg_proc where proname = 'pelto_compat' and pronamespace = 'public'::regnamespace");
    bool have = PQresultStatus(r) == PGRES_TUPLES_OK && PQntuples(r) > 0;
    PQclear(r);
    return have;
  }

  static bool IsDdl(const std::string& sql)
  {
    std::string w = SysUtils::LowerCase(sql.substr(0, 6));
    return w == "create" || w == "alter " || w == "drop t" || w == "drop  ";
  }

  void CheckOpen() const
  {
    if (!FConn) throw EOleException("Operation is not allowed when the object is closed.");
  }

  void CheckTrans() const
  {
    CheckOpen();
    if (FLevel == 0) throw EOleException("Cannot commit or rollback without a transaction.");
  }

  void Exec(const std::string& sql)
  {
    PGresult* r = PQexec(FConn, sql.c_str());
    ExecStatusType s = PQresultStatus(r);
    AnsiString msg = s == PGRES_COMMAND_OK || s == PGRES_TUPLES_OK ? AnsiString() : ErrorText(PQresultErrorMessage(r));
    if (r == nullptr) msg = ErrorText(PQerrorMessage(FConn));
    PQclear(r);
    if (!msg.empty()) throw EOleException(msg);
  }

  // The spelling and size of declared columns, kept as column comments.
  void NoteSpellings(const std::vector<PgDialect::TDeclaredColumn>& cols)
  {
    for (const auto& c : cols) {
      char* lit = PQescapeLiteral(FConn, (c.Spelling + "\t" + std::to_string(c.Size)).c_str(), std::string::npos);
      char* tab = PQescapeIdentifier(FConn, c.Table.c_str(), c.Table.size());
      char* col = PQescapeIdentifier(FConn, c.Column.c_str(), c.Column.size());
      std::string sql =
          lit && tab && col ? std::string("comment on column ") + tab + "." + col + " is " + lit : std::string();
      PQfreemem(lit);
      PQfreemem(tab);
      PQfreemem(col);
      if (!sql.empty()) {
        PGresult* r = PQexec(FConn, sql.c_str());  // a missing spelling only costs the case of a name
        PQclear(r);
      }
    }
  }

  // A bit column holds 0 or 1 whatever number is written into it, as on SQL Server: a trigger
  // per table with bit columns maps any other number to 1.
  void NormalizeBits(const std::string& table)
  {
    char* tab = PQescapeIdentifier(FConn, table.c_str(), table.size());
    std::string t = tab ? tab : "";
    std::string fn = "pelto_bits_" + table;
    char* fnq = PQescapeIdentifier(FConn, fn.c_str(), fn.size());
    std::string f = fnq ? fnq : "";
    PQfreemem(tab);
    PQfreemem(fnq);
    if (t.empty() || f.empty()) return;
    const char* v[] = {t.c_str()};
    PGresult* r = PQexecParams(
        FConn,
        "select quote_ident(a.attname) from pg_attribute a join pg_type y on y.oid = a.atttypid "
        "where a.attrelid = to_regclass($1) and y.typname = 'pelto_bit' and a.attnum > 0 and not a.attisdropped",
        1, nullptr, v, nullptr, nullptr, 0);
    std::string body;
    if (PQresultStatus(r) == PGRES_TUPLES_OK)
      for (int i = 0; i < PQntuples(r); ++i) {
        std::string c = std::string("NEW.") + PQgetvalue(r, i, 0);
        body += c + " := case when " + c + " <> 0 then 1 else " + c + " end; ";
      }
    PQclear(r);
    if (body.empty()) return;
    Exec("create or replace function public." + f + "() returns trigger language plpgsql as $pelto$ begin " + body +
         "return NEW; end $pelto$; create or replace trigger pelto_bits before insert or update on " + t +
         " for each row execute function public." + f + "()");
  }

  const TTableInfo& Table(Oid oid)
  {
    auto it = FTables.find(oid);
    if (it != FTables.end()) return it->second;
    TTableInfo info;
    std::string id = std::to_string(oid);
    const char* v[] = {id.c_str()};
    PGresult* r =
        PQexecParams(FConn,
                     // Identities and serials (a sequence default) are both the engine's auto-numbers.
                     "select a.attnum, a.attname, t.typname, a.attnotnull, "
                     "a.attidentity <> '' or coalesce(pg_get_expr(d.adbin, d.adrelid), '') like 'nextval(%', "
                     "coalesce(col_description(a.attrelid, a.attnum), ''), a.atttypmod, c.relname "
                     "from pg_attribute a join pg_type t on t.oid = a.atttypid join pg_class c on c.oid = a.attrelid "
                     "left join pg_attrdef d on d.adrelid = a.attrelid and d.adnum = a.attnum "
                     "where a.attrelid = $1::oid and a.attnum > 0 and not a.attisdropped",
                     1, nullptr, v, nullptr, nullptr, 0);
    if (PQresultStatus(r) == PGRES_TUPLES_OK) {
      for (int i = 0; i < PQntuples(r); ++i) {
        TColumnInfo c;
        std::string comment = PQgetvalue(r, i, 5);
        std::size_t tab = comment.find('\t');
        c.Name = FromUtf8(tab == std::string::npos ? PQgetvalue(r, i, 1) : comment.substr(0, tab).c_str());
        c.Size = tab == std::string::npos ? 0 : std::atoi(comment.c_str() + tab + 1);
        c.TypeName = PQgetvalue(r, i, 2);
        c.Required = PQgetvalue(r, i, 3)[0] == 't';
        c.Identity = PQgetvalue(r, i, 4)[0] == 't';
        int typmod = std::atoi(PQgetvalue(r, i, 6));
        if (c.Size == 0 && typmod > 4 && (c.TypeName == "varchar" || c.TypeName == "bpchar")) c.Size = typmod - 4;
        info.Columns[std::atoi(PQgetvalue(r, i, 0))] = c;
        info.Name = FromUtf8(PQgetvalue(r, i, 7));
      }
    }
    PQclear(r);
    return FTables[oid] = std::move(info);
  }

  TFieldType TypeOfName(const AnsiString& t, Integer& size) const
  {
    if (t == PgDialect::TextType) {
      if (size == 0) size = 255;
      return ftWideString;
    }
    if (t == PgDialect::MemoType || t == "text" || t == "citext")
      return t == "text" || t == "citext" ? (size = 255, ftWideString) : ftWideMemo;
    if (t == "varchar" || t == "bpchar") {
      if (size == 0) size = 255;
      return ftWideString;
    }
    if (t == PgDialect::BitType || t == "bool") return ftBoolean;
    if (t == "int2") return ftSmallint;
    if (t == "int4") return ftInteger;
    if (t == "int8") return ftLargeint;
    if (t == "float4" || t == "float8") return ftFloat;
    if (t == "numeric") return ftBCD;
    if (t == "timestamp" || t == "timestamptz" || t == "date" || t == "time") return ftDateTime;
    if (t == "bytea") return ftBlob;
    return ftWideString;
  }

  TFieldType TypeOfOid(Oid t, Integer& size) const
  {
    switch (t) {
      case oidBool: return ftBoolean;
      case oidBytea: return ftBlob;
      case oidInt2: return ftSmallint;
      case oidInt4: return ftInteger;
      case oidInt8: return ftLargeint;
      case oidFloat4:
      case oidFloat8:
      case oidNumeric: return ftFloat;
      case oidDate:
      case oidTime:
      case oidTimestamp:
      case oidTimestampTz: return ftDateTime;
      default: size = 255; return ftWideString;
    }
  }

  TProviderColumn Describe(const PGresult* res, int i, const std::vector<std::string>& spellings)
  {
    TProviderColumn c;
    std::string name = PQfname(res, i);
    c.Name = FromUtf8(name.c_str());
    for (const std::string& s : spellings)
      if (SysUtils::SameText(s, name)) {
        c.Name = FromUtf8(s.c_str());
        break;
      }
    Oid table = PQftable(res, i);
    int attnum = PQftablecol(res, i);
    if (table != InvalidOid && attnum > 0) {
      const TTableInfo& t = Table(table);
      auto it = t.Columns.find(attnum);
      if (it != t.Columns.end()) {
        const TColumnInfo& col = it->second;
        if (SysUtils::SameText(col.Name, c.Name)) c.Name = col.Name;
        c.BaseTable = t.Name;
        c.BaseColumn = col.Name;
        c.Required = col.Required;
        c.Size = col.Size;
        c.DataType = TypeOfName(col.TypeName, c.Size);
        if (col.Identity && (c.DataType == ftInteger || c.DataType == ftLargeint)) c.DataType = ftAutoInc;
        return c;
      }
    }
    c.DataType = TypeOfOid(PQftype(res, i), c.Size);
    return c;
  }

  // The kinds Value reads as texts.
  static bool IsTextType(TFieldType type)
  {
    switch (type) {
      case ftBoolean:
      case ftSmallint:
      case ftInteger:
      case ftWord:
      case ftAutoInc:
      case ftLargeint:
      case ftFloat:
      case ftBCD:
      case ftDateTime:
      case ftBlob: return false;
      default: return true;
    }
  }

  static Variant Value(const char* s, TFieldType type)
  {
    switch (type) {
      case ftBoolean: return Variant(!(std::strcmp(s, "0") == 0 || std::strcmp(s, "f") == 0));
      case ftSmallint:
      case ftInteger:
      case ftWord:
      case ftAutoInc: return Variant(static_cast<int>(std::strtol(s, nullptr, 10)));
      case ftLargeint: return Variant(static_cast<long long>(std::strtoll(s, nullptr, 10)));
      case ftFloat: return Variant(std::strtod(s, nullptr));
      case ftBCD: return Variant(Variant(std::strtod(s, nullptr)).AsCurrency());
      case ftDateTime: {
        double d;
        return ParseTimestamp(s, d) ? Variant(TDateTime(d)) : Variant(System::Utf8ToWide(s));
      }
      case ftBlob: {
        std::size_t len = 0;
        unsigned char* b = PQunescapeBytea(reinterpret_cast<const unsigned char*>(s), &len);
        AnsiString v(reinterpret_cast<const char*>(b), len);
        PQfreemem(b);
        return Variant(v);
      }
      default: return Variant(System::Utf8ToWide(s));
    }
  }

  // The parameter as text (or binary for BLOBs); false for Null.
  static bool Bind(const TParameter& p, std::string& text, Oid& type, int& format)
  {
    const Variant& v = p.GetValue().Deref();
    type = 0;
    format = 0;
    switch (v.VarType()) {
      case varEmpty:
      case varNull: return false;
      case varBoolean: text = v.AsBoolean() ? "1" : "0"; return true;
      case varSmallint:
      case varInteger:
      case varShortInt:
      case varByte:
      case varWord:
      case varLongWord:
      case varInt64: text = std::to_string(v.AsInt64()); return true;
      case varSingle:
      case varDouble: text = NumberText(v.AsDouble()); return true;
      case varCurrency: {
        Int64 raw = v.AsCurrency().Raw;
        UInt64 mag = raw < 0 ? 0 - static_cast<UInt64>(raw) : static_cast<UInt64>(raw);
        char frac[8];
        std::snprintf(frac, sizeof frac, "%04u", static_cast<unsigned>(mag % 10000));
        text = (raw < 0 ? "-" : "") + std::to_string(mag / 10000) + "." + frac;
        return true;
      }
      case varDate: text = DateText(v.AsDouble()); return true;
      case varOleStr: text = System::WideToUtf8(v.AsWideString()); return true;
      case varString:
        if (IsBinaryType(p.GetDataType())) {
          text = v.AsString();
          type = oidBytea;
          format = 1;
        } else {
          text = System::AnsiToUtf8(v.AsString());
        }
        return true;
      default: text = System::WideToUtf8(Variants::VarToWideStr(v)); return true;
    }
  }

  PGconn* FConn = nullptr;
  Integer FLevel = 0;
  Integer FTimeout = 0;
  std::map<Oid, TTableInfo> FTables;
};

}  // namespace

std::unique_ptr<TDBProvider> Create() { return std::make_unique<TPgProvider>(); }

int LargestReply() { return Largest.load(); }

void ResolveServer(const AnsiString& Server, AnsiString& Host, Integer& Port)
{
  Host = Server;
  Port = 5432;
  TRegistry reg(KEY_READ);
  reg.SetRootKey(HKEY_LOCAL_MACHINE);
  if (Server.empty() || !reg.OpenKeyReadOnly(AliasKey) || !reg.ValueExists(Server)) return;
  AnsiString data = reg.ReadString(Server);
  // "DBMSSOCN,host,port" or "DBMSSOCN,host"
  std::vector<AnsiString> parts;
  std::size_t start = 0;
  for (;;) {
    std::size_t comma = data.find(',', start);
    parts.push_back(SysUtils::Trim(data.substr(start, comma == AnsiString::npos ? AnsiString::npos : comma - start)));
    if (comma == AnsiString::npos) break;
    start = comma + 1;
  }
  if (parts.size() >= 2 && !parts[1].empty()) Host = parts[1];
  if (parts.size() >= 3) Port = SysUtils::StrToIntDef(parts[2], 5432);
}

}  // namespace PgProvider
