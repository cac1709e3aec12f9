// The generated data folder as a whole: exactly the files the game reads, all loadable with the
// game's loaders, the same bytes on every run; and the data check's reports.
#include <gtest/gtest.h>

#include <set>
#include <sstream>

#include "generated_data.h"

namespace assets {
namespace {

class DataFolder : public GeneratedData {};

TEST_F(DataFolder, HoldsExactlyTheManifestAndAnEmptyRecordFolder) {
    std::set<std::string> expected, found;
    for (const DataFile& f : kDataFiles)
        expected.insert(fs::path(PathOf(f.path)).lexically_normal());
    for (const auto& entry : fs::recursive_directory_iterator(DataDir()))
        if (entry.is_regular_file() && entry.path().filename() != ".stamp")
            found.insert(entry.path().lexically_normal());
    EXPECT_EQ(found, expected);
    EXPECT_TRUE(fs::is_directory(DataDir() / "notepad"));
    EXPECT_TRUE(fs::is_empty(DataDir() / "notepad"));
}

TEST_F(DataFolder, EveryFileLoadsWithTheGamesLoaders) {
    std::ostringstream report;
    EXPECT_EQ(CheckDataFiles(report), 0) << report.str();
    EXPECT_NE(report.str().find("all 53 files good"), std::string::npos) << report.str();
}

TEST_F(DataFolder, GenerationGivesTheSameBytesEveryTime) {
    testfiles::DataDir again;
    ASSERT_TRUE(Generate(again.path()));
    for (const DataFile& f : kDataFiles) {
        std::string rel = std::string(f.path).substr(2);
        EXPECT_EQ(Bytes(DataDir() / rel), Bytes(again / rel)) << f.path;
    }
}

// Each file once, found by its path, every picture with its size and colour key; how many
// there are shows in the folder's contents and the data check's count.
TEST(DataManifest, NamesEachFileOnceWithTheWayTheGameLoadsIt) {
    std::set<std::string> paths;
    for (const DataFile& f : kDataFiles) {
        EXPECT_TRUE(paths.insert(f.path).second) << f.path;
        EXPECT_EQ(FindDataFile(f.path), &f);
        EXPECT_TRUE(f.kind != DataKind::Texture || (f.width > 0 && f.height > 0 && f.colorKey))
            << f.path;
    }
    EXPECT_EQ(FindDataFile("./bmp/背景.bm"), nullptr);
}

// A copy of the generated folder that a test may damage.
class DamagedFolder : public GeneratedData {
  protected:
    void SetUp() override {
        GeneratedData::SetUp();
        fs::copy(DataDir(), copy.path(), fs::copy_options::recursive);
        platform::SetDataRoot(copy.path().string());
    }
    testfiles::DataDir copy;
};

TEST_F(DamagedFolder, ReportsEachMissingOrUnreadableFileAndFails) {
    fs::remove(platform::DataPath("./bmp/壁.bmp"));
    copy.Put("./xFile/パズル用図形７.x", "xof 0303bin 0032 not text");
    copy.Put("./bgm/title.WAV", "RIFF1234WAVEfmt ");
    copy.Put("./bmp/数字.bmp", "BM truncated");
    std::ostringstream report;
    EXPECT_EQ(CheckDataFiles(report), 1);
    std::string text = report.str();
    for (const char* line :
         {"missing: ./bmp/壁.bmp", "unreadable: ./xFile/パズル用図形７.x",
          "unreadable: ./bgm/title.WAV", "unreadable: ./bmp/数字.bmp", "4 of 53 files"})
        EXPECT_NE(text.find(line), std::string::npos) << line << " in " << text;
    // One line per bad file and the summary: nothing about the good ones.
    EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 5) << text;
}

// At start-up a folder with missing files is named, with the way to list them.
TEST_F(DamagedFolder, StartupSaysWhichFolderLacksFilesAndHowToListThem) {
    EXPECT_EQ(ReportMissingDataFiles(), 0);
    fs::remove(platform::DataPath("./bmp/壁.bmp"));
    fs::remove(platform::DataPath("./bgm/title.WAV"));
    ::testing::internal::CaptureStderr();
    EXPECT_EQ(ReportMissingDataFiles(), 2);
    std::string said = ::testing::internal::GetCapturedStderr();
    const int files = static_cast<int>(std::size(kDataFiles));
    for (const std::string& part :
         {"2 of " + std::to_string(files), copy.path().string(), std::string("--check-data")})
        EXPECT_NE(said.find(part), std::string::npos) << part << " in " << said;

    platform::SetDataRoot((copy.path() / "none").string());
    ::testing::internal::CaptureStderr();
    EXPECT_EQ(ReportMissingDataFiles(), files);
    said = ::testing::internal::GetCapturedStderr();
    EXPECT_NE(said.find("no data folder"), std::string::npos) << said;
}

TEST_F(DamagedFolder, NotesAnOversizePictureAndAMissingModelTextureCounts) {
    // A replaced picture larger than its texture still loads (the game cuts it): only a note.
    fs::copy_file(platform::DataPath("./bmp/背景.bmp"), platform::DataPath("./bmp/数字.bmp"),
                  fs::copy_options::overwrite_existing);
    // A model whose material names a texture file that is not there.
    std::string model = "xof 0303txt 0032\nMesh m {\n3;\n0;0;0;,\n1;0;0;,\n0;1;0;;\n1;\n3;0,1,2;;\n"
                        "MeshMaterialList {\n1;\n1;\n0;\nMaterial {\n1;1;1;1;;\n1;\n0;0;0;;\n"
                        "0;0;0;;\nTextureFilename { \"./bmp/gone.bmp\"; }\n}\n}\n}\n";
    copy.Put("./xFile/パズル用図形１.x", model);
    std::ostringstream report;
    EXPECT_EQ(CheckDataFiles(report), 1);
    std::string text = report.str();
    for (const char* line : {"note: ./bmp/数字.bmp", "1 of 53 files",
                             "unreadable texture ./bmp/gone.bmp: ./xFile/パズル用図形１.x"})
        EXPECT_NE(text.find(line), std::string::npos) << line << " in " << text;
}

} // namespace
} // namespace assets
