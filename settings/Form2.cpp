#include "settings/Form2.h"

#include "app/Program.h"
#include "core/Conversions.h"
#include "core/Messages.h"
#include "settings/ClickLabel.h"
#include "settings/KeyScrollBar.h"
#include "settings/WrapCheckBox.h"
#include "ui/Platform.h"
#include "ui/QtText.h"
#include "ui/Twips.h"

#include <QApplication>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include <algorithm>
#include <cmath>

namespace {

QLabel* label(FormWindow& window, const QString& text, const QRect& geometry) {
    auto* l = new QLabel(text, &window);
    l->setTextFormat(Qt::PlainText);
    l->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    l->setGeometry(geometry);
    return l;
}

// A label that sizes itself to its text, from its top-left corner.
template <typename Label = QLabel>
Label* autoSizeLabel(FormWindow& window, const QString& text, int left, int top) {
    auto* l = new Label(text, &window);
    l->setTextFormat(Qt::PlainText);
    l->move(Twips::toPixels(left), Twips::toPixels(top));
    l->adjustSize();
    return l;
}

// A one-pixel horizontal line from (left, y) to (right, y).
QFrame* line(FormWindow& window, int left, int right, int y, const QColor& colour) {
    auto* f = new QFrame(&window);
    f->setGeometry(Twips::toPixels(left), Twips::toPixels(y),
                   Twips::toPixels(right) - Twips::toPixels(left), 1);
    f->setAutoFillBackground(true);
    QPalette palette = f->palette();
    palette.setColor(QPalette::Window, colour);
    f->setPalette(palette);
    f->setAccessibleName(QStringLiteral("Oddělovač"));
    return f;
}

QPushButton* button(FormWindow& window, const QString& text, int left, const QString& tip) {
    auto* b = new QPushButton(text, &window);
    b->setGeometry(Twips::rect(left, 2760, 1215, 375));
    b->setToolTip(tip);
    b->setAutoDefault(true);
    return b;
}

} // namespace

FormWindow* Form2::createWindow() {
    auto* window = new FormWindow(Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                                  Qt::WindowStaysOnTopHint);
    window->setWindowTitle(QStringLiteral("Nastavení"));
    window->setFixedSize(Twips::toPixels(5760), Twips::toPixels(CollapsedHeightTwips));
    aboutOpen = false;
    createSettingsControls(*window);
    createAboutPanel(*window);
    connectHandlers(*window);
    return window;
}

void Form2::createSettingsControls(FormWindow& w) {
    Label1 = label(w, QStringLiteral("Zobrazit výstražné okno jednou za 60 minut."),
                   Twips::rect(120, 120, 5520, 195));
    HScroll1 = new KeyScrollBar(&w);
    HScroll1->setGeometry(Twips::rect(120, 360, 5535, 255));
    HScroll1->setRange(1, 180);
    HScroll1->setSingleStep(1);
    HScroll1->setPageStep(1);
    HScroll1->setValue(60);
    HScroll1->setFocusPolicy(Qt::StrongFocus);
    HScroll1->setAccessibleName(QStringLiteral("Interval v minutách"));
    Line1 = line(w, 120, 5640, 720, w.palette().color(QPalette::WindowText));
    Label2 = label(w, QStringLiteral("Text zprávy :"), Twips::rect(120, 840, 5595, 195));
    // The first text as the dialog was designed, with a trailing blank; the load replaces it.
    Text1 = new QLineEdit(qt(Messages::DefaultText1) + QLatin1Char(' '), &w);
    Text1->setGeometry(Twips::rect(240, 1080, 5415, 285));
    Text1->setMaxLength(32767);
    Text1->setAccessibleName(QStringLiteral("Text zprávy před počtem minut"));
    Text2 = new QLineEdit(qt(Messages::DefaultText2), &w);
    Text2->setGeometry(Twips::rect(240, 1440, 5415, 285));
    Text2->setMaxLength(32767);
    Text2->setAccessibleName(QStringLiteral("Text zprávy za počtem minut"));
    Label3 = autoSizeLabel(w, QStringLiteral("Ukázka zprávy :"), 120, 1800);
    Label4 = label(w, qt(Messages::DesignedWarning()), Twips::rect(240, 2040, 4200, 675));
    Label4->setWordWrap(true);
    Label4->setAutoFillBackground(true);
    Label4->setBackgroundRole(QPalette::Dark); // the button-shadow colour
    Label4->setForegroundRole(QPalette::WindowText);
    Label4->setToolTip(QStringLiteral("Takto bude vypadat zpráva v okně"));
    Check1 = new WrapCheckBox(QStringLiteral("Skrýt plochu"), &w);
    Check1->setGeometry(Twips::rect(4560, 2040, 1095, 495));
    Check1->setToolTip(QStringLiteral("Zobrazí okno s varováním přes celou plochu"));
    Command1 = button(w, QStringLiteral("Uložit"), 120, QStringLiteral("Uloží nastavení"));
    Command1->setDefault(true);
    Command2 = button(w, QStringLiteral("Zavřít"), 1440, QStringLiteral("Zavře toto okno"));
    Command4 =
        button(w, QStringLiteral("Původní"), 2760, QStringLiteral("Nastaví texty na původní"));
    Command3 = button(w, QStringLiteral("O programu"), 4440, QStringLiteral("O programu"));

    QWidget::setTabOrder(HScroll1, Text1);
    QWidget::setTabOrder(Text1, Text2);
    QWidget::setTabOrder(Text2, Command1);
    QWidget::setTabOrder(Command1, Command2);
    QWidget::setTabOrder(Command2, Command3);
    QWidget::setTabOrder(Command3, Command4);
    QWidget::setTabOrder(Command4, Check1);
    HScroll1->setFocus();
}

// The about panel, below the collapsed window's bottom edge.
void Form2::createAboutPanel(FormWindow& w) {
    Line2 = line(w, 120, 5640, 3240, w.palette().color(QPalette::WindowText));
    Line3 = line(w, 120, 5640, 3255, QColor(128, 128, 128));
    Line4 = line(w, 120, 5640, 3270, QColor(224, 224, 224));
    Image1 = w.addWarningPicture(120, 3360);
    Label5 = autoSizeLabel(w, QStringLiteral("Vestrel v1.0."), 840, 3360);
    Label5->setFont(FormWindow::headingFont());
    Label5->adjustSize();
    Label6 =
        autoSizeLabel(w, QStringLiteral("© 2026 Vestrel. Všechna práva vyhrazena."), 840, 3720);
    Label7 =
        autoSizeLabel(w, QStringLiteral("Autoři: tým Vestrel, vestrel@example.org"), 840, 3960);
    Label8 = autoSizeLabel<ClickLabel>(w, qt(Messages::MakerAddress), 840, 4320);
    Label8->setFont(FormWindow::headingFont());
    Label8->setCursor(Qt::WhatsThisCursor);
    Label8->adjustSize();
    Label9 = autoSizeLabel(
        w, QStringLiteral("v1.0.") + QString(99, QLatin1Char(' ')) + QStringLiteral("Id.:40217"),
        120, 4680);
}

void Form2::connectHandlers(FormWindow& w) {
    on(Text1, &QLineEdit::textChanged, &Form2::Text1_Change);
    on(Text2, &QLineEdit::textChanged, &Form2::Text2_Change);
    // With tracking on, the value changes on every step while the thumb is dragged as
    // well as on release and on keys, so one handler serves both.
    on(HScroll1, &QScrollBar::valueChanged, &Form2::HScroll1_Change);
    on(Check1, &QCheckBox::stateChanged, &Form2::Check1_Click);
    on(Command1, &QPushButton::clicked, &Form2::Command1_Click);
    on(Command2, &QPushButton::clicked, &Form2::Command2_Click);
    on(Command3, &QPushButton::clicked, &Form2::Command3_Click);
    on(Command4, &QPushButton::clicked, &Form2::Command4_Click);
    on(Label8, &ClickLabel::clicked, &Form2::Label8_Click);
    // Enter saves, Escape folds the about panel; a close request asks, as "Zavřít" does.
    on(&w, &FormWindow::enterPressed, &Form2::Command1_Click);
    on(&w, &FormWindow::escapePressed, &Form2::Command3_Click);
    on(&w, &FormWindow::closeRequested, &Form2::Command2_Click);
    on(qApp, &QApplication::focusChanged, &Form2::markDefaultButton, &w);
}

void Form2::markDefaultButton() {
    QWidget* focused = QApplication::focusWidget();
    if (!isLoaded() || !focused || focused->window() != window())
        return; // a message box of ours, another program, or a window on its way out
    auto* button = qobject_cast<QPushButton*>(focused);
    for (QPushButton* b : window()->findChildren<QPushButton*>())
        b->setDefault(b == (button ? button : Command1));
}

void Form2::showWindow(FormWindow& window) {
    window.setWindowModality(Qt::ApplicationModal);
    window.show();
    window.raise();
    window.activateWindow();
}

void Form2::showModal() {
    show();
    if (isLoaded())
        platform_.runModal(*window());
}

void Form2::Form_Load() {
    const ReminderState& state = program_.state;
    Text1->setText(qt(state.MessageText1));
    Text2->setText(qt(state.MessageText2));
    // The slider takes the nearest value it can hold: an interval outside 1 to 180 must
    // not keep the user out of the dialog that can fix it.
    const double minutes = std::clamp(std::nearbyint(static_cast<double>(state.IntervalMinutes)),
                                      static_cast<double>(HScroll1->minimum()),
                                      static_cast<double>(HScroll1->maximum()));
    HScroll1->setValue(Conversions::toInteger(minutes));
    if (state.HideDesktop == ReminderState::True)
        Check1->setCheckState(Qt::Checked);
    if (state.HideDesktop == ReminderState::False)
        Check1->setCheckState(Qt::Unchecked);
    Saved = ReminderState::False;
}

void Form2::Text1_Change() {
    program_.state.MessageText1 = text(Text1->text());
    RefreshPreview();
}

void Form2::Text2_Change() {
    program_.state.MessageText2 = text(Text2->text());
    RefreshPreview();
}

void Form2::HScroll1_Change() {
    TakeInterval();
}

void Form2::TakeInterval() {
    program_.state.IntervalMinutes = static_cast<float>(HScroll1->value());
    RefreshPreview();
}

void Form2::RefreshPreview() {
    const NumberFormat format = platform_.numberFormat();
    const QString warning = qt(Messages::ComposeWarning(program_.state, format));
    Label4->setText(warning);
    // The standard warning behind the dialog follows the edits; it is never loaded for
    // this, which would play the sound and leave a stale window for a later cycle.
    if (program_.form1.isLoaded())
        program_.form1.Label1->setText(warning);
    Label1->setText(qt(Messages::ComposeSummary(program_.state, format)));
}

void Form2::Check1_Click() {
    if (Check1->checkState() == Qt::Checked)
        program_.state.HideDesktop = ReminderState::True;
    if (Check1->checkState() == Qt::Unchecked)
        program_.state.HideDesktop = ReminderState::False;
}

bool Form2::SaveSettings() {
    const std::u16string failure = program_.state.SaveSettings(program_.files, HScroll1->value());
    if (!failure.empty()) {
        platform_.messageBox(u"Nastavení se nepodařilo uložit.\n" + failure,
                             MessageBoxStyle::OkCritical, u"Nastavení");
        return false;
    }
    Saved = ReminderState::True;
    return true;
}

void Form2::Command1_Click() {
    SaveSettings();
}

void Form2::Command2_Click() {
    if (Saved == ReminderState::False) {
        const MessageBoxAnswer answer = platform_.messageBox(
            u"Pokud chcete provedené zněny uložit klikněte na tlačítko ANO, pokud si "
            u"přejete okno zavřít bez uložení klikněte na NE",
            MessageBoxStyle::YesNoExclamation, u"Varování");
        // A save that failed keeps the dialog open, so the edits are not lost unnoticed.
        if (answer == MessageBoxAnswer::Yes && !SaveSettings())
            return;
    }
    unload();
}

void Form2::Command3_Click() {
    aboutOpen = !aboutOpen;
    window()->setFixedHeight(
        Twips::toPixels(aboutOpen ? ExpandedHeightTwips : CollapsedHeightTwips));
}

void Form2::Command4_Click() {
    Text1->setText(qt(Messages::DefaultText1));
    Text2->setText(qt(Messages::DefaultText2));
}

void Form2::Label8_Click() {
    platform_.openUrl(Messages::MakerAddress);
    unload();
}
