// The database schema of the application, in the embedded form (Access dialect, on the SQLite
// file) and the server form (SQL Server dialect, which the server provider maps to PostgreSQL), and the creation of a new embedded database with the rows a new
// installation needs: the operator "sa" with an empty password, the one backup row and the
// company row.
#pragma once

#include <vector>

#include "platform/rtl/System.h"

class TADOConnection;

namespace Schema {

// The statements that create every table, in order.
const std::vector<AnsiString>& JetStatements();
const std::vector<AnsiString>& ServerStatements();

// The starting rows (Access dialect; the server takes them too).
std::vector<AnsiString> StartingRows();

// Creates the database file FileName with Password, the tables and the starting rows; on any
// failure the half-made file is removed and the error raised. Raises EOleException "Database
// already exists." when the file is there.
void CreateJetDatabase(const AnsiString& FileName, const AnsiString& Password);
// Creates the tables and the starting rows on an open server connection, in one transaction
// (rolled back on failure). Raises the provider's error.
void CreateServerSchema(TADOConnection* Connection);
// Creates it when the file is missing; answers whether it did. An existing file is not touched.
bool EnsureJetDatabase(const AnsiString& FileName, const AnsiString& Password);

}  // namespace Schema
