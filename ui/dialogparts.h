// Pieces that several dialogs build alike.
#pragma once

#include <initializer_list>

class QAbstractButton;
class QAction;
class QHBoxLayout;
class QVBoxLayout;
class QLayout;
class QPushButton;
class QString;
class QWidget;

namespace tracklore {

// A push button with a control id that Enter elsewhere never presses.
QPushButton* plainButton(const QString& text, int id);

// Qt names OK buttons "OK" on most platforms, with no key to press them
// with Alt: ours get "&OK". Null, or a text with a key already, is left.
void giveOkMnemonic(QAbstractButton* ok);

// A narrow "<" or ">" button beside a selector.
void makeNarrow(QPushButton* button);

// A column of buttons: the action at the top, Close at the bottom.
QVBoxLayout* actionAndClose(QWidget* action, QWidget* close);

// The list side of a dialog with its column of buttons on the right; the
// list side takes the room a larger window gives.
QHBoxLayout* besideButtons(QLayout* list, QLayout* buttons);
QHBoxLayout* besideButtons(QWidget* list, QLayout* buttons);

// A row of a caption whose buddy is field, field taking the spare width,
// and the widgets after it.
QHBoxLayout* captionedRow(const QString& caption, QWidget* field,
                          std::initializer_list<QWidget*> after = {});

// An edit command is offered when it can act and the database may be
// changed; greyed out by read-only mode, its tool tip says so and how to
// leave that mode.
void offerEdit(QWidget* control, bool canact, bool readonly);
void offerEdit(QAction* command, bool canact, bool readonly);
QString readOnlyHint();

// The name of a kind of record (KindNames) in the user's language.
QString kindName(int kind, int form);

// What the number after an artist's or song's name counts (kind 1 or 2).
QString usesHint(int kind);

// What a screen reader announces for a control that shows no text of its
// own (a list, a field, a selector, a picture button): its name and what it
// is for.
void nameForReaders(QWidget* control, const QString& name, const QString& description);

// The entry before or after index among count entries, round the ends.
int cycled(int index, int count, int by);

}  // namespace tracklore
