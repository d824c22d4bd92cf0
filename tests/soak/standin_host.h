// The stand-in host as the soak drives it: where its drawing lives, how the
// host is told about it (a value under the stand-in's own registry key, read
// however COM starts it), and how the user changes its selection.
#pragma once

#include <windows.h>

#include <cstddef>
#include <string>

namespace pigmentry::soak {

class StandInHost {
 public:
  // A host whose drawing is the file `name` in the temporary folder; the
  // host is stopped and the setting removed when this goes.
  explicit StandInHost(const std::wstring& name);
  StandInHost(const StandInHost&) = delete;
  StandInHost& operator=(const StandInHost&) = delete;
  ~StandInHost();

  // Writes the drawing the host loads when the program first reaches it.
  [[nodiscard]] bool WriteDrawing(const std::string& text) const;
  // The objects the host's process has given its clients, and those still
  // held, as it last wrote them in the drawing file (at the end of a click
  // or when the selection changed); 0 before.
  struct Objects {
    long long given = 0;
    long long held = 0;
  };
  [[nodiscard]] Objects ObjectsGiven() const;
  // The host's drawing window (in the host's own process), once the
  // program has reached the host; nullptr before.
  [[nodiscard]] static HWND DrawingWindow();
  // Moves the drawing window where it hides none of the program's window.
  static void MoveDrawingWindow(HWND drawing, POINT topLeft);
  // A click on shape `index` (from 0) of the drawing window: it becomes the
  // selection, or with `adding` (Ctrl+click) is added to it or taken out.
  static void ClickShape(HWND drawing, std::size_t index, bool adding);

 private:
  std::wstring path_;
};

}  // namespace pigmentry::soak
