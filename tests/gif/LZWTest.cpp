// The LZW dictionary, the bit packer, the sub-block writer and the encoder,
// each on its own, then together on long streams.
#include <gtest/gtest.h>

#include <random>
#include <set>

#include "gif/BitPacker.h"
#include "gif/GIFException.h"
#include "gif/GIFWriter.h"
#include "gif/HashTable.h"
#include "gif/LZWEncoder.h"
#include "GifTestSupport.h"

using gif::THashTable;
using Bytes = std::vector<std::uint8_t>;

TEST(HashTable, FindsWhatWasStoredAndNothingElse)
{
    THashTable table;
    std::mt19937 random(7);
    std::vector<std::pair<std::uint32_t, int>> stored;
    std::set<std::uint32_t> keys;
    // A full table: codes 258 to 4094, keys anywhere in 20 bits.
    for (int code = 258; code <= 4094; ++code) {
        std::uint32_t key;
        do key = random() % (4095u * 256u); while (!keys.insert(key).second);
        table.Insert(key, code);
        stored.push_back({key, code});
    }
    for (const auto& [key, code] : stored) ASSERT_EQ(table.Lookup(key), code);
    int absent = 0;
    for (std::uint32_t key = 0; key < 4095u * 256u && absent < 20000; key += 37)
        if (!keys.count(key)) {
            ASSERT_EQ(table.Lookup(key), THashTable::kNotFound);
            ++absent;
        }
    table.Clear();
    for (const auto& [key, code] : stored) ASSERT_EQ(table.Lookup(key), THashTable::kNotFound);
}

TEST(HashTable, CollidingKeysChainThroughDoubledSlots)
{
    // Keys with one home slot: each lands on the next free slot of the chain.
    std::vector<std::uint32_t> same;
    const int home = THashTable::HomeSlot(12345);
    for (std::uint32_t key = 0; same.size() < 6 && key < (1u << 20); ++key)
        if (THashTable::HomeSlot(key) == home) same.push_back(key);
    ASSERT_EQ(same.size(), 6u);
    THashTable table;
    for (int i = 0; i < 5; ++i) table.Insert(same[i], 300 + i);
    // A miss reports the empty slot that ends the chain; storing there is an insert.
    int emptySlot = -1;
    EXPECT_EQ(table.Find(same[5], emptySlot), THashTable::kNotFound);
    int expected = home;
    for (int i = 0; i < 5; ++i) expected = THashTable::NextSlot(expected);
    EXPECT_EQ(emptySlot, expected);
    table.StoreAt(emptySlot, same[5], 305);
    for (int i = 0; i < 6; ++i) EXPECT_EQ(table.Lookup(same[i]), 300 + i);

    EXPECT_EQ(THashTable::HomeSlot(0x12345), ((0x12345 >> 4) ^ 0x12345) % 8009);
    EXPECT_EQ(THashTable::NextSlot(0), 8008);
    EXPECT_EQ(THashTable::NextSlot(1), 2);
    EXPECT_EQ(THashTable::NextSlot(5000), 2 * 5000 - 8009);
    // From any slot but 0 the chain visits 4004 slots before repeating, more
    // than the 3837 codes a table holds.
    std::set<int> seen;
    for (int slot = 1; seen.insert(slot).second;) slot = THashTable::NextSlot(slot);
    EXPECT_EQ(seen.size(), 4004u);
}

namespace {

Bytes WriteBlocks(int count)
{
    Bytes out;
    gif::MemorySink sink(out);
    gif::TGIFWriter writer(sink);
    for (int i = 0; i < count; ++i) writer.WriteByte(static_cast<std::uint8_t>(i));
    writer.Close();
    return out;
}

}  // namespace

TEST(SubBlocks, FullBlocksOf255AndAShorterLastOne)
{
    EXPECT_TRUE(WriteBlocks(0).empty());
    EXPECT_EQ(WriteBlocks(1), (Bytes{1, 0}));

    const Bytes one = WriteBlocks(255);
    ASSERT_EQ(one.size(), 256u);
    EXPECT_EQ(one[0], 255);
    EXPECT_EQ(one[255], 254);

    // Exactly two blocks: no empty third block, which would read as the end.
    const Bytes two = WriteBlocks(510);
    ASSERT_EQ(two.size(), 512u);
    EXPECT_EQ(two[0], 255);
    EXPECT_EQ(two[256], 255);
    EXPECT_EQ(two[257], 255);  // byte 255 of the stream opens block two

    const Bytes three = WriteBlocks(511);
    ASSERT_EQ(three.size(), 514u);
    EXPECT_EQ(three[512], 1);
    EXPECT_EQ(three[513], static_cast<std::uint8_t>(510));
}

TEST(BitPacker, PacksLeastSignificantBitFirst)
{
    Bytes out;
    gif::MemorySink sink(out);
    gif::TGIFWriter blocks(sink);
    gif::BitPacker packer(blocks);
    packer.Put(0x1, 1);
    packer.Put(0x5, 3);   // 101
    packer.Put(0xABC, 12);
    EXPECT_EQ(packer.PendingBits(), 0);
    packer.Put(0x3, 2);
    packer.Flush();
    blocks.Close();
    // bits: 1 | 101<<1 | 0xABC<<4 -> 0xABCB, then 11 in a last byte.
    EXPECT_EQ(out, (Bytes{3, 0xCB, 0xAB, 0x03}));
}

namespace {

Bytes Encode(const Bytes& pixels, int width, int height, int bits = 8, int colors = 256)
{
    Bytes out;
    gif::MemorySink sink(out);
    gif::TLZWEncoder encoder(sink);
    encoder.Encode(pixels.data(), width, height, false, bits, colors);
    return out;
}

}  // namespace

TEST(LZWEncoder, KnownStreams)
{
    EXPECT_EQ(Encode({0}, 1, 1), (Bytes{0x08, 0x04, 0x00, 0x01, 0x04, 0x04, 0x00}));
    EXPECT_EQ(Encode({5, 5, 5, 5}, 4, 1), (Bytes{0x08, 0x06, 0x00, 0x0B, 0x08, 0x2C, 0x10, 0x10, 0x00}));
    EXPECT_EQ(Encode({180, 11, 86, 0}, 4, 1),
              (Bytes{0x08, 0x07, 0x00, 0x69, 0x2D, 0xB0, 0x02, 0x20, 0x20, 0x00}));
    // No pixels: only the clear-less end code.
    EXPECT_EQ(Encode({}, 0, 0), (Bytes{0x08, 0x02, 0x01, 0x01, 0x00}));
    // Small tables keep a code size of at least 2.
    const Bytes small = Encode({1, 0, 1, 1}, 2, 2, 1, 2);
    EXPECT_EQ(small[0], 2);
    const auto decoded = giftest::DecodeCodes(giftest::Unblock(small), 2);
    EXPECT_EQ(decoded.pixels, (Bytes{1, 0, 1, 1}));
}

TEST(LZWEncoder, RefusesIndicesOutsideTheTable)
{
    EXPECT_THROW(Encode({4, 0}, 2, 1, 2, 4), gif::GIFException);
    EXPECT_THROW(Encode({0, 1, 2, 3, 216}, 5, 1, 8, 216), gif::GIFException);
    try {
        Encode({0, 9}, 2, 1, 3, 8);
        FAIL();
    } catch (const gif::GIFException& e) {
        EXPECT_STREQ(e.what(), "Color not in color table");
    }
    EXPECT_NO_THROW(Encode({0, 1, 2, 215}, 4, 1, 8, 216));
}

TEST(LZWEncoder, CodeWidthsAndClearsOnALongRandomPicture)
{
    std::mt19937 random(42);
    Bytes pixels(300 * 100);
    for (auto& p : pixels) p = static_cast<std::uint8_t>(random() % 216);
    const Bytes data = Encode(pixels, 300, 100);
    std::vector<int> blockSizes;
    const Bytes stream = giftest::Unblock(data, &blockSizes);
    const giftest::DecodedStream decoded = giftest::DecodeCodes(stream, 8);

    ASSERT_TRUE(decoded.ended);
    EXPECT_EQ(decoded.trailingBytes, 0u);
    EXPECT_EQ(decoded.pixels, pixels);
    for (std::size_t i = 0; i + 1 < blockSizes.size(); ++i) ASSERT_EQ(blockSizes[i], 255);

    std::vector<std::size_t> clears;
    for (std::size_t i = 0; i < decoded.codes.size(); ++i)
        if (decoded.codes[i].value == 256) clears.push_back(i);
    ASSERT_GE(clears.size(), 3u);
    EXPECT_EQ(clears[0], 0u);
    EXPECT_EQ(decoded.codes[0].width, 9);
    for (std::size_t c = 1; c < clears.size(); ++c) {
        // 3838 data codes, then the clear, at 12 bits; the next code at 9.
        EXPECT_EQ(clears[c] - clears[c - 1] - 1, 3838u);
        EXPECT_EQ(decoded.codes[clears[c]].width, 12);
        EXPECT_EQ(decoded.codes[clears[c] + 1].width, 9);
    }
    for (std::size_t c = 0; c < clears.size(); ++c) {
        const std::size_t first = clears[c] + 1;
        // Data codes 1..255 after a clear are 9 bits, the 256th is 10 bits,
        // the 768th is 11 bits (next free code 1024), the 1792nd is 12 bits.
        EXPECT_EQ(decoded.codes[first + 254].width, 9);
        EXPECT_EQ(decoded.codes[first + 255].width, 10);
        EXPECT_EQ(decoded.codes[first + 766].width, 10);
        EXPECT_EQ(decoded.codes[first + 767].width, 11);
        EXPECT_EQ(decoded.codes[first + 1790].width, 11);
        EXPECT_EQ(decoded.codes[first + 1791].width, 12);
        const std::size_t last = c + 1 < clears.size() ? clears[c + 1] : decoded.codes.size() - 1;
        for (std::size_t i = first + 1791; i < last; ++i) ASSERT_EQ(decoded.codes[i].width, 12);
        for (std::size_t i = first; i < last; ++i) ASSERT_LT(decoded.codes[i].value, 4095);
    }
}

TEST(LZWEncoder, UniformPictureReachesLongCodesWithoutLoss)
{
    // Long runs grow strings code by code: exercises the found branch.
    Bytes pixels(2000 * 1000, 43);
    for (std::size_t i = 0; i < pixels.size(); i += 9973) pixels[i] = 7;
    const Bytes stream = giftest::Unblock(Encode(pixels, 2000, 1000));
    const auto decoded = giftest::DecodeCodes(stream, 8);
    EXPECT_TRUE(decoded.ended);
    EXPECT_EQ(decoded.pixels, pixels);
}

namespace {

Bytes EncodeChoosing(const Bytes& wanted, const Bytes& other, int bits)
{
    Bytes out;
    gif::MemorySink sink(out);
    gif::TLZWEncoder(sink).EncodeChoosing(wanted.data(), other.data(), static_cast<int>(wanted.size()), 1,
                                          bits, 1 << bits);
    return out;
}

}  // namespace

TEST(LZWEncoder, ChoosingCoderWritesOneOfTheTwoIndicesAndGainsByIt)
{
    // A screen-like stream: bands of a face colour that may as well be
    // written see-through (the two in random order), spots that must be as
    // they are, and rows of noise that fill the table again and again.
    std::mt19937 random(11);
    for (int bits : {2, 5, 8}) {
        const int colors = 1 << bits, see = colors - 1;
        Bytes wanted(400 * 300), other(wanted.size());
        for (std::size_t i = 0; i < wanted.size(); ++i) {
            const std::size_t row = i / 400;
            if (row % 50 < 8 || random() % 40 == 0) {
                wanted[i] = other[i] = static_cast<std::uint8_t>(random() % colors);
                continue;
            }
            const auto face = static_cast<std::uint8_t>(row / 50 % see);
            const bool flip = random() % 2;
            wanted[i] = flip ? face : static_cast<std::uint8_t>(see);
            other[i] = flip ? static_cast<std::uint8_t>(see) : face;
        }
        const Bytes data = EncodeChoosing(wanted, other, bits);
        const auto decoded = giftest::DecodeCodes(giftest::Unblock(data), std::max(bits, 2));
        ASSERT_TRUE(decoded.ended) << bits;
        ASSERT_EQ(decoded.pixels.size(), wanted.size()) << bits;
        for (std::size_t i = 0; i < wanted.size(); ++i)
            ASSERT_TRUE(decoded.pixels[i] == wanted[i] || decoded.pixels[i] == other[i]) << bits << " " << i;
        EXPECT_LT(data.size() * 4, Encode(wanted, 400, 300, bits, colors).size() * 3) << bits;

        // Without a choice (and short of a full table) the plain coder's bytes.
        const Bytes head(wanted.begin(), wanted.begin() + 2000);
        EXPECT_EQ(EncodeChoosing(head, head, bits), Encode(head, 2000, 1, bits, colors)) << bits;
    }
}
