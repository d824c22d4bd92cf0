// The four CorelDRAW buttons of the real program against the stand-in host
// registered in the prefix: the test prepares the stand-in's drawing file,
// clicks, and checks the window's fields and the drawing written back.
#include <gtest/gtest.h>
#include <windows.h>
// tlhelp32.h needs the types of windows.h.
#include <tlhelp32.h>

#include <memory>
#include <string>
#include <vector>

#include "bridge/com/binding.h"
#include "support/harness.h"
#include "support/registry.h"
#include "support/standin.h"

namespace pigmentry::e2e {
namespace {

using platform::ControlId;

class BridgeButtons : public ::testing::Test {
 protected:
  void Start() {
    program_ = std::make_unique<RunningProgram>();
    ASSERT_NE(program_->WaitForWindow(), nullptr);
  }
  void TearDown() override {
    if (program_) {
      program_->Close();
    }
  }
  void WriteDrawing(const std::string& text) const { EXPECT_TRUE(host_.WriteDrawing(text)); }
  [[nodiscard]] std::string ReadDrawing() const { return host_.ReadDrawing(); }
  void Click(ControlId button) const { ASSERT_TRUE(program_->ClickHostButton(button)); }
  void SetField(int index, const wchar_t* text) const {
    ::SendMessageW(program_->Control(platform::TxtCId(index)), WM_SETTEXT, 0,
                   reinterpret_cast<LPARAM>(text));
    program_->Sync();
  }
  [[nodiscard]] std::vector<std::wstring> ReadFields() const {
    return {
        TextOf(program_->Control(ControlId::txtC0)), TextOf(program_->Control(ControlId::txtC1)),
        TextOf(program_->Control(ControlId::txtC2)), TextOf(program_->Control(ControlId::txtHex))};
  }
  // The message box the click raised: its text; the box is closed.
  std::wstring TakeMessage() const {
    HWND box = WaitForMessageBox(program_->ProcessId(), L"Draw Pigmentry 11");
    if (box == nullptr) {
      return {};
    }
    std::wstring text = MessageBoxText(box);
    PressOk(box);
    program_->Sync();
    return text;
  }

  // Stopped, its drawing's setting and file gone, once the program has been.
  StandInHost host_{L"pigmentry_bridge_buttons.txt"};
  std::unique_ptr<RunningProgram> program_;
};

using Fields = std::vector<std::wstring>;

TEST_F(BridgeButtons, GetFillAndOutlineFillTheFields) {
  WriteDrawing(
      "shape fill 1 RGB 255 0 128 outline 1 CMYK 0 0 0 100\n"
      "shape fill 1 RGB 1 2 3 outline 0 RGB 0 0 0\n"
      "select 1 2\n");
  Start();

  Click(ControlId::cmdGetPaint);
  EXPECT_EQ(ReadFields(), (Fields{L"255", L"0", L"128", L"FF0080"}));

  Click(ControlId::cmdGetPaper);
  EXPECT_EQ(ReadFields(), (Fields{L"0", L"0", L"0", L"000000"}));

  const std::string drawing = ReadDrawing();
  EXPECT_EQ(ShapeLines(drawing),
            (std::vector<std::string>{"shape fill 1 RGB 255 0 128 outline 1 CMYK 0 0 0 100",
                                      "shape fill 1 RGB 1 2 3 outline 0 RGB 0 0 0"}));
  for (const char* call :
       {"Application vtable put_Switch true", "Application vtable get_Selection",
        "Shapes vtable get_Count", "Shapes vtable Item vt 2", "Shape vtable get_Fill",
        "Fill vtable get_Type", "Fill vtable get_UniformColor", "Shape vtable get_Outline",
        "Outline vtable get_Type", "Outline vtable get_Color", "Color vtable CopyFrom",
        "Color vtable get_Type", "Color vtable ConvertToRGB", "Color vtable get_RGBRed",
        "Color vtable get_RGBGreen", "Color vtable get_RGBBlue"}) {
    EXPECT_NE(drawing.find(std::string(" ") + call + "\n"), std::string::npos) << call;
  }
  EXPECT_EQ(drawing.find("E_NOTIMPL"), std::string::npos) << drawing;
  EXPECT_EQ(drawing.find("Application created"), drawing.rfind("Application created"))
      << "one application object for both clicks";
}

TEST_F(BridgeButtons, SetFillKeepsEachShapesModelAndLeavesTheFields) {
  WriteDrawing(
      "shape fill 1 CMYK 10 20 30 40 outline 0 RGB 0 0 0\n"
      "shape fill 1 RGB 1 2 3 outline 0 RGB 0 0 0\n"
      "shape fill 1 RGB 7 7 7 outline 0 RGB 0 0 0\n"
      "select 1 2\n");
  Start();
  SetField(1, L"0");
  SetField(2, L"0");
  ASSERT_EQ(ReadFields(), (Fields{L"255", L"0", L"0", L"FF0000"}));

  Click(ControlId::cmdSetPaint);

  EXPECT_EQ(ReadFields(), (Fields{L"255", L"0", L"0", L"FF0000"}));
  const std::string drawing = ReadDrawing();
  EXPECT_EQ(ShapeLines(drawing),
            (std::vector<std::string>{"shape fill 1 CMYK 0 100 100 0 outline 0 RGB 0 0 0",
                                      "shape fill 1 RGB 255 0 0 outline 0 RGB 0 0 0",
                                      "shape fill 1 RGB 7 7 7 outline 0 RGB 0 0 0"}));
  for (const char* call :
       {"Shapes Invoke _NewEnum", "Enum Next", "Shape GetIDsOfNames Fill", "Shape Invoke Fill",
        "Fill Invoke Type", "Fill Invoke UniformColor", "Color vtable RGBAssign 255 0 0",
        "Color vtable ConvertToCMYK", "Color Invoke CopyAssign"}) {
    EXPECT_NE(drawing.find(std::string(" ") + call + "\n"), std::string::npos) << call;
  }
  // Two shapes, but each name is looked up once.
  EXPECT_EQ(CallNumber(drawing, "Shape GetIDsOfNames Fill", 2), 0);
  EXPECT_EQ(drawing.find("E_NOTIMPL"), std::string::npos) << drawing;
}

TEST_F(BridgeButtons, NothingSelectedZeroesTheFields) {
  WriteDrawing("shape fill 1 RGB 1 2 3 outline 0 RGB 0 0 0\nselect\n");
  Start();

  Click(ControlId::cmdSetPaper);

  EXPECT_EQ(ReadFields(), (Fields{L"0", L"0", L"0", L"000000"}));
  EXPECT_EQ(ShapeLines(ReadDrawing()),
            (std::vector<std::string>{"shape fill 1 RGB 1 2 3 outline 0 RGB 0 0 0"}));
}

// Runs a stand-in host (a quoted path) with one switch and waits for it.
void RunStandIn(const std::wstring& server, const wchar_t* option) {
  std::wstring line = server + L" " + option;
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  if (::CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                       &process) == FALSE) {
    const DWORD error = ::GetLastError();
    ADD_FAILURE() << "cannot start " << line << ": Win32 error " << error;
    return;
  }
  ::WaitForSingleObject(process.hProcess, 30000);
  ::CloseHandle(process.hThread);
  ::CloseHandle(process.hProcess);
}

// Takes the stand-in's registration away for the life of the object, and
// gives it back to the same server: the 32-bit one where it runs, as the
// real host is, else the 64-bit one.
class Unregistered {
 public:
  Unregistered() : server_(RegisteredServer(CLSID_ApplicationClass)) {
    if (server_.empty()) {
      server_ = L"\"" + OwnFolder() + L"pigmentry_standin.exe\"";
    }
    RunStandIn(server_, L"/UnregServer");
  }
  Unregistered(const Unregistered&) = delete;
  Unregistered& operator=(const Unregistered&) = delete;
  ~Unregistered() { RunStandIn(server_, L"/RegServer"); }

 private:
  std::wstring server_;
};

TEST_F(BridgeButtons, AHostThatIsNotRegisteredIsReportedAndTheFieldsStay) {
  WriteDrawing("shape fill 1 RGB 1 2 3 outline 0 RGB 0 0 0\nselect 1\n");
  {
    const Unregistered gone;
    Start();
    Click(ControlId::cmdGetPaint);
    const std::wstring message = TakeMessage();
    EXPECT_NE(message.find(L"create the application object"), std::wstring::npos) << message;
    EXPECT_NE(message.find(L"0x80040154"), std::wstring::npos) << message;
    EXPECT_EQ(ReadFields(), (Fields{L"255", L"255", L"255", L"FFFFFF"}));
  }
  // Registered again: the next click reaches the host.
  Click(ControlId::cmdGetPaint);
  EXPECT_EQ(ReadFields(), (Fields{L"1", L"2", L"3", L"010203"}));
}

// Ends Wine's COM service (rpcss.exe), which holds the classes that local
// servers have registered; COM starts it again when it is next needed.
bool EndWinesComService() {
  HANDLE snapshot = ::CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
  if (snapshot == INVALID_HANDLE_VALUE) {
    return false;
  }
  PROCESSENTRY32W entry{};
  entry.dwSize = sizeof entry;
  bool ended = false;
  for (BOOL more = ::Process32FirstW(snapshot, &entry); more != FALSE;
       more = ::Process32NextW(snapshot, &entry)) {
    if (_wcsicmp(entry.szExeFile, L"rpcss.exe") != 0) {
      continue;
    }
    HANDLE service = ::OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, entry.th32ProcessID);
    if (service != nullptr) {
      ended = ::TerminateProcess(service, 0) != FALSE &&
              ::WaitForSingleObject(service, 10000) == WAIT_OBJECT_0;
      ::CloseHandle(service);
    }
  }
  ::CloseHandle(snapshot);
  return ended;
}

// Three RGB shapes, all selected, and the number of the host call that is
// the second shape's CopyAssign in a Set on them, found by a first run.
class SetStoppedMidway : public BridgeButtons {
 protected:
  static constexpr const char* kShapes =
      "shape fill 1 RGB 1 1 1 outline 0 RGB 0 0 0\n"
      "shape fill 1 RGB 2 2 2 outline 0 RGB 0 0 0\n"
      "shape fill 1 RGB 3 3 3 outline 0 RGB 0 0 0\n"
      "select 1 2 3\n";

  long SecondAssign() {
    WriteDrawing(kShapes);
    Start();
    Click(ControlId::cmdSetPaint);
    const long call = CallNumber(ReadDrawing(), "Color Invoke CopyAssign", 2);
    program_->Close();
    StopStandIn();
    return call;
  }

  // Runs the Set again with `trouble` ("fail" or "kill") at that call and
  // `rest` after it added to the drawing,
  // and checks what every stopped Set shows: the message names the call and
  // how far the Set got, the fields keep their colour, and the first shape
  // alone has it. Gives the message.
  std::wstring SetWith(const std::string& trouble, const std::string& rest = "") {
    const long second = SecondAssign();
    EXPECT_GT(second, 0);
    WriteDrawing(std::string(kShapes) + trouble + " " + std::to_string(second) + rest + "\n");
    Start();
    SetField(0, L"9");
    Click(ControlId::cmdSetPaint);
    const std::wstring message = TakeMessage();
    EXPECT_NE(message.find(L"CopyAssign"), std::wstring::npos) << message;
    EXPECT_NE(message.find(L"1 of the 3 selected shapes had been set before it."),
              std::wstring::npos)
        << message;
    EXPECT_EQ(ReadFields(), (Fields{L"9", L"255", L"255", L"09FFFF"}));
    EXPECT_EQ(ShapeLines(ReadDrawing()),
              (std::vector<std::string>{"shape fill 1 RGB 9 255 255 outline 0 RGB 0 0 0",
                                        "shape fill 1 RGB 2 2 2 outline 0 RGB 0 0 0",
                                        "shape fill 1 RGB 3 3 3 outline 0 RGB 0 0 0"}));
    return message;
  }
};

TEST_F(SetStoppedMidway, AFailingCallStopsTheSetAndLeavesTheFields) {
  const std::wstring message = SetWith("fail", " 0x80004005");
  EXPECT_NE(message.find(L"0x80004005"), std::wstring::npos) << message;
}

TEST_F(SetStoppedMidway, AHostKilledDuringASetIsReportedWithoutAHang) {
  // The host process ends inside the call: the call fails, it never answers.
  const std::wstring message = SetWith("kill");
  EXPECT_NE(message.find(L"0x800706"), std::wstring::npos) << message;
  // The dead application object has been let go. Wine keeps a killed local
  // server's class registered, so a new host cannot be started from here:
  // the next click must fail with a message, promptly, not hang or crash.
  Click(ControlId::cmdGetPaint);
  const std::wstring next = TakeMessage();
  EXPECT_NE(next.find(L"CorelDRAW"), std::wstring::npos) << next;
  EXPECT_EQ(ReadFields(), (Fields{L"9", L"255", L"255", L"09FFFF"}));

  // Wine keeps the dead host's class in its COM service; ended, the service
  // is started afresh without it, and the next click starts a new host.
  ASSERT_TRUE(EndWinesComService());
  WriteDrawing(kShapes);
  Click(ControlId::cmdGetPaint);
  EXPECT_EQ(FindVisibleWindow(program_->ProcessId(), L"#32770"), nullptr) << "no message";
  EXPECT_EQ(ReadFields(), (Fields{L"1", L"1", L"1", L"010101"}));
}

// The process id of the stand-in host whose drawing window is open.
DWORD StandInProcess() {
  HWND drawing = StandInDrawingWindow();
  DWORD process = 0;
  if (drawing != nullptr) {
    ::GetWindowThreadProcessId(drawing, &process);
  }
  return process;
}

TEST_F(BridgeButtons, AHostClosedBetweenClicksIsStartedAgainByTheNextClick) {
  WriteDrawing("shape fill 1 RGB 10 20 30 outline 0 RGB 0 0 0\nselect 1\n");
  Start();
  Click(ControlId::cmdGetPaint);
  ASSERT_EQ(ReadFields(), (Fields{L"10", L"20", L"30", L"0A141E"}));
  const DWORD first = StandInProcess();
  ASSERT_NE(first, 0U);

  // The user closes the host; it exits cleanly, its objects disconnected.
  ASSERT_TRUE(StopStandIn());
  WriteDrawing("shape fill 1 RGB 7 8 9 outline 0 RGB 0 0 0\nselect 1\n");
  Click(ControlId::cmdGetPaint);

  const HWND box = FindVisibleWindow(program_->ProcessId(), L"#32770");
  EXPECT_EQ(box, nullptr) << "no message, but: " << (box != nullptr ? MessageBoxText(box) : L"");
  EXPECT_EQ(ReadFields(), (Fields{L"7", L"8", L"9", L"070809"}));
  const DWORD second = StandInProcess();
  EXPECT_NE(second, 0U);
  EXPECT_NE(second, first) << "a new host process";
}

TEST_F(BridgeButtons, AHostThatGoesDuringAClickIsReportedAndTheNextClickConnectsAgain) {
  // The host goes after the third call of the first click.
  WriteDrawing("shape fill 1 RGB 10 20 30 outline 0 RGB 0 0 0\nselect 1\ndisconnect 3\n");
  Start();
  SetField(0, L"99");

  Click(ControlId::cmdGetPaint);
  const std::wstring message = TakeMessage();
  EXPECT_NE(message.find(L"0x80010108"), std::wstring::npos) << message;
  EXPECT_EQ(ReadFields(), (Fields{L"99", L"255", L"255", L"63FFFF"}));

  Click(ControlId::cmdGetPaint);
  EXPECT_EQ(ReadFields(), (Fields{L"10", L"20", L"30", L"0A141E"}));
  const std::string drawing = ReadDrawing();
  EXPECT_NE(drawing.find("Application created"), drawing.rfind("Application created"))
      << "a second application object\n"
      << drawing;
}

TEST_F(BridgeButtons, ABusyHostIsAskedAgainAndAnswers) {
  // The switch, the click's first call, is refused twice, then carried out.
  WriteDrawing("shape fill 1 RGB 10 20 30 outline 0 RGB 0 0 0\nselect 1\nfail 1 0x80010001 2\n");
  Start();
  Click(ControlId::cmdGetPaint);

  EXPECT_EQ(FindVisibleWindow(program_->ProcessId(), L"#32770"), nullptr) << "no message";
  EXPECT_EQ(ReadFields(), (Fields{L"10", L"20", L"30", L"0A141E"}));
  const std::string drawing = ReadDrawing();
  EXPECT_NE(drawing.find("log 2 Application vtable put_Switch true -> 0x80010001\n"),
            std::string::npos)
      << drawing;
  EXPECT_NE(drawing.find("log 3 Application vtable put_Switch true\n"), std::string::npos)
      << drawing;
}

TEST_F(BridgeButtons, AHostBusyForLongIsReportedAndTheFieldsStay) {
  WriteDrawing(
      "shape fill 1 RGB 10 20 30 outline 0 RGB 0 0 0\nselect 1\nfail 2 0x8001010A 100000\n");
  Start();
  SetField(2, L"1");

  Click(ControlId::cmdGetPaint);
  const std::wstring message = TakeMessage();

  EXPECT_EQ(message.rfind(L"CorelDRAW is busy", 0), 0U) << message;
  EXPECT_EQ(ReadFields(), (Fields{L"255", L"255", L"1", L"FFFF01"}));
  // Asked again for a few seconds, a few times a second: not once, not in
  // a tight loop.
  const std::string drawing = ReadDrawing();
  const std::string refused = "Application vtable get_Selection -> 0x8001010A";
  EXPECT_GT(CallNumber(drawing, refused, 10), 0) << drawing;
  EXPECT_EQ(CallNumber(drawing, refused, 100), 0) << drawing;
}

TEST_F(BridgeButtons, InputDuringASetNeverReachesTheFieldsOrTheButtons) {
  // Enough shapes for the Set to take a while across the process boundary.
  constexpr int kShapes = 80;
  std::string drawing;
  std::string select = "select";
  for (int i = 1; i <= kShapes; ++i) {
    drawing += "shape fill 1 HSB 0 0 " + std::to_string(i) + " outline 0 RGB 0 0 0\n";
    select += " " + std::to_string(i);
  }
  WriteDrawing(drawing + select + "\n");
  Start();
  SetField(0, L"0");
  SetField(1, L"128");
  ASSERT_EQ(ReadFields(), (Fields{L"0", L"128", L"255", L"0080FF"}));

  HWND setFill = program_->Control(ControlId::cmdSetPaint);
  ::PostMessageW(setFill, BM_CLICK, 0, 0);
  ASSERT_TRUE(WaitUntil([&] { return ::IsWindowEnabled(setFill) == FALSE; }, 10s))
      << "the buttons are greyed while the Set runs";
  // The user types, pastes and clicks while the Set waits on the host.
  ::PostMessageW(program_->Control(ControlId::txtC0), WM_CHAR, L'7', 0);
  ::PostMessageW(program_->Control(ControlId::txtC1), WM_KEYDOWN, VK_UP, 0);
  ::PostMessageW(program_->Control(ControlId::txtHex), WM_PASTE, 0, 0);
  ::PostMessageW(program_->Control(ControlId::cmdGetPaint), BM_CLICK, 0, 0);
  ::PostMessageW(setFill, BM_CLICK, 0, 0);
  // It answers (and so paints) all the while.
  DWORD_PTR answer = 0;
  EXPECT_NE(::SendMessageTimeoutW(program_->Window(), WM_NULL, 0, 0, SMTO_NORMAL, 2000, &answer),
            0);
  EXPECT_FALSE(::IsWindowEnabled(setFill)) << "the Set ended early: give it more shapes";
  ASSERT_TRUE(WaitUntil([&] { return ::IsWindowEnabled(setFill) != FALSE; }, 60s));
  program_->Sync();

  EXPECT_EQ(ReadFields(), (Fields{L"0", L"128", L"255", L"0080FF"}));
  const std::string after = ReadDrawing();
  const std::vector<std::string> shapes = ShapeLines(after);
  ASSERT_EQ(shapes.size(), static_cast<std::size_t>(kShapes));
  EXPECT_EQ(shapes, std::vector<std::string>(kShapes, shapes.front())) << "one colour for all";
  EXPECT_EQ(shapes.front().rfind("shape fill 1 HSB ", 0), 0U) << shapes.front();
  EXPECT_EQ(CallNumber(after, "Application vtable get_Selection", 2), 0)
      << "one click reached the host";
}

TEST_F(BridgeButtons, AMalformedDrawingIsReported) {
  WriteDrawing("shape fill 1 RGB 300 0 0 outline 0 RGB 0 0 0\n");
  Start();
  Click(ControlId::cmdGetPaint);
  const std::wstring message = TakeMessage();
  EXPECT_NE(message.find(L"0x8007000D"), std::wstring::npos) << message;
  EXPECT_EQ(ReadFields(), (Fields{L"255", L"255", L"255", L"FFFFFF"}));
}

}  // namespace
}  // namespace pigmentry::e2e
