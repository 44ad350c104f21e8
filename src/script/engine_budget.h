#pragma once

#include <chrono>
#include <cstddef>

namespace korvane::script {

// What one engine heap may take: memory always, time while an evaluation runs. The heap is
// given this as its user data, which its allocator and its execution time-out check receive.
struct EngineBudget {
    static constexpr std::size_t kDefaultCapBytes = 64u * 1024u * 1024u;

    std::size_t capBytes = kDefaultCapBytes;
    std::size_t usedBytes = 0;
    // The engine throws at its next check once this has passed.
    std::chrono::steady_clock::time_point deadline = std::chrono::steady_clock::time_point::max();
};

// The heap's allocator: refuses what would take the heap past its cap.
void* BudgetAlloc(void* budget, std::size_t size);
void* BudgetRealloc(void* budget, void* block, std::size_t size);
void BudgetFree(void* budget, void* block);

}  // namespace korvane::script
