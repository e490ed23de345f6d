#include "shell/MainLoop.h"

#include "descriptions/ShowMsg.h"
#include "scene/GlDraw.h"
#include "shell/SaverWindow.h"
#include "support/Win.h"

bool Done = false;

namespace {
// Counts a presented frame; each completed measurement goes to the caption and,
// until the panel is calibrated, to the panel.
void MeasureFrameRate(TDrawMsg& panel)
{
    if (!FrameMeter.Count(GetTickCount())) return;
    char caption[64];
    wsprintfA(caption, FpsCaptionFormat, FrameMeter.FrameRate);
    if (SaverWindow) SetWindowTextA(SaverWindow, caption);
    if (!panel.IsActive()) panel.Calibrate(FrameMeter.FrameRate);
}
} // namespace

void RunMainLoop(int width, int height, int bits, TPlanetaryModel& model, TDrawMsg& panel)
{
    Done = false;
    bool presented = false;
    SystemParametersInfoA(SPI_SCREENSAVERRUNNING, 1, nullptr, 0);
    while (!Done) {
        MSG message;
        if (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            if (message.message == WM_QUIT) {
                Done = true;
            } else {
                TranslateMessage(&message);
                DispatchMessageA(&message);
            }
            continue;
        }
        if (DisplayOff) {
            WaitMessage();  // nothing can see a frame: sleep until Windows says more
            continue;
        }
        if ((WindowActive && !RenderFrame(model, NextFrameStep(), FrameMeter.FrameRate, &panel)) || Keys[VK_ESCAPE]) {
            Done = true;
            continue;
        }
        SwapBuffers(SaverDC);
        if (!presented) {
            // The end of start-up, for a debugger or the benchmark's launch timing.
            OutputDebugStringA("Astrolume: first frame presented\n");
            presented = true;
        }
        MeasureFrameRate(panel);
        if (Keys[VK_F4]) {
            Keys[VK_F4] = false;
            CloseSceneWindow();
            FullScreen = !FullScreen;
            if (OpenSceneWindow("Astrolume", width, height, bits, model) != TSceneOpening::Opened) {
                SystemParametersInfoA(SPI_SCREENSAVERRUNNING, 0, nullptr, 0);
                return;
            }
        }
        if (Keys[VK_SPACE]) Done = true;
    }
    SystemParametersInfoA(SPI_SCREENSAVERRUNNING, 0, nullptr, 0);
    CloseSceneWindow();
}
