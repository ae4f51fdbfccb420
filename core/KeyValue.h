// TKeyValue2: the typed settings store over table keyvalue (one row per key; every write sets
// Vstr, Vint, Vfloat and Vbool at once). Reading a key that has no row inserts it first, so a
// missing key reads as 0, False or an empty text and is never an error. Writes go to the
// database first and are mirrored into this store's open rows; another store sees them after
// it reopens. Statement failures raise the database layer's exception.
#pragma once

#include "core/Database.h"

class TKeyValue2 : public TRecordSet {
  PELTO_DECLARE_CLASS(TKeyValue2, TRecordSet)
public:
  TKeyValue2();
  explicit TKeyValue2(TComponent* AOwner) : TKeyValue2() {}

  void Open();
  // Opens when closed and moves to the row of Key, inserting it when missing.
  void LocateKey(Integer Key);
  // Update, else insert; true when the last statement changed exactly one row.
  static bool WriteValues(Integer Key, const WideString& Str, bool Bool, double Float, Integer Int);
  void StoreValues(Integer Key, const WideString& Str, bool Bool, double Float, Integer Int);

  Integer GetInt(Integer Key);
  bool GetBool(Integer Key);
  WideString GetStr(Integer Key);
  void SetInt(Integer Key, Integer Value);
  void SetBool(Integer Key, bool Value);
  void SetStr(Integer Key, const WideString& Value);

  bool GetFeedbackPrompt() { return GetBool(0); }
  void SetFeedbackPrompt(bool Value) { SetBool(0, Value); }
  bool GetDailyTipPrompt() { return GetBool(1); }
  void SetDailyTipPrompt(bool Value) { SetBool(1, Value); }
  bool GetGetStartPrompt() { return GetBool(2); }
  void SetGetStartPrompt(bool Value) { SetBool(2, Value); }

  TField *KeyId, *Vint, *Vstr, *Vfloat, *Vbool;

  PELTO_PUBLISHED(p);
};
