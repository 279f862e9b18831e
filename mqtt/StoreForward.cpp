#include "mqtt/StoreForward.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "files/RecordingWriter.h"

namespace {

constexpr std::size_t kChunk = 1 << 16;
constexpr auto kSavePause = std::chrono::seconds(1);

std::string nameOf(const std::string& path)
{
    const auto slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

// The parts of a daily name around its "-YYYYMMDD": "dump" and ".ivt" for "dump.ivt".
std::pair<std::string, std::string> dailyParts(const std::string& name)
{
    std::size_t dot = name.rfind('.');
    if (dot == std::string::npos || dot == 0)
        dot = name.size();
    return {name.substr(0, dot), name.substr(dot)};
}

bool isDailyName(const std::string& name, const std::pair<std::string, std::string>& parts)
{
    const auto& [stem, extension] = parts;
    if (name.size() != stem.size() + 9 + extension.size() || !name.starts_with(stem) ||
        !name.ends_with(extension) || name[stem.size()] != '-')
        return false;
    return std::all_of(name.begin() + static_cast<long>(stem.size()) + 1,
                       name.begin() + static_cast<long>(stem.size()) + 9,
                       [](char c) { return c >= '0' && c <= '9'; });
}

// A line of the recording layout, without its line end: date-time, '#', the data text.
bool splitRecordingLine(std::string_view line, std::string_view& time, std::string_view& text)
{
    while (!line.empty() && line.back() == '\r')
        line.remove_suffix(1);
    if (line.size() != 20 + kDataTextLength || line[19] != '#')
        return false;
    time = line.substr(0, 19);
    text = line.substr(20);
    return makesRecordingLine(text);
}

} // namespace

CStoreForward::CStoreForward(Files files, int window, Log log)
    : files_(std::move(files)), window_(static_cast<std::size_t>(std::max(window, 1))),
      log_(std::move(log))
{
}

std::string CStoreForward::folder() const
{
    const auto slash = files_.path.rfind('/');
    return slash == std::string::npos ? std::string() : files_.path.substr(0, slash + 1);
}

std::string CStoreForward::pathOf(const std::string& name) const { return folder() + name; }

int CStoreForward::start()
{
    PublishCursor cursor;
    const int error = loadPublishCursor(cursorPath(), cursor);
    if (error == ENOENT) {
        cursor = {nameOf(files_.currentPath), 0, 0};
        log_("publishing " + pathOf(cursor.file) + " from its start");
    } else if (error != 0) {
        log_("cannot read the publishing cursor " + cursorPath() + ": " +
             (error == EINVAL ? std::string("it is damaged") : std::strerror(error)) +
             " (remove it to publish the recording from its start)");
        return error;
    } else {
        log_("publishing " + pathOf(cursor.file) + " from byte " + std::to_string(cursor.offset) +
             " (seq " + std::to_string(cursor.seq + 1) + ")");
    }
    cursor_ = cursor;
    saved_ = error == 0 ? cursor : PublishCursor{};
    moveTo(cursor.file, cursor.offset, cursor.seq + 1);
    highFile_ = cursor.file;
    highOffset_ = cursor.offset;
    return 0;
}

void CStoreForward::moveTo(const std::string& name, std::uint64_t offset, std::uint64_t seq)
{
    readFile_ = name;
    readOffset_ = offset;
    buffer_.clear();
    nextSeq_ = seq;
}

std::optional<std::string> CStoreForward::nextFile(const std::string& name) const
{
    if (!files_.daily)
        return std::nullopt;
    const auto parts = dailyParts(nameOf(files_.path));
    const std::string where = folder().empty() ? "." : folder();
    DIR* dir = ::opendir(where.c_str());
    if (!dir)
        return std::nullopt;
    std::optional<std::string> best;
    while (const dirent* entry = ::readdir(dir)) {
        const std::string candidate = entry->d_name;
        if (isDailyName(candidate, parts) && candidate > name && (!best || candidate < *best))
            best = candidate;
    }
    ::closedir(dir);
    return best;
}

bool CStoreForward::fill()
{
    const int fd = ::open(pathOf(readFile_).c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return false;
    struct stat info {};
    const std::uint64_t want = readOffset_ + buffer_.size();
    if (::fstat(fd, &info) == 0 && static_cast<std::uint64_t>(info.st_size) < want) {
        // Emptied or replaced: what it holds now is new.
        log_(pathOf(readFile_) + " is shorter than what was published of it; publishing it "
                                 "from its start");
        ::close(fd);
        moveTo(readFile_, 0, nextSeq_);
        if (inFlight_.empty())
            cursor_ = {readFile_, 0, nextSeq_ - 1};
        highOffset_ = 0;
        return true;
    }
    const std::size_t had = buffer_.size();
    buffer_.resize(had + kChunk);
    ssize_t got = 0;
    do {
        got = ::pread(fd, buffer_.data() + had, kChunk, static_cast<off_t>(want));
    } while (got < 0 && errno == EINTR);
    ::close(fd);
    buffer_.resize(had + static_cast<std::size_t>(std::max<ssize_t>(got, 0)));
    return got > 0;
}

bool CStoreForward::beyondHighWater() const
{
    return readFile_ > highFile_ || (readFile_ == highFile_ && readOffset_ > highOffset_);
}

std::optional<CStoreForward::Line> CStoreForward::next()
{
    if (windowFull() || handedOut_)
        return std::nullopt;
    for (;;) {
        const auto end = buffer_.find('\n');
        if (end != std::string::npos) {
            std::string_view time, text;
            const bool valid = splitRecordingLine(std::string_view(buffer_).substr(0, end), time,
                                                  text);
            std::optional<Line> line;
            if (valid)
                line = Line{std::string(time), std::string(text), nextSeq_, false};
            const std::uint64_t start = readOffset_;
            buffer_.erase(0, end + 1);
            readOffset_ += end + 1;
            if (!line)
                continue; // not a line of the recording: skipped, and the cursor passes it
            line->fresh = beyondHighWater();
            if (line->fresh) {
                highFile_ = readFile_;
                highOffset_ = readOffset_;
            }
            handedOut_ = Flight{0, nextSeq_++, readFile_, start, readOffset_, false};
            return line;
        }
        if (buffer_.size() >= kChunk * 4) {
            // No line end in 256 KiB (a damaged file): passed over, or publishing would stop.
            readOffset_ += buffer_.size();
            buffer_.clear();
            continue;
        }
        if (fill())
            continue;
        const auto following = nextFile(readFile_);
        if (!following)
            return std::nullopt;
        // The recorder has moved on: this file is complete (a cut last line is left behind).
        moveTo(*following, 0, nextSeq_);
        if (inFlight_.empty() && !handedOut_)
            cursor_ = {readFile_, 0, nextSeq_ - 1};
    }
}

void CStoreForward::sent(int mid)
{
    if (!handedOut_)
        return;
    handedOut_->mid = mid;
    inFlight_.push_back(*handedOut_);
    handedOut_.reset();
}

void CStoreForward::unsend()
{
    if (!handedOut_)
        return;
    const Flight line = *handedOut_;
    handedOut_.reset();
    moveTo(line.file, line.start, line.seq);
}

void CStoreForward::acknowledged(int mid)
{
    const auto flight = std::find_if(inFlight_.begin(), inFlight_.end(),
                                     [mid](const Flight& f) { return f.mid == mid; });
    if (flight == inFlight_.end())
        return;
    flight->acked = true;
    bool moved = false;
    while (!inFlight_.empty() && inFlight_.front().acked) {
        const Flight& done = inFlight_.front();
        cursor_ = {done.file, done.end, done.seq};
        inFlight_.pop_front();
        moved = true;
    }
    if (moved && std::chrono::steady_clock::now() - savedAt_ >= kSavePause)
        save();
}

void CStoreForward::rewind()
{
    handedOut_.reset();
    inFlight_.clear();
    moveTo(cursor_.file, cursor_.offset, cursor_.seq + 1);
}

int CStoreForward::save()
{
    if (cursor_ == saved_)
        return 0;
    const int error = savePublishCursor(cursorPath(), cursor_);
    savedAt_ = std::chrono::steady_clock::now();
    if (error == 0)
        saved_ = cursor_;
    else
        log_("cannot save the publishing cursor " + cursorPath() + ": " + std::strerror(error));
    return error;
}
