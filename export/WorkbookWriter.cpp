#include "export/WorkbookWriter.h"

#include <xlsxwriter.h>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fcntl.h>
#include <locale.h>
#include <unistd.h>
#include <utility>

#include "core/CText.h"
#include "files/CsvWriter.h"

namespace {

constexpr std::size_t kProgressRows = 512;

int lastErrno() { return errno != 0 ? errno : EIO; }

int writeFailure(lxw_error error)
{
    return error == LXW_ERROR_MAX_STRING_LENGTH_EXCEEDED ? EOVERFLOW : lastErrno();
}

// libxlsxwriter formats numbers with printf, which follows the process's numeric locale (a
// decimal comma in German, set by the GUI); the sheet's XML needs a point. uselocale() changes
// this thread only.
class CCLocaleScope {
public:
    CCLocaleScope() : previous_(uselocale(cLocale())) {}
    ~CCLocaleScope() { uselocale(previous_); }
    CCLocaleScope(const CCLocaleScope&) = delete;
    CCLocaleScope& operator=(const CCLocaleScope&) = delete;

private:
    static locale_t cLocale()
    {
        static const locale_t c = newlocale(LC_ALL_MASK, "C", locale_t(nullptr));
        return c;
    }
    locale_t previous_;
};

// libxlsxwriter prints "[ERROR]" lines of its own on standard error, with no way to switch them
// off; its result codes and errno carry the reason, which our callers report in their own words.
// Standard error goes to /dev/null while a workbook is written (for the whole process: a
// window program loses a warning or two of that moment at most).
class CQuietStandardError {
public:
    CQuietStandardError()
    {
        std::fflush(stderr);
        saved_ = ::dup(STDERR_FILENO);
        const int null = ::open("/dev/null", O_WRONLY | O_CLOEXEC);
        if (saved_ >= 0 && null >= 0)
            ::dup2(null, STDERR_FILENO);
        if (null >= 0)
            ::close(null);
    }
    ~CQuietStandardError()
    {
        if (saved_ < 0)
            return;
        std::fflush(stderr);
        ::dup2(saved_, STDERR_FILENO);
        ::close(saved_);
    }
    CQuietStandardError(const CQuietStandardError&) = delete;
    CQuietStandardError& operator=(const CQuietStandardError&) = delete;

private:
    int saved_ = -1;
};

// Owns an open workbook; one that is not closed is freed without being written.
class CWorkbookHandle {
public:
    explicit CWorkbookHandle(lxw_workbook* book) : book_(book) {}
    ~CWorkbookHandle()
    {
        if (book_)
            lxw_workbook_free(book_);
    }
    CWorkbookHandle(const CWorkbookHandle&) = delete;
    CWorkbookHandle& operator=(const CWorkbookHandle&) = delete;

    lxw_workbook* get() const { return book_; }
    lxw_workbook* release() { return std::exchange(book_, nullptr); }

private:
    lxw_workbook* book_;
};

// Writes Windows-1252 text into a cell; empty text leaves the cell empty.
lxw_error writeText(lxw_worksheet* sheet, lxw_row_t row, lxw_col_t column, std::string_view text,
                    std::string& buffer)
{
    buffer.clear();
    ctext::appendUtf8(buffer, text);
    return worksheet_write_string(sheet, row, column, buffer.c_str(), nullptr);
}

// Columns wide enough for a date ("2024/03/05") and for each title longer than the default
// width (in digit widths), so that a spreadsheet program shows them uncut.
lxw_error setColumnWidths(lxw_worksheet* sheet, const std::vector<std::string>& titles)
{
    constexpr double kDateWidth = 10.5;
    constexpr double kTitleCharacterWidth = 0.9; // a title's letters are narrower than digits
    lxw_error error = worksheet_set_column(sheet, 0, 0, kDateWidth, nullptr);
    for (std::size_t k = 0; k < titles.size() && error == LXW_NO_ERROR; ++k) {
        double width = static_cast<double>(titles[k].size()) * kTitleCharacterWidth + 1;
        auto column = static_cast<lxw_col_t>(k + 2);
        if (width > LXW_DEF_COL_WIDTH)
            error = worksheet_set_column(sheet, column, column, width, nullptr);
    }
    return error;
}

lxw_error writeTitleRow(lxw_worksheet* sheet, const std::vector<std::string>& titles,
                        std::string& buffer)
{
    lxw_error error = setColumnWidths(sheet, titles);
    if (error == LXW_NO_ERROR)
        error = worksheet_write_string(sheet, 0, 0, "DATE", nullptr);
    if (error == LXW_NO_ERROR)
        error = worksheet_write_string(sheet, 0, 1, "TIME", nullptr);
    for (std::size_t k = 0; k < titles.size() && error == LXW_NO_ERROR; ++k)
        error = writeText(sheet, 0, static_cast<lxw_col_t>(k + 2), titles[k], buffer);
    return error;
}

lxw_error writeRow(lxw_worksheet* sheet, lxw_row_t sheetRow, const CDataTable& table,
                   std::size_t row, std::size_t columns, std::string& buffer)
{
    DateTimeParts parts = splitDateTime(table.dateTime(row));
    lxw_error error = writeText(sheet, sheetRow, 0, parts.date, buffer);
    if (error == LXW_NO_ERROR)
        error = writeText(sheet, sheetRow, 1, parts.time, buffer);
    for (std::size_t k = 0; k < columns && error == LXW_NO_ERROR; ++k) {
        double value = table.value(row, static_cast<int>(k));
        // The format holds no NaN or infinity; written, one would make the whole file unreadable.
        if (!std::isfinite(value))
            value = 0;
        error =
            worksheet_write_number(sheet, sheetRow, static_cast<lxw_col_t>(k + 2), value, nullptr);
    }
    return error;
}

// libxlsxwriter does not report a failed write of a sheet's temporary file (a full disk): it
// would package the rows that reached the disk as if they were all. Checked every few hundred
// rows, so that errno still tells why.
int sheetFileError(lxw_worksheet* sheet, bool flush)
{
    std::FILE* file = sheet->optimize_tmpfile;
    if (!file)
        return 0;
    if ((flush && std::fflush(file) != 0) || std::ferror(file))
        return lastErrno();
    return 0;
}

int writeSheets(lxw_workbook* book, const CDataTable& table, const std::vector<std::string>& titles,
                ExportRange range, const WorkbookProgress& progress, std::size_t rowsPerSheet)
{
    std::string buffer;
    std::size_t written = 0;
    do {
        errno = 0;
        lxw_worksheet* sheet = workbook_add_worksheet(book, nullptr);
        if (!sheet)
            return lastErrno();
        if (lxw_error error = writeTitleRow(sheet, titles, buffer); error != LXW_NO_ERROR)
            return writeFailure(error);
        std::size_t sheetRows = std::min(rowsPerSheet, range.count - written);
        for (std::size_t i = 0; i < sheetRows; ++i, ++written) {
            lxw_error error = writeRow(sheet, static_cast<lxw_row_t>(i + 2), table,
                                       range.first + written, titles.size(), buffer);
            if (error != LXW_NO_ERROR)
                return writeFailure(error);
            if ((written + 1) % kProgressRows == 0) {
                if (int result = sheetFileError(sheet, false); result != 0)
                    return result;
                if (progress)
                    progress(written + 1);
            }
        }
        if (int result = sheetFileError(sheet, true); result != 0)
            return result;
    } while (written < range.count);
    return 0;
}

} // namespace

int writeExportWorkbook(const std::string& path, const CDataTable& table,
                        const std::vector<std::string>& titles, ExportRange range,
                        const WorkbookProgress& progress, std::size_t rowsPerSheet)
{
    if (titles.size() + 2 > kSheetColumnLimit)
        return EOVERFLOW;
    range.first = std::min(range.first, table.rowCount());
    range.count = std::min(range.count, table.rowCount() - range.first);
    rowsPerSheet = std::clamp<std::size_t>(rowsPerSheet, 1, kSheetDataRows);

    CCLocaleScope cLocale;
    CQuietStandardError quiet;
    // The sheets' temporary files go beside the workbook: a disk too full for them is then
    // also too full for the workbook.
    std::filesystem::path parent = std::filesystem::path(path).parent_path();
    std::string folder = parent.empty() ? std::string(1, '.') : parent.string();
    lxw_workbook_options options{};
    options.constant_memory = LXW_TRUE;
    options.tmpdir = folder.data();
    errno = 0;
    CWorkbookHandle book(workbook_new_opt(path.c_str(), &options));
    int result = book.get() ? writeSheets(book.get(), table, titles, range, progress, rowsPerSheet)
                            : lastErrno();
    if (result == 0) {
        errno = 0;
        if (workbook_close(book.release()) != LXW_NO_ERROR)
            result = lastErrno();
    }
    return result;
}

int convertToWorkbook(const CDataTable& table, const std::string& path)
{
    return writeExportWorkbook(path, table, csvFieldTitles(table), {0, table.rowCount()});
}

bool isWorkbookPath(std::string_view path)
{
    constexpr std::string_view kExtension = ".xlsx";
    if (path.size() < kExtension.size())
        return false;
    std::string_view end = path.substr(path.size() - kExtension.size());
    return std::equal(end.begin(), end.end(), kExtension.begin(), [](char a, char b) {
        return (a >= 'A' && a <= 'Z' ? a - 'A' + 'a' : a) == b;
    });
}

int createTemporaryWorkbook(std::string& path)
{
    std::error_code error;
    std::filesystem::path folder = std::filesystem::temp_directory_path(error);
    if (error)
        return error.value();
    std::string name = (folder / "Ventora-export-XXXXXX.xlsx").string();
    int fd = ::mkstemps(name.data(), 5);
    if (fd < 0)
        return lastErrno();
    ::close(fd);
    path = name;
    return 0;
}

std::string workbookErrorText(int code)
{
    if (code == EOVERFLOW)
        return "the data do not fit a worksheet (at most 16,384 columns and 32,767 characters "
               "a cell)";
    return std::strerror(code);
}
