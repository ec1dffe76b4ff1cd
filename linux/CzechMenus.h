#pragma once

#include <QTranslator>

// The texts of Qt's own menus that the forms' controls open (a text box's and a scroll bar's,
// at a right click) in the program's language, whatever the desktop's: Qt brings them in
// English alone.
class CzechMenus final : public QTranslator {
  public:
    // Installs them for the rest of the run, at the first call.
    static void install();

    QString translate(const char* context, const char* source, const char* disambiguation,
                      int n) const override;
    bool isEmpty() const override { return false; }
};
