// The "ADODB.Connection" automation object over the database providers of platform/db: the
// late-bound connection a program uses for one statement on a database file, such as changing
// an Access file's password. On the Jet provider, "ALTER DATABASE PASSWORD new old" (each
// Null, [text] or a bare word) is carried out by the provider's password operation on the
// open file; it raises "Not a valid password." when old is not the file's password. Other
// statements go to the provider unchanged.
//
// Members (names ignore case): Provider, ConnectionString, Mode, ConnectionTimeout,
// CommandTimeout, Properties(name) (read and write, also Properties(name).Value), Open
// ([connection string]), Execute(statement) (answers the rows affected as its second
// argument when one is passed), Close, State (0 closed, 1 open), BeginTrans, CommitTrans,
// RollbackTrans. The provider's errors propagate (EOleException); Open on an open connection
// and Execute on a closed one raise EOleException as ADO does.
#pragma once

#include "platform/rtl/Variants.h"

namespace AdoAutomation {

// A new connection object (reference count 0: the Variant that takes it owns it).
IDispatch* CreateAdoConnection();

}  // namespace AdoAutomation
