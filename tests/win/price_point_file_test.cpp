// pp.dat through the Win32 file layer, in a temporary directory of the Wine prefix.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "formats/price_points.h"
#include "quitdetails/price_point_file.h"
#include "win/file_io.h"

namespace {
std::vector<uint8_t> FileBytes(const std::string& path) { return ReadWholeFile(path); }

void WriteRaw(const std::string& path, const std::vector<uint8_t>& bytes) {
  HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(file, INVALID_HANDLE_VALUE);
  DWORD written = 0;
  if (!bytes.empty()) WriteFile(file, bytes.data(), DWORD(bytes.size()), &written, nullptr);
  CloseHandle(file);
  ASSERT_EQ(written, bytes.size());
}

bool Exists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

class PricePointFile : public ::testing::Test {
 protected:
  void SetUp() override {
    char temp[MAX_PATH];
    ASSERT_GT(GetTempPathA(sizeof(temp), temp), 0u);
    dir = std::string(temp) + "fumora_pp_" + std::to_string(GetCurrentProcessId()) + "\\";
    CreateDirectoryA(dir.c_str(), nullptr);
    PricePointFilePath = dir + "pp.dat";
    Clean();
    PricePoints = {};
  }
  void TearDown() override {
    Clean();
    RemoveDirectoryA(dir.c_str());
    PricePointFilePath.clear();
    PricePoints = {};
  }
  void Clean() {
    SetFileAttributesA(PricePointFilePath.c_str(), FILE_ATTRIBUTE_NORMAL);
    DeleteFileA(PricePointFilePath.c_str());
    for (const char* backup : {".bak", ".2.bak", ".3.bak"}) DeleteFileA((PricePointFilePath + backup).c_str());
    RemoveDirectoryA((PricePointFilePath + ".tmp").c_str());
    DeleteFileA((PricePointFilePath + ".tmp").c_str());
  }
  void ExpectList(const std::vector<PricePoint>& rows) {
    ASSERT_EQ(PricePoints.count, rows.size());
    for (size_t i = 0; i < rows.size(); ++i) {
      EXPECT_EQ(PricePoints.points[i].Day, rows[i].Day) << i;
      EXPECT_EQ(PricePoints.points[i].Price, rows[i].Price) << i;
    }
  }
  std::string dir;
};
}  // namespace

TEST_F(PricePointFile, MissingFileGivesAnEmptyList) {
  PricePoints.count = 3;
  LoadPricePoints();
  EXPECT_EQ(PricePoints.count, 0u);
  EXPECT_FALSE(Exists(PricePointFilePath));  // loading creates nothing
}

TEST_F(PricePointFile, SaveAndLoadRoundTrip) {
  const std::vector<PricePoint> rows = {{2453000, 450}, {2453100, 475}, {2453200, 500}};
  EXPECT_EQ(SavePricePoints(rows), PriceSave::Written);
  ExpectList(rows);
  const std::vector<uint8_t> bytes = FileBytes(PricePointFilePath);
  ASSERT_EQ(bytes.size(), 24u);
  EXPECT_EQ(bytes, EncodePricePoints(rows));
  EXPECT_FALSE(Exists(PricePointFilePath + ".tmp"));

  PricePoints = {};
  LoadPricePoints();
  ExpectList(rows);
}

TEST_F(PricePointFile, NoRowsLeaveAnEmptyFile) {
  ASSERT_EQ(SavePricePoints(std::vector<PricePoint>{{1, 2}}), PriceSave::Written);
  EXPECT_EQ(SavePricePoints({}), PriceSave::Written);
  EXPECT_TRUE(Exists(PricePointFilePath));
  EXPECT_TRUE(FileBytes(PricePointFilePath).empty());
  EXPECT_EQ(PricePoints.count, 0u);
  PricePoints.count = 1;
  LoadPricePoints();
  EXPECT_EQ(PricePoints.count, 0u);
}

TEST_F(PricePointFile, ShortAndPartialFiles) {
  WriteRaw(PricePointFilePath, {1, 2, 3});
  LoadPricePoints();
  EXPECT_EQ(PricePoints.count, 0u);

  std::vector<uint8_t> twelve = EncodePricePoints(std::vector<PricePoint>{{2453000, 450}, {2453100, 475}});
  twelve.resize(12);
  WriteRaw(PricePointFilePath, twelve);
  LoadPricePoints();
  ExpectList({{2453000, 450}, {2453100, 0}});
}

// A file not read whole: more records than the list keeps, one held without
// sharing by another program at start-up, or one held open for writing (as
// a sync tool does), which is shared and so read whole. One not read whole is
// told once and copied to pp.dat.bak before it is replaced; while it cannot
// be copied it is not replaced.
TEST_F(PricePointFile, AFileNotReadWholeIsToldOnceAndCopiedAsideBeforeItIsReplaced) {
  std::vector<PricePoint> many;
  for (uint32_t i = 0; i < 130; ++i) many.push_back({2450000 + 129 - i, 100 + i});  // newest first
  const std::vector<uint8_t> manyBytes = EncodePricePoints(many);
  std::vector<uint8_t> big = manyBytes;
  big.insert(big.end(), manyBytes.begin(), manyBytes.begin() + 30 * 8);  // 100 + 30: EncodePricePoints keeps 100
  const std::vector<PricePoint> firstHundredByDay(many.rbegin() + 30, many.rend());
  const std::vector<PricePoint> few = {{2453000, 450}, {2452000, 300}};
  const std::vector<PricePoint> newRows = {{2454000, 600}};
  const struct {
    const char* what;
    std::vector<uint8_t> file;
    DWORD heldAccess, heldSharing;  // how another program holds it while it is loaded
    std::vector<PricePoint> loaded;
    std::string notice;  // after the path
  } cases[] = {
      {"130 records", big, 0, 0, firstHundredByDay,
       " holds 130 price changes; only the first 100 have been loaded."},
      {"held without sharing", EncodePricePoints(few), GENERIC_READ, 0, {},
       " could not be read, so no price changes have been loaded."},
      {"held open for writing", EncodePricePoints(few), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
       {few[1], few[0]}, ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    Clean();
    WriteRaw(PricePointFilePath, c.file);
    HANDLE held = c.heldAccess ? CreateFileA(PricePointFilePath.c_str(), c.heldAccess, c.heldSharing, nullptr,
                                            OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr)
                               : INVALID_HANDLE_VALUE;
    LoadPricePoints();
    if (held != INVALID_HANDLE_VALUE) CloseHandle(held);
    ExpectList(c.loaded);
    const std::string notice = c.notice.empty() ? "" : PricePointFilePath + c.notice +
        " Before a change to the price changes is saved, the file is copied to " + PricePointFilePath + ".bak.";
    EXPECT_EQ(TakePricePointNotice(), notice);
    EXPECT_EQ(TakePricePointNotice(), "") << "told once";
    if (notice.empty()) continue;

    // While it cannot be copied aside it stays as it is.
    held = CreateFileA(PricePointFilePath.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL,
                       nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    EXPECT_EQ(SavePricePoints(newRows), PriceSave::NotBackedUp);
    CloseHandle(held);
    EXPECT_EQ(FileBytes(PricePointFilePath), c.file);
    ExpectList(newRows);  // the run goes on with the new prices
    EXPECT_EQ(SavePricePoints(newRows), PriceSave::Written);
    EXPECT_EQ(FileBytes(PricePointFilePath + ".bak"), c.file);
    EXPECT_EQ(FileBytes(PricePointFilePath), EncodePricePoints(newRows));
  }
}

// Runs that each could not read pp.dat whole (more than 100 records) each
// copy it aside before replacing it, past the backups of the runs before,
// which keep what they hold; each tells the name of the one it writes.
TEST_F(PricePointFile, EachRunsBackupKeepsWhatItHolds) {
  const struct {
    uint32_t records;
    const char* backup;  // after the path
  } runs[] = {{101, ".bak"}, {102, ".2.bak"}, {150, ".3.bak"}};
  std::vector<std::vector<uint8_t>> files;
  for (const auto& run : runs) {
    SCOPED_TRACE(run.backup);
    std::vector<uint8_t> file;
    for (uint32_t i = 0; i < run.records; ++i)
      for (uint32_t field : {2450000 + i, run.records})
        for (int shift = 0; shift < 32; shift += 8) file.push_back(static_cast<uint8_t>(field >> shift));
    files.push_back(file);
    WriteRaw(PricePointFilePath, file);
    LoadPricePoints();
    EXPECT_EQ(TakePricePointNotice(), PricePointFilePath + " holds " + std::to_string(run.records) +
                                          " price changes; only the first 100 have been loaded. Before a change to "
                                          "the price changes is saved, the file is copied to " +
                                          PricePointFilePath + run.backup + ".");
    EXPECT_EQ(SavePricePoints(std::vector<PricePoint>{{2454000, 600}}), PriceSave::Written);
    for (size_t earlier = 0; earlier < files.size(); ++earlier)
      EXPECT_EQ(FileBytes(PricePointFilePath + runs[earlier].backup), files[earlier]) << runs[earlier].backup;
  }
}

TEST_F(PricePointFile, FailedSaveKeepsTheOldFileAndReplacesTheList) {
  const std::vector<PricePoint> old = {{2453000, 450}, {2453100, 475}};
  ASSERT_EQ(SavePricePoints(old), PriceSave::Written);
  const std::vector<uint8_t> before = FileBytes(PricePointFilePath);

  // A directory where the temporary file would go: the write cannot start.
  ASSERT_TRUE(CreateDirectoryA((PricePointFilePath + ".tmp").c_str(), nullptr));
  const std::vector<PricePoint> rows = {{2454000, 600}};
  EXPECT_EQ(SavePricePoints(rows), PriceSave::NotWritten);
  EXPECT_EQ(FileBytes(PricePointFilePath), before);
  ExpectList(rows);  // the run goes on with the new prices
  RemoveDirectoryA((PricePointFilePath + ".tmp").c_str());

  PricePoints = {};
  LoadPricePoints();
  ExpectList(old);
}

TEST_F(PricePointFile, TargetThatCannotBeReplacedStaysWhole) {
  const std::vector<PricePoint> old = {{2453000, 450}};
  ASSERT_EQ(SavePricePoints(old), PriceSave::Written);
  const std::vector<uint8_t> before = FileBytes(PricePointFilePath);
  // pp.dat held open without delete sharing: the move over it fails.
  HANDLE held = CreateFileA(PricePointFilePath.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                            OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(held, INVALID_HANDLE_VALUE);
  const std::vector<PricePoint> rows = {{2454000, 600}, {2454100, 700}};
  const PriceSave saved = SavePricePoints(rows);
  CloseHandle(held);
  EXPECT_EQ(saved, PriceSave::NotWritten);
  EXPECT_EQ(FileBytes(PricePointFilePath), before);
  EXPECT_FALSE(Exists(PricePointFilePath + ".tmp"));  // no leftover
  ExpectList(rows);
}

TEST_F(PricePointFile, UnsetPathChangesOnlyTheList) {
  PricePointFilePath.clear();
  const std::vector<PricePoint> rows = {{1, 2}};
  EXPECT_EQ(SavePricePoints(rows), PriceSave::NotWritten);
  ExpectList(rows);
  LoadPricePoints();
  EXPECT_EQ(PricePoints.count, 0u);
}
