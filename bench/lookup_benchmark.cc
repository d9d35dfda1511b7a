// The launch.ini lookup against the plain way of writing it and against the
// bare reading of the same file, on generated files of 1 KiB, 1 MiB and
// 64 MiB with the sought entry at the start, in the middle, at the end and
// nowhere. Run by bench/run.sh; the README explains the figures.
//
//   lookup_benchmark [--data_dir=DIR] [benchmark flags]
//
// The files are written to DIR (default: a directory under the system's
// temporary directory) one at a time, as the cases need them, and removed
// at the end.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <map>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "bench/heap_peak.h"
#include "bench/launch_ini_corpus.h"
#include "bench/line_scan.h"
#include "bench/plain_lookup.h"
#include "bench/raw_read.h"
#include "config/launch_entry.h"
#include "platform/simulated/simulated_host.h"

namespace bench {
namespace {

namespace fs = std::filesystem;

constexpr char kDiscDirectory[] = "E:\\";
constexpr char kDiscFile[] = "E:\\launch.ini";
constexpr size_t kChunk = 64 * 1024;  // what LineReader reads at a time

struct CaseShape {
  std::string size_name;
  size_t size;
  MatchPlace place;
  size_t long_line = 0;

  std::string Name() const {
    std::string name = size_name + "/" + MatchPlaceName(place);
    if (long_line > 0) name += "/line-" + std::to_string(long_line / 1024) + "KiB";
    return name;
  }
};

// The file of one case, on disk and in the hosts that read it. Only one is
// kept at a time: the cases run in the order they were registered, grouped
// by file, so that each file is made once.
struct CaseFiles {
  CaseShape shape;
  Corpus corpus;
  fs::path native;
  platform::SimulatedHost memory_host;  // the file held in memory
  platform::SimulatedHost mapped_host;  // the file read from disk
};

fs::path data_directory;
std::unique_ptr<CaseFiles> current;

CaseFiles& Files(const CaseShape& shape) {
  if (current != nullptr && current->shape.Name() == shape.Name()) return *current;
  if (current != nullptr) fs::remove(current->native);
  current.reset();
  auto files = std::make_unique<CaseFiles>();
  files->shape = shape;
  files->corpus = MakeLaunchIni(shape.size, shape.place, shape.long_line);
  const fs::path case_directory = data_directory / "case";
  fs::create_directories(case_directory);
  files->native = case_directory / "launch.ini";
  if (std::FILE* out = std::fopen(files->native.c_str(), "wb")) {
    const std::string& bytes = files->corpus.bytes;
    const bool written = std::fwrite(bytes.data(), 1, bytes.size(), out) == bytes.size();
    if (std::fclose(out) != 0 || !written)
      throw std::runtime_error("cannot write " + files->native.string());
  } else {
    throw std::runtime_error("cannot create " + files->native.string());
  }
  files->memory_host.AddFile(kDiscFile, files->corpus.bytes);
  files->mapped_host.MapDirectory(kDiscDirectory, case_directory);
  current = std::move(files);
  return *current;
}

std::string Expected(const CaseShape& shape) {
  return shape.place == MatchPlace::kAbsent ? "" : kSoughtValue;
}

void Report(benchmark::State& state, const CaseFiles& files, size_t bytes_per_run,
            size_t heap_peak) {
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * bytes_per_run));
  state.counters["heap_peak"] = static_cast<double>(heap_peak);
  state.counters["longest_line"] = static_cast<double>(files.corpus.longest_line);
}

// checker::ReadLaunchEntry on a simulated host, reading from disk (`mapped`)
// or from memory.
void Lookup(benchmark::State& state, const CaseShape& shape, bool mapped) {
  CaseFiles& files = Files(shape);
  platform::Host& host = mapped ? static_cast<platform::Host&>(files.mapped_host)
                                : static_cast<platform::Host&>(files.memory_host);
  const std::string expected = Expected(shape);
  for (auto _ : state) {
    std::string value = checker::ReadLaunchEntry(host, kDiscFile, kSoughtSection, kSoughtKey);
    benchmark::DoNotOptimize(value);
    if (value != expected) {
      state.SkipWithError("the lookup gave the wrong value");
      return;
    }
  }
  HeapPeak heap;
  checker::ReadLaunchEntry(host, kDiscFile, kSoughtSection, kSoughtKey);
  Report(state, files, files.corpus.bytes_to_match, heap.peak());
}

void Plain(benchmark::State& state, const CaseShape& shape) {
  CaseFiles& files = Files(shape);
  const std::string expected = Expected(shape);
  for (auto _ : state) {
    std::string value = PlainLookup(files.native, kSoughtSection, kSoughtKey);
    benchmark::DoNotOptimize(value);
    if (value != expected) {
      state.SkipWithError("the plain lookup gave the wrong value");
      return;
    }
  }
  HeapPeak heap;
  PlainLookup(files.native, kSoughtSection, kSoughtKey);
  Report(state, files, files.corpus.bytes_to_match, heap.peak());
}

void Raw(benchmark::State& state, const CaseShape& shape) {
  CaseFiles& files = Files(shape);
  std::vector<char> buffer(kChunk);
  for (auto _ : state) {
    const size_t count = RawRead(files.native, buffer);
    benchmark::DoNotOptimize(buffer.data());
    if (count != shape.size) {
      state.SkipWithError("the file changed size");
      return;
    }
  }
  size_t heap_peak = 0;
  {
    HeapPeak heap;
    std::vector<char> own(kChunk);
    RawRead(files.native, own);
    heap_peak = heap.peak();
  }
  Report(state, files, shape.size, heap_peak);
}

// The floor of reading line by line: the bytes held in memory, two memchr
// per line, nothing else.
void Scan(benchmark::State& state, const CaseShape& shape) {
  CaseFiles& files = Files(shape);
  for (auto _ : state) {
    const size_t count = CountBracketLines(files.corpus.bytes);
    benchmark::DoNotOptimize(count);
    if (count == 0) {
      state.SkipWithError("the file has no header");
      return;
    }
  }
  Report(state, files, shape.size, 0);
}

void Register(const CaseShape& shape, bool with_floors) {
  const std::string name = shape.Name();
  if (with_floors) {
    benchmark::RegisterBenchmark((shape.size_name + "/raw_read").c_str(), Raw, shape);
    benchmark::RegisterBenchmark((shape.size_name + "/line_scan").c_str(), Scan, shape);
  }
  benchmark::RegisterBenchmark((name + "/lookup_file").c_str(), Lookup, shape, true);
  benchmark::RegisterBenchmark((name + "/lookup_memory").c_str(), Lookup, shape, false);
  benchmark::RegisterBenchmark((name + "/plain_file").c_str(), Plain, shape);
}

// Prints the usual table, then the figures the goals are about: how fast the
// lookup reads against the bare read and against the plain lookup.
class SummaryReporter : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& runs) override {
    ConsoleReporter::ReportRuns(runs);
    for (const Run& run : runs) {
      if (run.error_occurred) continue;
      // With repetitions, the medians; else the single runs.
      const bool wanted = run.repetitions > 1
                              ? run.run_type == Run::RT_Aggregate && run.aggregate_name == "median"
                              : run.run_type == Run::RT_Iteration;
      if (!wanted) continue;
      std::string name = run.run_name.function_name;
      const size_t slash = name.rfind('/');
      Figure& figure = figures_[name.substr(0, slash)][name.substr(slash + 1)];
      figure.bytes_per_second = Counter(run, "bytes_per_second");
      figure.heap_peak = Counter(run, "heap_peak");
      figure.longest_line = Counter(run, "longest_line");
      figure.microseconds = run.GetAdjustedCPUTime() * Microseconds(run.time_unit);
    }
  }

  void Finalize() override {
    ConsoleReporter::Finalize();
    std::printf("\n%-24s %10s %11s %11s %11s %11s %11s %7s %8s %9s %9s %9s\n", "case", "lookup us",
                "lookup", "in memory", "raw read", "line scan", "plain", "vs raw", "vs plain",
                "heap KiB", "plain KiB", "line KiB");
    for (const auto& [group, methods] : figures_) {
      const Figure* lookup = Find(group, "lookup_file");
      const Figure* plain = Find(group, "plain_file");
      if (lookup == nullptr || plain == nullptr) continue;
      const std::string size_name = group.substr(0, group.find('/'));
      const Figure* memory = Find(group, "lookup_memory");
      const Figure* raw = Find(size_name, "raw_read");
      const Figure* scan = Find(size_name, "line_scan");
      std::printf("%-24s %10.1f %11s %11s %11s %11s %11s %6.2fx %7.2fx %9.1f %9.1f %9.1f\n",
                  group.c_str(), lookup->microseconds, Rate(lookup).c_str(), Rate(memory).c_str(),
                  Rate(raw).c_str(), Rate(scan).c_str(), Rate(plain).c_str(),
                  raw != nullptr ? lookup->bytes_per_second / raw->bytes_per_second : 0.0,
                  plain->microseconds / lookup->microseconds, lookup->heap_peak / 1024,
                  plain->heap_peak / 1024, lookup->longest_line / 1024);
    }
    std::printf(
        "\nlookup: checker::ReadLaunchEntry on the simulated host, reading the file from disk"
        "\n  (in memory: the same with the file held by the host); raw read: read() of the whole"
        "\n  file, 64 KiB at a time; line scan: two memchr per line over the bytes in memory;"
        "\n  plain: std::getline, lower-cased copy, compare. Rates: bytes up to the match per"
        "\n  CPU second (raw read and line scan: the whole file). vs raw: lookup rate / raw read"
        "\n  rate; vs plain: plain time / lookup time. heap: peak bytes held during one lookup.\n");
  }

 private:
  struct Figure {
    double bytes_per_second = 0;
    double heap_peak = 0;
    double longest_line = 0;
    double microseconds = 0;
  };

  static double Counter(const Run& run, const char* name) {
    const auto found = run.counters.find(name);
    return found == run.counters.end() ? 0 : found->second.value;
  }

  static double Microseconds(benchmark::TimeUnit unit) {
    switch (unit) {
      case benchmark::kNanosecond:
        return 1e-3;
      case benchmark::kMicrosecond:
        return 1;
      case benchmark::kMillisecond:
        return 1e3;
      case benchmark::kSecond:
        return 1e6;
    }
    return 1;
  }

  const Figure* Find(const std::string& group, const std::string& method) const {
    const auto found_group = figures_.find(group);
    if (found_group == figures_.end()) return nullptr;
    const auto found = found_group->second.find(method);
    return found == found_group->second.end() ? nullptr : &found->second;
  }

  static std::string Rate(const Figure* figure) {
    if (figure == nullptr) return "-";
    const double bytes_per_second = figure->bytes_per_second;
    char text[32];
    std::snprintf(text, sizeof text, "%.2f GB/s", bytes_per_second / 1e9);
    if (bytes_per_second < 1e9)
      std::snprintf(text, sizeof text, "%.1f MB/s", bytes_per_second / 1e6);
    return text;
  }

  std::map<std::string, std::map<std::string, Figure>> figures_;
};

}  // namespace
}  // namespace bench

int main(int argc, char** argv) {
  namespace fs = std::filesystem;
  // Our own flag first: the library rejects flags it does not know.
  std::vector<char*> arguments;
  bool own_directory = false;
  for (int i = 0; i < argc; ++i) {
    constexpr char kFlag[] = "--data_dir=";
    if (std::strncmp(argv[i], kFlag, sizeof kFlag - 1) == 0) {
      bench::data_directory = argv[i] + sizeof kFlag - 1;
    } else {
      arguments.push_back(argv[i]);
    }
  }
  if (bench::data_directory.empty()) {
    bench::data_directory =
        fs::temp_directory_path() / ("launcher-lookup-bench-" + std::to_string(getpid()));
    own_directory = true;
  }
  int count = static_cast<int>(arguments.size());
  benchmark::Initialize(&count, arguments.data());
  if (benchmark::ReportUnrecognizedArguments(count, arguments.data())) return 2;

  using bench::MatchPlace;
  const struct {
    const char* name;
    size_t size;
  } sizes[] = {{"1KiB", 1024}, {"1MiB", 1024 * 1024}, {"64MiB", 64 * 1024 * 1024}};
  for (const auto& size : sizes) {
    bool with_raw = true;
    for (MatchPlace place :
         {MatchPlace::kAbsent, MatchPlace::kEnd, MatchPlace::kMiddle, MatchPlace::kStart}) {
      bench::Register({size.name, size.size, place}, with_raw);
      with_raw = false;
    }
  }
  // Memory follows the longest line, not the file.
  bench::Register({"64MiB", 64 * 1024 * 1024, MatchPlace::kEnd, 1024 * 1024}, false);

  bench::SummaryReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  benchmark::Shutdown();
  bench::current.reset();
  std::error_code error;
  fs::remove(bench::data_directory / "case" / "launch.ini", error);
  fs::remove(bench::data_directory / "case", error);
  if (own_directory) fs::remove(bench::data_directory, error);
  return 0;
}
