#include "display/rounding.h"

#include <cmath>

double roundHalfUp(double value)
{
    // floor(value + 0.5) would round 0.49999999999999994 up, because the sum
    // itself rounds to 1.0; the fraction below is exact.
    double whole = std::floor(value);
    return value - whole >= 0.5 ? whole + 1.0 : whole;
}
