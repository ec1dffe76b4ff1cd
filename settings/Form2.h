#pragma once

#include "core/Form.h"

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

    // True once the settings were saved in this opening of the dialog.
    std::int16_t Saved = 0;

    // Loads and shows the dialog; returns when it has been unloaded.
    void showModal();

    void Form_Load() override;
    void Text1_Change();
    void Text2_Change();
    void HScroll1_Change();
    void Check1_Click();
    void Command1_Click();
    void Command2_Click();
    void Command3_Click();
    void Command4_Click();
    void Label8_Click();

    QLabel* Label1 = nullptr;
    KeyScrollBar* HScroll1 = nullptr;
    QFrame* Line1 = nullptr;
    QLabel* Label2 = nullptr;
    QLineEdit* Text1 = nullptr;
    QLineEdit* Text2 = nullptr;
    QLabel* Label3 = nullptr;
    QLabel* Label4 = nullptr;
    WrapCheckBox* Check1 = nullptr;
    QPushButton* Command1 = nullptr; // "Uložit"
    QPushButton* Command2 = nullptr; // "Zavřít"
    QPushButton* Command4 = nullptr; // "Původní"
    QPushButton* Command3 = nullptr; // "O programu"
    QFrame* Line2 = nullptr;
    QFrame* Line3 = nullptr;
    QFrame* Line4 = nullptr;
    QLabel* Image1 = nullptr;
    QLabel* Label5 = nullptr;
    QLabel* Label6 = nullptr;
    QLabel* Label7 = nullptr;
    ClickLabel* Label8 = nullptr;
    QLabel* Label9 = nullptr;

  protected:
    FormWindow* createWindow() override;
    void showWindow(FormWindow& window) override;

  private:
    // Marks the button that Enter would press: the focused button, or "Uložit" while the
    // focus is on a control that is not a button.
    void markDefaultButton(QWidget* focused);
    void TakeInterval();
    void RefreshPreview();
    // Writes the settings; tells the user and returns false when they could not be written.
    bool SaveSettings();
};
