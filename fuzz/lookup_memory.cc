// Looks one entry up in a launch.ini on disk, the way the launcher reads it,
// and prints the peak resident memory of the process. Used by
// measure-memory.sh to show that memory follows neither the size of the
// file nor its longest line.
//
//   lookup_memory FILE SECTION KEY
#include <sys/resource.h>

#include <cstdio>
#include <filesystem>
#include <string>

#include "config/launch_entry.h"
#include "platform/simulated/simulated_host.h"

int main(int argc, char** argv) {
  if (argc != 4) {
    std::fprintf(stderr, "usage: %s FILE SECTION KEY\n", argv[0]);
    return 2;
  }
  const std::filesystem::path file = std::filesystem::absolute(argv[1]);
  platform::SimulatedHost host;
  host.MapDirectory("C:\\Disc", file.parent_path());
  const std::string value =
      checker::ReadLaunchEntry(host, "C:\\Disc\\" + file.filename().string(), argv[2], argv[3]);

  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  std::printf("value_bytes=%zu peak_rss_kib=%ld\n", value.size(), usage.ru_maxrss);
  return 0;
}
