#pragma once

// What the menu probe inside the program and the test agree on.
namespace MenuProbe {
// Sent to the main window with a command id: the probe stores that menu-bar
// item's state plus one in kMenuState (0: no such item).
constexpr const char* kQueryMessage = "Qorvane.MenuProbe.Query";
constexpr const char* kMenuState = "Qorvane.MenuProbe.State";
// With lParam 1, also a global atom with the item's text in kMenuText.
constexpr const char* kMenuText = "Qorvane.MenuProbe.Text";
// Set when a popup menu opens for the main window: a global atom with the
// text of its first item, and its default item's position plus one.
constexpr const char* kPopupFirstText = "Qorvane.MenuProbe.PopupText";
constexpr const char* kPopupDefault = "Qorvane.MenuProbe.PopupDefault";
// How many times the main window's title or icons were set since the probe
// came in.
constexpr const char* kShownChanges = "Qorvane.MenuProbe.ShownChanges";
} // namespace MenuProbe
