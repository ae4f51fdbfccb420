// The provider "Microsoft.Jet.OLEDB.4.0" on an SQLite file.
//
// Connection string: "Data Source" names the file (it must exist; CreateDatabase makes a new
// one), "Jet OLEDB:Database Password" is checked against the file's password, "Mode=Read" opens
// it read-only. Text is UTF-8 inside the engine; dates are stored as day numbers (TDateTime), so
// date arithmetic works in SQL; Booleans are stored as 1 and 0. Statements are rewritten from the
// Access dialect (JetDialect.h) and the dialect's functions are registered on each connection:
// Now(), Date(), Time(), DateDiff(interval, a, b), DateAdd(interval, n, d), Year, Month, Day,
// Len, Left, Right, Mid, UCase, LCase, IIf, Int, Nz.
#pragma once

#include <memory>

#include "platform/db/Provider.h"

namespace JetProvider {

inline constexpr const char* ProviderName = "Microsoft.Jet.OLEDB.4.0";

std::unique_ptr<TDBProvider> Create();

// Makes a new empty database file with that password (empty: none). Raises EOleException
// "Database already exists." when the file is there, and for a file that cannot be made.
void CreateDatabase(const AnsiString& FileName, const AnsiString& Password = AnsiString());
// Sets a new password; OldPassword must match the present one (anything matches none). Raises
// EOleException "Not a valid password." otherwise, "Could not find file '%s'." for a missing file.
void ChangeDatabasePassword(const AnsiString& FileName, const AnsiString& OldPassword, const AnsiString& NewPassword);

// Copies a database through the engine (consistent even while a connection has the source
// open), checks the copy's integrity, and only then puts it in place of Dest, so a failed copy
// never leaves Dest damaged or half written. Backup and restore both use it. Raises
// EOleException "Could not find file '%s'." for a missing source and the engine's message when
// the copy cannot be made or fails its check.
void CopyDatabase(const AnsiString& Source, const AnsiString& Dest);

}  // namespace JetProvider
