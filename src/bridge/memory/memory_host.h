// An in-memory CorelDRAW host for the unit tests: a drawing of shapes with
// fill and outline colours, a selection, free-standing colour objects, a log
// of every call the program makes, a count of the host objects it holds,
// and failures on demand.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "bridge/host.h"
#include "bridge/memory/colour_models.h"

namespace pigmentry::bridge::memory {

using colour_models::ColourValue;

// The result codes the in-memory host gives, with the values COM uses.
inline constexpr std::int32_t kDisconnected = static_cast<std::int32_t>(0x80010108U);
inline constexpr std::int32_t kClassNotRegistered = static_cast<std::int32_t>(0x80040154U);
inline constexpr std::int32_t kFailed = static_cast<std::int32_t>(0x80004005U);
inline constexpr std::int32_t kInvalidArgument = static_cast<std::int32_t>(0x80070057U);

struct ShapeData {
  std::int32_t fillType = kUniformFill;
  ColourValue fillColour;
  std::int32_t outlineType = kNoOutline;
  ColourValue outlineColour;
  friend bool operator==(const ShapeData&, const ShapeData&) = default;
};

class MemoryHost final : public Host {
 public:
  MemoryHost();
  MemoryHost(const MemoryHost&) = delete;
  MemoryHost& operator=(const MemoryHost&) = delete;
  ~MemoryHost() override;

  // --- The drawing ---------------------------------------------------------
  // Adds a shape; gives its index in the drawing.
  std::size_t AddShape(const ShapeData& shape);
  [[nodiscard]] ShapeData& Shape(std::size_t index) { return *shapes_.at(index); }
  [[nodiscard]] std::size_t ShapeCount() const { return shapes_.size(); }
  // Selects the shapes with these indices, in this (the host's) order.
  void Select(const std::vector<std::size_t>& indices);
  // The model and value of every new colour object (RGB black unless set).
  ColourValue newColour = colour_models::MakeRgb(0, 0, 0);
  // The count the selection gives instead of the number of shapes in it: a
  // host whose count disagrees with what its enumeration yields.
  std::optional<std::int32_t> reportedCount;

  // --- What the program did -----------------------------------------------
  [[nodiscard]] const std::vector<std::string>& Log() const { return log_; }
  void ClearLog() { log_.clear(); }
  [[nodiscard]] long Calls() const { return calls_; }
  // Host objects the program holds now, the application object included.
  [[nodiscard]] int LiveObjects() const { return liveObjects_; }
  [[nodiscard]] int ApplicationsCreated() const { return applicationsCreated_; }
  // Whether calls are logged; a long benchmark only counts them.
  bool logging = true;

  // --- Failures -------------------------------------------------------------
  // The call `n` calls from now (1: the next one) fails with `code`.
  void FailCall(int n, std::int32_t code);
  // After `n` more calls the host goes away: every later call fails as
  // disconnected, until the program creates a new application object.
  void DisconnectAfter(int n);

  [[nodiscard]] std::unique_ptr<Colour> NewColour() override;

  // Bookkeeping for the host's objects: logs and counts the call, and throws
  // the failure due to it, if any.
  void Call(Operation operation, const std::string& entry, int generation);
  [[nodiscard]] int Generation() const { return generation_; }
  void ObjectCreated() { ++liveObjects_; }
  void ObjectReleased() { --liveObjects_; }
  [[nodiscard]] const std::vector<std::shared_ptr<ShapeData>>& Selection() const {
    return selection_;
  }

 protected:
  [[nodiscard]] std::unique_ptr<Application> CreateApplication() override;

 private:
  std::vector<std::shared_ptr<ShapeData>> shapes_;
  std::vector<std::shared_ptr<ShapeData>> selection_;
  std::vector<std::string> log_;
  long calls_ = 0;
  int liveObjects_ = 0;
  int applicationsCreated_ = 0;
  long failAt_ = 0;
  std::int32_t failCode_ = 0;
  long disconnectAfter_ = 0;
  bool gone_ = false;
  int generation_ = 0;
};

// The message text that goes with a result code of the in-memory host.
[[nodiscard]] std::wstring CodeText(std::int32_t code);

}  // namespace pigmentry::bridge::memory
