// The data library's description text and message list (input: the one, a NUL,
// the other) through the panel: the lines cut, the blocks found, every line split
// at its colour codes, then the panel and the message line stepped for a few
// cycles while every index the drawing reads stays inside what was loaded.
#include "descriptions/ShowMsg.h"
#include "tests/fuzz/Check.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    const std::size_t nul = std::min(input.find('\0'), size);
    ShuffleSeed = [] { return 1u; };  // the same order on every run of an input
    TDrawMsg panel;
    panel.Create(input.substr(0, nul), input.substr(std::min(nul + 1, size)));

    for (const TPlanetDesc& desc : panel.Descs) {
        for (const std::string& line : desc.Lines) {
            std::string_view segment;
            std::int32_t position = 1;
            std::uint8_t color = 0;
            for (std::size_t n = 0; NextColorSegment(line, segment, position, color); ++n)
                FUZZ_CHECK(n < line.size() && color < 16);
        }
    }
    // The shortest waits and showings calibration can give, so that the frames
    // below open and close many panels.
    for (int i = 0; i < CalibrationUpdates; ++i) panel.Calibrate(1);
    for (int frame = 0; frame < 2000; ++frame) {
        if (panel.StepMessage())
            FUZZ_CHECK(panel.Msg.Current >= 0 && static_cast<std::size_t>(panel.Msg.Current) < panel.Msg.Lines.size());
        if (panel.StepPanel())
            FUZZ_CHECK(panel.Body() >= 0 && panel.Body() < BodyCount && VisibleLines >= 0 &&
                       VisibleLines <= panel.Descs[static_cast<std::size_t>(panel.Body())].Count);
    }
    return 0;
}
