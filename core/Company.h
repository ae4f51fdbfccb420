// TCompany: the one row of table Company, the user's own company. UseCount is read, never
// written. Statement failures raise the database layer's exception.
#pragma once

#include "platform/rtl/System.h"

class TCompany : public TObject {
public:
  Integer Id = 0;
  AnsiString CompanyName, Manager, Tel, Fax, Address, Zip;
  WideString Profile;
  Integer UseCount = 0;
  bool Updated = false;

  // The first row through the scratch set; an empty table gives the empty company.
  void Load();
  // More than 7 bytes of name: four Chinese characters are enough.
  bool IsFilled() const { return CompanyName.size() > 7; }
  bool Exists() const;
  // Update when the row exists, else insert.
  void Save();
  // The company dialog: OK copies the fields back and saves; a failed save shows its message,
  // reloads the stored record and shows the dialog again with what was typed. ReadOnly disables
  // OK.
  void Edit(bool ReadOnly);
};
