// New business ids: the table's current maximum plus one (1 for an empty table), read and
// inserted in one transaction; when another operator took that id meanwhile (the insert fails
// and the id is then found stored), the next maximum is tried.
#pragma once

#include <functional>

#include "core/Database.h"

namespace NewId {

// Table is one of the application's own table names (never user text). Insert runs the insert
// with the id given and answers the rows affected; its answer is returned. Id holds the id used,
// or 0 when the insert raised; any failure that is not a taken id is raised again after rollback.
Integer InsertWithNewId(const AnsiString& Table, const std::function<Integer(Integer Id)>& Insert, Integer& Id);

}  // namespace NewId
