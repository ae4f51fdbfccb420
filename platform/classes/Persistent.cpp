#include "platform/classes/Persistent.h"

#include "platform/rtl/Exceptions.h"

void TPersistent::Assign(TPersistent* Source)
{
  if (!Source) AssignError(nullptr);
  Source->AssignTo(this);
}

void TPersistent::AssignTo(TPersistent* Dest) { Dest->AssignError(this); }

AnsiString TPersistent::GetNamePath() { return ClassName(); }

void TPersistent::AssignError(TPersistent* Source)
{
  AnsiString source = Source ? AnsiString(Source->ClassName()) : AnsiString("nil");
  throw EConvertError("Cannot assign a " + source + " to a " + ClassName());
}
