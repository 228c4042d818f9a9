#include "settings/IniDocument.h"

#include <gtest/gtest.h>

namespace orve {
namespace {

QString Text(const IniDocument& doc) { return QString::fromUtf8(doc.Serialize()); }

IniDocument Doc(const char* text) { return IniDocument::Parse(QString::fromUtf8(text)); }

TEST(IniDocument, ReadsNamesInAnyLetterCase) {
  const auto doc = Doc("[CORE]\r\nBuff=512\r\n");
  EXPECT_EQ(doc.Value("core", "buff"), "512");
  EXPECT_EQ(doc.Value("Core", "BUFF"), "512");
  EXPECT_EQ(doc.Value("core", "splash"), std::nullopt);
  EXPECT_EQ(doc.Value("main", "buff"), std::nullopt);
}

TEST(IniDocument, WritesFollowTheRules) {
  struct Case {
    const char* name;
    const char* before;
    const char* section;
    const char* key;
    const char* value;
    const char* after;
  };
  const Case cases[] = {
      {"first write creates the text", "", "core", "buff", "1000", "[core]\r\nbuff=1000\r\n"},
      {"changed key replaced in place", "[a]\r\nx=1\r\ny=2\r\n", "a", "X", "9",
       "[a]\r\nx=9\r\ny=2\r\n"},
      {"new key at the end of its section", "[a]\r\nx=1\r\n\r\n[b]\r\nz=3\r\n", "A", "y", "2",
       "[a]\r\nx=1\r\ny=2\r\n\r\n[b]\r\nz=3\r\n"},
      {"new section at the end", "[a]\r\nx=1\r\n", "b", "k", "v", "[a]\r\nx=1\r\n[b]\r\nk=v\r\n"},
      {"comments and odd lines kept", "; my note\r\n[a]\r\n;x=old\r\njunk line\r\nx=1\r\n", "a", "x",
       "2", "; my note\r\n[a]\r\n;x=old\r\njunk line\r\nx=2\r\n"},
      {"blank spaced key keeps its spelling", "[a]\r\n  Key = 1\r\n", "a", "key", "5",
       "[a]\r\nKey=5\r\n"},
      {"line breaks in a value cannot make new keys", "", "a", "k", "x\r\n[evil]\ny=1",
       "[a]\r\nk=x  [evil] y=1\r\n"},
  };
  for (const auto& c : cases) {
    auto doc = Doc(c.before);
    doc.SetValue(QString::fromUtf8(c.section), QString::fromUtf8(c.key), QString::fromUtf8(c.value));
    EXPECT_EQ(Text(doc), QString::fromUtf8(c.after)) << c.name;
  }
}

TEST(IniDocument, LineEndsAndByteOrderAreAccepted) {
  for (const char* text : {"[a]\nx=1\ny=2\n", "[a]\rx=1\ry=2", "[a]\r\nx=1\ny=2\r"}) {
    const auto doc = Doc(text);
    EXPECT_EQ(doc.Value("a", "x"), "1") << text;
    EXPECT_EQ(doc.Value("a", "y"), "2") << text;
    EXPECT_EQ(Text(doc), "[a]\r\nx=1\r\ny=2\r\n") << text;
  }
}

TEST(IniDocument, EraseAndDelete) {
  auto doc = Doc("[a]\r\nx=1\r\n[b]\r\ny=2\r\nz=3\r\n[c]\r\nw=4\r\n");
  EXPECT_TRUE(doc.DeleteKey("B", "Y"));
  EXPECT_FALSE(doc.DeleteKey("b", "y"));
  EXPECT_TRUE(doc.EraseSection("A"));
  EXPECT_FALSE(doc.EraseSection("a"));
  EXPECT_EQ(Text(doc), "[b]\r\nz=3\r\n[c]\r\nw=4\r\n");
}

TEST(IniDocument, ListsInFileOrder) {
  const auto doc = Doc("top=1\r\n[Zeta]\r\nb=1\r\na=2\r\n; c=3\r\n[alpha]\r\n[ZETA]\r\nc=4\r\n");
  EXPECT_EQ(doc.Sections(), QStringList({"Zeta", "alpha"}));
  EXPECT_EQ(doc.Keys("zeta"), QStringList({"b", "a"}));  // the first [zeta] is the one used
  EXPECT_EQ(doc.Keys("none"), QStringList());
  EXPECT_TRUE(doc.SectionExists("zeta"));
  EXPECT_FALSE(doc.SectionExists("alpha"));  // a section without keys does not exist
  EXPECT_TRUE(doc.KeyExists("ZETA", "A"));
  EXPECT_FALSE(doc.KeyExists("zeta", "c"));
}

TEST(IniDocument, FirstOfTwoEqualKeysWins) {
  auto doc = Doc("[a]\r\nx=1\r\nX=2\r\n");
  EXPECT_EQ(doc.Value("a", "x"), "1");
  doc.SetValue("a", "x", "3");
  EXPECT_EQ(Text(doc), "[a]\r\nx=3\r\nX=2\r\n");
  EXPECT_TRUE(doc.DeleteKey("a", "x"));
  EXPECT_EQ(doc.Value("a", "x"), "2");
}

TEST(IniDocument, NamesThatLookLikeSyntax) {
  // Music-base keys are titles: "[Live] Song" is a key, not a section header.
  auto doc = Doc("[AC]DC]\r\n[Live] Song=/m/a.mp3\r\n#1 Hit=/m/b.mp3\r\n");
  EXPECT_EQ(doc.Sections(), QStringList({"AC]DC"}));
  EXPECT_EQ(doc.Value("ac]dc", "[live] song"), "/m/a.mp3");
  EXPECT_EQ(doc.Value("ac]dc", "#1 hit"), "/m/b.mp3");
  doc.SetValue("[x]", "[y]z", "1");
  const auto again = IniDocument::Parse(Text(doc));
  EXPECT_EQ(again.Value("[x]", "[y]z"), "1");
}

TEST(IniDocument, SerializeParseRoundTrip) {
  const char* text = "\r\n; c\r\n[s1]\r\na=1\r\n\r\n[s2]\r\n b = 2 \r\nno equals\r\n";
  const auto doc = Doc(text);
  EXPECT_EQ(Text(doc), QString::fromUtf8(text));
}

}  // namespace
}  // namespace orve
