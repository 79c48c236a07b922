#pragma once
// How many cores one piece of work may spread over when several run side by side. A run
// that carries two pictures at once on two cores gains nothing when each picture's encoder
// splits again over both cores: the threads only take turns and thrash each other's caches.
// Work in flight holds a CoreShare for as long as it runs. An encoder that can use several
// threads asks coresPerJob() when it starts and again as it goes: when a neighbour finishes,
// its cores pass to the work still running (the last file of a drop no longer runs on the
// one core it was given while it had company).

namespace tavrino {

class CoreShare {
  public:
    CoreShare();
    ~CoreShare();
    CoreShare(CoreShare&& other) noexcept;
    CoreShare& operator=(CoreShare&& other) noexcept;
    CoreShare(const CoreShare&) = delete;
    CoreShare& operator=(const CoreShare&) = delete;

    // Gives the share back before the end of its lifetime (the work is done).
    void release();

  private:
    bool held_ = true;
};

// The usable cores divided among the shares held now, rounded up so that no core is left
// idle when they do not divide evenly (three jobs on eight cores take three threads each);
// at least 1, and all of them when none is held.
unsigned coresPerJob();

}  // namespace tavrino
