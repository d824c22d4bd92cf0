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

}  // namespace pigmentry::testing_support
