#include "support/Handles.h"
#include "support/Streams.h"
#include "tests/windows/probe/Probe.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// The bytes from `from` to the end; none when the stream has no memory.
std::string Contents(const TCustomMemoryStream& stream, int from = 0)
{
    const char* bytes = static_cast<const char*>(stream.Memory());
    return bytes ? std::string(bytes + from, bytes + stream.Size()) : std::string();
}

// The test data library: 1000 holds ten 'x', 1002 8193 bytes, one past the first
// block of memory; a missing resource and one of another type are empty.
TEST(ResourceStream, LoadFromCopiesAllWhereverTheSourceStands)
{
    const UniqueModule module{LoadLibraryA((probe::Argument("testdata") + "\\v272\\duzidad.dll").c_str())};
    ASSERT_TRUE(module) << "no test data library";
    for (const auto& [id, type, size] : {std::tuple{1000, RT_RCDATA, 10}, {1002, RT_RCDATA, 8193},
                                         {4242, RT_RCDATA, 0}, {1000, RT_BITMAP, 0}}) {
        TResourceStream source(module.get(), id, type);
        source.SeekTo(3);
        TMemoryStream copy;
        copy.LoadFrom(source);
        EXPECT_EQ(source.Length(), size) << id;
        EXPECT_EQ(Contents(copy), Contents(source)) << id;
    }
}

// Empty, negative and beyond-2-GiB writes change nothing (no wrapping around); one
// past the end leaves a gap; growing past a block keeps what was written.
TEST(MemoryStream, WriteEdges)
{
    TMemoryStream stream;
    for (const auto& [position, count] : {std::pair{0, 0}, {0, -1}, {-1, 3}, {0x7FFFFFF0, 0x20}}) {
        stream.SeekTo(position);
        EXPECT_EQ(stream.Write("abc", count), 0) << position << ", " << count;
        EXPECT_EQ(stream.Memory(), nullptr);
    }
    stream.SeekTo(5);
    EXPECT_EQ(stream.Write("abc", 3), 3);
    const std::string more(10000, 'b');
    EXPECT_EQ(stream.Write(more.data(), 10000), 10000);
    EXPECT_EQ(Contents(stream, 5), "abc" + more);
}

} // namespace
