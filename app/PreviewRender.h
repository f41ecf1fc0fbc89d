#pragma once
// Draws a preview map into an image: map coordinates through a view
// transform to pixels, shapes outside the image skipped, vertices closer
// than a pixel to the last one drawn left out, so the cost follows what
// can be seen rather than the size of the file.
#include <QImage>
#include <QTransform>
#include <atomic>

#include "PreviewMap.h"

// `view` maps map coordinates to the image's pixels. Stops early (and
// returns false) when `generation` no longer equals `mine`.
bool RenderPreview(const PreviewMap& map, const QTransform& view, QImage& image,
                   const std::atomic<int>* generation = nullptr, int mine = 0);
