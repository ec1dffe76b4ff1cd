#pragma once

#include "ui/Form.h"

#include <cstdint>
#include <functional>
#include <string>

class CheckBox;
class CommandButton;
class HScrollBar;
class Label;
class Line;
class Picture;
class TextBox;

// The settings dialog "Nastavení": the two texts, the interval, the full-screen flag,
// a live preview, saving, the default texts, the about panel and the web link. Every
// edit goes straight into the reminder state; only "Uložit" (or "Ano" when closing)
// writes the settings file.
class Form2 : public Form {
  public:
    static constexpr int CollapsedHeightTwips = 3225;
    static constexpr int ExpandedHeightTwips = 4935;

    using Form::Form;

    // True once the settings were saved in this opening of the dialog.
    std::int16_t Saved = 0;
    // The about panel is unfolded.
    bool aboutOpen = false;

    void Form_Load() override; // fills the controls from the reminder state
    void Text1_Change();       // the first text into the state and the preview
    void Text2_Change();       // the second text likewise
    void HScroll1_Change();    // the interval likewise, at every step of the slider
    void Check1_Click();       // the full-screen flag into the state
    void Command1_Click();     // "Uložit"
    void Command2_Click();     // "Zavřít": asks to save when nothing was saved
    void Command3_Click();     // "O programu": folds the about panel in and out
    void Command4_Click();     // "Původní": the default texts
    void Label8_Click();       // the web link: opens the page, closes the dialog

    // The warning's text as the edits make it, for the standard warning behind the dialog.
    std::function<void(const std::u16string&)> WarningComposed;

    Label* Label1 = nullptr;           // the summary above the slider
    HScrollBar* HScroll1 = nullptr;    // the interval in minutes, 1 to 180
    Line* Line1 = nullptr;             // the rule below the slider
    Label* Label2 = nullptr;           // "Text zprávy :"
    TextBox* Text1 = nullptr;          // the text before the minutes
    TextBox* Text2 = nullptr;          // the text after them
    Label* Label3 = nullptr;           // "Ukázka zprávy :"
    Label* Label4 = nullptr;           // the preview
    CheckBox* Check1 = nullptr;        // "Skrýt plochu": the full-screen warning
    CommandButton* Command1 = nullptr; // "Uložit", pressed by Enter
    CommandButton* Command2 = nullptr; // "Zavřít"
    CommandButton* Command4 = nullptr; // "Původní"
    CommandButton* Command3 = nullptr; // "O programu", pressed by Escape
    Line* Line2 = nullptr;             // the about panel's groove: dark,
    Line* Line3 = nullptr;             // middle
    Line* Line4 = nullptr;             // and light line
    Picture* Image1 = nullptr;         // the warning sign
    Label* Label5 = nullptr;           // the program's name and version
    Label* Label6 = nullptr;           // the copyright
    Label* Label7 = nullptr;           // the authors
    Label* Label8 = nullptr;           // the web link
    Label* Label9 = nullptr;           // version and build number

  protected:
    std::unique_ptr<Window> createWindow() override;
    // Shows the dialog modally: returns when it has been unloaded.
    void showWindow(Window& window) override;

  private:
    void createSettingsControls(Window& window);
    void createAboutPanel(Window& window);
    void connectHandlers(Window& window);
    void TakeInterval();
    void RefreshPreview();
    // Writes the settings; tells the user and returns false when they could not be written.
    bool SaveSettings();
};
