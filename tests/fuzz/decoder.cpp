// Music files as the audio library opens them (Ogg Vorbis or WAV): when one is
// taken, a bounded stretch of it is decoded, rewound and decoded again, and the
// second pass gives the same frames as the first.
#include "bass/Decoder.h"
#include "tests/fuzz/Check.h"

#include <cstring>


extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    std::unique_ptr<Decoder> decoder = OpenDecoder(data, size, 44100);
    if (!decoder) return 0;
    constexpr int chunk = 1024, chunks = 32;
    static std::int16_t passes[2][chunks * chunk * 2];
    int frames[2] = {};
    for (int pass = 0; pass < 2; ++pass) {
        for (int i = 0; i < chunks; ++i) {
            const int n = decoder->Read(passes[pass] + frames[pass] * 2, chunk);
            FUZZ_CHECK(n >= 0 && n <= chunk);
            frames[pass] += n;
            if (n < chunk) break;
        }
        if (!decoder->Rewind()) return 0;
    }
    FUZZ_CHECK(frames[0] == frames[1] && std::memcmp(passes[0], passes[1], frames[0] * 4u) == 0);
    return 0;
}
