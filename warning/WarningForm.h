#pragma once

#include "ui/Form.h"

class CommandButton;
class Label;
class Picture;

// What the standard and the full-screen warning have in common: the picture, the
// message and the three buttons, the sound at load, and what the buttons do. A close
// request (Alt+F4) is not listened to: the warning stays until one of the buttons.
class WarningForm : public Form {
  public:
    using Form::Form;

    Picture* Image1 = nullptr;         // the warning sign
    Label* Label1 = nullptr;           // the composed message
    CommandButton* Command1 = nullptr; // "OK"
    CommandButton* Command2 = nullptr; // "Nastavení"
    CommandButton* Command3 = nullptr; // "Ukončit !"

    void Command1_Click(); // "OK": the count starts again
    void Command2_Click(); // "Nastavení": the settings dialog, modal
    void Command3_Click(); // "Ukončit !": ends the program
    // A press into the window, but not on a button: the user gives it the keyboard.
    void Form_MouseDown();

    Event CountAgain;   // "OK": the monitor counts again
    Event ShowSettings; // "Nastavení": the settings dialog, returning when it has gone
    // The chime could not be played, for the reason given in Czech.
    std::function<void(std::u16string_view reason)> SoundFailed;

  protected:
    // Builds the window's controls `offset` twips right and down from the standard layout.
    void buildControls(Window& window, int offset);
    // Shows the window on top of the others, without taking the keyboard from the
    // application the user is typing in; a click into it gives it the keyboard.
    void showWindow(Window& window) override;
    void playWarningSound();
    void composeMessage();
};
