#ifndef LAUNCHER_PLATFORM_WIN32_ANSWER_TIMER_H_
#define LAUNCHER_PLATFORM_WIN32_ANSWER_TIMER_H_

#include <objbase.h>
#include <windows.h>

namespace platform {

// How long the launcher waits for automation objects. A word processor in
// another process may still be starting and reject calls ("retry later"),
// or sit behind a dialog and not answer at all.
struct AnswerBounds {
  // A rejected call is sent again, after a pause, for this long in all,
  // counted from the first rejection.
  DWORD retry_ms = 10000;
  // Every call into the objects is answered within this long after the
  // first object was created, or fails: the retries, a start from a slow
  // disk and a dialog someone answers at once fit into it.
  DWORD answer_ms = 30000;
};

// What a call gives when it had no answer in time.
inline constexpr HRESULT kNoAnswer = RPC_E_TIMEOUT;

// Holds the calls of one thread into automation objects to AnswerBounds. As
// the thread's COM message filter it has COM send rejected calls again and
// cancel a pending call once the time is over; COM consults it only when a
// message arrives during the wait, so a timer on a hidden window sends one
// every tick. Where COM does neither (Wine hands a rejection straight back,
// and its cancel still waits for the answer), Ask sends rejected calls again
// itself and takes a late answer for none.
class AnswerTimer : public IMessageFilter {
 public:
  explicit AnswerTimer(AnswerBounds bounds);
  AnswerTimer(const AnswerTimer&) = delete;
  AnswerTimer& operator=(const AnswerTimer&) = delete;
  virtual ~AnswerTimer();

  // Starts the clock (at the first call only) and the ticks.
  void Start();
  // Ends the ticks; the next Start begins a new clock.
  void Stop();

  // True once the answer time is over.
  bool Expired() const;
  DWORD answer_seconds() const { return bounds_.answer_ms / 1000; }

  // Makes `call` (a call into an object, giving an HRESULT): again after a
  // pause while it is rejected and retries are allowed; not at all once the
  // time is over. Gives kNoAnswer when the answer did not come in time; the
  // caller then frees what a late answer may have filled in.
  template <typename Call>
  HRESULT Ask(Call call);

  // IMessageFilter, for COM. The object lives as long as its owner.
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override;
  ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
  ULONG STDMETHODCALLTYPE Release() override { return 1; }
  DWORD STDMETHODCALLTYPE HandleInComingCall(DWORD, HTASK, DWORD, LPINTERFACEINFO) override;
  DWORD STDMETHODCALLTYPE RetryRejectedCall(HTASK, DWORD, DWORD) override;
  DWORD STDMETHODCALLTYPE MessagePending(HTASK, DWORD, DWORD) override;

 private:
  static constexpr DWORD kRetryPauseMs = 250;

  // True while a rejected call may be sent again; the first call marks the
  // first rejection.
  bool MayRetry();
  // Takes the ticks out of the queue, so that the next one is news to COM.
  void DrainTicks();

  AnswerBounds bounds_;
  bool started_ = false;
  DWORD start_ = 0;
  bool rejected_ = false;
  DWORD first_rejection_ = 0;
  HWND ticks_ = nullptr;
};

template <typename Call>
HRESULT AnswerTimer::Ask(Call call) {
  for (;;) {
    if (Expired()) return kNoAnswer;
    DrainTicks();
    const HRESULT status = call();
    if (status == RPC_E_CALL_CANCELED || Expired()) return kNoAnswer;
    if (status != RPC_E_CALL_REJECTED || !MayRetry()) return status;
    ::Sleep(kRetryPauseMs);
  }
}

}  // namespace platform

#endif  // LAUNCHER_PLATFORM_WIN32_ANSWER_TIMER_H_
