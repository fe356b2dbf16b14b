// Calls the 21-flag operations with the releases given by year.
#pragma once

#include <array>
#include <initializer_list>

#include "acad/AcadRegistry.h"

inline std::array<BOOL, kReleaseCount> Ticks(std::initializer_list<int> years)
{
    std::array<BOOL, kReleaseCount> t{};
    for (int y : years)
        t[static_cast<size_t>(ReleaseIndex(y))] = TRUE;
    return t;
}

inline void RegisterTicked(CAcadRegistry& r, std::initializer_list<int> years)
{
    const std::array<BOOL, kReleaseCount> t = Ticks(years);
    r.RegisterWithAcad(t[0], t[1], t[2], t[3], t[4], t[5], t[6], t[7], t[8], t[9], t[10], t[11],
                       t[12], t[13], t[14], t[15], t[16], t[17], t[18], t[19], t[20]);
}

inline void InstallSupportTicked(CAcadRegistry& r, std::initializer_list<int> years)
{
    const std::array<BOOL, kReleaseCount> t = Ticks(years);
    r.InstallSupportFiles(t[0], t[1], t[2], t[3], t[4], t[5], t[6], t[7], t[8], t[9], t[10],
                          t[11], t[12], t[13], t[14], t[15], t[16], t[17], t[18], t[19], t[20]);
}
