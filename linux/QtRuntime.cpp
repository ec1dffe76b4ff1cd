#include "linux/QtRuntime.h"

#include "linux/KeyboardOffers.h"
#include "linux/QtConvert.h"
#include "linux/QtWindow.h"
#include "linux/ReportBox.h"
#include "linux/WindowManager.h"
#include "linux/X11Connection.h"
#include "linux/XAtoms.h"

#include <QApplication>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QTimer>
#include <QVarLengthArray>
#include <QWindow>

#include <xcb/xcb.h>

#include <cstdio>
#include <cstdlib>

QtRuntime::QtRuntime() {
    Q_INIT_RESOURCE(resources); // the pictures: in a static library, linked only when named
}

QtRuntime::~QtRuntime() = default;

std::unique_ptr<Window> QtRuntime::createWindow(const WindowStyle& style) {
    return std::make_unique<QtWindow>(*this, style);
}

void QtRuntime::chooseWindowSystem() {
    if (qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        return; // the user's choice stands
    if (qEnvironmentVariableIsSet("WAYLAND_DISPLAY") && qEnvironmentVariableIsSet("DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "xcb");
}

namespace {

// A message box; a question (`onlyButtons`) is answered by its buttons alone: Escape and a close
// request do nothing, as in a Yes/No box of Windows, so neither answers for the user.
class MessageBox final : public QMessageBox {
  public:
    MessageBox(bool onlyButtons, QWidget* over) : QMessageBox(over), onlyButtons_(onlyButtons) {}

  protected:
    void keyPressEvent(QKeyEvent* event) override {
        if (!onlyButtons_ || !event->matches(QKeySequence::Cancel))
            QMessageBox::keyPressEvent(event);
    }
    void closeEvent(QCloseEvent* event) override {
        if (onlyButtons_)
            return event->ignore();
        QMessageBox::closeEvent(event);
    }

  private:
    const bool onlyButtons_;
};

} // namespace

MessageBoxAnswer QtRuntime::messageBox(std::u16string_view text, MessageBoxStyle style,
                                       std::u16string_view title) {
    // Over the window the user works in when it is ours (the dialog), else over every window
    // (a warning, the start); above all either way.
    QWidget* active = QApplication::activeWindow();
    MessageBox box(style == MessageBoxStyle::YesNoExclamation,
                   active && active->isVisible() ? active : nullptr);
    box.setWindowTitle(qt(title));
    box.setTextFormat(Qt::PlainText);
    box.setText(qt(text));
    box.setWindowFlag(Qt::WindowStaysOnTopHint);
    if (style == MessageBoxStyle::YesNoExclamation) {
        box.setIcon(QMessageBox::Warning);
        QPushButton* yes = box.addButton(qt(MessageBoxButtons::Yes), QMessageBox::YesRole);
        QPushButton* no = box.addButton(qt(MessageBoxButtons::No), QMessageBox::NoRole);
        box.setDefaultButton(yes);
        box.exec();
        return box.clickedButton() == yes ? MessageBoxAnswer::Yes : MessageBoxAnswer::No;
    }
    box.setIcon(style == MessageBoxStyle::OkInformation ? QMessageBox::Information
                                                        : QMessageBox::Critical);
    QPushButton* ok = box.addButton(qt(MessageBoxButtons::Ok), QMessageBox::AcceptRole);
    box.setDefaultButton(ok);
    box.setEscapeButton(ok);
    box.exec();
    return MessageBoxAnswer::Ok;
}

namespace {

// A report box, for as long as the user has not closed it.
class QtReport final : public Report {
  public:
    explicit QtReport(QWidget* box) : box_(box) {}
    bool isOpen() const override { return !box_.isNull(); }
    void raise() override {
        if (box_)
            QTimer::singleShot(0, box_, &QWidget::raise);
    }

  private:
    QPointer<QWidget> box_;
};

} // namespace

std::unique_ptr<Report> QtRuntime::report(std::u16string_view text, std::u16string_view title) {
    auto* box = new ReportBox(*this, qt(text), qt(title));
    QTimer::singleShot(0, box, &QWidget::show);
    return std::make_unique<QtReport>(box);
}

int QtRuntime::run() {
    return QApplication::exec();
}

void QtRuntime::end(int status) {
    // At once: no handler runs after this, no window gets a chance to write anything.
    std::fflush(nullptr);
    std::_Exit(status);
}

TwipsRect QtRuntime::primaryScreen() {
    QScreen* screen = QGuiApplication::primaryScreen();
    return twips(screen ? screen->geometry() : QRect(0, 0, 640, 480));
}

std::vector<TwipsRect> QtRuntime::otherScreens() {
    std::vector<TwipsRect> others;
    for (QScreen* screen : QGuiApplication::screens())
        if (screen != QGuiApplication::primaryScreen())
            others.push_back(twips(screen->geometry()));
    return others;
}

void QtRuntime::keepOffTaskbar(QWidget& window) {
    // The window types say "no task bar entry" only to some window managers; the EWMH
    // states say it to all. Set on the unmapped window, they are kept by Qt when it maps
    // the window, and set again for each showing (a window manager drops them at unmap).
    xcb_connection_t* connection = x11Connection();
    if (!connection || window.isVisible())
        return;
    const auto id = xcb_window_t(window.winId());
    // The names asked all at once, in one round trip to the X server: the first call comes
    // before the square's first showing.
    const auto atoms = internAtoms(
        connection, {"_NET_WM_STATE", "_NET_WM_STATE_SKIP_TASKBAR", "_NET_WM_STATE_SKIP_PAGER"});
    const xcb_atom_t state = atoms[0];
    QVarLengthArray<xcb_atom_t, 8> states;
    const auto cookie = xcb_get_property(connection, 0, id, state, XCB_ATOM_ATOM, 0, 32);
    if (xcb_get_property_reply_t* reply = xcb_get_property_reply(connection, cookie, nullptr)) {
        const auto* values = static_cast<const xcb_atom_t*>(xcb_get_property_value(reply));
        if (reply->format == 32)
            states.append(values, xcb_get_property_value_length(reply) / 4);
        std::free(reply);
    }
    for (const xcb_atom_t skip : {atoms[1], atoms[2]})
        if (!states.contains(skip))
            states.append(skip);
    xcb_change_property(connection, XCB_PROP_MODE_REPLACE, id, state, XCB_ATOM_ATOM, 32,
                        uint32_t(states.size()), states.constData());
}

void QtRuntime::takeKeyboard(QWidget& window) {
    // On the native window alone: a widget whose flags change is hidden.
    window.overrideWindowFlags(window.windowFlags() & ~Qt::WindowDoesNotAcceptFocus);
    if (QWindow* native = window.windowHandle())
        native->setFlags(native->flags() & ~Qt::WindowDoesNotAcceptFocus);
    window.activateWindow();
    // The window manager may count the window active already, having offered it the focus
    // while it took none (KWin, once the dialog has closed), and then does nothing more. The
    // focus set by the program itself, as the user asked, works everywhere.
    if (xcb_connection_t* connection = x11Connection()) {
        xcb_set_input_focus(connection, XCB_INPUT_FOCUS_PARENT, xcb_window_t(window.winId()),
                            XCB_CURRENT_TIME);
        xcb_flush(connection);
    }
}

void QtRuntime::takeKeyboardWhenOffered(QWidget& window) {
    xcb_connection_t* connection = x11Connection();
    // Only IceWM's switcher offers these windows the keyboard. Other window managers offer it
    // when they pass the focus on by themselves (mutter, as the user's window closes): that
    // must not give a warning the keys meant for the user's programs. A Wayland compositor
    // gives the keyboard itself.
    if (!connection || !WindowManager(connection).isIceWm())
        return;
    if (!offers_)
        offers_ = std::make_unique<KeyboardOffers>(
            connection, [this](QWidget& offered) { takeKeyboard(offered); });
    offers_->accept(window);
}
