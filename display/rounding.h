#pragma once
// Rounding of computed chart positions to whole device units.

// Rounds to the nearest whole number; a half always goes up, also below zero
// (2.5 -> 3, -2.5 -> -2).
double roundHalfUp(double value);
