// Keeps the user's input away from the main window while a click's host
// calls run.
#pragma once

#include <windows.h>

#include <array>
#include <memory>

#include "bridge/host.h"

namespace pigmentry::bridge::com {

// While a single-threaded apartment waits for a host in another process it
// dispatches the thread's messages, so typing, pasting or clicking would
// act in the middle of a Get or Set. For its life this object drops the
// keyboard and mouse input (and posted clicks, pastes and texts) meant for
// the window or its controls, greys the four host buttons, and shows the
// wait cursor; painting and everything else goes on. The keyboard focus is
// where it was when the hold ends.
class InputHold final : public HostObject {
 public:
  explicit InputHold(HWND window);
  InputHold(const InputHold&) = delete;
  InputHold& operator=(const InputHold&) = delete;
  ~InputHold() override;

 private:
  static LRESULT CALLBACK OnMessage(int code, WPARAM removing, LPARAM message);

  HWND window_;
  HHOOK hook_ = nullptr;
  HWND focus_;
  std::array<HWND, 4> buttons_{};
  std::array<bool, 4> wereEnabled_{};
};

// Waits about `milliseconds` while dispatching the thread's messages (the
// hold keeps input out): painting goes on between retries.
void WaitDispatching(DWORD milliseconds);

}  // namespace pigmentry::bridge::com
