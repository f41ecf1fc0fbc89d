#pragma once
// What the desktop program keeps for itself between runs, apart from the
// conversion settings: the window's geometry, dock and column layout, the
// last folder of a file dialog and the number of files converted at once.
// Stored in the program's QSettings under its own group "Desktop".
#include <QString>

class QHeaderView;
class QMainWindow;

namespace DesktopState {

// The folder a file dialog opens in: the last one used, else the home folder.
QString LastFolder();
// Remembers the folder of `path` (a file) or `path` itself (a folder).
void RememberFolder(const QString& path);

// Files converted at the same time: 1 to the number of processors.
int Jobs();
int MaxJobs();
void SetJobs(int jobs);

// The window's geometry, tool bar and dock state, and the list's column widths.
void SaveWindow(const QMainWindow& window, const QHeaderView& columns);
// False when nothing was stored (the window keeps its default size).
bool RestoreWindow(QMainWindow& window, QHeaderView& columns);

}  // namespace DesktopState

// The default output and work folder: ~/GridmoorPro, created when missing,
// so results land where a person finds them.
QString DefaultOutputFolder();
