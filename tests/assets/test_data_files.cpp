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
    EXPECT_NE(report.str().find("all 49 files good"), std::string::npos) << report.str();
}

TEST_F(DataFolder, GenerationGivesTheSameBytesEveryTime) {
    fs::path again = testfiles::Area() / ("assets-again-" + std::to_string(::getpid()));
    ASSERT_TRUE(Generate(again));
    for (const DataFile& f : kDataFiles) {
        std::string rel = std::string(f.path).substr(2);
        EXPECT_EQ(Bytes(DataDir() / rel), Bytes(again / rel)) << f.path;
    }
    fs::remove_all(again);
}

TEST(DataManifest, NamesEachFileOnceWithTheWayTheGameLoadsIt) {
    std::set<std::string> paths;
    int models = 0, textures = 0, sounds = 0;
    for (const DataFile& f : kDataFiles) {
        EXPECT_TRUE(paths.insert(f.path).second) << f.path;
        EXPECT_EQ(FindDataFile(f.path), &f);
        if (f.kind == DataKind::Model) ++models;
        if (f.kind == DataKind::Sound) ++sounds;
        if (f.kind == DataKind::Texture) {
            ++textures;
            EXPECT_GT(f.width, 0) << f.path;
            EXPECT_GT(f.height, 0) << f.path;
            EXPECT_NE(f.colorKey, 0u) << f.path;
        }
    }
    EXPECT_EQ(models, 13);
    EXPECT_EQ(textures, 30);
    EXPECT_EQ(sounds, 6);
    EXPECT_EQ(FindDataFile("./bmp/nothing.bmp"), nullptr);
    EXPECT_EQ(FindDataFile("./bmp/背景.bm"), nullptr);
}

// A copy of the generated folder that a test may damage.
class DamagedFolder : public GeneratedData {
  protected:
    void SetUp() override {
        GeneratedData::SetUp();
        copy_ = testfiles::Area() / ("assets-damaged-" + std::to_string(::getpid()));
        fs::remove_all(copy_);
        fs::copy(DataDir(), copy_, fs::copy_options::recursive);
        platform::SetDataRoot(copy_.string());
    }
    void TearDown() override {
        GeneratedData::TearDown();
        fs::remove_all(copy_);
    }
    void Write(const char* gamePath, const std::string& text) {
        std::ofstream(platform::DataPath(gamePath), std::ios::binary | std::ios::trunc) << text;
    }
    fs::path copy_;
};

TEST_F(DamagedFolder, ReportsEachMissingOrUnreadableFileAndFails) {
    fs::remove(platform::DataPath("./bmp/壁.bmp"));
    Write("./xFile/パズル用図形７.x", "xof 0303bin 0032 not text");
    Write("./bgm/title.WAV", "RIFF1234WAVEfmt ");
    Write("./bmp/数字.bmp", "BM truncated");
    std::ostringstream report;
    EXPECT_EQ(CheckDataFiles(report), 1);
    std::string text = report.str();
    EXPECT_NE(text.find("missing: ./bmp/壁.bmp"), std::string::npos) << text;
    EXPECT_NE(text.find("unreadable: ./xFile/パズル用図形７.x"), std::string::npos) << text;
    EXPECT_NE(text.find("unreadable: ./bgm/title.WAV"), std::string::npos) << text;
    EXPECT_NE(text.find("unreadable: ./bmp/数字.bmp"), std::string::npos) << text;
    EXPECT_NE(text.find("4 of 49 files"), std::string::npos) << text;
    // One line per bad file and the summary: nothing about the good ones.
    EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 5) << text;
}

TEST_F(DamagedFolder, NotesAnOversizePictureAndAMissingModelTextureCounts) {
    // A replaced picture larger than its texture still loads (the game cuts it): only a note.
    fs::copy_file(platform::DataPath("./bmp/背景.bmp"), platform::DataPath("./bmp/数字.bmp"),
                  fs::copy_options::overwrite_existing);
    // A model whose material names a texture file that is not there.
    std::string model = "xof 0303txt 0032\nMesh m {\n3;\n0;0;0;,\n1;0;0;,\n0;1;0;;\n1;\n3;0,1,2;;\n"
                        "MeshMaterialList {\n1;\n1;\n0;\nMaterial {\n1;1;1;1;;\n1;\n0;0;0;;\n"
                        "0;0;0;;\nTextureFilename { \"./bmp/gone.bmp\"; }\n}\n}\n}\n";
    Write("./xFile/パズル用図形１.x", model);
    std::ostringstream report;
    EXPECT_EQ(CheckDataFiles(report), 1);
    std::string text = report.str();
    EXPECT_NE(text.find("note: ./bmp/数字.bmp"), std::string::npos) << text;
    EXPECT_NE(text.find("unreadable texture ./bmp/gone.bmp: ./xFile/パズル用図形１.x"),
              std::string::npos)
        << text;
    EXPECT_NE(text.find("1 of 49 files"), std::string::npos) << text;
}

} // namespace
} // namespace assets
