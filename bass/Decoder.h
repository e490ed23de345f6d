// Turns an audio file image held in memory (Ogg Vorbis or PCM WAV) into 16-bit
// stereo frames at the output rate, from the start again when asked.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

class Decoder {
public:
    virtual ~Decoder() = default;
    // Fills up to `frames` stereo frames; returns how many it wrote (0 at the end).
    virtual int Read(std::int16_t* stereo, int frames) = 0;
    virtual bool Rewind() = 0;
};

// A decoder for the image, or null when it is neither Ogg Vorbis nor 16-bit PCM
// WAV. The image must stay valid while the decoder lives. `outputRate` is the
// device's rate in Hz; other source rates are resampled linearly.
std::unique_ptr<Decoder> OpenDecoder(const std::uint8_t* data, std::size_t size, int outputRate);
