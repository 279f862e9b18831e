#include "files/ValueColumn.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <limits>
#include <stdexcept>

#include "files/DataText.h"

namespace {

constexpr double kPowersOfTen[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                   1e8,  1e9,  1e10, 1e11, 1e12, 1e13, 1e14, 1e15};
constexpr int kMaxScale = 15;
// Integers below 2^53 convert to double exactly, so (base + offset) / 10^F is one correctly
// rounded division of exact operands: the same double as mantissa / 10^digits for any text
// written with fewer digits, since both divide the same rational number.
constexpr std::int64_t kExactLimit = std::int64_t{1} << 53;

constexpr bool isDigit(char c) { return c >= '0' && c <= '9'; }

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

CValueColumn::Entry CValueColumn::entryOf(std::string_view field)
{
    // Blanks, an optional sign, digits with at most one point, blanks: nothing else. Such a text
    // holds no marker and reads as parsePlainDecimal() reads it.
    std::size_t i = 0;
    const std::size_t n = field.size();
    while (i < n && field[i] == ' ')
        ++i;
    bool negative = false;
    if (i < n && (field[i] == '-' || field[i] == '+'))
        negative = field[i++] == '-';
    std::uint64_t mantissa = 0;
    int digits = 0, fraction = 0;
    for (; i < n && isDigit(field[i]); ++i, ++digits)
        mantissa = mantissa * 10 + static_cast<unsigned>(field[i] - '0');
    if (i < n && field[i] == '.')
        for (++i; i < n && isDigit(field[i]); ++i, ++digits, ++fraction)
            mantissa = mantissa * 10 + static_cast<unsigned>(field[i] - '0');
    while (i < n && field[i] == ' ')
        ++i;
    Entry entry;
    if (i == n && digits > 0 && digits <= kMaxScale && !(negative && mantissa == 0)) {
        const auto m = static_cast<std::int64_t>(mantissa);
        entry.mantissa = negative ? -m : m;
        entry.fractionDigits = fraction;
    } else {
        entry.value = fieldValue(field); // markers, blanks, exponents, -0: as fieldValue says
    }
    return entry;
}

void CValueColumn::appendBlock(const Entry* entries, std::size_t count)
{
    if (count == 0)
        return;
    int scale = 0;
    for (std::size_t i = 0; i < count; ++i)
        scale = std::max(scale, entries[i].fractionDigits);
    std::int64_t low = std::numeric_limits<std::int64_t>::max();
    std::int64_t high = std::numeric_limits<std::int64_t>::min();
    bool exact = true;
    // First pass: the range of the integers; the second writes them.
    for (std::size_t i = 0; i < count && exact; ++i) {
        std::int64_t m = 0;
        exact = scaled(entries[i], scale, m);
        low = std::min(low, m);
        high = std::max(high, m);
    }
    Block block;
    block.scale = static_cast<std::uint8_t>(scale);
    block.base = low;
    const auto span = static_cast<std::uint64_t>(high - low);
    if (!exact) {
        block.kind = Kind::Doubles;
        block.data = static_cast<std::uint32_t>(doubles_.size());
    } else if (span == 0) {
        block.kind = Kind::Constant;
    } else if (span <= std::numeric_limits<std::uint16_t>::max()) {
        block.kind = Kind::Narrow;
        block.data = static_cast<std::uint32_t>(narrow_.size());
    } else if (span <= std::numeric_limits<std::uint32_t>::max()) {
        block.kind = Kind::Wide;
        block.data = static_cast<std::uint32_t>(wide_.size());
    } else {
        block.kind = Kind::Doubles;
        block.data = static_cast<std::uint32_t>(doubles_.size());
    }
    if (rows_ + count > std::numeric_limits<std::uint32_t>::max())
        throw std::length_error("value column");
    for (std::size_t i = 0; i < count; ++i) {
        std::int64_t m = 0;
        switch (block.kind) {
        case Kind::Constant:
            break;
        case Kind::Narrow:
            scaled(entries[i], scale, m);
            narrow_.push_back(static_cast<std::uint16_t>(m - low));
            break;
        case Kind::Wide:
            scaled(entries[i], scale, m);
            wide_.push_back(static_cast<std::uint32_t>(m - low));
            break;
        case Kind::Doubles: {
            const Entry& e = entries[i];
            double value = e.value;
            if (e.fractionDigits >= 0) {
                const double magnitude = static_cast<double>(e.mantissa < 0 ? -e.mantissa : e.mantissa) /
                                         kPowersOfTen[e.fractionDigits];
                value = e.mantissa < 0 ? -magnitude : magnitude;
            }
            doubles_.push_back(value);
            break;
        }
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
        out += n;
        first += n;
        count -= n;
    }
}

std::size_t CValueColumn::memoryBytes() const
{
    return blocks_.capacity() * sizeof(Block) + narrow_.capacity() * sizeof(std::uint16_t) +
           wide_.capacity() * sizeof(std::uint32_t) + doubles_.capacity() * sizeof(double);
}
