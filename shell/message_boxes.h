#pragma once

#include <functional>
#include <string_view>

class QWidget;

enum class BoxOwner { MainWindow, StatusWindow };

enum class BoxIcon { None, Stop };

// Modal boxes with the caption, text, buttons and icon the game asks for.
// Returns at once, with the box open; one the same as a box still open is not
// opened again.
void ShowMessageBoxOver(QWidget* owner, std::string_view text, std::string_view caption, BoxIcon icon);
// Yes or No and nothing else: Escape and the close box would otherwise count
// as No, and No ends the program. Returns at once, with the box open and
// modal; `answered` gets true for Yes when a button is pressed.
void AskYesNoOver(QWidget* owner, std::string_view text, std::string_view caption, std::function<void(bool)> answered);
