// Checks the encoded music the way a listener would notice a fault: decodes the
// Ogg Vorbis file and measures its format, length and level, and the seam where
// the loop jumps from its last sample back to its first: no click (a step far
// larger than the signal's own steps there) and no gap (near-silence at either
// end). Before judging the music it proves, on doctored copies, that both faults
// would be caught.
//
//   astrolume_soundcheck MUSIC.ogg
#define STB_VORBIS_HEADER_ONLY
#include <stb_vorbis.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

struct Track {
    int channels = 0;
    int rate = 0;
    std::vector<std::vector<float>> samples;  // per channel, -1..1
};

double Rms(const std::vector<float>& x, size_t from, size_t count)
{
    double sum = 0;
    for (size_t i = from; i < from + count; ++i)
        sum += double(x[i]) * x[i];
    return std::sqrt(sum / count);
}

// What is wrong with the loop's seam, or an empty text.
std::string SeamFault(const Track& t)
{
    const size_t n = t.samples[0].size();
    const size_t window = size_t(t.rate) / 10;  // 100 ms either side of the seam
    for (int c = 0; c < t.channels; ++c) {
        const std::vector<float>& x = t.samples[c];
        // The signal's own largest step and slope change near the seam...
        double step = 0, bend = 0;
        for (size_t k = 2; k < window; ++k) {
            for (size_t i : {k, n - k}) {
                step = std::max(step, double(std::abs(x[i] - x[i - 1])));
                bend = std::max(bend, double(std::abs(x[i] - 2 * x[i - 1] + x[i - 2])));
            }
        }
        // ...against the step and slope change across it.
        double seamStep = std::abs(x[0] - x[n - 1]);
        double seamBend = std::abs(x[0] - 2 * x[n - 1] + x[n - 2]);
        if (seamStep > 2 * step + 0.002 || seamBend > 2 * bend + 0.002)
            return "a click at the seam in channel " + std::to_string(c);
        double whole = Rms(x, 0, n);
        if (Rms(x, 0, window) < 0.25 * whole || Rms(x, n - window, window) < 0.25 * whole)
            return "a gap at the seam in channel " + std::to_string(c);
    }
    return "";
}

int Failed(const char* what)
{
    std::fprintf(stderr, "soundcheck: %s\n", what);
    return 1;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: astrolume_soundcheck MUSIC.ogg\n");
        return 2;
    }
    Track t;
    short* pcm = nullptr;
    int frames = stb_vorbis_decode_filename(argv[1], &t.channels, &t.rate, &pcm);
    if (frames <= 0 || !pcm)
        return Failed("not a valid Ogg Vorbis stream");
    t.samples.assign(t.channels, std::vector<float>(frames));
    float peak = 0;
    for (int i = 0; i < frames; ++i)
        for (int c = 0; c < t.channels; ++c) {
            float v = pcm[i * t.channels + c] / 32768.0f;
            t.samples[c][i] = v;
            peak = std::max(peak, std::abs(v));
        }
    std::free(pcm);
    double seconds = double(frames) / t.rate;
    std::printf("soundcheck: %d channels, %d Hz, %.2f s, peak %.2f dBFS\n", t.channels, t.rate, seconds,
                20 * std::log10(peak));

    if (t.channels != 2 || t.rate != 44100)
        return Failed("the music must be stereo at 44.1 kHz");
    if (seconds < 60 || seconds > 120)
        return Failed("the music must last 60 to 120 seconds");
    if (peak >= std::pow(10.0f, -1 / 20.0f))
        return Failed("the peak must stay below -1 dBFS");

    // The detector itself: a jump spliced in at the seam, and a silent end.
    Track clicked = t;
    for (auto& x : clicked.samples)
        for (size_t i = 0; i < x.size() / 2; ++i)
            x[i] += 0.05f;
    Track gapped = t;
    for (auto& x : gapped.samples)
        std::fill(x.end() - t.rate / 5, x.end(), 0.0f);
    if (SeamFault(clicked).empty() || SeamFault(gapped).empty())
        return Failed("the seam check misses a doctored seam");

    std::string fault = SeamFault(t);
    if (!fault.empty())
        return Failed(fault.c_str());
    std::printf("soundcheck: the loop's seam is clean\n");
    return 0;
}
