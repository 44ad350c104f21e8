#include "script/engine_budget.h"

#include <cstdlib>
#include <cstring>

#include "duktape.h"

namespace korvane::script {

namespace {

// Each block carries its size in front, so a reallocation or a free can settle the account.
constexpr std::size_t kHeader = alignof(std::max_align_t);

std::size_t BlockSize(void* block) {
    std::size_t size = 0;
    std::memcpy(&size, static_cast<char*>(block) - kHeader, sizeof size);
    return size;
}

void* Settle(EngineBudget& budget, void* raw, std::size_t size) {
    std::memcpy(raw, &size, sizeof size);
    budget.usedBytes += size;
    return static_cast<char*>(raw) + kHeader;
}

bool Fits(const EngineBudget& budget, std::size_t oldSize, std::size_t newSize) {
    const std::size_t others = budget.usedBytes - oldSize;
    return newSize <= budget.capBytes && others <= budget.capBytes - newSize;
}

}  // namespace

void* BudgetAlloc(void* udata, std::size_t size) {
    auto& budget = *static_cast<EngineBudget*>(udata);
    if (size == 0 || !Fits(budget, 0, size)) {
        return nullptr;
    }
    void* raw = std::malloc(kHeader + size);
    return raw == nullptr ? nullptr : Settle(budget, raw, size);
}

void* BudgetRealloc(void* udata, void* block, std::size_t size) {
    if (block == nullptr) {
        return BudgetAlloc(udata, size);
    }
    if (size == 0) {
        BudgetFree(udata, block);
        return nullptr;
    }
    auto& budget = *static_cast<EngineBudget*>(udata);
    const std::size_t oldSize = BlockSize(block);
    if (!Fits(budget, oldSize, size)) {
        return nullptr;
    }
    void* raw = std::realloc(static_cast<char*>(block) - kHeader, kHeader + size);
    if (raw == nullptr) {
        return nullptr;
    }
    budget.usedBytes -= oldSize;
    return Settle(budget, raw, size);
}

void BudgetFree(void* udata, void* block) {
    if (block == nullptr) {
        return;
    }
    auto& budget = *static_cast<EngineBudget*>(udata);
    budget.usedBytes -= BlockSize(block);
    std::free(static_cast<char*>(block) - kHeader);
}

}  // namespace korvane::script

// Named by the engine's configuration header; asked every few hundred thousand instructions.
extern "C" duk_bool_t korvane_duk_exec_timeout_check(void* udata) {
    const auto& budget = *static_cast<const korvane::script::EngineBudget*>(udata);
    return std::chrono::steady_clock::now() >= budget.deadline ? 1 : 0;
}
