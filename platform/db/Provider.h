// The seam between the ADO components and a database engine. A provider is chosen by the
// "Provider" value of the connection string and created from the registry below; each open
// TADOConnection owns one. Providers raise EOleException with the engine's message.
#pragma once

#include <functional>
#include <map>
#include <memory>
#include <vector>

#include "platform/db/DB.h"
#include "platform/db/PackedValues.h"
#include "platform/rtl/Variants.h"

class TParameters;

// The parsed "Key=Value;..." connection string; keys compare ignoring case, values may be
// quoted with " or '. An item without '=' ("Excel 8.0") is a key with an empty value.
class TConnectionString {
public:
  TConnectionString() = default;
  explicit TConnectionString(const AnsiString& Text);
  // Empty when missing.
  AnsiString Get(const AnsiString& Key) const;
  bool Has(const AnsiString& Key) const;

private:
  std::vector<std::pair<AnsiString, AnsiString>> FItems;
};

// A result column; BaseTable/BaseColumn name where it comes from (empty for expressions).
struct TProviderColumn {
  AnsiString Name;
  TFieldType DataType = ftUnknown;
  Integer Size = 0;
  bool Required = false;
  AnsiString BaseTable;
  AnsiString BaseColumn;
};

// Rows hold values in the form the field kinds keep them (texts as WideString, dates as
// TDateTime, BLOBs as byte strings, Booleans as bool). ExecuteForDataSet may hand them packed
// in PackedRows instead, the same values in the same order.
struct TProviderResult {
  std::vector<TProviderColumn> Columns;
  std::vector<std::vector<Variant>> Rows;
  std::vector<TPackedValues> PackedRows;
  Int64 RowsAffected = -1;  // -1 for a statement that returned rows
};

class TDBProvider {
public:
  virtual ~TDBProvider() = default;
  // Raises EOleException when the database cannot be opened (missing file, bad password, ...).
  virtual void Open(const TConnectionString& Params, Integer TimeoutSeconds) = 0;
  // Rolls back an open transaction. Not an error when closed.
  virtual void Close() = 0;
  virtual bool GetConnected() const = 0;
  // Returns the new nesting level (1 for the outermost transaction).
  virtual Integer BeginTrans() = 0;
  virtual void CommitTrans() = 0;
  virtual void RollbackTrans() = 0;
  virtual Integer GetTransactionLevel() const = 0;
  // Runs one statement with ":Name" markers bound from Params (may be nullptr). Raises
  // EDatabaseError for a marker without a parameter, EOleException for engine errors, and
  // EOleException "Query timeout expired" when TimeoutSeconds (> 0) pass.
  virtual TProviderResult Execute(const WideString& Sql, const TParameters* Params, Integer TimeoutSeconds) = 0;
  // Execute for a dataset that keeps the rows: they may come in PackedRows, texts converted
  // once. The default runs Execute.
  virtual TProviderResult ExecuteForDataSet(const WideString& Sql, const TParameters* Params, Integer TimeoutSeconds);
  // Runs an INSERT of one row into Table (Sql has no trailing ';') and reads the new row back as
  // the engine stored it: Rows then holds one row with the values of Columns (names as the table
  // has them), typed as a query of the table gives them, so keys the engine generated
  // (auto-numbers, identities, sequence defaults) and column defaults are known. RowsAffected is
  // the number of rows inserted. Rows is empty when nothing was inserted or the engine cannot
  // read the row back; that is not an error, the insert stands. The default only executes.
  virtual TProviderResult ExecuteInsert(const WideString& Sql, const TParameters* Params, Integer TimeoutSeconds,
                                        const AnsiString& Table, const std::vector<AnsiString>& Columns);
  // The names of the tables (of the sheets, "Name$", for a workbook); system tables only when
  // SystemTables. The default raises EOleException, for engines that cannot list them.
  virtual std::vector<AnsiString> GetTableNames(bool SystemTables);
};

namespace DBProviders {

using TProviderFactory = std::function<std::unique_ptr<TDBProvider>()>;

// Registers the built-in providers; idempotent.
void Initialize();
void Finalize();
// Replaces a provider of the same name (exact, case-sensitive as ADO compares it).
void RegisterProvider(const AnsiString& Name, TProviderFactory Factory);
// Raises EOleException "Provider cannot be found. It may not be properly installed." for an
// unknown name.
std::unique_ptr<TDBProvider> CreateProvider(const AnsiString& Name);

}  // namespace DBProviders
