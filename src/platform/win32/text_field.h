// A text field: an edit control whose program writes raise Change once,
// and only when the text differs, and whose KeyDown can consume a key.
#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <utility>

#include "platform/ui.h"
#include "platform/win32/child_window.h"

namespace pigmentry::platform::win32 {

class Win32TextField final : public ChildControl<TextField> {
 public:
  using ChildControl::ChildControl;
  [[nodiscard]] std::wstring Text() const override { return WindowText(); }
  void SetText(const std::wstring& text) override;
  [[nodiscard]] int SelStart() const override;
  [[nodiscard]] int SelLength() const override;
  void SetSelStart(int start) override;
  void SetSelLength(int length) override;

  void OnNotify(UINT code) override;
  std::optional<LRESULT> OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  // The selection's start and end.
  [[nodiscard]] std::pair<int, int> Selection() const;
  // True while the program itself writes the text: the edit's own change
  // notification is then not a user's change.
  bool writing_ = false;
};

}  // namespace pigmentry::platform::win32
