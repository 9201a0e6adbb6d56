#include "ui/dialogparts.h"

#include <QAbstractButton>
#include <QAction>
#include <QCoreApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>

#include "catalogue/schema.h"
#include "catalogue/translate.h"
#include "ui/platform.h"

namespace tracklore {

QPushButton* plainButton(const QString& text, int id) {
  auto* b = withid(new QPushButton(text), id);
  b->setAutoDefault(false);
  return b;
}

void giveOkMnemonic(QAbstractButton* ok) {
  if (ok == nullptr || ok->text().contains(QLatin1Char('&'))) return;
  ok->setText(QCoreApplication::translate("tracklore", "&OK"));
}

void makeNarrow(QPushButton* button) {
  button->setMaximumWidth(button->fontMetrics().averageCharWidth() * 6);
}

QVBoxLayout* actionAndClose(QWidget* action, QWidget* close) {
  auto* buttons = new QVBoxLayout;
  buttons->addWidget(action);
  buttons->addStretch(1);
  buttons->addWidget(close);
  return buttons;
}

QHBoxLayout* besideButtons(QLayout* list, QLayout* buttons) {
  auto* row = new QHBoxLayout;
  row->addLayout(list, 1);
  row->addLayout(buttons);
  return row;
}

QHBoxLayout* besideButtons(QWidget* list, QLayout* buttons) {
  auto* row = new QHBoxLayout;
  row->addWidget(list, 1);
  row->addLayout(buttons);
  return row;
}

QHBoxLayout* captionedRow(const QString& caption, QWidget* field,
                          std::initializer_list<QWidget*> after) {
  auto* label = new QLabel(caption);
  label->setBuddy(field);
  auto* row = new QHBoxLayout;
  row->addWidget(label);
  row->addWidget(field, 1);
  for (QWidget* widget : after) row->addWidget(widget);
  return row;
}

QString readOnlyHint() {
  return QObject::tr("The database is open read-only. To change it, uncheck Database > "
                     "Read-only mode in the main window.");
}

void offerEdit(QWidget* control, bool canact, bool readonly) {
  control->setEnabled(canact && !readonly);
  control->setToolTip(readonly ? readOnlyHint() : QString());
}

void offerEdit(QAction* command, bool canact, bool readonly) {
  command->setEnabled(canact && !readonly);
  command->setToolTip(readonly ? readOnlyHint() : QString());
}

QString kindName(int kind, int form) {
  return QString::fromUtf8(DB_Tr("Kind", KindNames[kind][form]));
}

QString usesHint(int kind) {
  return kind == 1 ? QObject::tr("The number after each artist is how often albums use it: "
                                 "\"(3)\" is used 3 times.")
                   : QObject::tr("The number after each song is how often albums use it: "
                                 "\"(3)\" is used 3 times, twice on one album counting twice.");
}

void nameForReaders(QWidget* control, const QString& name, const QString& description) {
  control->setAccessibleName(name);
  control->setAccessibleDescription(description);
}

int cycled(int index, int count, int by) { return (index + count + by) % count; }

}  // namespace tracklore
