// A progress bar's numbers: a 32-bit range, the position kept inside it, and the step.
#pragma once

class ProgressModel {
public:
  int Low() const { return FLow; }
  int High() const { return FHigh; }
  int Pos() const { return FPos; }
  int Step() const { return FStep; }
  // Sets the range (either order) and pulls the position into it.
  void SetRange(int low, int high);
  // Each answers the position before the change; the new one is clamped to the range.
  int SetPos(int pos);
  int DeltaPos(int delta);
  int SetStep(int step);
  // Advances by the step; past either end it starts over from the other end.
  int StepIt();
  // The filled share of `length` pixels.
  int Filled(int length) const;

private:
  int Clamp(long long v) const;
  int FLow = 0, FHigh = 100, FPos = 0, FStep = 10;
};
