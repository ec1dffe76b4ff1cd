#pragma once

#include "warning/WarningForm.h"

// The standard warning window "Varování!".
class Form1 : public WarningForm {
  public:
    using WarningForm::WarningForm;

    void Form_Load() override; // the sound, then the message

  protected:
    std::unique_ptr<Window> createWindow() override;
};
