// The CorelDRAW host as the bridge sees it.
#pragma once

namespace pigmentry::bridge {

class Host {
 public:
  Host() = default;
  Host(const Host&) = delete;
  Host& operator=(const Host&) = delete;
  virtual ~Host() = default;
};

}  // namespace pigmentry::bridge
