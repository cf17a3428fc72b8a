#include "quitdetails/price_point_file.h"

#include <algorithm>

#include "util/text.h"
#include "win/file_io.h"

std::string PricePointFilePath;
std::string PricePointBackupPath;

namespace {
uint32_t RecordsInFile;  // of a file read whole
bool NoticeGiven;

PriceSave WritePricePoints(std::span<const PricePoint> rows) {
  if (PricePointFilePath.empty()) return PriceSave::NotWritten;
  if (!PricePointBackupPath.empty() && !CopyAside(PricePointFilePath, PricePointBackupPath))
    return PriceSave::NotBackedUp;
  if (!ReplaceFileAtomically(PricePointFilePath, EncodePricePoints(rows))) return PriceSave::NotWritten;
  PricePointBackupPath.clear();
  return PriceSave::Written;
}
}  // namespace

void LoadPricePoints() {
  PricePoints.count = 0;
  PricePointBackupPath.clear();
  NoticeGiven = false;
  RecordsInFile = 0;
  if (PricePointFilePath.empty()) return;
  std::vector<uint8_t> bytes;
  const FileRead read = ReadDataFile(PricePointFilePath, bytes);
  RecordsInFile = DecodePricePoints(bytes, PricePoints);
  // The file could not be read, or held more records than the list keeps.
  if (read == FileRead::Unread || RecordsInFile > PricePoints.count)
    PricePointBackupPath = FreeBackupPath(PricePointFilePath);
}

std::string TakePricePointNotice() {
  if (PricePointBackupPath.empty() || NoticeGiven) return {};
  NoticeGiven = true;
  const std::string what =
      RecordsInFile > PricePoints.count
          ? " holds " + FormatDecimal(static_cast<int32_t>(RecordsInFile)) + " price changes; only the first " +
                FormatDecimal(static_cast<int32_t>(PricePoints.count)) + " have been loaded."
          : " could not be read, so no price changes have been loaded.";
  return PricePointFilePath + what + " Before a change to the price changes is saved, the file is copied to " +
         PricePointBackupPath + ".";
}

bool PriceRowsChanged(std::span<const PricePoint> rows) {
  return !std::equal(rows.begin(), rows.end(), PricePoints.points.begin(), PricePoints.points.begin() + PricePoints.count,
                     [](const PricePoint& a, const PricePoint& b) { return a.Day == b.Day && a.Price == b.Price; });
}

PriceSave SavePricePoints(std::span<const PricePoint> rows) {
  const PriceSave result = WritePricePoints(rows);
  PricePoints.count = 0;
  for (const PricePoint& row : rows) {
    if (PricePoints.count == PricePointCapacity) break;
    PricePoints.points[PricePoints.count++] = row;
  }
  return result;
}
