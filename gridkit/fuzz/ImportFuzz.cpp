// Any bytes pasted into a grid over an SQLite table (in /dev/shm, so it stays in memory): the
// first byte picks the reader (text or VCLDBIF), whole grid or current cell, and appending;
// the rest is the clipboard block. No crash and no leak; the only refusals are the readers'
// documented format errors. Cell errors are answered "All". Names are ASCII: the clang build
// that runs fuzz targets keeps literals in UTF-8, not in the code page the system works in.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "gridkit/impexp/DBGridEhImportText.h"
#include "gridkit/impexp/VCLDBIFEh.h"
#include "gridkit/tests/ImpExpGridStandIn.h"
#include "gridkit/tests/ScratchJetDb.h"
#include "platform/rtl/MessageSeam.h"
#include "platform/rtl/Streams.h"

namespace {

struct TTable : TScratchJetDb {
  TTable() : TScratchJetDb(::access("/dev/shm", W_OK) == 0 ? "/dev/shm" : "/tmp", "gridkit_import_fuzz")
  {
    Exec("create table T (Wen TEXT(20), Zheng INTEGER, Fu FLOAT, Ri DATETIME, Kuai BLOB)");
  }
  // Every question of the import is answered "all".
  MessageSeam::TScopedMessageBox AnswerAll{[](const AnsiString&, const AnsiString&, unsigned) { return IDALL; }};
};

TTable& Table()
{
  static TTable table;
  return table;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
  if (size == 0) return 0;
  TTable& t = Table();
  t.Exec("delete from T");
  t.Exec("insert into T values ('a', 1, 1.5, 45000, X'00')");
  t.Exec("insert into T values (NULL, NULL, NULL, NULL, NULL)");
  auto query = t.Query("select * from T");
  TADOQuery& q = *query;
  q.Open();
  {
    TImpExpGridStandIn grid(&q);
    for (const char* f : {"Wen", "Zheng", "Fu", "Ri", "Kuai"}) grid.Add(f);
    if (data[0] & 4) grid.Model.AllowedOperations = {alopUpdateEh};
    bool all = data[0] & 2;
    TStringStream in(AnsiString(reinterpret_cast<const char*>(data + 1), size - 1));
    try {
      if (data[0] & 1)
        DBGridEhImpExp::ImportGridFromStream<TDBGridEhImportAsText>(&grid, &in, all);
      else
        DBGridEhImpExp::ImportGridFromStream<TDBGridEhImportAsVCLDBIF>(&grid, &in, all);
      if (q.GetState() != dsBrowse) q.Post();
    } catch (const Exception& e) {
      if (e.Message() != "TDBGridEhImportAsVCLDBIF.ReadPrefix: Invalid VCLDBIF format" &&
          e.Message() != "TDBGridEhImportAsText.CheckState: Invalid text format")
        std::abort();
      if (q.GetState() != dsBrowse) q.Cancel();
    }
    if (q.ControlsDisabled()) std::abort();
  }
  return 0;
}
