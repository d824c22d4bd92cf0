// The stand-in host's one state per process: the drawing loaded from its
// file, the connection it belongs to, the call count and the objects alive.
#pragma once

#include <windows.h>

#include <filesystem>
#include <optional>
#include <string>

#include "standin/drawing.h"

namespace pigmentry::standin {

// The stand-in's own setting, the path of its drawing file: the value
// kDrawingValue under HKEY_CURRENT_USER\kSettingsKey. Not the environment:
// COM may start a local server from a launch service, not from the client.
inline constexpr const wchar_t* kSettingsKey = L"Software\\Pigmentry\\Stand-in host";
inline constexpr const wchar_t* kDrawingValue = L"Drawing";

class HostState {
 public:
  // (Re)loads the drawing for a new application object. A host that had
  // gone away starts again: objects of the old connection stay dead.
  HRESULT Load();
  // Counts and logs one call; gives the failure due to it, if any.
  HRESULT Enter(int generation, const std::string& call);
  // The malformed answer due to the call just counted, if any.
  [[nodiscard]] std::optional<Malformed> MalformedAnswer() const;
  // Logs without counting (a slot the host does not implement).
  void Note(const std::string& text);
  // Writes the drawing back to its file when it changed.
  void Flush();
  void SelectionChanged();

  [[nodiscard]] Drawing& Current() { return drawing_; }
  [[nodiscard]] int Generation() const { return generation_; }

 private:
  Drawing drawing_;
  std::filesystem::path path_;
  long calls_ = 0;
  bool gone_ = false;
  bool dirty_ = false;
  int generation_ = 0;
};

HostState& State();

}  // namespace pigmentry::standin
