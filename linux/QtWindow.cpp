#include "linux/QtWindow.h"

#include "linux/QtCheckBox.h"
#include "linux/QtCommandButton.h"
#include "linux/QtHScrollBar.h"
#include "linux/QtLabel.h"
#include "linux/QtRuntime.h"
#include "linux/QtTextBox.h"
#include "linux/QtTimer.h"
#include "linux/WarningWindows.h"
#include "ui/Line.h"
#include "ui/Picture.h"

#include <QApplication>
#include <QEventLoop>
#include <QFrame>
#include <QIcon>
#include <QPixmap>
#include <QScreen>

#include "resources/vestrel_icon.xpm"

namespace {

Qt::WindowFlags flags(const WindowStyle& style) {
    Qt::WindowFlags flags = Qt::Tool; // no task-bar entry, no minimise or maximise button
    flags |=
        style.titleBar ? Qt::CustomizeWindowHint | Qt::WindowTitleHint : Qt::FramelessWindowHint;
    if (style.onTop)
        flags |= Qt::WindowStaysOnTopHint;
    if (!style.takesKeyboard)
        flags |= Qt::WindowDoesNotAcceptFocus;
    return flags;
}

} // namespace

QtWindow::QtWindow(QtRuntime& runtime, const WindowStyle& style)
    : QWidget(nullptr, flags(style)), runtime_(runtime), fullScreen_(style.fullScreen) {
    QWidget::setFont(defaultFont());
    setWindowIcon(applicationIcon());
    connect(qApp, &QApplication::focusChanged, this, [this] { focusMoved(); });
    // Screens that come, go, change their order or their size (another resolution).
    const auto changed = [this] { fire(ScreensChanged); };
    for (auto signal : {&QGuiApplication::screenAdded, &QGuiApplication::screenRemoved,
                        &QGuiApplication::primaryScreenChanged})
        connect(qGuiApp, signal, this, changed);
    const auto resized = [this, changed](QScreen* screen) {
        connect(screen, &QScreen::geometryChanged, this, changed);
    };
    for (QScreen* screen : QGuiApplication::screens())
        resized(screen);
    connect(qGuiApp, &QGuiApplication::screenAdded, this, resized);
}

QtWindow::~QtWindow() {
    // The focus moves while the controls go: nothing of this window may hear of it.
    disconnect(qApp, nullptr, this, nullptr);
}

QIcon QtWindow::applicationIcon() {
    // From XPM source compiled in: no image-format plug-in is loaded for it at start-up.
    static const QPixmap icon(vestrel_icon);
    return QIcon(icon);
}

QFont QtWindow::defaultFont() {
    QFont font;
    font.setFamilies({QStringLiteral("Liberation Sans"), QStringLiteral("Arial")});
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(Font{}.pixels(96));
    return font;
}

Label* QtWindow::addLabel(std::u16string_view caption, const TwipsRect& box) {
    auto* label = new QtLabel(*this, caption);
    label->setGeometry(box);
    return label;
}

CommandButton* QtWindow::addCommandButton(std::u16string_view caption, const TwipsRect& box) {
    auto* button = new QtCommandButton(*this, caption);
    button->setGeometry(box);
    return button;
}

TextBox* QtWindow::addTextBox(std::u16string_view text, const TwipsRect& box) {
    auto* textBox = new QtTextBox(*this, text);
    textBox->setGeometry(box);
    return textBox;
}

CheckBox* QtWindow::addCheckBox(std::u16string_view caption, const TwipsRect& box) {
    auto* check = new QtCheckBox(*this, caption);
    check->setGeometry(box);
    return check;
}

HScrollBar* QtWindow::addHScrollBar(const TwipsRect& box) {
    auto* bar = new QtHScrollBar(*this);
    bar->setGeometry(box);
    return bar;
}

Picture* QtWindow::makeWarningPicture(int left, int top) {
    auto* picture = new QtControl<Picture, QLabel>(*this, this);
    picture->setGeometry({left, top, Picture::SizeTwips, Picture::SizeTwips});
    picture->setPixmap(QPixmap(QStringLiteral(":/warning.gif")));
    picture->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    picture->setTextFormat(Qt::PlainText);
    return picture;
}

Line* QtWindow::makeLine(int left, int right, int y, Colour colour) {
    auto* line = new QtControl<Line, QFrame>(*this, this);
    // One pixel high, from the pixel of its left end to that of its right end.
    line->QFrame::setGeometry(Twips::toPixels(left), Twips::toPixels(y),
                              Twips::toPixels(right) - Twips::toPixels(left), 1);
    line->setColour(QPalette::Window, colour);
    return line;
}

Timer* QtWindow::addTimer(int milliseconds) {
    return new QtTimer(this, *this, milliseconds);
}

void QtWindow::setCaption(std::u16string_view caption) {
    setWindowTitle(qt(caption));
}

std::u16string QtWindow::caption() const {
    return text(windowTitle());
}

void QtWindow::setGeometry(const TwipsRect& box) {
    if (fullScreen_)
        return QWidget::setGeometry(pixels(box));
    setFixedSize(pixels(box).size());
    move(pixels(box).topLeft());
}

void QtWindow::setSize(int width, int height) {
    setFixedSize(Twips::toPixels(width), Twips::toPixels(height));
}

TwipsRect QtWindow::geometry() const {
    return twips(QWidget::geometry());
}

void QtWindow::setBackColour(Colour colour) {
    setAutoFillBackground(true);
    QPalette palette = QWidget::palette();
    palette.setColor(QPalette::Window, qtColour(colour, palette));
    setPalette(palette);
}

void QtWindow::setAccessibleName(std::u16string_view name) {
    QWidget::setAccessibleName(qt(name));
}

void QtWindow::placeInTabOrder(Control* previous, Control& next) {
    if (previous)
        QWidget::setTabOrder(dynamic_cast<QWidget*>(previous), dynamic_cast<QWidget*>(&next));
}

Control* QtWindow::focusedControl() const {
    QWidget* focused = QApplication::focusWidget();
    return focused && focused->window() == this ? dynamic_cast<Control*>(focused) : nullptr;
}

void QtWindow::show() {
    runtime_.keepOffTaskbar(*this);
    QWidget::show();
}

void QtWindow::showAsWarning() {
    // Made with Qt::WindowDoesNotAcceptFocus, which window managers honour where some
    // ignore a user time of 0, the only other way of saying it.
    setAttribute(Qt::WA_ShowWithoutActivating);
    if (fullScreen_) // so that the window manager keeps it above panels and task bars
        setWindowState(windowState() | Qt::WindowFullScreen);
    runtime_.keepOffTaskbar(*this);
    // A window that takes the keyboard at the user's click takes it at the switcher too.
    if (MouseDown)
        runtime_.takeKeyboardWhenOffered(*this);
    WarningWindows::show(*this);
    raise();
}

void QtWindow::showModal() {
    runtime_.keepOffTaskbar(*this);
    setWindowModality(Qt::ApplicationModal);
    QWidget::show();
    raise();
    activateWindow();
    QEventLoop loop;
    connect(this, &QObject::destroyed, &loop, &QEventLoop::quit);
    loop.exec(QEventLoop::DialogExec);
}

void QtWindow::takeKeyboard() {
    runtime_.takeKeyboard(*this);
}

void QtWindow::hideAndDestroyLater() {
    hide();
    deleteLater();
}
