// Start-up time: from starting a process to the first frame of the main window, in child
// processes on one X server (Xvfb, started here when no display is set), on a fresh program
// folder (the database is made) and on an existing one, beside a bare SDL2 program that presents
// one window. The login is answered inside this binary by a timer that confirms the dialog, as an
// operator pressing Enter would. Prints both times and their ratio.
#include <SDL.h>
#include <benchmark/benchmark.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "app/Modules.h"
#include "core/DBConfig.h"
#include "core/Startup.h"
#include "core/forms/DBConfigFrm.h"
#include "platform/forms/app/Application.h"
#include "platform/forms/app/Screen.h"
#include "platform/forms/app/Timer.h"
#include "platform/stdctrls/buttons/Button.h"
#include "platform/win/backend/SdlBackend.h"
#include "platform/win/paint/Painting.h"
#include "ui/AppWindows.h"
#include "ui/Login.h"
#include "ui/Main.h"

namespace {

// Seconds on the monotonic clock (<chrono> does not build with the 8-bit execution set).
double Now()
{
  timespec t;
  clock_gettime(CLOCK_MONOTONIC, &t);
  return double(t.tv_sec) + double(t.tv_nsec) / 1e9;
}

// The road's windows, with the login confirmed by a timer and the first frame reported on Fd.
class TBenchWindows : public TAppWindows {
public:
  explicit TBenchWindows(int AFd) : Fd(AFd) {}
  bool LoginAndOpenDesktop() override
  {
    TTimer confirm(nullptr);
    confirm.SetInterval(1);
    confirm.SetOnTimer([](TObject*) {
      for (int i = 0; i < Forms::Screen->GetCustomFormCount(); ++i)
        if (auto* login = dynamic_cast<TLoginFrm*>(Forms::Screen->GetCustomForms(i)))
          if (login->GetFormState().Contains(fsModal) && login->GetModalResult() == mrNone) login->OkBtn1->Click();
    });
    return TAppWindows::LoginAndOpenDesktop();
  }
  void ShowMainForm() override
  {
    TAppWindows::ShowMainForm();
    Forms::Application->ProcessMessages();
    Windows::UpdateWindow(MainForm()->GetHandle());
    char done = 1;
    if (write(Fd, &done, 1) != 1) _exit(4);
    _exit(0);
  }
  int Fd;
};

int RunProgram(int Fd, const std::string& Dir)
{
  std::string error;
  if (!SdlBackend::Start(&error)) return 3;
  AppModules::Initialize();
  TScopedFunction<DBConfig::TDialogFactory> dialog(DBConfig::DialogFactoryService(), &TDBConfigFrm::MakeDialog);
  MainWindow::ProgramDir = Dir.c_str();
  TBenchWindows windows(Fd);
  return Startup::Run(windows, Dir.c_str());
}

int RunBareSdl(int Fd)
{
  if (SDL_Init(SDL_INIT_VIDEO) != 0) return 3;
  SDL_Window* w = SDL_CreateWindow("bare", 0, 0, 1024, 768, SDL_WINDOW_SHOWN);
  SDL_Renderer* r = SDL_CreateRenderer(w, -1, 0);
  SDL_SetRenderDrawColor(r, 212, 208, 200, 255);
  SDL_RenderClear(r);
  SDL_RenderPresent(r);
  char done = 1;
  if (write(Fd, &done, 1) != 1) return 4;
  _exit(0);
}

// Seconds from fork to the child's first frame.
double TimeChild(bool Program, const std::string& Dir)
{
  int fds[2];
  if (pipe(fds) != 0) return -1;
  double start = Now();
  pid_t pid = fork();
  if (pid == 0) {
    close(fds[0]);
    _exit(Program ? RunProgram(fds[1], Dir) : RunBareSdl(fds[1]));
  }
  close(fds[1]);
  char done = 0;
  ssize_t n = read(fds[0], &done, 1);
  double seconds = Now() - start;
  close(fds[0]);
  int status = 0;
  waitpid(pid, &status, 0);
  return n == 1 ? seconds : -1;
}

double gProgram = 0, gBare = 0;

void Measure(benchmark::State& State, bool Program, bool Fresh)
{
  std::string dir = std::filesystem::temp_directory_path() / ("pelto_bench_" + std::to_string(getpid()));
  std::filesystem::create_directories(dir);
  if (Program && !Fresh) TimeChild(true, dir);  // make the database once
  double total = 0;
  for (auto _ : State) {
    if (Program && Fresh) {
      State.PauseTiming();
      std::filesystem::remove(dir + "/pelto.mdb");
      std::filesystem::remove(dir + "/cfg.ini");
      State.ResumeTiming();
    }
    double s = TimeChild(Program, dir);
    if (s < 0) {
      State.SkipWithError("the child did not reach its first frame");
      break;
    }
    State.SetIterationTime(s);
    total += s;
  }
  std::filesystem::remove_all(dir);
  double mean = State.iterations() ? total / double(State.iterations()) : 0;
  State.counters["ms"] = mean * 1000;
  if (Program && !Fresh) gProgram = mean;
  if (!Program) gBare = mean;
}

void BM_ProgramFreshDatabase(benchmark::State& S) { Measure(S, true, true); }
void BM_ProgramExistingDatabase(benchmark::State& S) { Measure(S, true, false); }
void BM_BareSdlWindow(benchmark::State& S) { Measure(S, false, false); }
BENCHMARK(BM_ProgramFreshDatabase)->UseManualTime()->Iterations(3)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ProgramExistingDatabase)->UseManualTime()->Iterations(5)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_BareSdlWindow)->UseManualTime()->Iterations(5)->Unit(benchmark::kMillisecond);

// An X server of our own when none is set; stopped at the end.
pid_t StartXvfb()
{
  if (std::getenv("DISPLAY")) return 0;
  int fds[2];
  if (pipe(fds) != 0) return 0;
  pid_t pid = fork();
  if (pid == 0) {
    close(fds[0]);
    std::string fd = std::to_string(fds[1]);
    execlp("Xvfb", "Xvfb", "-displayfd", fd.c_str(), "-screen", "0", "1024x768x24", "-nolisten", "tcp", nullptr);
    _exit(127);
  }
  close(fds[1]);
  char buf[16] = {};
  ssize_t n = read(fds[0], buf, sizeof buf - 1);
  close(fds[0]);
  if (n <= 0) return pid;
  std::string display = ":" + std::string(buf, size_t(n));
  while (!display.empty() && (display.back() == '\n' || display.back() == ' ')) display.pop_back();
  setenv("DISPLAY", display.c_str(), 1);
  setenv("SDL_VIDEODRIVER", "x11", 1);
  return pid;
}

}  // namespace

int main(int argc, char** argv)
{
  pid_t xvfb = StartXvfb();
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  if (gProgram > 0 && gBare > 0)
    std::printf("start to first frame: program %.1f ms, bare SDL2 window %.1f ms, ratio %.1f\n", gProgram * 1000,
                gBare * 1000, gProgram / gBare);
  if (xvfb > 0) {
    kill(xvfb, SIGTERM);
    waitpid(xvfb, nullptr, 0);
  }
  return 0;
}
