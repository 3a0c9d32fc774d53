#include "plugin_scorer.h"

#include <future>

#include "tools/check/check_scoring.h"

PluginScorer::~PluginScorer() {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    stopping_ = true;
  }
  wake_.notify_all();
  if (thread_.joinable()) {
    thread_.join();
  }
}

bool PluginScorer::Start(const std::string& pluginPath, std::string& error) {
  thread_ = std::thread([this, pluginPath] { Run(pluginPath); });
  std::unique_lock<std::mutex> lock(mutex_);
  wake_.wait(lock, [this] { return openDone_; });
  error = openError_;
  return opened_;
}

void PluginScorer::Run(const std::string& pluginPath) {
  CheckScoring scoring;
  std::string error;
  const bool opened = scoring.Open(pluginPath, error);
  {
    std::lock_guard<std::mutex> lock(mutex_);
    opened_ = opened;
    openError_ = error;
    openDone_ = true;
    // A library that cannot be loaded takes no work: Score() answers at once.
    stopping_ = stopping_ || !opened;
  }
  wake_.notify_all();
  scorer_ = opened ? &scoring : nullptr;
  for (;;) {
    std::function<void()> job;
    {
      std::unique_lock<std::mutex> lock(mutex_);
      wake_.wait(lock, [this] { return stopping_ || !jobs_.empty(); });
      if (jobs_.empty()) {
        break;
      }
      job = std::move(jobs_.front());
      jobs_.pop_front();
    }
    job();
  }
  scorer_ = nullptr;
}

std::optional<tools::ScoreTable> PluginScorer::Score(const std::string& ownCall,
                                              const std::vector<HostContact>& contacts,
                                              COleDateTime first, COleDateTime last) {
  std::packaged_task<std::optional<tools::ScoreTable>()> task([&] {
    return scorer_ != nullptr ? scorer_->Score(ownCall, contacts, first, last)
                              : std::optional<tools::ScoreTable>();
  });
  std::future<std::optional<tools::ScoreTable>> result = task.get_future();
  {
    std::lock_guard<std::mutex> lock(mutex_);
    if (stopping_) {
      return std::nullopt;
    }
    jobs_.emplace_back([&task] { task(); });
  }
  wake_.notify_all();
  return result.get();
}
