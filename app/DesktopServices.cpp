#include "DesktopServices.h"

#include <QApplication>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QUrl>
#include <QVariantMap>

// Resources compiled into a static library are registered by hand.
static void RegisterSoundResources() { Q_INIT_RESOURCE(sounds); }

namespace {

// Whether a service of this name is on the session bus (without starting it
// through activation, so a missing desktop costs no time).
bool HaveBusService(const QString& name) {
  QDBusConnection bus = QDBusConnection::sessionBus();
  if (!bus.isConnected()) return false;
  QDBusConnectionInterface* names = bus.interface();
  if (!names) return false;
  if (names->isServiceRegistered(name)) return true;
  const QStringList activatable = names->activatableServiceNames();
  return activatable.contains(name);
}

// The program's own sound, copied out of the resources once so an outside
// player can read it.
QString SoundFile() {
  static const bool registered = (RegisterSoundResources(), true);
  Q_UNUSED(registered);
  const QString dir = QStandardPaths::writableLocation(QStandardPaths::CacheLocation);
  if (dir.isEmpty() || !QDir().mkpath(dir)) return QString();
  const QString path = QDir(dir).filePath(QStringLiteral("finish.wav"));
  if (!QFileInfo::exists(path)) {
    QFile::remove(path);
    if (!QFile::copy(QStringLiteral(":/sounds/finish.wav"), path)) return QString();
  }
  return path;
}

}  // namespace

bool ShowInFileManager(const QString& file) {
  const QFileInfo info(file);
  if (!info.exists()) return false;
  if (HaveBusService(QStringLiteral("org.freedesktop.FileManager1"))) {
    QDBusMessage call = QDBusMessage::createMethodCall(
        QStringLiteral("org.freedesktop.FileManager1"), QStringLiteral("/org/freedesktop/FileManager1"),
        QStringLiteral("org.freedesktop.FileManager1"), QStringLiteral("ShowItems"));
    call << QStringList{QUrl::fromLocalFile(info.absoluteFilePath()).toString()} << QString();
    const QDBusMessage reply = QDBusConnection::sessionBus().call(call, QDBus::Block, 5000);
    if (reply.type() == QDBusMessage::ReplyMessage) return true;
  }
  return QDesktopServices::openUrl(QUrl::fromLocalFile(info.absolutePath()));
}

QString PlayFinishSound() {
  const QString canberra = QStandardPaths::findExecutable(QStringLiteral("canberra-gtk-play"));
  if (!canberra.isEmpty() &&
      QProcess::startDetached(canberra, {QStringLiteral("-i"), QStringLiteral("complete"), QStringLiteral("-d"),
                                         QStringLiteral("GridmoorPro")})) {
    return QStringLiteral("canberra");
  }
  const QString sound = SoundFile();
  for (const QString& player : {QStringLiteral("paplay"), QStringLiteral("aplay")}) {
    const QString program = QStandardPaths::findExecutable(player);
    if (sound.isEmpty() || program.isEmpty()) continue;
    QStringList arguments{sound};
    if (player == QLatin1String("aplay")) arguments.prepend(QStringLiteral("-q"));
    if (QProcess::startDetached(program, arguments)) return player;
  }
  QApplication::beep();
  return QStringLiteral("bell");
}

bool NotifyDesktop(const QString& title, const QString& body) {
  if (!HaveBusService(QStringLiteral("org.freedesktop.Notifications"))) return false;
  QDBusMessage call = QDBusMessage::createMethodCall(
      QStringLiteral("org.freedesktop.Notifications"), QStringLiteral("/org/freedesktop/Notifications"),
      QStringLiteral("org.freedesktop.Notifications"), QStringLiteral("Notify"));
  call << QStringLiteral("GridmoorPro") << 0u << QStringLiteral("gridmoorpro") << title << body << QStringList()
       << QVariantMap() << -1;
  return QDBusConnection::sessionBus().call(call, QDBus::Block, 3000).type() == QDBusMessage::ReplyMessage;
}
