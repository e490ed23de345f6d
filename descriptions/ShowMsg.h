// The description panel. Its timings count frames, so during the first ten
// frame-rate updates of run mode it only calibrates: it keeps the highest rate
// it is handed and then scales its frame counts by it.
#pragma once

#include <cstdint>

class TDrawMsg {
public:
    TDrawMsg();
    virtual ~TDrawMsg() = default;

    bool IsActive() const { return Active; }
    // Draws the panel over the scene; nothing to draw yet.
    void Draw() {}
    // One frame-rate update (frames per second) while not active.
    void Calibrate(std::int32_t rate);

    bool Active = false;             // calibration is done; the panel draws from now on
    std::int32_t Seconds = 0;        // frame-rate updates received during calibration
    std::int32_t PeakFps = 0;        // highest rate received during calibration
    std::int32_t RefFps = 0;         // the reference rate fixed at the end of calibration
    std::int32_t WaitFrames = 100;   // frames between panels (1 second at 100 fps until scaled)
    std::int32_t ShowFrames = 800;   // frames an opened panel stays
};

inline constexpr std::int32_t CalibrationUpdates = 10;

// Round(rate / 100 * frames * 1.7) to the nearest integer, halves to even.
std::int32_t ScaleFrames(std::int32_t rate, std::int32_t frames);
