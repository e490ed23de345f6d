#include "shell/MainLoop.h"

#include "descriptions/ShowMsg.h"
#include "model/PlanetaryModel.h"
#include "scene/FrameTiming.h"
#include "scene/GlDraw.h"
#include "shell/RunMode.h"
#include "shell/SaverWindow.h"
#include "support/Win.h"

std::int32_t FrameCount = 0;
std::uint32_t FpsStart = 0;
std::uint32_t FpsNow = 0;
std::int32_t FrameRate = 0;
bool Done = false;

void RestartFrameRate()
{
    FpsStart = GetTickCount();
    FrameCount = 0;
}

void MeasureFrameRate()
{
    FpsNow = GetTickCount();
    ++FrameCount;
    const std::uint32_t span = TickDifference(FpsNow, FpsStart);
    if (span <= 1000) return;
    FrameRate = FrameRateOf(FrameCount, span);
    char caption[64];
    wsprintfA(caption, FpsCaptionFormat, FrameRate);
    if (SaverWindow) SetWindowTextA(SaverWindow, caption);
    if (DescPanel && !DescPanel->IsActive()) DescPanel->Calibrate(FrameRate);
    FpsStart = FpsNow;
    FrameCount = 0;
}

void RunMainLoop(int width, int height, int bits)
{
    Done = false;
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
        if ((WindowActive && !RenderFrame()) || Keys[VK_ESCAPE]) {
            Done = true;
            continue;
        }
        SwapBuffers(SaverDC);
        MeasureFrameRate();
        if (Keys[VK_F4]) {
            Keys[VK_F4] = false;
            CloseSceneWindow();
            FullScreen = !FullScreen;
            if (!OpenSceneWindow("Astrolume", width, height, bits)) {
                SystemParametersInfoA(SPI_SCREENSAVERRUNNING, 0, nullptr, 0);
                return;
            }
        }
        if (Keys[VK_SPACE]) Done = true;
    }
    SystemParametersInfoA(SPI_SCREENSAVERRUNNING, 0, nullptr, 0);
    CloseSceneWindow();
    delete Model;
    Model = nullptr;
}
