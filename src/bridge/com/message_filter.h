// The message filter of the window's thread: a host in another process
// that refuses a call because it is busy (a dialog box open there) is asked
// again for a few seconds before the call fails with RPC_E_CALL_REJECTED.
#pragma once

#include <objbase.h>
#include <windows.h>

#include "platform/win32/com_libraries.h"

namespace pigmentry::bridge::com {

class MessageFilter final : public IMessageFilter {
 public:
  // How long a rejected call is tried again, and how long between tries.
  static constexpr DWORD kRetryForMilliseconds = 5000;
  static constexpr DWORD kRetryEveryMilliseconds = 250;

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
    if (out == nullptr) {
      return E_POINTER;
    }
    if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IMessageFilter)) {
      *out = static_cast<IMessageFilter*>(this);
      return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
  }
  // Lives as long as the scope that registered it.
  ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
  ULONG STDMETHODCALLTYPE Release() override { return 1; }

  DWORD STDMETHODCALLTYPE HandleInComingCall(DWORD /*type*/, HTASK /*caller*/, DWORD /*tick*/,
                                             LPINTERFACEINFO /*info*/) override {
    return SERVERCALL_ISHANDLED;
  }
  // Milliseconds to wait before the next try, or (DWORD)-1 to give up.
  DWORD STDMETHODCALLTYPE RetryRejectedCall(HTASK /*callee*/, DWORD elapsed,
                                            DWORD /*rejectType*/) override {
    // A refused call and one to try later alike.
    return elapsed < kRetryForMilliseconds ? kRetryEveryMilliseconds : static_cast<DWORD>(-1);
  }
  DWORD STDMETHODCALLTYPE MessagePending(HTASK /*callee*/, DWORD /*tick*/,
                                         DWORD /*type*/) override {
    // The window's messages are handled as usual; the input hold keeps the
    // user's input out of a running click.
    return PENDINGMSG_WAITDEFPROCESS;
  }
};

// Registers a MessageFilter on this thread for the life of the scope. COM
// can refuse it (on a thread outside a single-threaded apartment, or with
// no ole32.dll): the program then works without it, the bridge asking a
// busy host again by itself, and the scope leaves the thread's filter as it
// found it.
class MessageFilterScope {
 public:
  MessageFilterScope()
      : installed_(SUCCEEDED(platform::win32::com::CoRegisterMessageFilter(&filter_, &previous_))) {
  }
  MessageFilterScope(const MessageFilterScope&) = delete;
  MessageFilterScope& operator=(const MessageFilterScope&) = delete;
  ~MessageFilterScope() {
    if (!installed_) {
      return;
    }
    IMessageFilter* ours = nullptr;
    platform::win32::com::CoRegisterMessageFilter(previous_, &ours);
    if (previous_ != nullptr) {
      previous_->Release();
    }
  }

  [[nodiscard]] bool Installed() const { return installed_; }

 private:
  MessageFilter filter_;
  IMessageFilter* previous_ = nullptr;
  bool installed_;  // after the two it is made from
};

}  // namespace pigmentry::bridge::com
