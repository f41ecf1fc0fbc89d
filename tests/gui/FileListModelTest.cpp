// The item model over the engine's file list, and the tree view that keeps
// the nodes' selection marks.
#include <QItemSelectionModel>
#include <QTemporaryDir>

#include "FileListModel.h"
#include "FileListView.h"
#include "GuiTestSupport.h"
#include "Icons.h"

namespace {

class FileListModelTest : public GuiTest {
 protected:
  FileList list;
  FileListModel model{list};

  void Add(const QStringList& paths) {
    model.BeginChange();
    for (const QString& p : paths) list.AddPath(p.toStdWString());
    model.EndChange();
  }
  QString Text(const QModelIndex& i) const { return model.data(i, Qt::DisplayRole).toString(); }
};

TEST_F(FileListModelTest, ColumnsHaveTheirTitlesAndAlignment) {
  const char* titles[] = {"文件名称", "文件路径", "文件大小", "状态", "结果名称"};
  ASSERT_EQ(model.columnCount(), 5);
  for (int c = 0; c < 5; ++c) {
    EXPECT_EQ(model.headerData(c, Qt::Horizontal, Qt::DisplayRole).toString(), QString::fromUtf8(titles[c]));
  }
  QTemporaryDir dir;
  Add({WriteBytes(dir, "a.WL", 500), WriteBytes(dir, "b.wp", 2047), WriteBytes(dir, "c.WB", 2048)});
  ASSERT_EQ(model.rowCount(), 3);
  const QModelIndex row = model.index(0, 0);
  EXPECT_EQ(Text(row), "a.WL");
  EXPECT_EQ(Text(model.index(0, 1)), dir.filePath("a.WL"));
  EXPECT_EQ(Text(model.index(0, 2)), "1KB");
  EXPECT_EQ(Text(model.index(1, 2)), "1KB");
  EXPECT_EQ(Text(model.index(2, 2)), "2KB");
  for (int c = 0; c < 5; ++c) {
    const auto align = Qt::Alignment(model.data(model.index(0, c), Qt::TextAlignmentRole).toInt());
    EXPECT_EQ(bool(align & Qt::AlignRight), c == 2 || c == 3) << c;
    const auto header = Qt::Alignment(model.headerData(c, Qt::Horizontal, Qt::TextAlignmentRole).toInt());
    EXPECT_EQ(bool(header & Qt::AlignRight), c == 2 || c == 3) << c;
  }
  // Only the name column carries the kind image.
  EXPECT_FALSE(model.data(model.index(0, 1), Qt::DecorationRole).isValid());
  EXPECT_FALSE(model.index(3, 0).isValid());
  EXPECT_FALSE(model.index(0, 5).isValid());
}

TEST_F(FileListModelTest, ProjectIsAParentOfItsLayers) {
  QTemporaryDir dir;
  const QStringList files = CopySamples(dir, {"jz-project/i486732jz1.MPJ", "jz-project/JZ.WT", "jz-project/JZ.WL",
                                              "jz-project/JZ-FINAL.WL", "jz-project/I486732TK.WL"});
  Add({files[0], WriteBytes(dir, "x.WN", 10), dir.filePath("notes.txt")});
  ASSERT_EQ(model.rowCount(), 2);  // the text file is not added
  const QModelIndex project = model.index(0, 0);
  EXPECT_EQ(Text(project), "i486732jz1.MPJ");
  ASSERT_EQ(model.rowCount(project), 4);
  EXPECT_EQ(model.rowCount(model.index(0, 1)), 0);  // children hang on column 0 only
  for (int r = 0; r < 4; ++r) {
    const QModelIndex child = model.index(r, 3, project);
    ASSERT_TRUE(child.isValid());
    EXPECT_EQ(model.parent(child), project);
    EXPECT_EQ(model.rowCount(child), 0);
    EXPECT_TRUE(Text(model.index(r, 1, project)).startsWith(dir.path())) << Text(model.index(r, 1, project)).toStdString();
  }
  EXPECT_FALSE(model.parent(project).isValid());
  EXPECT_FALSE(model.index(4, 0, project).isValid());
  const FileNode* layer = model.NodeAt(model.index(2, 0, project));
  EXPECT_EQ(model.IndexOf(layer, 4), model.index(2, 4, project));
}

TEST_F(FileListModelTest, EveryKindHasItsOwnImage) {
  QTemporaryDir dir;
  const QStringList files = CopySamples(dir, {"jz-project/i486732jz.MPJ"});
  Add({files[0], WriteBytes(dir, "p.WT", 1), WriteBytes(dir, "l.WL", 1), WriteBytes(dir, "r.WP", 1),
       WriteBytes(dir, "t.WB", 1), WriteBytes(dir, "n.WN", 1)});
  ASSERT_EQ(model.rowCount(), 6);
  QSet<qint64> keys;
  for (int r = 0; r < 6; ++r) {
    const QIcon icon = model.data(model.index(r, 0), Qt::DecorationRole).value<QIcon>();
    ASSERT_FALSE(icon.isNull()) << r;
    ASSERT_FALSE(icon.availableSizes().isEmpty()) << "image resource missing for row " << r;
    EXPECT_EQ(icon.cacheKey(), KindIcon(r + 1).cacheKey()) << r;
    keys.insert(icon.cacheKey());
  }
  EXPECT_EQ(keys.size(), 6);
  EXPECT_TRUE(KindIcon(0).isNull());
  EXPECT_TRUE(KindIcon(7).isNull());
}

TEST_F(FileListModelTest, TextColourFollowsTheNodeColour) {
  QTemporaryDir dir;
  Add({WriteBytes(dir, "a.WL", 1), WriteBytes(dir, "b.WL", 1), WriteBytes(dir, "c.WL", 1)});
  list.TopLevel()[1]->colour = kColourBlue;
  list.TopLevel()[2]->colour = kColourRed;
  EXPECT_EQ(model.data(model.index(0, 3), Qt::ForegroundRole).value<QColor>(), QColor(0, 0, 0));
  EXPECT_EQ(model.data(model.index(1, 0), Qt::ForegroundRole).value<QColor>(), QColor(0, 0, 255));
  EXPECT_EQ(model.data(model.index(2, 4), Qt::ForegroundRole).value<QColor>(), QColor(255, 0, 0));
}

// While a batch writes the nodes from its thread, the model shows the copy
// taken when the batch reported a node, never the node being written.
TEST_F(FileListModelTest, DuringABatchReportedNodesOnlyAreShown) {
  QTemporaryDir dir;
  Add({WriteBytes(dir, "a.WL", 1), WriteBytes(dir, "b.WL", 1)});
  FileNode* a = list.TopLevel()[0].get();
  a->status = L"成功";
  model.BeginBatch();
  EXPECT_EQ(Text(model.index(0, 3)), "成功");
  a->status = L"失败";
  a->colour = kColourRed;
  EXPECT_EQ(Text(model.index(0, 3)), "成功");
  EXPECT_EQ(model.data(model.index(0, 0), Qt::ForegroundRole).value<QColor>(), QColor(0, 0, 0));
  int changed = 0;
  QObject::connect(&model, &QAbstractItemModel::dataChanged, [&](const QModelIndex& from, const QModelIndex& to) {
    if (from.row() == 0 && to.row() == 0 && from.column() == 0 && to.column() == 4) ++changed;
  });
  model.OnNodeUpdated(a);
  EXPECT_EQ(changed, 1);
  EXPECT_EQ(Text(model.index(0, 3)), "失败");
  EXPECT_EQ(model.data(model.index(0, 0), Qt::ForegroundRole).value<QColor>(), QColor(255, 0, 0));
  model.EndBatch();
  list.TopLevel()[1]->status = L"跳过";
  EXPECT_EQ(Text(model.index(1, 3)), "跳过");
}

TEST_F(FileListModelTest, ViewSelectionIsKeptInTheNodeMarks) {
  QTemporaryDir dir;
  const QStringList files = CopySamples(dir, {"jz-project/i486732jz1.MPJ", "jz-project/JZ.WT", "jz-project/JZ.WL",
                                              "jz-project/JZ-FINAL.WL", "jz-project/I486732TK.WL"});
  FileListView view;
  view.SetListModel(&model);
  Add({WriteBytes(dir, "a.WL", 1), files[0], WriteBytes(dir, "b.WL", 1)});
  ASSERT_EQ(list.Count(), 7);
  // A project enters expanded, and the view shows it so.
  EXPECT_TRUE(view.isExpanded(model.index(1, 0)));

  view.selectionModel()->select(model.index(1, 0),
                                QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
  EXPECT_TRUE(list.TopLevel()[1]->selected);
  EXPECT_FALSE(list.TopLevel()[0]->selected);

  // Adding files keeps what was selected and expanded.
  view.collapse(model.index(1, 0));
  EXPECT_FALSE(list.TopLevel()[1]->expanded);
  Add({WriteBytes(dir, "c.WL", 1)});
  ASSERT_EQ(view.selectionModel()->selectedRows().size(), 1);
  EXPECT_EQ(view.selectionModel()->selectedRows()[0], model.index(1, 0));
  EXPECT_FALSE(view.isExpanded(model.index(1, 0)));

  // Removing a selected project removes its layers with it.
  model.BeginChange();
  list.RemoveSelection();
  model.EndChange();
  EXPECT_EQ(list.Count(), 3);
  EXPECT_EQ(model.rowCount(), 3);

  // Marks set by the engine show as the view's selection.
  list.SelectAll();
  view.ShowMarks();
  EXPECT_EQ(view.selectionModel()->selectedRows().size(), 3);
  list.ClearSelection();
  view.ShowMarks();
  EXPECT_TRUE(view.selectionModel()->selectedRows().isEmpty());
}

}  // namespace
