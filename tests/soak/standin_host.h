// The stand-in host as the soak drives it: where its drawing lives, how the
// program is told about it, and how the user changes its selection. Kept in
// one place so that another kind of host (a local server configured in the
// registry or a known file) only needs this file changed.
#pragma once

#include <windows.h>

#include <cstddef>
#include <string>
#include <vector>

namespace pigmentry::soak {

class StandInHost {
 public:
  // A host whose drawing is the file `name` in the temporary folder.
  explicit StandInHost(const std::wstring& name);
  StandInHost(const StandInHost&) = delete;
  StandInHost& operator=(const StandInHost&) = delete;
  ~StandInHost();

  // Writes the drawing the host loads when the program first reaches it.
  [[nodiscard]] bool WriteDrawing(const std::string& text) const;
  // The environment entries ("NAME=value") that point the program's host at
  // this drawing.
  [[nodiscard]] std::vector<std::wstring> Environment() const;

  // The host's drawing window in the program's process, once the program
  // has reached the host; nullptr before.
  [[nodiscard]] static HWND DrawingWindow(DWORD processId);
  // Moves the drawing window where it hides none of the program's window.
  static void MoveDrawingWindow(HWND drawing, POINT topLeft);
  // A click on shape `index` (from 0) of the drawing window: it becomes the
  // selection, or with `adding` (Ctrl+click) is added to it or taken out.
  static void ClickShape(HWND drawing, std::size_t index, bool adding);

 private:
  std::wstring path_;
};

}  // namespace pigmentry::soak
