#include "platform/win32/automation.h"

#include <oaidl.h>
#include <objbase.h>

#include "platform/join.h"
#include "platform/win32/system_library.h"
#include "platform/win32/system_message.h"

namespace platform {

struct Automation::Api {
  HMODULE ole32 = nullptr;
  HMODULE oleaut32 = nullptr;
  HRESULT(WINAPI* CoInitialize)(LPVOID) = nullptr;
  void(WINAPI* CoUninitialize)() = nullptr;
  HRESULT(WINAPI* CLSIDFromProgID)(LPCOLESTR, LPCLSID) = nullptr;
  HRESULT(WINAPI* CoCreateInstance)(REFCLSID, LPUNKNOWN, DWORD, REFIID, LPVOID*) = nullptr;
  HRESULT(WINAPI* CoRegisterMessageFilter)(LPMESSAGEFILTER, LPMESSAGEFILTER*) = nullptr;
  HRESULT(WINAPI* VariantChangeType)(VARIANTARG*, const VARIANTARG*, USHORT, VARTYPE) = nullptr;
  HRESULT(WINAPI* VariantClear)(VARIANTARG*) = nullptr;
  void(WINAPI* SysFreeString)(BSTR) = nullptr;
  UINT(WINAPI* SysStringLen)(BSTR) = nullptr;

  ~Api() {
    if (oleaut32 != nullptr) ::FreeLibrary(oleaut32);
    if (ole32 != nullptr) ::FreeLibrary(ole32);
  }
};

namespace {

// {00020400-0000-0000-C000-000000000046}, defined here so that nothing of
// the COM import libraries is linked.
constexpr IID kIidDispatch = {
    0x00020400, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};
constexpr IID kIidNull = {};

std::wstring Widen(const std::string& text) {
  if (text.empty()) return std::wstring();
  const int length =
      ::MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
  std::wstring wide(length, L'\0');
  ::MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), wide.data(), length);
  return wide;
}

std::string Narrow(const wchar_t* text, int length) {
  if (length <= 0) return std::string();
  const int size = ::WideCharToMultiByte(CP_ACP, 0, text, length, nullptr, 0, nullptr, nullptr);
  std::string narrow(size, '\0');
  ::WideCharToMultiByte(CP_ACP, 0, text, length, narrow.data(), size, nullptr, nullptr);
  return narrow;
}

std::string HresultText(HRESULT result) { return SystemMessage(static_cast<DWORD>(result)); }

class DispatchObject : public AutomationObject {
 public:
  DispatchObject(const Automation::Api& api, AnswerTimer& timer, IDispatch* dispatch,
                 std::string class_name)
      : api_(api), timer_(timer), dispatch_(dispatch), class_name_(std::move(class_name)) {}
  ~DispatchObject() override { dispatch_->Release(); }

  Result<std::string> GetTextProperty(const std::string& name) override {
    VARIANT result;
    result.vt = VT_EMPTY;
    if (Status invoked = Invoke(name, DISPATCH_PROPERTYGET, &result); !invoked.ok()) {
      return invoked.TakeFailure();
    }
    const HRESULT converted = api_.VariantChangeType(&result, &result, 0, VT_BSTR);
    if (FAILED(converted)) {
      api_.VariantClear(&result);
      return Fail(converted, Join({"cannot read property \"", name, "\" as text"}),
                  HresultText(converted));
    }
    std::string text = Narrow(result.bstrVal, static_cast<int>(api_.SysStringLen(result.bstrVal)));
    api_.VariantClear(&result);
    return text;
  }

  Status CallMethod(const std::string& name) override {
    VARIANT result;
    result.vt = VT_EMPTY;
    Status invoked = Invoke(name, DISPATCH_METHOD, &result);
    api_.VariantClear(&result);
    return invoked;
  }

 private:
  Failure Fail(HRESULT result, const std::string& what, const std::string& why) const {
    return Failure(static_cast<std::int32_t>(result), Join({class_name_, ": ", what, ": ", why}));
  }

  Status Invoke(const std::string& name, WORD flags, VARIANT* result) {
    const char* kind = flags == DISPATCH_METHOD ? "method" : "property";
    const std::string what = Join({kind, " \"", name, "\" failed"});
    std::wstring wide = Widen(name);
    LPOLESTR names[] = {wide.data()};
    DISPID id = 0;
    HRESULT status = timer_.Ask(
        [&] { return dispatch_->GetIDsOfNames(kIidNull, names, 1, LOCALE_USER_DEFAULT, &id); });
    if (status == kNoAnswer) return NoAnswer(what);
    if (FAILED(status)) {
      return Fail(status, Join({"no ", kind, " \"", name, "\""}), HresultText(status));
    }
    DISPPARAMS no_arguments = {nullptr, nullptr, 0, 0};
    EXCEPINFO exception = {};
    UINT argument_error = 0;
    status = timer_.Ask([&] {
      return dispatch_->Invoke(id, kIidNull, LOCALE_USER_DEFAULT, flags, &no_arguments, result,
                               &exception, &argument_error);
    });
    if (SUCCEEDED(status)) return {};
    if (status == kNoAnswer) {
      api_.VariantClear(result);  // a late answer is no answer
      FreeException(&exception);
      return NoAnswer(what);
    }
    if (status != DISP_E_EXCEPTION) return Fail(status, what, HresultText(status));

    if (exception.pfnDeferredFillIn != nullptr) exception.pfnDeferredFillIn(&exception);
    const HRESULT number =
        exception.scode != 0 ? exception.scode : MAKE_HRESULT(1, FACILITY_ITF, exception.wCode);
    std::string why = exception.bstrDescription != nullptr
                          ? Narrow(exception.bstrDescription,
                                   static_cast<int>(api_.SysStringLen(exception.bstrDescription)))
                          : HresultText(number);
    FreeException(&exception);
    return Fail(number, what, why);
  }

  Failure NoAnswer(const std::string& what) const {
    return Fail(kNoAnswer, what,
                Join({"no answer within ", std::to_string(timer_.answer_seconds()), " s"}));
  }

  void FreeException(EXCEPINFO* exception) {
    api_.SysFreeString(exception->bstrSource);
    api_.SysFreeString(exception->bstrDescription);
    api_.SysFreeString(exception->bstrHelpFile);
  }

  const Automation::Api& api_;
  AnswerTimer& timer_;
  IDispatch* dispatch_;
  std::string class_name_;
};

}  // namespace

Automation::Automation(AnswerBounds bounds) : timer_(bounds) {}

Automation::~Automation() { Release(); }

Status Automation::Load() {
  auto api = std::make_unique<Api>();
  Result<HMODULE> ole32 = LoadSystemLibrary("ole32.dll");
  if (!ole32.ok()) return ole32.TakeFailure();
  api->ole32 = *ole32;
  Result<HMODULE> oleaut32 = LoadSystemLibrary("oleaut32.dll");
  if (!oleaut32.ok()) return oleaut32.TakeFailure();
  api->oleaut32 = *oleaut32;
  Status resolved[] = {
      Resolve(api->ole32, "CoInitialize", &api->CoInitialize),
      Resolve(api->ole32, "CoUninitialize", &api->CoUninitialize),
      Resolve(api->ole32, "CLSIDFromProgID", &api->CLSIDFromProgID),
      Resolve(api->ole32, "CoCreateInstance", &api->CoCreateInstance),
      Resolve(api->ole32, "CoRegisterMessageFilter", &api->CoRegisterMessageFilter),
      Resolve(api->oleaut32, "VariantChangeType", &api->VariantChangeType),
      Resolve(api->oleaut32, "VariantClear", &api->VariantClear),
      Resolve(api->oleaut32, "SysFreeString", &api->SysFreeString),
      Resolve(api->oleaut32, "SysStringLen", &api->SysStringLen),
  };
  for (Status& status : resolved) {
    if (!status.ok()) return status.TakeFailure();
  }
  api_ = std::move(api);
  return {};
}

Result<AutomationObject*> Automation::Create(const std::string& class_name) {
  if (api_ == nullptr) {
    if (Status loaded = Load(); !loaded.ok()) return loaded.TakeFailure();
  }
  if (!com_initialised_) {
    const HRESULT status = api_->CoInitialize(nullptr);
    // S_FALSE: already initialised on this thread, which still counts.
    if (FAILED(status)) {
      return Failure(static_cast<std::int32_t>(status),
                     Join({"cannot start COM: ", HresultText(status)}));
    }
    com_initialised_ = true;
    // Without the filter, calls are still bounded by AnswerTimer::Ask, only
    // not cancelled.
    filter_registered_ = SUCCEEDED(api_->CoRegisterMessageFilter(&timer_, &previous_filter_));
  }
  const std::wstring prog_id = Widen(class_name);
  CLSID clsid = {};
  HRESULT status = api_->CLSIDFromProgID(prog_id.c_str(), &clsid);
  IDispatch* dispatch = nullptr;
  if (SUCCEEDED(status)) {
    status = api_->CoCreateInstance(clsid, nullptr, CLSCTX_SERVER, kIidDispatch,
                                    reinterpret_cast<void**>(&dispatch));
  }
  if (FAILED(status) || dispatch == nullptr) {
    if (SUCCEEDED(status)) status = E_NOINTERFACE;
    return Failure(static_cast<std::int32_t>(status),
                   Join({"cannot create object \"", class_name, "\": ", HresultText(status)}));
  }
  objects_.push_back(std::make_unique<DispatchObject>(*api_, timer_, dispatch, class_name));
  timer_.Start();
  return objects_.back().get();
}

void Automation::Release() {
  objects_.clear();
  timer_.Stop();
  if (filter_registered_) {
    api_->CoRegisterMessageFilter(previous_filter_, nullptr);
    if (previous_filter_ != nullptr) previous_filter_->Release();
    previous_filter_ = nullptr;
    filter_registered_ = false;
  }
  if (com_initialised_) {
    api_->CoUninitialize();
    com_initialised_ = false;
  }
}

}  // namespace platform
