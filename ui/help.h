// The help page: where the program finds it, and showing one of its sections
// with the desktop's viewer.
#pragma once

#include <QString>

namespace tracklore {

// The shipped index.htm: beside the program in a build tree, under
// share/tracklore in an installed one, or a copy in the current directory.
// Empty when none exists.
QString helpPagePath();

// Shows the page, at the section with the given anchor ("" for the top);
// says so in a message box when it cannot.
void showHelp(const QString& anchor = QString());

}  // namespace tracklore
