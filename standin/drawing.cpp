#include "standin/drawing.h"

#include <array>
#include <charconv>
#include <cstdio>
#include <sstream>

namespace pigmentry::standin {

namespace {

namespace cm = colour_models;

constexpr std::size_t kMostShapes = 1000000;

class Tokens {
 public:
  explicit Tokens(std::string_view line) {
    std::size_t at = 0;
    while (at < line.size()) {
      const std::size_t start = line.find_first_not_of(" \t\r", at);
      if (start == std::string_view::npos) {
        break;
      }
      std::size_t end = line.find_first_of(" \t\r", start);
      if (end == std::string_view::npos) {
        end = line.size();
      }
      words_.push_back(line.substr(start, end - start));
      at = end;
    }
  }
  [[nodiscard]] bool Done() const { return next_ == words_.size(); }
  std::optional<std::string_view> Word() {
    if (Done()) {
      return std::nullopt;
    }
    return words_[next_++];
  }
  bool Expect(std::string_view word) {
    const auto got = Word();
    return got && *got == word;
  }
  std::optional<std::int64_t> Number(int base = 10) {
    auto word = Word();
    if (!word) {
      return std::nullopt;
    }
    if (base == 16 && word->size() > 2 && (*word)[0] == '0' && ((*word)[1] | 0x20) == 'x') {
      word->remove_prefix(2);
    }
    std::int64_t value = 0;
    const char* end = word->data() + word->size();
    const auto [stop, error] = std::from_chars(word->data(), end, value, base);
    if (error != std::errc() || stop != end) {
      return std::nullopt;
    }
    return value;
  }

 private:
  std::vector<std::string_view> words_;
  std::size_t next_ = 0;
};

std::optional<std::int32_t> Int32(Tokens& tokens) {
  const auto value = tokens.Number();
  if (!value || *value < INT32_MIN || *value > INT32_MAX) {
    return std::nullopt;
  }
  return static_cast<std::int32_t>(*value);
}

std::optional<ColourValue> Colour(Tokens& tokens) {
  const auto name = tokens.Word();
  if (!name) {
    return std::nullopt;
  }
  const auto model = cm::ModelFromName(*name);
  if (!model) {
    return std::nullopt;
  }
  ColourValue value{*model, {}};
  const int count = cm::IsKnownModel(*model) ? cm::ComponentCount(*model) : 4;
  for (int i = 0; i < count; ++i) {
    const auto component = Int32(tokens);
    if (!component) {
      return std::nullopt;
    }
    value.components[static_cast<std::size_t>(i)] = *component;
  }
  if (!cm::InRange(value)) {
    return std::nullopt;
  }
  return value;
}

std::optional<Shape> ShapeLine(Tokens& tokens) {
  Shape shape;
  if (!tokens.Expect("fill")) {
    return std::nullopt;
  }
  const auto fillType = Int32(tokens);
  const auto fill = fillType ? Colour(tokens) : std::nullopt;
  if (!fill || !tokens.Expect("outline")) {
    return std::nullopt;
  }
  const auto outlineType = Int32(tokens);
  const auto outline = outlineType ? Colour(tokens) : std::nullopt;
  if (!outline) {
    return std::nullopt;
  }
  return Shape{*fillType, *fill, *outlineType, *outline};
}

constexpr std::array<Malformed, 4> kMalformed = {Malformed::Empty, Malformed::Text, Malformed::Null,
                                                 Malformed::End};

std::optional<Malformed> MalformedFrom(std::string_view name) {
  for (const Malformed answer : kMalformed) {
    if (MalformedName(answer) == name) {
      return answer;
    }
  }
  return std::nullopt;
}

bool Line(std::string_view line, Drawing& drawing, std::vector<std::int64_t>& selected) {
  if (line.rfind("log ", 0) == 0) {
    drawing.log.emplace_back(line.substr(4));
    return true;
  }
  Tokens tokens(line);
  const auto keyword = tokens.Word();
  if (!keyword || keyword->front() == '#') {
    return true;
  }
  if (*keyword == "shape") {
    const auto shape = ShapeLine(tokens);
    if (!shape || drawing.shapes.size() == kMostShapes) {
      return false;
    }
    drawing.shapes.push_back(std::make_shared<Shape>(*shape));
  } else if (*keyword == "newcolour") {
    const auto colour = Colour(tokens);
    if (!colour) {
      return false;
    }
    drawing.newColour = *colour;
  } else if (*keyword == "select") {
    while (!tokens.Done()) {
      const auto number = tokens.Number();
      if (!number) {
        return false;
      }
      selected.push_back(*number);
    }
  } else if (*keyword == "fail") {
    const auto call = tokens.Number();
    const auto code = tokens.Number(16);
    if (!call || !code || *call < 1 || *code < 0 || *code > 0xFFFFFFFF) {
      return false;
    }
    drawing.failCall = static_cast<long>(*call);
    drawing.failCode = static_cast<std::int32_t>(static_cast<std::uint32_t>(*code));
    drawing.failTimes = 1;
    if (!tokens.Done()) {
      const auto times = tokens.Number();
      if (!times || *times < 1 || *times > INT32_MAX) {
        return false;
      }
      drawing.failTimes = static_cast<long>(*times);
    }
  } else if (*keyword == "kill") {
    const auto call = tokens.Number();
    if (!call || *call < 1 || *call > INT32_MAX) {
      return false;
    }
    drawing.killCall = static_cast<long>(*call);
  } else if (*keyword == "disconnect") {
    const auto calls = tokens.Number();
    if (!calls || *calls < 0 || *calls > INT32_MAX) {
      return false;
    }
    drawing.disconnectAfter = static_cast<long>(*calls);
  } else if (*keyword == "malform") {
    const auto call = tokens.Number();
    const auto word = tokens.Word();
    const auto answer = word ? MalformedFrom(*word) : std::nullopt;
    if (!call || *call < 1 || *call > INT32_MAX || !answer) {
      return false;
    }
    drawing.malformCall = static_cast<long>(*call);
    drawing.malformAnswer = *answer;
  } else {
    return false;
  }
  return tokens.Done();
}

void WriteColour(std::ostringstream& out, const ColourValue& value) {
  out << cm::ModelName(value.model);
  const int count = cm::IsKnownModel(value.model) ? cm::ComponentCount(value.model) : 4;
  for (int i = 0; i < count; ++i) {
    out << ' ' << value.components[static_cast<std::size_t>(i)];
  }
}

}  // namespace

std::string_view MalformedName(Malformed answer) {
  switch (answer) {
    case Malformed::Empty:
      return "empty";
    case Malformed::Text:
      return "text";
    case Malformed::Null:
      return "null";
    case Malformed::End:
      return "end";
  }
  return "empty";
}

std::optional<Drawing> ParseDrawing(std::string_view text) {
  Drawing drawing;
  std::vector<std::int64_t> selected;
  while (!text.empty()) {
    const std::size_t end = text.find('\n');
    const std::string_view line = text.substr(0, end);
    if (!Line(line, drawing, selected)) {
      return std::nullopt;
    }
    text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
  }
  for (const std::int64_t number : selected) {
    if (number < 1 || static_cast<std::uint64_t>(number) > drawing.shapes.size()) {
      return std::nullopt;
    }
    drawing.selection.push_back(static_cast<std::size_t>(number - 1));
  }
  return drawing;
}

std::string FormatDrawing(const Drawing& drawing) {
  std::ostringstream out;
  out << "# Pigmentry stand-in host drawing\nnewcolour ";
  WriteColour(out, drawing.newColour);
  out << '\n';
  for (const auto& shape : drawing.shapes) {
    out << "shape fill " << shape->fillType << ' ';
    WriteColour(out, shape->fill);
    out << " outline " << shape->outlineType << ' ';
    WriteColour(out, shape->outline);
    out << '\n';
  }
  out << "select";
  for (const std::size_t index : drawing.selection) {
    out << ' ' << index + 1;
  }
  out << '\n';
  if (drawing.failCall != 0) {
    char code[16];
    std::snprintf(code, sizeof code, "0x%08X", static_cast<unsigned>(drawing.failCode));
    out << "fail " << drawing.failCall << ' ' << code << ' ' << drawing.failTimes << '\n';
  }
  if (drawing.killCall != 0) {
    out << "kill " << drawing.killCall << '\n';
  }
  if (drawing.disconnectAfter != 0) {
    out << "disconnect " << drawing.disconnectAfter << '\n';
  }
  if (drawing.malformCall != 0) {
    out << "malform " << drawing.malformCall << ' ' << MalformedName(drawing.malformAnswer) << '\n';
  }
  for (const std::string& entry : drawing.log) {
    out << "log " << entry << '\n';
  }
  return out.str();
}

}  // namespace pigmentry::standin
