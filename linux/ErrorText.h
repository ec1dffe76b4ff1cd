#pragma once

#include <QString>

// What went wrong, in the words of the program's users: the system's own messages are
// English and go to standard error only.
namespace ErrorText {

// A short Czech wording of an errno value.
QString czech(int error);
// The same, after writing "what: the system's message" to standard error.
QString logged(const QString& what, int error);

} // namespace ErrorText
