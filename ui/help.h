// The help page: where the program finds it, and showing one of its sections
// with the desktop's viewer.
#pragma once

#include <functional>

#include <QString>

class QUrl;
class QWidget;

namespace tracklore {

// The shipped index.htm: beside the program in a build tree, under
// share/tracklore in an installed one, or a copy in the current directory.
// Empty when none exists.
QString helpPagePath();

// Shows the page, at the section with the given anchor ("" for the top);
// says so in a message box when it cannot.
void showHelp(const QString& anchor = QString());

// Replaces what opens the page (the desktop's viewer), so that a test can
// see which section was asked for; an empty function puts the desktop's back.
void setHelpOpener(std::function<bool(const QUrl&)> opener);

// F1 in the window opens the help at its section.
void addHelpKey(QWidget* window, const QString& anchor);

}  // namespace tracklore
