#include "ui/CheckBox.h"

void CheckBox::setChecked(bool checked) {
    if (checked == isChecked())
        return;
    showChecked(checked);
    fire(Click); // as when the user checks it
}
