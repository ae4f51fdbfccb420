// Finding records by the values of some fields: value readers that feed an internal record
// with the values to look for, and locate objects that search the controller's records for a
// record equal to it (by key fields, or by the grouping fields of one level).
// Locate objects are short-lived; each owns its internal record. UI thread only.
#pragma once

#include <memory>
#include <vector>

#include "controls/data/storage/cxDataStorage.h"

class TcxCustomDataController;
class TcxCustomDataField;

// Values set by hand, per value definition.
class TcxValueDefUnboundReader : public TcxValueDefReader {
public:
  // Adds the definition when new; stores a copy of the value.
  void SetValue(TcxValueDef* AValueDef, const Variant& AValue);
  // An internal record's definition reads as the main one it stands for; Null when absent.
  Variant ValueFor(TcxValueDef* AValueDef) override;
  // True for the definition of an internal data field.
  bool IsInternalFor(TcxValueDef* AValueDef) override;
  // Drops the values from the end down to ACount.
  void TruncateValues(int ACount);
  void Clear();
  int Count() const { return static_cast<int>(FDefs.size()); }

private:
  std::vector<TcxValueDef*> FDefs;
  std::vector<Variant> FValues;
};

// The values of one record of a controller.
class TcxValueDefRecordReader : public TcxValueDefReader {
public:
  TcxValueDefRecordReader(TcxCustomDataController* ADataController, int ARecordIndex)
      : FDataController(ADataController), FRecordIndex(ARecordIndex)
  {}
  // Empty for an internal field.
  AnsiString DisplayTextFor(TcxValueDef* AValueDef) override;
  Variant ValueFor(TcxValueDef* AValueDef) override;
  bool IsInternalFor(TcxValueDef* AValueDef) override;

private:
  TcxCustomDataController* FDataController;
  int FRecordIndex;
};

class TcxDataControllerLocateObject : public TObject {
public:
  explicit TcxDataControllerLocateObject(TcxCustomDataController* ADataController) : FDataController(ADataController) {}
  // Frees the internal record.
  ~TcxDataControllerLocateObject() override;
  // Allocates the internal record when there is none and reads every value from AReader.
  void ReadData(TcxValueDefReader* AReader);
  void ReleaseRecord();
  // The record found, -1 when none (also when no values were read).
  virtual int FindRecordIndex() = 0;
  TcxCustomDataController* GetDataController() const { return FDataController; }
  int GetRecordIndex() const { return FRecordIndex; }

protected:
  TcxCustomDataController* FDataController;
  int FRecordIndex = 0;  // the internal record; 0 = none
};

// The first record equal on every key field (an empty list finds nothing).
class TcxDataControllerKeyLocateObject : public TcxDataControllerLocateObject {
public:
  using TcxDataControllerLocateObject::TcxDataControllerLocateObject;
  int FindRecordIndex() override;
  std::vector<TcxCustomDataField*> KeyFields;
};

// A record of the group, at the level, whose grouping values equal the read ones: a binary
// search over the sorted records, or a scan when a grouping field sorts by display text.
class TcxDataControllerGroupLocateObject : public TcxDataControllerLocateObject {
public:
  explicit TcxDataControllerGroupLocateObject(TcxCustomDataController* ADataController);
  int FindRecordIndex() override;
  int GetLevel() const { return FLevel; }
  void SetLevel(int ALevel);

private:
  bool FBinarySearch = true;
  std::vector<TcxCustomDataField*> FFindFields;
  std::vector<TcxCustomDataField*> FGroupingFields;
  int FLevel = -1;
};
