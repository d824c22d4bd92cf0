// A reset in-memory form is indistinguishable from a new one: the fuzz
// targets reset one form between inputs instead of creating it again, so
// anything a reset forgot would carry one input's state into the next.
#include <gtest/gtest.h>

#include <string>

#include "app/form1_design.h"
#include "support/form_fixture.h"

namespace pigmentry::testing_support {
namespace {

using platform::ControlId;

// Everything the form shows or recorded, but its handle, as one text.
std::wstring Snapshot(platform::memory::MemoryForm& form) {
  std::wstring out;
  const auto add = [&out](const std::wstring& text) { out += text + L"|"; };
  auto& me = form.Me();
  add(me.Caption());
  add(std::to_wstring(me.Left()) + L"," + std::to_wstring(me.Top()) + L"," +
      std::to_wstring(me.Width()) + L"," + std::to_wstring(me.Height()));
  add(std::to_wstring(static_cast<int>(me.Unloaded())) + me.ExeName() + me.CommandArgs());
  for (const auto& design : form.Design().controls) {
    const auto& control = form.View().ControlById(design.id);
    add(std::to_wstring(control.Left()) + L"," + std::to_wstring(control.Top()) + L"," +
        std::to_wstring(control.Width()) + L"," + std::to_wstring(control.Height()) + L"," +
        std::to_wstring(static_cast<int>(control.Visible())));
  }
  for (int i = 0; i < 3; ++i) {
    const auto& field = form.txtC(i);
    add(field.Text() + L"@" + std::to_wstring(field.SelStart()) + L"+" +
        std::to_wstring(field.SelLength()));
  }
  add(form.txtHex().Text() + L"@" + std::to_wstring(form.txtHex().SelStart()) + L"+" +
      std::to_wstring(form.txtHex().SelLength()));
  add(std::to_wstring(static_cast<int>(form.View().optRGB().Value())) +
      std::to_wstring(static_cast<int>(form.View().optHex().Value())) +
      form.View().optRGB().Caption() + form.View().cmdGetPaint().Caption());
  add(std::to_wstring(form.View().lblColor().BackColor()) + form.View().lblColor().Caption());
  for (const auto& design : form.Design().menus) {
    add(std::to_wstring(static_cast<int>(form.Menu(design.id).Checked())));
  }
  add(std::to_wstring(form.xLine1().Lines().size()) + L"," +
      std::to_wstring(form.xLine1().ResizeCount()));
  add(form.Focused() ? std::to_wstring(static_cast<int>(*form.Focused())) : L"none");
  add(std::to_wstring(form.MessageBoxes().size()) + L"," + std::to_wstring(form.Popups().size()) +
      L"," + std::to_wstring(form.textWrites));
  return out;
}

// A session that changes every part of the form's state.
void Session(FormFixture& fx) {
  auto& form = fx.form;
  form.Me().SetCommandArgs(L"/x=10 /y=20 /layout=3 /ontop=0");
  form.Load();
  form.Focus(ControlId::txtC1);
  form.Paste(L"77");
  form.Focus(ControlId::txtHex);
  form.Type(L"12ZZ");
  form.Select(1, 2);
  form.MouseUp(ControlId::lblColor, platform::kRightButton);
  form.ChooseMenuItem(platform::MnuOptViewId(2));
  form.xLine1().Paint();
  form.Me().SetCaption(L"changed");
  form.View().cmdGetPaint().SetVisible(false);
}

TEST(MemoryFormReset, GivesTheStateOfANewForm) {
  FormFixture fresh;
  FormFixture used;
  const std::wstring newForm = Snapshot(fresh.form);
  Session(used);
  const auto oldHandle = used.form.Me().Handle();
  ASSERT_NE(Snapshot(used.form), newForm);  // the session changed the form

  used.form.Reset();

  EXPECT_EQ(Snapshot(used.form), newForm);
  EXPECT_NE(used.form.Me().Handle(), oldHandle);  // a new window, as a new form has
}

TEST(MemoryFormReset, KeepsTheHandlersConnected) {
  FormFixture fresh;
  FormFixture used;
  Session(used);
  used.form.Reset();

  Session(fresh);
  Session(used);

  EXPECT_EQ(Snapshot(used.form), Snapshot(fresh.form));
  EXPECT_FALSE(used.form.MessageBoxes().empty());
}

}  // namespace
}  // namespace pigmentry::testing_support
