// The CorelDRAW host as the bridge sees it: one call per host operation.
//
// Every host object is reached through a std::unique_ptr, so a reference is
// released when the pointer goes out of scope, on every path. The one object
// held across clicks is the application object, which the Host keeps.
//
// A failing call throws HostFailure naming the operation, its result code
// (an HRESULT) and the text that goes with the code.
#pragma once

#include <cstdint>
#include <exception>
#include <memory>
#include <string>
#include <string_view>

namespace pigmentry::bridge {

// The colour model codes that the host defines and the bridge acts on.
enum class ColourModel : std::int32_t {
  CMYK = 2,
  CMY = 4,
  RGB = 5,
  HSB = 6,
  HLS = 7,
  BlackAndWhite = 8,
  Grayscale = 9,
  YIQ = 11,
  Lab = 12,
};
inline constexpr std::int32_t kModelRGB = static_cast<std::int32_t>(ColourModel::RGB);

// How an operation reaches the host: through its place in the interface's
// method table, or by name through automation. The bridge uses both, as the
// host's own clients do.
enum class Via : std::uint8_t { Slot, Name };

enum class Operation : std::uint8_t {
  CreateApplication,
  ApplicationSwitch,
  GetSelection,
  Count,
  Item,
  Enumerate,
  Fill,
  Outline,
  FillType,
  FillColour,
  OutlineType,
  OutlineColour,
  NewColour,
  ModelCode,
  ToRGB,
  AssignRGB,
  Red,
  Green,
  Blue,
  CopyFrom,
  ConvertToModel,
  CopyAssign,
};

// The operation as the user reads it in a failure message.
[[nodiscard]] std::wstring_view OperationName(Operation operation);

class HostFailure : public std::exception {
 public:
  HostFailure(Operation operation, std::int32_t code, std::wstring text)
      : operation_(operation), code_(code), text_(std::move(text)) {}
  [[nodiscard]] const char* what() const noexcept override { return "CorelDRAW call failed"; }
  [[nodiscard]] Operation FailedOperation() const { return operation_; }
  [[nodiscard]] std::int32_t Code() const { return code_; }
  [[nodiscard]] const std::wstring& Text() const { return text_; }

 private:
  Operation operation_;
  std::int32_t code_;
  std::wstring text_;
};

// True for the result codes by which a host that is busy (a dialog box
// open, a long command running) refuses a call.
[[nodiscard]] bool IsHostBusy(std::int32_t code);

// True for the result codes that say the host has gone away (closed,
// crashed, disconnected): the application object is then useless.
[[nodiscard]] bool IsHostGone(std::int32_t code);

// Base of every host object: not copyable, released by its destructor.
class HostObject {
 public:
  HostObject() = default;
  HostObject(const HostObject&) = delete;
  HostObject& operator=(const HostObject&) = delete;
  virtual ~HostObject() = default;
};

class Colour : public HostObject {
 public:
  [[nodiscard]] virtual std::int32_t Model() = 0;
  virtual void ToRGB() = 0;
  virtual void AssignRGB(std::int32_t red, std::int32_t green, std::int32_t blue) = 0;
  [[nodiscard]] virtual std::int32_t Red() = 0;
  [[nodiscard]] virtual std::int32_t Green() = 0;
  [[nodiscard]] virtual std::int32_t Blue() = 0;
  // This colour takes over the model and value of `source`.
  virtual void CopyFrom(Colour& source) = 0;
  // Converts to one of the models of ColourModel other than RGB.
  virtual void ConvertTo(ColourModel model) = 0;
  // Applies `source` to the fill or outline this colour belongs to.
  virtual void CopyAssign(Colour& source) = 0;
};

class Fill : public HostObject {
 public:
  [[nodiscard]] virtual std::int32_t Type(Via via) = 0;
  [[nodiscard]] virtual std::unique_ptr<Colour> UniformColor(Via via) = 0;
};
inline constexpr std::int32_t kUniformFill = 1;

class Outline : public HostObject {
 public:
  [[nodiscard]] virtual std::int32_t Type(Via via) = 0;
  [[nodiscard]] virtual std::unique_ptr<Colour> Color(Via via) = 0;
};
inline constexpr std::int32_t kNoOutline = 0;
inline constexpr std::int32_t kSolidOutline = 1;

class Shape : public HostObject {
 public:
  [[nodiscard]] virtual std::unique_ptr<bridge::Fill> Fill(Via via) = 0;
  [[nodiscard]] virtual std::unique_ptr<bridge::Outline> Outline(Via via) = 0;
};

// Walks the shapes of a collection in the host's order.
class ShapeEnumerator : public HostObject {
 public:
  // The next shape, or nullptr after the last.
  [[nodiscard]] virtual std::unique_ptr<Shape> Next() = 0;
};

class ShapeCollection : public HostObject {
 public:
  [[nodiscard]] virtual std::int32_t Count() = 0;
  // Positions start at 1.
  [[nodiscard]] virtual std::unique_ptr<Shape> Item(std::int16_t position) = 0;
  [[nodiscard]] virtual std::unique_ptr<ShapeEnumerator> Enumerate() = 0;
};

class Application : public HostObject {
 public:
  // Writes the application's Boolean switch; nothing is read back.
  virtual void SetSwitch(bool on) = 0;
  [[nodiscard]] virtual std::unique_ptr<ShapeCollection> Selection() = 0;
};

// The way to the host. It creates the application object on first use and
// holds it until told to let go of it. A derived host whose application
// objects refer to it calls LetGoOfApplication in its own destructor.
class Host {
 public:
  Host() = default;
  Host(const Host&) = delete;
  Host& operator=(const Host&) = delete;
  virtual ~Host() = default;

  // The held application object, created by the first call.
  [[nodiscard]] Application& HeldApplication();
  [[nodiscard]] bool HoldsApplication() const { return application_ != nullptr; }
  // Releases the application object; the next HeldApplication creates one.
  void LetGoOfApplication() { application_.reset(); }

  // A new, free-standing colour object.
  [[nodiscard]] virtual std::unique_ptr<Colour> NewColour() = 0;

  // Keeps the user's input away from `window` (a window handle) while the
  // click's host calls run: a host in another process is waited for in a
  // loop that dispatches the window's messages. Nothing where calls return
  // without dispatching any.
  [[nodiscard]] virtual std::unique_ptr<HostObject> HoldInput(std::intptr_t window) {
    static_cast<void>(window);
    return nullptr;
  }

  // Marks a click's work with the host for its scope, so a click that
  // arrives while another runs (dispatched from inside a host call) is
  // refused instead of nested.
  class Working {
   public:
    explicit Working(Host& host) : host_(host) { host_.working_ = true; }
    Working(const Working&) = delete;
    Working& operator=(const Working&) = delete;
    ~Working() { host_.working_ = false; }

   private:
    Host& host_;
  };
  [[nodiscard]] bool IsWorking() const { return working_; }

 protected:
  [[nodiscard]] virtual std::unique_ptr<Application> CreateApplication() = 0;

 private:
  std::unique_ptr<Application> application_;
  bool working_ = false;
};

}  // namespace pigmentry::bridge
