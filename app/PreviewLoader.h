#pragma once
// Reads a layer or project file into the shapes the map preview draws. Runs
// on a worker thread: reports its progress and stops early when asked.
#include <QString>
#include <QStringList>
#include <atomic>
#include <memory>

#include "PreviewMap.h"

struct PreviewProgress {
  std::atomic<int> percent{0};
  std::atomic<bool> cancel{false};
};

// `colourFolders` are searched in order for the colour library; the folder
// of each layer is tried after them. Never throws; a file that cannot be
// read gives a map that says so in its problems.
std::shared_ptr<PreviewMap> LoadPreview(const QString& path, const QStringList& colourFolders,
                                        PreviewProgress& progress);

// How finely a layer of this extent is kept: about 1/8192 of its larger side.
double PreviewTolerance(const QRectF& extent);
