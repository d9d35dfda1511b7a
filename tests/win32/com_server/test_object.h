#ifndef LAUNCHER_TESTS_WIN32_COM_SERVER_TEST_OBJECT_H_
#define LAUNCHER_TESTS_WIN32_COM_SERVER_TEST_OBJECT_H_

#include <objbase.h>
#include <windows.h>

namespace test_server {

// The class the server registers (kClsidText).
CLSID ServerClsid();

// The server's one class factory; static, so counting its references is moot.
IClassFactory* ClassFactory();

// True while an object or a lock of the server is alive.
bool InUse();

// True once the factory has created an object.
bool HasServed();

// Records the running local server's process id.
void RecordServerProcess();

// The local server's answer to an incoming call: SERVERCALL_REJECTED for the
// first calls on the object, as many as "RejectCalls" asks, else handled.
DWORD AnswerIncomingCall(const INTERFACEINFO* call);

}  // namespace test_server

#endif  // LAUNCHER_TESTS_WIN32_COM_SERVER_TEST_OBJECT_H_
