#include "Icons.h"

#include <QFile>
#include <QHash>

// Resources compiled into a static library are registered by hand.
static void RegisterIconResources() { Q_INIT_RESOURCE(icons); }

namespace {

QIcon Load(const QString& name) {
  static bool registered = false;
  if (!registered) {
    RegisterIconResources();
    registered = true;
  }
  static QHash<QString, QIcon> cache;
  auto it = cache.find(name);
  if (it != cache.end()) return *it;
  const QString path = QStringLiteral(":/icons/") + name + QStringLiteral(".png");
  QIcon icon = QFile::exists(path) ? QIcon(path) : QIcon();
  cache.insert(name, icon);
  return icon;
}

}  // namespace

QIcon CommandIcon(const QString& name) { return Load(name); }

QIcon KindIcon(int kind) {
  static const char* const names[] = {nullptr, "kind-project", "kind-point", "kind-line",
                                      "kind-polygon", "kind-table", "kind-network"};
  if (kind < 1 || kind > 6) return QIcon();
  return Load(QString::fromLatin1(names[kind]));
}
