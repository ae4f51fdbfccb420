// Message boxes answered by the tests.
#pragma once

#include <gtest/gtest.h>

#include <vector>

#include "platform/rtl/MessageSeam.h"

// Answers message boxes from a list and records what was asked; a box of another kind than
// Type fails the test.
class TAnswers {
public:
  explicit TAnswers(std::vector<int> Answers, unsigned Type = MB_YESNOALL)
      : FAnswers(std::move(Answers)), FBox([this, Type](const AnsiString& Text, const AnsiString&, unsigned Flags) {
          Asked.push_back(Text);
          EXPECT_EQ(Flags & MB_TYPEMASK, Type);
          return FAnswers.at(Asked.size() - 1);
        })
  {}
  TAnswers(const TAnswers&) = delete;
  TAnswers& operator=(const TAnswers&) = delete;
  std::vector<AnsiString> Asked;

private:
  std::vector<int> FAnswers;
  MessageSeam::TScopedMessageBox FBox;
};
