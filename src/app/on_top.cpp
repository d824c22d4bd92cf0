#include "app/on_top.h"

#include "app/form1.h"
#include "platform/user32.h"

namespace pigmentry::app {

namespace OnTop {

namespace {

void Restack(std::intptr_t hWnd, std::intptr_t hWndInsertAfter) {
  if (hWnd == 0) {
    return;
  }
  // A failure leaves the window where it was; the menu's check mark is the
  // record of the setting either way.
  static_cast<void>(
      platform::SetWindowPos(hWnd, hWndInsertAfter, 0, 0, 0, 0, kSwpNoSize | kSwpNoMove));
}

}  // namespace

void SetTopMost(std::intptr_t hWnd) { Restack(hWnd, kHwndTopMost); }

void SetNotTopMost(std::intptr_t hWnd) { Restack(hWnd, kHwndNoTopMost); }

}  // namespace OnTop

// The stacking order changes first, the check mark second.
void Form1::mnuOptTop_Click() {
  if (ui_.mnuOptTop().Checked()) {
    OnTop::SetNotTopMost(ui_.Me().Handle());
    ui_.mnuOptTop().SetChecked(false);
  } else {
    OnTop::SetTopMost(ui_.Me().Handle());
    ui_.mnuOptTop().SetChecked(true);
  }
}

}  // namespace pigmentry::app
