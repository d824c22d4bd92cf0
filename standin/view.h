// The stand-in host's window: its drawing, with each shape's fill and
// outline, the selected shapes marked; a click selects a shape (Ctrl+click
// adds or removes it). It lives on the thread of the client that created
// the application object, while an application object exists.
#pragma once

namespace pigmentry::standin {

void ShowDrawingWindow();
void RedrawDrawingWindow();
void CloseDrawingWindow();
// What closing the window by hand does; without a handler it is minimised
// (it goes with the last application object).
void OnDrawingWindowClosed(void (*handler)());

}  // namespace pigmentry::standin
