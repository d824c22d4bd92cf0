#include "bridge/memory/memory_host.h"

#include <utility>

namespace pigmentry::bridge::memory {

namespace {

const char* ViaText(Via via) { return via == Via::Slot ? "[slot]" : "[name]"; }

// Common to every object the host hands out: counted while the program
// holds it, and tied to the connection it was made on.
class MemoryObject {
 public:
  explicit MemoryObject(MemoryHost& host) : host_(host), generation_(host.Generation()) {
    host_.ObjectCreated();
  }
  MemoryObject(const MemoryObject&) = delete;
  MemoryObject& operator=(const MemoryObject&) = delete;
  ~MemoryObject() { host_.ObjectReleased(); }

 protected:
  void Call(Operation operation, const std::string& entry) const {
    host_.Call(operation, entry, generation_);
  }
  [[nodiscard]] MemoryHost& Host() const { return host_; }

 private:
  MemoryHost& host_;
  int generation_;
};

// Which colour of a shape a colour object stands for, if any.
enum class ColourOf : std::uint8_t { Nothing, Fill, Outline };

class MemoryColour final : public Colour, MemoryObject {
 public:
  // A free-standing colour.
  MemoryColour(MemoryHost& host, const ColourValue& value)
      : MemoryObject(host), own_(value), value_(&own_) {}
  // The fill or outline colour of a shape.
  MemoryColour(MemoryHost& host, std::shared_ptr<ShapeData> shape, ColourOf of)
      : MemoryObject(host),
        shape_(std::move(shape)),
        of_(of),
        value_(of == ColourOf::Fill ? &shape_->fillColour : &shape_->outlineColour) {}

  std::int32_t Model() override {
    Call(Operation::ModelCode, "Colour.Model");
    return value_->model;
  }
  void ToRGB() override {
    Call(Operation::ToRGB, "Colour.ToRGB");
    colour_models::ConvertTo(*value_, colour_models::kRGB);
  }
  void AssignRGB(std::int32_t red, std::int32_t green, std::int32_t blue) override {
    Call(Operation::AssignRGB, "Colour.AssignRGB(" + std::to_string(red) + "," +
                                   std::to_string(green) + "," + std::to_string(blue) + ")");
    *value_ = colour_models::MakeRgb(red, green, blue);
  }
  std::int32_t Red() override {
    Call(Operation::Red, "Colour.Red");
    return Component(0);
  }
  std::int32_t Green() override {
    Call(Operation::Green, "Colour.Green");
    return Component(1);
  }
  std::int32_t Blue() override {
    Call(Operation::Blue, "Colour.Blue");
    return Component(2);
  }
  void CopyFrom(Colour& source) override {
    Call(Operation::CopyFrom, "Colour.CopyFrom");
    *value_ = Of(source, Operation::CopyFrom).Value();
  }
  void ConvertTo(ColourModel model) override {
    const auto code = static_cast<std::int32_t>(model);
    Call(Operation::ConvertToModel, "Colour.ConvertTo(" + std::to_string(code) + ")");
    colour_models::ConvertTo(*value_, code);
  }
  void CopyAssign(Colour& source) override {
    Call(Operation::CopyAssign, "Colour.CopyAssign");
    *value_ = Of(source, Operation::CopyAssign).Value();
    // A fill given a colour becomes a uniform fill.
    if (of_ == ColourOf::Fill) {
      shape_->fillType = kUniformFill;
    }
  }

  [[nodiscard]] const ColourValue& Value() const { return *value_; }

 private:
  // The RGB components exist only while the model is RGB.
  [[nodiscard]] std::int32_t Component(std::size_t index) const {
    return value_->model == colour_models::kRGB ? value_->components.at(index) : 0;
  }
  [[nodiscard]] static MemoryColour& Of(Colour& other, Operation operation) {
    auto* colour = dynamic_cast<MemoryColour*>(&other);
    if (colour == nullptr) {
      throw HostFailure(operation, kInvalidArgument, CodeText(kInvalidArgument));
    }
    return *colour;
  }

  ColourValue own_;
  std::shared_ptr<ShapeData> shape_;
  ColourOf of_ = ColourOf::Nothing;
  ColourValue* value_;
};

class MemoryFill final : public bridge::Fill, MemoryObject {
 public:
  MemoryFill(MemoryHost& host, std::shared_ptr<ShapeData> shape)
      : MemoryObject(host), shape_(std::move(shape)) {}
  std::int32_t Type(Via via) override {
    Call(Operation::FillType, std::string("Fill.Type") + ViaText(via));
    return shape_->fillType;
  }
  std::unique_ptr<Colour> UniformColor(Via via) override {
    Call(Operation::FillColour, std::string("Fill.UniformColor") + ViaText(via));
    return std::make_unique<MemoryColour>(Host(), shape_, ColourOf::Fill);
  }

 private:
  std::shared_ptr<ShapeData> shape_;
};

class MemoryOutline final : public bridge::Outline, MemoryObject {
 public:
  MemoryOutline(MemoryHost& host, std::shared_ptr<ShapeData> shape)
      : MemoryObject(host), shape_(std::move(shape)) {}
  std::int32_t Type(Via via) override {
    Call(Operation::OutlineType, std::string("Outline.Type") + ViaText(via));
    return shape_->outlineType;
  }
  std::unique_ptr<Colour> Color(Via via) override {
    Call(Operation::OutlineColour, std::string("Outline.Color") + ViaText(via));
    return std::make_unique<MemoryColour>(Host(), shape_, ColourOf::Outline);
  }

 private:
  std::shared_ptr<ShapeData> shape_;
};

class MemoryShape final : public bridge::Shape, MemoryObject {
 public:
  MemoryShape(MemoryHost& host, std::shared_ptr<ShapeData> shape)
      : MemoryObject(host), shape_(std::move(shape)) {}
  std::unique_ptr<bridge::Fill> Fill(Via via) override {
    Call(Operation::Fill, std::string("Shape.Fill") + ViaText(via));
    return std::make_unique<MemoryFill>(Host(), shape_);
  }
  std::unique_ptr<bridge::Outline> Outline(Via via) override {
    Call(Operation::Outline, std::string("Shape.Outline") + ViaText(via));
    return std::make_unique<MemoryOutline>(Host(), shape_);
  }

 private:
  std::shared_ptr<ShapeData> shape_;
};

using Shapes = std::vector<std::shared_ptr<ShapeData>>;

class MemoryEnumerator final : public ShapeEnumerator, MemoryObject {
 public:
  MemoryEnumerator(MemoryHost& host, Shapes shapes)
      : MemoryObject(host), shapes_(std::move(shapes)) {}
  std::unique_ptr<bridge::Shape> Next() override {
    Call(Operation::Enumerate, "Enumerator.Next");
    if (next_ == shapes_.size()) {
      return nullptr;
    }
    return std::make_unique<MemoryShape>(Host(), shapes_[next_++]);
  }

 private:
  Shapes shapes_;
  std::size_t next_ = 0;
};

class MemoryCollection final : public ShapeCollection, MemoryObject {
 public:
  MemoryCollection(MemoryHost& host, Shapes shapes)
      : MemoryObject(host), shapes_(std::move(shapes)) {}
  std::int32_t Count() override {
    Call(Operation::Count, "Selection.Count");
    return Host().reportedCount.value_or(static_cast<std::int32_t>(shapes_.size()));
  }
  std::unique_ptr<bridge::Shape> Item(std::int16_t position) override {
    Call(Operation::Item, "Selection.Item(" + std::to_string(position) + ")");
    if (position < 1 || static_cast<std::size_t>(position) > shapes_.size()) {
      throw HostFailure(Operation::Item, kInvalidArgument, CodeText(kInvalidArgument));
    }
    return std::make_unique<MemoryShape>(Host(), shapes_[static_cast<std::size_t>(position - 1)]);
  }
  std::unique_ptr<ShapeEnumerator> Enumerate() override {
    Call(Operation::Enumerate, "Selection.Enumerate");
    return std::make_unique<MemoryEnumerator>(Host(), shapes_);
  }

 private:
  Shapes shapes_;
};

class MemoryApplication final : public Application, MemoryObject {
 public:
  using MemoryObject::MemoryObject;
  void SetSwitch(bool on) override {
    Call(Operation::ApplicationSwitch,
         on ? "Application.Switch(true)" : "Application.Switch(false)");
  }
  std::unique_ptr<ShapeCollection> Selection() override {
    Call(Operation::GetSelection, "Application.Selection");
    return std::make_unique<MemoryCollection>(Host(), Host().Selection());
  }
};

}  // namespace

MemoryHost::MemoryHost() = default;

MemoryHost::~MemoryHost() { LetGoOfApplication(); }

std::size_t MemoryHost::AddShape(const ShapeData& shape) {
  shapes_.push_back(std::make_shared<ShapeData>(shape));
  return shapes_.size() - 1;
}

void MemoryHost::Select(const std::vector<std::size_t>& indices) {
  selection_.clear();
  for (const std::size_t index : indices) {
    selection_.push_back(shapes_.at(index));
  }
}

void MemoryHost::FailCall(int n, std::int32_t code) {
  failAt_ = calls_ + n;
  failCode_ = code;
}

void MemoryHost::DisconnectAfter(int n) { disconnectAfter_ = calls_ + n; }

void MemoryHost::Call(Operation operation, const std::string& entry, int generation) {
  ++calls_;
  if (logging) {
    log_.push_back(entry);
  }
  if (calls_ == failAt_) {
    throw HostFailure(operation, failCode_, CodeText(failCode_));
  }
  if (disconnectAfter_ != 0 && calls_ > disconnectAfter_) {
    gone_ = true;
    disconnectAfter_ = 0;
  }
  if (gone_ || generation != generation_) {
    throw HostFailure(operation, kDisconnected, CodeText(kDisconnected));
  }
}

std::unique_ptr<Application> MemoryHost::CreateApplication() {
  // Creating the application starts the host again if it had gone away.
  if (gone_) {
    gone_ = false;
    ++generation_;
  }
  Call(Operation::CreateApplication, "CreateApplication", generation_);
  ++applicationsCreated_;
  return std::make_unique<MemoryApplication>(*this);
}

std::unique_ptr<Colour> MemoryHost::NewColour() {
  Call(Operation::NewColour, "NewColour", generation_);
  return std::make_unique<MemoryColour>(*this, newColour);
}

std::wstring CodeText(std::int32_t code) {
  switch (static_cast<std::uint32_t>(code)) {
    case 0x80010108U:
      return L"The object invoked has disconnected from its clients.";
    case 0x80040154U:
      return L"Class not registered.";
    case 0x80004005U:
      return L"Unspecified error.";
    case 0x80070057U:
      return L"The parameter is incorrect.";
    default:
      return L"Host error.";
  }
}

}  // namespace pigmentry::bridge::memory
