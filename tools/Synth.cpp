// The saver's music: an original ambient piece made from nothing but arithmetic.
// Slow pad chords, a soft bass, sparse glassy bells and a breath of filtered
// noise, in a reverberant space. Writes a 16-bit stereo WAV at 44.1 kHz.
//
// The piece is a loop: every note is written modulo the loop's length, so a tail
// that rings past the end sounds at the start, and the reverb and the noise filter
// run over the loop twice, keeping the second, settled pass. Played round and
// round, the end flows into the start with no seam.
//
//   astrolume_synth OUT.wav
#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <vector>

#include "Random.h"

namespace {

constexpr int Rate = 44100;
constexpr int Seconds = 96;
constexpr int Length = Rate * Seconds;
constexpr double Pi = 3.14159265358979323846;


struct Stereo {
    std::vector<float> left = std::vector<float>(Length), right = std::vector<float>(Length);
    void Add(long long at, float l, float r)
    {
        long long i = ((at % Length) + Length) % Length;
        left[i] += l;
        right[i] += r;
    }
};

// One period of a soft, band-limited wave: `harmonics` partials falling off
// like a sawtooth's, so a pad voice costs one table look-up per sample.
std::vector<float> WaveTable(int harmonics, double rolloff)
{
    const int n = 4096;
    std::vector<float> t(n + 1);
    for (int i = 0; i <= n; ++i) {
        double s = 0;
        for (int h = 1; h <= harmonics; ++h)
            s += std::sin(2 * Pi * h * i / n) / std::pow(h, rolloff);
        t[i] = float(s);
    }
    return t;
}

float Lookup(const std::vector<float>& t, double phase)
{
    double p = (phase - std::floor(phase)) * 4096;
    int i = int(p);
    float f = float(p - i);
    return t[i] + (t[i + 1] - t[i]) * f;
}

double Midi(double note) { return 440.0 * std::pow(2.0, (note - 69) / 12); }

// A pad note: three slightly detuned voices spread across the stereo field, their
// brightness breathing slowly; raised-cosine swells in and out.
void Pad(Stereo& out, const std::vector<float>& dark, const std::vector<float>& bright, double note, double start,
         double length, double fade, float level)
{
    const double detune[3] = {-0.07, 0.0, 0.06};
    const float pan[3] = {-0.6f, 0.0f, 0.6f};
    long long first = llround(start * Rate), count = llround(length * Rate);
    for (int v = 0; v < 3; ++v) {
        double f = Midi(note + detune[v]) / Rate, phase = 0.13 * v;
        float gl = level * std::sqrt(0.5f * (1 - pan[v])), gr = level * std::sqrt(0.5f * (1 + pan[v]));
        for (long long i = 0; i < count; ++i) {
            double t = double(i) / Rate;
            double env = 1;
            if (t < fade)
                env = 0.5 - 0.5 * std::cos(Pi * t / fade);
            else if (t > length - fade)
                env = 0.5 - 0.5 * std::cos(Pi * (length - t) / fade);
            double shine = 0.5 - 0.5 * std::cos(2 * Pi * (t / length + 0.25 * v));
            float s = Lookup(dark, phase) * float(1 - shine * 0.6) + Lookup(bright, phase) * float(shine * 0.6);
            phase += f;
            s *= float(env) * 0.33f;
            out.Add(first + i, s * gl, s * gr);
        }
    }
}

// A glassy bell: two-operator FM with an inharmonic ratio and a fading index.
void Bell(Stereo& out, double note, double start, float level, float pan)
{
    double f = Midi(note);
    const double length = 7.0;
    long long first = llround(start * Rate), count = llround(length * Rate);
    float gl = level * std::sqrt(0.5f * (1 - pan)), gr = level * std::sqrt(0.5f * (1 + pan));
    for (long long i = 0; i < count; ++i) {
        double t = double(i) / Rate;
        double attack = std::min(1.0, t / 0.012);
        double env = attack * std::exp(-t / 1.6) * (1 - std::max(0.0, t - (length - 0.5)) / 0.5);
        double index = 1.8 * std::exp(-t / 0.6) + 0.15;
        double s = std::sin(2 * Pi * f * t + index * std::sin(2 * Pi * f * 3.5 * t)) +
                   0.25 * std::sin(2 * Pi * f * 2.01 * t) * std::exp(-t / 0.9);
        float v = float(s * env);
        out.Add(first + i, v * gl, v * gr);
    }
}

// A low sine drone whose frequency fits the loop a whole number of times, with a
// slow swell that does too.
void Drone(Stereo& out, double note, float level)
{
    double f = std::round(Midi(note) * Seconds) / Seconds;
    for (int i = 0; i < Length; ++i) {
        double t = double(i) / Rate;
        double swell = 0.75 + 0.25 * std::cos(2 * Pi * 2 * t / Seconds);
        float s = float((std::sin(2 * Pi * f * t) + 0.3 * std::sin(2 * Pi * 2 * f * t)) * swell) * level;
        out.Add(i, s, s);
    }
}

// Filtered noise, like wind in the dark: a band-pass sweeping once per half loop.
void Breath(Stereo& out, float level)
{
    std::array<std::vector<float>, 2> noise;
    Random rnd(96, 7);
    for (auto& n : noise) {
        n.resize(Length);
        for (float& x : n)
            x = float(rnd.UniformDouble() * 2 - 1);
    }
    for (int c = 0; c < 2; ++c) {
        double low = 0, band = 0;
        for (int pass = 0; pass < 2; ++pass)
            for (int i = 0; i < Length; ++i) {
                double t = double(i) / Rate;
                double cutoff = 500 + 350 * std::sin(2 * Pi * 2 * t / Seconds + c * 1.3);
                double f = 2 * std::sin(Pi * cutoff / Rate), q = 0.12;
                double high = noise[c][i] - low - q * band;
                band += f * high;
                low += f * band;
                if (pass == 1) {
                    float v = float(band) * level;
                    (c == 0 ? out.left : out.right)[i] += v;
                }
            }
    }
}

// A feedback delay network reverb, run round the loop twice so its tail wraps.
void Reverb(Stereo& io, float wet, double seconds)
{
    const int delays[8] = {1433, 1601, 1867, 2053, 2251, 2399, 2617, 2797};
    std::array<std::vector<float>, 8> lines;
    std::array<int, 8> pos{};
    std::array<double, 8> gain{}, damp{};
    for (int k = 0; k < 8; ++k) {
        lines[k].assign(delays[k] * 4, 0.0f);  // pre-stretched: the room is large
        gain[k] = std::pow(10.0, -3.0 * lines[k].size() / (seconds * Rate));
    }
    std::vector<float> wetL(Length), wetR(Length);
    for (int pass = 0; pass < 2; ++pass)
        for (int i = 0; i < Length; ++i) {
            double in = 0.5 * (io.left[i] + io.right[i]);
            double out[8], sum = 0;
            for (int k = 0; k < 8; ++k) {
                out[k] = lines[k][pos[k]];
                damp[k] += 0.35 * (out[k] - damp[k]);  // darker as it decays
                sum += damp[k];
            }
            for (int k = 0; k < 8; ++k) {
                double x = (damp[k] - sum * 0.25) * gain[k] + in * 0.35;
                lines[k][pos[k]] = float(x);
                pos[k] = (pos[k] + 1) % int(lines[k].size());
            }
            if (pass == 1) {
                wetL[i] = float(out[0] + out[2] + out[4] - out[6]);
                wetR[i] = float(out[1] + out[3] - out[5] + out[7]);
            }
        }
    for (int i = 0; i < Length; ++i) {
        io.left[i] = io.left[i] * (1 - wet) + wetL[i] * wet * 0.5f;
        io.right[i] = io.right[i] * (1 - wet) + wetR[i] * wet * 0.5f;
    }
}

void Put16(FILE* f, unsigned v) { std::fputc(v & 255, f), std::fputc((v >> 8) & 255, f); }
void Put32(FILE* f, unsigned v) { Put16(f, v & 0xFFFF), Put16(f, v >> 16); }

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: astrolume_synth OUT.wav\n");
        return 2;
    }
    Stereo music;
    const auto dark = WaveTable(4, 1.6), bright = WaveTable(12, 1.15);

    // Eight chords, twelve seconds each, every one swelling in over the last.
    const std::vector<std::vector<double>> chords = {
        {50, 57, 60, 64, 65}, {46, 53, 57, 62, 64}, {41, 53, 60, 64, 69}, {48, 55, 62, 64, 69},
        {43, 50, 58, 65, 69}, {46, 53, 57, 60, 62}, {45, 52, 55, 60, 62}, {48, 55, 62, 67, 64},
    };
    const double step = double(Seconds) / chords.size();
    for (size_t c = 0; c < chords.size(); ++c) {
        double start = c * step - 3;
        for (size_t n = 1; n < chords[c].size(); ++n)
            Pad(music, dark, bright, chords[c][n], start, step + 6, 5.5, 0.16f);
        // The chord's root, low and round, in two octaves so that small speakers
        // keep it too.
        Pad(music, dark, dark, chords[c][0] - 12, start, step + 6, 5.0, 0.11f);
        Pad(music, dark, bright, chords[c][0], start, step + 6, 5.0, 0.10f);
    }
    Drone(music, 38, 0.05f);

    // Bells from the D minor pentatonic, scattered but never crowded.
    const double scale[] = {74, 77, 79, 81, 84, 86, 89, 91, 93};
    Random rnd(272, 7);
    for (double t = 1.5; t < Seconds - 0.5;) {
        double note = scale[rnd.Next() % 9];
        float pan = float(rnd.UniformDouble() * 1.4 - 0.7);
        Bell(music, note, t, 0.09f + float(rnd.UniformDouble()) * 0.07f, pan);
        if (rnd.UniformDouble() < 0.3)  // now and then an echoing answer a fifth lower
            Bell(music, note - 5, t + 0.45, 0.05f, -pan);
        t += 1.6 + rnd.UniformDouble() * 3.2;
    }
    Breath(music, 0.05f);
    Reverb(music, 0.45f, 6.0);

    // Peak at -1.5 dBFS, then 16 bits with a seeded triangular dither.
    float peak = 0;
    for (int i = 0; i < Length; ++i)
        peak = std::max({peak, std::abs(music.left[i]), std::abs(music.right[i])});
    const float gain = 0.84f / peak;
    FILE* f = std::fopen(argv[1], "wb");
    if (!f) {
        std::perror(argv[1]);
        return 1;
    }
    const unsigned bytes = Length * 4;
    std::fputs("RIFF", f);
    Put32(f, 36 + bytes);
    std::fputs("WAVEfmt ", f);
    Put32(f, 16);
    Put16(f, 1);
    Put16(f, 2);
    Put32(f, Rate);
    Put32(f, Rate * 4);
    Put16(f, 4);
    Put16(f, 16);
    std::fputs("data", f);
    Put32(f, bytes);
    Random dither(44100, 7);
    for (int i = 0; i < Length; ++i)
        for (float s : {music.left[i], music.right[i]}) {
            double d = dither.UniformDouble() - dither.UniformDouble();
            long v = std::lround(s * gain * 32767.0 + d);
            Put16(f, unsigned(int16_t(std::max(-32767L, std::min(32767L, v)))));
        }
    if (std::fclose(f) != 0) {
        std::perror(argv[1]);
        return 1;
    }
    return 0;
}
