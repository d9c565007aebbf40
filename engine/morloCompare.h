// The search for the first differing byte of two equally long stretches, on which patch creation
// spends its comparison.
#pragma once
#include <cstddef>
#include <cstdint>

// The index of the first byte where a and b differ, or count when they are equal.
size_t firstDifference(const uint8_t* a, const uint8_t* b, size_t count);
