// A stand-in progress bar: a window that counts the PBM_STEPIT messages it gets.
#pragma once

#include "framework/Window.h"

class ProgressCounter : public CWnd {
public:
    ProgressCounter();
    ~ProgressCounter() override;
    int Steps() const;
};
