// An unbound data controller with plain items, filled from a table of rows, and a recorder of
// the notifications it sends to its view.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "controls/data/DataModule.h"
#include "controls/data/controller/cxCustomData.h"

class TTestViewItem : public TObject {};

class ControllerTest : public ::testing::Test {
protected:
  // Items 0.. with the given value types.
  void MakeItems(std::vector<TcxValueTypeClass> ATypes)
  {
    DataModule::Initialize();
    for (auto t : ATypes) {
      Items.push_back(std::make_unique<TTestViewItem>());
      C->AddItem(Items.back().get());
      C->ChangeValueTypeClass(C->GetItemCount() - 1, t);
    }
  }
  // Appends rows of values inside one update lock.
  void Fill(const std::vector<std::vector<Variant>>& ARows)
  {
    C->BeginUpdate();
    for (const auto& row : ARows) {
      int r = C->AppendRecord();
      for (size_t i = 0; i < row.size(); ++i) C->SetValue(r, static_cast<int>(i), row[i]);
    }
    C->EndUpdate();
  }
  // The records of the rows, in row order (group rows as "g<record>").
  std::vector<int> RowRecords()
  {
    std::vector<int> result;
    for (int row = 0; row < C->GetRowCount(); ++row) result.push_back(C->GetRowInfo(row).RecordIndex);
    return result;
  }
  // Records the notifications the view receives, one short text each.
  void Record()
  {
    C->OnUpdateControl = [this](TcxUpdateControlInfo* AInfo) {
      if (auto* d = dynamic_cast<TcxDataChangedInfo*>(AInfo))
        Log.push_back("data " + std::to_string(d->Kind) + " " + std::to_string(d->ItemIndex) + " " +
                      std::to_string(d->RecordIndex));
      else if (dynamic_cast<TcxLayoutChangedInfo*>(AInfo))
        Log.push_back("layout");
      else if (auto* f = dynamic_cast<TcxFocusedRowChangedInfo*>(AInfo))
        Log.push_back("row " + std::to_string(f->PrevFocusedRowIndex) + ">" + std::to_string(f->FocusedRowIndex));
      else if (auto* r = dynamic_cast<TcxFocusedRecordChangedInfo*>(AInfo))
        Log.push_back("record " + std::to_string(r->PrevFocusedRecordIndex) + ">" +
                      std::to_string(r->FocusedRecordIndex));
      else if (dynamic_cast<TcxSelectionChangedInfo*>(AInfo))
        Log.push_back("selection");
      else if (dynamic_cast<TcxSearchChangedInfo*>(AInfo))
        Log.push_back("search");
      else if (dynamic_cast<TcxUpdateRecordInfo*>(AInfo))
        Log.push_back("update record");
      else
        Log.push_back("other");
    };
  }

  std::vector<std::unique_ptr<TTestViewItem>> Items;
  std::unique_ptr<TcxCustomDataController> C = std::make_unique<TcxCustomDataController>();
  std::vector<std::string> Log;
};
