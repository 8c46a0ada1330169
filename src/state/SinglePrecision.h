#pragma once
#include <cmath>
#include <limits>

// Stores a double result in a 32-bit field. A magnitude beyond single precision becomes an infinity
// of its sign rather than an undefined conversion, so later checks see it as unusable; NaN stays NaN.
inline float toSingle(double value)
{
    if (std::fabs(value) > std::numeric_limits<float>::max())
        return value < 0 ? -std::numeric_limits<float>::infinity() : std::numeric_limits<float>::infinity();
    return static_cast<float>(value);
}
