// pp.dat beside the executable: the price changes, read once at start and
// rewritten whole when the Edit Quit Details dialog is confirmed.
#pragma once
#include <span>
#include <string>

#include "formats/price_points.h"

// Full path of pp.dat; formed once at start-up.
extern std::string PricePointFilePath;

// Replaces PricePoints with the file's records (at most the first 100); a
// missing, empty or unreadable file gives an empty list.
void LoadPricePoints();

// Rewrites pp.dat atomically with `rows` and replaces PricePoints with them,
// in the same order. Only the first 100 rows are kept, in the file and in the
// list. The list is replaced even when the file cannot be written (the
// previous file then stays whole); the result says whether it was written.
bool SavePricePoints(std::span<const PricePoint> rows);
