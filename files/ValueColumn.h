#pragma once
// The values of one data column, compact and exact. Rows come in blocks of kBlockRows. Field
// texts are decimals with a fixed number of fraction digits, so a block whose values are all
// m / 10^F for integers m (F being the most fraction digits any of them has) keeps only m minus
// the block's smallest m, in 2 or 4 bytes a row (nothing when all are equal). Reading divides
// (base + offset) by 10^F, which gives the very double fieldValue() gives for the text. A "-0"
// among them is kept as 0 with a bit saying so. Any other block keeps its doubles as they are.

#include <cstddef>
#include <cstdint>
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

    // Room for about this many rows at 2 bytes each (room never used costs no memory).
    void reserve(std::size_t rows);
    // Appends a block of at most kBlockRows entries, each stride entries after the one before;
    // only the last block may be shorter. May throw std::bad_alloc.
    void appendBlock(const Entry* entries, std::size_t count, std::size_t stride = 1);

    std::size_t size() const { return rows_; }
    double value(std::size_t row) const;
    // The values of rows [first, first + count) into out.
    void values(std::size_t first, std::size_t count, double* out) const;

    std::size_t memoryBytes() const;

private:
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
