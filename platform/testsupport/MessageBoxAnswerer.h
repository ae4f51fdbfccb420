// Answers the message boxes shown during its lifetime and keeps what they said: with the given
// answers in order (once they run out, each box's default button), or with one fixed answer, or
// with each box's default button. Puts the previous message-box service back when it goes.
#pragma once

#include <cstddef>
#include <vector>

#include "platform/rtl/MessageSeam.h"

class TMessageBoxAnswerer {
public:
  struct TBox {
    AnsiString Text;
    AnsiString Caption;
    unsigned Flags = 0;
  };

  // Each box's default button.
  TMessageBoxAnswerer();
  // Answer (IDOK ...) for every box.
  explicit TMessageBoxAnswerer(int Answer);
  // These answers in order, then the default buttons.
  explicit TMessageBoxAnswerer(std::vector<int> Answers);
  TMessageBoxAnswerer(const TMessageBoxAnswerer&) = delete;
  TMessageBoxAnswerer& operator=(const TMessageBoxAnswerer&) = delete;

  // The boxes shown so far, oldest first.
  const std::vector<TBox>& Boxes() const { return FBoxes; }
  // Their texts.
  std::vector<AnsiString> Texts() const;
  void Clear() { FBoxes.clear(); }

private:
  int Answer(const AnsiString& Text, const AnsiString& Caption, unsigned Flags);

  std::vector<int> FAnswers;
  int FFixed = 0;  // 0: the answers, then the default buttons
  std::vector<TBox> FBoxes;
  MessageSeam::TScopedMessageBox FScope;
};
