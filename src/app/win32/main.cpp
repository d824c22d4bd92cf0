// The program's entry: one window on one thread, a single-threaded COM
// apartment for the CorelDRAW bridge.
#include <windows.h>
// <windows.h> first: the other SDK headers build on it.
#include <commctrl.h>

#include "app/form1.h"
#include "app/form1_design.h"
#include "app/win32/start_steps.h"
#include "bridge/com/com_host.h"
#include "platform/win32/com_libraries.h"
#include "platform/win32/system_library.h"
#include "platform/win32/win32_form.h"

// The parameters keep the names the SDK declares them with.
int WINAPI wWinMain(HINSTANCE hInstance, HINSTANCE /*hPrevInstance*/, LPWSTR /*lpCmdLine*/,
                    int nShowCmd) {
  pigmentry::platform::win32::KeepDllSearchInSystemFolder();
  using pigmentry::app::StartSteps;
  StartSteps::Mark("entry");
  // COM is entered on first need: a click of a host button, or an
  // assistive tool's first question; left when the program ends.
  const pigmentry::platform::win32::com::ApartmentScope apartment;
  INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_STANDARD_CLASSES};
  ::InitCommonControlsEx(&controls);
  StartSteps::Mark("common_controls");

  const auto host = pigmentry::bridge::MakeComHost();
  StartSteps::Mark("host");
  const auto window = pigmentry::platform::win32::Win32Form::Create(
      hInstance, pigmentry::app::kForm1Design, &StartSteps::Mark);
  if (!window) {
    return 1;  // the system refused the window or one of its parts
  }
  pigmentry::app::Form1 form1(window->View(), *host);
  window->Connect(form1);
  window->Load();
  StartSteps::Mark("load");
  if (window->Unloaded()) {
    return 0;
  }
  window->Show(nShowCmd);
  StartSteps::Mark("show");
  StartSteps::Report();
  return window->RunMessageLoop();
}
