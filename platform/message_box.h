#pragma once
// Message boxes.

#include <string_view>

// A message box with an OK button only; returns when it is dismissed.
void MsgBox(std::string_view text);
// Whether the toolkit runs and can show one.
bool CanShowMessageBox();
