#include "quitdetails/price_point_file.h"

#include "win/file_io.h"

std::string PricePointFilePath;

void LoadPricePoints() {
  PricePoints.count = 0;
  if (PricePointFilePath.empty()) return;
  DecodePricePoints(ReadWholeFile(PricePointFilePath), PricePoints);
}

bool SavePricePoints(std::span<const PricePoint> rows) {
  const bool written = !PricePointFilePath.empty() && ReplaceFileAtomically(PricePointFilePath, EncodePricePoints(rows));
  PricePoints.count = 0;
  for (const PricePoint& row : rows) {
    if (PricePoints.count == PricePointCapacity) break;
    PricePoints.points[PricePoints.count++] = row;
  }
  return written;
}
