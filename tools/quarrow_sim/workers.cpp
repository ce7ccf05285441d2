#include "workers.h"

#ifndef __EMSCRIPTEN__
#include <fcntl.h>
#include <poll.h>
#include <sched.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <exception>
#include <vector>

namespace quarrow::runner {

namespace {

void PlayHere(std::int64_t runs, const PlayRun& play, const RunOutput& out,
              const volatile std::sig_atomic_t& stop) {
  for (std::int64_t run = 0; run < runs && stop == 0; ++run) {
    play(run, out);
  }
}

}  // namespace

#ifdef __EMSCRIPTEN__

int UsableCores() {
  return 1;
}

void PlayRuns(std::int64_t runs, int, const PlayRun& play, const RunOutput& out,
              const volatile std::sig_atomic_t& stop) {
  PlayHere(runs, play, out, stop);
}

#else

namespace {

// A worker's messages: a kind, the payload's length, the payload.
enum Kind : char { kTrace = 'T', kMatch = 'M', kRunEnd = 'E', kFailure = 'F' };
constexpr std::size_t kHeader = 1 + sizeof(std::uint32_t);
constexpr std::size_t kMatchSize = sizeof(std::int16_t) + sizeof(std::int64_t) + sizeof(CountRow);
// A worker's text is sent once this much has gathered; a worker ahead of the one whose run is
// due next is read until this much of it waits here, and then left to wait itself.
constexpr std::size_t kSendAt = 1 << 16;
constexpr std::size_t kAheadLimit = std::size_t{16} << 20;

void AppendMessage(std::string& out, Kind kind, std::string_view payload) {
  const auto size = static_cast<std::uint32_t>(payload.size());
  out += static_cast<char>(kind);
  out.append(reinterpret_cast<const char*>(&size), sizeof size);
  out += payload;
}

// Writes all of text, or ends the worker: a parent that stopped reading has no use for the rest.
void SendAll(int fd, std::string& text) {
  std::size_t done = 0;
  while (done < text.size()) {
    const ssize_t n = write(fd, text.data() + done, text.size() - done);
    if (n < 0 && errno == EINTR) {
      continue;
    }
    if (n <= 0) {
      _exit(1);
    }
    done += static_cast<std::size_t>(n);
  }
  text.clear();
}

[[noreturn]] void WorkerMain(int fd, std::int64_t first, std::int64_t runs, int jobs,
                             const PlayRun& play) {
  // Interrupts are the parent's to handle, and its files too: a closed pipe just ends a worker.
  // A worker whose parent is gone stops as well.
  std::signal(SIGINT, SIG_IGN);
  std::signal(SIGTERM, SIG_IGN);
  std::signal(SIGPIPE, SIG_DFL);
  prctl(PR_SET_PDEATHSIG, SIGKILL);
  sigset_t none;
  sigemptyset(&none);
  sigprocmask(SIG_SETMASK, &none, nullptr);
  std::string pending;
  const RunOutput out{
      [&](std::string_view text) {
        AppendMessage(pending, kTrace, text);
        if (pending.size() >= kSendAt) {
          SendAll(fd, pending);
        }
      },
      [&](const MatchResult& result, const CountRow& counts) {
        char payload[kMatchSize];
        std::memcpy(payload, &result.winner, sizeof result.winner);
        std::memcpy(payload + sizeof result.winner, &result.frames, sizeof result.frames);
        std::memcpy(payload + sizeof result.winner + sizeof result.frames, &counts, sizeof counts);
        AppendMessage(pending, kMatch, std::string_view(payload, sizeof payload));
        if (pending.size() >= kSendAt) {
          SendAll(fd, pending);
        }
      }};
  int status = 0;
  try {
    for (std::int64_t run = first; run < runs; run += jobs) {
      play(run, out);
      AppendMessage(pending, kRunEnd, {});
      SendAll(fd, pending);
    }
  } catch (const std::exception& e) {
    AppendMessage(pending, kFailure, std::string("failed: ") + e.what());
    status = 1;
  } catch (...) {
    AppendMessage(pending, kFailure, "failed");
    status = 1;
  }
  SendAll(fd, pending);
  _exit(status);
}

struct Worker {
  pid_t pid = -1;
  int fd = -1;
  std::string input;
  std::size_t consumed = 0;
  bool ended = false;  // no more input
};

std::string HowItEnded(int status) {
  if (WIFSIGNALED(status)) {
    return std::string("was killed by signal ") + std::to_string(WTERMSIG(status)) + " (" +
           strsignal(WTERMSIG(status)) + ")";
  }
  return "exited with status " + std::to_string(WEXITSTATUS(status));
}

// SIGINT and SIGTERM held back while the workers run, but for the wait for their input: one that
// comes between the check of the stop flag and the wait still ends the wait.
class InterruptsHeld {
 public:
  InterruptsHeld() {
    sigset_t interrupts;
    sigemptyset(&interrupts);
    sigaddset(&interrupts, SIGINT);
    sigaddset(&interrupts, SIGTERM);
    sigprocmask(SIG_BLOCK, &interrupts, &before_);
  }
  ~InterruptsHeld() { sigprocmask(SIG_SETMASK, &before_, nullptr); }
  InterruptsHeld(const InterruptsHeld&) = delete;
  InterruptsHeld& operator=(const InterruptsHeld&) = delete;
  // The mask to wait with.
  const sigset_t& Waiting() const { return before_; }

 private:
  sigset_t before_;
};

// The workers of one call; whatever way the call is left, none of them outlives it.
class Workers {
 public:
  std::vector<Worker> all;

  // Starts `jobs` workers, worker k playing runs k, k + jobs, ...
  void Start(int jobs, std::int64_t runs, const PlayRun& play);
  // The worker that plays run.
  Worker& Of(std::int64_t run) { return all[static_cast<std::size_t>(run % std::ssize(all))]; }
  // Hands head's messages to out up to the end of its run: true once that end has come, false
  // when more must be read first.
  bool DeliverRun(Worker& head, const RunOutput& out);
  // Waits for input from head, or from a worker ahead of it with room left, and reads it.
  void ReadMore(const Worker& head, const sigset_t& waiting);

  ~Workers() {
    for (Worker& w : all) {
      if (w.pid > 0) {
        kill(w.pid, SIGKILL);
        Reap(w);
      }
      if (w.fd >= 0) {
        close(w.fd);
      }
    }
  }

  // Waits for a worker whose input has ended; a failure becomes the call's.
  void Reap(Worker& w, bool check = false) {
    int status = 0;
    while (waitpid(w.pid, &status, 0) < 0 && errno == EINTR) {
    }
    w.pid = -1;
    if (check && !(WIFEXITED(status) && WEXITSTATUS(status) == 0)) {
      throw WorkerFailed{Name(w) + " " + HowItEnded(status)};
    }
  }

  std::string Name(const Worker& w) const {
    return "worker " + std::to_string(&w - all.data() + 1) + " of " + std::to_string(all.size());
  }

 private:
  std::vector<pollfd> polled_;
  std::vector<Worker*> polledWorkers_;
};

// Hands the next whole message of w to out; false when none is complete yet, true when it ends
// the run.
bool Deliver(Worker& w, const RunOutput& out, bool& runEnded, const Workers& workers) {
  const std::string_view input = std::string_view(w.input).substr(w.consumed);
  if (input.size() < kHeader) {
    return false;
  }
  std::uint32_t size = 0;
  std::memcpy(&size, input.data() + 1, sizeof size);
  if (input.size() < kHeader + size) {
    return false;
  }
  const std::string_view payload = input.substr(kHeader, size);
  switch (input[0]) {
    case kTrace:
      out.trace(payload);
      break;
    case kMatch: {
      MatchResult result;
      CountRow counts;
      std::memcpy(&result.winner, payload.data(), sizeof result.winner);
      std::memcpy(&result.frames, payload.data() + sizeof result.winner, sizeof result.frames);
      std::memcpy(&counts, payload.data() + sizeof result.winner + sizeof result.frames,
                  sizeof counts);
      out.match(result, counts);
      break;
    }
    case kRunEnd:
      runEnded = true;
      break;
    default:
      throw WorkerFailed{workers.Name(w) + " " + std::string(payload)};
  }
  w.consumed += kHeader + size;
  if (w.consumed > kSendAt && w.consumed * 2 > w.input.size()) {
    w.input.erase(0, w.consumed);
    w.consumed = 0;
  }
  return true;
}

// Reads what w has sent; false once it has no more to send.
bool ReadSome(Worker& w) {
  char buffer[1 << 16];
  const ssize_t n = read(w.fd, buffer, sizeof buffer);
  if (n < 0) {
    return errno == EINTR || errno == EAGAIN;
  }
  w.input.append(buffer, static_cast<std::size_t>(n));
  return n > 0;
}

void Workers::Start(int jobs, std::int64_t runs, const PlayRun& play) {
  all.resize(static_cast<std::size_t>(jobs));
  for (int k = 0; k < jobs; ++k) {
    int ends[2];
    if (pipe2(ends, O_CLOEXEC) != 0) {
      throw WorkerFailed{std::string("cannot start a worker: ") + std::strerror(errno)};
    }
    const pid_t pid = fork();
    if (pid < 0) {
      close(ends[0]);
      close(ends[1]);
      throw WorkerFailed{std::string("cannot start a worker: ") + std::strerror(errno)};
    }
    if (pid == 0) {
      for (const Worker& w : all) {
        if (w.fd >= 0) {
          close(w.fd);
        }
      }
      close(ends[0]);
      WorkerMain(ends[1], k, runs, jobs, play);
    }
    close(ends[1]);
    all[static_cast<std::size_t>(k)].pid = pid;
    all[static_cast<std::size_t>(k)].fd = ends[0];
  }
}

bool Workers::DeliverRun(Worker& head, const RunOutput& out) {
  bool runEnded = false;
  while (!runEnded && Deliver(head, out, runEnded, *this)) {
  }
  if (!runEnded && head.ended) {
    Reap(head, true);
    throw WorkerFailed{Name(head) + " ended before its last run"};
  }
  return runEnded;
}

void Workers::ReadMore(const Worker& head, const sigset_t& waiting) {
  polled_.clear();
  polledWorkers_.clear();
  for (Worker& w : all) {
    if (!w.ended && (&w == &head || w.input.size() - w.consumed < kAheadLimit)) {
      polled_.push_back({w.fd, POLLIN, 0});
      polledWorkers_.push_back(&w);
    }
  }
  if (ppoll(polled_.data(), polled_.size(), nullptr, &waiting) < 0) {
    if (errno == EINTR) {
      return;
    }
    throw WorkerFailed{std::string("cannot wait for the workers: ") + std::strerror(errno)};
  }
  for (std::size_t k = 0; k < polled_.size(); ++k) {
    Worker& w = *polledWorkers_[k];
    if (polled_[k].revents != 0 && !ReadSome(w)) {
      w.ended = true;
      // A worker that failed ahead of its turn fails the call now rather than at its turn.
      Reap(w, true);
    }
  }
}

}  // namespace

int UsableCores() {
  cpu_set_t cores;
  if (sched_getaffinity(0, sizeof cores, &cores) != 0) {
    return 1;
  }
  return std::max(1, CPU_COUNT(&cores));
}

void PlayRuns(std::int64_t runs, int jobs, const PlayRun& play, const RunOutput& out,
              const volatile std::sig_atomic_t& stop) {
  if (jobs <= 1 || runs <= 1) {
    PlayHere(runs, play, out, stop);
    return;
  }
  const InterruptsHeld held;
  Workers workers;
  workers.Start(static_cast<int>(std::min<std::int64_t>(jobs, runs)), runs, play);
  for (std::int64_t run = 0; run < runs && stop == 0;) {
    Worker& head = workers.Of(run);
    if (workers.DeliverRun(head, out)) {
      ++run;
    } else {
      workers.ReadMore(head, held.Waiting());
    }
  }
}

#endif

}  // namespace quarrow::runner
