// The program's entry point: hands over to the one application object.
#include "framework/App.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    CWinApp* app = AfxGetApp();
    return app ? app->Run() : 1;
}
