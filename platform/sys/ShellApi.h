// The desktop shell: opening documents, folders, web addresses and mail links with the
// program the desktop associates with them (xdg-open), and the Windows programs the system
// names ("hh.exe", "NotePad.exe", "calc.exe") mapped to the desktop's own.
#pragma once

#include "platform/rtl/System.h"

namespace ShellApi {

constexpr int SW_HIDE = 0, SW_SHOWNORMAL = 1, SW_SHOW = 5;
// ShellExecute's answers: above 32 is success.
constexpr int SE_ERR_FNF = 2, SE_ERR_PNF = 3, SE_ERR_NOASSOC = 31, SE_OK = 42;

// Asks the desktop to open Target (a file, a folder, an "http://" address or a "mailto:"
// link) without waiting for it. Answers false when the opener could not be started, or when
// Target is a local name that does not exist. Addresses and links are passed unchanged.
bool ShellOpen(const AnsiString& Target, const AnsiString& WorkDir = AnsiString());

// The classic entry point. Operation "open" or "" (any case) opens File: a document or address
// through ShellOpen, "hh.exe"/"notepad.exe" open the document named in Parameters, "calc.exe"
// starts the desktop's calculator, and any other executable is started with Parameters split
// at blanks (double quotes group). "hh.exe" maps a help address through HelpPage;
// "notepad.exe" without a document starts the desktop's text editor. Answers SE_OK, SE_ERR_FNF when the file or program is
// missing, SE_ERR_NOASSOC for another operation. ShowCmd is accepted and ignored.
int ShellExecute(const AnsiString& Operation, const AnsiString& File, const AnsiString& Parameters = AnsiString(),
                 const AnsiString& Directory = AnsiString(), int ShowCmd = SW_SHOWNORMAL);

// The platform's program-start call: CmdLine is the program and its parameters, split as
// ShellExecute splits them. Answers ShellExecute's code.
int WinExec(const AnsiString& CmdLine, int ShowCmd = SW_SHOWNORMAL);
// The page "hh.exe" opens for a help address "mk:@MSITStore:<folder>/<file>.chm::<topic>.htm":
// <folder>/help/<topic>.htm. Any other text comes back unchanged.
AnsiString HelpPage(const AnsiString& Address);
// The program documents are opened with ("xdg-open" unless replaced). Tests put a recorder
// here.
void SetOpener(const AnsiString& Program);
AnsiString GetOpener();

}  // namespace ShellApi
