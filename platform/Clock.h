// The local date and time, as the log and the Apps & Features entry write them.
#pragma once

#include "framework/String.h"

namespace Clock {

// "YYYYMMDD".
CString Today();
// "YYYY-MM-DD hh:mm:ss".
CString Now();

} // namespace Clock
