#include "platform/win32/automation.h"

#include <oaidl.h>
#include <objbase.h>

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

  std::string GetTextProperty(const std::string& name) override {
    VARIANT result;
    result.vt = VT_EMPTY;
    Invoke(name, DISPATCH_PROPERTYGET, &result);
    const HRESULT converted = api_.VariantChangeType(&result, &result, 0, VT_BSTR);
    if (FAILED(converted)) {
      api_.VariantClear(&result);
      Raise(converted, "cannot read property \"" + name + "\" as text", HresultText(converted));
    }
    std::string text = Narrow(result.bstrVal, static_cast<int>(api_.SysStringLen(result.bstrVal)));
    api_.VariantClear(&result);
    return text;
  }

  void CallMethod(const std::string& name) override {
    VARIANT result;
    result.vt = VT_EMPTY;
    Invoke(name, DISPATCH_METHOD, &result);
    api_.VariantClear(&result);
  }

 private:
  [[noreturn]] void Raise(HRESULT result, const std::string& what, const std::string& why) {
    throw Failure(static_cast<std::int32_t>(result), class_name_ + ": " + what + ": " + why);
  }

  void Invoke(const std::string& name, WORD flags, VARIANT* result) {
    const char* kind = flags == DISPATCH_METHOD ? "method" : "property";
    const std::string what = std::string(kind) + " \"" + name + "\" failed";
    std::wstring wide = Widen(name);
    LPOLESTR names[] = {wide.data()};
    DISPID id = 0;
    HRESULT status = timer_.Ask(
        [&] { return dispatch_->GetIDsOfNames(kIidNull, names, 1, LOCALE_USER_DEFAULT, &id); });
    if (status == kNoAnswer) RaiseNoAnswer(what);
    if (FAILED(status)) {
      Raise(status, std::string("no ") + kind + " \"" + name + "\"", HresultText(status));
    }
    DISPPARAMS no_arguments = {nullptr, nullptr, 0, 0};
    EXCEPINFO exception = {};
    UINT argument_error = 0;
    status = timer_.Ask([&] {
      return dispatch_->Invoke(id, kIidNull, LOCALE_USER_DEFAULT, flags, &no_arguments, result,
                               &exception, &argument_error);
    });
    if (SUCCEEDED(status)) return;
    if (status == kNoAnswer) {
      api_.VariantClear(result);  // a late answer is no answer
      FreeException(&exception);
      RaiseNoAnswer(what);
    }
    if (status != DISP_E_EXCEPTION) Raise(status, what, HresultText(status));

    if (exception.pfnDeferredFillIn != nullptr) exception.pfnDeferredFillIn(&exception);
    const HRESULT number =
        exception.scode != 0 ? exception.scode : MAKE_HRESULT(1, FACILITY_ITF, exception.wCode);
    std::string why = exception.bstrDescription != nullptr
                          ? Narrow(exception.bstrDescription,
                                   static_cast<int>(api_.SysStringLen(exception.bstrDescription)))
                          : HresultText(number);
    FreeException(&exception);
    Raise(number, what, why);
  }

  [[noreturn]] void RaiseNoAnswer(const std::string& what) {
    Raise(kNoAnswer, what, "no answer within " + std::to_string(timer_.answer_seconds()) + " s");
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

void Automation::Load() {
  auto api = std::make_unique<Api>();
  api->ole32 = LoadSystemLibrary("ole32.dll");
  api->oleaut32 = LoadSystemLibrary("oleaut32.dll");
  Resolve(api->ole32, "CoInitialize", &api->CoInitialize);
  Resolve(api->ole32, "CoUninitialize", &api->CoUninitialize);
  Resolve(api->ole32, "CLSIDFromProgID", &api->CLSIDFromProgID);
  Resolve(api->ole32, "CoCreateInstance", &api->CoCreateInstance);
  Resolve(api->ole32, "CoRegisterMessageFilter", &api->CoRegisterMessageFilter);
  Resolve(api->oleaut32, "VariantChangeType", &api->VariantChangeType);
  Resolve(api->oleaut32, "VariantClear", &api->VariantClear);
  Resolve(api->oleaut32, "SysFreeString", &api->SysFreeString);
  Resolve(api->oleaut32, "SysStringLen", &api->SysStringLen);
  api_ = std::move(api);
}

AutomationObject& Automation::Create(const std::string& class_name) {
  if (api_ == nullptr) Load();
  if (!com_initialised_) {
    const HRESULT status = api_->CoInitialize(nullptr);
    // S_FALSE: already initialised on this thread, which still counts.
    if (FAILED(status)) {
      throw Failure(static_cast<std::int32_t>(status), "cannot start COM: " + HresultText(status));
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
    throw Failure(static_cast<std::int32_t>(status),
                  "cannot create object \"" + class_name + "\": " + HresultText(status));
  }
  objects_.push_back(std::make_unique<DispatchObject>(*api_, timer_, dispatch, class_name));
  timer_.Start();
  return *objects_.back();
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
