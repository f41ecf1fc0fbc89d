#pragma once
// The "地图预览" tab: the selected layer or project drawn by a MapCanvas,
// with "全图", the reading progress and what could not be read. The file is
// read on a worker thread; choosing another file abandons the reading.
#include <QString>
#include <QStringList>
#include <QWidget>
#include <memory>

#include "PreviewLoader.h"

class MapCanvas;
class QLabel;
class QProgressBar;
class QTimer;
struct PreviewShape;

class MapPreview : public QWidget {
  Q_OBJECT
 public:
  explicit MapPreview(QWidget* parent = nullptr);
  ~MapPreview() override;

  // Reads and draws `path` (a layer or project file); empty clears.
  void ShowFile(const QString& path);
  QString File() const { return path_; }
  // Folders searched for the colour library before the layer's own folder.
  void SetColourFolders(const QStringList& folders) { colourFolders_ = folders; }

  MapCanvas* Canvas() const { return canvas_; }
  QLabel* Message() const { return message_; }
  bool Loading() const { return job_ != nullptr; }

 signals:
  // The file is read (and its first image is on the way).
  void Loaded();
  // A shape was clicked: the values of its record, as text.
  void FeatureInfo(const QString& text);

 private:
  void OnLoaded(const std::shared_ptr<PreviewMap>& map);
  void OnShapeClicked(int layer, const PreviewShape& shape);

  MapCanvas* canvas_;
  QLabel* message_;
  QProgressBar* progress_;
  QTimer* poll_;
  QString path_;
  QStringList colourFolders_;
  std::shared_ptr<PreviewProgress> job_;
};
