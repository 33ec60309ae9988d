// The application object: starts the graphics library and runs the board.
#pragma once

#include "platform/framework/framework.h"

class CScrivaneApp : public CWinApp {
 public:
  CScrivaneApp();
  // Runs the whole program; always FALSE, so the program ends when it returns.
  BOOL InitInstance() override;
};

extern CScrivaneApp theApp;
