// A filter criteria tree turned into typed tests on stored values, for the engine's filter
// step: number comparisons on stored number fields and LIKE on stored text fields, joined as
// the tree joins them. Gives the same answers as evaluating the criteria record by record.
// UI thread only.
#pragma once

#include <cstddef>
#include <memory>

class TcxDataFilterCriteria;

class TcxDataFilterProgram {
public:
  virtual ~TcxDataFilterProgram() = default;
  virtual bool Matches(int ARecordIndex) const = 0;
  // AResults[i] := Matches(ARecords[i]) for stored records (0 .. record count - 1).
  virtual void MatchRecords(const int* ARecords, size_t ACount, unsigned char* AResults) const
  {
    for (size_t i = 0; i < ACount; ++i) AResults[i] = Matches(ARecords[i]);
  }
};

namespace cxDataFilterFast {
// nullptr when some condition needs the general evaluation (then use FilterRecord).
std::unique_ptr<TcxDataFilterProgram> Compile(TcxDataFilterCriteria* ACriteria);
}  // namespace cxDataFilterFast
