// A Form1 on the in-memory platform, wired as the program wires it, with the
// in-memory CorelDRAW host.
#pragma once

#include "app/form1.h"
#include "app/form1_design.h"
#include "bridge/memory/memory_host.h"
#include "platform/memory/memory_form.h"

namespace pigmentry::testing_support {

struct FormFixture {
  explicit FormFixture(int dpi = 96) : form(app::kForm1Design, dpi), form1(form.View(), host) {
    form.Connect(form1);
  }

  platform::memory::MemoryForm form;
  bridge::memory::MemoryHost host;
  app::Form1 form1;
};

// One window serves every input of a fuzz target: this puts it back into
// the state of a new one when the input is done, on every path out.
class ResetAfterInput {
 public:
  explicit ResetAfterInput(FormFixture& fx) : fx_(fx) {}
  ResetAfterInput(const ResetAfterInput&) = delete;
  ResetAfterInput& operator=(const ResetAfterInput&) = delete;
  ~ResetAfterInput() { fx_.form.Reset(); }

 private:
  FormFixture& fx_;
};

}  // namespace pigmentry::testing_support
