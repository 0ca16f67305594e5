#include "package/DeflateWalk.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <vector>

namespace {

// Reads deflate bits least significant first through a 64-bit buffer that
// each refill tops up to at least 56 bits without a branch. Bits above the
// count are the stream's next bits already, so topping up again is harmless.
class BitReader {
public:
    BitReader(const unsigned char *data, size_t n) : m_data(data), m_next(data), m_bits(uint64_t(n) * 8) {}

    void refill()
    {
        uint64_t word;
        std::memcpy(&word, m_next, sizeof word);
        m_buffer |= word << m_count;
        m_next += (63 - m_count) >> 3;
        m_count |= 56;
    }
    uint64_t peek() const { return m_buffer; }
    void drop(unsigned count)
    {
        m_buffer >>= count;
        m_count -= count;
    }
    uint32_t take(unsigned count)
    {
        refill();
        const uint32_t value = uint32_t(m_buffer & ((uint64_t(1) << count) - 1));
        drop(count);
        return value;
    }
    uint64_t position() const { return uint64_t(m_next - m_data) * 8 - m_count; }
    // Moves to a byte of the data; false beyond its end.
    bool seekByte(uint64_t byte)
    {
        if (byte * 8 > m_bits)
            return false;
        m_next = m_data + byte;
        m_buffer = 0;
        m_count = 0;
        return true;
    }
    // Whether the reader went past the data; checked after every code, so
    // that no read reaches further than the slack beyond it.
    bool overrun() const { return position() > m_bits; }

private:
    const unsigned char *m_data;
    const unsigned char *m_next;
    uint64_t m_bits;
    uint64_t m_buffer = 0;
    unsigned m_count = 0;
};

constexpr int MostCodeLength = 15;
constexpr int TableBits = 11;

// What a code stands for, as far as walking goes.
enum Kind : uint32_t { Literal = 0, Length = 1, End = 2, Invalid = 3 };

constexpr uint8_t LengthExtraBits[29] = {0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 1, 1, 2, 2, 2,
                                         2, 3, 3, 3, 3, 4, 4, 4, 4, 5, 5, 5, 5, 0};
constexpr uint8_t DistanceExtraBits[30] = {0, 0, 0, 0, 1, 1, 2, 2,  3,  3,  4,  4,  5,  5,  6,
                                           6, 7, 7, 8, 8, 9, 9, 10, 10, 11, 11, 12, 12, 13, 13};

// A symbol's kind and the extra bits after its code; literal/length symbols
// when lengths is true, distance symbols otherwise.
uint32_t meaning(int symbol, bool lengths)
{
    if (!lengths)
        return symbol < 30 ? Literal | uint32_t(DistanceExtraBits[symbol]) << 8 : Invalid;
    if (symbol < 256)
        return Literal;
    if (symbol == 256)
        return End;
    return symbol < 286 ? Length | uint32_t(LengthExtraBits[symbol - 257]) << 8 : Invalid;
}

// One canonical Huffman code. Codes of up to TableBits bits are read from a
// table indexed by the next input bits, each entry the bits to drop (the
// code and the extra bits after it) | kind << 16; longer codes, marked by
// 0 bits to drop, are decoded a bit at a time from the counts and the
// sorted symbols.
class HuffmanCode {
public:
    bool build(const uint8_t *lengths, int count, bool literalLengths)
    {
        std::array<int, MostCodeLength + 1> counts{};
        for (int symbol = 0; symbol < count; ++symbol)
            ++counts[lengths[symbol]];
        counts[0] = 0;
        int left = 1;
        for (int length = 1; length <= MostCodeLength; ++length) {
            left = left * 2 - counts[length];
            if (left < 0)
                return false; // more codes than the lengths allow
        }
        m_counts = counts;
        m_literalLengths = literalLengths;
        std::array<int, MostCodeLength + 2> offsets{};
        for (int length = 1; length <= MostCodeLength; ++length)
            offsets[length + 1] = offsets[length] + counts[length];
        m_symbols.resize(size_t(offsets[MostCodeLength + 1]));
        m_table.assign(size_t(1) << TableBits, 0);
        std::array<uint32_t, MostCodeLength + 1> next{};
        uint32_t code = 0;
        for (int length = 1; length <= MostCodeLength; ++length) {
            code = (code + uint32_t(counts[length - 1])) << 1;
            next[length] = code;
        }
        for (int symbol = 0; symbol < count; ++symbol) {
            const int length = lengths[symbol];
            if (length == 0)
                continue;
            m_symbols[size_t(offsets[length]++)] = uint16_t(symbol);
            if (length > TableBits)
                continue;
            uint32_t reversed = 0;
            for (uint32_t c = next[length]++, i = 0; i < uint32_t(length); ++i, c >>= 1)
                reversed = reversed << 1 | (c & 1);
            const uint32_t means = meaning(symbol, literalLengths);
            const uint32_t entry = (uint32_t(length) + (means >> 8)) | (means & 0xff) << 16;
            for (uint32_t i = reversed; i < m_table.size(); i += uint32_t(1) << length)
                m_table[i] = entry;
        }
        if (literalLengths)
            pairLiterals();
        return true;
    }

    // Drops the next code and its extra bits; its kind, Invalid when the
    // bits are no code.
    Kind walk(BitReader &in) const
    {
        const uint32_t entry = m_table[in.peek() & ((uint32_t(1) << TableBits) - 1)];
        if (entry & 0xffff) {
            in.drop(entry & 0xffff);
            return Kind(entry >> 16);
        }
        int code = 0, first = 0, index = 0;
        for (int length = 1; length <= MostCodeLength; ++length) {
            code |= int(in.take(1));
            const int count = m_counts[length];
            if (code - first < count) {
                const uint32_t means = meaning(m_symbols[size_t(index + code - first)], m_literalLengths);
                in.take(means >> 8);
                return Kind(means & 0xff);
            }
            index += count;
            first = (first + count) << 1;
            code <<= 1;
        }
        return Invalid;
    }

private:
    // Where the table's bits hold a literal's code and then all of a second
    // literal's, the entry drops both: runs of literals take half the steps.
    void pairLiterals()
    {
        m_single = m_table;
        for (size_t i = 0; i < m_table.size(); ++i) {
            const uint32_t first = m_single[i];
            const uint32_t used = first & 0xffff;
            if (used == 0 || (first >> 16) != Literal)
                continue;
            const uint32_t second = m_single[i >> used];
            const uint32_t secondUsed = second & 0xffff;
            if (secondUsed != 0 && (second >> 16) == Literal && used + secondUsed <= TableBits)
                m_table[i] = used + secondUsed;
        }
    }

    std::vector<uint32_t> m_table;
    std::vector<uint32_t> m_single;
    std::array<int, MostCodeLength + 1> m_counts{};
    std::vector<uint16_t> m_symbols;
    bool m_literalLengths = true;
};

// Walks the codes of one block up to and past its end-of-block code. A
// refill leaves at least 56 bits: enough for a literal from the table (at
// most 11 bits) and then any symbol from the tables, a length code and a
// distance code with their extra bits (at most 40 bits).
bool walkCodes(BitReader &in, const HuffmanCode &literals, const HuffmanCode &distances)
{
    for (;;) {
        in.refill();
        const uint64_t before = in.position();
        Kind kind = literals.walk(in);
        if (kind == Literal && in.position() - before <= TableBits)
            kind = literals.walk(in);
        if (kind == Length && distances.walk(in) == Invalid)
            return false;
        if (kind == Invalid || in.overrun())
            return false;
        if (kind == End)
            return true;
    }
}

bool readDynamicCodes(BitReader &in, HuffmanCode &literals, HuffmanCode &distances)
{
    static constexpr uint8_t Order[19] = {16, 17, 18, 0, 8, 7, 9, 6, 10, 5, 11, 4, 12, 3, 13, 2, 14, 1, 15};
    const int literalCount = int(in.take(5)) + 257;
    const int distanceCount = int(in.take(5)) + 1;
    const int lengthCodes = int(in.take(4)) + 4;
    uint8_t lengthLengths[19] = {};
    for (int i = 0; i < lengthCodes; ++i)
        lengthLengths[Order[i]] = uint8_t(in.take(3));
    // The code-length code is small: decoded a bit at a time.
    std::array<int, 8> counts{};
    for (uint8_t length : lengthLengths)
        ++counts[length];
    counts[0] = 0;
    std::array<int, 9> offsets{};
    for (int length = 1; length < 8; ++length)
        offsets[length + 1] = offsets[length] + counts[length];
    std::array<uint8_t, 19> sorted{};
    for (int symbol = 0; symbol < 19; ++symbol) {
        if (lengthLengths[symbol])
            sorted[size_t(offsets[lengthLengths[symbol]]++)] = uint8_t(symbol);
    }
    const auto lengthSymbol = [&]() -> int {
        int code = 0, first = 0, index = 0;
        for (int length = 1; length < 8; ++length) {
            code |= int(in.take(1));
            if (code - first < counts[size_t(length)])
                return sorted[size_t(index + code - first)];
            index += counts[size_t(length)];
            first = (first + counts[size_t(length)]) << 1;
            code <<= 1;
        }
        return -1;
    };
    uint8_t lengths[288 + 32] = {};
    const int total = literalCount + distanceCount;
    for (int i = 0; i < total;) {
        const int symbol = lengthSymbol();
        if (symbol < 0 || in.overrun())
            return false;
        if (symbol < 16) {
            lengths[i++] = uint8_t(symbol);
            continue;
        }
        if (symbol == 16 && i == 0)
            return false;
        const uint8_t repeated = symbol == 16 ? lengths[i - 1] : 0;
        const int times = symbol == 16 ? 3 + int(in.take(2)) : symbol == 17 ? 3 + int(in.take(3)) : 11 + int(in.take(7));
        if (i + times > total)
            return false;
        std::fill(lengths + i, lengths + i + times, repeated);
        i += times;
    }
    return lengths[256] != 0 && literals.build(lengths, literalCount, true)
        && distances.build(lengths + literalCount, distanceCount, false);
}

const HuffmanCode &fixedCode(bool literalLengths)
{
    static const auto codes = [] {
        std::array<HuffmanCode, 2> built;
        uint8_t lengths[288];
        std::fill(lengths, lengths + 144, 8);
        std::fill(lengths + 144, lengths + 256, 9);
        std::fill(lengths + 256, lengths + 280, 7);
        std::fill(lengths + 280, lengths + 288, 8);
        built[0].build(lengths, 288, true);
        std::fill(lengths, lengths + 30, 5);
        built[1].build(lengths, 30, false);
        return built;
    }();
    return codes[literalLengths ? 0 : 1];
}

} // namespace

bool walkToLastDeflateBlock(const unsigned char *data, size_t n, uint64_t &header, uint64_t &end)
{
    BitReader in(data, n);
    HuffmanCode literals, distances;
    for (;;) {
        const uint64_t start = in.position();
        const bool final = in.take(1) != 0;
        bool walked = false;
        switch (in.take(2)) {
        case 0: {
            in.drop(unsigned(start + 3) % 8 ? 8 - unsigned(start + 3) % 8 : 0);
            const uint32_t length = in.take(16);
            walked = length == (~in.take(16) & 0xffff) && in.seekByte(in.position() / 8 + length);
            break;
        }
        case 1:
            walked = walkCodes(in, fixedCode(true), fixedCode(false));
            break;
        case 2:
            walked = readDynamicCodes(in, literals, distances) && walkCodes(in, literals, distances);
            break;
        default:
            break;
        }
        if (!walked || in.overrun())
            return false;
        if (final) {
            header = start;
            end = in.position();
            return true;
        }
    }
}

DeflateBlockInflater::DeflateBlockInflater()
{
    m_ready = inflateInit2(&m_stream, -MAX_WBITS) == Z_OK;
}

DeflateBlockInflater::~DeflateBlockInflater()
{
    if (m_ready)
        inflateEnd(&m_stream);
}

bool DeflateBlockInflater::findLastBlock(const unsigned char *data, size_t n, uint64_t &header, uint64_t &end)
{
    // inflate with Z_BLOCK stops after every block; data_type then holds the
    // unused bits of the last byte read, 64 once the final block was met
    // and 128 at a block boundary. The expanded bytes are thrown away.
    m_scratch.resize(64 * 1024);
    inflateReset(&m_stream);
    m_stream.next_in = const_cast<unsigned char *>(data);
    m_stream.avail_in = uInt(n);
    header = 0;
    for (;;) {
        m_stream.next_out = m_scratch.data();
        m_stream.avail_out = uInt(m_scratch.size());
        const int status = inflate(&m_stream, Z_BLOCK);
        if (status != Z_OK && status != Z_BUF_ERROR)
            return false;
        if (m_stream.data_type & 128) {
            const uint64_t position = uint64_t(m_stream.total_in) * 8 - uint64_t(m_stream.data_type & 7);
            if (m_stream.data_type & 64) {
                end = position;
                return true;
            }
            header = position;
        } else if (m_stream.avail_out != 0) {
            return false; // the data ended inside a block
        }
    }
}
