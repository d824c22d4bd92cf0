#include "bridge/host.h"

#include <algorithm>
#include <array>
#include <iterator>

namespace pigmentry::bridge {

std::wstring_view OperationName(Operation operation) {
  switch (operation) {
    case Operation::CreateApplication:
      return L"create the application object";
    case Operation::ApplicationSwitch:
      return L"application switch";
    case Operation::GetSelection:
      return L"get the selection";
    case Operation::Count:
      return L"count the selected shapes";
    case Operation::Item:
      return L"take the first selected shape";
    case Operation::Enumerate:
      return L"enumerate the selected shapes";
    case Operation::Fill:
      return L"Fill";
    case Operation::Outline:
      return L"Outline";
    case Operation::FillType:
      return L"Fill.Type";
    case Operation::FillColour:
      return L"Fill.UniformColor";
    case Operation::OutlineType:
      return L"Outline.Type";
    case Operation::OutlineColour:
      return L"Outline.Color";
    case Operation::NewColour:
      return L"create a colour object";
    case Operation::ModelCode:
      return L"read the colour model";
    case Operation::ToRGB:
      return L"convert the colour to RGB";
    case Operation::AssignRGB:
      return L"assign the RGB colour";
    case Operation::Red:
      return L"read the red component";
    case Operation::Green:
      return L"read the green component";
    case Operation::Blue:
      return L"read the blue component";
    case Operation::CopyFrom:
      return L"copy the shape's colour";
    case Operation::ConvertToModel:
      return L"convert the colour back to its model";
    case Operation::CopyAssign:
      return L"CopyAssign";
  }
  return L"call the host";
}

bool IsHostGone(std::int32_t code) {
  // The codes by which COM says that the other side has gone away: the
  // server closed or died, the proxy lost its stub, or RPC cannot reach it.
  constexpr std::array<std::uint32_t, 10> kGone = {
      0x80010108U,  // RPC_E_DISCONNECTED
      0x80010007U,  // RPC_E_SERVER_DIED
      0x80010012U,  // RPC_E_SERVER_DIED_DNE
      0x80010006U,  // RPC_E_CONNECTION_TERMINATED
      0x800401FDU,  // CO_E_OBJNOTCONNECTED
      0x80004018U,  // CO_E_SERVER_STOPPING
      0x800706BAU,  // HRESULT_FROM_WIN32(RPC_S_SERVER_UNAVAILABLE)
      0x800706BEU,  // HRESULT_FROM_WIN32(RPC_S_CALL_FAILED)
      0x800706BFU,  // HRESULT_FROM_WIN32(RPC_S_CALL_FAILED_DNE)
      0x80010114U,  // RPC_E_INVALID_OBJECT
  };
  const auto value = static_cast<std::uint32_t>(code);
  return std::find(std::begin(kGone), std::end(kGone), value) != std::end(kGone);
}

bool IsHostBusy(std::int32_t code) {
  const auto value = static_cast<std::uint32_t>(code);
  return value == 0x80010001U      // RPC_E_CALL_REJECTED
         || value == 0x8001010AU;  // RPC_E_SERVERCALL_RETRYLATER
}

Application& Host::HeldApplication() {
  if (!application_) {
    application_ = CreateApplication();
  }
  return *application_;
}

}  // namespace pigmentry::bridge
