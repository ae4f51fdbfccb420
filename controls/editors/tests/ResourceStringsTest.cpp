#include <gtest/gtest.h>

#include "controls/editors/EditorsModule.h"
#include "controls/editors/cxEditConsts.h"
#include "controls/editors/cxResourceStrings.h"
#include "platform/rtl/Exceptions.h"

namespace {

class ResourceStrings : public ::testing::Test {
protected:
  void SetUp() override { EditorsModule::Initialize(); }
  void TearDown() override { EditorsModule::Finalize(); }
};

TEST_F(ResourceStrings, UnregisteredIdIsAnError)
{
  EXPECT_THROW(cxResourceStrings::GetResourceString(1), EResNotFound);
  EXPECT_THROW(cxResourceStrings::SetResourceString(1, "x"), EResNotFound);
}

TEST_F(ResourceStrings, BuiltInTextsAreTheTable)
{
  using namespace cxEditConsts;
  const std::pair<int, const char*> cases[] = {
      {sDateConvertError, "Could not convert to date"},
      {sCheckBoxTrueShort, ""},
      {sCheckBoxFalseShort, ""},
      {sWordToday, "today"},
      {sWordNow, "now"},
      {sEditorMRU,
       "MRUEdit|Represents a text editor displaying the list of most recently used items (MRU) within a dropdown "
       "window"},
      {sRegExprIncorrectSpace, "The space character is not allowed after '\\'"},
      {sMaskEditInvalidNumericValue, "Invalid numeric value"},
  };
  for (const auto& [id, text] : cases) EXPECT_EQ(cxResourceStrings::GetResourceString(id), text) << id;
}

TEST_F(ResourceStrings, ReplacementShowsUntilRestoredAndSurvivesReinitialization)
{
  cxResourceStrings::SetResourceString(cxEditConsts::sWordToday, "heute");
  cxEditConsts::Initialize();
  EXPECT_EQ(cxResourceStrings::GetResourceString(cxEditConsts::sWordToday), "heute");
  cxResourceStrings::SetResourceString(cxEditConsts::sWordToday, "");
  EXPECT_EQ(cxResourceStrings::GetResourceString(cxEditConsts::sWordToday), "");
  cxResourceStrings::RestoreResourceString(cxEditConsts::sWordToday);
  EXPECT_EQ(cxResourceStrings::GetResourceString(cxEditConsts::sWordToday), "today");
}

}  // namespace
