#pragma once

#include "warning/WarningForm.h"

#include <vector>

// The full-screen warning: black over the whole primary screen, white text; every other
// screen is covered by a plain black window of its own while it is up.
class Form4 : public WarningForm {
  public:
    using WarningForm::WarningForm;

    void Form_Load() override; // the sound, the screen's size, the message

  protected:
    std::unique_ptr<Window> createWindow() override;
    void showWindow(Window& window) override;
    void beforeUnload() override;

  private:
    // Black windows over the other screens, as many as there are now.
    void coverOtherScreens();

    std::vector<std::unique_ptr<Window>> covers_;
};
