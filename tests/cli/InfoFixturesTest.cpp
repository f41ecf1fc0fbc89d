// gridmoor info on files written here byte by byte: every attribute value
// type, and a network file with a deleted node and no node attributes.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include <map>
#include <string>
#include <vector>

#include "ByteBuilder.h"
#include "CliHarness.h"

using cli_testing::CliResult;
using cli_testing::Contains;
using cli_testing::LineStarting;
using cli_testing::RunGridmoor;
using cli_testing::ScratchDir;
using testing_support::ByteBuilder;

namespace {

using Bytes = std::vector<uint8_t>;

struct Field {
  std::string name;  // GBK bytes
  int8_t type;
  uint32_t offset;
  int16_t width;
  int16_t display;
};

// An attribute section: 348-byte head, 39-byte field definitions, then the
// record slots, slot 0 empty.
Bytes Attributes(const std::vector<Field>& fields, int32_t recordLength, const std::vector<Bytes>& records) {
  ByteBuilder b(348);
  const int32_t dataOffset = 348 + 39 * static_cast<int32_t>(fields.size());
  b.U8(0, 0x60).U8(1, 0x44).I32(12, dataOffset).U16(320, 0x4460);
  b.I16(322, static_cast<int16_t>(fields.size())).I32(324, static_cast<int32_t>(records.size()) + 1);
  b.I32(328, recordLength);
  for (size_t i = 0; i < fields.size(); ++i) {
    const size_t o = 348 + 39 * i;
    b.Grow(o + 39);
    b.Text(o, fields[i].name).Put<int8_t>(o + 20, fields[i].type).U32(o + 21, fields[i].offset);
    b.I16(o + 25, fields[i].width).I16(o + 27, fields[i].display);
  }
  size_t at = static_cast<size_t>(dataOffset + recordLength);
  for (Bytes r : records) {
    r.resize(static_cast<size_t>(recordLength), 0);
    b.Raw(at, r.data(), r.size());
    at += r.size();
  }
  b.Grow(at);
  return b.Bytes();
}

// A layer file: header with `magic` and `type`, element counts, a 16-entry
// directory at 657 and the sections laid out from 817.
Bytes Layer(const char* magic, int16_t type, const std::map<int, int32_t>& elements,
            const std::map<int, Bytes>& sections) {
  ByteBuilder b(817);
  b.Text(0, magic).I16(8, type).I32(12, 657).I32(16, 16);
  for (const auto& [i, v] : elements) b.I32(260 + 4 * static_cast<size_t>(i), v);
  size_t at = 817;
  for (const auto& [n, bytes] : sections) {
    b.U32(657 + 10 * static_cast<size_t>(n), static_cast<uint32_t>(at));
    b.U32(657 + 10 * static_cast<size_t>(n) + 4, static_cast<uint32_t>(bytes.size()));
    b.Raw(at, bytes.data(), bytes.size());
    at += bytes.size();
  }
  return b.Bytes();
}

// A table file with one field of every value type and two records.
Bytes EveryValueType() {
  const std::vector<Field> fields = {
      {"\xC3\xFB\xB3\xC6", 0, 0, 10, 10},  // 名称
      {"b", 1, 10, 1, 3},       {"s", 2, 11, 2, 6},   {"l", 3, 13, 4, 11},  {"f", 4, 17, 4, 8},
      {"d", 5, 21, 8, 15},      {"\xC8\xD5\xC6\xDA", 6, 29, 4, 10},  // 日期
      {"t", 7, 33, 10, 8},      {"ok", 8, 43, 1, 1},  {"txt", 9, 44, 8, 8}, {"bin", 11, 52, 4, 4},
      {"ts", 16, 56, 16, 20}};
  ByteBuilder r;
  r.Text(0, "  \xD6\xD0\xCE\xC4    ");  // "中文" between spaces
  r.U8(10, 200).I16(11, -2).I32(13, -123456).F32(17, 1.5f).F64(21, 3.25);
  r.I16(29, 2023).U8(31, 7).U8(32, 15);
  r.U8(33, 8).U8(34, 30).F64(35, 15.5);
  r.U8(43, 1);
  r.Text(44, "a\"b\n");
  r.U8(52, 1).U8(53, 2).U8(54, 3).U8(55, 4);
  r.I16(56, 2021).I16(58, 12).I16(60, 31).I16(62, 23).I16(64, 59).I16(66, 58).U32(68, 7);
  r.Grow(72);
  return Layer("WMAP`D28", 7, {}, {{0, Attributes(fields, 72, {r.Bytes(), Bytes(72, 0)})}});
}

// A network file with a line, a live and a deleted node, line attributes
// and no node attribute table.
Bytes NetworkWithDeletedNode() {
  ByteBuilder data;
  data.F64(0, 0.0).F64(8, 0.0).F64(16, 10.0).F64(24, 5.0);  // the line's run
  data.U8(32 + 0, 2).I32(32 + 44, 9).I16(32 + 52, 4);        // node parameters: kind, colour, layer
  data.Grow(32 + 94);

  ByteBuilder lines(2 * 57);
  lines.U8(57, 1).I32(57 + 10, 2).U32(57 + 14, 0).I16(57 + 22, 3).I32(57 + 26, 7).F32(57 + 30, 0.5f).I16(57 + 47, 2);

  ByteBuilder nodes(3 * 55);
  nodes.F64(55, 10.0).F64(55 + 8, 5.0).U8(55 + 24, 1).U32(55 + 30, 32);
  nodes.F64(110, 1.0).F64(110 + 8, 1.0).U8(110 + 24, 0).U32(110 + 30, 32);  // deleted node

  ByteBuilder id;
  id.I32(0, 42);
  return Layer("WMAP`D25", 4, {{0, 1}, {1, 2}, {2, 1}, {3, 3}},
               {{0, lines.Bytes()},
                {1, data.Bytes()},
                {2, Attributes({{"ID", 3, 0, 4, 8}}, 4, {id.Bytes()})},
                {3, Bytes(2 * 24, 0)},
                {4, nodes.Bytes()}});
}

}  // namespace

TEST(InfoFixtures, EveryAttributeValueTypePrintsInItsOwnForm) {
  ScratchDir dir;
  const CliResult result = RunGridmoor({"info", "--records", "5", dir.Write("值.WB", EveryValueType())});
  ASSERT_EQ(result.exitCode, 0) << result.err << result.out;
  EXPECT_EQ(LineStarting(result.out, "attribute table 7"), "attribute table 7 (table): 12 fields, 2 records");
  EXPECT_EQ(LineStarting(result.out, "field 6:"), "field 6: \"日期\", type 6 date, width 4, display 10, decimals 0");
  EXPECT_EQ(LineStarting(result.out, "field 10:"), "field 10: \"bin\", type 11 unsupported, width 4, display 4, decimals 0");
  EXPECT_TRUE(Contains(result.out,
                       "    record 0:\n"
                       "      名称: \"中文\"\n"
                       "      b: 200\n"
                       "      s: -2\n"
                       "      l: -123456\n"
                       "      f: 1.5\n"
                       "      d: 3.25\n"
                       "      日期: 2023-07-15\n"
                       "      t: 08:30:15.500\n"
                       "      ok: true\n"
                       "      txt: \"a\\\"b\\n\"\n"
                       "      bin: raw 01020304\n"
                       "      ts: 2021-12-31 23:59:58.7\n"
                       "    record 1:\n"
                       "      名称: \"\"\n"
                       "      b: 0\n"));
  EXPECT_EQ(LineStarting(result.out, "ok: false"), "ok: false");
  // Only the two records the table holds are listed.
  EXPECT_FALSE(Contains(result.out, "record 2:"));
}

TEST(InfoFixtures, NetworkNodesLinesAndAMissingNodeTable) {
  ScratchDir dir;
  const CliResult r = RunGridmoor({"info", "--records", "3", dir.Write("net.WN", NetworkWithDeletedNode())});
  // A table the file lacks is reported, not counted as a failed file.
  ASSERT_EQ(r.exitCode, 0) << r.err << r.out;
  EXPECT_EQ(LineStarting(r.out, "kind:"), "kind: 4 network file");
  EXPECT_EQ(LineStarting(r.out, "nodes:"), "nodes: 1 live in 2 slots, not compacted");
  EXPECT_EQ(LineStarting(r.out, "lines:"), "lines: 1 live in 1 slots");
  EXPECT_TRUE(Contains(r.out,
                       "  node records (first 2 of 2 slots):\n"
                       "    0: x 10.000000, y 5.000000, kind 2, colour 9, layer 4\n"
                       "    1: deleted\n"
                       "  line records (first 1 of 1 slots):\n"
                       "    0: vertices 2, line type 3, colour 7, width 0.5, layer 2\n"));
  EXPECT_TRUE(Contains(r.out, "  attribute table 0 (line attributes): 1 fields, 1 records\n"));
  EXPECT_TRUE(Contains(r.out, "    record 0:\n      ID: 42\n"));
  EXPECT_EQ(LineStarting(r.out, "attribute table 1"),
            "attribute table 1 (node attributes): status -9980 no such table or invalid field definitions");
  EXPECT_EQ(LineStarting(r.out, "0: offset"), "0: offset 817, length 114");
}

TEST(InfoFixtures, JsonHoldsTypedValuesAndStatuses) {
  ScratchDir dir;
  const CliResult r = RunGridmoor({"info", "--json", "--records", "3", dir.Write("值.WB", EveryValueType()),
                                   dir.Write("net.WN", NetworkWithDeletedNode())});
  ASSERT_EQ(r.exitCode, 0) << r.err << r.out;
  const nlohmann::json doc = nlohmann::json::parse(r.out);
  const nlohmann::json& table = doc["files"][0]["layer"]["attributeTables"][0];
  EXPECT_EQ(table["fields"][6]["name"], "日期");
  EXPECT_EQ(table["fields"][6]["type"]["name"], "date");
  // Numbers are numbers, texts are texts, a missing value would be null;
  // the unsupported kind gives its stored bytes.
  const nlohmann::json first = nlohmann::json::parse(
      R"(["中文", 200, -2, -123456, 1.5, 3.25, "2023-07-15", "08:30:15.500", true, "a\"b\n", "01020304",
          "2021-12-31 23:59:58.7"])");
  EXPECT_EQ(table["records"][0], first);
  EXPECT_EQ(table["records"][1][0], "");
  EXPECT_EQ(table["records"][1][8], false);

  const nlohmann::json& network = doc["files"][1]["layer"];
  EXPECT_EQ(network["counts"][0], nlohmann::json::parse(R"({"table": "nodes", "live": 1, "slots": 2,
                                                            "compacted": false})"));
  EXPECT_EQ(network["records"][0]["records"][1]["status"]["deleted"], true);
  EXPECT_EQ(network["records"][1]["records"][0]["width"], 0.5);
  EXPECT_EQ(network["attributeTables"][0]["records"][0][0], 42);
  EXPECT_EQ(network["attributeTables"][1]["status"]["code"], -9980);
  EXPECT_EQ(doc["summary"], nlohmann::json::parse(R"({"files": 2, "read": 2, "failed": 0})"));
}
