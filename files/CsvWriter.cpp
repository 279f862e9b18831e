#include "files/CsvWriter.h"

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cstring>

#include "core/CText.h"
#include "core/Channels.h"
#include "files/DataText.h"
#include "files/RecordStore.h"

namespace {

constexpr std::size_t kFlushSize = 1 << 20;
// The longest number appendField writes: a shortest double ("-2.2250738585072014e-308").
constexpr std::uint64_t kLongestNumber = 24;
// A Windows-1252 character is at most 3 bytes of UTF-8; a quote doubled is 2.
constexpr std::uint64_t kLongestCharacter = 3;

// Bytes of a text value at its longest: every character widened, and the quotes around it.
std::uint64_t textBound(std::size_t length) { return length * kLongestCharacter + 2; }

bool needsQuotes(std::string_view text)
{
    return text.find_first_of(",\"\r\n") != std::string_view::npos;
}

void appendText(std::string& out, std::string_view text)
{
    if (!needsQuotes(text)) {
        ctext::appendUtf8(out, text);
        return;
    }
    out += '"';
    for (std::size_t quote; (quote = text.find('"')) != std::string_view::npos;) {
        ctext::appendUtf8(out, text.substr(0, quote + 1));
        out += '"';
        text.remove_prefix(quote + 1);
    }
    ctext::appendUtf8(out, text);
    out += '"';
}

void appendNumber(std::string& out, double value)
{
    char buffer[32];
    auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    out.append(buffer, result.ptr);
}

// A plain decimal written from its digits: no trailing fraction zeros, no leading zeros. With
// at most 15 digits this is the shortest text that reads back to the same double.
void appendDecimal(std::string& out, const PlainDecimal& decimal)
{
    char digits[24]; // least significant first
    int count = 0;
    unsigned long long mantissa = decimal.mantissa;
    do {
        digits[count++] = static_cast<char>('0' + mantissa % 10);
        mantissa /= 10;
    } while (mantissa != 0);
    while (count <= decimal.fractionDigits)
        digits[count++] = '0';
    int zeros = 0;
    while (zeros < decimal.fractionDigits && digits[zeros] == '0')
        ++zeros;
    char text[32];
    char* end = text;
    if (decimal.negative)
        *end++ = '-';
    for (int i = count - 1; i >= decimal.fractionDigits; --i)
        *end++ = digits[i];
    if (zeros < decimal.fractionDigits) {
        *end++ = '.';
        for (int i = decimal.fractionDigits - 1; i >= zeros; --i)
            *end++ = digits[i];
    }
    out.append(text, end);
}

// -999 for a marker, 0 for no number, otherwise the number the text holds.
void appendField(std::string& out, std::string_view text)
{
    PlainDecimal decimal;
    if (hasFieldMarker(text))
        appendNumber(out, kNoValue);
    else if (parsePlainDecimal(text, decimal))
        appendDecimal(out, decimal);
    else
        appendNumber(out, fieldValue(text));
}

// The date (the first 10 characters) and the time (from the 12th on) as two values.
void appendDateTime(std::string& out, std::string_view dateTime)
{
    appendText(out, dateTime.substr(0, 10));
    out += ',';
    if (dateTime.size() > 11)
        appendText(out, dateTime.substr(11));
}

// Rows of a record file read in place, written from their texts straight into a block of
// memory: the CSV of a month of samples costs little more than reading it.
class CStoreCsvWriter {
public:
    CStoreCsvWriter(const CRecordStore& store, std::FILE* out) : store_(store), out_(out) {}

    // Writes every row after the titles in buffer; 0, or the errno of the failure.
    int write(std::string& buffer)
    {
        block_.resize(kFlushSize + kRowRoom);
        cursor_ = block_.data();
        put(buffer);
        buffer.clear();
        const std::size_t rows = store_.rowCount();
        for (std::size_t row = 0; row < rows; ++row) {
            writeRow(row);
            if (cursor_ - block_.data() >= static_cast<std::ptrdiff_t>(kFlushSize))
                if (int result = flush(); result != 0)
                    return result;
        }
        return flush();
    }

private:
    // More than a row can take: its text is at most 255 characters, each at most three bytes
    // of UTF-8 or one 24-character number per field.
    static constexpr std::size_t kRowRoom = 4096;

    void put(std::string_view text)
    {
        if (text.size() > 16) {
            std::memcpy(cursor_, text.data(), text.size());
            cursor_ += text.size();
            return;
        }
        // Numbers and date-times are short: a loop beats a call.
        for (char c : text)
            *cursor_++ = c;
    }

    // Text without anything to quote or convert goes as it is; the rest as appendText says.
    void putText(std::string_view text)
    {
        for (char c : text) {
            const auto byte = static_cast<unsigned char>(c);
            if (byte < 0x20 || byte >= 0x80 || c == ',' || c == '"') {
                scratch_.clear();
                appendText(scratch_, text);
                put(scratch_);
                return;
            }
        }
        put(text);
    }

    // A decimal with blanks around it, as appendDecimal() writes it: its digits without the
    // leading zeros of the whole part and the trailing zeros of the fraction. False for any
    // other text (which holds no marker then, see below).
    bool putDecimal(std::string_view field)
    {
        const char* p = field.data();
        const char* const end = p + field.size();
        while (p < end && *p == ' ')
            ++p;
        const bool negative = p < end && *p == '-';
        if (p < end && (*p == '-' || *p == '+'))
            ++p;
        const char* whole = p;
        while (p < end && isDigit(*p))
            ++p;
        const char* wholeEnd = p;
        const char* fraction = p;
        const char* fractionEnd = p;
        if (p < end && *p == '.') {
            fraction = ++p;
            while (p < end && isDigit(*p))
                ++p;
            fractionEnd = p;
        }
        const auto digits = (wholeEnd - whole) + (fractionEnd - fraction);
        while (p < end && *p == ' ')
            ++p;
        if (p != end || digits == 0 || digits > 15)
            return false;
        while (whole < wholeEnd && *whole == '0')
            ++whole;
        while (fractionEnd > fraction && fractionEnd[-1] == '0')
            --fractionEnd;
        if (negative)
            *cursor_++ = '-';
        if (whole == wholeEnd)
            *cursor_++ = '0';
        put({whole, static_cast<std::size_t>(wholeEnd - whole)});
        if (fraction < fractionEnd) {
            *cursor_++ = '.';
            put({fraction, static_cast<std::size_t>(fractionEnd - fraction)});
        }
        return true;
    }

    void writeRow(std::size_t row)
    {
        std::string_view dateTime, data;
        store_.cut(row, dateTime, data);
        putText(dateTime.substr(0, 10));
        *cursor_++ = ',';
        if (dateTime.size() > 11)
            putText(dateTime.substr(11));
        for (int column = 0; column < CRecordStore::kColumns; ++column) {
            *cursor_++ = ',';
            const std::string_view field = recordDataField(data, column);
            // Blanks, sign, digits and a point only: no marker can hide in such a text.
            if (!putDecimal(field)) {
                scratch_.clear();
                appendField(scratch_, field);
                put(scratch_);
            }
        }
        *cursor_++ = '\n';
    }

    int flush()
    {
        const auto size = static_cast<std::size_t>(cursor_ - block_.data());
        cursor_ = block_.data();
        if (size > 0 && std::fwrite(block_.data(), 1, size, out_) != size)
            return errno != 0 ? errno : EIO;
        return 0;
    }

    static bool isDigit(char c) { return c >= '0' && c <= '9'; }

    const CRecordStore& store_;
    std::FILE* out_;
    std::vector<char> block_;
    char* cursor_ = nullptr;
    std::string scratch_;
};

} // namespace

int writeCsvBuffer(std::string& buffer, std::FILE* out)
{
    if (!buffer.empty() && std::fwrite(buffer.data(), 1, buffer.size(), out) != buffer.size())
        return errno != 0 ? errno : EIO;
    buffer.clear();
    return 0;
}

int finishCsvBuffer(std::string& buffer, std::FILE* out)
{
    if (int result = writeCsvBuffer(buffer, out); result != 0)
        return result;
    if (std::fflush(out) != 0)
        return errno != 0 ? errno : EIO;
    return 0;
}

std::vector<std::string> csvFieldTitles(const CDataTable& rows, const Unit& unit)
{
    std::vector<std::string> titles;
    if (rows.layout() == CDataTable::Layout::Record) {
        for (int k = 0; k < kChannelCount; ++k)
            titles.emplace_back(ctext::trimRight(viewerColumnTitle(k, unit)));
        return titles;
    }
    for (int block = 1; block <= rows.blockCount(); ++block) {
        for (int k = 0; k < kChannelCount; ++k) {
            std::string title = logChannelName(k);
            if (rows.blockCount() > 1)
                title += " #" + std::to_string(block);
            titles.push_back(std::move(title));
        }
    }
    return titles;
}

std::string csvText(std::string_view text)
{
    std::string out;
    appendText(out, text);
    return out;
}

std::string csvSampleLine(std::string_view dateTime, std::string_view dataText)
{
    std::string line;
    appendDateTime(line, dateTime);
    for (int field = 0; field < kChannelCount; ++field) {
        line += ',';
        appendField(line, dataTextField(dataText, static_cast<std::size_t>(field)));
    }
    line += '\n';
    return line;
}

std::uint64_t csvSizeBound(const CDataTable& rows, const std::vector<std::string>& fieldTitles)
{
    std::uint64_t bytes = 10; // "DATE,TIME" and the line end
    for (const std::string& title : fieldTitles)
        bytes += 1 + textBound(title.size());
    const std::uint64_t perRow =
        static_cast<std::uint64_t>(rows.columnCount()) * (1 + kLongestNumber) + 2 + 2 * 2;
    for (std::size_t row = 0; row < rows.rowCount(); ++row)
        bytes += perRow + rows.dateTime(row).size() * kLongestCharacter;
    return bytes;
}

int writeCsv(const CDataTable& rows, const std::vector<std::string>& fieldTitles, std::FILE* out)
{
    errno = 0;
    // Room for one flush of output, or for all of a small table (about 10 bytes a value).
    std::string buffer;
    const std::size_t estimate =
        rows.rowCount() * (static_cast<std::size_t>(rows.columnCount()) + 2) * 10;
    buffer.reserve(std::min(estimate, kFlushSize) + 4096);
    buffer += "DATE,TIME";
    for (const std::string& title : fieldTitles) {
        buffer += ',';
        appendText(buffer, title);
    }
    buffer += '\n';
    if (const CRecordStore* store = rows.store()) {
        if (int result = CStoreCsvWriter(*store, out).write(buffer); result != 0)
            return result;
        return finishCsvBuffer(buffer, out);
    }
    const int columns = rows.columnCount();
    for (std::size_t row = 0; row < rows.rowCount(); ++row) {
        appendDateTime(buffer, rows.dateTime(row));
        for (int column = 0; column < columns; ++column) {
            buffer += ',';
            appendField(buffer, rows.field(row, column));
        }
        buffer += '\n';
        if (buffer.size() >= kFlushSize)
            if (int result = writeCsvBuffer(buffer, out); result != 0)
                return result;
    }
    return finishCsvBuffer(buffer, out);
}
