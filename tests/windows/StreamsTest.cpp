#include "support/Streams.h"
#include "support/Handles.h"
#include "tests/windows/probe/Probe.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

namespace {

// The test data library, loaded for its resources.
class ResourceStreams : public ::testing::Test {
protected:
    void SetUp() override
    {
        const std::string path = probe::Argument("testdata") + "\\v272\\duzidad.dll";
        module.reset(LoadLibraryA(path.c_str()));
        ASSERT_TRUE(module) << path;
    }
    UniqueModule module;
};

TEST(MemoryStream, StartsEmptyAndClearsToEmpty)
{
    TMemoryStream stream;
    EXPECT_EQ(stream.Memory(), nullptr);
    EXPECT_EQ(stream.Size(), 0);
    EXPECT_EQ(stream.Capacity(), 0);
    stream.Clear();
    EXPECT_EQ(stream.Memory(), nullptr);
    EXPECT_EQ(stream.Size(), 0);
    EXPECT_EQ(stream.Position(), 0);
}

TEST(MemoryStream, WritesGrowInSteps)
{
    TMemoryStream stream;
    std::vector<char> chunk(100);
    for (int i = 0; i < 100; ++i) {
        std::memset(chunk.data(), 'a' + i % 26, chunk.size());
        ASSERT_EQ(stream.Write(chunk.data(), 100), 100);
        ASSERT_EQ(stream.Capacity() % 8192, 0);
    }
    EXPECT_EQ(stream.Size(), 10000);
    EXPECT_EQ(stream.Position(), 10000);
    EXPECT_EQ(stream.Capacity(), 16384);
    // The contents survive the block's reallocation.
    const char* bytes = static_cast<const char*>(stream.Memory());
    for (int i = 0; i < 100; ++i) ASSERT_EQ(bytes[i * 100 + 99], 'a' + i % 26) << i;
}

TEST(MemoryStream, WriteEdges)
{
    TMemoryStream stream;
    const char data[] = "abc";
    EXPECT_EQ(stream.Write(data, 0), 0);
    EXPECT_EQ(stream.Size(), 0);
    EXPECT_EQ(stream.Memory(), nullptr);
    EXPECT_EQ(stream.Write(data, -1), 0);

    stream.SeekTo(-1);
    EXPECT_EQ(stream.Write(data, 3), 0);
    EXPECT_EQ(stream.Size(), 0);

    // A write past the end leaves a gap and extends the size.
    stream.SeekTo(5);
    EXPECT_EQ(stream.Write(data, 3), 3);
    EXPECT_EQ(stream.Size(), 8);
    EXPECT_EQ(std::memcmp(static_cast<const char*>(stream.Memory()) + 5, "abc", 3), 0);

    // A write that would end beyond 2 GiB is refused, not wrapped around.
    stream.SeekTo(0x7FFFFFF0);
    EXPECT_EQ(stream.Write(data, 0x20), 0);
    EXPECT_EQ(stream.Size(), 8);
}

TEST(MemoryStream, ReadAndSeekEdges)
{
    TMemoryStream stream;
    ASSERT_EQ(stream.Write("xyz", 3), 3);
    char buffer[8] = {};

    EXPECT_EQ(stream.Read(buffer, 1), 0) << "at Position == Size";

    EXPECT_EQ(stream.Seek(-5, TStream::soEnd), -2);
    std::memset(buffer, '#', sizeof buffer);
    EXPECT_EQ(stream.Read(buffer, 3), 0);
    EXPECT_EQ(buffer[0], '#');

    EXPECT_EQ(stream.Seek(10, TStream::soBeginning), 10);
    EXPECT_EQ(stream.Read(buffer, 3), 0);
    EXPECT_EQ(stream.Seek(-9, TStream::soCurrent), 1);
    EXPECT_EQ(stream.Seek(100, 7), 1) << "an unknown origin leaves the position";
    EXPECT_EQ(stream.Read(buffer, 100), 2);
    EXPECT_EQ(std::memcmp(buffer, "yz", 2), 0);
    EXPECT_EQ(stream.Read(buffer, -1), 0);

    stream.SeekTo(1);
    EXPECT_EQ(stream.Length(), 3);
    EXPECT_EQ(stream.Position(), 1) << "Length keeps the position";
}

TEST(MemoryStream, ResizeBelowThePositionMovesItToTheOldEnd)
{
    TMemoryStream stream;
    ASSERT_EQ(stream.Write("0123456789", 10), 10);
    stream.SeekTo(12);
    stream.Resize(4);
    EXPECT_EQ(stream.Size(), 4);
    EXPECT_EQ(stream.Position(), 10);
    EXPECT_EQ(stream.Capacity(), 8192);
    stream.Resize(0);
    EXPECT_EQ(stream.Memory(), nullptr);
    EXPECT_EQ(stream.Capacity(), 0);
}

TEST(MemoryStream, NoMemoryLeavesAnEmptyConsistentStream)
{
    TMemoryStream stream;
    ASSERT_EQ(stream.Write("abc", 3), 3);
    // No 32-bit process gets a block this large.
    stream.Resize(0x7FFF0000);
    EXPECT_EQ(stream.Size(), 0);
    EXPECT_EQ(stream.Memory(), nullptr);
    EXPECT_EQ(stream.Capacity(), 0);
    char buffer[4];
    EXPECT_EQ(stream.Read(buffer, 4), 0);
    // And it is usable afterwards.
    stream.SeekTo(0);
    EXPECT_EQ(stream.Write("de", 2), 2);
    EXPECT_EQ(stream.Size(), 2);

    // Loading from a source that claims more than memory holds copies nothing.
    struct Liar : TCustomMemoryStream {
        std::int32_t Write(const void*, std::int32_t) override { return 0; }
    };
    char small[16] = {};
    Liar liar;
    liar.Attach(small, 0x7FFF0000);
    TMemoryStream copy;
    copy.LoadFrom(liar);
    EXPECT_EQ(copy.Size(), 0);
    EXPECT_EQ(copy.Memory(), nullptr);
}

TEST_F(ResourceStreams, ByIdentifierAndByName)
{
    TResourceStream byId(module.get(), 1000, RT_RCDATA);
    EXPECT_EQ(byId.Length(), 10);
    EXPECT_EQ(byId.Position(), 0);
    char buffer[16] = {};
    EXPECT_EQ(byId.Read(buffer, 16), 10);
    EXPECT_EQ(std::string(buffer), "xxxxxxxxxx");

    TResourceStream byName(module.get(), "BLOB", RT_RCDATA);
    EXPECT_EQ(byName.Size(), 10);
    EXPECT_EQ(byName.Write("a", 1), -1);
    EXPECT_EQ(static_cast<const char*>(byName.Memory())[0], 'x');
}

TEST_F(ResourceStreams, MissingResourceIsEmpty)
{
    TResourceStream missing(module.get(), 4242, RT_RCDATA);
    EXPECT_EQ(missing.Length(), 0);
    EXPECT_EQ(missing.Memory(), nullptr);
    TResourceStream wrongType(module.get(), 1000, RT_BITMAP);
    EXPECT_EQ(wrongType.Length(), 0);
    TResourceStream missingName(module.get(), "NOPE", RT_RCDATA);
    EXPECT_EQ(missingName.Length(), 0);
    char buffer[4];
    EXPECT_EQ(missing.Read(buffer, 4), 0);

    TMemoryStream copy;
    copy.LoadFrom(missing);
    EXPECT_EQ(copy.Size(), 0);
    EXPECT_EQ(copy.Memory(), nullptr);
}

TEST_F(ResourceStreams, LoadFromRoundsTheCapacity)
{
    struct Case {
        int id;
        std::int32_t size;
        std::int32_t capacity;
    };
    for (const Case& c : {Case{1000, 10, 8192}, Case{1001, 8192, 8192}, Case{1002, 8193, 16384}}) {
        TResourceStream source(module.get(), c.id, RT_RCDATA);
        source.SeekTo(3);
        TMemoryStream copy;
        copy.LoadFrom(source);
        EXPECT_EQ(copy.Size(), c.size) << c.id;
        EXPECT_EQ(copy.Capacity(), c.capacity) << c.id;
        ASSERT_NE(copy.Memory(), nullptr);
        EXPECT_EQ(std::memcmp(copy.Memory(), source.Memory(), static_cast<std::size_t>(c.size)), 0);
    }
}

} // namespace
