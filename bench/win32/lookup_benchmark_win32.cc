// The launch.ini lookup on Windows (or Wine): checker::ReadLaunchEntry on
// the Win32 host against GetPrivateProfileStringA, on the same generated
// files (bench/launch_ini_corpus.h) of 1 KiB, 1 MiB and 64 MiB with the
// sought entry at the start, in the middle, at the end, or absent. Each case
// is timed with QueryPerformanceCounter over repeated calls; the report gives
// the median and the minimum, and the platform reader's first call apart,
// since the system may keep a parsed copy of a profile file between calls.
//
// The two readers do not agree on every line: GetPrivateProfileStringA
// trims blanks around keys and values and keeps a section open across a
// "[" inside a value, so it also takes the " 11=" and "11 =" lines that the
// launcher ignores. The "same" column says whether both gave the same value.
//
//   lookup_benchmark_win32 [ROUNDS_SCALE]
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "bench/launch_ini_corpus.h"
#include "bench/win32/sample_stats.h"
#include "config/launch_entry.h"
#include "platform/win32/win32_host.h"

namespace {

double Now() {
  LARGE_INTEGER frequency;
  LARGE_INTEGER counter;
  ::QueryPerformanceFrequency(&frequency);
  ::QueryPerformanceCounter(&counter);
  return static_cast<double>(counter.QuadPart) / static_cast<double>(frequency.QuadPart);
}

[[noreturn]] void Fail(const std::string& what) {
  std::fprintf(stderr, "lookup_benchmark_win32: %s (error %lu)\n", what.c_str(), ::GetLastError());
  std::exit(1);
}

void WriteWholeFile(const std::string& path, const std::string& bytes) {
  HANDLE file = ::CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) Fail("cannot create " + path);
  DWORD written = 0;
  const BOOL ok =
      ::WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
  ::CloseHandle(file);
  if (!ok || written != bytes.size()) Fail("cannot write " + path);
}

std::string ProfileValue(const std::string& path) {
  std::vector<char> value(4096);
  const DWORD length =
      ::GetPrivateProfileStringA(bench::kSoughtSection, bench::kSoughtKey, "", value.data(),
                                 static_cast<DWORD>(value.size()), path.c_str());
  return std::string(value.data(), length);
}

std::string Rate(size_t bytes, double seconds) {
  char text[32];
  const double rate = seconds > 0 ? static_cast<double>(bytes) / seconds : 0;
  if (rate >= 1e9) {
    std::snprintf(text, sizeof(text), "%.2f GB/s", rate / 1e9);
  } else {
    std::snprintf(text, sizeof(text), "%.1f MB/s", rate / 1e6);
  }
  return text;
}

}  // namespace

int main(int argc, char** argv) {
  const int scale = argc > 1 ? std::atoi(argv[1]) : 1;
  char temp[MAX_PATH];
  const DWORD temp_length = ::GetTempPathA(MAX_PATH, temp);
  if (temp_length == 0 || temp_length >= MAX_PATH) Fail("cannot find the temp directory");
  const std::string directory =
      std::string(temp, temp_length) + "launcher-bench-" + std::to_string(::GetCurrentProcessId());
  if (!::CreateDirectoryA(directory.c_str(), nullptr)) Fail("cannot create " + directory);

  std::unique_ptr<platform::Host> host = platform::NewWin32Host();
  struct Size {
    const char* name;
    size_t bytes;
    int runs;
  };
  const Size sizes[] = {{"1KiB", 1024, 200}, {"1MiB", 1 << 20, 20}, {"64MiB", 64 << 20, 3}};
  const bench::MatchPlace places[] = {bench::MatchPlace::kStart, bench::MatchPlace::kMiddle,
                                      bench::MatchPlace::kEnd, bench::MatchPlace::kAbsent};

  std::printf("%-14s %12s %12s %12s %14s %14s %14s %9s %5s\n", "case", "lookup med us",
              "lookup min us", "lookup rate", "profile 1st us", "profile med us", "profile rate",
              "vs prof.", "same");
  for (const Size& size : sizes) {
    for (bench::MatchPlace place : places) {
      const bench::Corpus corpus = bench::MakeLaunchIni(size.bytes, place);
      const std::string path =
          directory + "\\" + size.name + "-" + bench::MatchPlaceName(place) + ".ini";
      WriteWholeFile(path, corpus.bytes);
      const std::string expected = place == bench::MatchPlace::kAbsent ? "" : bench::kSoughtValue;

      std::vector<double> lookup;
      std::vector<double> profile;
      std::string lookup_value;
      std::string profile_value;
      double profile_first = 0;
      for (int run = 0; run < size.runs * scale; ++run) {
        double start = Now();
        lookup_value =
            checker::ReadLaunchEntry(*host, path, bench::kSoughtSection, bench::kSoughtKey);
        lookup.push_back(Now() - start);
        if (lookup_value != expected) Fail("the lookup gave \"" + lookup_value + "\" in " + path);

        start = Now();
        profile_value = ProfileValue(path);
        const double elapsed = Now() - start;
        if (run == 0) {
          profile_first = elapsed;
        } else {
          profile.push_back(elapsed);
        }
      }
      const bench::SampleSummary ours = bench::Summarise(lookup);
      const bench::SampleSummary theirs = bench::Summarise(profile);
      const std::string name = std::string(size.name) + "/" + bench::MatchPlaceName(place);
      std::printf("%-14s %12.1f %12.1f %12s %14.1f %14.1f %14s %8.2fx %5s\n", name.c_str(),
                  ours.median * 1e6, ours.min * 1e6,
                  Rate(corpus.bytes_to_match, ours.median).c_str(), profile_first * 1e6,
                  theirs.median * 1e6, Rate(corpus.bytes.size(), profile_first).c_str(),
                  ours.median > 0 ? profile_first / ours.median : 0.0,
                  profile_value == lookup_value ? "yes" : "no");
      std::fflush(stdout);
      ::DeleteFileA(path.c_str());
    }
  }
  ::RemoveDirectoryA(directory.c_str());
  std::printf(
      "lookup: checker::ReadLaunchEntry on the Win32 host; rate = bytes up to the end of the\n"
      "matching line (whole file when absent) / median time. profile: GetPrivateProfileStringA;\n"
      "1st = its first call on the file, med = median of the later calls; rate = file size / 1st.\n"
      "vs prof. = profile 1st / lookup median. same: both readers gave the same value.\n");
  return 0;
}
