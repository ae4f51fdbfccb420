// The exception classes of the run-time library. Every error the system raises derives from
// Exception and carries an 8-bit (CP936) message; EAbort is the silent one that cancels an
// action without a message.
#pragma once

#include <exception>

#include "platform/rtl/System.h"

class Exception : public std::exception, public TObject {
public:
  explicit Exception(const AnsiString& msg) : FMessage(msg) {}
  Exception(const Exception&) = default;
  Exception& operator=(const Exception&) = default;
  ~Exception() override = default;

  const AnsiString& Message() const { return FMessage; }
  void SetMessage(const AnsiString& msg) { FMessage = msg; }
  int HelpContext() const { return FHelpContext; }
  void SetHelpContext(int ctx) { FHelpContext = ctx; }
  const char* what() const noexcept override { return FMessage.c_str(); }
  // The class name, as error texts and handlers show it ("EConvertError").
  const char* ClassName() const override { return "Exception"; }

private:
  AnsiString FMessage;
  int FHelpContext = 0;
};

// Declares an exception class derived from Base with the message constructor.
#define PELTO_DECLARE_EXCEPTION(Name, Base)                  \
  class Name : public Base {                                 \
  public:                                                    \
    explicit Name(const AnsiString& msg) : Base(msg) {}      \
    const char* ClassName() const override { return #Name; } \
  }

PELTO_DECLARE_EXCEPTION(EAbort, Exception);
PELTO_DECLARE_EXCEPTION(EConvertError, Exception);
PELTO_DECLARE_EXCEPTION(EInvalidOperation, Exception);
PELTO_DECLARE_EXCEPTION(EInvalidPointer, Exception);
PELTO_DECLARE_EXCEPTION(EInvalidCast, Exception);
PELTO_DECLARE_EXCEPTION(EOutOfMemory, Exception);
PELTO_DECLARE_EXCEPTION(EExternal, Exception);
PELTO_DECLARE_EXCEPTION(EAccessViolation, EExternal);
PELTO_DECLARE_EXCEPTION(EIntError, EExternal);
PELTO_DECLARE_EXCEPTION(EDivByZero, EIntError);
PELTO_DECLARE_EXCEPTION(ERangeError, EIntError);
PELTO_DECLARE_EXCEPTION(EIntOverflow, EIntError);
PELTO_DECLARE_EXCEPTION(EMathError, EExternal);
PELTO_DECLARE_EXCEPTION(EInvalidOp, EMathError);
PELTO_DECLARE_EXCEPTION(EZeroDivide, EMathError);
PELTO_DECLARE_EXCEPTION(EOverflow, EMathError);
PELTO_DECLARE_EXCEPTION(EUnderflow, EMathError);
PELTO_DECLARE_EXCEPTION(EInOutError, Exception);
PELTO_DECLARE_EXCEPTION(EOSError, Exception);
PELTO_DECLARE_EXCEPTION(ENotSupportedException, Exception);
PELTO_DECLARE_EXCEPTION(EInvalidArgument, Exception);
PELTO_DECLARE_EXCEPTION(EListError, Exception);
PELTO_DECLARE_EXCEPTION(EStringListError, Exception);
PELTO_DECLARE_EXCEPTION(EStreamError, Exception);
PELTO_DECLARE_EXCEPTION(EFCreateError, EStreamError);
PELTO_DECLARE_EXCEPTION(EFOpenError, EStreamError);
PELTO_DECLARE_EXCEPTION(EFilerError, EStreamError);
PELTO_DECLARE_EXCEPTION(EReadError, EFilerError);
PELTO_DECLARE_EXCEPTION(EWriteError, EFilerError);
PELTO_DECLARE_EXCEPTION(EClassNotFound, EFilerError);
PELTO_DECLARE_EXCEPTION(EMethodNotFound, EFilerError);
PELTO_DECLARE_EXCEPTION(EInvalidImage, EFilerError);
PELTO_DECLARE_EXCEPTION(EResNotFound, Exception);
PELTO_DECLARE_EXCEPTION(EComponentError, Exception);
PELTO_DECLARE_EXCEPTION(EPropertyError, Exception);
PELTO_DECLARE_EXCEPTION(EPropReadOnly, EPropertyError);
PELTO_DECLARE_EXCEPTION(EPropWriteOnly, EPropertyError);
PELTO_DECLARE_EXCEPTION(EIniFileException, Exception);
PELTO_DECLARE_EXCEPTION(ERegistryException, Exception);
PELTO_DECLARE_EXCEPTION(EVariantError, Exception);
PELTO_DECLARE_EXCEPTION(EVariantInvalidOpError, EVariantError);
PELTO_DECLARE_EXCEPTION(EVariantTypeCastError, EVariantError);
PELTO_DECLARE_EXCEPTION(EVariantOverflowError, EVariantError);
PELTO_DECLARE_EXCEPTION(EVariantInvalidArgError, EVariantError);
PELTO_DECLARE_EXCEPTION(EVariantBadVarTypeError, EVariantError);
PELTO_DECLARE_EXCEPTION(EVariantBadIndexError, EVariantError);
PELTO_DECLARE_EXCEPTION(EVariantArrayLockedError, EVariantError);
PELTO_DECLARE_EXCEPTION(EVariantArrayCreateError, EVariantError);
PELTO_DECLARE_EXCEPTION(EVariantNotImplError, EVariantError);
PELTO_DECLARE_EXCEPTION(EVariantOutOfMemoryError, EVariantError);
PELTO_DECLARE_EXCEPTION(EVariantUnexpectedError, EVariantError);
PELTO_DECLARE_EXCEPTION(EVariantDispatchError, EVariantError);
PELTO_DECLARE_EXCEPTION(EVariantRangeCheckError, EVariantError);
PELTO_DECLARE_EXCEPTION(EVariantInvalidNullOpError, EVariantInvalidOpError);
PELTO_DECLARE_EXCEPTION(EOleError, Exception);
PELTO_DECLARE_EXCEPTION(EOleSysError, EOleError);
PELTO_DECLARE_EXCEPTION(EOleException, EOleSysError);

namespace SysUtils {
// Raises the silent EAbort.
[[noreturn]] void Abort();
}  // namespace SysUtils
