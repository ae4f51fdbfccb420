// The Jet provider's "Excel 8.0" mode: an .xls workbook (BIFF8, or BIFF5/BIFF7) read by the
// reader in xls/, formula cells by their cached results.
//
// Chosen by the Jet provider when the connection string names "Excel 8.0" (as a bare item,
// "Provider=Microsoft.Jet.OLEDB.4.0;Excel 8.0;DATABASE=file.xls", or inside "Extended
// Properties"); the file is "DATABASE" or "Data Source". The workbook is read-only: each sheet is
// a table "Name$" (hidden sheets too) spanning the rows and columns between its first and last
// cells with a value; the first of those rows gives the field names (an empty title becomes F1,
// F2, ... by position) and the others are the records. A column of numbers only is ftFloat, of
// dates only ftDateTime, of TRUE/FALSE only ftBoolean; any other column is text, numbers, dates
// and Booleans in it written as text (no value is dropped for not matching the column's kind).
// An error value (#DIV/0!, #N/A, ...) reads as Null.
// Statements: "select * from [Name$]" (the name may be bracketed more than once or quoted).
// Raises EOleException "Could not find file '%s'." for a missing file, "External table is not in
// the expected format." for a file that is no workbook or is damaged, "Could not decrypt file."
// for a password-protected workbook, and for an unknown sheet or another
// statement the engine's message.
#pragma once

#include <memory>

#include "platform/db/Provider.h"

namespace ExcelProvider {

// True when the connection string asks for the Excel mode.
bool IsExcelConnection(const TConnectionString& Params);

std::unique_ptr<TDBProvider> Create();

}  // namespace ExcelProvider
