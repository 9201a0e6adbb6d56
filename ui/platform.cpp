#include "ui/platform.h"

#include <QApplication>
#include <QDialog>

#include "engine/errors.h"

namespace tracklore {

namespace {

std::function<void()>& beephook() {
  static std::function<void()> hook;
  return hook;
}

std::function<int(QDialog&)>& modalrunner() {
  static std::function<int(QDialog&)> runner;
  return runner;
}

}  // namespace

void beep() {
  if (beephook()) {
    beephook()();
    return;
  }
  QApplication::beep();
}

void setBeepHook(std::function<void()> hook) { beephook() = std::move(hook); }

int runModal(QDialog& dialog) {
  if (modalrunner()) return modalrunner()(dialog);
  return dialog.exec();
}

void setModalRunner(std::function<int(QDialog&)> runner) { modalrunner() = std::move(runner); }

Answer ask(const std::string& text, const char* title, Buttons buttons, Icon icon,
           DefaultButton preset) {
  return DB_Host().question(text.c_str(), title, buttons, icon, preset);
}

Answer ask(const QString& text, const QString& title, Buttons buttons, Icon icon,
           DefaultButton preset) {
  return ask(text.toStdString(), title.toUtf8().constData(), buttons, icon, preset);
}

void warn(const QString& text) { quill::warning("%s", text.toUtf8().constData()); }

QString ctlid(int id) { return QStringLiteral("IDC_%1").arg(id); }

QString cmdid(int id) { return QStringLiteral("ID_%1").arg(id); }

}  // namespace tracklore
