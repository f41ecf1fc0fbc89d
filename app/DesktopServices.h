#pragma once
// The Linux desktop's services the program uses, each with a fallback when
// the desktop does not offer it: a file shown selected in the file manager,
// a finishing sound, a notification.
#include <QString>

// Opens the file manager on the folder of `file` with the file selected
// (freedesktop FileManager1 over the session bus); without such a file
// manager, opens the folder. False when neither worked.
bool ShowInFileManager(const QString& file);

// Plays the finishing sound: the desktop's sound theme through
// canberra-gtk-play when installed, else the program's own short sound
// through paplay or aplay, else the bell. Returns how it was played:
// "canberra", "paplay", "aplay" or "bell".
QString PlayFinishSound();

// A desktop notification (freedesktop Notifications over the session bus);
// false when no notification service answered.
bool NotifyDesktop(const QString& title, const QString& body);
