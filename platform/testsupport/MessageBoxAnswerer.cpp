#include "platform/testsupport/MessageBoxAnswerer.h"

#include <utility>

TMessageBoxAnswerer::TMessageBoxAnswerer() : TMessageBoxAnswerer(std::vector<int>{}) {}

TMessageBoxAnswerer::TMessageBoxAnswerer(int Answer) : TMessageBoxAnswerer(std::vector<int>{}) { FFixed = Answer; }

TMessageBoxAnswerer::TMessageBoxAnswerer(std::vector<int> Answers)
    : FAnswers(std::move(Answers)), FScope([this](const AnsiString& Text, const AnsiString& Caption, unsigned Flags) {
        return Answer(Text, Caption, Flags);
      })
{}

int TMessageBoxAnswerer::Answer(const AnsiString& Text, const AnsiString& Caption, unsigned Flags)
{
  FBoxes.push_back({Text, Caption, Flags});
  if (FFixed) return FFixed;
  std::size_t i = FBoxes.size() - 1;
  return i < FAnswers.size() ? FAnswers[i] : MessageSeam::DefaultAnswer(Flags);
}

std::vector<AnsiString> TMessageBoxAnswerer::Texts() const
{
  std::vector<AnsiString> texts;
  for (const TBox& b : FBoxes) texts.push_back(b.Text);
  return texts;
}
