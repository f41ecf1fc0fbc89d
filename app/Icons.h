#pragma once
// The program's icons, drawn for this program and kept as resources.
#include <QIcon>
#include <QString>

// A command icon by name ("open", "folder", "quick", ...); a null icon when unknown.
QIcon CommandIcon(const QString& name);
// The image of a list node by its kind (1 project, 2 point, 3 line,
// 4 polygon, 5 table, 6 network); a null icon for other kinds.
QIcon KindIcon(int kind);
