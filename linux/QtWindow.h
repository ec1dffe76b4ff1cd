#pragma once

#include "ui/Window.h"

#include <QWidget>

class QtRuntime;

// A form's window as a top-level QWidget. A close request is only announced (QueryUnload).
// Enter and Escape that no control takes go to the window's buttons. A minimised window comes
// straight back: none has a task-bar entry that could bring it back.
class QtWindow final : public QWidget, public Window {
  public:
    QtWindow(QtRuntime& runtime, const WindowStyle& style);
    ~QtWindow() override;

    // The windows' own font: a sans face with Arial's metrics (Liberation Sans on Linux,
    // Arial on Windows) at a fixed pixel size, so that every text fits the box the layout
    // gives it whatever the desktop's font settings.
    static QFont defaultFont();
    // The icon of every window and message box.
    static QIcon applicationIcon();

    Label* addLabel(std::u16string_view caption, const TwipsRect& box) override;
    CommandButton* addCommandButton(std::u16string_view caption, const TwipsRect& box) override;
    TextBox* addTextBox(std::u16string_view text, const TwipsRect& box) override;
    CheckBox* addCheckBox(std::u16string_view caption, const TwipsRect& box) override;
    HScrollBar* addHScrollBar(const TwipsRect& box) override;
    Timer* addTimer(int milliseconds) override;

    void setCaption(std::u16string_view caption) override;
    std::u16string caption() const override;
    void setGeometry(const TwipsRect& box) override;
    void setSize(int width, int height) override;
    TwipsRect geometry() const override;
    void setBackColour(Colour colour) override;
    void setAccessibleName(std::u16string_view name) override;
    void show() override;
    void showAsWarning() override;
    void showModal() override;
    bool isVisible() const override { return QWidget::isVisible(); }
    void takeKeyboard() override;

  protected:
    Picture* makeWarningPicture(int left, int top) override;
    Line* makeLine(int left, int right, int y, Colour colour) override;
    Control* focusedControl() const override;
    void placeInTabOrder(Control* previous, Control& next) override;
    void hideAndDestroyLater() override;
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void changeEvent(QEvent* event) override;

  private:
    QtRuntime& runtime_;
    const bool fullScreen_;
};
