// Where the program and its scratch files live: the program's own path and folder, the
// temporary folder and unique temporary file names. Names are CP936 AnsiStrings.
#pragma once

#include "platform/rtl/System.h"

namespace AppPaths {

// The full path of the running executable (ParamStr(0)).
AnsiString ExeName();
// The executable's folder without a trailing delimiter.
AnsiString ExeDir();
// The temporary folder ($TMPDIR when it names a folder, else "/tmp"), with a trailing '/'.
AnsiString TempDir();
// Creates a new empty file named Prefix + a unique part + Ext in Dir (the temporary folder
// when empty) and answers its full name; the caller deletes the file. Raises EInOutError when
// the file cannot be created (a missing or read-only folder).
AnsiString CreateTempFile(const AnsiString& Prefix, const AnsiString& Dir = AnsiString(),
                          const AnsiString& Ext = AnsiString());

}  // namespace AppPaths
