#include "app/form1.h"
#include "layouts/layout_tables.h"

namespace pigmentry::app {

namespace {

void Place(const platform::Form1View& ui, const layouts::ControlPlace& place) {
  platform::Control& control = ui.ControlById(place.id);
  if (place.caption != nullptr) {
    // The tables give captions only to buttons, option buttons and labels.
    static_cast<platform::CaptionedControl&>(control).SetCaption(place.caption);
  }
  control.SetHeight(place.height);
  control.SetLeft(place.left);
  control.SetTop(place.top);
  control.SetVisible(true);
  control.SetWidth(place.width);
}

}  // namespace

void Form1::mnuOptView_Click(std::int16_t& Index) {
  const layouts::Layout& layout = layouts::LayoutFor(Index);

  ui_.Me().SetWidth(layout.windowWidth);
  ui_.Me().SetHeight(layout.windowHeight);
  for (const auto& place : layout.controls) {
    Place(ui_, place);
  }
  // The line decides its orientation from its proportions, so it must see
  // the new width and height together.
  const auto& line = layout.separator;
  ui_.xLine1().Move(line.left, line.top, line.width, line.height);
  ui_.xLine1().SetVisible(true);

  if (layout.index == layouts::kDefaultLayout) {
    Index = layouts::kDefaultLayout;
  }
  for (std::int16_t i = 1; i <= layouts::kLayoutCount; ++i) {
    ui_.mnuOptView(i).SetChecked(i == Index);
  }
}

}  // namespace pigmentry::app
