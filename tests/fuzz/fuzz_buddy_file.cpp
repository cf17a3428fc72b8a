// anny.dat: DecodeBuddyFile on any file content, and EncodeBuddyFile of any
// buddies. Every record read has a real date and a name that the list can
// hold; what was read encodes and reads back the same; a file read without
// loss is exactly its own encoding (its end byte may be missing); and any
// buddies with real dates read back from their encoding, their names without
// the record separator and cut to the longest kept.
#include <algorithm>
#include <string>

#include "engine/calendar.h"
#include "formats/buddy_file.h"
#include "fuzz_support.h"

namespace {
void CheckSameRecords(const std::vector<BuddyRecord>& a, const std::vector<BuddyRecord>& b) {
  Check(a.size() == b.size());
  for (std::size_t i = 0; i < a.size(); ++i) {
    Check(a[i].name == b[i].name);
    Check(a[i].date.wYear == b[i].date.wYear && a[i].date.wMonth == b[i].date.wMonth &&
          a[i].date.wDay == b[i].date.wDay);
  }
}

void CheckReadsBack(const std::vector<BuddyRecord>& records) {
  const DecodedBuddyFile again = DecodeBuddyFile(EncodeBuddyFile(records));
  Check(!again.Lossy());
  CheckSameRecords(again.records, records);
}

// Buddies as the list holds them: real dates in 1000..9999, names without zeros.
std::vector<BuddyRecord> AnyBuddies(FuzzInput& in) {
  std::vector<BuddyRecord> buddies(in.Byte() % 8);
  for (BuddyRecord& buddy : buddies) {
    const uint16_t year = 1000 + in.U16() % 9000, month = 1 + in.Byte() % 12;
    buddy.date = MakeDate(year, month, static_cast<uint16_t>(1 + in.Byte() % DaysInMonth(year, month)));
    const std::size_t length = in.U16() % 300;
    for (std::size_t i = 0; i < length; ++i)
      if (const uint8_t c = in.Byte()) buddy.name.push_back(static_cast<char>(c));
  }
  return buddies;
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzInput in(data, size);
  const std::vector<uint8_t> file = FuzzInput(data, size).Rest();
  const DecodedBuddyFile decoded = DecodeBuddyFile(file);
  for (const BuddyRecord& buddy : decoded.records) {
    const SysTime& d = buddy.date;
    Check(d.wYear >= 1000 && d.wYear <= 9999 && d.wMonth >= 1 && d.wMonth <= 12 && d.wDay >= 1 &&
          d.wDay <= DaysInMonth(d.wYear, d.wMonth));
    Check(buddy.name.size() <= MaxBuddyNameBytes);
    Check(buddy.name.find('\0') == std::string::npos && buddy.name.find('\x1E') == std::string::npos);
  }
  CheckReadsBack(decoded.records);
  if (!decoded.Lossy()) {
    std::vector<uint8_t> whole = file;
    if (whole.empty() || whole.back() != BuddyFileEnd) whole.push_back(BuddyFileEnd);
    Check(EncodeBuddyFile(decoded.records) == whole);
  }

  std::vector<BuddyRecord> buddies = AnyBuddies(in);
  const std::vector<uint8_t> image = EncodeBuddyFile(buddies);
  Check(!image.empty() && image.back() == BuddyFileEnd);
  for (BuddyRecord& buddy : buddies) {
    std::erase(buddy.name, '\x1E');
    if (buddy.name.size() > MaxBuddyNameBytes) buddy.name.resize(MaxBuddyNameBytes);
  }
  CheckReadsBack(buddies);
  return 0;
}
