// The provider "SQLOLEDB.1" on a PostgreSQL server through libpq.
//
// Connection string: "Data Source" is the server, "Initial Catalog" the database, "User ID" and
// "Password" the login. The port comes from the client alias, the registry value named after the
// server under HKEY_LOCAL_MACHINE "\SOFTWARE\Microsoft\MSSQLServer\Client\ConnectTo" with the
// data "DBMSSOCN,host,port" (the alias's host is used too); without an alias or a port in it,
// 5432. On opening a database that lacks them, the provider creates the dialect's functions and
// types (GetDate, DateDiff, Len, abs on bits, date minus date in days, date plus days, and the
// case-insensitive text types), so the database needs the right to create them once.
// Statements are rewritten by PgDialect; texts compare and match LIKE ignoring case; bits are
// stored as small integers (0/1 and any number may be written) and read back as Booleans; a
// failed statement inside a transaction leaves the transaction usable, as on the other engine.
#pragma once

#include <memory>

#include "platform/db/Provider.h"

namespace PgProvider {

inline constexpr const char* ProviderName = "SQLOLEDB.1";
inline constexpr const char* AliasKey = "\\SOFTWARE\\Microsoft\\MSSQLServer\\Client\\ConnectTo";

std::unique_ptr<TDBProvider> Create();

// A query's rows come from the server this many at a time.
inline constexpr int FetchRows = 1000;
// The most rows one reply of the server has held in this process so far.
int LargestReply();

// Host and port for a server name, from its client alias (see above).
void ResolveServer(const AnsiString& Server, AnsiString& Host, Integer& Port);

}  // namespace PgProvider
