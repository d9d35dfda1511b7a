#include "platform/win32/answer_timer.h"

namespace platform {
namespace {

// How often the hidden window gets a tick: a pending call is cancelled
// within this long after the answer time is over.
constexpr UINT kTickMs = 250;
constexpr UINT_PTR kTickId = 1;

// {00000016-0000-0000-C000-000000000046}, defined here so that nothing of
// the COM import libraries is linked.
constexpr IID kIidMessageFilter = {
    0x00000016, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};
constexpr IID kIidUnknown = {
    0x00000000, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};

}  // namespace

AnswerTimer::AnswerTimer(AnswerBounds bounds) : bounds_(bounds) {}

AnswerTimer::~AnswerTimer() { Stop(); }

void AnswerTimer::Start() {
  if (started_) return;
  started_ = true;
  start_ = ::GetTickCount();
  rejected_ = false;
  // Without the window the calls are still bounded by Ask, only not cancelled.
  ticks_ =
      ::CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr, nullptr, nullptr);
  if (ticks_ != nullptr) ::SetTimer(ticks_, kTickId, kTickMs, nullptr);
}

void AnswerTimer::Stop() {
  started_ = false;
  if (ticks_ == nullptr) return;
  ::KillTimer(ticks_, kTickId);
  DrainTicks();
  ::DestroyWindow(ticks_);
  ticks_ = nullptr;
}

bool AnswerTimer::Expired() const {
  return started_ && ::GetTickCount() - start_ >= bounds_.answer_ms;
}

bool AnswerTimer::MayRetry() {
  if (!rejected_) {
    rejected_ = true;
    first_rejection_ = ::GetTickCount();
  }
  return ::GetTickCount() - first_rejection_ < bounds_.retry_ms && !Expired();
}

void AnswerTimer::DrainTicks() {
  MSG message;
  while (ticks_ != nullptr &&
         ::PeekMessageA(&message, ticks_, WM_TIMER, WM_TIMER, PM_REMOVE | PM_NOYIELD)) {
  }
}

HRESULT AnswerTimer::QueryInterface(REFIID iid, void** object) {
  if (IsEqualIID(iid, kIidUnknown) || IsEqualIID(iid, kIidMessageFilter)) {
    *object = static_cast<IMessageFilter*>(this);
    return S_OK;
  }
  *object = nullptr;
  return E_NOINTERFACE;
}

DWORD AnswerTimer::HandleInComingCall(DWORD, HTASK, DWORD, LPINTERFACEINFO) {
  return SERVERCALL_ISHANDLED;  // the launcher serves no objects
}

// A word processor that is still starting may answer either way, and a
// rejected call never ran, so both kinds are sent again.
DWORD AnswerTimer::RetryRejectedCall(HTASK, DWORD, DWORD) {
  return MayRetry() ? kRetryPauseMs : ~DWORD{0};  // all ones: give up
}

DWORD AnswerTimer::MessagePending(HTASK, DWORD, DWORD) {
  DrainTicks();
  return Expired() ? PENDINGMSG_CANCELCALL : PENDINGMSG_WAITDEFPROCESS;
}

}  // namespace platform
