// The dialog's face with a counter of the steps reported to it: its questions are
// message boxes, as the dialog's are.
#pragma once

#include "framework/Reporter.h"

class ProgressCounter : public WindowReporter {
public:
    ProgressCounter() : WindowReporter(nullptr, nullptr) {}
    void Step() override
    {
        ++m_nSteps;
        WindowReporter::Step();
    }
    int Steps() const { return m_nSteps; }

private:
    int m_nSteps = 0;
};
