#include "gridkit/impexp/DBGridEhImportText.h"

#include "platform/db/DataSet.h"
#include "platform/db/Fields.h"
#include "platform/rtl/Streams.h"
#include "platform/rtl/StringList.h"

void TDBGridEhImportAsText::InputFromStream(TStream* Stream, bool IsImportAll)
{
  IgnoreAllErrors = false;
  TDBGridEhImport::InputFromStream(Stream, IsImportAll);
}

void TDBGridEhImportAsText::CheckState()
{
  // The zero byte ends the text: what follows it is the clipboard block's slack.
  if (AtEnd || InStream->Read(&AheadChar, 1) != 1 || AheadChar == 0) {
    AtEnd = true;
    AheadClass = ccEnd;
    return;
  }
  if (AheadChar == '\t')
    AheadClass = ccTab;
  else if (AheadChar == '\r') {
    char next;
    if (InStream->Read(&next, 1) != 1 || next != '\n')
      throw Exception("TDBGridEhImportAsText.CheckState: Invalid text format");
    AheadClass = ccLineEnd;
  } else
    AheadClass = ccChar;
}

void TDBGridEhImportAsText::ReadCellText()
{
  CellText.assign(1, AheadChar);
  for (CheckState(); AheadClass == ccChar; CheckState()) CellText += AheadChar;
  if (AheadClass == ccTab) CheckState();
}

void TDBGridEhImportAsText::InputRecord(const TColumnsEhList& Columns)
{
  if (AheadClass == ccEnd) return;
  std::size_t pos = 0;
  if (AheadClass == ccChar) {
    ReadCellText();
    if (!Columns.empty()) InputCell(Columns[0]);
    pos = 1;
  }
  while (AheadClass == ccChar || AheadClass == ccTab) {
    if (AheadClass == ccTab) {
      CellText.clear();
      CheckState();
    } else
      ReadCellText();
    if (pos < Columns.size()) InputCell(Columns[pos]);
    ++pos;
  }
  CheckState();
}

void TDBGridEhImportAsText::InputCell(TColumnEh* Column)
{
  if (!Column->CanEditValue(false)) return;
  TField* field = TargetField(Column);
  if (!StartEdit(field)) return;
  try {
    TField* shown = Column->GetField();
    if (shown->GetLookup()) {
      TDataSet* list = shown->GetLookupDataSet();
      if (list && list->Locate(shown->GetLookupResultField(), Variant(CellText), {loCaseInsensitive, loPartialKey}))
        field->SetValue(list->FieldByName(shown->GetLookupKeyFields())->GetValue());
    } else if (Column->GetPickList()->GetCount() > 0 && Column->GetKeyList()->GetCount() > 0) {
      Integer i = Column->GetPickList()->IndexOf(CellText);
      if (i < 0 || i >= Column->GetKeyList()->GetCount())
        field->Clear();
      else
        field->SetText(Column->GetKeyList()->GetStrings(i));
    } else
      field->SetText(CellText);
  } catch (const EAbort&) {
    throw;
  } catch (const Exception& e) {
    AskIgnoreError(e);
  }
}
