// ArcView legend files: whole expected texts, one object per source row,
// every line ending in CR LF, for the three symbol families.
#include <gtest/gtest.h>

#include <initializer_list>
#include <limits>
#include <string>

#include "LegendWriter.h"


namespace {

// Each line followed by CR LF.
std::string Lines(std::initializer_list<const char*> lines) {
  std::string s;
  for (const char* l : lines) s += std::string(l) + "\r\n";
  return s;
}

StyleKey Key(int index, int type, uint32_t colour, float s1, float s2, float s3) {
  StyleKey k;
  k.index = index;
  k.type = type;
  k.colour = colour;
  k.size1 = s1;
  k.size2 = s2;
  k.size3 = s3;
  return k;
}

// A line legend without colours and keys.
std::string EmptyLineLegend() {
  return Lines({"/3.2",
                "(ODB.1", "\tFirstRootClassName:\t\"Legend\"", "\tRoots:\t2", "\tVersion:\t32", ")", "",
                "(Legend.2", "\tSymType:\t0x01", "\tLegType:\t0x08", "\tClassType:\t0x03", "\tFieldNames:\t3",
                    "\tSymbols:\t4", "\tStdDevs:\t1.0", "\tPrecision:\t-3", ")", "",
                "(AVStr.3", "\tS:\t\"VKT_LEGEND\"", ")", "",
                "(SymList.4", ")", "",
                "(TClr.5", ")", "",
                "(TClr.6", "\tRed:\t0xffff", "\tGreen:\t0xffff", "\tBlue:\t0xffff", ")", "",
                "(NameDict.7", ")", "",
                "(NameDict.8", ")", ""});
}

TEST(LegendWriterTest, WorkedLineLegend) {
  const std::string text = LegendWriter::LineLegend({0x0000FF}, {Key(0, 1, 0x0000FF, 0.5f, 0.0f, 0.0f)});
  const std::string expected = Lines({
      "/3.2",
      "(ODB.1", "\tFirstRootClassName:\t\"Legend\"", "\tRoots:\t2", "\tVersion:\t32", ")", "",
      "(Legend.2", "\tSymType:\t0x01", "\tLegType:\t0x08", "\tClassType:\t0x03", "\tFieldNames:\t3", "\tSymbols:\t4",
          "\tClass:\t9", "\tStdDevs:\t1.0", "\tPrecision:\t-3", ")", "",
      "(AVStr.3", "\tS:\t\"VKT_LEGEND\"", ")", "",
      "(SymList.4", "\tChild:\t8", ")", "",
      "(TClr.5", ")", "",
      "(TClr.6", "\tRed:\t0xffff", "\tGreen:\t0xffff", "\tBlue:\t0xffff", ")", "",
      "(TClr.7", "\tRed:\t0xffff", "\tGreen:\t0x00ff", "\tBlue:\t0x00ff", ")", "",
      "(BLnSym.8", "\tColor:\t7", "\tWidth:\t1.42",
          "\t\t\t\t\t\t\t\t\tPattern:\t0.0", "\tPattern:\t0.0", "\tPattern:\t0.0", "\tPattern:\t0.0",
          " \t\t\t\t\t\t\t\t\tPattern:\t0.0", "\tPattern:\t0.0", "\tPattern:\t0.0", "\tPattern:\t0.0",
          " \t\t\t\t\t\t\t\t\tPattern:\t0.0", "\tPattern:\t0.0", "\tPattern:\t0.0", "\tPattern:\t0.0",
          " \t\t\t\t\t\t\t\t\tPattern:\t0.0", "\tPattern:\t0.0", "\tPattern:\t0.0", "\tPattern:\t0.0",
          ")", "",
      "(LClass.9", "\tLabel:\t\"0001000000FF00000000003200000000\"", "\tMinNum:\t0001000000FF00000000003200000000",
          "\tMaxNum:\t0001000000FF00000000003200000000", "\tPrecision:\t-3", ")", "",
      "(NameDict.10", ")", "",
      "(NameDict.11", ")", "",
  });
  EXPECT_EQ(text, expected);
}

TEST(LegendWriterTest, LinesOtherThanType1AreDashed) {
  const std::string text = LegendWriter::LineLegend({0x000000}, {Key(0, 3, 0x000000, 1.2f, 0.0f, 0.0f)});
  const std::string symbol = Lines({
      "(BLnSym.8", "\tColor:\t7", "\tWidth:\t3.40",
          "\t\t\t\t\t\t\t\t\tPattern:\t1.0", "\tPattern:\t1.0", "\tPattern:\t0.0", "\tPattern:\t0.0",
          " \t\t\t\t\t\t\t\t\tPattern:\t0.0", "\tPattern:\t0.0", "\tPattern:\t0.0", "\tPattern:\t0.0",
          " \t\t\t\t\t\t\t\t\tPattern:\t0.0", "\tPattern:\t0.0", "\tPattern:\t0.0", "\tPattern:\t0.0",
          " \t\t\t\t\t\t\t\t\tPattern:\t0.0", "\tPattern:\t0.0", "\tPattern:\t0.0", "\tPattern:\t0.0",
          ")", "",
      "(LClass.9",
  });
  EXPECT_NE(text.find(symbol), std::string::npos) << text;
  EXPECT_NE(text.find(Lines({"(TClr.7", "\tRed:\t0x00ff", "\tGreen:\t0x00ff", "\tBlue:\t0x00ff", ")"})),
            std::string::npos);
}

// "nan" or "inf" would make the legend unreadable; such sizes (also a size
// whose product with the point factor overflows) are written as 0.
TEST(LegendWriterTest, NonFiniteSizesAreWrittenAsZero) {
  const float nan = std::numeric_limits<float>::quiet_NaN();
  EXPECT_NE(LegendWriter::LineLegend({0}, {Key(0, 1, 0, nan, 0.0f, 0.0f)}).find(Lines({"\tColor:\t7", "\tWidth:\t0.00"})), std::string::npos);
  EXPECT_NE(LegendWriter::MarkerLegend({0}, {Key(0, 0, 0, 3.0e38f, 0.0f, nan)}, L"x").find(Lines({"\tSize:\t0.00", "\tPattern:\t46", "\tAngle:\t0.00"})),
            std::string::npos);
}

TEST(LegendWriterTest, EmptyKeyListsPerFamily) {
  EXPECT_EQ(LegendWriter::LineLegend({}, {}), EmptyLineLegend());

  // Polygons: a space before the ODB version, shade symbol type.
  std::string shade = EmptyLineLegend();
  const std::string odbVersion = "\tVersion:\t32", symType = "\tSymType:\t0x01";
  shade.replace(shade.find(odbVersion), odbVersion.size(), "\tVersion: 32");
  shade.replace(shade.find(symType), symType.size(), "\tSymType:\t0x02");
  EXPECT_EQ(LegendWriter::ShadeLegend({}, {}), shade);

  // Markers: no classes, no children, dictionaries 11 and 12 right after the
  // fixed objects (whose full text the next test checks).
  const std::string marker = LegendWriter::MarkerLegend({}, {}, L"ESRI Default Marker");
  EXPECT_NE(marker.find(Lines({"\tSymbols:\t4", "\tStdDevs:\t1.0"})), std::string::npos);
  EXPECT_NE(marker.find(Lines({"(SymList.4", ")"})), std::string::npos);
  EXPECT_NE(marker.find(Lines({"(AVStr.7", "\tS:\t\"ESRI Default Marker\"", ")"})), std::string::npos);
  const std::string tail =
      Lines({"(TClr.10", "\tName:\t\"Transparent\"", ")", "", "(NameDict.11", ")", "", "(NameDict.12", ")", ""});
  ASSERT_GE(marker.size(), tail.size());
  EXPECT_EQ(marker.substr(marker.size() - tail.size()), tail);
}

// Two colours and two keys: colour objects 11 and 12, symbols 13 and 15,
// classes 14 and 16, dictionaries 17 and 18; each symbol's colour is
// 11 + its key's index. The font name is written in code page 936.
TEST(LegendWriterTest, MarkerLegendNumbersObjectsAndColours) {
  const ColourList colours = {0x00FF0080, 0x00123456};
  const KeyList keys = {Key(1, 0, 0x00123456, 9.0f, 9.0f, 0.0f), Key(0, 1, 0x00FF0080, 9.0f, 9.0f, 30.0f)};
  const std::string expected = Lines({
      "/3.2",
      "(ODB.1", "\tFirstRootClassName:\t\"Legend\"", "\tRoots:\t2", "\tVersion:\t32", ")", "",
      "(Legend.2", "\tLegType:\t0x08", "\tClassType:\t0x03", "\tFieldNames:\t3", "\tSymbols:\t4",
          "\tClass:\t14", "\tClass:\t16", "\tStdDevs:\t1.0", "\tPrecision:\t-3", ")", "",
      "(AVStr.3", "\tS:\t\"VKT_LEGEND\"", ")", "",
      "(SymList.4", "\tChild:\t13", "\tChild:\t15", ")", "",
      "(NFont.5", "\tFamily:\t6", "\tName:\t7", "\tStyle:\t8", "\tMonoSpaced:\t1", "\tSerif:\t1", "\tWeight:\t1",
          "\tWideness:\t1", ")", "",
      "(AVStr.6", "\tS:\t\"\xCB\xCE\xCC\xE5\"", ")", "",
      "(AVStr.7", "\tS:\t\"\xCB\xCE\xCC\xE5\"", ")", "",
      "(AVStr.8", "\tS:\t\"Normal\"", ")", "",
      "(TClr.9", ")", "",
      "(TClr.10", "\tName:\t\"Transparent\"", ")", "",
      "(TClr.11", "\tRed:\t0x80ff", "\tGreen:\t0x00ff", "\tBlue:\t0xffff", ")", "",
      "(TClr.12", "\tRed:\t0x56ff", "\tGreen:\t0x34ff", "\tBlue:\t0x12ff", ")", "",
      "(BMkSym.13", "\tColor:\t12", "\tBgColor:\t10", "\tFont:\t5", "\tSize:\t25.51", "\tPattern:\t46",
          "\tAngle:\t0.00", ")", "",
      "(LClass.14", "\tLabel:\t\"00000012345600000000038403840000\"", "\tMinNum:\t00000012345600000000038403840000",
          "\tMaxNum:\t00000012345600000000038403840000", "\tPrecision:\t-3", ")", "",
      "(BMkSym.15", "\tColor:\t11", "\tBgColor:\t10", "\tFont:\t5", "\tSize:\t25.51", "\tPattern:\t46",
          "\tAngle:\t30.00", ")", "",
      "(LClass.16", "\tLabel:\t\"000100FF008000000000038403840BB8\"", "\tMinNum:\t000100FF008000000000038403840BB8",
          "\tMaxNum:\t000100FF008000000000038403840BB8", "\tPrecision:\t-3", ")", "",
      "(NameDict.17", ")", "",
      "(NameDict.18", ")", "",
  });
  EXPECT_EQ(LegendWriter::MarkerLegend(colours, keys, L"宋体"), expected);
}

TEST(LegendWriterTest, ShadeLegendWithOneKey) {
  std::string expected = EmptyLineLegend();
  auto replace = [&](const std::string& from, const std::string& to) {
    expected.replace(expected.find(from), from.size(), to);
  };
  replace("\tVersion:\t32", "\tVersion: 32");
  replace("\tSymType:\t0x01", "\tSymType:\t0x02");
  replace(Lines({"\tSymbols:\t4"}), Lines({"\tSymbols:\t4", "\tClass:\t9"}));
  replace(Lines({"(SymList.4"}), Lines({"(SymList.4", "\tChild:\t8"}));
  replace(Lines({"(NameDict.7", ")", "", "(NameDict.8", ")", ""}),
          Lines({"(TClr.7", "\tRed:\t0x00ff", "\tGreen:\t0xffff", "\tBlue:\t0x00ff", ")", "",
                 "(BShSym.8", "\tColor:\t7", "\tOutline:\t0.0", "\tOutlineColor:\t5", "\tBgColor:\t6", ")", "",
                 "(LClass.9", "\tLabel:\t\"00030000FF0000000000000000000000\"",
                     "\tMinNum:\t00030000FF0000000000000000000000", "\tMaxNum:\t00030000FF0000000000000000000000",
                     "\tPrecision:\t-3", ")", "",
                 "(NameDict.10", ")", "",
                 "(NameDict.11", ")", ""}));
  EXPECT_EQ(LegendWriter::ShadeLegend({0x0000FF00}, {Key(0, 3, 0x0000FF00, 0.0f, 0.0f, 0.0f)}), expected);
}

}  // namespace
