#pragma once
// The values of one data column, compact and exact. Rows come in blocks of kBlockRows. Field
// texts are decimals with a fixed number of fraction digits, so a block whose values are all
// m / 10^F for integers m (F being the most fraction digits any of them has) keeps only m minus
// the block's smallest m, in 2 or 4 bytes a row (nothing when all are equal). Reading divides
// (base + offset) by 10^F, which gives the very double fieldValue() gives for the text. A "-0"
// among them is kept as 0 with a bit saying so. Any other block keeps its doubles as they are.

#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string_view>
#include <vector>

#include "files/DataText.h"

class CValueColumn {
public:
    static constexpr std::size_t kBlockRows = 512;

    // One field as the column is handed it: a decimal (signed mantissa, fraction digits) when
    // fractionDigits >= 0, otherwise the value itself.
    struct Entry {
        union {
            std::int64_t mantissa = 0;
            double value; // when fractionDigits < 0
        };
        int fractionDigits = -1;
    };
    // The field's entry: the decimal when its text is one written with blanks around it
    // ("  -12.50 "), otherwise fieldValue() of it. Inline: it runs for every field of a file.
    static inline Entry entryOf(std::string_view field);

    // Room for about this many rows at 2 bytes each (room never used costs no memory; see
    // core/HugePages.h), and giving back what was not used once the column is complete.
    void reserve(std::size_t rows);
    void releaseUnused() const;
    // Appends a block of at most kBlockRows entries; only the last block may be shorter. May
    // throw std::bad_alloc.
    void appendBlock(const Entry* entries, std::size_t count);

    std::size_t size() const { return rows_; }
    double value(std::size_t row) const;
    // The values of rows [first, first + count) into out.
    void values(std::size_t first, std::size_t count, double* out) const;

    // The lowest and highest values of some rows, each with the first row that has it (-0 and
    // 0 count as equal), as a scan of their values finds them.
    struct Extremes {
        double low = 0, high = 0;
        std::size_t lowRow = 0, highRow = 0;
        // Takes in the extremes of later rows.
        void merge(const Extremes& later);
    };
    // Of rows [first, first + count), count > 0, within size(). Found on the blocks' integers
    // where the values keep their order there, without a division per row.
    Extremes extremes(std::size_t first, std::size_t count) const;

    std::size_t memoryBytes() const;

private:
    // The entry of a field of exactly 8 characters that is blanks, an optional sign, then
    // digits with at most one point up to its end (how the instrument writes its numbers),
    // read 8 bytes at once; false for anything else, which entryOf() reads the long way.
    [[gnu::always_inline]] static inline bool eightCharDecimal(const char* text, Entry& entry);

    enum class Kind : std::uint8_t { Constant, Narrow, Wide, Doubles };
    static constexpr std::uint32_t kNoZeros = 0xFFFFFFFF;
    struct Block {
        std::int64_t base = 0;
        std::uint32_t data = 0;             // first row of the block in its kind's array
        std::uint32_t zeros = kNoZeros;     // its bits of -0 rows in negativeZeros_, if any
        Kind kind = Kind::Constant;
        std::uint8_t scale = 0; // F
    };
    double decode(const Block& block, std::size_t offset) const;

    std::size_t rows_ = 0;
    std::vector<Block> blocks_;
    std::vector<std::uint16_t> narrow_;
    std::vector<std::uint32_t> wide_;
    std::vector<double> doubles_;
    std::vector<std::uint64_t> negativeZeros_; // kBlockRows bits per block that has any
};

inline CValueColumn::Entry CValueColumn::entryOf(std::string_view field)
{
    // Blanks, an optional sign, digits with at most one point, blanks: nothing else. Such a text
    // holds no marker and reads as parsePlainDecimal() reads it.
    Entry entry;
    if (field.size() == 8 && eightCharDecimal(field.data(), entry))
        return entry;
    const char* p = field.data();
    const char* const end = p + field.size();
    while (p < end && *p == ' ')
        ++p;
    bool negative = false;
    if (p < end && (*p == '-' || *p == '+'))
        negative = *p++ == '-';
    std::uint64_t mantissa = 0;
    const char* digits = p;
    while (p < end && (*p >= '0' && *p <= '9'))
        mantissa = mantissa * 10 + static_cast<unsigned>(*p++ - '0');
    auto count = p - digits;
    long fraction = 0;
    if (p < end && *p == '.') {
        const char* first = ++p;
        while (p < end && (*p >= '0' && *p <= '9'))
            mantissa = mantissa * 10 + static_cast<unsigned>(*p++ - '0');
        fraction = p - first;
        count += fraction;
    }
    while (p < end && *p == ' ')
        ++p;
    if (p == end && count > 0 && count <= 15 && !(negative && mantissa == 0)) {
        const auto m = static_cast<std::int64_t>(mantissa);
        entry.mantissa = negative ? -m : m;
        entry.fractionDigits = static_cast<int>(fraction);
    } else {
        entry.value = fieldValue(field); // markers, blanks, exponents, -0: as fieldValue says
        entry.fractionDigits = -1;
    }
    return entry;
}

[[gnu::always_inline]] inline bool CValueColumn::eightCharDecimal(const char* text, Entry& entry)
{
    // Byte i of the word is character i (the first is the least significant byte).
    static_assert(std::endian::native == std::endian::little);
    constexpr std::uint64_t kOnes = 0x0101010101010101, kHigh = 0x8080808080808080;
    constexpr std::uint64_t kLow7 = 0x7F7F7F7F7F7F7F7F;
    std::uint64_t word;
    std::memcpy(&word, text, 8);
    // The high bit of each byte that equals c.
    auto equal = [word](char c) {
        const std::uint64_t x = word ^ (kOnes * static_cast<unsigned char>(c));
        return ~(((x & kLow7) + kLow7) | x) & kHigh;
    };
    const std::uint64_t digitless = word ^ (kOnes * '0');
    // The high bit of each byte that is no digit (added without carries between the bytes).
    const std::uint64_t notDigit = (((digitless & kLow7) + kOnes * 0x76) | digitless) & kHigh;
    const std::uint64_t blanks = equal(' ');
    const int start = std::countr_zero(~blanks & kHigh) / 8; // first character that is no blank
    if (start >= 8)
        return false;
    const auto lead = static_cast<char>(word >> (8 * start));
    const bool negative = lead == '-';
    const int body = lead == '-' || lead == '+' ? start + 1 : start;
    if (body >= 8)
        return false;
    const std::uint64_t bodyBytes = ~std::uint64_t{0} << (8 * body);
    const std::uint64_t points = equal('.') & bodyBytes;
    // Every byte of the body a digit but for at most one point, and at least one digit.
    if ((notDigit & bodyBytes) != points || (points & (points - 1)) != 0 ||
        (body == 7 && points != 0))
        return false;
    // Blanks and sign read as leading zeros; the point is taken out by moving what stands
    // before it one place on, a zero coming in first.
    std::uint64_t digits = (word & bodyBytes) | (kOnes * '0' & ~bodyBytes);
    int fraction = 0;
    if (points != 0) {
        const int point = std::countr_zero(points) / 8;
        const std::uint64_t before = (std::uint64_t{1} << (8 * point)) - 1;
        digits = ((digits & before) << 8) |
                 (digits & ~before & ~(std::uint64_t{0xFF} << (8 * point))) | '0';
        fraction = 7 - point;
    }
    // Eight decimal digits to their value: pairs, then fours, then all eight.
    digits -= kOnes * '0';
    digits = digits * 10 + (digits >> 8);
    digits = (((digits & 0x000000FF000000FF) * (100 + (1000000ULL << 32))) +
              (((digits >> 16) & 0x000000FF000000FF) * (1 + (10000ULL << 32)))) >>
             32;
    const auto mantissa = static_cast<std::int64_t>(digits & 0xFFFFFFFF);
    if (negative && mantissa == 0)
        return false; // "-0": as fieldValue reads it
    entry.mantissa = negative ? -mantissa : mantissa;
    entry.fractionDigits = fraction;
    return true;
}
