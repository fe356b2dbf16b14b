// Why a Windows call failed, as every failure line of the log ends.
#pragma once

#include <windows.h>

#include "framework/StringW.h"

// "（错误 5：拒绝访问。）": the Win32 error code and the system's own text for it
// (in the language of this Windows), for a log that a support call can act on.
CStringW DescribeError(DWORD dwError);
