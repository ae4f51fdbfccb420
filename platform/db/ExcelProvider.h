// The Jet provider's "Excel 8.0" mode: an .xls workbook (BIFF8) read through FreeXL.
//
// Chosen by the Jet provider when the connection string names "Excel 8.0" (as a bare item,
// "Provider=Microsoft.Jet.OLEDB.4.0;Excel 8.0;DATABASE=file.xls", or inside "Extended
// Properties"); the file is "DATABASE" or "Data Source". The workbook is read-only: each sheet is
// a table "Name$" whose first row gives the field names (an empty title becomes F1, F2, ... by
// position) and whose other rows are the records. A column of numbers only is ftFloat, of dates
// only ftDateTime; any other column is text, numbers and dates in it written as text (no value is
// dropped for not matching the column's kind). Rows past the last non-empty one are not records.
// Statements: "select * from [Name$]" (the name may be bracketed more than once or quoted).
// Raises EOleException "Could not find file '%s'." for a missing file, "External table is not in
// the expected format." for a file that is no workbook, and for an unknown sheet or another
// statement the engine's message.
#pragma once

#include <memory>

#include "platform/db/Provider.h"

namespace ExcelProvider {

// True when the connection string asks for the Excel mode.
bool IsExcelConnection(const TConnectionString& Params);

std::unique_ptr<TDBProvider> Create();

}  // namespace ExcelProvider
