// The database password of a Jet file on SQLite: a salted, iterated SHA-256 of the password
// kept in the table MSysDbPassword inside the file. No row means no password.
#pragma once

#include <string>

#include "platform/db/DB.h"

struct sqlite3;

namespace JetPassword {

// SHA-256 of Data (32 raw bytes).
std::string Sha256(const std::string& Data);
// True when the file has no password or Password (CP936) matches it.
bool Check(sqlite3* Db, const AnsiString& Password);
// Stores Password (empty removes it). Raises EOleException on engine errors.
void Store(sqlite3* Db, const AnsiString& Password);

}  // namespace JetPassword
