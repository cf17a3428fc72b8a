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
  EXPECT_TRUE(SavePricePoints(rows));
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
  ASSERT_TRUE(SavePricePoints(std::vector<PricePoint>{{1, 2}}));
  EXPECT_TRUE(SavePricePoints({}));
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

TEST_F(PricePointFile, OnlyTheFirstHundredAreKept) {
  std::vector<PricePoint> rows;
  for (uint32_t i = 0; i < 130; ++i) rows.push_back({2450000 + i, 100 + i});
  WriteRaw(PricePointFilePath, [&] {
    std::vector<uint8_t> bytes = EncodePricePoints(std::vector<PricePoint>(rows.begin(), rows.begin() + 100));
    std::vector<uint8_t> more = EncodePricePoints(std::vector<PricePoint>(rows.begin() + 100, rows.end()));
    bytes.insert(bytes.end(), more.begin(), more.end());
    return bytes;
  }());
  LoadPricePoints();
  ExpectList(std::vector<PricePoint>(rows.begin(), rows.begin() + 100));

  EXPECT_TRUE(SavePricePoints(rows));
  EXPECT_EQ(FileBytes(PricePointFilePath).size(), 800u);
  ExpectList(std::vector<PricePoint>(rows.begin(), rows.begin() + 100));
}

TEST_F(PricePointFile, FailedSaveKeepsTheOldFileAndReplacesTheList) {
  const std::vector<PricePoint> old = {{2453000, 450}, {2453100, 475}};
  ASSERT_TRUE(SavePricePoints(old));
  const std::vector<uint8_t> before = FileBytes(PricePointFilePath);

  // A directory where the temporary file would go: the write cannot start.
  ASSERT_TRUE(CreateDirectoryA((PricePointFilePath + ".tmp").c_str(), nullptr));
  const std::vector<PricePoint> rows = {{2454000, 600}};
  EXPECT_FALSE(SavePricePoints(rows));
  EXPECT_EQ(FileBytes(PricePointFilePath), before);
  ExpectList(rows);  // the run goes on with the new prices
  RemoveDirectoryA((PricePointFilePath + ".tmp").c_str());

  PricePoints = {};
  LoadPricePoints();
  ExpectList(old);
}

TEST_F(PricePointFile, TargetThatCannotBeReplacedStaysWhole) {
  const std::vector<PricePoint> old = {{2453000, 450}};
  ASSERT_TRUE(SavePricePoints(old));
  const std::vector<uint8_t> before = FileBytes(PricePointFilePath);
  // pp.dat held open without delete sharing: the move over it fails.
  HANDLE held = CreateFileA(PricePointFilePath.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                            OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(held, INVALID_HANDLE_VALUE);
  const std::vector<PricePoint> rows = {{2454000, 600}, {2454100, 700}};
  const bool written = SavePricePoints(rows);
  CloseHandle(held);
  EXPECT_FALSE(written);
  EXPECT_EQ(FileBytes(PricePointFilePath), before);
  EXPECT_FALSE(Exists(PricePointFilePath + ".tmp"));  // no leftover
  ExpectList(rows);
}

TEST_F(PricePointFile, UnsetPathChangesOnlyTheList) {
  PricePointFilePath.clear();
  const std::vector<PricePoint> rows = {{1, 2}};
  EXPECT_FALSE(SavePricePoints(rows));
  ExpectList(rows);
  LoadPricePoints();
  EXPECT_EQ(PricePoints.count, 0u);
}
