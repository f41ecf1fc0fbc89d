#include "FieldNames.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

// Repeated names get the first free "_N", compared without ASCII case as GDAL
// compares field names; a name that is itself "X_2" takes its place first.
TEST(FieldNames, RepeatedNamesGetTheFirstFreeSuffix) {
  ogrmapgis::FieldNames names;
  EXPECT_EQ(names.Unique("ID"), "ID");
  EXPECT_EQ(names.Unique("id"), "id_2");
  EXPECT_EQ(names.Unique("ID_3"), "ID_3");
  EXPECT_EQ(names.Unique("ID"), "ID_4");
  EXPECT_EQ(names.Unique("ID_2"), "ID_2_2");
  EXPECT_EQ(names.Unique("名称"), "名称");
  EXPECT_EQ(names.Unique("名称"), "名称_2");

  // A file with thousands of fields of one name: every name distinct.
  ogrmapgis::FieldNames many;
  std::set<std::string> seen;
  for (int i = 0; i < 20000; ++i) seen.insert(many.Unique("A"));
  EXPECT_EQ(seen.size(), 20000u);
  EXPECT_EQ(seen.count("A_20000"), 1u);
}
