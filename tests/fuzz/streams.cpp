// The memory stream the music is copied into, driven by a run of calls with any
// numbers (input: a byte naming each call, then its arguments). After every call
// the whole stream reads back from its block, and a read gives no more than asked.
#include "support/Streams.h"
#include "tests/fuzz/Check.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace {
struct Input {
    const std::uint8_t* data;
    std::size_t size;
    template <typename T> T Take()
    {
        T value{};
        const std::size_t n = std::min(sizeof value, size);
        std::memcpy(&value, data, n);
        data += n;
        size -= n;
        return value;
    }
};
struct View : TCustomMemoryStream {
    std::int32_t Write(const void*, std::int32_t) override { return 0; }
};
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    Input in{data, size};
    TMemoryStream stream;
    std::vector<std::uint8_t> buffer;
    while (in.size > 0) {
        switch (in.Take<std::uint8_t>() % 6) {
        case 0: {
            const auto count = std::min<std::size_t>(in.Take<std::uint16_t>(), in.size);
            stream.Write(in.data, static_cast<std::int32_t>(count));
            break;
        }
        case 1: {
            const auto count = in.Take<std::int32_t>();
            buffer.resize(static_cast<std::size_t>(std::max(stream.Size(), 0)));
            const std::int32_t from = stream.Position();
            const std::int32_t n = stream.Read(buffer.data(), count);
            FUZZ_CHECK(n >= 0 && n <= std::max(count, 0) && stream.Position() == from + n);
            break;
        }
        case 2: {
            const auto offset = in.Take<std::int32_t>();
            stream.Seek(offset, static_cast<std::int16_t>(in.Take<std::uint8_t>() % 4));
            break;
        }
        case 3: stream.Resize(in.Take<std::int32_t>()); break;
        case 4: stream.Reserve(in.Take<std::int32_t>()); break;
        default: {
            View view;
            view.Attach(const_cast<std::uint8_t*>(in.data), static_cast<std::int32_t>(in.size));
            stream.LoadFrom(view);
            FUZZ_CHECK(stream.Size() == 0 || std::memcmp(stream.Memory(), in.data, in.size) == 0);
        }
        }
        const std::int32_t position = stream.Position();
        buffer.resize(static_cast<std::size_t>(std::max(stream.Size(), 0)));
        stream.SeekTo(0);
        FUZZ_CHECK(stream.Read(buffer.data(), stream.Size()) == std::max(stream.Size(), 0));
        stream.SeekTo(position);
    }
    return 0;
}
