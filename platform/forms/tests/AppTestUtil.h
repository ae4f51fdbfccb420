// The fixture of the application-object tests: a fresh headless desktop with the application,
// screen and mouse objects, and the message seam answering every box while recording it.
#pragma once

#include <string>
#include <optional>
#include <vector>

#include <gtest/gtest.h>

#include "platform/rtl/MessageSeam.h"

struct ShownMessage {
  std::string Text, Caption;
  unsigned Flags;
};

class AppTest : public ::testing::Test {
protected:
  void SetUp() override;
  void TearDown() override;

  // The boxes shown through the seam since SetUp.
  std::vector<ShownMessage> Shown;

private:
  std::optional<MessageSeam::TScopedMessageBox> FBox;
};
