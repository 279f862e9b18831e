#pragma once
// The values of one data column, compact and exact. Rows come in blocks of kBlockRows. Field
// texts are decimals with a fixed number of fraction digits, so a block whose values are all
// m / 10^F for integers m (F being the most fraction digits any of them has) keeps only m minus
// the block's smallest m, in 2 or 4 bytes a row (nothing when all are equal). Reading divides
// (base + offset) by 10^F, which gives the very double fieldValue() gives for the text. Any
// other block keeps its doubles as they are.

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

class CValueColumn {
public:
    static constexpr std::size_t kBlockRows = 512;

    // One field as the column is handed it: a decimal (signed mantissa, fraction digits) when
    // fractionDigits >= 0, otherwise the value itself.
    struct Entry {
        std::int64_t mantissa = 0;
        int fractionDigits = -1;
        double value = 0;
    };
    // The field's entry: the decimal when its text is one written with blanks around it
    // ("  -12.50 "), otherwise fieldValue() of it.
    static Entry entryOf(std::string_view field);

    // Appends a block of at most kBlockRows entries; only the last block may be shorter.
    // May throw std::bad_alloc.
    void appendBlock(const Entry* entries, std::size_t count);

    std::size_t size() const { return rows_; }
    double value(std::size_t row) const;
    // The values of rows [first, first + count) into out.
    void values(std::size_t first, std::size_t count, double* out) const;

    std::size_t memoryBytes() const;

private:
    enum class Kind : std::uint8_t { Constant, Narrow, Wide, Doubles };
    struct Block {
        std::int64_t base = 0;
        std::uint32_t data = 0; // first row of the block in its kind's array
        Kind kind = Kind::Constant;
        std::uint8_t scale = 0; // F
    };
    double decode(const Block& block, std::size_t offset) const;

    std::size_t rows_ = 0;
    std::vector<Block> blocks_;
    std::vector<std::uint16_t> narrow_;
    std::vector<std::uint32_t> wide_;
    std::vector<double> doubles_;
};
