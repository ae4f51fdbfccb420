// The error the workbook reader raises. Its message says what was wrong, for a log or a test; the
// provider shows its users the engine's own texts instead.
#pragma once

#include "platform/rtl/Exceptions.h"

class EXlsError : public Exception {
public:
  enum TReason {
    xeNotWorkbook,  // no compound file, or no workbook stream in it, or a format we do not read
    xeDamaged,      // a length, count, offset or chain that does not fit the file
    xeEncrypted,    // a password-protected workbook
  };
  EXlsError(TReason Reason, const AnsiString& Msg) : Exception(Msg), FReason(Reason) {}
  TReason Reason() const { return FReason; }

private:
  TReason FReason;
};
