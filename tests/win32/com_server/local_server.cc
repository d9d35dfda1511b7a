// The automation test server out of process: com_local_server.exe, started
// by COM with "-Embedding". Calls reach its objects from another process,
// so it can do what only such a server does: reject calls through its
// message filter, and keep a caller waiting.
#include <windows.h>

#include "test_object.h"

namespace {

// A server killed by nobody must not outlive the tests that started it.
constexpr UINT kLongestLifeMs = 120000;

class Filter : public IMessageFilter {
 public:
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override {
    if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IMessageFilter)) {
      *object = static_cast<IMessageFilter*>(this);
      return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
  ULONG STDMETHODCALLTYPE Release() override { return 1; }

  DWORD STDMETHODCALLTYPE HandleInComingCall(DWORD, HTASK, DWORD, LPINTERFACEINFO call) override {
    return test_server::AnswerIncomingCall(call);
  }
  DWORD STDMETHODCALLTYPE RetryRejectedCall(HTASK, DWORD, DWORD) override { return ~0u; }
  DWORD STDMETHODCALLTYPE MessagePending(HTASK, DWORD, DWORD) override {
    return PENDINGMSG_WAITDEFPROCESS;
  }
};

Filter filter;

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  if (FAILED(CoInitialize(nullptr))) return 1;
  test_server::RecordServerProcess();
  CoRegisterMessageFilter(&filter, nullptr);
  DWORD registration = 0;
  // Single use: Wine's rpcss forgets the class once a client has it, so a
  // server that dies early (as under qemu) leaves nothing stale behind.
  if (FAILED(CoRegisterClassObject(test_server::ServerClsid(), test_server::ClassFactory(),
                                   CLSCTX_LOCAL_SERVER, REGCLS_SINGLEUSE, &registration))) {
    CoUninitialize();
    return 2;
  }
  const UINT_PTR timer = SetTimer(nullptr, 0, kLongestLifeMs, nullptr);
  // Runs until the last object is gone, or for the longest life at most.
  MSG message;
  while (GetMessageA(&message, nullptr, 0, 0) > 0) {
    if (message.message == WM_TIMER && message.hwnd == nullptr) break;
    DispatchMessageA(&message);
    if (test_server::HasServed() && !test_server::InUse()) break;
  }
  KillTimer(nullptr, timer);
  CoRevokeClassObject(registration);
  CoRegisterMessageFilter(nullptr, nullptr);
  CoUninitialize();
  return 0;
}
