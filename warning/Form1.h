#pragma once

#include "warning/WarningForm.h"

// The standard warning window "Varování!".
class Form1 : public WarningForm {
  public:
    using WarningForm::WarningForm;

    void Form_Load() override;

  protected:
    FormWindow* createWindow() override;
};
