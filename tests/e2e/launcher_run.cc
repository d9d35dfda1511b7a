#include "launcher_run.h"

#include <windows.h>

#include <set>
#include <stdexcept>

namespace e2e {
namespace {

// Windows of the processes being watched, gathered by EnumWindows.
struct WindowScan {
  std::set<DWORD> process_ids;
  std::vector<HWND> windows;
};

BOOL CALLBACK CollectWindow(HWND window, LPARAM data) {
  auto* scan = reinterpret_cast<WindowScan*>(data);
  DWORD process_id = 0;
  GetWindowThreadProcessId(window, &process_id);
  if (scan->process_ids.count(process_id) != 0 && IsWindowVisible(window)) {
    scan->windows.push_back(window);
  }
  return TRUE;
}

// The caption as the system keeps it: for another process's window this
// sends no message, so a busy window cannot block the watcher.
std::string WindowText(HWND window) {
  char text[1024] = {};
  GetWindowTextA(window, text, sizeof(text));
  return text;
}

std::string ClassName(HWND window) {
  char name[256] = {};
  GetClassNameA(window, name, sizeof(name));
  return name;
}

// The ids of the processes in `job` now.
std::set<DWORD> JobProcessIds(HANDLE job) {
  struct {
    JOBOBJECT_BASIC_PROCESS_ID_LIST list;
    ULONG_PTR more[63];
  } ids = {};
  ids.list.NumberOfAssignedProcesses = 64;
  std::set<DWORD> result;
  if (QueryInformationJobObject(job, JobObjectBasicProcessIdList, &ids, sizeof(ids), nullptr)) {
    for (DWORD i = 0; i < ids.list.NumberOfProcessIdsInList; ++i) {
      result.insert(static_cast<DWORD>(ids.list.ProcessIdList[i]));
    }
  }
  return result;
}

JOBOBJECT_BASIC_ACCOUNTING_INFORMATION JobAccounting(HANDLE job) {
  JOBOBJECT_BASIC_ACCOUNTING_INFORMATION info = {};
  if (!QueryInformationJobObject(job, JobObjectBasicAccountingInformation, &info, sizeof(info),
                                 nullptr)) {
    throw std::runtime_error("cannot query the job");
  }
  return info;
}

}  // namespace

LauncherRun RunLauncher(const std::string& program, const std::string& working_directory,
                        unsigned long timeout_ms, unsigned long leftover_ms) {
  HANDLE job = CreateJobObjectA(nullptr, nullptr);
  if (job == nullptr) throw std::runtime_error("cannot create a job");
  std::string command_line = "\"" + program + "\"";
  STARTUPINFOA startup = {};
  startup.cb = sizeof(startup);
  PROCESS_INFORMATION process = {};
  if (!CreateProcessA(program.c_str(), command_line.data(), nullptr, nullptr, FALSE,
                      CREATE_SUSPENDED, nullptr, working_directory.c_str(), &startup, &process)) {
    CloseHandle(job);
    throw std::runtime_error("cannot start " + program);
  }
  if (!AssignProcessToJobObject(job, process.hProcess)) {
    TerminateProcess(process.hProcess, 99);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    CloseHandle(job);
    throw std::runtime_error("cannot put " + program + " into a job");
  }
  ResumeThread(process.hThread);

  LauncherRun run;
  std::set<HWND> answered;
  std::set<HWND> reported;
  const ULONGLONG started = GetTickCount64();
  ULONGLONG deadline = started + timeout_ms;
  bool launcher_ended = false;
  for (;;) {
    WindowScan scan;
    scan.process_ids = JobProcessIds(job);
    scan.process_ids.insert(process.dwProcessId);
    EnumWindows(CollectWindow, reinterpret_cast<LPARAM>(&scan));
    for (HWND window : scan.windows) {
      DWORD owner = 0;
      GetWindowThreadProcessId(window, &owner);
      const std::string class_name = ClassName(window);
      if (owner == process.dwProcessId && class_name == "#32770") {
        if (answered.insert(window).second) {
          const HWND text = GetDlgItem(window, 0xFFFF);
          run.message_boxes.push_back(WindowText(window) + "|" +
                                      (text != nullptr ? WindowText(text) : ""));
          PostMessageA(window, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED),
                       reinterpret_cast<LPARAM>(GetDlgItem(window, IDOK)));
        }
      } else if (reported.insert(window).second) {
        run.visible_windows.push_back(class_name + "|" + WindowText(window) + " (process " +
                                      std::to_string(owner) + ")");
      }
    }
    if (JobAccounting(job).ActiveProcesses == 0) {
      run.finished = true;
      break;
    }
    if (GetTickCount64() > deadline) {
      TerminateJobObject(job, 99);
      WaitForSingleObject(process.hProcess, 5000);
      run.finished = launcher_ended && leftover_ms != 0;
      break;
    }
    if (!launcher_ended && WaitForSingleObject(process.hProcess, 0) == WAIT_OBJECT_0) {
      launcher_ended = true;
      run.launcher_ms = static_cast<unsigned long>(GetTickCount64() - started);
      if (leftover_ms != 0) deadline = GetTickCount64() + leftover_ms;
    }
    // Once the launcher has ended, what it started may still be running.
    if (WaitForSingleObject(process.hProcess, 10) == WAIT_OBJECT_0) Sleep(10);
  }
  if (!launcher_ended) run.launcher_ms = static_cast<unsigned long>(GetTickCount64() - started);
  GetExitCodeProcess(process.hProcess, &run.exit_code);
  run.processes = JobAccounting(job).TotalProcesses;
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  CloseHandle(job);
  return run;
}

}  // namespace e2e
