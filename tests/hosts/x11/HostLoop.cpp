#include "tests/hosts/x11/HostLoop.h"

#include "tests/hosts/vst3/HostRunLoop.h"

#include <poll.h>

#include <algorithm>
#include <chrono>
#include <vector>

namespace orvane::x11host {

std::uint64_t HostLoop::nowMs() {
  using namespace std::chrono;
  return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

HostLoop::Id HostLoop::watch(int fd, std::function<void()> onReadable) {
  auto entry = std::make_shared<Entry>();
  entry->fd = fd;
  entry->callback = std::move(onReadable);
  entries[++lastId] = entry;
  return lastId;
}

HostLoop::Id HostLoop::addTimer(std::uint64_t intervalMs, std::function<void()> onTimer) {
  auto entry = std::make_shared<Entry>();
  entry->intervalMs = std::max<std::uint64_t>(intervalMs, 1) * stretch;
  entry->dueMs = nowMs() + entry->intervalMs;
  entry->callback = std::move(onTimer);
  entries[++lastId] = entry;
  return lastId;
}

bool HostLoop::remove(Id id) {
  return entries.erase(id) > 0;
}

size_t HostLoop::watchCount() const {
  return std::count_if(entries.begin(), entries.end(),
                       [](const auto& e) { return e.second->fd >= 0; });
}

size_t HostLoop::timerCount() const {
  return entries.size() - watchCount();
}

void HostLoop::run(std::uint64_t ms) {
  runUntil([] { return false; }, ms);
}

bool HostLoop::runUntil(const std::function<bool()>& done, std::uint64_t timeoutMs) {
  const std::uint64_t end = nowMs() + timeoutMs;
  for (;;) {
    if (done())
      return true;
    const std::uint64_t now = nowMs();
    if (now >= end)
      return false;
    dispatchOnce(end);
  }
}

void HostLoop::dispatchOnce(std::uint64_t untilMs) {
  std::vector<pollfd> fds;
  std::vector<std::pair<Id, std::shared_ptr<Entry>>> watched;
  std::uint64_t wakeMs = untilMs;
  for (const auto& [id, entry] : entries) {
    if (entry->fd >= 0) {
      fds.push_back({entry->fd, POLLIN, 0});
      watched.emplace_back(id, entry);
    } else {
      wakeMs = std::min(wakeMs, entry->dueMs);
    }
  }
  const std::uint64_t now = nowMs();
  const int timeout = wakeMs > now ? int(std::min<std::uint64_t>(wakeMs - now, 50)) : 0;
  const int ready = poll(fds.data(), fds.size(), timeout);

  // Bundles loaded by a test host read the host clock as their run loop's default clock:
  // keep it in step with real time.
  static std::uint64_t lastClock = nowMs();
  const std::uint64_t after = nowMs();
  if (after > lastClock) {
    testhost::advanceHostClock(after - lastClock);
    lastClock = after;
  }

  // A callback may remove any entry: each is checked for still being registered first.
  for (size_t i = 0; ready > 0 && i < fds.size(); ++i) {
    if (!(fds[i].revents & (POLLIN | POLLHUP | POLLERR)))
      continue;
    const auto it = entries.find(watched[i].first);
    if (it != entries.end() && it->second == watched[i].second) {
      auto entry = it->second;
      entry->callback();
    }
  }
  std::vector<std::pair<Id, std::shared_ptr<Entry>>> due;
  for (const auto& [id, entry] : entries)
    if (entry->fd < 0 && entry->dueMs <= after)
      due.emplace_back(id, entry);
  for (auto& [id, entry] : due) {
    const auto it = entries.find(id);
    if (it == entries.end() || it->second != entry)
      continue;
    // A late timer fires once and keeps its phase.
    while (entry->dueMs <= after)
      entry->dueMs += entry->intervalMs;
    entry->callback();
  }
}

} // namespace orvane::x11host
