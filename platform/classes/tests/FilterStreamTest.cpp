// The filter file: a wrapper component whose one published property is the criteria object,
// the criteria's published properties flattened under "Filter." and the criteria data as the
// binary property "Filter.Criteria".
#include <gtest/gtest.h>

#include "platform/classes/Reader.h"
#include "platform/classes/Writer.h"
#include "platform/classes/tests/StreamBytes.h"
#include "platform/classes/tests/StreamFixtures.h"

namespace {

class FilterStreamTest : public ::testing::Test {
protected:
  void SetUp() override { StreamFixtures::Register(); }

  std::string Write(TFixtureCriteria& criteria)
  {
    TFilterWrapper wrapper(nullptr);
    wrapper.SetFilter(&criteria);
    TMemoryStream stream;
    Classes::WriteComponent(&stream, &wrapper);
    return StreamText(stream);
  }

  void Read(const std::string& bytes, TFixtureCriteria& criteria)
  {
    TFilterWrapper wrapper(nullptr);
    wrapper.SetFilter(&criteria);
    TMemoryStream stream;
    LoadStream(stream, bytes);
    Classes::ReadComponent(&stream, &wrapper);
  }

  static StreamBytes Header()
  {
    StreamBytes b;
    b.Text("TPF0").Str("TFilterWrapper").Str("");
    return b;
  }
};

// Root NOT OR with no children: -1, kind 3, count 0.
const std::string kNotOrData("\xFF\xFF\xFF\xFF\x03\x00\x00\x00\x00", 9);

TEST_F(FilterStreamTest, WritesNonDefaultPropertiesAndCriteriaByteForByte)
{
  TFixtureCriteria criteria;
  criteria.Options = {fcoCaseInsensitive, fcoSoftNull};
  criteria.PercentWildcard = '*';
  criteria.MaxValueListCount = 300;
  criteria.Active = true;
  criteria.Data.assign(kNotOrData.begin(), kNotOrData.end());

  StreamBytes expected = Header();
  expected.Str("Filter.MaxValueListCount").Raw({3, 0x2C, 0x01});
  expected.Str("Filter.Options").Raw({11}).Str("fcoCaseInsensitive").Str("fcoSoftNull").Str("");
  expected.Str("Filter.PercentWildcard").Raw({6}).Str("*");
  expected.Str("Filter.Active").Raw({9});
  expected.Str("Filter.Criteria").Raw({10}).Int32(9).Text(kNotOrData);
  expected.Raw({0, 0});

  EXPECT_EQ(Write(criteria), expected.Data());
}

TEST_F(FilterStreamTest, DefaultCriteriaWriteOnlyTheHeader)
{
  TFixtureCriteria criteria;
  StreamBytes expected = Header();
  expected.Raw({0, 0});
  EXPECT_EQ(Write(criteria), expected.Data());
}

TEST_F(FilterStreamTest, ReadsBackWhatWasWritten)
{
  TFixtureCriteria original;
  original.Options = {fcoSoftCompare};
  original.UnderscoreWildcard = '?';
  original.MaxValueListCount = -5;
  original.Active = true;
  original.Data.assign(kNotOrData.begin(), kNotOrData.end());
  std::string bytes = Write(original);

  TFixtureCriteria read;
  Read(bytes, read);
  EXPECT_EQ(read.Options, original.Options);
  EXPECT_EQ(read.UnderscoreWildcard, '?');
  EXPECT_EQ(read.PercentWildcard, '%');
  EXPECT_EQ(read.MaxValueListCount, -5);
  EXPECT_TRUE(read.Active);
  EXPECT_EQ(read.Data, original.Data);
}

// Each bad stream raises the reader's error with the classic text.
TEST_F(FilterStreamTest, BadStreamsRaiseTheClassicErrors)
{
  struct Case {
    const char* What;
    std::string Bytes;
    const char* Message;
  };
  auto body = [](std::initializer_list<int> value, const char* path) {
    StreamBytes b = Header();
    b.Str(path).Raw(value).Raw({0, 0});
    return b.Data();
  };
  const Case cases[] = {
      {"bad signature", "TPF1" + Header().Data().substr(4) + std::string(2, '\0'), "Invalid stream format"},
      {"empty stream", "", "Invalid stream format"},
      {"unknown property", body({9}, "Filter.Bogus"), "Property Filter.Bogus does not exist"},
      {"unknown object", body({9}, "Nothing.Active"), "Property Nothing.Active does not exist"},
      {"Boolean given an integer", body({2, 1}, "Filter.Active"), "Invalid property value"},
      {"char given two characters", body({6, 2, 'a', 'b'}, "Filter.PercentWildcard"), "Invalid property value"},
      {"unknown set element", body({11, 3, 'f', 'c', 'o', 0}, "Filter.Options"), "Invalid property value"},
      {"criteria not binary", body({2, 1}, "Filter.Criteria"), "Invalid property value"},
      {"binary longer than the stream", body({10, 0xFF, 0xFF, 0, 0}, "Filter.Criteria"), "Invalid stream format"},
      {"stream ends inside a value",
       Header().Data() + std::string("\x0D"
                                     "Filter.Active"),
       "Stream read error"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.What);
    TFixtureCriteria criteria;
    try {
      Read(c.Bytes, criteria);
      ADD_FAILURE() << "no error";
    } catch (const EReadError& e) {
      EXPECT_EQ(e.Message(), c.Message);
    }
  }
}

}  // namespace
