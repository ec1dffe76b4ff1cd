#pragma once

#include "warning/WarningForm.h"

// The full-screen warning: black over the whole primary screen, white text; every other
// screen is covered by a plain black window of its own while it is up.
class Form4 : public WarningForm {
  public:
    using WarningForm::WarningForm;

    void Form_Load() override; // the sound, the screen's size, the message

  protected:
    FormWindow* createWindow() override;
    void showWindow(FormWindow& window) override;

  private:
    // Black windows over the other screens, as many as there are now.
    void coverOtherScreens();
};
