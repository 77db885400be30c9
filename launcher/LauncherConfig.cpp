#include "launcher/LauncherConfig.h"

#include <QXmlStreamReader>

#include "quillet/Files.h"

namespace ferrox::launcher {
namespace {

// Only attributes that are there count, so a later element without one keeps the earlier value.
void TakeAttribute(const QDomElement& element, const QString& name, QString& field) {
  if (element.hasAttribute(name)) field = element.attribute(name);
}

void ReadElement(const QDomElement& element, LaunchSettings& settings) {
  const QString name = element.tagName();
  if (name == QLatin1String("Application")) {
    TakeAttribute(element, "process_name", settings.processPath);
    TakeAttribute(element, "work_directory", settings.workDirectory);
    TakeAttribute(element, "event_name", settings.eventName);
  } else if (name == QLatin1String("Picture")) {
    TakeAttribute(element, "path", settings.picturePath);
  } else if (name == QLatin1String("Update")) {
    TakeAttribute(element, "address", settings.updateAddress);
    TakeAttribute(element, "installer", settings.installerAddress);
  }
}

void SetIfAny(QDomElement& element, const QString& name, const QString& value) {
  if (!value.isEmpty()) element.setAttribute(name, value);
}

// The configuration is three levels deep; a text nested far deeper is refused before the
// document parser, whose time grows faster than the depth, ever sees it.
constexpr int kMaxDepth = 32;

bool NestsTooDeep(const QByteArray& bytes) {
  QXmlStreamReader reader(bytes);
  int depth = 0;
  while (!reader.atEnd()) {
    const auto token = reader.readNext();
    if (token == QXmlStreamReader::StartElement && ++depth > kMaxDepth) return true;
    if (token == QXmlStreamReader::EndElement) --depth;
  }
  return false;
}

}  // namespace

bool LoadLauncherConfig(const QByteArray& bytes, QDomDocument& doc) {
  doc.clear();
  if (NestsTooDeep(bytes)) return false;
  if (doc.setContent(bytes)) return true;
  doc.clear();  // a failed parse may leave the elements read before the error
  return false;
}

LaunchSettings ReadLauncherConfig(const QDomElement& root) {
  LaunchSettings settings;
  if (root.isNull() || root.tagName() != QLatin1String("Heraldo")) return settings;
  for (QDomElement e = root.firstChildElement(); !e.isNull(); e = e.nextSiblingElement())
    ReadElement(e, settings);
  return settings;
}

LaunchSettings ReadLauncherConfig(const QByteArray& bytes) {
  QDomDocument doc;
  if (!LoadLauncherConfig(bytes, doc)) return {};
  return ReadLauncherConfig(doc.documentElement());
}

QByteArray WriteLauncherConfig(const LaunchSettings& settings) {
  QDomDocument doc;
  doc.appendChild(doc.createProcessingInstruction("xml", R"(version="1.0" encoding="UTF-8")"));
  QDomElement root = doc.createElement("Heraldo");
  doc.appendChild(root);
  QDomElement app = doc.createElement("Application");
  SetIfAny(app, "process_name", settings.processPath);
  SetIfAny(app, "work_directory", settings.workDirectory);
  SetIfAny(app, "event_name", settings.eventName);
  root.appendChild(app);
  QDomElement picture = doc.createElement("Picture");
  SetIfAny(picture, "path", settings.picturePath);
  root.appendChild(picture);
  if (!settings.updateAddress.isEmpty() || !settings.installerAddress.isEmpty()) {
    QDomElement update = doc.createElement("Update");
    SetIfAny(update, "address", settings.updateAddress);
    SetIfAny(update, "installer", settings.installerAddress);
    root.appendChild(update);
  }
  return doc.toByteArray(2);
}

QString ProductName(const QString& processPath) {
  const QString name = QString::fromStdWString(quillet::LastName(processPath.toStdWString()));
  const qsizetype dot = name.lastIndexOf(u'.');
  return dot > 0 ? name.left(dot) : name;
}

std::string EventNameFor(const QString& product) {
  std::string name(1, '/');
  name += (product + "Event").toStdString();
  return name;
}

}  // namespace ferrox::launcher
