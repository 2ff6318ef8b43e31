#include "platform/ProfileFile.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <sys/stat.h>
#include <unistd.h>

namespace fs = std::filesystem;
using plat::ProfileFile;

namespace {

class ProfileFileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    FDir = fs::temp_directory_path() / ("vantrel-profile-" + std::to_string(::getpid()) + "-" +
                                        ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::create_directories(FDir);
    FPath = (FDir / "Vantrel.ini").string();
  }
  void TearDown() override {
    fs::permissions(FDir, fs::perms::owner_all, fs::perm_options::add);
    fs::remove_all(FDir);
  }
  void Put(const std::string& bytes) {
    std::ofstream(FPath, std::ios::binary) << bytes;
  }
  std::string Get() {
    std::ifstream in(FPath, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  }
  fs::path FDir;
  std::string FPath;
};

TEST(ProfileParse, IntegerRules) {
  EXPECT_EQ(ProfileFile::ParseInteger("0xFF"), 255);
  EXPECT_EQ(ProfileFile::ParseInteger("0X80ffff"), 0x80FFFF);
  EXPECT_EQ(ProfileFile::ParseInteger("$FF"), 255);
  EXPECT_EQ(ProfileFile::ParseInteger("$FFFFFFFF"), -1);
  EXPECT_EQ(ProfileFile::ParseInteger("-31"), -31);
  EXPECT_EQ(ProfileFile::ParseInteger("+7"), 7);
  EXPECT_EQ(ProfileFile::ParseInteger("2147483647"), 2147483647);
  EXPECT_EQ(ProfileFile::ParseInteger("-2147483648"), INT32_MIN);
  // Not numbers: these give the caller's default.
  for (const char* bad : {"", "0x", "$", "2147483648", "-2147483649", "99999999999999999999", "0x123456789",
                          "12a", "a12", "1.5", "+-3", "--3", "0xG1", " ", "$-1"})
    EXPECT_EQ(ProfileFile::ParseInteger(bad), std::nullopt) << bad;
}

TEST_F(ProfileFileTest, MissingFileGivesDefaultsAndSaveCreatesIt) {
  ProfileFile p(FPath);
  EXPECT_EQ(p.ReadInteger("Application", "Top", 17), 17);
  p.WriteInteger("Application", "Top", 5);
  p.WriteInteger("Application", "Left", -3);
  p.WriteInteger("Ruler", "Color", 8454143);
  p.WriteInteger("Application", "Magnification", 2);
  p.Save();
  EXPECT_EQ(Get(), "[Application]\r\nTop=5\r\nLeft=-3\r\nMagnification=2\r\n[Ruler]\r\nColor=8454143\r\n");
  ProfileFile again(FPath);
  EXPECT_EQ(again.ReadInteger("application", "LEFT", 0), -3);
}

TEST_F(ProfileFileTest, WritingKeepsOtherLinesAndKeyPositions) {
  Put("; my settings\r\n[Other]\r\nx=1\r\n\r\n[ruler]\r\nCOLOR=0xFF\r\nTickBig = 50\r\n\r\n[Tail]\r\ny=2\r\n");
  ProfileFile p(FPath);
  EXPECT_EQ(p.ReadInteger("Ruler", "Color", 0), 255);
  EXPECT_EQ(p.ReadInteger("Ruler", "TickBig", 0), 50);
  p.WriteInteger("Ruler", "Color", 255);   // existing key keeps its line
  p.WriteInteger("Ruler", "Large", 1);     // new key at the end of its section
  p.WriteInteger("Application", "Top", 9); // new section at the end of the file
  p.Save();
  EXPECT_EQ(Get(),
            "; my settings\r\n[Other]\r\nx=1\r\n\r\n[ruler]\r\nCOLOR=255\r\nTickBig = 50\r\nLarge=1\r\n\r\n"
            "[Tail]\r\ny=2\r\n[Application]\r\nTop=9\r\n");
}

TEST(ProfileParse, ASectionsKeysInOrderEachOnceAsReadStringReadsThem) {
  // Both parts of a section written twice count; a key's first line wins, whatever its case.
  const ProfileFile ini = ProfileFile::FromText(
      "/nonexistent", "[A]\r\nx=1\r\n; note\r\n[B]\r\ny=2\r\n[a]\r\nz = \"3\"\r\nX=4\r\n");
  using KV = std::vector<std::pair<std::string, std::string>>;
  EXPECT_EQ(ini.ReadSection("A"), (KV{{"x", "1"}, {"z", "3"}}));
  EXPECT_EQ(ini.ReadString("A", "X"), "1");
  EXPECT_TRUE(ini.ReadSection("C").empty());
}

TEST_F(ProfileFileTest, OddFilesReadWithoutHarm) {
  // BOM, LF-only line ends, no final newline, a NUL byte, a very long line, overflowing values.
  std::string text = "\xEF\xBB\xBF[Application]\nTop=12\nLeft=99999999999\nJunk=";
  text += std::string(200000, 'z');
  text += "\nNul=4";
  text.push_back('\0');
  text += "2\nLength=700";
  Put(text);
  ProfileFile p(FPath);
  EXPECT_EQ(p.ReadInteger("Application", "Top", 0), 12);
  EXPECT_EQ(p.ReadInteger("Application", "Left", 7), 7);
  EXPECT_EQ(p.ReadInteger("Application", "Nul", 3), 3);
  EXPECT_EQ(p.ReadInteger("Application", "Length", 640), 700);
  p.WriteInteger("Application", "Length", 640);
  p.Save();
  std::string out = Get();
  EXPECT_EQ(out.substr(0, 22), "[Application]\r\nTop=12\r");
  EXPECT_NE(out.find("Length=640\r\n"), std::string::npos);
  EXPECT_EQ(out.find('\n'), out.find("\r\n") + 1);  // every line now ends with CR LF
}

TEST_F(ProfileFileTest, FailedWriteKeepsTheOldFileAndSaysWhere) {
  Put("[Application]\r\nTop=1\r\n");
  ProfileFile p(FPath);
  p.WriteInteger("Application", "Top", 2);
  if (::geteuid() == 0) {
    // Root ignores permissions: make the target a folder's path that cannot be renamed over.
    ProfileFile blocked((FDir / "sub").string());
    fs::create_directories(FDir / "sub" / "x");
    blocked.WriteInteger("A", "B", 1);
    try {
      blocked.Save();
      FAIL() << "writing over a folder succeeded";
    } catch (const plat::ProfileWriteError& e) {
      EXPECT_EQ(std::string(e.what()), "Unable to write to " + (FDir / "sub").string());
    }
    EXPECT_TRUE(fs::is_directory(FDir / "sub" / "x"));
    EXPECT_FALSE(fs::exists((FDir / "sub").string() + ".tmp"));
  } else {
    fs::permissions(FDir, fs::perms::owner_write, fs::perm_options::remove);
    EXPECT_THROW(p.Save(), plat::ProfileWriteError);
    fs::permissions(FDir, fs::perms::owner_write, fs::perm_options::add);
    EXPECT_EQ(Get(), "[Application]\r\nTop=1\r\n");
  }
}

}  // namespace
