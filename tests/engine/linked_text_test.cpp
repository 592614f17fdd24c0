// Linked text without a pointer: what is shown where, in which colour, and
// how the text wraps, scrolls and stops.
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "engine/linked_text.h"
#include "engine/text.h"
#include "engine/settings.h"

namespace {

class LinkedText : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetLinkHover();
    RecordGlyphs(&glyphs);
  }
  void TearDown() override { RecordGlyphs(nullptr); }

  // Lays the text out in large cells from column 1, row 2 (so that a pointer
  // at the top-left corner lies on nothing) and returns the rows as shown,
  // '.' for a cell without a glyph.
  std::vector<std::string> Show(const char* text, int right = 30, int bottom = 20, int firstLine = 0,
                                int rollLinks = 1) {
    glyphs.clear();
    DrawLinkedText(text, 4, 1, 2, right, bottom, firstLine, rollLinks, 1, 1);
    std::map<int, std::string> rows;
    for (const GlyphDraw& g : glyphs) {
      std::string& row = rows[g.y / 8];
      const size_t column = static_cast<size_t>(g.x / 8 - 1);
      if (row.size() <= column) row.resize(column + 1, '.');
      row[column] = static_cast<char>(g.c);
    }
    std::vector<std::string> out;
    for (auto& [row, s] : rows) {
      if (out.size() < static_cast<size_t>(row - 2)) out.resize(static_cast<size_t>(row - 2));
      out.push_back(s);
    }
    return out;
  }
  uint32_t ColourOf(char c) const {
    for (const GlyphDraw& g : glyphs)
      if (g.c == static_cast<unsigned char>(c)) return g.colour;
    return 0;
  }
  std::vector<GlyphDraw> glyphs;
};

TEST_F(LinkedText, RolledNumbersHideTheirIndex) {
  EXPECT_EQ(Show("Success (DC @15|07@)"), std::vector<std::string>{"Success.(DC.15)"});
  EXPECT_EQ(ColourOf('1'), kLinkColour);
  EXPECT_EQ(ColourOf('S'), 0xFFB1ACF4u);  // style 4
  EXPECT_EQ(ColourOf(')'), 0xFFB1ACF4u);
  // Without the roll-link flag the '|' and the index are shown.
  EXPECT_EQ(Show("Success (DC @15|07@)", 30, 20, 0, 0), std::vector<std::string>{"Success.(DC.15|07)"});
}

TEST_F(LinkedText, KeywordsShowCapitalisedWithBlankUnderscores) {
  EXPECT_EQ(Show("@MAIN_INDEX@"), std::vector<std::string>{"Main.Index"});
  EXPECT_EQ(ColourOf('M'), kLinkColour);
  // The '@' marks take no cell; the '_' keeps its cell.
  EXPECT_EQ(glyphs.size(), 9u);
  EXPECT_EQ(Show("x @AOOS@ @AOO@ @HP@ y"), std::vector<std::string>{"x.AOOs.AOO.HP.y"});
  EXPECT_EQ(Show("@MAGIC_MISSILE@, twice"), std::vector<std::string>{"Magic.Missile,.twice"});
  // Letters run on after a keyword keep their case.
  EXPECT_EQ(Show("@WEB@.\xA3Half-Elf\xA3 waits"), std::vector<std::string>{"Web.Half-Elf.waits"});
}

TEST_F(LinkedText, MarkedTermsAreGreen) {
  EXPECT_EQ(Show("The \xA3Goblin\xA3 hits."), std::vector<std::string>{"The.Goblin.hits."});
  EXPECT_EQ(ColourOf('G'), kMarkedColour);
  EXPECT_EQ(ColourOf('h'), 0xFFB1ACF4u);
}

TEST_F(LinkedText, WordsWrapToTheWidth) {
  // Width 10 (columns 1 to 10): a word that would pass the width starts a new
  // line; the word is measured with its delimiter.
  EXPECT_EQ(Show("alpha beta gamma delta", 10), (std::vector<std::string>{"alpha", "beta", "gamma", "delta"}));
  EXPECT_EQ(Show("AAAA BBBB CCCC", 9), (std::vector<std::string>{"AAAA", "BBBB.CCCC"}));
  EXPECT_EQ(Show("AAAA BBB CCCC", 9), (std::vector<std::string>{"AAAA.BBB", "CCCC"}));
  // A carriage return delimiter counts too.
  EXPECT_EQ(Show("AAAA BBBB\rC", 9), (std::vector<std::string>{"AAAA", "BBBB", "C"}));
  // A carriage return ends the line; two leave an empty line.
  EXPECT_EQ(Show("one\rtwo\r\rthree", 10), (std::vector<std::string>{"one", "two", "", "three"}));
  // A line feed returns to the first column of the same line.
  EXPECT_EQ(Show("abcdef\nXY", 10), (std::vector<std::string>{"XYcdef"}));
  // A word longer than the line goes on below.
  EXPECT_EQ(Show("abcdefghijklm", 5), (std::vector<std::string>{"abcde", "fghij", "klm"}));
  // Marks and hidden runs take no room when words are measured.
  EXPECT_EQ(Show("Save @15|07@ ok", 9), (std::vector<std::string>{"Save.15", "ok"}));
}

TEST_F(LinkedText, FirstLinePassesOverLinesAndTheBottomStops) {
  const char* text = "l1\rl2\rl3\rl4\rl5";
  EXPECT_EQ(Show(text, 10, 20, 2), (std::vector<std::string>{"l3", "l4", "l5"}));
  EXPECT_EQ(LinkedTextFirstShown, 6);
  EXPECT_EQ(LinkedTextOverflow, 1);
  // Rows 2 to 4: three lines fit, the rest is below.
  EXPECT_EQ(Show(text, 10, 4, 0), (std::vector<std::string>{"l1", "l2", "l3"}));
  EXPECT_EQ(LinkedTextOverflow, -1);
  EXPECT_EQ(Show(text, 10, 4, 2), (std::vector<std::string>{"l3", "l4", "l5"}));
  EXPECT_EQ(LinkedTextOverflow, 1);
  EXPECT_EQ(LinkedTextEndRow, 4);
  EXPECT_EQ(LinkedTextEndColumn, 3);
  // A layout pass draws nothing but measures the same.
  glyphs.clear();
  DrawLinkedText(text, 4, 1, 2, 10, 4, 1, 1, 1, 0);
  EXPECT_TRUE(glyphs.empty());
  EXPECT_EQ(LinkedTextOverflow, -1);
  // Marks opened on passed-over lines still count.
  EXPECT_EQ(Show("a \xA3long\rterm\xA3 b", 10, 20, 1), (std::vector<std::string>{"term.b"}));
  EXPECT_EQ(ColourOf('t'), kMarkedColour);
  EXPECT_EQ(ColourOf('b'), 0xFFB1ACF4u);
}

TEST_F(LinkedText, SmallCellsAreFiveBySix) {
  glyphs.clear();
  WindowSize = 1;  // the 640x480 fonts
  DrawLinkedText("ab cd", 0, 2, 3, 60, 33, 0, 1, 0, 1);
  ASSERT_EQ(glyphs.size(), 4u);
  EXPECT_EQ(glyphs[0].x, 10);
  EXPECT_EQ(glyphs[0].y, 18);
  EXPECT_EQ(glyphs[3].x, 30);
  EXPECT_EQ(glyphs[0].sheet, 62);
}

}  // namespace

namespace {

// A text is laid out once per change: drawn again, and counted (draw 0)
// before being drawn, it is not laid out again; a changed text, a changed
// place or a text in the same buffer that changed is.
TEST_F(LinkedText, IsLaidOutOncePerChange) {
  char text[64] = "A @LINK@ and \xA3Name\xA3 here.";
  const int before = LinkedTextLayoutsMade();
  DrawLinkedText(text, 4, 1, 2, 30, 20, 0, 1, 1, 0);
  const std::vector<std::string> shown = Show(text);
  EXPECT_EQ(LinkedTextLayoutsMade(), before + 1);
  EXPECT_EQ(Show(text), shown);
  EXPECT_EQ(LinkedTextLayoutsMade(), before + 1);

  text[0] = 'B';  // the same buffer, changed in place
  EXPECT_EQ(Show(text), std::vector<std::string>{"B.Link.and.Name.here."});
  EXPECT_EQ(LinkedTextLayoutsMade(), before + 2);
  Show(text, 10);  // another width wraps differently
  EXPECT_EQ(LinkedTextLayoutsMade(), before + 3);
  EXPECT_EQ(Show(text), std::vector<std::string>{"B.Link.and.Name.here."});
  EXPECT_EQ(LinkedTextLayoutsMade(), before + 3);
}

}  // namespace
