#include "files/RecordStore.h"

#include <algorithm>
#include <atomic>
#include <bit>
#include <cerrno>
#include <cstring>
#include <limits>
#include <malloc.h>
#include <new>
#include <stdexcept>
#include <thread>

#include "core/CText.h"
#include "core/HugePages.h"
#include "core/LineReader.h"
#include "core/MemoryLimit.h"
#include "files/DataText.h"
#include "files/FileLimits.h"

namespace {

// Parts: at most 1 GiB each (so that row starts fit 4 bytes), and one per processor for files
// large enough to be worth the threads.
constexpr std::size_t kMaxPartBytes = std::size_t{1} << 30;
constexpr std::size_t kSplitFrom = std::size_t{16} << 20;
// How often a part reports progress and looks at the abort flag.
constexpr std::size_t kReportBytes = std::size_t{4} << 20;

unsigned workerCount()
{
    const unsigned hardware = std::thread::hardware_concurrency();
    return hardware == 0 ? 1 : hardware;
}

// Part boundaries: the nominal split points moved on to just after the next line feed.
std::vector<std::pair<std::size_t, std::size_t>> splitParts(std::string_view bytes)
{
    const std::size_t size = bytes.size();
    std::size_t count = (size + kMaxPartBytes - 1) / kMaxPartBytes;
    if (size >= kSplitFrom)
        count = std::max<std::size_t>(count, workerCount());
    count = std::max<std::size_t>(count, 1);
    std::vector<std::pair<std::size_t, std::size_t>> parts;
    std::size_t begin = 0;
    for (std::size_t i = 1; i <= count && begin < size; ++i) {
        std::size_t end = size;
        if (i < count) {
            const std::size_t nominal = std::max(begin, size / count * i);
            const void* lineFeed = std::memchr(bytes.data() + nominal, '\n', size - nominal);
            end = lineFeed ? static_cast<std::size_t>(static_cast<const char*>(lineFeed) -
                                                      bytes.data()) + 1
                           : size;
        }
        parts.emplace_back(begin, end);
        begin = end;
    }
    return parts;
}

// The bytes of one part, a window at a time: bytes in memory are read where they are, a mapped
// file's are copied into a buffer (see CMappedFile::readAt).
class CPartBytes {
public:
    CPartBytes(const CMappedFile& file, std::size_t end) : file_(file), end_(end)
    {
        if (!file.mapped()) {
            data_ = file.bytes().data();
            limit_ = end;
        } else {
            buffer_.resize(kWindow);
        }
    }
    // Makes the bytes from position on (which only moves forward) available, at least want of
    // them unless the part ends sooner. 0, or the errno of a failed read.
    int reach(std::size_t position, std::size_t want)
    {
        const std::size_t needed = std::min(end_, position + want);
        if (position >= origin_ && needed <= limit_)
            return 0;
        // What is at hand from position on moves to the front; the rest is read behind it.
        std::size_t kept = 0;
        if (position >= origin_ && position < limit_) {
            kept = limit_ - position;
            std::memmove(buffer_.data(), buffer_.data() + (position - origin_), kept);
        }
        const std::size_t count = std::min(end_, position + kWindow) - (position + kept);
        if (int error = file_.readAt(position + kept, buffer_.data() + kept, count))
            return error;
        data_ = buffer_.data();
        origin_ = position;
        limit_ = position + kept + count;
        return 0;
    }
    const char* at(std::size_t position) const { return data_ + (position - origin_); }
    std::size_t available(std::size_t position) const { return limit_ - position; }

private:
    static constexpr std::size_t kWindow = std::size_t{512} << 10; // stays in the cache

    const CMappedFile& file_;
    std::size_t end_;
    std::vector<char> buffer_;
    const char* data_ = nullptr; // the byte at origin_
    std::size_t origin_ = 0, limit_ = 0;
};

// Gathers the entries of some columns a block of rows at a time and appends each block to its
// column.
class CColumnFiller {
public:
    CColumnFiller(std::vector<CValueColumn>& columns, CRecordStore::Columns set,
                  std::size_t rowsEstimate)
        : columns_(columns)
    {
        for (int k = 0; k < CRecordStore::kColumns; ++k)
            if ((set >> k & 1u) != 0) {
                picked_[count_++] = k;
                columns_[static_cast<std::size_t>(k)].reserve(rowsEstimate);
            }
        staging_.resize(static_cast<std::size_t>(count_) * kBlock);
    }
    // The next row, from its data text.
    void add(std::string_view data)
    {
        for (int i = 0; i < count_; ++i)
            staging_[static_cast<std::size_t>(i) * kBlock + staged_] =
                CValueColumn::entryOf(recordDataField(data, picked_[i]));
        if (++staged_ == kBlock)
            flush();
    }
    void flush()
    {
        for (int i = 0; i < count_ && staged_ > 0; ++i)
            columns_[static_cast<std::size_t>(picked_[i])].appendBlock(
                staging_.data() + static_cast<std::size_t>(i) * kBlock, staged_);
        staged_ = 0;
    }
    bool empty() const { return count_ == 0; }

private:
    static constexpr std::size_t kBlock = CValueColumn::kBlockRows;

    std::vector<CValueColumn>& columns_;
    int picked_[CRecordStore::kColumns] = {};
    int count_ = 0;
    std::vector<CValueColumn::Entry> staging_; // column by column
    std::size_t staged_ = 0;
};

} // namespace

void CRecordStore::indexPart(Part& part, Columns columns, CLoadControl* control) const
{
    if (control && control->aborted()) {
        part.error = ECANCELED;
        return;
    }
    const bool wide = part.end - part.begin > std::numeric_limits<std::uint32_t>::max();
    // Room for rows of about 100 bytes: what is never touched costs no memory.
    const std::size_t estimate = (part.end - part.begin) / 100 + 16;
    if (wide)
        reserveLarge(part.wideStarts, estimate);
    else
        reserveLarge(part.starts, estimate);
    reserveLarge(part.lengths, estimate);
    reserveLarge(part.hashes, estimate);
    part.columns.resize(kColumns);
    CColumnFiller filler(part.columns, columns, estimate);
    CPartBytes bytes(file_, part.end);

    std::size_t position = part.begin;
    std::size_t reported = part.begin;
    while (position < part.end) {
        if (int error = bytes.reach(position, kLinePieceLength + 1)) {
            part.error = error;
            return;
        }
        const char* data = bytes.at(position);
        const std::size_t length =
            nextPieceLength(data, bytes.available(position), kLinePieceLength);
        const std::string_view line = ctext::trimRight(std::string_view(data, length));
        if (!line.empty()) {
            const std::size_t hash = line.find('#');
            const std::size_t offset = position - part.begin;
            if (wide)
                part.wideStarts.push_back(offset);
            else
                part.starts.push_back(static_cast<std::uint32_t>(offset));
            part.lengths.push_back(static_cast<std::uint8_t>(line.size()));
            // Checked as the rows come: a part of short lines is refused within its first KB.
            if (!recordRowsWithinLimit(part.lengths.size(), position + length - part.begin)) {
                part.error = kTooManyRows;
                return;
            }
            part.hashes.push_back(hash == std::string_view::npos ? kNoHash
                                                                 : static_cast<std::uint8_t>(hash));
            if (!filler.empty())
                filler.add(hash == std::string_view::npos ? line : line.substr(hash + 1));
        }
        position += length;
        if (control && position - reported >= kReportBytes) {
            control->advance(position - reported);
            reported = position;
            if (control->aborted()) {
                part.error = ECANCELED;
                return;
            }
        }
    }
    filler.flush();
    for (const CValueColumn& column : part.columns)
        column.releaseUnused();
    releaseUnused(part.starts);
    releaseUnused(part.wideStarts);
    releaseUnused(part.lengths);
    releaseUnused(part.hashes);
    if (control)
        control->advance(position - reported);
}

void CRecordStore::parsePart(Part& part, Columns columns) const
{
    CColumnFiller filler(part.columns, columns, part.rows());
    CPartBytes bytes(file_, part.end);
    for (std::size_t i = 0; i < part.rows(); ++i) {
        const std::size_t start = part.begin + part.start(i);
        if (int error = bytes.reach(start, part.lengths[i])) {
            part.error = error;
            return;
        }
        const std::string_view line(bytes.at(start), part.lengths[i]);
        filler.add(part.hashes[i] == kNoHash ? line : line.substr(part.hashes[i] + 1u));
    }
    filler.flush();
    for (const CValueColumn& column : part.columns)
        column.releaseUnused();
}

int CRecordStore::runParts(Columns columns, bool index, CLoadControl* control)
{
    // Each worker takes the next part not yet taken; the calling thread is one of them.
    std::atomic<std::size_t> next{0};
    auto work = [&] {
        for (std::size_t i; (i = next.fetch_add(1)) < parts_.size();) {
            Part& part = parts_[i];
            part.error = 0;
            try {
                if (index)
                    indexPart(part, columns, control);
                else
                    parsePart(part, columns);
            } catch (const std::bad_alloc&) {
                part.error = ENOMEM;
            } catch (const std::length_error&) {
                part.error = ENOMEM;
            }
        }
    };
    std::vector<std::thread> helpers;
    const std::size_t workers = std::min<std::size_t>(workerCount(), parts_.size());
    const std::size_t helperCount = workers > 1 ? workers - 1 : 0;
    helpers.reserve(helperCount);
    for (std::size_t i = 0; i < helperCount; ++i) {
        try {
            helpers.emplace_back(work);
        } catch (const std::system_error&) {
            break; // no thread to be had: fewer workers
        }
    }
    work();
    for (std::thread& helper : helpers)
        helper.join();

    int error = 0;
    for (const Part& part : parts_)
        if (part.error == ECANCELED || error == 0)
            error = part.error != 0 ? part.error : error;
    if (error == 0 && file_.damaged())
        error = EIO;
    // The workers' arenas keep what the columns' growth freed; give it back (worth a look
    // only after a large file).
    if (parts_.size() > 1)
        ::malloc_trim(0);
    return error;
}

int CRecordStore::buildColumns(Columns columns, CLoadControl* control)
{
    parts_.clear();
    rowCount_ = 0;
    columns_ = 0;
    const std::string_view bytes = file_.bytes();
    if (control)
        control->addWork(bytes.size());
    int error = 0;
    try {
        for (const auto& [begin, end] : splitParts(bytes)) {
            parts_.emplace_back();
            parts_.back().begin = begin;
            parts_.back().end = end;
        }
        error = runParts(columns & kAllColumns, true, control);
    } catch (const std::bad_alloc&) {
        error = ENOMEM;
    }
    for (Part& part : parts_) {
        part.firstRow = rowCount_;
        rowCount_ += part.rows();
    }
    if (error == 0 && !recordRowsWithinLimit(rowCount_, bytes.size()))
        error = kTooManyRows;
    if (error != 0) {
        parts_.clear();
        rowCount_ = 0;
        return error;
    }
    columns_ = columns & kAllColumns;
    return 0;
}

int CRecordStore::addColumns(Columns columns)
{
    const Columns missing = columns & kAllColumns & ~columns_;
    if (missing == 0)
        return 0;
    // Two bytes a value as a rule; a column that needs more is seldom.
    const std::uint64_t need = std::uint64_t{rowCount_} * 2 * std::popcount(missing);
    int error = need > availableMemoryBytes() ? ENOMEM : 0;
    if (error == 0) {
        try {
            error = runParts(missing, false, nullptr);
        } catch (const std::bad_alloc&) {
            error = ENOMEM;
        }
    }
    if (error != 0) {
        for (Part& part : parts_)
            for (int k = 0; k < kColumns; ++k)
                if (has(missing, k))
                    part.columns[static_cast<std::size_t>(k)] = CValueColumn();
        return error;
    }
    columns_ |= missing;
    return 0;
}

const CRecordStore::Part& CRecordStore::partOf(std::size_t& row) const
{
    std::size_t i = parts_.size() - 1;
    while (i > 0 && parts_[i].firstRow > row)
        --i;
    row -= parts_[i].firstRow;
    return parts_[i];
}

CRecordStore::Row CRecordStore::row(std::size_t index) const
{
    const Part& part = partOf(index);
    Row row;
    row.start = part.begin + part.start(index);
    row.length = part.lengths[index];
    row.hash = part.hashes[index];
    return row;
}

std::string_view CRecordStore::text(std::size_t row) const
{
    if (row >= rowCount_)
        return {};
    const Row r = this->row(row);
    return file_.bytes().substr(r.start, r.length);
}

void CRecordStore::cut(std::size_t row, std::string_view& dateTime,
                       std::string_view& dataText) const
{
    dateTime = dataText = {};
    if (row >= rowCount_)
        return;
    const Row r = this->row(row);
    const std::string_view line = file_.bytes().substr(r.start, r.length);
    if (r.hash == kNoHash) {
        dataText = line;
        return;
    }
    dateTime = line.substr(0, r.hash);
    dataText = line.substr(r.hash + 1u);
}

std::string_view CRecordStore::dateTime(std::size_t row) const
{
    std::string_view dateTime, dataText;
    cut(row, dateTime, dataText);
    return dateTime;
}

std::string_view CRecordStore::dataText(std::size_t row) const
{
    std::string_view dateTime, dataText;
    cut(row, dateTime, dataText);
    return dataText;
}

double CRecordStore::value(std::size_t row, int column) const
{
    if (row >= rowCount_ || column < 0 || column >= kColumns)
        return 0;
    if (!has(columns_, column))
        return fieldValue(recordDataField(dataText(row), column));
    const Part& part = partOf(row);
    return part.columns[static_cast<std::size_t>(column)].value(row);
}

void CRecordStore::values(int column, std::size_t first, std::size_t count, double* out) const
{
    if (column < 0 || column >= kColumns)
        return;
    if (!has(columns_, column)) {
        for (std::size_t i = 0; i < count; ++i)
            out[i] = value(first + i, column);
        return;
    }
    for (const Part& part : parts_) {
        const std::size_t partEnd = part.firstRow + part.rows();
        if (count == 0 || first >= partEnd)
            continue;
        const std::size_t n = std::min(count, partEnd - first);
        part.columns[static_cast<std::size_t>(column)].values(first - part.firstRow, n, out);
        first += n;
        count -= n;
        out += n;
    }
}

CValueColumn::Extremes CRecordStore::extremes(int column, std::size_t first,
                                             std::size_t count) const
{
    CValueColumn::Extremes result;
    bool any = false;
    auto take = [&](const CValueColumn::Extremes& piece) {
        if (any) {
            result.merge(piece);
        } else {
            result = piece;
            any = true;
        }
    };
    if (column < 0 || column >= kColumns || first >= rowCount_)
        return result;
    count = std::min(count, rowCount_ - first);
    if (!has(columns_, column)) {
        for (std::size_t row = first; row < first + count; ++row) {
            const double v = value(row, column);
            take({v, v, row, row});
        }
        return result;
    }
    for (const Part& part : parts_) {
        const std::size_t partEnd = part.firstRow + part.rows();
        if (count == 0 || first >= partEnd)
            continue;
        const std::size_t n = std::min(count, partEnd - first);
        CValueColumn::Extremes piece =
            part.columns[static_cast<std::size_t>(column)].extremes(first - part.firstRow, n);
        piece.lowRow += part.firstRow;
        piece.highRow += part.firstRow;
        take(piece);
        first += n;
        count -= n;
    }
    return result;
}

std::size_t CRecordStore::memoryBytes() const
{
    std::size_t bytes = parts_.capacity() * sizeof(Part);
    for (const Part& part : parts_) {
        bytes += part.starts.capacity() * sizeof(std::uint32_t) +
                 part.wideStarts.capacity() * sizeof(std::uint64_t) + part.lengths.capacity() +
                 part.hashes.capacity();
        for (const CValueColumn& column : part.columns)
            bytes += column.memoryBytes();
    }
    return bytes;
}
