// A CUPS server for tests: destinations with their papers and margins, installed for the
// fixture's lifetime; the files it is asked to print are copied into Submitted (or refused
// with RefuseWith).
#pragma once

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "platform/rtl/FileUtils.h"
#include "platform/rtl/Service.h"
#include "platform/sys/WinSpool.h"

struct TFakeCupsState {
  struct TPrinter {
    WinSpool::TCupsDestination Destination;
    std::vector<WinSpool::TCupsMedia> Media;
    int DefaultMedia = -1;  // index into Media, -1 for none
  };
  struct TSubmission {
    AnsiString Printer, Title, Data;
    std::vector<std::pair<std::string, std::string>> Options;
  };
  std::vector<TPrinter> Printers;
  std::vector<TSubmission> Submitted;
  AnsiString RefuseWith;  // non-empty: every job is refused with this text

  const TPrinter* Find(const AnsiString& name) const
  {
    for (const TPrinter& p : Printers)
      if (p.Destination.Name == name) return &p;
    return nullptr;
  }
};

class TFakeCups {
public:
  TFakeCups() : FScope(WinSpool::CupsService(), std::make_unique<TClient>(FState)) {}
  TFakeCupsState& State() { return *FState; }
  // A printer whose papers are A4 and Letter with these margins (hundredths of a millimetre),
  // A4 its default.
  void AddOfficePrinter(const AnsiString& Name, int Left, int Bottom, int Right, int Top, bool IsDefault = true)
  {
    FState->Printers.push_back({{Name, IsDefault},
                                {{"iso_a4_210x297mm", 21000, 29700, Left, Bottom, Right, Top},
                                 {"na_letter_8.5x11in", 21590, 27940, Left, Bottom, Right, Top}},
                                0});
  }

private:
  class TClient : public WinSpool::TCupsClient {
  public:
    explicit TClient(std::shared_ptr<TFakeCupsState> AState) : FState(std::move(AState)) {}
    std::vector<WinSpool::TCupsDestination> Destinations() override
    {
      std::vector<WinSpool::TCupsDestination> out;
      for (const auto& p : FState->Printers) out.push_back(p.Destination);
      return out;
    }
    std::vector<WinSpool::TCupsMedia> Media(const AnsiString& Printer) override
    {
      const auto* p = FState->Find(Printer);
      return p ? p->Media : std::vector<WinSpool::TCupsMedia>();
    }
    bool DefaultMedia(const AnsiString& Printer, WinSpool::TCupsMedia& Out) override
    {
      const auto* p = FState->Find(Printer);
      if (!p || p->DefaultMedia < 0) return false;
      Out = p->Media[static_cast<size_t>(p->DefaultMedia)];
      return true;
    }
    int PrintFile(const AnsiString& Printer, const AnsiString& File, const AnsiString& Title,
                  const std::vector<std::pair<std::string, std::string>>& Options, AnsiString& Error) override
    {
      if (!FState->RefuseWith.empty()) {
        Error = FState->RefuseWith;
        return 0;
      }
      TFakeCupsState::TSubmission s{Printer, Title, AnsiString(), Options};
      SysUtils::LoadFileBytes(File, s.Data);
      FState->Submitted.push_back(std::move(s));
      return static_cast<int>(FState->Submitted.size());
    }

  private:
    std::shared_ptr<TFakeCupsState> FState;
  };
  std::shared_ptr<TFakeCupsState> FState = std::make_shared<TFakeCupsState>();
  TScopedService<WinSpool::TCupsClient> FScope;
};
