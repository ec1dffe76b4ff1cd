#pragma once

#include "linux/QtConvert.h"
#include "ui/Control.h"

#include <QWidget>

class QtWindow;

// A control of the forms as a Qt widget: `Widget` drawn and worked by Qt, `Interface`
// what the forms see of it. Deleted with its window, as any child widget.
template <typename Interface, typename Widget> class QtControl : public Widget, public Interface {
  public:
    QtControl(Window& window, QWidget* widget) : Widget(widget), Interface(window) {}

    void setGeometry(const TwipsRect& box) override { Widget::setGeometry(pixels(box)); }
    TwipsRect geometry() const override { return twips(Widget::geometry()); }
    void setVisible(bool visible) override { Widget::setVisible(visible); }
    bool isVisible() const override { return Widget::isVisible(); }
    void setToolTip(std::u16string_view tip) override { Widget::setToolTip(qt(tip)); }
    void setAccessibleName(std::u16string_view name) override {
        Widget::setAccessibleName(qt(name));
    }
    void setFocus() override { Widget::setFocus(); }

    // Fills the widget with `colour` as its background, or draws its text in it.
    void setColour(QPalette::ColorRole role, Colour colour) {
        QPalette palette = Widget::palette();
        palette.setColor(role, qtColour(colour, palette));
        Widget::setPalette(palette);
        if (role == QPalette::Window)
            Widget::setAutoFillBackground(true);
    }
};
