#include "platform/line_reader.h"

#include <cstring>

namespace platform {

LineReader::LineReader(Source source, size_t chunk_size)
    : source_(std::move(source)), capacity_(chunk_size > 0 ? chunk_size : 1) {
  buffer_ = std::make_unique_for_overwrite<char[]>(capacity_);
}

Result<bool> LineReader::Fill() {
  if (source_done_) return false;
  if (begin_ > 0) {
    std::memmove(buffer_.get(), buffer_.get() + begin_, end_ - begin_);
    end_ -= begin_;
    begin_ = 0;
  }
  if (end_ == capacity_) {
    // A line longer than the buffer: room for twice as much.
    auto larger = std::make_unique_for_overwrite<char[]>(capacity_ * 2);
    std::memcpy(larger.get(), buffer_.get(), end_);
    buffer_ = std::move(larger);
    capacity_ *= 2;
  }
  Result<size_t> count = source_(buffer_.get() + end_, capacity_ - end_);
  if (!count.ok()) return count.TakeFailure();
  if (*count == 0) {
    source_done_ = true;
    return false;
  }
  end_ += *count;
  return true;
}

Status LineReader::SkipPendingLineFeed() {
  if (!line_feed_pending_) return {};
  if (begin_ == end_) {
    Result<bool> filled = Fill();
    if (!filled.ok()) return filled.TakeFailure();
    if (!*filled) return {};
  }
  line_feed_pending_ = false;
  if (buffer_[begin_] == '\n') ++begin_;
  return {};
}

Result<bool> LineReader::AtEndOfStream() {
  if (Status skipped = SkipPendingLineFeed(); !skipped.ok()) return skipped.TakeFailure();
  if (begin_ != end_) return false;
  Result<bool> filled = Fill();
  if (!filled.ok()) return filled.TakeFailure();
  return !*filled;
}

Result<std::string_view> LineReader::ReadLineAcrossFills() {
  if (Status skipped = SkipPendingLineFeed(); !skipped.ok()) return skipped.TakeFailure();
  size_t searched = begin_;
  for (;;) {
    const void* found = std::memchr(buffer_.get() + searched, '\r', end_ - searched);
    if (found != nullptr) {
      const size_t cr = static_cast<const char*>(found) - buffer_.get();
      const std::string_view line(buffer_.get() + begin_, cr - begin_);
      begin_ = cr + 1;
      line_feed_pending_ = true;
      return line;
    }
    const size_t scanned = end_ - begin_;
    Result<bool> filled = Fill();
    if (!filled.ok()) return filled.TakeFailure();
    if (!*filled) {
      const std::string_view line(buffer_.get() + begin_, end_ - begin_);
      begin_ = end_;
      return line;
    }
    searched = begin_ + scanned;  // Fill may have moved the kept bytes
  }
}

}  // namespace platform
