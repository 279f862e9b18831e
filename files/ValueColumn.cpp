#include "files/ValueColumn.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <limits>
#include <stdexcept>

#include "core/HugePages.h"
#include "files/DataText.h"

namespace {

constexpr double kPowersOfTen[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                   1e8,  1e9,  1e10, 1e11, 1e12, 1e13, 1e14, 1e15};
// Integers below 2^53 convert to double exactly, so (base + offset) / 10^F is one correctly
// rounded division of exact operands: the same double as mantissa / 10^digits for any text
// written with fewer digits, since both divide the same rational number.
constexpr std::int64_t kExactLimit = std::int64_t{1} << 53;

bool sameDouble(double a, double b) { return std::bit_cast<std::uint64_t>(a) == std::bit_cast<std::uint64_t>(b); }

// The entry as an integer at scale F, when it is exactly one.
bool scaled(const CValueColumn::Entry& entry, int scale, std::int64_t& out)
{
    if (entry.fractionDigits >= 0) {
        std::int64_t m = entry.mantissa;
        for (int d = entry.fractionDigits; d < scale; ++d) {
            if (m >= kExactLimit / 10 || m <= -kExactLimit / 10)
                return false;
            m *= 10;
        }
        out = m;
        return true;
    }
    const double product = entry.value * kPowersOfTen[scale];
    if (!(std::fabs(product) < static_cast<double>(kExactLimit)))
        return false;
    const auto m = static_cast<std::int64_t>(std::nearbyint(product));
    if (!sameDouble(static_cast<double>(m) / kPowersOfTen[scale], entry.value))
        return false; // not a decimal of F digits, or -0
    out = m;
    return true;
}

} // namespace

void CValueColumn::reserve(std::size_t rows)
{
    reserveLarge(narrow_, rows);
    blocks_.reserve(rows / kBlockRows + 1);
}

void CValueColumn::appendBlock(const Entry* entries, std::size_t count)
{
    if (count == 0)
        return;
    if (rows_ + count > std::numeric_limits<std::uint32_t>::max())
        throw std::length_error("value column");
    // The common case first: decimals that all have the same number of fraction digits are
    // their own integers at that scale.
    int scale = entries[0].fractionDigits;
    std::int64_t low = entries[0].mantissa, high = low;
    bool uniform = scale >= 0;
    for (std::size_t i = 1; i < count && uniform; ++i) {
        uniform = entries[i].fractionDigits == scale;
        low = std::min(low, entries[i].mantissa);
        high = std::max(high, entries[i].mantissa);
    }
    bool exact = true;
    // "-0" (a sign before zeros) reads as -0.0, which no integer divides to: 0 and a bit.
    auto negativeZero = [](const Entry& e) {
        return e.fractionDigits < 0 && e.value == 0 && std::signbit(e.value);
    };
    std::uint64_t zeroBits[kBlockRows / 64] = {};
    bool anyZero = false;
    if (!uniform) {
        scale = 0;
        for (std::size_t i = 0; i < count; ++i)
            scale = std::max(scale, entries[i].fractionDigits);
        low = std::numeric_limits<std::int64_t>::max();
        high = std::numeric_limits<std::int64_t>::min();
        for (std::size_t i = 0; i < count && exact; ++i) {
            std::int64_t m = 0;
            if (negativeZero(entries[i])) {
                zeroBits[i / 64] |= std::uint64_t{1} << (i % 64);
                anyZero = true;
            } else {
                exact = scaled(entries[i], scale, m);
            }
            low = std::min(low, m);
            high = std::max(high, m);
        }
    }
    auto integer = [&](const Entry& entry) {
        std::int64_t m = entry.mantissa;
        if (!uniform && !negativeZero(entry) && !scaled(entry, scale, m))
            m = 0;
        return m;
    };
    Block block;
    block.scale = static_cast<std::uint8_t>(scale);
    block.base = low;
    const auto span = static_cast<std::uint64_t>(high - low);
    if (!exact || span > std::numeric_limits<std::uint32_t>::max()) {
        block.kind = Kind::Doubles;
        block.data = static_cast<std::uint32_t>(doubles_.size());
        for (std::size_t i = 0; i < count; ++i) {
            const Entry& e = entries[i];
            if (e.fractionDigits < 0) {
                doubles_.push_back(e.value);
                continue;
            }
            const std::int64_t magnitude = e.mantissa < 0 ? -e.mantissa : e.mantissa;
            doubles_.push_back(plainDecimalValue({e.mantissa < 0,
                                                  static_cast<unsigned long long>(magnitude),
                                                  e.fractionDigits}));
        }
    } else {
        if (anyZero) {
            block.zeros = static_cast<std::uint32_t>(negativeZeros_.size());
            negativeZeros_.insert(negativeZeros_.end(), std::begin(zeroBits), std::end(zeroBits));
        }
        if (span == 0) {
            block.kind = Kind::Constant;
        } else if (span <= std::numeric_limits<std::uint16_t>::max()) {
            block.kind = Kind::Narrow;
            block.data = static_cast<std::uint32_t>(narrow_.size());
            const std::size_t at = narrow_.size();
            narrow_.resize(at + count);
            for (std::size_t i = 0; i < count; ++i)
                narrow_[at + i] = static_cast<std::uint16_t>(integer(entries[i]) - low);
        } else {
            block.kind = Kind::Wide;
            block.data = static_cast<std::uint32_t>(wide_.size());
            for (std::size_t i = 0; i < count; ++i)
                wide_.push_back(static_cast<std::uint32_t>(integer(entries[i]) - low));
        }
    }
    blocks_.push_back(block);
    rows_ += count;
}

double CValueColumn::decode(const Block& block, std::size_t offset) const
{
    std::int64_t m = block.base;
    switch (block.kind) {
    case Kind::Constant:
        break;
    case Kind::Narrow:
        m += narrow_[block.data + offset];
        break;
    case Kind::Wide:
        m += wide_[block.data + offset];
        break;
    case Kind::Doubles:
        return doubles_[block.data + offset];
    }
    if (block.zeros != kNoZeros &&
        (negativeZeros_[block.zeros + offset / 64] >> (offset % 64) & 1) != 0)
        return -0.0;
    return static_cast<double>(m) / kPowersOfTen[block.scale];
}

double CValueColumn::value(std::size_t row) const
{
    if (row >= rows_)
        return 0;
    return decode(blocks_[row / kBlockRows], row % kBlockRows);
}

void CValueColumn::values(std::size_t first, std::size_t count, double* out) const
{
    count = first >= rows_ ? 0 : std::min(count, rows_ - first);
    while (count > 0) {
        const Block& block = blocks_[first / kBlockRows];
        const std::size_t offset = first % kBlockRows;
        const std::size_t n = std::min(count, kBlockRows - offset);
        const double divisor = kPowersOfTen[block.scale];
        switch (block.kind) {
        case Kind::Constant:
            std::fill(out, out + n, static_cast<double>(block.base) / divisor);
            break;
        case Kind::Narrow: {
            const std::uint16_t* data = narrow_.data() + block.data + offset;
            for (std::size_t i = 0; i < n; ++i)
                out[i] = static_cast<double>(block.base + data[i]) / divisor;
            break;
        }
        case Kind::Wide: {
            const std::uint32_t* data = wide_.data() + block.data + offset;
            for (std::size_t i = 0; i < n; ++i)
                out[i] = static_cast<double>(block.base + data[i]) / divisor;
            break;
        }
        case Kind::Doubles:
            std::copy_n(doubles_.data() + block.data + offset, n, out);
            break;
        }
        if (block.zeros != kNoZeros)
            for (std::size_t i = 0; i < n; ++i)
                if ((negativeZeros_[block.zeros + (offset + i) / 64] >> ((offset + i) % 64) & 1) != 0)
                    out[i] = -0.0;
        out += n;
        first += n;
        count -= n;
    }
}

void CValueColumn::Extremes::merge(const Extremes& later)
{
    if (later.low < low) {
        low = later.low;
        lowRow = later.lowRow;
    }
    if (later.high > high) {
        high = later.high;
        highRow = later.highRow;
    }
}

namespace {

// The offsets' extremes and where they first stand.
template <class Offset>
void offsetExtremes(const Offset* data, std::size_t count, std::size_t& lowAt,
                    std::size_t& highAt)
{
    Offset low = data[0], high = data[0];
    lowAt = highAt = 0;
    for (std::size_t i = 1; i < count; ++i) {
        if (data[i] < low) {
            low = data[i];
            lowAt = i;
        }
        if (data[i] > high) {
            high = data[i];
            highAt = i;
        }
    }
}

// Below this, distinct integers divided by the same power of ten give distinct doubles, so
// the integers' order and ties are the values'.
constexpr std::int64_t kOrderKeeping = std::int64_t{1} << 51;

} // namespace

CValueColumn::Extremes CValueColumn::extremes(std::size_t first, std::size_t count) const
{
    Extremes result;
    bool any = false;
    count = first >= rows_ ? 0 : std::min(count, rows_ - first);
    while (count > 0) {
        const Block& block = blocks_[first / kBlockRows];
        const std::size_t offset = first % kBlockRows;
        const std::size_t n = std::min(count, kBlockRows - offset);
        std::size_t lowAt = 0, highAt = 0;
        const bool ordered = block.zeros == kNoZeros && block.base < kOrderKeeping &&
                             block.base > -kOrderKeeping;
        if (ordered && block.kind == Kind::Narrow) {
            offsetExtremes(narrow_.data() + block.data + offset, n, lowAt, highAt);
        } else if (ordered && block.kind == Kind::Wide) {
            offsetExtremes(wide_.data() + block.data + offset, n, lowAt, highAt);
        } else if (block.kind != Kind::Constant || !ordered) {
            // Doubles, or -0 among the rows: the values themselves.
            double low = decode(block, offset), high = low;
            for (std::size_t i = 1; i < n; ++i) {
                const double v = decode(block, offset + i);
                if (v < low) {
                    low = v;
                    lowAt = i;
                }
                if (v > high) {
                    high = v;
                    highAt = i;
                }
            }
        }
        const Extremes piece{decode(block, offset + lowAt), decode(block, offset + highAt),
                             first + lowAt, first + highAt};
        if (any) {
            result.merge(piece);
        } else {
            result = piece;
            any = true;
        }
        first += n;
        count -= n;
    }
    return result;
}

void CValueColumn::releaseUnused() const { ::releaseUnused(narrow_); }

std::size_t CValueColumn::memoryBytes() const
{
    return blocks_.capacity() * sizeof(Block) + narrow_.capacity() * sizeof(std::uint16_t) +
           wide_.capacity() * sizeof(std::uint32_t) + doubles_.capacity() * sizeof(double) +
           negativeZeros_.capacity() * sizeof(std::uint64_t);
}
