// Report data sets: the record interface the engine walks (open, first, next, end of data,
// fields, values and display texts), the user data set fed by host events, and the global
// list of live data sets with the lookup by user name.
//
// The bridge to the platform's database datasets (TfrxDBDataset) builds on this interface.
#pragma once

#include <functional>

#include "platform/rtl/StringList.h"
#include "platform/rtl/Variants.h"
#include "report/engine/model/frxClass.h"

// A non-visual object shown on a dialog page as a 28 x 28 tile.
class TfrxDialogComponent : public TfrxReportComponent {
  PELTO_DECLARE_CLASS(TfrxDialogComponent, TfrxReportComponent)
public:
  explicit TfrxDialogComponent(TComponent* AOwner);
  // The tile keeps its size.
  void SetWidth(Extended Value) override;
  void SetHeight(Extended Value) override;
  Integer ImageIndex = -1;
};

PELTO_ENUM(TfrxRangeBegin, rbFirst, rbCurrent)
PELTO_ENUM(TfrxRangeEnd, reLast, reCurrent, reCount)
PELTO_ENUM(TfrxFieldType, fftNumeric, fftString, fftBoolean)

class TfrxReport;

class TfrxDataSet : public TfrxDialogComponent {
  PELTO_DECLARE_CLASS(TfrxDataSet, TfrxDialogComponent)
public:
  using TfrxNotifyEvent = std::function<void(TObject* Sender)>;
  using TfrxCheckEOFEvent = std::function<void(TObject* Sender, bool& Eof)>;

  // Joins the global list of data sets; leaves it when freed.
  explicit TfrxDataSet(TComponent* AOwner);
  ~TfrxDataSet() override;

  // The user name follows the name while it is empty or equal to the old name.
  void SetName(const AnsiString& NewName) override;
  const AnsiString& GetUserName() const { return FUserName; }
  // Raises Exception "prInvProp" for a name that is blank after trimming.
  virtual void SetUserName(const AnsiString& Value);

  virtual AnsiString GetDisplayText(const AnsiString& Field) { return AnsiString(); }
  virtual Integer GetDisplayWidth(const AnsiString& Field) { return 10; }
  virtual TfrxFieldType GetFieldType(const AnsiString& Field) { return fftNumeric; }
  virtual Variant GetValue(const AnsiString& Field) { return Variant::Null(); }
  virtual void Initialize() {}
  virtual void Finalize() {}
  virtual void Open();
  virtual void Close();
  virtual void First();
  virtual void Next();
  virtual void Prior();
  virtual bool Eof();
  virtual Integer FieldsCount() { return 0; }
  virtual bool IsBlobField(const AnsiString& Field) { return false; }
  virtual void AssignBlobTo(const AnsiString& Field, TObject* Target) {}
  virtual void GetFieldList(TStrings* List) { List->Clear(); }
  // Whether GetFieldList names Field (ignoring ASCII case).
  bool HasField(const AnsiString& Field);

  bool Enabled = true;
  TfrxRangeBegin RangeBegin = rbFirst;
  TfrxRangeEnd RangeEnd = reLast;
  Integer RangeEndCount = 0;
  Integer RecNo = 0;
  bool OpenDataSource = true;
  bool CloseDataSource = false;
  TfrxReport* ReportRef = nullptr;  // the report running over the data set
  TfrxCheckEOFEvent OnCheckEOF;
  TfrxNotifyEvent OnFirst, OnNext, OnPrior, OnOpen, OnClose;

  PELTO_PUBLISHED(p);

private:
  AnsiString FUserName;
};

// Values through OnGetValue; also the fixed-row-count data set of data bands.
class TfrxUserDataSet : public TfrxDataSet {
  PELTO_DECLARE_CLASS(TfrxUserDataSet, TfrxDataSet)
public:
  explicit TfrxUserDataSet(TComponent* AOwner) : TfrxDataSet(AOwner) {}

  TStringList* GetFields() const { return const_cast<TStringList*>(&FFields); }
  void SetFields(TStringList* Value) { FFields.Assign(Value); }
  void GetFieldList(TStrings* List) override { List->Assign(&FFields); }
  Integer FieldsCount() override { return FFields.GetCount(); }
  Variant GetValue(const AnsiString& Field) override;
  AnsiString GetDisplayText(const AnsiString& Field) override;

  std::function<void(const AnsiString& VarName, Variant& Value)> OnGetValue;

  PELTO_PUBLISHED(p);

private:
  TStringList FFields;
};

namespace frxClass {

// The data set Report may use under Name: the first live data set of that user name (ASCII
// case ignored) that belongs to no other report; Default when none, or when Report is nullptr;
// nullptr for an empty Name.
TfrxDataSet* FindDataSetByName(TfrxDataSet* Default, const AnsiString& Name, TfrxReport* Report);
// Clears List and adds (user name, data set) for every enabled data set with a user name.
void GetGlobalDataSetList(TStrings* List);

}  // namespace frxClass
