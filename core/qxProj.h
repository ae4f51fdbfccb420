// The project-wide objects of the application core and the help-menu commands.
//
// Order: qxProj::Initialize runs Database::Initialize first; at shut-down qxProj::Finalize
// frees its sets, then Database::Finalize frees the scratch set and the connection, so no set
// outlives the connection it uses.
#pragma once

#include "platform/rtl/System.h"

class TCompany;
class TKeyValue2;
class TPickListSet;
class TOperator;

// Help-menu commands; the folder and files are the program's own.
class TProject {
public:
  // The program's folder without a trailing delimiter.
  static AnsiString GetProgramDir();
  static void ShowReadme();
  static void ShowWhatsNew();
  static void OpenWebSite();
  static void MailSupport();
  // Opens a "mailto:" link to Address with Subject (percent-encoded).
  static void MailTo(const AnsiString& Address, const AnsiString& Subject);
};

namespace qxProj {

// Created by Initialize (none touches the database), freed by Finalize; owned here.
extern TCompany* Company;
extern TKeyValue2* KeyValues;
extern TPickListSet* PickLists;
extern TOperator* CurrentOperator;
extern AnsiString ProductName, ProductVersion, ProductCode;
extern Integer Decimals;
extern bool UniqueHtCode;

inline constexpr const char* WebSite = "https://pelto.example.com/";
inline constexpr const char* SupportMail = "support@pelto.example.com";

// The date and time formats, the loose Null conversion, then the objects; idempotent.
void Initialize();
// Frees the objects and clears the product texts, then finalizes Database.
void Finalize();

}  // namespace qxProj
