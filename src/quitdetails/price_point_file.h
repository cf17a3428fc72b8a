// pp.dat beside the executable: the price changes, read once at start and
// rewritten whole when the Edit Quit Details dialog changes them.
#pragma once
#include <span>
#include <string>

#include "formats/price_points.h"

// Full path of pp.dat; formed once at start-up.
extern std::string PricePointFilePath;
// Where a pp.dat not read whole is copied before it is first replaced: a name
// not taken when it was loaded (FreeBackupPath). Empty while there is nothing
// to copy: the file was read whole, or has been copied and replaced.
extern std::string PricePointBackupPath;

// Replaces PricePoints with the file's first 100 records, ordered by day; a
// missing, empty or unreadable file gives an empty list. A file that was not
// read whole (unreadable, or more than 100 records) is remembered: it is
// copied aside before it is first replaced, and the user is told once.
void LoadPricePoints();
// What the user is told, once, about a pp.dat that was not read whole; empty
// when there is nothing (more) to tell.
std::string TakePricePointNotice();

// Whether `rows` differ from PricePoints: only then is pp.dat rewritten.
bool PriceRowsChanged(std::span<const PricePoint> rows);

enum class PriceSave { Written, NotWritten, NotBackedUp };
// Rewrites pp.dat atomically with `rows` and replaces PricePoints with them,
// in the same order. Only the first 100 rows are kept, in the file and in the
// list. A file that was not read whole is first copied to
// PricePointBackupPath, and is not replaced when that copy fails. The list is
// replaced even when the file is not written (the previous file then stays
// whole).
PriceSave SavePricePoints(std::span<const PricePoint> rows);
