// Runs independent pieces of work on both cores: the calling thread and, when
// there is more than one core, one more thread take the indexes 0..count-1 in
// turn. Each index runs once; the call returns when all have run or `stop`
// (checked before each index) is set.
#pragma once

#include <algorithm>
#include <atomic>
#include <functional>
#include <thread>
#include <vector>

namespace Parallel {

// The number of threads the work is spread over (at most two: the machines
// the editor runs on are small, and the disk is shared anyway).
inline int Threads()
{
    return std::clamp(int(std::thread::hardware_concurrency()), 1, 2);
}

// Returns the number of indexes that were started.
inline int For(int count, const std::function<void(int index)>& work, const std::atomic<bool>* stop = nullptr)
{
    std::atomic<int> next{0};
    auto run = [&] {
        for (;;) {
            if (stop && stop->load())
                return;
            const int i = next.fetch_add(1);
            if (i >= count)
                return;
            work(i);
        }
    };
    std::vector<std::thread> helpers;
    for (int t = 1; t < std::min(Threads(), count); ++t)
        helpers.emplace_back(run);
    run();
    for (std::thread& t : helpers)
        t.join();
    return std::min(next.load(), count);
}

} // namespace Parallel
