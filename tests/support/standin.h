// The stand-in host as the tests, the soak and the benchmarks drive it: its
// drawing file, which the host loads when a client first reaches it and
// writes back with its call log at the end of each chain of calls; how the
// host is told where that file is (a value under the stand-in's own
// registry key, read however COM starts it); its drawing window, where the
// user changes the selection; and how a running host is stopped.
#pragma once

#include <windows.h>

#include <chrono>
#include <cstddef>
#include <string>
#include <vector>

namespace pigmentry::e2e {

using namespace std::chrono_literals;

// Names the stand-in host's drawing file under the stand-in's own registry
// key; an empty path removes it.
void UseStandInDrawing(const std::wstring& path);
// The stand-in host's drawing window, in the host's own process, once a
// program has reached the host; nullptr before.
HWND StandInDrawingWindow();
// Tells a running stand-in host (a local server) to stop and waits until
// it has gone; true when none is left.
bool StopStandIn(std::chrono::milliseconds timeout = 10s);

// Moves the drawing window where it hides none of the program's window.
void MoveStandInDrawingWindow(HWND drawing, POINT topLeft);
// A click on shape `index` (from 0) of the drawing window: it becomes the
// selection, or with `adding` (Ctrl+click) is added to it or taken out.
void ClickStandInShape(HWND drawing, std::size_t index, bool adding);

// A host whose drawing is the file `name` in the temporary folder; when
// this goes, the host is stopped, the setting removed and the file deleted.
class StandInHost {
 public:
  explicit StandInHost(const std::wstring& name);
  StandInHost(const StandInHost&) = delete;
  StandInHost& operator=(const StandInHost&) = delete;
  ~StandInHost();

  [[nodiscard]] const std::wstring& DrawingPath() const { return path_; }
  // Writes the drawing the host loads when a program first reaches it.
  [[nodiscard]] bool WriteDrawing(const std::string& text) const;
  // The drawing as the host last wrote it back, with its log.
  [[nodiscard]] std::string ReadDrawing() const;

 private:
  std::wstring path_;
};

// --- A drawing as the host writes it back ---------------------------------

// Its shape lines ("shape ..."), in order.
std::vector<std::string> ShapeLines(const std::string& drawing);
// Its log, each entry without its "log " mark: "<n> <object> <call>" for a
// call the host counted, a note ("Application created") otherwise.
std::vector<std::string> LogLines(const std::string& drawing);
// The number of the `nth` (from 1) logged call that ends with `call`; 0
// when there is none.
long CallNumber(const std::string& drawing, const std::string& call, int nth);

// What reached the host's objects, from the drawing's last line: the
// QueryInterface and Release calls, the objects given to clients and, of
// those, the ones still held; 0 before the host has written it.
struct HostObjectCounts {
  long long queried = 0;
  long long released = 0;
  long long created = 0;
  long long alive = 0;
};
HostObjectCounts ObjectCounts(const std::string& drawing);

}  // namespace pigmentry::e2e
