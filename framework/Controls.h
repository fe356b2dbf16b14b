// Control wrappers: thin views of a dialog's child windows.
#pragma once

#include "framework/Window.h"

class CButton : public CWnd {};

class CProgressCtrl : public CWnd {};
