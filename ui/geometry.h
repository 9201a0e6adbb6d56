// Dialogs that keep the size and position the user gave them, from one run
// to the next (in the user's settings, under the dialog's object name).
#pragma once

class QDialog;

namespace tracklore {

// Restores the dialog's saved size and position, and saves them again each
// time it ends.
void keepGeometry(QDialog* dialog);

}  // namespace tracklore
