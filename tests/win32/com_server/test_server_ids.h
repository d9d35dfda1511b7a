#ifndef LAUNCHER_TESTS_WIN32_COM_SERVER_TEST_SERVER_IDS_H_
#define LAUNCHER_TESTS_WIN32_COM_SERVER_TEST_SERVER_IDS_H_

// What the automation test server and its users agree on.
namespace test_server {

inline constexpr char kClsidText[] = "{82A4E73F-DBF7-4775-8D26-EF37F87D0E58}";

// The server's behaviour and its record live here, under HKEY_CURRENT_USER:
//   "Version"       REG_SZ: `version` gives this text; REG_DWORD: this number.
//                   Missing: reading `version` fails with kVersionFailure.
//   "VersionDelay"  REG_DWORD: `version` answers only after this many ms.
//   "QuitDelay"     REG_DWORD: `quit` answers only after this many ms.
//   "CreateDelay"   REG_DWORD: an object is made only after this many ms.
//   "QuitFails"     REG_DWORD, not 0: `quit` fails with kQuitFailure.
//   "RejectCalls"   REG_DWORD: the local server rejects this many calls on
//                   the object first (SERVERCALL_REJECTED: Wine's COM runs a
//                   call answered SERVERCALL_RETRYLATER as if handled).
//   "RejectedCalls" REG_DWORD, written by the server: calls rejected so far.
//   "QuitCalls"     REG_DWORD, written by the server: calls of `quit` so far.
//   "QuitArgument"  REG_DWORD, written by the server: the number the last
//                   `quit` was given, or kNoArgument.
//   "LiveObjects"   REG_DWORD, written by the server: objects not yet released.
//   "ServerProcess" REG_DWORD, written by the local server: its process id.
inline constexpr char kStateKey[] = "Software\\LauncherTests\\AutomationServer";
inline constexpr char kVersionValue[] = "Version";
inline constexpr char kVersionDelayValue[] = "VersionDelay";
inline constexpr char kQuitFailsValue[] = "QuitFails";
inline constexpr char kRejectCallsValue[] = "RejectCalls";
inline constexpr char kRejectedCallsValue[] = "RejectedCalls";
inline constexpr char kQuitCallsValue[] = "QuitCalls";
inline constexpr char kQuitDelayValue[] = "QuitDelay";
inline constexpr char kCreateDelayValue[] = "CreateDelay";
inline constexpr char kQuitArgumentValue[] = "QuitArgument";
inline constexpr unsigned long kNoArgument = 0xFFFFFFFF;
inline constexpr char kLiveObjectsValue[] = "LiveObjects";
inline constexpr char kServerProcessValue[] = "ServerProcess";

// The exception code and description of a failed `version` read.
inline constexpr long kVersionFailure = static_cast<long>(0x800A1001);
inline constexpr char kVersionFailureText[] = "version is not available";
// The same for a failed `quit`.
inline constexpr long kQuitFailure = static_cast<long>(0x800A1002);
inline constexpr char kQuitFailureText[] = "quit is not available";

// The server's DISPIDs.
inline constexpr long kVersionId = 1;
inline constexpr long kQuitId = 2;

}  // namespace test_server

#endif  // LAUNCHER_TESTS_WIN32_COM_SERVER_TEST_SERVER_IDS_H_
