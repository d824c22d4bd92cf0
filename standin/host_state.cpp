#include "standin/host_state.h"

#include <cstdio>
#include <fstream>
#include <iterator>
#include <sstream>

#include "standin/objects.h"

namespace pigmentry::standin {

namespace {

constexpr std::uintmax_t kLargestFile = 256U * 1024U * 1024U;

// The drawing file named under the stand-in's own key; COM may start the
// local server from a launch service, where the client's environment does
// not reach it.
std::filesystem::path RegisteredDrawingPath() {
  HKEY key = nullptr;
  if (RegOpenKeyExW(HKEY_CURRENT_USER, kSettingsKey, 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS) {
    return {};
  }
  std::wstring path(MAX_PATH, L'\0');
  auto size = static_cast<DWORD>(path.size() * sizeof(wchar_t));
  DWORD type = 0;
  const LSTATUS read = RegQueryValueExW(key, kDrawingValue, nullptr, &type,
                                        reinterpret_cast<BYTE*>(path.data()), &size);
  RegCloseKey(key);
  if (read != ERROR_SUCCESS || type != REG_SZ) {
    return {};
  }
  path.resize(size / sizeof(wchar_t));
  while (!path.empty() && path.back() == L'\0') {
    path.pop_back();
  }
  return path;
}

std::filesystem::path DrawingPath() { return RegisteredDrawingPath(); }

std::string Hex(std::int32_t code) {
  char text[16];
  std::snprintf(text, sizeof text, "0x%08X", static_cast<unsigned>(code));
  return text;
}

}  // namespace

HostState& State() {
  static HostState state;
  return state;
}

HRESULT HostState::Load() {
  std::filesystem::path path = DrawingPath();
  Drawing loaded;
  if (!path.empty()) {
    std::error_code error;
    const std::uintmax_t size = std::filesystem::file_size(path, error);
    if (error) {
      return HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND);
    }
    if (size > kLargestFile) {
      return HRESULT_FROM_WIN32(ERROR_FILE_TOO_LARGE);
    }
    std::ifstream file(path, std::ios::binary);
    const std::string text((std::istreambuf_iterator<char>(file)),
                           std::istreambuf_iterator<char>());
    if (!file.good() && !file.eof()) {
      return HRESULT_FROM_WIN32(ERROR_READ_FAULT);
    }
    auto parsed = ParseDrawing(text);
    if (!parsed) {
      return HRESULT_FROM_WIN32(ERROR_INVALID_DATA);
    }
    loaded = std::move(*parsed);
  }
  drawing_ = std::move(loaded);
  path_ = std::move(path);
  calls_ = 0;
  dirty_ = false;
  if (gone_) {
    gone_ = false;
    ++generation_;
  }
  return S_OK;
}

HRESULT HostState::Enter(int generation, const std::string& call) {
  ++calls_;
  dirty_ = true;
  std::string entry = std::to_string(calls_) + " " + call;
  HRESULT result = S_OK;
  if (drawing_.killCall != 0 && calls_ == drawing_.killCall) {
    // A host that crashes in the middle of a client's work: the log so far
    // is kept, the call never answers.
    drawing_.log.push_back(std::move(entry) + " -> killed");
    drawing_.killCall = 0;
    Flush();
    TerminateProcess(GetCurrentProcess(), 3);
  }
  if (drawing_.failCall != 0 && calls_ >= drawing_.failCall &&
      calls_ < drawing_.failCall + drawing_.failTimes) {
    result = drawing_.failCode;
    if (calls_ + 1 == drawing_.failCall + drawing_.failTimes) {
      drawing_.failCall = 0;
    }
  } else {
    if (drawing_.disconnectAfter != 0 && calls_ > drawing_.disconnectAfter) {
      gone_ = true;
      drawing_.disconnectAfter = 0;
    }
    if (gone_ || generation != generation_) {
      result = RPC_E_DISCONNECTED;
    }
  }
  if (FAILED(result)) {
    entry += " -> " + Hex(result);
  } else if (const auto answer = MalformedAnswer()) {
    entry += " -> malformed " + std::string(MalformedName(*answer));
  }
  drawing_.log.push_back(std::move(entry));
  if (FAILED(result)) {
    // The client may hold nothing but the application object after this,
    // so the end of its chain of calls may never come.
    Flush();
  }
  return result;
}

std::optional<Malformed> HostState::MalformedAnswer() const {
  if (drawing_.malformCall != 0 && calls_ == drawing_.malformCall) {
    return drawing_.malformAnswer;
  }
  return std::nullopt;
}

void HostState::Note(const std::string& text) {
  dirty_ = true;
  drawing_.log.push_back(text);
}

void HostState::SelectionChanged() {
  dirty_ = true;
  Flush();
}

void HostState::Flush() {
  if (!dirty_ || path_.empty()) {
    return;
  }
  dirty_ = false;
  std::ofstream file(path_, std::ios::binary | std::ios::trunc);
  const ObjectCalls objects = CallsSoFar();
  // For the bridge benchmark: what reached the objects of this process; for
  // the soak: how many objects went to clients.
  file << FormatDrawing(drawing_) << "# objects queried " << objects.queries << " released "
       << objects.releases << " created " << objects.created << " alive " << objects.alive << '\n';
}

}  // namespace pigmentry::standin
