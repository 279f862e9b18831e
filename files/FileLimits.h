#pragma once
// What the readers and the converter take from a file, and why. Real files never come near
// these limits; a small hostile file that would swell into gigabytes of columns, rows or output
// meets them at once and is refused with the reader's open-failure message (the converter's
// one-line error), the reason kept as a result code that fileErrorText() spells out.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

class CDataTable;
class IMessageBox;

// Readers take lines in pieces of at most 255 characters, as a 256-byte fgets buffer does; a
// longer line is read as several lines.
inline constexpr std::size_t kLinePieceLength = 255;

// A log file has at most 64 instrument blocks (data lines in its first record). A logger
// serves a handful of instruments; every block is 13 table and CSV columns in every row, so a
// first record of a million data lines (2 MB) would make 13 million columns.
inline constexpr int kMaxLogBlocks = 64;

// A record file has at most one row per 20 bytes, beyond the first kRecordRowAllowance rows. A
// recorded line is 124 characters and its line end; a file of "#" lines makes a row of 13
// fields (26 bytes of CSV, a point per channel in the graph) out of every 2 bytes. Small test
// and hand-made files keep their rows whatever their lines.
inline constexpr std::uint64_t kRecordBytesPerRow = 20;
inline constexpr std::uint64_t kRecordRowAllowance = 1024;

// A conversion writes at most 4 times the bytes of its input, beyond kOutputAllowance (the
// title row, a few rows of a small file). Recorded and logged rows come out smaller than they
// went in; a record of empty log blocks or a short line comes out ten to fifty times larger,
// so a 3 MB file could fill a disk.
inline constexpr std::uint64_t kOutputPerInputByte = 4;
inline constexpr std::uint64_t kOutputAllowance = std::uint64_t{1} << 20;

// A viewer needs this much memory per plotted point (the point, its share of the series'
// min/max pyramid and of the drawing) and per table column (header section, widths, titles); it
// is checked against the memory available before the viewer builds its columns and graph.
inline constexpr std::uint64_t kViewerBytesPerPoint = 48;
// A graph that reads its points from a record file's value columns (CRecordStore) keeps only
// its share of the min/max pyramid (24 bytes per 128 points, twice over its levels).
inline constexpr std::uint64_t kViewerBytesPerIndexedPoint = 1;
inline constexpr std::uint64_t kViewerBytesPerColumn = 4096;

// Result codes of the limits, beside errno values (which they do not overlap).
inline constexpr int kTooManyBlocks = 0x10001;
inline constexpr int kTooManyRows = 0x10002;
inline constexpr int kOutputTooLarge = 0x10003;

// True while rows rows have come from the first `bytes` bytes of a record file.
bool recordRowsWithinLimit(std::uint64_t rows, std::uint64_t bytes);

// True when an output of outputBytes may be written for an input of inputBytes.
bool outputWithinLimit(std::uint64_t outputBytes, std::uint64_t inputBytes);

// Memory a viewer needs for its columns and the points of its graph (kViewerBytesPerPoint or,
// read in place, kViewerBytesPerIndexedPoint each).
std::uint64_t viewerMemoryNeed(std::uint64_t rows, std::uint64_t columns,
                               std::uint64_t plottedSeries,
                               std::uint64_t bytesPerPoint = kViewerBytesPerPoint);

// 0 when a viewer of this size fits in the memory available, else ENOMEM.
int checkViewerMemory(std::uint64_t rows, std::uint64_t columns, std::uint64_t plottedSeries,
                      std::uint64_t bytesPerPoint = kViewerBytesPerPoint);

// Checks, once a viewer has read its file into rows, that its columns and graph fit in memory;
// when they do not, empties rows and shows openError (stop icon) with errno ENOMEM. True when
// the viewer may go on.
bool admitToViewer(CDataTable& rows, int plottedSeries, std::string_view openError,
                   IMessageBox& messages);

// The text of a failure code: a limit's reason, or strerror() of an errno value.
std::string fileErrorText(int code);
