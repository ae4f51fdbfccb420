// A filter criteria tree turned into typed tests on stored values, for the engine's filter
// step: number comparisons on stored number fields and LIKE on stored text fields, joined as
// the tree joins them. Gives the same answers as evaluating the criteria record by record.
// UI thread only.
#pragma once

#include <memory>

class TcxDataFilterCriteria;

class TcxDataFilterProgram {
public:
  virtual ~TcxDataFilterProgram() = default;
  virtual bool Matches(int ARecordIndex) const = 0;
};

namespace cxDataFilterFast {
// nullptr when some condition needs the general evaluation (then use FilterRecord).
std::unique_ptr<TcxDataFilterProgram> Compile(TcxDataFilterCriteria* ACriteria);
}
