// Checks translation files (.ts) as the program loads them: every text
// translated and current, and each translation keeping what the program
// fills in or reads from it — the Qt placeholders (%1, %n), the printf
// conversions of the catalogue's formats in their order (a wrong one would
// read the wrong argument), and the one keyboard mnemonic (&) of a label.
// Usage: tscheck FILE.ts...; names every faulty text and exits 1.
#include <QCoreApplication>
#include <QFile>
#include <QRegularExpression>
#include <QStringList>
#include <QTextStream>
#include <QXmlStreamReader>

namespace {

struct Message {
  QString context, source, type;
  QStringList translations;  // one, or one per plural form
};

QStringList matches(const QString& text, const QRegularExpression& pattern) {
  QStringList found;
  for (auto it = pattern.globalMatch(text); it.hasNext();) found << it.next().captured(0);
  return found;
}

QStringList qtPlaceholders(const QString& text) {
  static const QRegularExpression pattern(QStringLiteral("%L?([1-9][0-9]?|n)"));
  QStringList found = matches(text, pattern);
  found.sort();
  found.removeDuplicates();
  return found;
}

QStringList printfConversions(const QString& text) {
  static const QRegularExpression pattern(
      QStringLiteral("%[-+ #0]*[0-9]*(?:\\.[0-9]+)?(?:hh|h|ll|l|z|j|t|L)?[diouxXeEfgGcsp%]"));
  return matches(text, pattern);
}

int mnemonics(const QString& text) {
  QString plain = text;
  plain.remove(QStringLiteral("&&"));
  return static_cast<int>(plain.count(QLatin1Char('&')));
}

QString problem(const Message& m) {
  if (m.type == QLatin1String("unfinished")) return QStringLiteral("untranslated");
  if (!m.type.isEmpty()) return QStringLiteral("%1 (no longer in the sources)").arg(m.type);
  if (m.translations.isEmpty()) return QStringLiteral("untranslated");
  for (const QString& t : m.translations) {
    if (t.trimmed().isEmpty()) return QStringLiteral("empty translation");
    if (qtPlaceholders(t) != qtPlaceholders(m.source))
      return QStringLiteral("placeholders %1 where the source has %2")
          .arg(qtPlaceholders(t).join(QLatin1Char(' ')),
               qtPlaceholders(m.source).join(QLatin1Char(' ')));
    if (printfConversions(t) != printfConversions(m.source))
      return QStringLiteral("conversions %1 where the source has %2")
          .arg(printfConversions(t).join(QLatin1Char(' ')),
               printfConversions(m.source).join(QLatin1Char(' ')));
    if (mnemonics(t) != mnemonics(m.source)) return QStringLiteral("mnemonic (&) differs");
  }
  return {};
}

// The messages of one file; false with reason when it cannot be read.
bool readMessages(const QString& path, QList<Message>* out, QString* reason) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) {
    *reason = file.errorString();
    return false;
  }
  QXmlStreamReader xml(&file);
  QString context;
  Message m;
  while (!xml.atEnd()) {
    xml.readNext();
    if (!xml.isStartElement()) {
      if (xml.isEndElement() && xml.name() == QLatin1String("message")) out->append(m);
      continue;
    }
    const auto name = xml.name();
    if (name == QLatin1String("context")) {
      context.clear();
    } else if (name == QLatin1String("name")) {
      context = xml.readElementText();
    } else if (name == QLatin1String("message")) {
      m = Message{context, {}, {}, {}};
    } else if (name == QLatin1String("source")) {
      m.source = xml.readElementText();
    } else if (name == QLatin1String("translation")) {
      m.type = xml.attributes().value(QLatin1String("type")).toString();
      // Plural forms are child elements; a plain translation is text.
      if (xml.readNext() == QXmlStreamReader::Characters && !xml.isWhitespace())
        m.translations << xml.text().toString();
    } else if (name == QLatin1String("numerusform")) {
      m.translations << xml.readElementText();
    }
  }
  if (xml.hasError()) {
    *reason = xml.errorString();
    return false;
  }
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  QTextStream err(stderr);
  const QStringList files = app.arguments().mid(1);
  if (files.isEmpty()) err << "usage: tscheck FILE.ts...\n";
  int faults = 0;
  for (const QString& path : files) {
    QList<Message> messages;
    QString reason;
    if (!readMessages(path, &messages, &reason) || messages.isEmpty()) {
      err << path << ": " << (reason.isEmpty() ? "holds no text" : "cannot be read: " + reason)
          << '\n';
      ++faults;
    }
    for (const Message& m : messages) {
      const QString why = problem(m);
      if (why.isEmpty()) continue;
      err << path << ": " << m.context << ": \"" << m.source << "\": " << why << '\n';
      ++faults;
    }
  }
  return faults == 0 && !files.isEmpty() ? 0 : 1;
}
