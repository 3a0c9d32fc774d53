// What the rest of the plug-in may ask of the mode switch panel and its thread.
//
// Start and Stop run on the host's thread and must not be called with the
// module lock held: stopping waits for the panel thread, which takes that lock
// for its reads.
#pragma once

class IPanelControl {
 public:
  virtual ~IPanelControl() = default;

  virtual bool IsRunning() const = 0;
  // Stops a running panel first, then starts a new panel thread.
  virtual void Start() = 0;
  // Closes the window and the panel and waits until the panel thread is done.
  virtual void Stop() = 0;
  // Re-arms the panel timer for 330 ms (a call check); nothing when no panel.
  virtual void Nudge() = 0;
};

class IPanelModule;

// The platform's panel, showing `module` (which must outlive it); the first
// call makes it and later calls return that one. Where there is no window
// system no panel ever runs.
IPanelControl& PlatformPanel(IPanelModule& module);

// A panel that never runs: where there is no window system, and in unit
// tests, whose folders a real panel would write settings into.
IPanelControl& NoPanelControl();
