// Writes a short 440 Hz test tone for the audio-library tests: raw 16-bit stereo
// at 44.1 kHz (for oggenc) or, with --wav, a mono 22.05 kHz PCM WAV file.
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <vector>

namespace {
void Put16(std::vector<unsigned char>& out, unsigned v)
{
    out.push_back(v & 0xFF);
    out.push_back((v >> 8) & 0xFF);
}
void Put32(std::vector<unsigned char>& out, unsigned v)
{
    Put16(out, v & 0xFFFF);
    Put16(out, v >> 16);
}
} // namespace

int main(int argc, char** argv)
{
    if (argc < 2) {
        std::fprintf(stderr, "usage: make_tone [--wav] output\n");
        return 2;
    }
    const bool wav = std::strcmp(argv[1], "--wav") == 0;
    const char* path = argv[wav ? 2 : 1];
    const int rate = wav ? 22050 : 44100;
    const int channels = wav ? 1 : 2;
    const int frames = rate / 4;

    std::vector<unsigned char> samples;
    for (int i = 0; i < frames; ++i) {
        const auto v = static_cast<std::int16_t>(16000 * std::sin(2 * M_PI * 440.0 * i / rate));
        for (int c = 0; c < channels; ++c) Put16(samples, static_cast<std::uint16_t>(v));
    }
    std::vector<unsigned char> out;
    if (wav) {
        out.insert(out.end(), {'R', 'I', 'F', 'F'});
        Put32(out, static_cast<unsigned>(36 + samples.size()));
        out.insert(out.end(), {'W', 'A', 'V', 'E', 'f', 'm', 't', ' '});
        Put32(out, 16);
        Put16(out, 1);
        Put16(out, static_cast<unsigned>(channels));
        Put32(out, static_cast<unsigned>(rate));
        Put32(out, static_cast<unsigned>(rate * channels * 2));
        Put16(out, static_cast<unsigned>(channels * 2));
        Put16(out, 16);
        out.insert(out.end(), {'d', 'a', 't', 'a'});
        Put32(out, static_cast<unsigned>(samples.size()));
    }
    out.insert(out.end(), samples.begin(), samples.end());
    std::FILE* file = std::fopen(path, "wb");
    if (!file) return 1;
    const bool ok = std::fwrite(out.data(), 1, out.size(), file) == out.size();
    return std::fclose(file) == 0 && ok ? 0 : 1;
}
