// Fontconfig's answers kept between runs: given again while nothing fontconfig reads has
// changed, asked of fontconfig again once something has, and a damaged file is no answer.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "graphics/FontEngine.h"

using gfx::FontEngine;
namespace fs = std::filesystem;

TEST(FontMatchCache, AnswersComeBackUntilSomethingFontconfigReadsChanges) {
  // A home of our own: its fonts folder is one of the places the cache watches.
  const fs::path home = fs::temp_directory_path() / ("vantrel-fontcache-" + std::to_string(getpid()));
  fs::remove_all(home);
  fs::create_directories(home);
  const std::string oldHome = std::getenv("HOME") ? std::getenv("HOME") : "";
  setenv("HOME", home.c_str(), 1);
  const std::string cache = (home / "font-matches").string();

  // The independent answer: fontconfig itself, with no cache.
  FontEngine plain("");
  const std::string arial = plain.MatchFile("Arial"), courierBold = plain.MatchFile("Courier New", true);
  ASSERT_FALSE(arial.empty()) << "no scalable font for Arial (fonts-liberation)";
  ASSERT_NE(arial, courierBold);

  {
    FontEngine first(cache);
    EXPECT_EQ(first.MatchFile("Arial"), arial);
    EXPECT_TRUE(first.ConfigLoaded());
  }
  {
    FontEngine second(cache);
    EXPECT_EQ(second.MatchFile("arial"), arial);  // names are kept in lower case
    EXPECT_FALSE(second.ConfigLoaded());
    EXPECT_EQ(second.MatchFile("Courier New", true), courierBold);  // not asked for before
    EXPECT_TRUE(second.ConfigLoaded());
  }
  {
    FontEngine third(cache);
    EXPECT_EQ(third.MatchFile("Courier New", true), courierBold);
    EXPECT_EQ(third.MatchFile("Arial"), arial);
    EXPECT_FALSE(third.ConfigLoaded());
  }

  // Another version of our own matching rules (aliases, pattern) recorded them.
  {
    std::ifstream in(cache);
    std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    const std::size_t rules = text.find("rules\t");
    ASSERT_NE(rules, std::string::npos);
    text.insert(rules + 6, "0");
    std::ofstream(cache, std::ios::trunc) << text;
    FontEngine older(cache);
    EXPECT_EQ(older.MatchFile("Arial"), arial);
    EXPECT_TRUE(older.ConfigLoaded());
  }

  // The user's fonts folder appears: fontconfig could answer otherwise now.
  fs::create_directories(home / ".fonts");
  {
    FontEngine fourth(cache);
    EXPECT_EQ(fourth.MatchFile("Arial"), arial);
    EXPECT_TRUE(fourth.ConfigLoaded());
  }

  // Damaged files: answers without the stamps that check them, a cut line, no header.
  for (const char* text : {"vantrel font matches 1\nmatch\tarial\t0\t0\t/nowhere.ttf\t0\t0\t0\n",
                           "vantrel font matches 1\nenv\tHOME\n", "match\tarial\t0\t0\t/nowhere.ttf\t0\t0\t0\n"}) {
    std::ofstream(cache, std::ios::trunc) << text;
    FontEngine damaged(cache);
    EXPECT_EQ(damaged.MatchFile("Arial"), arial) << text;
    EXPECT_TRUE(damaged.ConfigLoaded()) << text;
  }

  setenv("HOME", oldHome.c_str(), 1);
  fs::remove_all(home);
}
