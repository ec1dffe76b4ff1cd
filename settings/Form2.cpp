#include "settings/Form2.h"

#include "core/Conversions.h"
#include "core/Messages.h"
#include "core/Shared.h"
#include "core/System.h"
#include "ui/CheckBox.h"
#include "ui/CommandButton.h"
#include "ui/HScrollBar.h"
#include "ui/Label.h"
#include "ui/Line.h"
#include "ui/Runtime.h"
#include "ui/TextBox.h"

#include <algorithm>
#include <cmath>

namespace {

// A label that sizes itself to its text, from its top-left corner.
Label* autoSizeLabel(Window& window, std::u16string_view text, int left, int top) {
    Label* label = window.addLabel(text, {left, top, 0, 0});
    label->setAutoSize(true);
    return label;
}

CommandButton* button(Window& window, std::u16string_view text, int left, std::u16string_view tip) {
    CommandButton* b = window.addCommandButton(text, {left, 2760, 1215, 375});
    b->setToolTip(tip);
    return b;
}

// The about panel's heading face.
constexpr Font Heading{.points = 9.75, .bold = true};

} // namespace

std::unique_ptr<Window> Form2::createWindow() {
    std::unique_ptr<Window> window = runtime_.createWindow({.titleBar = true, .onTop = true});
    window->setCaption(u"Nastavení");
    window->setSize(5760, CollapsedHeightTwips);
    aboutOpen = false;
    createSettingsControls(*window);
    createAboutPanel(*window);
    connectHandlers(*window);
    return window;
}

void Form2::createSettingsControls(Window& w) {
    Label1 = w.addLabel(u"Zobrazit výstražné okno jednou za 60 minut.", {120, 120, 5520, 195});
    HScroll1 = w.addHScrollBar({120, 360, 5535, 255});
    HScroll1->setRange(1, 180);
    HScroll1->setSteps(1, 1);
    HScroll1->setValue(60);
    HScroll1->setAccessibleName(u"Interval v minutách");
    Line1 = w.addLine(120, 5640, 720, Colour::WindowText);
    Label2 = w.addLabel(u"Text zprávy :", {120, 840, 5595, 195});
    // The first text as the dialog was designed, with a trailing blank; the load replaces it.
    Text1 = w.addTextBox(std::u16string(Messages::DefaultText1) + u' ', {240, 1080, 5415, 285});
    Text1->setMaxLength(32767);
    Text1->setAccessibleName(u"Text zprávy před počtem minut");
    Text2 = w.addTextBox(Messages::DefaultText2, {240, 1440, 5415, 285});
    Text2->setMaxLength(32767);
    Text2->setAccessibleName(u"Text zprávy za počtem minut");
    Label3 = autoSizeLabel(w, u"Ukázka zprávy :", 120, 1800);
    Label4 = w.addLabel(Messages::DesignedWarning(), {240, 2040, 4200, 675});
    Label4->setWordWrap(true);
    Label4->setBackColour(Colour::ButtonShadow);
    Label4->setToolTip(u"Takto bude vypadat zpráva v okně");
    Check1 = w.addCheckBox(u"Skrýt plochu", {4560, 2040, 1095, 495});
    Check1->setToolTip(u"Zobrazí okno s varováním přes celou plochu");
    Command1 = button(w, u"Uložit", 120, u"Uloží nastavení");
    Command1->setDefault(true);
    Command2 = button(w, u"Zavřít", 1440, u"Zavře toto okno");
    Command4 = button(w, u"Původní", 2760, u"Nastaví texty na původní");
    Command3 = button(w, u"O programu", 4440, u"O programu");
    Command3->setCancel(true); // Escape folds the about panel in and out

    w.setTabOrder({HScroll1, Text1, Text2, Command1, Command2, Command3, Command4, Check1});
    HScroll1->setFocus();
}

// The about panel, below the collapsed window's bottom edge.
void Form2::createAboutPanel(Window& w) {
    Line2 = w.addLine(120, 5640, 3240, Colour::WindowText);
    Line3 = w.addLine(120, 5640, 3255, Colour::Grey);
    Line4 = w.addLine(120, 5640, 3270, Colour::LightGrey);
    Image1 = w.addWarningPicture(120, 3360);
    Label5 = autoSizeLabel(w, u"Vestrel v1.0.", 840, 3360);
    Label5->setFont(Heading);
    Label6 = autoSizeLabel(w, u"© 2026 Vestrel. Všechna práva vyhrazena.", 840, 3720);
    Label7 = autoSizeLabel(w, u"Autoři: tým Vestrel, vestrel@example.org", 840, 3960);
    Label8 = autoSizeLabel(w, Messages::MakerAddress, 840, 4320);
    Label8->setFont(Heading);
    Label8->setMousePointer(MousePointer::WhatsThis);
    Label9 = autoSizeLabel(w, u"v1.0." + std::u16string(99, u' ') + u"Id.:40217", 120, 4680);
}

void Form2::connectHandlers(Window& w) {
    on(Text1->Change, &Form2::Text1_Change);
    on(Text2->Change, &Form2::Text2_Change);
    // The value changes on every step while the thumb is dragged as well as on release and
    // on keys, so one handler serves both.
    on(HScroll1->Change, &Form2::HScroll1_Change);
    on(Check1->Click, &Form2::Check1_Click);
    on(Command1->Click, &Form2::Command1_Click);
    on(Command2->Click, &Form2::Command2_Click);
    on(Command3->Click, &Form2::Command3_Click);
    on(Command4->Click, &Form2::Command4_Click);
    on(Label8->Click, &Form2::Label8_Click);
    // A close request asks, as "Zavřít" does.
    on(w.QueryUnload, &Form2::Command2_Click);
}

void Form2::showWindow(Window& window) {
    window.showModal();
}

void Form2::Form_Load() {
    const ReminderState& state = shared_.state;
    Text1->setText(state.MessageText1);
    Text2->setText(state.MessageText2);
    // The slider takes the nearest value it can hold: an interval outside 1 to 180 must
    // not keep the user out of the dialog that can fix it.
    const double minutes = std::clamp(std::nearbyint(static_cast<double>(state.IntervalMinutes)),
                                      static_cast<double>(HScroll1->minimum()),
                                      static_cast<double>(HScroll1->maximum()));
    HScroll1->setValue(Conversions::toInteger(minutes));
    if (state.HideDesktop == ReminderState::True)
        Check1->setChecked(true);
    if (state.HideDesktop == ReminderState::False)
        Check1->setChecked(false);
    Saved = ReminderState::False;
}

void Form2::Text1_Change() {
    shared_.state.MessageText1 = Text1->text();
    RefreshPreview();
}

void Form2::Text2_Change() {
    shared_.state.MessageText2 = Text2->text();
    RefreshPreview();
}

void Form2::HScroll1_Change() {
    TakeInterval();
}

void Form2::TakeInterval() {
    shared_.state.IntervalMinutes = static_cast<float>(HScroll1->value());
    RefreshPreview();
}

void Form2::RefreshPreview() {
    const NumberFormat format = system_.numberFormat();
    const std::u16string warning = Messages::ComposeWarning(shared_.state, format);
    Label4->setCaption(warning);
    WarningComposed(warning);
    Label1->setCaption(Messages::ComposeSummary(shared_.state, format));
}

void Form2::Check1_Click() {
    if (Check1->isChecked())
        shared_.state.HideDesktop = ReminderState::True;
    if (!Check1->isChecked())
        shared_.state.HideDesktop = ReminderState::False;
}

bool Form2::SaveSettings() {
    const std::u16string failure = shared_.state.SaveSettings(shared_.files, HScroll1->value());
    if (!failure.empty()) {
        messageBox(u"Nastavení se nepodařilo uložit.\n" + failure, MessageBoxStyle::OkCritical,
                   u"Nastavení");
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
        const MessageBoxAnswer answer =
            messageBox(u"Pokud chcete provedené zněny uložit klikněte na tlačítko ANO, pokud si "
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
    window()->setSize(5760, aboutOpen ? ExpandedHeightTwips : CollapsedHeightTwips);
}

void Form2::Command4_Click() {
    Text1->setText(Messages::DefaultText1);
    Text2->setText(Messages::DefaultText2);
}

void Form2::Label8_Click() {
    system_.openUrl(Messages::MakerAddress);
    unload();
}
