#include "ui/Form.h"

#include <utility>

Form::~Form() {
    // Unloaded first: what its destruction sets off (the focus moving) finds no window.
    std::unique_ptr<Window> window = std::move(window_);
}

void Form::load() {
    if (isLoaded())
        return;
    window_ = createWindow();
    Form_Load();
}

void Form::show() {
    load();
    if (isLoaded()) // the load may have unloaded it again
        showLoadedWindow();
}

void Form::showLoadedWindow() {
    showWindow(*window_);
}

void Form::showWindow(Window& window) {
    window.show();
}

void Form::unload() {
    if (!isLoaded())
        return;
    beforeUnload();
    window_.release()->destroyLater();
}

class Form::Waiting {
  public:
    explicit Waiting(Form& form) : form_(form) { ++form_.waiting_; }
    ~Waiting() {
        if (--form_.waiting_ == 0)
            for (const Event& news : std::exchange(form_.news_, {}))
                news();
    }
    Waiting(const Waiting&) = delete;
    Waiting& operator=(const Waiting&) = delete;

  private:
    Form& form_;
};

MessageBoxAnswer Form::messageBox(std::u16string_view text, MessageBoxStyle style,
                                  std::u16string_view title) {
    const Waiting waiting(*this);
    return runtime_.messageBox(text, style, title);
}

void Form::showModal(const Event& showDialog) {
    const Waiting waiting(*this);
    showDialog();
}
