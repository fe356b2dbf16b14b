// Whether AutoCAD runs: it holds the files the install replaces and reads the
// registrations only when it starts.
#pragma once

// True when a running process's image name contains "acad.exe", in any case.
bool IsAcadRunning();
