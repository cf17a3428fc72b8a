#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "formats/buddy_file.h"

namespace {
std::vector<uint8_t> Bytes(const std::string& text) { return {text.begin(), text.end()}; }
const std::string R = "\x1E", E = "\x1C";

std::string Describe(const DecodedBuddyFile& file) {
  std::string out;
  for (const BuddyRecord& b : file.records)
    out += std::to_string(b.date.wYear) + "-" + std::to_string(b.date.wMonth) + "-" + std::to_string(b.date.wDay) +
           " " + b.name + ";";
  return out + " skipped " + std::to_string(file.skipped) + " cut " + std::to_string(file.namesCut);
}
}  // namespace

TEST(BuddyFile, Decoding) {
  const std::string longName(300, 'n');
  const struct {
    std::string bytes, expected;
  } cases[] = {
      {"20020305Ann" + R + "19991231Bob" + R + E, "2002-3-5 Ann;1999-12-31 Bob; skipped 0 cut 0"},
      {E, " skipped 0 cut 0"},
      {"", " skipped 0 cut 0"},
      {"20020305" + R + E, "2002-3-5 ; skipped 0 cut 0"},
      // No end byte after a complete record: nothing is lost.
      {"20020305Ann" + R + "19991231Bob" + R, "2002-3-5 Ann;1999-12-31 Bob; skipped 0 cut 0"},
      // Cut short: the last record, or its date, has no separator.
      {"20020305Ann" + R + "19991231Bob", "2002-3-5 Ann; skipped 1 cut 0"},
      {"20020305Ann" + R + "1999", "2002-3-5 Ann; skipped 1 cut 0"},
      {"2002030", " skipped 1 cut 0"},
      // Bad dates between good records are skipped up to their separator.
      {"20020305Ann" + R + "2002O305Bad" + R + "19991231Bob" + R + E, "2002-3-5 Ann;1999-12-31 Bob; skipped 1 cut 0"},
      {"20020230Feb" + R + "09991231Old" + R + "20021301Mon" + R + "200203" + R + "20000229Leap" + R + E,
       "2000-2-29 Leap; skipped 4 cut 0"},
      {"19000229Ann" + R + "20040229Bob" + R + E, "2004-2-29 Bob; skipped 1 cut 0"},
      // Names: cut to 255 bytes, or at a zero byte; other bytes kept.
      {"20020305" + longName + R + E, "2002-3-5 " + std::string(255, 'n') + "; skipped 0 cut 1"},
      {"20020305A" + std::string(1, '\0') + "B" + R + E, "2002-3-5 A; skipped 0 cut 1"},
      {"20020305A\x1C" "B" + R + E, "2002-3-5 A\x1C" "B; skipped 0 cut 0"},
      // Whatever follows the end byte is not read, but counts.
      {"20020305Ann" + R + E + "19991231Bob" + R + E, "2002-3-5 Ann; skipped 1 cut 0"},
  };
  for (const auto& c : cases) EXPECT_EQ(Describe(DecodeBuddyFile(Bytes(c.bytes))), c.expected) << c.bytes;
}

TEST(BuddyFile, EncodingAndRoundTrip) {
  const std::vector<BuddyRecord> records = {{MakeDate(2002, 3, 5), "Ann"}, {MakeDate(1999, 12, 31), "Bob"}};
  const std::vector<uint8_t> bytes = EncodeBuddyFile(records);
  EXPECT_EQ(bytes, Bytes("20020305Ann" + R + "19991231Bob" + R + E));
  EXPECT_EQ(EncodeBuddyFile({}), Bytes(E));
  // Years below 1000 still take 8 digits; a separator in a name cannot
  // split the record; names are cut to 255 bytes.
  const std::vector<BuddyRecord> odd = {{MakeDate(999, 1, 2), "A" + R + "B"},
                                       {MakeDate(2010, 6, 7), std::string(300, 'x')}};
  EXPECT_EQ(EncodeBuddyFile(odd), Bytes("09990102AB" + R + "20100607" + std::string(255, 'x') + R + E));

  const std::string file = "20020305Ann" + R + "20040229" + R + "19500101A\x1C" "B " + R + "20991231" +
                           std::string(255, 'z') + R + E;
  const DecodedBuddyFile decoded = DecodeBuddyFile(Bytes(file));
  EXPECT_FALSE(decoded.Lossy());
  EXPECT_EQ(EncodeBuddyFile(decoded.records), Bytes(file));
}

TEST(BuddyFile, CleanNameRemovesControlCharacters) {
  EXPECT_EQ(CleanBuddyName("An\x1En\x1C\t\r\n"), "Ann");
  EXPECT_EQ(CleanBuddyName("  "), "  ");
  EXPECT_EQ(CleanBuddyName("\x01\x1F"), "");
  EXPECT_EQ(CleanBuddyName("Zo\xEB"), "Zo\xEB");
}
