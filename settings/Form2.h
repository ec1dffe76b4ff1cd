#pragma once

#include "ui/Form.h"

#include <cstdint>

class ClickLabel;
class KeyScrollBar;
class QFrame;
class QLabel;
class QLineEdit;
class QPushButton;
class WrapCheckBox;

// The settings dialog "Nastavení": the two texts, the interval, the full-screen flag,
// a live preview, saving, the default texts, the about panel and the web link. Every
// edit goes straight into the reminder state; only "Uložit" (or "Ano" when closing)
// writes the settings file.
class Form2 : public Form {
  public:
    static constexpr int CollapsedHeightTwips = 3225;
    static constexpr int ExpandedHeightTwips = 4935;

    using Form::Form;
    ~Form2() override { destroyWindow(); } // the focus moves while the window is destroyed

    // True once the settings were saved in this opening of the dialog.
    std::int16_t Saved = 0;
    // The about panel is unfolded.
    bool aboutOpen = false;

    // Loads and shows the dialog; returns when it has been unloaded.
    void showModal();

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

    QLabel* Label1 = nullptr;         // the summary above the slider
    KeyScrollBar* HScroll1 = nullptr; // the interval in minutes, 1 to 180
    QFrame* Line1 = nullptr;          // the rule below the slider
    QLabel* Label2 = nullptr;         // "Text zprávy :"
    QLineEdit* Text1 = nullptr;       // the text before the minutes
    QLineEdit* Text2 = nullptr;       // the text after them
    QLabel* Label3 = nullptr;         // "Ukázka zprávy :"
    QLabel* Label4 = nullptr;         // the preview
    WrapCheckBox* Check1 = nullptr;   // "Skrýt plochu": the full-screen warning
    QPushButton* Command1 = nullptr;  // "Uložit"
    QPushButton* Command2 = nullptr;  // "Zavřít"
    QPushButton* Command4 = nullptr;  // "Původní"
    QPushButton* Command3 = nullptr;  // "O programu"
    QFrame* Line2 = nullptr;          // the about panel's groove: dark,
    QFrame* Line3 = nullptr;          // middle
    QFrame* Line4 = nullptr;          // and light line
    QLabel* Image1 = nullptr;         // the warning sign
    QLabel* Label5 = nullptr;         // the program's name and version
    QLabel* Label6 = nullptr;         // the copyright
    QLabel* Label7 = nullptr;         // the authors
    ClickLabel* Label8 = nullptr;     // the web link
    QLabel* Label9 = nullptr;         // version and build number

  protected:
    FormWindow* createWindow() override;
    void showWindow(FormWindow& window) override;

  private:
    void createSettingsControls(FormWindow& window);
    void createAboutPanel(FormWindow& window);
    void connectHandlers(FormWindow& window);
    // Marks the button that Enter would press: the focused button of the dialog, or the first
    // ("Uložit") while the focus is on a control that is not a button.
    void markDefaultButton();
    void TakeInterval();
    void RefreshPreview();
    // Writes the settings; tells the user and returns false when they could not be written.
    bool SaveSettings();
};
