// The memory stream the music is copied into, driven by a run of calls with any
// numbers (each call and its arguments taken from the input). After every call
// the whole stream reads back from its block, and a read gives no more than asked.
#include "support/Streams.h"
#include "tests/fuzz/Check.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <cstring>
#include <vector>

namespace {
struct View : TCustomMemoryStream {
    std::int32_t Write(const void*, std::int32_t) override { return 0; }
};
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    FuzzedDataProvider in(data, size);
    TMemoryStream stream;
    std::vector<std::uint8_t> buffer;
    while (in.remaining_bytes() > 0) {
        const int call = in.ConsumeIntegralInRange(0, 6);
        switch (call) {
        case 0: {
            const std::vector<std::uint8_t> bytes = in.ConsumeBytes<std::uint8_t>(in.ConsumeIntegral<std::uint16_t>());
            stream.Write(bytes.data(), static_cast<std::int32_t>(bytes.size()));
            break;
        }
        case 1: {
            const auto count = in.ConsumeIntegral<std::int32_t>();
            buffer.resize(static_cast<std::size_t>(std::max(stream.Size(), 0)));
            const std::int32_t from = stream.Position();
            const std::int32_t n = stream.Read(buffer.data(), count);
            FUZZ_CHECK(n >= 0 && n <= std::max(count, 0) && stream.Position() == from + n);
            break;
        }
        case 2: {
            const auto offset = in.ConsumeIntegral<std::int32_t>();
            stream.Seek(offset, in.ConsumeIntegralInRange<std::int16_t>(0, 3));
            break;
        }
        case 3: stream.Resize(in.ConsumeIntegral<std::int32_t>()); break;
        case 4: stream.Reserve(in.ConsumeIntegral<std::int32_t>()); break;
        default: {
            std::vector<std::uint8_t> bytes = in.ConsumeBytes<std::uint8_t>(in.ConsumeIntegral<std::uint16_t>());
            // The sixth call's source claims more than the stand-in's memory holds: nothing is copied.
            const bool liar = call == 6;
            View view;
            view.Attach(bytes.data(), liar ? std::int32_t{1} << 21 : static_cast<std::int32_t>(bytes.size()));
            stream.LoadFrom(view);
            FUZZ_CHECK(stream.Size() == 0 || (!liar && std::memcmp(stream.Memory(), bytes.data(), bytes.size()) == 0));
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
