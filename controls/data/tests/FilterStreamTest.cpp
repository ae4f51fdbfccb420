#include <gtest/gtest.h>

#include "controls/data/tests/Bytes.h"
#include "controls/data/tests/FilterFixture.h"
#include "platform/classes/Filer.h"
#include "platform/rtl/Streams.h"

namespace {

// Criteria of an owner that saves its filter: the data as "Criteria", and one more published
// property, as the data controller's criteria have.
class TStreamedCriteria : public TTestCriteria {
  PELTO_CLASS(TStreamedCriteria, TTestCriteria)
public:
  using TTestCriteria::TTestCriteria;
  bool Active = false;
  PELTO_PUBLISHED(p) { p.Property("Active", &TStreamedCriteria::Active, &TStreamedCriteria::Active).Default(false); }

protected:
  void DefineProperties(TFiler* Filer) override { DefineCriteriaData(Filer); }
  void ResetForLoading() override
  {
    TTestCriteria::ResetForLoading();
    Active = false;
  }
};

std::string ShortStr(const std::string& s) { return static_cast<char>(s.size()) + s; }

std::string Header() { return "TPF0" + ShortStr("TFilterWrapper") + ShortStr(""); }

class FilterStream : public ::testing::Test {
protected:
  void SetUp() override
  {
    C.OnChanged = [this](TObject*) { ++Notifications; };
  }
  std::string Saved(TcxFilterCriteria& criteria)
  {
    TStringStream s;
    criteria.SaveToStream(&s);
    return s.GetDataString();
  }
  void Load(const std::string& bytes)
  {
    TStringStream s(bytes);
    C.LoadFromStream(&s);
  }

  TStreamedCriteria C{{7, 8, 9, 10}};
  int Notifications = 0;
};

TEST_F(FilterStream, MalformedStreamsRaiseAndReleaseTheLock)
{
  struct Case {
    std::string bytes;
    const char* message;
  };
  const std::vector<Case> cases = {
      {"TPF1" + ShortStr("TFilterWrapper") + ShortStr("") + Bytes({0, 0}), "Invalid stream format"},
      {Header() + ShortStr("Filter.Bogus") + Bytes({2, 1, 0, 0}), "Property Filter.Bogus does not exist"},
      {Header() + ShortStr("Filter.MaxValueListCount") + Bytes({6, 1, 'x', 0, 0}), "Invalid property value"},
      {Header() + ShortStr("Filter.Criteria") + Bytes({10}) + Int32LE(9) + Int32LE(-1), nullptr},
      {Header() + ShortStr("Filter.Criteria") + Bytes({10}) + Int32LE(5) + Int32LE(-1) + Bytes({7, 0, 0}), nullptr},
      {Header() + ShortStr("Filter.Criteria") + Bytes({10}) + Int32LE(10) + Int32LE(-1) + Bytes({0}) + Int32LE(1) +
           Bytes({0}),
       nullptr},
      {Header(), nullptr},
  };
  for (const auto& c : cases) {
    Notifications = 0;
    try {
      Load(c.bytes);
      ADD_FAILURE() << testing::PrintToString(c.bytes);
    } catch (const EReadError& e) {
      if (c.message) {
        EXPECT_EQ(e.Message(), c.message);
      }
    }
    EXPECT_EQ(C.GetLockCount(), 0);
    EXPECT_LE(Notifications, 1);
  }
}

TEST_F(FilterStream, DefaultCriteriaWriteOnlyTheHeader)
{
  EXPECT_EQ(Saved(C), Header() + Bytes({0, 0}));
  C.GetRoot()->SetBoolOperatorKind(fbkNotOr);  // content without conditions
  EXPECT_EQ(Saved(C), Header() + ShortStr("Filter.Criteria") + Bytes({10}) + Int32LE(9) + Int32LE(-1) + Bytes({3}) +
                          Int32LE(0) + Bytes({0, 0}));
}

TEST_F(FilterStream, WritesTheFixtureAndReadsItBack)
{
  TStreamedCriteria source{{7, 8, 9, 10}};
  source.SetMaxValueListCount(300);
  source.SetOptions({fcoCaseInsensitive, fcoSoftNull});
  source.SetPercentWildcard('*');
  source.Active = true;
  source.AddItem(nullptr, source.A(), fokEqual, 5, "abc");
  const std::string data =
      Int32LE(-1) + Bytes({0}) + Int32LE(1) + Bytes({0, 0}) + Int32LE(3) + "abc" + Int32LE(7) + Bytes({2, 5});
  const std::string expected =
      Header() + ShortStr("Filter.MaxValueListCount") + Bytes({3, 0x2C, 0x01}) + ShortStr("Filter.Options") +
      Bytes({11}) + ShortStr("fcoCaseInsensitive") + ShortStr("fcoSoftNull") + ShortStr("") +
      ShortStr("Filter.PercentWildcard") + Bytes({6}) + ShortStr("*") + ShortStr("Filter.Active") + Bytes({9}) +
      ShortStr("Filter.Criteria") + Bytes({10}) + Int32LE(static_cast<int>(data.size())) + data + Bytes({0, 0});
  EXPECT_EQ(Saved(source), expected);

  C.SetUnderscoreWildcard('?');  // not in the stream: back to its default
  Notifications = 0;
  Load(expected);
  EXPECT_EQ(Notifications, 1);
  EXPECT_EQ(C.GetMaxValueListCount(), 300);
  EXPECT_TRUE(C.GetOptions() == TcxFilterCriteriaOptions({fcoCaseInsensitive, fcoSoftNull}));
  EXPECT_EQ(C.GetPercentWildcard(), '*');
  EXPECT_EQ(C.GetUnderscoreWildcard(), '_');
  EXPECT_TRUE(C.Active);
  EXPECT_EQ(C.GetFilterText(), "(A = 5)");
  EXPECT_EQ(Saved(C), expected);

  // A stream of default criteria empties the filter it is loaded into.
  Load(Header() + Bytes({0, 0}));
  EXPECT_TRUE(C.IsEmpty());
  EXPECT_TRUE(C.GetOptions().Empty());
  EXPECT_FALSE(C.Active);
  EXPECT_EQ(Notifications, 2);
}

}  // namespace
