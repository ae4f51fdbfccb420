// TBuggerFrm ("错误与缺陷报告"): the error report the operator completes and posts over HTTP; a
// failed post keeps the dialog open with the text intact.
#pragma once

#include "core/forms/aDlg.h"

class TMemo;
struct OSVERSIONINFO;

class TBuggerFrm : public TADlgFrm {
  PELTO_CLASS(TBuggerFrm, TADlgFrm)
public:
  TBuggerFrm(TComponent* AOwner, const AnsiString& Message, const AnsiString& ClassName);

  TMemo* Memo1 = nullptr;

  bool CloseQuery() override;
};

namespace Bugger {
// The report's lines (labels padded to 19 bytes) for an exception of ClassName with Message.
AnsiString ReportText(const AnsiString& Message, const AnsiString& ClassName);
// The name of the system for a version answer ("Windows XP" for NT 5.1).
AnsiString OsName(unsigned PlatformId, unsigned Major, unsigned Minor);
// "<name> Version <major>.<minor> Build <build>.<service pack>"; "Unknown" when Info is null
// (the version could not be read).
AnsiString OsText(const OSVERSIONINFO* Info);
// Posts Text as the form field "Data" to the report endpoint; true for the reply "ok". The
// reply comes back in Reply.
bool PostBugReport(const AnsiString& Text, WideString& Reply);
}  // namespace Bugger
