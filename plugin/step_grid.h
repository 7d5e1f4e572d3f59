// The two grids the pattern's lengths live on: the step-count bins and the
// thirteen note values. Shared by the editing rules, the engine and the display.
#pragma once

namespace zendrel {

constexpr int kNoteValueCount = 13;

// Lower bounds of rows 1..12 (row 0 starts at 0), compared against the value
// widened to double; the outer bounds 0 and 1 are compared in float.
constexpr double kNoteValueLowerBound[kNoteValueCount] = {
    0.0, 0.076, 0.153, 0.23, 0.307, 0.384, 0.461, 0.538, 0.615, 0.692, 0.769, 0.846, 0.923};

// Fractions of a whole note, 1/64 .. 1.
constexpr double kNoteValueFraction[kNoteValueCount] = {
    0.015625, 0.0234375, 0.03125, 0.046875, 0.0625, 0.09375, 0.125,
    0.1875,   0.25,      0.375,   0.5,      0.75,   1.0};

// Grid centres the buttons step between: 0.0375 + 0.077 j.
constexpr double noteGridCentre(int row) { return 0.0375 + 0.077 * row; }

// Row of noteValueTable for a normalised value, or -1 when it lies outside 0..1
// (or is not a number), in which case the caller keeps its previous value.
inline int noteValueRow(float v) {
  if (!(v >= 0.0f) || !(v <= 1.0f)) return -1;
  const double d = v;
  int row = 0;
  while (row + 1 < kNoteValueCount && d >= kNoteValueLowerBound[row + 1]) ++row;
  return row;
}

// Note value as a fraction of a whole note; `previous` when out of range.
inline double noteValueFor(float v, double previous) {
  const int row = noteValueRow(v);
  return row < 0 ? previous : kNoteValueFraction[row];
}

// Number of steps 1..32 for a normalised value; `previous` when out of range.
inline double stepCountFor(float v, double previous) {
  if (!(v >= 0.0f) || !(v <= 1.0f)) return previous;
  for (int n = 0; n < 31; ++n) {
    if (v >= n / 32.0f && v < (n + 1) / 32.0f) return n + 1;
  }
  return 32;
}

}  // namespace zendrel
