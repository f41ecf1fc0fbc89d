#pragma once
// Code page 936 as lookup tables, built once per process from the system's
// own converter, so that converting text costs a table look-up per
// character instead of a converter call per value.
#include <cstdint>

namespace MapGis::detail {

class GbkTables {
 public:
  // Marks a byte or a pair that is not a character.
  static constexpr uint32_t kNone = 0xFFFFFFFF;

  // The decoding tables, or null when they cannot stand for the system's
  // converter (none for code page 936, or a mapping the tables cannot
  // hold): callers then use the converter itself.
  static const GbkTables* Decoding();
  // The same with the encoding table built as well.
  static const GbkTables* Encoding();

  // The character of byte `b` on its own (ASCII and the euro sign), or kNone.
  uint32_t Single(uint8_t b) const { return single_[b]; }
  // The character of the pair `lead`, `trail`, or kNone.
  uint32_t Pair(uint8_t lead, uint8_t trail) const {
    if (lead < kFirstLead || lead > kLastLead || trail < kFirstTrail || trail > kLastTrail) return kNone;
    const uint16_t c = pairs_[lead - kFirstLead][trail - kFirstTrail];
    return c != 0 ? c : kNone;
  }
  // The code-page bytes of character `c` below 10000 hex as the system
  // encodes it: one byte (below 100 hex) or a lead and a trail byte
  // (lead << 8 | trail); 0 when the table does not know it (the caller
  // then asks the system's converter).
  uint16_t Encode(uint32_t c) const { return c < 0x10000 && encode_ ? encode_[c] : 0; }

  GbkTables(const GbkTables&) = delete;
  GbkTables& operator=(const GbkTables&) = delete;
  ~GbkTables();

 private:
  // Lead bytes of code page 936 lie in 81-FE hex, trail bytes in 40-FE.
  static constexpr uint8_t kFirstLead = 0x81, kLastLead = 0xFE;
  static constexpr uint8_t kFirstTrail = 0x40, kLastTrail = 0xFE;

  GbkTables() = default;
  static GbkTables& Instance();
  bool BuildDecoding();
  bool BuildEncoding();

  uint32_t single_[256] = {};
  uint16_t pairs_[kLastLead - kFirstLead + 1][kLastTrail - kFirstTrail + 1] = {};
  uint16_t* encode_ = nullptr;
};

}  // namespace MapGis::detail
