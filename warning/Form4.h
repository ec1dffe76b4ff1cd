#pragma once

#include "warning/WarningForm.h"

// The full-screen warning: black over the whole primary screen, white text.
class Form4 : public WarningForm {
  public:
    using WarningForm::WarningForm;

    void Form_Load() override; // the sound, the screen's size, the message

  protected:
    FormWindow* createWindow() override;
    void showWindow(FormWindow& window) override;
};
