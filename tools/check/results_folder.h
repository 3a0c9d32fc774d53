// The --out folder of stats-check, published as one set: a run writes into a
// fresh folder beside it and switches over only when every file is written,
// so a reader of --out finds the whole last good run or the whole new one,
// never a mix, whether the run fails, is killed or the machine stops.
//
// Beside DIR lives ".DIR.stats-check/", which holds the runs' folders. On
// POSIX systems DIR (and DIR-private, for the reports the sponsor sends
// privately) is a symbolic link to the current run's folder, replaced in one
// rename; on Windows the folders themselves are renamed into place (readers
// may find DIR missing for that moment). The next run removes what an
// interrupted or replaced run left there. An existing DIR that is a real
// folder is taken over only when it holds nothing but files stats-check
// writes. Two runs never write the same DIR at once (the second is refused).
//
// Used from one thread.
#pragma once

#include <filesystem>
#include <memory>
#include <string>

class ResultsFolder {
 public:
  ResultsFolder();
  ~ResultsFolder();
  ResultsFolder(const ResultsFolder&) = delete;
  ResultsFolder& operator=(const ResultsFolder&) = delete;

  // Takes DIR for this run: locks it, removes old leftovers and makes the
  // fresh folders to write into. False, with a sentence in `error`, when DIR
  // cannot be used; nothing in DIR has changed then.
  bool Begin(const std::filesystem::path& dir, std::string& error);

  // Where this run writes: the public files, and the private ones.
  const std::filesystem::path& Public() const { return public_; }
  const std::filesystem::path& Private() const { return private_; }

  // Makes the written folders DIR and DIR-private (the latter only when it
  // holds a file) and removes the folders they replace. False, with a
  // sentence in `error`, when the switch failed; DIR is then unchanged.
  bool Publish(std::string& error);

  // The private folder's published path: DIR-private.
  std::filesystem::path PrivatePath() const;

 private:
  std::filesystem::path dir_;
  std::filesystem::path home_;  // .DIR.stats-check
  std::filesystem::path run_;
  std::filesystem::path public_;
  std::filesystem::path private_;
  struct Lock;
  std::unique_ptr<Lock> lock_;
};

// True when every entry of `folder` is a file or folder stats-check writes
// (results, verdicts, page, UBN lists, station pages, unfinished temporary
// files), so that taking it over loses nothing of anyone's.
bool HoldsOnlyResults(const std::filesystem::path& folder);
