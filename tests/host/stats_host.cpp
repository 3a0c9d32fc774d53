// stats_host LIBRARY TRANSCRIPT [--window-checks] [GoogleTest options]
//
// Loads the plug-in library as the host program does, checks its entry
// points, runs the shared pass in a folder of its own ("stats_host_work"
// beside the current one) and writes the transcript to TRANSCRIPT. With
// --window-checks it then drives the real windows. Last it unloads the
// library and checks that this returns promptly. One thread but for the
// operator threads of the window checks.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "host_platform.h"
#include "host_scenario.h"
#include "platform/dynamic_library.h"
#include "tools/common/entry_points.h"

namespace {

std::string g_libraryPath;
std::string g_transcriptPath;
bool g_windowChecks = false;

DynamicLibrary g_library;
PluginEntryPoints g_stats;

// Loads the library and works in a folder of its own; unloads last of all.
class LoadedLibrary : public ::testing::Environment {
 public:
  void SetUp() override {
    std::string error;
    ASSERT_TRUE(g_library.Open(g_libraryPath, error))
        << "cannot load " << g_libraryPath << ": " << error;
    std::filesystem::create_directory("stats_host_work");
    std::filesystem::current_path("stats_host_work");
    std::filesystem::create_directory("Plugins");
    for (const char* f :
         {"err.txt", "Plugins/KOVA-BRAWLCUP.ini", "RTTY.log", "PSK .log", "HELL .log", "MFSK .log",
          "MT63 .log", "THROB.log", "SSTV.log", "Q1HOST.sum"}) {
      std::remove(f);
    }
  }

  // No panel was ever started here (the pass finds "Start" at 1, the window
  // checks make report runs), so the stop routine has nothing to wait for and
  // unloading costs only the exit's short pause. The bound is generous: it
  // catches a wait for a panel that does not exist, not a slow machine.
  void TearDown() override {
    const auto before = std::chrono::steady_clock::now();
    EXPECT_TRUE(g_library.Close()) << "unload the library";
    const auto took = std::chrono::duration_cast<std::chrono::milliseconds>(
        std::chrono::steady_clock::now() - before);
    std::printf("unload with no panel ever started took %ld ms\n", static_cast<long>(took.count()));
    EXPECT_LT(took.count(), 1000) << "unloading with no panel returns after the short pause only";
  }
};

TEST(StatsHost, ExportsEveryEntryPointUnderTheNamesTheHostUses) {
  ForEachEntryPoint(g_stats, [](const char* plain, const char* decorated, auto& slot) {
    using Fn = std::remove_reference_t<decltype(slot)>;
    slot = g_library.Find<Fn>(plain);
    EXPECT_NE(nullptr, slot) << "plain name exported: " << plain;
    if (kLibraryExportsDecoratedNames) {
      const Fn viaDecorated = g_library.Find<Fn>(decorated);
      EXPECT_NE(nullptr, viaDecorated) << "decorated name exported: " << decorated;
      EXPECT_EQ(slot, viaDecorated) << "one function behind both names of " << plain;
      // The host calls through the decorated names.
      slot = viaDecorated;
    }
  });
}

TEST(StatsHost, PassTranscript) {
  bool complete = true;
  ForEachEntryPoint(g_stats, [&](const char*, const char*, auto& slot) {
    complete = complete && slot != nullptr;
  });
  ASSERT_TRUE(complete) << "the pass needs every entry point";
  const std::string transcript = RunPassTranscript(g_stats);
  {
    std::ofstream out(g_transcriptPath, std::ios::binary | std::ios::trunc);
    out << transcript;
    EXPECT_TRUE(static_cast<bool>(out)) << "write " << g_transcriptPath;
  }
  EXPECT_EQ(1, g_stats.getNumberOfSets());
  EXPECT_STREQ("KOVA-BRAWLCUP", g_stats.getSetName(0));
  EXPECT_EQ(std::string::npos, transcript.find("(wrote into its buffers)"))
      << "CheckCall0 leaves its buffers alone";
}

TEST(StatsHost, RealWindows) {
  if (!g_windowChecks) {
    GTEST_SKIP() << "asked for with --window-checks";
  }
  RunWindowChecks(g_stats);
}

}  // namespace

int main(int argc, char** argv) {
  std::setvbuf(stdout, nullptr, _IONBF, 0);
  ::testing::InitGoogleTest(&argc, argv);
  if (argc < 3) {
    std::printf("usage: stats_host LIBRARY TRANSCRIPT [--window-checks]\n");
    return 100;
  }
  g_libraryPath = LoaderPath(argv[1]);
  g_transcriptPath = LoaderPath(argv[2]);
  g_windowChecks = argc > 3 && std::string(argv[3]) == "--window-checks";
  ::testing::AddGlobalTestEnvironment(new LoadedLibrary);
  return RUN_ALL_TESTS();
}
