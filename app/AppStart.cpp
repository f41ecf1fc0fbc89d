#include "AppStart.h"

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDir>
#include <QFileInfo>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

namespace {

const char kService[] = "org.harrowby.GridmoorPro";
const char kObject[] = "/GridmoorPro";

}  // namespace

bool InstallChineseTranslations(QCoreApplication& app) {
  auto* translator = new QTranslator(&app);
  const QLocale chinese(QLocale::Chinese, QLocale::China);
  if (!translator->load(chinese, QStringLiteral("qtbase"), QStringLiteral("_"),
                        QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
    delete translator;
    return false;
  }
  return app.installTranslator(translator);
}

QStringList PathArguments(const QStringList& arguments) {
  QStringList paths;
  for (int i = 1; i < arguments.size(); ++i) {
    const QString& a = arguments[i];
    if (a.isEmpty() || (a.startsWith('-') && !QFileInfo::exists(a))) continue;
    paths << QDir::cleanPath(QFileInfo(a).absoluteFilePath());
  }
  return paths;
}

bool InstanceChannel::HandToRunning(const QStringList& paths) {
  QDBusConnection bus = QDBusConnection::sessionBus();
  if (!bus.isConnected() || !bus.interface() || !bus.interface()->isServiceRegistered(QLatin1String(kService))) {
    return false;
  }
  QDBusMessage call = QDBusMessage::createMethodCall(QLatin1String(kService), QLatin1String(kObject),
                                                     QLatin1String(kService), QStringLiteral("AddPaths"));
  call << paths;
  return bus.call(call, QDBus::Block, 5000).type() == QDBusMessage::ReplyMessage;
}

bool InstanceChannel::Listen() {
  QDBusConnection bus = QDBusConnection::sessionBus();
  if (!bus.isConnected()) return false;
  if (!bus.registerObject(QLatin1String(kObject), this, QDBusConnection::ExportScriptableSlots)) return false;
  if (!bus.registerService(QLatin1String(kService))) {
    bus.unregisterObject(QLatin1String(kObject));
    return false;
  }
  return true;
}

void InstanceChannel::AddPaths(const QStringList& paths) { emit PathsReceived(paths); }
