// The description panel and the message line. The panel shows the ten bodies'
// descriptions one after another in a random order: its frame grows open, the
// lines appear as if typed, and after a while it shrinks shut. The message line
// fades one message after another in and out in the lower left corner.
//
// Everything counts frames. So that a panel stays about equally long on any
// machine, during the first ten frame-rate updates of run mode the panel only
// calibrates: it keeps the highest rate it is handed and then scales its frame
// counts by it. This file is the state; the drawing (ShowMsgWin) only reads it.
#pragma once

#include "descriptions/DescText.h"

#include <array>
#include <cstdint>
#include <string_view>

class TDrawMsg {
public:
    TDrawMsg();
    virtual ~TDrawMsg() = default;

    // Starts the panel afresh from the description text and the message list
    // (the data library's resources as read; empty when missing).
    void Create(std::string_view descriptionText, std::string_view messageText);
    // Shuffles the display order, then fills Descs. True when the text is not empty.
    bool LoadDescriptions(std::string_view text);
    // Fills Msg with the centred messages. True with at least two of them.
    bool LoadMessages(std::string_view text);
    // A new random display order: Order becomes a permutation of the body indices.
    void Shuffle();

    bool IsActive() const { return Active; }
    // One frame-rate update (frames per second) while not active.
    void Calibrate(std::int32_t rate);

    // Advances the message line by one frame. False when there is no line to draw.
    bool StepMessage();
    // Advances the panel by one frame. False while it does not draw (off or waiting).
    bool StepPanel();
    // The body whose description the panel shows.
    std::int32_t Body() const { return Order[static_cast<std::size_t>(Current)]; }

    // The drawing, over the scene with 2D texturing on; each leaves the OpenGL
    // state as it found it. Draw = DrawMessage, then UpdatePanel.
    void Draw();
    void DrawMessage();
    void UpdatePanel();
    void DrawPanel();

    std::array<TPlanetDesc, BodyCount> Descs;  // by body index
    std::array<std::uint8_t, BodyCount> Order{};  // body index at each position of the display order
    std::int32_t Current = 0;        // position in Order of the body shown, 0..9
    TMsgDesc Msg;
    bool Active = false;             // calibration is done; the panel draws from now on
    std::int32_t Seconds = 0;        // frame-rate updates received during calibration
    std::int32_t PeakFps = 0;        // highest rate received during calibration
    std::int32_t RefFps = 0;         // the reference rate fixed at the end of calibration
    std::int32_t WaitCount = 0;      // frames waited before the next panel opens
    std::int32_t ShowCount = 0;      // frames the opened panel has been shown
    std::int32_t WaitFrames = 100;   // frames between panels (1 second at 100 fps until scaled)
    std::int32_t ShowFrames = 800;   // frames an opened panel stays
    std::int32_t Cols = 0;           // the frame's current width in cells
    std::int32_t Rows = 0;           // the frame's current height in cells
    std::int32_t Cell = 4;           // overlay units per cell
    bool DescOn = false;             // the description panel runs
    bool MsgOn = false;              // the message line runs
};

inline constexpr std::int32_t CalibrationUpdates = 10;

// Round(rate / 100 * frames * 1.7) to the nearest integer, halves to even.
std::int32_t ScaleFrames(std::int32_t rate, std::int32_t frames);

// The panel's own state (there is one panel per process); Create resets it.
extern bool Opened;                // the frame is fully open or closing
extern bool ShowText;              // the lines may be drawn
extern std::int32_t VisibleLines;  // lines revealed so far
extern std::int32_t TargetRows;    // full height in cells of the current body's frame
inline constexpr std::int32_t TargetCols = 58;  // full width in cells of every frame

// Where Shuffle takes its seed; the clock unless a test fixes it.
extern std::uint32_t (*ShuffleSeed)();
