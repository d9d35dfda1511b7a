// Times whole programs under Windows (or Wine) from the moment they are
// started to the moment the program they start runs (bench_child.exe sets
// an event). The programs take turns, one run each per round, so that a
// change in the machine's load falls on all of them alike; the report gives
// each one's median and minimum and, for the first program, the median of
// its paired ratio to each of the others.
//
//   startup_benchmark ROUNDS PROGRAM...
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "bench/win32/child_signal.h"
#include "bench/win32/sample_stats.h"

namespace {

double Seconds(LARGE_INTEGER from, LARGE_INTEGER to) {
  LARGE_INTEGER frequency;
  ::QueryPerformanceFrequency(&frequency);
  return static_cast<double>(to.QuadPart - from.QuadPart) / static_cast<double>(frequency.QuadPart);
}

[[noreturn]] void Fail(const std::string& what) {
  std::fprintf(stderr, "startup_benchmark: %s (error %lu)\n", what.c_str(), ::GetLastError());
  std::exit(1);
}

std::string DirectoryOf(const std::string& path) {
  const size_t slash = path.find_last_of('\\');
  return slash == std::string::npos ? std::string(".") : path.substr(0, slash);
}

// One run: milliseconds from CreateProcessA to the child's event. Waits for
// every process of the run (in a job) to end before it returns, so that runs
// never overlap.
double TimeOneStart(const std::string& program, HANDLE started) {
  HANDLE job = ::CreateJobObjectA(nullptr, nullptr);
  if (job == nullptr) Fail("cannot create a job");
  ::ResetEvent(started);
  std::string command_line = "\"" + program + "\"";
  const std::string directory = DirectoryOf(program);
  STARTUPINFOA startup = {};
  startup.cb = sizeof(startup);
  PROCESS_INFORMATION process = {};
  LARGE_INTEGER begin;
  LARGE_INTEGER end;
  ::QueryPerformanceCounter(&begin);
  if (!::CreateProcessA(program.c_str(), command_line.data(), nullptr, nullptr, FALSE,
                        CREATE_SUSPENDED, nullptr, directory.c_str(), &startup, &process)) {
    Fail("cannot start " + program);
  }
  ::AssignProcessToJobObject(job, process.hProcess);
  ::ResumeThread(process.hThread);
  if (::WaitForSingleObject(started, 20000) != WAIT_OBJECT_0) {
    ::TerminateJobObject(job, 1);
    Fail(program + " did not start " + bench::kChildProgram);
  }
  ::QueryPerformanceCounter(&end);
  for (int waited = 0;; ++waited) {
    JOBOBJECT_BASIC_ACCOUNTING_INFORMATION info = {};
    if (!::QueryInformationJobObject(job, JobObjectBasicAccountingInformation, &info, sizeof(info),
                                     nullptr)) {
      Fail("cannot query the job");
    }
    if (info.ActiveProcesses == 0) break;
    if (waited > 20000) {
      ::TerminateJobObject(job, 1);
      Fail(program + " did not end");
    }
    ::Sleep(1);
  }
  ::CloseHandle(process.hThread);
  ::CloseHandle(process.hProcess);
  ::CloseHandle(job);
  return Seconds(begin, end) * 1000;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: startup_benchmark ROUNDS PROGRAM...\n");
    return 2;
  }
  const int rounds = std::atoi(argv[1]);
  std::vector<std::string> programs(argv + 2, argv + argc);
  HANDLE started = ::CreateEventA(nullptr, TRUE, FALSE, bench::kChildStartedEvent);
  if (started == nullptr) Fail("cannot create the event");

  // One run of each first, not counted: the files come into the cache.
  for (const std::string& program : programs) TimeOneStart(program, started);
  std::vector<std::vector<double>> times(programs.size());
  for (int round = 0; round < rounds; ++round) {
    for (size_t i = 0; i < programs.size(); ++i) {
      times[i].push_back(TimeOneStart(programs[i], started));
    }
  }

  std::printf("%-28s %10s %10s %14s\n", "program", "median ms", "min ms", "paired ratio");
  for (size_t i = 0; i < programs.size(); ++i) {
    const bench::SampleSummary summary = bench::Summarise(times[i]);
    const size_t slash = programs[i].find_last_of('\\');
    const std::string name = programs[i].substr(slash == std::string::npos ? 0 : slash + 1);
    std::printf("%-28s %10.1f %10.1f", name.c_str(), summary.median, summary.min);
    if (i > 0) {
      const bench::SampleSummary ratio = bench::Summarise(bench::PairedRatios(times[0], times[i]));
      std::printf(" %13.2fx", ratio.median);
    }
    std::printf("\n");
  }
  std::printf("(%d rounds; paired ratio: median over rounds of %s time / this program's time)\n",
              rounds, programs[0].substr(programs[0].find_last_of('\\') + 1).c_str());
  ::CloseHandle(started);
  return 0;
}
