#include "files/RecordStore.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstring>
#include <limits>
#include <malloc.h>
#include <new>
#include <stdexcept>
#include <thread>

#include "core/CText.h"
#include "core/LineReader.h"
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

// The field texts of a data text, as CDataTable cuts a record row: 8 characters each, the 13th
// to the end.
std::string_view recordField(std::string_view data, int column)
{
    const std::size_t start = static_cast<std::size_t>(column) * 8;
    if (start >= data.size())
        return {};
    return data.substr(start, column == CRecordStore::kColumns - 1 ? std::string_view::npos : 8);
}

} // namespace

void CRecordStore::buildPart(const CMappedFile& file, Part& part, bool values,
                             CLoadControl* control)
{
    if (control && control->aborted()) {
        part.error = ECANCELED;
        return;
    }
    const char* bytes = file.bytes().data();
    const bool wide = part.end - part.begin > std::numeric_limits<std::uint32_t>::max();
    // Room for rows of about 100 bytes: what is never touched costs no memory.
    const std::size_t estimate = (part.end - part.begin) / 100 + 16;
    if (wide)
        part.wideStarts.reserve(estimate);
    else
        part.starts.reserve(estimate);
    part.lengths.reserve(estimate);
    part.hashes.reserve(estimate);

    constexpr std::size_t kBlock = CValueColumn::kBlockRows;
    std::vector<CValueColumn::Entry> staging(values ? kColumns * kBlock : 0);
    std::size_t staged = 0;
    if (values) {
        part.columns.resize(kColumns);
        for (CValueColumn& column : part.columns)
            column.reserve(estimate);
    }
    // Rows are staged one after the other, 13 entries each.
    auto flush = [&] {
        for (int k = 0; k < kColumns; ++k)
            part.columns[static_cast<std::size_t>(k)].appendBlock(
                staging.data() + static_cast<std::size_t>(k), staged, kColumns);
        staged = 0;
    };

    std::size_t position = part.begin;
    std::size_t reported = part.begin;
    while (position < part.end) {
        const std::size_t length =
            nextPieceLength(bytes + position, part.end - position, kLinePieceLength);
        const std::string_view line = ctext::trimRight(std::string_view(bytes + position, length));
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
            if (values) {
                const std::string_view data =
                    hash == std::string_view::npos ? line : line.substr(hash + 1);
                CValueColumn::Entry* row = staging.data() + staged * kColumns;
                for (int k = 0; k < kColumns; ++k)
                    row[k] = CValueColumn::entryOf(recordField(data, k));
                if (++staged == kBlock)
                    flush();
            }
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
    if (values && staged > 0)
        flush();
    if (control)
        control->advance(position - reported);
}

int CRecordStore::build(bool values, CLoadControl* control)
{
    parts_.clear();
    rowCount_ = 0;
    hasValues_ = false;
    const std::string_view bytes = file_.bytes();
    if (control)
        control->addWork(bytes.size());
    try {
        for (const auto& [begin, end] : splitParts(bytes)) {
            parts_.emplace_back();
            parts_.back().begin = begin;
            parts_.back().end = end;
        }
        // Each worker takes the next part not yet taken; the calling thread is one of them.
        std::atomic<std::size_t> next{0};
        auto work = [&] {
            for (std::size_t i; (i = next.fetch_add(1)) < parts_.size();) {
                Part& part = parts_[i];
                try {
                    buildPart(file_, part, values, control);
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
    } catch (const std::bad_alloc&) {
        parts_.clear();
        return ENOMEM;
    }

    int error = 0;
    for (Part& part : parts_) {
        if (part.error == ECANCELED || error == 0)
            error = part.error != 0 ? part.error : error;
        part.firstRow = rowCount_;
        rowCount_ += part.rows();
    }
    if (error == 0 && !recordRowsWithinLimit(rowCount_, bytes.size()))
        error = kTooManyRows;
    if (error == 0 && file_.damaged())
        error = EIO;
    if (error != 0) {
        parts_.clear();
        rowCount_ = 0;
        return error;
    }
    hasValues_ = values;
    // The workers' arenas keep what the columns' growth freed; give it back (worth a look
    // only after a large file).
    if (parts_.size() > 1)
        ::malloc_trim(0);
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
    row.start = part.begin + (part.wideStarts.empty() ? part.starts[index]
                                                       : part.wideStarts[index]);
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
    if (row >= rowCount_ || column < 0 || column >= kColumns || !hasValues_)
        return 0;
    const Part& part = partOf(row);
    return part.columns[static_cast<std::size_t>(column)].value(row);
}

void CRecordStore::values(int column, std::size_t first, std::size_t count, double* out) const
{
    if (column < 0 || column >= kColumns || !hasValues_)
        return;
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
