#include "platform/commctrl/progress/ProgressModel.h"

#include <algorithm>

int ProgressModel::Clamp(long long v) const
{
  return int(std::clamp<long long>(v, std::min(FLow, FHigh), std::max(FLow, FHigh)));
}

void ProgressModel::SetRange(int low, int high)
{
  FLow = low;
  FHigh = high;
  FPos = Clamp(FPos);
}

int ProgressModel::SetPos(int pos)
{
  int old = FPos;
  FPos = Clamp(pos);
  return old;
}

int ProgressModel::DeltaPos(int delta) { return SetPos(Clamp((long long)FPos + delta)); }

int ProgressModel::SetStep(int step)
{
  int old = FStep;
  FStep = step;
  return old;
}

int ProgressModel::StepIt()
{
  int old = FPos;
  long long lo = std::min(FLow, FHigh), hi = std::max(FLow, FHigh), v = (long long)FPos + FStep;
  long long span = hi - lo;
  if (span == 0)
    v = lo;
  else if (v > hi)
    v = lo + (v - hi) % span;
  else if (v < lo)
    v = hi - (lo - v) % span;
  FPos = int(v);
  return old;
}

int ProgressModel::Filled(int length) const
{
  long long span = (long long)FHigh - FLow;
  if (span <= 0 || length <= 0) return 0;
  return int(((long long)FPos - FLow) * length / span);
}
