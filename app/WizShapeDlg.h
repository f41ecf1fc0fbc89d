#pragma once
// The wizard of a conversion mode, titled "格式转换": quick conversion has
// the output page only; annotation conversion the spatial-reference, style
// and output pages; advanced conversion those with the file-split page
// before the output page. Each page stores its choices in the settings when
// the person goes on.
#include <QWizard>

class CPageProjection;
class CPageStyle;
class CPageSplit;
class CPageOutput;

enum class ConvertMode { Quick, Annotation, Advanced };

class CWizShapeDlg : public QWizard {
  Q_OBJECT
 public:
  explicit CWizShapeDlg(ConvertMode mode, QWidget* parent = nullptr);

  CPageProjection* ProjectionPage() const { return projection_; }
  CPageStyle* StylePage() const { return style_; }
  CPageSplit* SplitPage() const { return split_; }
  CPageOutput* OutputPage() const { return output_; }

 private:
  CPageProjection* projection_ = nullptr;
  CPageStyle* style_ = nullptr;
  CPageSplit* split_ = nullptr;
  CPageOutput* output_ = nullptr;
};
