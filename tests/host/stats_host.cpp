// stats_host LIBRARY TRANSCRIPT [--window-checks]
//
// Loads the plug-in library as the host program does, checks its entry
// points, runs the shared pass in a folder of its own ("stats_host_work"
// beside the current one) and writes the transcript to TRANSCRIPT. With
// --window-checks it then drives the real windows. Last it unloads the
// library and checks that this returns promptly. Exit code: the number of
// failed checks (at most 100), 0 when all passed.
#include <cstdio>
#include <fstream>
#include <string>

#include "host_platform.h"
#include "host_scenario.h"

namespace {

int g_failures = 0;

void Check(bool ok, const std::string& what) {
  if (!ok) {
    ++g_failures;
    std::printf("FAIL: %s\n", what.c_str());
  }
}

template <typename Fn>
void Resolve(void* library, const EntryPointName& name, Fn& slot) {
  void* plain = FindEntryPoint(library, name.plain);
  Check(plain != nullptr, std::string("plain name exported: ") + name.plain);
  void* chosen = plain;
  if (ExportsDecoratedNames()) {
    void* decorated = FindEntryPoint(library, name.decorated);
    Check(decorated != nullptr, std::string("decorated name exported: ") + name.decorated);
    Check(decorated == plain, std::string("one function behind both names of ") + name.plain);
    // The host calls through the decorated names.
    chosen = decorated;
  }
  slot = reinterpret_cast<Fn>(chosen);
}

}  // namespace

int main(int argc, char** argv) {
  std::setvbuf(stdout, nullptr, _IONBF, 0);
  if (argc < 3) {
    std::printf("usage: stats_host LIBRARY TRANSCRIPT [--window-checks]\n");
    return 100;
  }
  const std::string libraryPath = LoaderPath(argv[1]);
  const std::string transcriptPath = LoaderPath(argv[2]);
  const bool windowChecks = argc > 3 && std::string(argv[3]) == "--window-checks";

  void* library = OpenLibrary(libraryPath);
  if (library == nullptr) {
    std::printf("FAIL: cannot load %s: %s\n", libraryPath.c_str(), LibraryError().c_str());
    return 100;
  }

  EntryPoints stats;
  Resolve(library, kEntryPointNames[0], stats.addData);
  Resolve(library, kEntryPointNames[1], stats.removeData);
  Resolve(library, kEntryPointNames[2], stats.checkCall);
  Resolve(library, kEntryPointNames[3], stats.getNumberOfSets);
  Resolve(library, kEntryPointNames[4], stats.getResult);
  Resolve(library, kEntryPointNames[5], stats.getSetName);
  Resolve(library, kEntryPointNames[6], stats.resetStats);
  Resolve(library, kEntryPointNames[7], stats.setupSet);
  Resolve(library, kEntryPointNames[8], stats.getExchgCount);
  Resolve(library, kEntryPointNames[9], stats.isValidExchg);
  if (g_failures != 0) {
    return g_failures;
  }

  MakeFolder("stats_host_work");
  Check(ChangeFolder("stats_host_work"), "enter stats_host_work");
  MakeFolder("Plugins");
  for (const char* f : {"err.txt", "Plugins/KOVA-BRAWLCUP.ini", "RTTY.log", "PSK .log", "HELL .log",
                        "MFSK .log", "MT63 .log", "THROB.log", "SSTV.log", "Q1HOST.sum"}) {
    RemoveFile(f);
  }

  const std::string transcript = RunPassTranscript(stats);
  {
    std::ofstream out(transcriptPath, std::ios::binary | std::ios::trunc);
    out << transcript;
    Check(static_cast<bool>(out), "write " + transcriptPath);
  }
  Check(stats.getNumberOfSets() == 1, "GetNumberOfSets gives 1");
  Check(std::string(stats.getSetName(0)) == "KOVA-BRAWLCUP", "GetSetName(0)");
  Check(transcript.find("(wrote into its buffers)") == std::string::npos,
        "CheckCall0 leaves its buffers alone");

  if (windowChecks) {
    g_failures += RunWindowChecks(stats);
  }

  const unsigned long before = MillisecondsNow();
  Check(CloseLibrary(library), "unload the library");
  const unsigned long took = MillisecondsNow() - before;
  std::printf("unload took %lu ms\n", took);
  Check(took < 2000, "unloading returns promptly");

  std::printf("stats_host: %s\n", g_failures == 0 ? "all checks passed" : "checks failed");
  return g_failures > 100 ? 100 : g_failures;
}
