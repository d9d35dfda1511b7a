#include "platform/win32/automation.h"

#include <oaidl.h>
#include <objbase.h>

#include <memory>
#include <vector>

#include "platform/join.h"
#include "platform/win32/system_library.h"
#include "platform/win32/system_message.h"

namespace platform {
namespace {

// {00020400-0000-0000-C000-000000000046} and its kin, defined here so that
// nothing of the COM import libraries is linked.
constexpr IID kIidDispatch = {
    0x00020400, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};
constexpr IID kIidMessageFilter = {
    0x00000016, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};
constexpr IID kIidUnknown = {
    0x00000000, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};
constexpr IID kIidNull = {};

// How long a rejected call waits before it is sent again.
constexpr DWORD kRetryPauseMs = 250;

// The functions taken from the COM libraries, which stay loaded until the
// process ends: a thread left inside COM may still use them.
struct Api {
  HRESULT(WINAPI* CoInitialize)(LPVOID);
  void(WINAPI* CoUninitialize)();
  HRESULT(WINAPI* CLSIDFromProgID)(LPCOLESTR, LPCLSID);
  HRESULT(WINAPI* CoCreateInstance)(REFCLSID, LPUNKNOWN, DWORD, REFIID, LPVOID*);
  HRESULT(WINAPI* CoRegisterMessageFilter)(LPMESSAGEFILTER, LPMESSAGEFILTER*);
  HRESULT(WINAPI* VariantChangeType)(VARIANTARG*, const VARIANTARG*, USHORT, VARTYPE);
  HRESULT(WINAPI* VariantClear)(VARIANTARG*);
  void(WINAPI* SysFreeString)(BSTR);
  UINT(WINAPI* SysStringLen)(BSTR);
};

Status LoadApi(Api* api) {
  const struct {
    const char* library;
    const char* name;
    FARPROC* function;
  } functions[] = {
      {"ole32.dll", "CoInitialize", reinterpret_cast<FARPROC*>(&api->CoInitialize)},
      {"ole32.dll", "CoUninitialize", reinterpret_cast<FARPROC*>(&api->CoUninitialize)},
      {"ole32.dll", "CLSIDFromProgID", reinterpret_cast<FARPROC*>(&api->CLSIDFromProgID)},
      {"ole32.dll", "CoCreateInstance", reinterpret_cast<FARPROC*>(&api->CoCreateInstance)},
      {"ole32.dll", "CoRegisterMessageFilter",
       reinterpret_cast<FARPROC*>(&api->CoRegisterMessageFilter)},
      {"oleaut32.dll", "VariantChangeType", reinterpret_cast<FARPROC*>(&api->VariantChangeType)},
      {"oleaut32.dll", "VariantClear", reinterpret_cast<FARPROC*>(&api->VariantClear)},
      {"oleaut32.dll", "SysFreeString", reinterpret_cast<FARPROC*>(&api->SysFreeString)},
      {"oleaut32.dll", "SysStringLen", reinterpret_cast<FARPROC*>(&api->SysStringLen)},
  };
  for (const auto& f : functions) {
    Result<FARPROC> address = SystemFunction(f.library, f.name);
    if (!address.ok()) return address.TakeFailure();
    *f.function = *address;
  }
  return {};
}

std::wstring Widen(std::string_view text) {
  const int length =
      ::MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
  std::wstring wide(length, L'\0');
  ::MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), wide.data(), length);
  return wide;
}

std::string Narrow(const wchar_t* text, int length) {
  const int size = ::WideCharToMultiByte(CP_ACP, 0, text, length, nullptr, 0, nullptr, nullptr);
  std::string narrow(size, '\0');
  ::WideCharToMultiByte(CP_ACP, 0, text, length, narrow.data(), size, nullptr, nullptr);
  return narrow;
}

}  // namespace

// The thread that makes every call into COM, and what it shares with the
// launcher's thread: one call at a time, written here before the thread is
// woken and read back once it says it is done. Once a call is abandoned the
// launcher's thread reads and writes nothing here again, and never frees it.
class ComThread final : public IMessageFilter {
 public:
  enum class Op { kCreate, kGet, kCall, kRelease, kEnd };
  // Where a call failed, for its description.
  enum class Step { kName, kInvoke, kConvert };

  ComThread(const Api& api, AnswerBounds bounds, DWORD start)
      : api_(api), bounds_(bounds), start_(start) {}

  bool Start() {
    request_ = ::CreateEventA(nullptr, FALSE, FALSE, nullptr);
    done_ = ::CreateEventA(nullptr, FALSE, FALSE, nullptr);
    if (request_ == nullptr || done_ == nullptr) return false;
    DWORD id = 0;
    thread_ = ::CreateThread(nullptr, 0, &ComThread::Main, this, 0, &id);
    return thread_ != nullptr;
  }

  ~ComThread() {
    for (HANDLE handle : {thread_, request_, done_}) {
      if (handle != nullptr) ::CloseHandle(handle);
    }
  }

  // Makes the call `op` on the thread and waits for its answer until the
  // bounds are over: false when none came, and for every call after that.
  bool Ask(Op op) {
    if (abandoned_) return false;
    op_ = op;
    ::SetEvent(request_);
    for (;;) {
      const DWORD waited =
          ::MsgWaitForMultipleObjects(1, &done_, FALSE, TimeLeft(), QS_SENDMESSAGE);
      if (waited == WAIT_OBJECT_0) return true;
      if (waited != WAIT_OBJECT_0 + 1) break;
      // Another program's message to the launcher's windows: it must not
      // wait for the word processor too.
      MSG message;
      ::PeekMessageA(&message, nullptr, 0, 0, PM_NOREMOVE);
    }
    abandoned_ = true;
    return false;
  }

  bool abandoned() const { return abandoned_; }
  DWORD answer_seconds() const { return bounds_.answer_ms / 1000; }

  // The call, set before Ask.
  std::wstring name_;
  IDispatch* object_ = nullptr;
  LONG argument_ = 0;
  // Its answer, valid after an answered Ask.
  HRESULT status_ = S_OK;
  Step step_ = Step::kName;
  IDispatch* created_ = nullptr;
  std::string text_;  // a property's text, or the object's own description of a failure

  // IMessageFilter, for COM on the thread. The object outlives the thread's
  // use of COM.
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override {
    if (IsEqualIID(iid, kIidUnknown) || IsEqualIID(iid, kIidMessageFilter)) {
      *object = static_cast<IMessageFilter*>(this);
      return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
  ULONG STDMETHODCALLTYPE Release() override { return 1; }
  DWORD STDMETHODCALLTYPE HandleInComingCall(DWORD, HTASK, DWORD, LPINTERFACEINFO) override {
    return SERVERCALL_ISHANDLED;  // the launcher serves no objects
  }
  // A word processor that is still starting may answer either way, and a
  // rejected call never ran, so both kinds are sent again.
  DWORD STDMETHODCALLTYPE RetryRejectedCall(HTASK, DWORD, DWORD) override {
    return MayRetry() ? kRetryPauseMs : ~DWORD{0};  // all ones: give up
  }
  DWORD STDMETHODCALLTYPE MessagePending(HTASK, DWORD, DWORD) override {
    return PENDINGMSG_WAITDEFPROCESS;
  }

 private:
  static DWORD WINAPI Main(void* self) {
    static_cast<ComThread*>(self)->Serve();
    return 0;
  }

  DWORD TimeLeft() const {
    const DWORD spent = ::GetTickCount() - start_;
    return spent < bounds_.answer_ms ? bounds_.answer_ms - spent : 0;
  }

  // True while a rejected call may be sent again; the first call marks the
  // first rejection.
  bool MayRetry() {
    if (!rejected_) {
      rejected_ = true;
      first_rejection_ = ::GetTickCount();
    }
    return ::GetTickCount() - first_rejection_ < bounds_.retry_ms && TimeLeft() > 0;
  }

  // Where COM hands a rejection back instead of asking the filter (Wine),
  // the call is sent again here.
  template <typename Call>
  HRESULT WithRetries(Call call) {
    for (;;) {
      const HRESULT status = call();
      if (status != RPC_E_CALL_REJECTED || !MayRetry()) return status;
      ::Sleep(kRetryPauseMs);
    }
  }

  void Serve() {
    const HRESULT initialised = api_.CoInitialize(nullptr);
    IMessageFilter* previous = nullptr;
    const bool filtered =
        SUCCEEDED(initialised) && SUCCEEDED(api_.CoRegisterMessageFilter(this, &previous));
    for (;;) {
      // A thread of COM's single-threaded kind takes its messages while it waits.
      while (::MsgWaitForMultipleObjects(1, &request_, FALSE, INFINITE, QS_ALLINPUT) !=
             WAIT_OBJECT_0) {
        MSG message;
        while (::PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) ::DispatchMessageA(&message);
      }
      const bool end = op_ == Op::kEnd;
      status_ = initialised;
      if (SUCCEEDED(initialised)) Perform();
      if (end && filtered) {
        api_.CoRegisterMessageFilter(previous, nullptr);
        if (previous != nullptr) previous->Release();
      }
      if (end && SUCCEEDED(initialised)) api_.CoUninitialize();
      ::SetEvent(done_);
      if (end) return;
    }
  }

  void Perform() {
    status_ = S_OK;
    switch (op_) {
      case Op::kCreate: {
        CLSID clsid = {};
        created_ = nullptr;
        status_ = api_.CLSIDFromProgID(name_.c_str(), &clsid);
        // A local server or a DLL: no remote one, which COM without DCOM
        // (Windows 95 as it came) refuses even to be asked for.
        if (SUCCEEDED(status_)) {
          status_ = api_.CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER | CLSCTX_LOCAL_SERVER,
                                          kIidDispatch, reinterpret_cast<void**>(&created_));
        }
        if (SUCCEEDED(status_) && created_ == nullptr) status_ = E_NOINTERFACE;
        return;
      }
      case Op::kGet:
      case Op::kCall:
        return Invoke();
      case Op::kRelease:
        object_->Release();
        return;
      case Op::kEnd:
        return;
    }
  }

  void Invoke() {
    LPOLESTR names[] = {name_.data()};
    DISPID id = 0;
    step_ = Step::kName;
    status_ = WithRetries(
        [&] { return object_->GetIDsOfNames(kIidNull, names, 1, LOCALE_USER_DEFAULT, &id); });
    if (FAILED(status_)) return;
    const bool method = op_ == Op::kCall;
    VARIANT argument;
    argument.vt = VT_I4;
    argument.lVal = argument_;
    DISPPARAMS parameters = {method ? &argument : nullptr, nullptr, method ? 1u : 0u, 0};
    VARIANT result;
    result.vt = VT_EMPTY;
    EXCEPINFO exception = {};
    UINT argument_error = 0;
    step_ = Step::kInvoke;
    status_ = WithRetries([&] {
      return object_->Invoke(id, kIidNull, LOCALE_USER_DEFAULT,
                             method ? DISPATCH_METHOD : DISPATCH_PROPERTYGET, &parameters, &result,
                             &exception, &argument_error);
    });
    text_.clear();
    if (status_ == DISP_E_EXCEPTION) {
      if (exception.pfnDeferredFillIn != nullptr) exception.pfnDeferredFillIn(&exception);
      status_ =
          exception.scode != 0 ? exception.scode : MAKE_HRESULT(1, FACILITY_ITF, exception.wCode);
      BSTR description = exception.bstrDescription;
      if (description != nullptr) {
        text_ = Narrow(description, static_cast<int>(api_.SysStringLen(description)));
      }
      api_.SysFreeString(exception.bstrSource);
      api_.SysFreeString(description);
      api_.SysFreeString(exception.bstrHelpFile);
    } else if (SUCCEEDED(status_) && !method) {
      step_ = Step::kConvert;
      status_ = api_.VariantChangeType(&result, &result, 0, VT_BSTR);
      if (SUCCEEDED(status_)) {
        text_ = Narrow(result.bstrVal, static_cast<int>(api_.SysStringLen(result.bstrVal)));
      }
    }
    api_.VariantClear(&result);
  }

  const Api api_;
  const AnswerBounds bounds_;
  const DWORD start_;  // the start of the first object's creation
  HANDLE thread_ = nullptr;
  HANDLE request_ = nullptr;
  HANDLE done_ = nullptr;
  Op op_ = Op::kCreate;
  bool abandoned_ = false;
  bool rejected_ = false;
  DWORD first_rejection_ = 0;
};

namespace {

std::string HresultText(HRESULT result) { return SystemMessage(static_cast<DWORD>(result)); }

// `text` of the object `class_name` as a failure of the call just asked.
Failure CallFailure(const ComThread& thread, bool answered, std::string_view class_name,
                    std::string_view what) {
  if (!answered) {
    return Failure(kNoAnswer, Join({class_name, ": ", what, " failed: no answer within ",
                                    Decimal(thread.answer_seconds()), " s"}));
  }
  const std::string why = thread.text_.empty() ? HresultText(thread.status_) : thread.text_;
  const char* step = thread.step_ == ComThread::Step::kName      ? ": no such member: "
                     : thread.step_ == ComThread::Step::kConvert ? " cannot be read as text: "
                                                                 : " failed: ";
  return Failure(thread.status_, Join({class_name, ": ", what, step, why}));
}

class DispatchObject : public AutomationObject {
 public:
  DispatchObject(ComThread& thread, IDispatch* dispatch, std::string_view class_name)
      : thread_(thread), dispatch_(dispatch), class_name_(class_name) {}

  Result<std::string> GetTextProperty(std::string_view name) override {
    if (Status asked = Ask(ComThread::Op::kGet, "property", name, 0); !asked.ok()) return asked;
    return std::move(thread_.text_);
  }

  Status CallMethod(std::string_view name, std::int32_t argument) override {
    return Ask(ComThread::Op::kCall, "method", name, argument);
  }

  // Lets go of the object; not of one the thread may still be inside.
  void Release() {
    if (thread_.abandoned()) return;
    thread_.object_ = dispatch_;
    thread_.Ask(ComThread::Op::kRelease);
  }

 private:
  Status Ask(ComThread::Op op, const char* kind, std::string_view name, LONG argument) {
    if (!thread_.abandoned()) {
      thread_.object_ = dispatch_;
      thread_.name_ = Widen(name);
      thread_.argument_ = argument;
    }
    const bool answered = thread_.Ask(op);
    if (answered && SUCCEEDED(thread_.status_)) return {};
    return CallFailure(thread_, answered, class_name_, Join({kind, " \"", name, "\""}));
  }

  ComThread& thread_;
  IDispatch* dispatch_;
  std::string class_name_;
};

}  // namespace

Automation::Automation(AnswerBounds bounds) : bounds_(bounds) {}

Automation::~Automation() { End(); }

bool Automation::abandoned() const { return thread_ != nullptr && thread_->abandoned(); }

Result<AutomationObject*> Automation::Create(std::string_view class_name) {
  if (thread_ == nullptr) {
    // The bounds are counted from here: loading COM is part of the wait.
    const DWORD start = ::GetTickCount();
    Api api = {};
    if (Status loaded = LoadApi(&api); !loaded.ok()) return loaded;
    auto thread = std::make_unique<ComThread>(api, bounds_, start);
    if (!thread->Start()) {
      return SystemFailure(::GetLastError(), "cannot start a thread for the word processor");
    }
    thread_ = thread.release();
  }
  if (!thread_->abandoned()) thread_->name_ = Widen(class_name);
  const bool answered = thread_->Ask(ComThread::Op::kCreate);
  if (!answered || FAILED(thread_->status_)) {
    const HRESULT status = answered ? thread_->status_ : kNoAnswer;
    const std::string why =
        answered ? HresultText(status)
                 : Join({"no answer within ", Decimal(thread_->answer_seconds()), " s"});
    return Failure(status, Join({"cannot create object \"", class_name, "\": ", why}));
  }
  objects_.push_back(std::make_unique<DispatchObject>(*thread_, thread_->created_, class_name));
  return objects_.back().get();
}

void Automation::ReleaseObject(AutomationObject* object) {
  for (auto it = objects_.begin(); it != objects_.end(); ++it) {
    if (it->get() != object) continue;
    static_cast<DispatchObject*>(object)->Release();
    objects_.erase(it);
    return;
  }
}

void Automation::End() {
  if (thread_ == nullptr) return;
  while (!objects_.empty()) ReleaseObject(objects_.back().get());
  if (thread_->Ask(ComThread::Op::kEnd)) {
    delete thread_;
    thread_ = nullptr;
  }
  // Otherwise the thread keeps what it shares with this one: it may still
  // be inside COM, and the process ends without waiting for it.
}

}  // namespace platform
