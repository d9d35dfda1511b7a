#ifndef LAUNCHER_PLATFORM_LINE_READER_H_
#define LAUNCHER_PLATFORM_LINE_READER_H_

#include <cstddef>
#include <functional>
#include <string_view>
#include <vector>

namespace platform {

// Splits a byte stream into lines the way every host reads text: a line ends
// at a carriage return or at a carriage return followed by a line feed; a
// lone line feed is an ordinary byte. Memory grows with the longest line,
// never with the size of the stream.
class LineReader {
 public:
  // Fills up to `size` bytes at `buffer` and gives how many; 0 at the end.
  // Raises Failure when the stream cannot be read.
  using Source = std::function<size_t(char* buffer, size_t size)>;

  explicit LineReader(Source source, size_t chunk_size = 64 * 1024);

  // True when no byte is left.
  bool AtEnd();

  // The next line, without its terminator, valid until the next call. At
  // the end, the empty text.
  std::string_view ReadLine();

 private:
  // Reads more bytes after those kept; false at the end of the stream.
  bool Fill();
  // Drops a line feed that follows the last carriage return, once it is known.
  void SkipPendingLineFeed();

  Source source_;
  std::vector<char> buffer_;
  size_t begin_ = 0;  // first unread byte
  size_t end_ = 0;    // one past the last byte read
  bool source_done_ = false;
  bool line_feed_pending_ = false;
};

}  // namespace platform

#endif  // LAUNCHER_PLATFORM_LINE_READER_H_
