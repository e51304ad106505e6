// Basic value types shared by every part of the runtime layer.
#pragma once

#include <cstdint>

namespace rtl {

// A point in time as a count of days since 1899-12-30 00:00, the time of day
// being the fraction. Negative values count backwards by whole days, the time
// of day still being the absolute value of the fraction (as the database files
// of the Windows program store them).
using TDateTime = double;

}  // namespace rtl
