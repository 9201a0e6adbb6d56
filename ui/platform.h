// The few services of the windowing platform that the dialogs use beyond
// their own widgets, each behind a replaceable hook so that a test can
// answer or count them: the beep, running a dialog modally, and asking the
// user (through the catalogue's Host, which the program backs by message
// boxes).
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include <QString>

#include "catalogue/host.h"

class QDialog;
class QWidget;

namespace tracklore {

// The short warning sound of the lists.
void beep();
// Replaces the beep; an empty function puts the toolkit's beep back.
void setBeepHook(std::function<void()> hook);

// Runs a dialog modally and returns the code it ended with.
int runModal(QDialog& dialog);
// Replaces the modal loop; an empty function puts the toolkit's back.
void setModalRunner(std::function<int(QDialog&)> runner);

// A question or notice through the Host; texts are stored bytes. A question
// that deletes or overwrites passes DefaultButton::Refuse.
Answer ask(const std::string& text, const char* title, Buttons buttons, Icon icon,
           DefaultButton preset = DefaultButton::Accept);
// The same with texts already translated (tr()).
Answer ask(const QString& text, const QString& title, Buttons buttons, Icon icon,
           DefaultButton preset = DefaultButton::Accept);

// A warning through the engine's reporter, as the catalogue's are shown.
void warn(const QString& text);

// "Control ids": every control carries the id of its role as its object
// name, "IDC_<number>", and every menu command "ID_<number>".
QString ctlid(int id);
QString cmdid(int id);

// Gives a widget the object name of a control id and returns it.
template <class W>
W* withid(W* widget, int id) {
  widget->setObjectName(ctlid(id));
  return widget;
}

// Fixed control ids that several windows share.
enum : int { IDOK = 1, IDCANCEL = 2 };

// The dialog results that carry a choice back to the caller.
enum : int { ResultTarget = 101, ResultInsert = 1040, ResultAppend = 1041 };

// What an X-ref leads to: the attribute index (0 artist, 1 song) and the
// artist's or song's Code; -1 each until a dialog ends with a target.
struct XrefTarget {
  int attr = -1;
  int32_t code = -1;
};

}  // namespace tracklore
