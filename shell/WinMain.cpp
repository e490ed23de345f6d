#include "shell/Main.h"
#include "support/Win.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) { return SaverMain(); }
