#include "descriptions/ShowMsg.h"

#include "common/Util.h"

#include <chrono>
#include <cmath>

bool Opened = false;
bool ShowText = false;
std::int32_t VisibleLines = 0;
std::int32_t TargetRows = 0;

namespace {
std::uint32_t ClockSeed()
{
    return static_cast<std::uint32_t>(std::chrono::steady_clock::now().time_since_epoch().count());
}

// NOTE: the i686 build keeps floats in x87 registers with more precision; the
// store rounds each sum to 32 bits, so the fade phases last as many frames in
// every build.
float AddSingle(float a, float b)
{
    volatile float sum = a + b;
    return sum;
}
} // namespace

std::uint32_t (*ShuffleSeed)() = ClockSeed;

TDrawMsg::TDrawMsg() = default;

void TDrawMsg::Create(std::string_view descriptionText, std::string_view messageText)
{
    *this = TDrawMsg();  // every field at its construction value
    Opened = ShowText = false;
    VisibleLines = TargetRows = 0;
    DescOn = LoadDescriptions(descriptionText);
    MsgOn = LoadMessages(messageText);
    Current = 0;
}

bool TDrawMsg::LoadDescriptions(std::string_view text)
{
    Shuffle();
    ParseDescriptions(text, Descs);
    return !text.empty();
}

bool TDrawMsg::LoadMessages(std::string_view text)
{
    Msg.Lines = CutLines(text);
    Msg.HighIndex = Msg.Lines.empty() ? 0 : static_cast<std::int32_t>(Msg.Lines.size()) - 1;
    CentreMessages(Msg.Lines);
    return Msg.HighIndex > 0;
}

void TDrawMsg::Shuffle()
{
    constexpr std::uint8_t unset = 255;
    RandomSeed(ShuffleSeed());
    Order.fill(unset);
    // Rejection keeps every order equally likely: a taken slot is drawn again.
    for (std::uint8_t i = 0; i < BodyCount;) {
        std::uint8_t& slot = Order[static_cast<std::size_t>(RandomInt(BodyCount))];
        if (slot == unset) slot = i++;
    }
}

std::int32_t ScaleFrames(std::int32_t rate, std::int32_t frames)
{
    // Computed in extended precision; nearbyint rounds halves to even in the
    // default rounding mode (a peak of 85 gives 144.5 -> 144 frames).
    const long double scaled = static_cast<long double>(rate) / 100.0L * frames * 1.7L;
    return static_cast<std::int32_t>(std::nearbyintl(scaled));
}

void TDrawMsg::Calibrate(std::int32_t rate)
{
    ++Seconds;
    if (rate > PeakFps) PeakFps = rate;
    if (Seconds >= CalibrationUpdates) {
        Active = true;
        RefFps = PeakFps;
        WaitFrames = ScaleFrames(RefFps, WaitFrames);
        ShowFrames = ScaleFrames(RefFps, ShowFrames);
    }
}

bool TDrawMsg::StepMessage()
{
    if (!MsgOn || Msg.HighIndex == 0) return false;
    // Exactly one phase advances per frame.
    if (Msg.Starting) {
        Msg.StartTime = AddSingle(Msg.StartTime, Msg.Step);
        if (Msg.StartTime >= 5.0f) Msg.Starting = false;
    } else if (Msg.Holding) {
        Msg.HoldTime = AddSingle(Msg.HoldTime, Msg.Step);
        if (Msg.HoldTime >= 2.0f) {
            Msg.HoldTime = 0.0f;
            Msg.Holding = false;
        }
    } else if (Msg.Pausing) {
        Msg.PauseTime = AddSingle(Msg.PauseTime, Msg.Step);
        if (Msg.PauseTime >= 5.0f) {
            Msg.PauseTime = 0.0f;
            Msg.Pausing = false;
            if (++Msg.Current > Msg.HighIndex) Msg.Current = 0;
        }
    } else if (!Msg.FadingOut) {
        Msg.Alpha = AddSingle(Msg.Alpha, Msg.Step);
        if (Msg.Alpha >= 1.0f) Msg.FadingOut = Msg.Holding = true;
    } else {
        Msg.Alpha = AddSingle(Msg.Alpha, -Msg.Step);
        if (!(Msg.Alpha > 0.0f)) {
            Msg.FadingOut = false;
            Msg.Pausing = true;
        }
    }
    return true;
}

bool TDrawMsg::StepPanel()
{
    if (!DescOn) return false;
    if (WaitCount < WaitFrames) ++WaitCount;
    const std::int32_t lines = Descs[static_cast<std::size_t>(Body())].Count;
    TargetRows = static_cast<std::int32_t>(std::nearbyint((lines * 12.0 + 36.0) / Cell));
    if (WaitCount < WaitFrames) return false;

    if (!Opened) {
        // Wider first, then taller: the last widening frame is the first growing one.
        if (Cols < TargetCols) ++Cols;
        if (Cols >= TargetCols && Rows < TargetRows) ++Rows;
        if (Rows >= TargetRows) Opened = ShowText = true;
        return true;
    }
    if (ShowCount < ShowFrames) ++ShowCount;
    if (ShowCount % 5 == 0 && ++VisibleLines > lines) VisibleLines = lines;
    if (ShowCount >= ShowFrames) {
        // Closing: the text goes at once, then the frame shrinks in height, then in width.
        ShowText = false;
        VisibleLines = 0;
        if (Rows > 0) --Rows;
        if (Rows <= 0 && Cols > 0) --Cols;
        if (Cols <= 0) {
            if (++Current >= BodyCount) {
                Current = 0;
                Shuffle();
            }
            Opened = false;
            ShowCount = 0;
            WaitCount = 0;
        }
    }
    return true;
}
