#ifndef LAUNCHER_PLATFORM_LINE_READER_H_
#define LAUNCHER_PLATFORM_LINE_READER_H_

#include <cstddef>
#include <cstring>
#include <functional>
#include <memory>
#include <string_view>

#include "platform/result.h"

namespace platform {

// Splits a byte stream into lines the way every host reads text: a line ends
// at a carriage return or at a carriage return followed by a line feed; a
// lone line feed is an ordinary byte. Memory grows with the longest line,
// never with the size of the stream.
class LineReader {
 public:
  // Fills up to `size` bytes at `buffer` and gives how many; 0 at the end.
  // A failure when the stream cannot be read.
  using Source = std::function<Result<size_t>(char* buffer, size_t size)>;

  explicit LineReader(Source source, size_t chunk_size = 64 * 1024);

  // True when no byte is left; a failure of the source passes up.
  Result<bool> AtEnd() {
    if (SkipBufferedLineFeed()) return false;
    return AtEndOfStream();
  }

  // The next line, without its terminator, valid until the next call. At
  // the end, the empty text. A failure of the source passes up.
  Result<std::string_view> ReadLine() {
    // Most lines end inside the buffer: found here without a call.
    if (SkipBufferedLineFeed()) {
      const char* begin = buffer_.get() + begin_;
      if (const void* found = std::memchr(begin, '\r', end_ - begin_)) {
        const size_t length = static_cast<size_t>(static_cast<const char*>(found) - begin);
        begin_ += length + 1;
        line_feed_pending_ = true;
        return std::string_view(begin, length);
      }
    }
    return ReadLineAcrossFills();
  }

 private:
  // Drops a pending line feed when the byte after the carriage return is
  // already buffered; true when a byte of the next line is buffered then.
  bool SkipBufferedLineFeed() {
    if (begin_ == end_) return false;
    if (line_feed_pending_) {
      line_feed_pending_ = false;
      if (buffer_[begin_] == '\n' && ++begin_ == end_) return false;
    }
    return true;
  }
  Result<bool> AtEndOfStream();
  Result<std::string_view> ReadLineAcrossFills();
  // Reads more bytes after those kept; false at the end of the stream.
  Result<bool> Fill();
  // Drops a line feed that follows the last carriage return, once it is known.
  Status SkipPendingLineFeed();

  Source source_;
  // Left uninitialised: only bytes the source filled are ever looked at.
  std::unique_ptr<char[]> buffer_;
  size_t capacity_;
  size_t begin_ = 0;  // first unread byte
  size_t end_ = 0;    // one past the last byte read
  bool source_done_ = false;
  bool line_feed_pending_ = false;
};

}  // namespace platform

#endif  // LAUNCHER_PLATFORM_LINE_READER_H_
