// Attribute-table files (.WB) copied into dBASE tables, read back through GDAL.
#include <cstring>
#include <string>
#include <vector>

#include "EngineFixture.h"
#include "LayerBuilder.h"

using namespace testing_support;

namespace {

// NAME string 10 at 1, WIDE string (display 300, storage 400) at 11, DAY date
// at 411, CLOCK time at 415, COUNT long at 425, AREA double at 429, BLOB
// type 12 at 437, FLAG bool at 441.
const std::vector<FieldDef> kFields = {
    {"NAME", 0, 1, 10, 10, 0},   {"WIDE", 0, 11, 400, 300, 0}, {"DAY", 6, 411, 4, 10, 0},
    {"CLOCK", 7, 415, 10, 10, 0}, {"COUNT", 3, 425, 4, 8, 0},  {"AREA", 5, 429, 8, 10, 2},
    {"BLOB", 12, 437, 4, 6, 0},   {"FLAG", 8, 441, 1, 1, 0},
};
constexpr int32_t kRecordLength = 442;

Bytes Row(const std::string& name, int16_t year, uint8_t month, uint8_t day, int32_t count, double area) {
  ByteBuilder b(kRecordLength);
  b.U8(0, 1);
  b.Raw(1, std::string(10, ' ').data(), 10).Text(1, name);
  b.Raw(11, std::string(400, 'w').data(), 400);
  b.I16(411, year).U8(413, month).U8(414, day);
  b.U8(415, 8).U8(416, 9).F64(417, 5.5);
  b.I32(425, count).F64(429, area).I32(437, 77).U8(441, 2);
  return b.Bytes();
}

Bytes TableFile(const std::vector<FieldDef>& fields, const std::vector<Bytes>& rows) {
  LayerBuilder b(7);
  b.Section(0, AttributeSection(fields, kRecordLength, rows));
  return b.Build();
}

std::wstring Base(const TempDir& dir, const std::string& name) { return Wide(dir.Path() / name); }
std::string Dbf(const TempDir& dir, const std::string& name) { return (dir.Path() / (name + ".dbf")).string(); }

}  // namespace

class ConvertTable : public EngineTest {};

TEST_F(ConvertTable, EveryFieldTypeIsMappedAndEveryRecordWritten) {
  const std::wstring src = dir.Write("t.WB", TableFile(kFields, {Row("\xD6\xD0\xCE\xC4", 2019, 3, 8, -7, 1.25),
                                                                 Row("b", 2020, 12, 31, 2147483647, -3.5)}));
  for (int codePage : {0, 1}) {
    options.CodePage = codePage;
    const std::string name = "t" + std::to_string(codePage);
    host.lines.clear();
    host.progress.clear();
    ASSERT_EQ(Convert(::ConvertTable, src, Base(dir, name)), 99999);
    EXPECT_TRUE(Logged("------W__[WIDE]字段被截断，SHAPE不支持大于255字节的字符串类型"));
    EXPECT_TRUE(Logged("------E__[BLOB]字段类型SHAPE格式不支持"));
    EXPECT_TRUE(Logged("------I__输出属性文件[" + MapGis::WideToUtf8(Base(dir, name)) + ".dbf]"));
    EXPECT_TRUE(Logged("----结束转换[全部正确转换(2/2)]"));
    ASSERT_FALSE(host.progress.empty());
    EXPECT_EQ(host.progress.back(), 100);

    const OgrLayer table = ReadWithOgr(Dbf(dir, name));
    ASSERT_TRUE(table.opened);
    ASSERT_EQ(table.features.size(), 2u);
    const OgrFeature& first = table.features[0];
    EXPECT_EQ(first.values.at("NAME"), "中文");
    EXPECT_EQ(first.values.at("DAY"), "2019-03-08");
    EXPECT_EQ(table.fieldTypes.at("DAY").second, 50);
    EXPECT_EQ(first.values.at("CLOCK"), "08:09:5.50");
    EXPECT_EQ(first.values.at("COUNT"), "-7");
    EXPECT_DOUBLE_EQ(std::stod(first.values.at("AREA")), 1.25);
    EXPECT_EQ(first.values.at("FLAG"), "1");
    EXPECT_TRUE(first.isNull.at("BLOB"));
    EXPECT_EQ(table.fieldTypes.at("WIDE").second, 255);
    EXPECT_EQ(first.values.at("WIDE"), std::string(250, 'w') + "...");
    EXPECT_EQ(table.features[1].values.at("COUNT"), "2147483647");
    EXPECT_EQ(table.features[1].values.at("DAY"), "2020-12-31");
    EXPECT_FALSE(FileExists(dir.File(name + ".shp")));
  }
}

TEST_F(ConvertTable, AnEmptyTableLeavesNoFiles) {
  const std::wstring src = dir.Write("empty.WB", TableFile(kFields, {}));
  EXPECT_EQ(Convert(::ConvertTable, src, Base(dir, "empty")), 10);
  EXPECT_TRUE(Logged("------I__转换结果为空文件,已被删除！"));
  EXPECT_TRUE(Logged("----结束转换[全部正确转换(0/0)]"));
  EXPECT_FALSE(FileExists(dir.File("empty.dbf")));
  EXPECT_FALSE(FileExists(dir.File("empty.cpg")));

  options.ExportEmptyFile = 1;
  EXPECT_EQ(Convert(::ConvertTable, src, Base(dir, "kept")), 10);
  EXPECT_TRUE(FileExists(dir.File("kept.dbf")));
  EXPECT_TRUE(FileExists(dir.File("kept.cpg")));
}

TEST_F(ConvertTable, BadSourcesStopWithTheirStatus) {
  const Bytes foreign = ReadAll(RealSamples() / "unsupported" / "Fram_1.wt");
  ASSERT_FALSE(foreign.empty());
  EXPECT_EQ(Convert(::ConvertTable, dir.Write("foreign.WB", foreign), Base(dir, "foreign")), -9997);
  EXPECT_TRUE(Logged("----结束转换[原文件错误-非MapGis文件]"));
  EXPECT_FALSE(FileExists(dir.File("foreign.dbf")));

  EXPECT_EQ(Convert(::ConvertTable, Base(dir, "missing.WB"), Base(dir, "missing")), -9996);
  EXPECT_TRUE(Logged("----结束转换[原文件错误-文件打开失败]"));

  // A field whose type is no MapGIS type stops the conversion; the table
  // begun for it is not kept.
  std::vector<FieldDef> bad = kFields;
  bad[2].type = 25;
  host.lines.clear();
  EXPECT_EQ(Convert(::ConvertTable, dir.Write("bad.WB", TableFile(bad, {Row("a", 1, 1, 1, 1, 1)})), Base(dir, "bad")),
            -9980);
  EXPECT_TRUE(Logged("------E__[DAY]字段结构定义存在严重错误"));
  EXPECT_TRUE(Logged("----结束转换[原文件错误-属性结构定义错误]"));
  EXPECT_FALSE(FileExists(dir.File("bad.dbf")));

  // A table whose field head is damaged.
  Bytes damaged = TableFile(kFields, {Row("a", 1, 1, 1, 1, 1)});
  damaged[817] = 'x';
  host.lines.clear();
  EXPECT_EQ(Convert(::ConvertTable, dir.Write("damaged.WB", damaged), Base(dir, "damaged")), -9980);
  EXPECT_TRUE(Logged("----结束转换[原文件错误-属性结构定义错误]"));
}

TEST_F(ConvertTable, RealTablesWithChineseFieldNamesAndWideStrings) {
  for (int codePage : {0, 1}) {
    options.CodePage = codePage;
    const std::string name = "qu" + std::to_string(codePage);
    ASSERT_EQ(Convert(::ConvertTable, dir.CopySample("tables/区.WB"), Base(dir, name)), 99999);
    const OgrLayer qu = ReadWithOgr(Dbf(dir, name));
    ASSERT_EQ(qu.features.size(), 1u);
    ASSERT_EQ(qu.fieldNames.size(), 22u);
    // The 160-wide string field keeps its whole width (more in UTF-8).
    EXPECT_GE(qu.fieldTypes.at(codePage == 1 ? "争议代码" : "争议代").second, 160);
    EXPECT_EQ(qu.features[0].values.at(codePage == 1 ? "变更时间" : "变更时"), "0000-00-00");

    const std::string pointName = "dian" + std::to_string(codePage);
    ASSERT_EQ(Convert(::ConvertTable, dir.CopySample("tables/点.WB"), Base(dir, pointName)), 99999);
    const OgrLayer dian = ReadWithOgr(Dbf(dir, pointName));
    ASSERT_EQ(dian.features.size(), 1u);
    EXPECT_EQ(dian.fieldNames.size(), 10u);
    EXPECT_EQ(dian.fieldNames[0], "ID");
    EXPECT_EQ(dian.fieldNames[1], "点号");
  }
}
