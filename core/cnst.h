// The captions of the user-defined fields, loaded from the settings store at start-up before any
// set exists: the contract fields S01 to S10, F01, F02, D01, D02 (keys 1001 to 1014) and the bid
// fields S01 to S06 (keys 1015 to 1020). An empty caption means the column's name stands in.
#pragma once

#include "platform/rtl/System.h"

namespace cnst {

inline constexpr int HtCaptionCount = 14;
inline constexpr int TbCaptionCount = 6;
extern AnsiString HtCaptions[HtCaptionCount];
extern AnsiString TbCaptions[TbCaptionCount];

// Reads the twenty captions, then qxProj::Decimals (key 102) and qxProj::UniqueHtCode (key 103)
// through qxProj::KeyValues; a missing key is created. Database errors pass to the caller.
void LoadOptions();
// The caption of a user column: Caption, or the column name when it is empty.
AnsiString ColumnLabel(const AnsiString& Caption, const char* Column);
// Empties the captions.
void Finalize();

}  // namespace cnst
