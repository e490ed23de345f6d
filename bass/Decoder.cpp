#include "bass/Decoder.h"

#include <algorithm>
#include <cstring>
#include <new>

#define STB_VORBIS_HEADER_ONLY 1
#define STB_VORBIS_NO_STDIO 1
#include <stb_vorbis.h>

namespace {

// A source of interleaved 16-bit frames at its own rate and channel count.
class Source {
public:
    virtual ~Source() = default;
    virtual int Read(std::int16_t* interleaved, int frames) = 0;
    virtual bool Rewind() = 0;
    int rate = 0;
    int channels = 0;
};

// The Vorbis reader's whole working memory, handed to it up front: whatever a
// file's headers claim, it takes no more (the music needs a few hundred KiB), and
// what it leaves behind when it refuses a file goes with the block.
constexpr int VorbisMemory = 4 << 20;

class VorbisSource : public Source {
public:
    VorbisSource(stb_vorbis* v, std::unique_ptr<char[]> memory) : memory_(std::move(memory)), vorbis_(v)
    {
        const stb_vorbis_info info = stb_vorbis_get_info(v);
        rate = static_cast<int>(info.sample_rate);
        channels = info.channels;
    }
    ~VorbisSource() override { stb_vorbis_close(vorbis_); }
    int Read(std::int16_t* out, int frames) override
    {
        return stb_vorbis_get_samples_short_interleaved(vorbis_, channels, out, frames * channels);
    }
    bool Rewind() override { return stb_vorbis_seek_start(vorbis_) != 0; }

private:
    std::unique_ptr<char[]> memory_;  // released after the reader is closed
    stb_vorbis* vorbis_;
};

std::uint32_t Le32(const std::uint8_t* p) { return p[0] | (p[1] << 8) | (p[2] << 16) | (std::uint32_t(p[3]) << 24); }
std::uint16_t Le16(const std::uint8_t* p) { return static_cast<std::uint16_t>(p[0] | (p[1] << 8)); }

class WavSource : public Source {
public:
    WavSource(const std::uint8_t* samples, std::size_t frames) : samples_(samples), frames_(frames) {}
    int Read(std::int16_t* out, int frames) override
    {
        const std::size_t n = std::min<std::size_t>(static_cast<std::size_t>(frames), frames_ - next_);
        std::memcpy(out, samples_ + next_ * 2 * channels, n * 2 * channels);
        next_ += n;
        return static_cast<int>(n);
    }
    bool Rewind() override
    {
        next_ = 0;
        return true;
    }

private:
    const std::uint8_t* samples_;
    std::size_t frames_;
    std::size_t next_ = 0;
};

std::unique_ptr<Source> OpenWav(const std::uint8_t* data, std::size_t size)
{
    if (size < 12 || std::memcmp(data, "RIFF", 4) != 0 || std::memcmp(data + 8, "WAVE", 4) != 0) return nullptr;
    int channels = 0, rate = 0, bits = 0, format = 0;
    std::size_t at = 12;
    while (at + 8 <= size) {
        const std::uint32_t length = Le32(data + at + 4);
        const std::uint8_t* body = data + at + 8;
        const std::size_t available = size - at - 8;
        if (std::memcmp(data + at, "fmt ", 4) == 0 && length >= 16 && available >= 16) {
            format = Le16(body);
            channels = Le16(body + 2);
            rate = static_cast<int>(Le32(body + 4));
            bits = Le16(body + 14);
        } else if (std::memcmp(data + at, "data", 4) == 0) {
            if (format != 1 || bits != 16 || channels < 1 || channels > 2 || rate <= 0) return nullptr;
            const std::size_t bytes = std::min<std::size_t>(length, available);
            auto source = std::make_unique<WavSource>(body, bytes / (2 * static_cast<std::size_t>(channels)));
            source->rate = rate;
            source->channels = channels;
            return source;
        }
        if (length > available) break;
        at += 8 + length + (length & 1);
    }
    return nullptr;
}

// Whether the Vorbis comment header (the second packet, from the page after the
// first page's 58 bytes) holds the vendor text and every comment it counts. The
// Vorbis reader allocates by those counts and lengths and trusts them: a length
// of 2^32 - 1 makes it write far past the block it got. A file that claims more
// than it holds is refused here.
bool CommentsFit(const std::uint8_t* data, std::size_t size)
{
    std::vector<std::uint8_t> packet;
    std::size_t at = 58;
    for (bool ended = false; !ended;) {
        if (size - std::min(at, size) < 27 || std::memcmp(data + at, "OggS", 4) != 0) return false;
        const std::uint8_t* lacing = data + at + 27;
        const std::size_t count = data[at + 26];
        at += 27 + count;
        // NOTE: the reader takes a page without lacing values as one with the
        // previous page's first value, so such a page is refused too.
        if (count == 0 || at > size) return false;
        for (std::size_t s = 0; s < count && !ended; ++s) {
            if (size - at < lacing[s]) return false;
            packet.insert(packet.end(), data + at, data + at + lacing[s]);
            at += lacing[s];
            ended = lacing[s] < 255;
        }
    }
    std::size_t next = 7;  // after the packet type and "vorbis"
    const auto take = [&](std::size_t& bytes) {
        if (packet.size() < next + 4) return false;
        bytes = Le32(packet.data() + next);
        next += 4;
        return true;
    };
    std::size_t length = 0, comments = 0;
    if (!take(length) || packet.size() - next < length) return false;
    next += length;
    if (!take(comments) || (packet.size() - next) / 4 < comments) return false;
    for (; comments > 0; --comments) {
        if (!take(length) || packet.size() - next < length) return false;
        next += length;
    }
    return true;
}

// Converts any source to stereo at the output rate.
class StereoDecoder : public Decoder {
public:
    StereoDecoder(std::unique_ptr<Source> source, int outputRate)
        : source_(std::move(source)), step_(static_cast<double>(source_->rate) / outputRate)
    {
    }

    int Read(std::int16_t* stereo, int frames) override
    {
        int written = 0;
        while (written < frames) {
            // Keep two source frames around the read position for interpolation.
            while (position_ >= 1.0) {
                if (!Advance()) return written;
                position_ -= 1.0;
            }
            if (!primed_ && !Prime()) return written;
            for (int c = 0; c < 2; ++c) {
                const double a = current_[c], b = next_[c];
                stereo[2 * written + c] = static_cast<std::int16_t>(a + (b - a) * position_);
            }
            ++written;
            position_ += step_;
        }
        return written;
    }

    bool Rewind() override
    {
        primed_ = false;
        position_ = 0.0;
        buffered_ = used_ = 0;
        ended_ = last_ = false;
        return source_->Rewind();
    }

private:
    bool Fetch(double frame[2])
    {
        if (used_ == buffered_) {
            if (ended_) return false;
            // A file of more channels than two fills the buffer with fewer frames.
            buffered_ = source_->Read(buffer_, kBuffer * 2 / source_->channels);
            used_ = 0;
            if (buffered_ <= 0) {
                buffered_ = 0;
                ended_ = true;
                return false;
            }
        }
        const std::int16_t* f = buffer_ + used_ * source_->channels;
        frame[0] = f[0];
        frame[1] = source_->channels > 1 ? f[1] : f[0];
        ++used_;
        return true;
    }
    // The frame after the current one; the last frame holds itself, so that it is
    // played as long as every other one before the source ends.
    void FetchNext()
    {
        if (Fetch(next_)) return;
        std::copy(current_, current_ + 2, next_);
        last_ = true;
    }
    bool Prime()
    {
        if (!Fetch(current_)) return false;
        FetchNext();
        primed_ = true;
        return true;
    }
    bool Advance()
    {
        if (!primed_) return Prime();
        if (last_) return false;
        std::copy(next_, next_ + 2, current_);
        FetchNext();
        return true;
    }

    static constexpr int kBuffer = 4096;
    std::unique_ptr<Source> source_;
    double step_;
    double position_ = 0.0;
    double current_[2] = {}, next_[2] = {};
    bool primed_ = false;
    bool ended_ = false;  // the source has nothing more
    bool last_ = false;   // current_ is the source's last frame
    std::int16_t buffer_[kBuffer * 2];
    int buffered_ = 0, used_ = 0;
};

} // namespace

std::unique_ptr<Decoder> OpenDecoder(const std::uint8_t* data, std::size_t size, int outputRate)
{
    if (data == nullptr || size == 0 || outputRate <= 0 || size > 0x7FFFFFFF) return nullptr;
    std::unique_ptr<Source> source;
    if (size >= 4 && std::memcmp(data, "OggS", 4) == 0) {
        if (!CommentsFit(data, size)) return nullptr;
        std::unique_ptr<char[]> memory(new (std::nothrow) char[VorbisMemory]);
        if (!memory) return nullptr;
        const stb_vorbis_alloc block{memory.get(), VorbisMemory};
        int error = 0;
        stb_vorbis* v = stb_vorbis_open_memory(data, static_cast<int>(size), &error, &block);
        if (v == nullptr) return nullptr;
        source = std::make_unique<VorbisSource>(v, std::move(memory));
        if (source->channels < 1 || source->rate <= 0) return nullptr;
    } else {
        source = OpenWav(data, size);
    }
    if (!source) return nullptr;
    return std::make_unique<StereoDecoder>(std::move(source), outputRate);
}
