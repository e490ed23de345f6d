#include "bench/Frames.h"

#include "bench/Allocations.h"
#include "bench/BenchClock.h"
#include "common/DataLibrary.h"
#include "common/Settings.h"
#include "descriptions/ShowMsg.h"
#include "descriptions/ShowMsgWin.h"
#include "model/Planet.h"
#include "model/PlanetaryModel.h"
#include "scene/GlDraw.h"
#include "scene/Overlays.h"
#include "shell/SaverWindow.h"

#include <GL/gl.h>

// Revisions before the frame's steps had a hook draw them unseen.
#if __has_include("scene/FrameSteps.h")
#include "scene/FrameSteps.h"
#define ASTROLUME_BENCH_STEPS 1
#endif

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <limits>
#include <memory>
#include <type_traits>
#include <vector>

namespace {

template <typename Model>
concept FrameTakesStep = requires(Model& model, std::int32_t number, TDrawMsg* panel) {
    RenderFrame(model, number, number, panel);
};

template <typename Record>
concept HasSmoothEdges = requires(Record& settings) { settings.SmoothEdges = true; };

template <typename Record>
void SetSmoothEdges(Record& settings, bool on)
{
    if constexpr (HasSmoothEdges<Record>) settings.SmoothEdges = on;
}

template <typename Model>
bool DrawFrame(Model& model, std::int32_t step, std::int32_t frameRate, TDrawMsg& panel)
{
    if constexpr (FrameTakesStep<Model>) {
        return RenderFrame(model, step, frameRate, &panel);
    } else {
        // This frame takes the time since the tick count it saw last: set that one step back.
        FirstFrame = false;
        CurTick = GetTickCount() - static_cast<std::uint32_t>(step);
        return RenderFrame(model, frameRate, &panel);
    }
}

// Kernel and user time of the whole process, seconds; NaN when not given.
double CpuSeconds()
{
    FILETIME created, exited, kernel, user;
    if (!GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user))
        return std::numeric_limits<double>::quiet_NaN();
    const auto seconds = [](const FILETIME& time) {
        return static_cast<double>((static_cast<std::uint64_t>(time.dwHighDateTime) << 32) | time.dwLowDateTime) / 1e7;
    };
    return seconds(kernel) + seconds(user);
}

// The main loop's share between frames: every waiting message. False on WM_QUIT.
bool PumpMessages()
{
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (message.message == WM_QUIT) return false;
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    return true;
}

// The window opens maximised; the frames are drawn at the size asked for.
bool SizeClientArea(int width, int height)
{
    ShowWindow(SaverWindow, SW_RESTORE);
    RECT frame{0, 0, width, height};
    const auto style = static_cast<DWORD>(GetWindowLongA(SaverWindow, GWL_STYLE));
    const auto exStyle = static_cast<DWORD>(GetWindowLongA(SaverWindow, GWL_EXSTYLE));
    RECT client;
    return AdjustWindowRectEx(&frame, style, FALSE, exStyle) &&
           SetWindowPos(SaverWindow, nullptr, 0, 0, frame.right - frame.left, frame.bottom - frame.top,
                        SWP_NOZORDER | SWP_NOACTIVATE) &&
           PumpMessages() && GetClientRect(SaverWindow, &client) && client.right == width && client.bottom == height;
}

// One pass of the main loop: messages, the frame, the swap.
bool PresentFrame(TPlanetaryModel& model, const FrameOptions& options, TDrawMsg& panel, std::string& error)
{
    if (!PumpMessages()) {
        error = "the window was closed";
        return false;
    }
    if (!DrawFrame(model, options.stepMs, 1000 / options.stepMs, panel) || !SwapBuffers(SaverDC)) {
        error = "a frame could not be drawn or presented";
        return false;
    }
    return true;
}

bool DrawFrames(TPlanetaryModel& model, const FrameOptions& options, TDrawMsg& panel, FrameFigures& figures,
                std::string& error)
{
    for (int i = 0; i < options.warmUpFrames; ++i)
        if (!PresentFrame(model, options, panel, error)) return false;

    std::vector<double> frameMs;
    frameMs.reserve(static_cast<std::size_t>(options.measuredFrames));
    const std::uint64_t allocations = AllocationCount();
    const double cpu = CpuSeconds();
    const double start = NowMs();
    double previous = start;
    for (int i = 0; i < options.measuredFrames; ++i) {
        if (!PresentFrame(model, options, panel, error)) return false;
        const double now = NowMs();
        frameMs.push_back(now - previous);
        previous = now;
    }
    const double wallSeconds = (previous - start) / 1000.0;
    figures.cpuPerSecond = (CpuSeconds() - cpu) / wallSeconds;
    figures.allocationsPerFrame =
        static_cast<double>(AllocationCount() - allocations) / static_cast<double>(options.measuredFrames);
    figures.framesPerSecond = options.measuredFrames / wallSeconds;

    std::sort(frameMs.begin(), frameMs.end());
    const std::size_t count = frameMs.size();
    figures.medianMs = count % 2 ? frameMs[count / 2] : (frameMs[count / 2 - 1] + frameMs[count / 2]) / 2;
    // Nearest rank: the smallest time at or above 95 % of the frames.
    figures.p95Ms = frameMs[static_cast<std::size_t>(std::ceil(0.95 * static_cast<double>(count))) - 1];
    return true;
}

// Revisions before the opening said how it failed returned whether it succeeded.
template <typename Result>
bool WindowOpened(Result result)
{
    if constexpr (std::is_same_v<Result, bool>)
        return result;
    else
        return result == Result::Opened;
}

std::uint32_t FixedShuffleSeed() { return 1; }

void WINAPI Noon(LPSYSTEMTIME time)
{
    *time = SYSTEMTIME{2000, 1, 6, 1, 12, 0, 0, 0};
}

// One more frame, its clock at a fixed time so that two runs draw the same, read
// back before it is shown and written top row first as a binary PPM.
bool WriteShot(TPlanetaryModel& model, const FrameOptions& options, TDrawMsg& panel, int width, int height,
               std::string& error)
{
    const TLocalTimeSource clock = LocalTimeSource;
    LocalTimeSource = Noon;
    const bool drawn = DrawFrame(model, options.stepMs, 1000 / options.stepMs, panel);
    LocalTimeSource = clock;
    std::vector<unsigned char> pixels(static_cast<std::size_t>(width) * height * 3);
    GLint alignment = 4;
    glGetIntegerv(GL_PACK_ALIGNMENT, &alignment);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, width, height, GL_RGB, GL_UNSIGNED_BYTE, pixels.data());
    glPixelStorei(GL_PACK_ALIGNMENT, alignment);
    std::FILE* file = drawn && glGetError() == GL_NO_ERROR ? std::fopen(options.shot.c_str(), "wb") : nullptr;
    bool written = file != nullptr && std::fprintf(file, "P6\n%d %d\n255\n", width, height) > 0;
    for (int y = height - 1; written && y >= 0; --y)
        written = std::fwrite(&pixels[static_cast<std::size_t>(y) * width * 3], 3, width, file) ==
                  static_cast<std::size_t>(width);
    if (file != nullptr && std::fclose(file) != 0) written = false;
    if (!written) error = "the frame could not be read back and written to " + options.shot;
    return written;
}

#ifdef ASTROLUME_BENCH_STEPS
static_assert(FrameStepCount == std::tuple_size_v<decltype(FrameFigures::stepMs)>, "a figure per step");
std::array<double, FrameStepCount> StepTotals;
double StepStart = 0;

// Waits for the step's GL work, then books the time since the previous step.
void FinishStep(TFrameStep step)
{
    glFinish();
    const double now = NowMs();
    StepTotals[static_cast<int>(step)] += now - StepStart;
    StepStart = now;
}

// StepFrames more frames, every step finished before the next begins: waits the
// measured frames must not have.
bool TimeSteps(TPlanetaryModel& model, const FrameOptions& options, TDrawMsg& panel, FrameFigures& figures,
               std::string& error)
{
    StepTotals.fill(0);
    FrameStepDrawn = FinishStep;
    bool drawn = true;
    for (int i = 0; drawn && i < StepFrames; ++i) {
        glFinish();  // the previous frame and its swap stay out of the first step
        StepStart = NowMs();
        drawn = PresentFrame(model, options, panel, error);
    }
    FrameStepDrawn = nullptr;
    for (int i = 0; drawn && i < FrameStepCount; ++i) figures.stepMs[i] = StepTotals[i] / StepFrames;
    return drawn;
}
#else
bool TimeSteps(TPlanetaryModel&, const FrameOptions&, TDrawMsg&, FrameFigures&, std::string&) { return true; }
#endif

} // namespace

const bool StepHandedIn = FrameTakesStep<TPlanetaryModel>;
const bool SmoothEdgesKnown = HasSmoothEdges<TSettings>;

bool MeasureFrames(int width, int height, bool smoothEdges, const FrameOptions& options, FrameFigures& figures,
                   std::string& error)
{
    // As run mode starts, with the defaults: clock, frame rate and panel on.
    SetDefaultSettings();
    SetSmoothEdges(Settings, smoothEdges);
    Settings.Distance *= Settings.Scale;
    Settings.Sizes *= Settings.Scale;
    ShuffleSeed = FixedShuffleSeed;
    TDrawMsg panel;
    CreateDescPanel(panel, DataLibrary);
    panel.DescOn = panel.DescOn && Settings.DescPlanet;
    // The main loop calibrates the panel over its first seconds of measured rates;
    // calibrated at the fixed step's rate, it shows the same in every run.
    while (!panel.IsActive()) panel.Calibrate(1000 / options.stepMs);
    auto model = std::make_unique<TPlanetaryModel>();
    if (!model->Valid()) {
        error = "the model could not be made";
        return false;
    }
    // Each planet starts at a random point of its orbit; here at a fixed one.
    for (std::size_t i = 1; i < model->Planets.size(); ++i)
        if (model->Planets[i]) model->Planets[i]->OrbitAngle = 0.7f * static_cast<float>(i);
    CameraTilt = 0.0f;
    FullScreen = false;

    const double opening = NowMs();
    if (!WindowOpened(OpenSceneWindow("Astrolume bench", width, height, 32, *model))) {
        error = "the window could not be opened";
        return false;
    }
    figures.openMs = NowMs() - opening;
    bool measured = SizeClientArea(width, height);
    if (!measured)
        error = "the window's client area could not be made the size asked for";
    else
        measured = DrawFrames(*model, options, panel, figures, error) &&
                   (options.shot.empty() || WriteShot(*model, options, panel, width, height, error)) &&
                   (smoothEdges || TimeSteps(*model, options, panel, figures, error));
    CloseSceneWindow();
    return measured;
}
