#include "bench/raw_read.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <system_error>

namespace bench {

size_t RawRead(const std::string& path, std::vector<char>& buffer) {
  const int fd = open(path.c_str(), O_RDONLY);
  if (fd < 0) throw std::system_error(errno, std::generic_category(), path);
  size_t total = 0;
  for (;;) {
    const ssize_t count = read(fd, buffer.data(), buffer.size());
    if (count < 0) {
      if (errno == EINTR) continue;
      const int error = errno;
      close(fd);
      throw std::system_error(error, std::generic_category(), path);
    }
    if (count == 0) break;
    total += static_cast<size_t>(count);
  }
  close(fd);
  return total;
}

}  // namespace bench
