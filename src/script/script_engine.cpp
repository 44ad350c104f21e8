#include "script/script_engine.h"

#include <chrono>
#include <cstdlib>
#include <string>
#include <vector>

#include "duktape.h"
#include "script/engine_budget.h"
#include "script/engine_text.h"

namespace korvane::script {

namespace {

using Clock = std::chrono::steady_clock;

void FatalError(void*, const char*) {
    // Only reached for an error outside every protected call, which our calls never leave.
    std::abort();
}

// Sets the engine's deadline for the length of one call into it.
class DeadlineScope {
  public:
    DeadlineScope(EngineBudget& budget, int limitMs) : budget_(budget) {
        budget_.deadline = Clock::now() + std::chrono::milliseconds(limitMs);
    }
    ~DeadlineScope() { budget_.deadline = Clock::time_point::max(); }
    DeadlineScope(const DeadlineScope&) = delete;
    DeadlineScope& operator=(const DeadlineScope&) = delete;

  private:
    EngineBudget& budget_;
};

}  // namespace

// What one protected call does, in plain pointers: RunJob is left by the engine's longjmp when
// the script throws, so nothing in its frame may need a destructor.
struct ScriptEngine::Job {
    Action action;
    Want want;
    const char* code;
    std::size_t codeSize;
    const std::string* args;
    std::size_t argCount;
};

int ScriptEngine::RunJob(duk_context* ctx, void* udata) {
    const Job& job = *static_cast<const Job*>(udata);
    if (job.action == Action::CallGlobal) {
        duk_push_global_object(ctx);
        duk_get_prop_lstring(ctx, -1, job.code, job.codeSize);
        duk_remove(ctx, -2);
    } else {
        duk_eval_lstring(ctx, job.code, job.codeSize);
    }
    if (job.action != Action::Evaluate) {
        duk_require_stack(ctx, static_cast<duk_idx_t>(job.argCount));
        for (std::size_t i = 0; i < job.argCount; ++i) {
            duk_push_lstring(ctx, job.args[i].data(), job.args[i].size());
        }
        duk_call(ctx, static_cast<duk_idx_t>(job.argCount));
    }
    switch (job.want) {
        case Want::Text:
            if (duk_is_null_or_undefined(ctx, -1)) {
                duk_pop(ctx);
                duk_push_lstring(ctx, "", 0);
            } else {
                duk_to_string(ctx, -1);
            }
            break;
        case Want::Number:
            duk_to_number(ctx, -1);
            break;
        case Want::Boolean:
            duk_to_boolean(ctx, -1);
            break;
        case Want::Nothing:
            break;
    }
    return 1;
}

std::shared_ptr<ScriptEngine> ScriptEngine::Create() {
    auto engine = std::make_shared<ScriptEngine>(Token{});
    if (!engine->MakeHeap()) {
        return nullptr;
    }
    return engine;
}

ScriptEngine::ScriptEngine(Token) : budget_(std::make_unique<EngineBudget>()) {}

ScriptEngine::~ScriptEngine() {
    DestroyHeap();
}

bool ScriptEngine::MakeHeap() {
    budget_->usedBytes = 0;
    ctx_ = duk_create_heap(BudgetAlloc, BudgetRealloc, BudgetFree, budget_.get(), FatalError);
    return ctx_ != nullptr;
}

void ScriptEngine::DestroyHeap() {
    if (ctx_ == nullptr) {
        return;
    }
    // Finalizers run now; they get the same time limit as any evaluation.
    DeadlineScope deadline(*budget_, TimeLimitMs());
    duk_destroy_heap(ctx_);
    ctx_ = nullptr;
}

void ScriptEngine::Reset() {
    DestroyHeap();
    MakeHeap();
}

int ScriptEngine::TimeLimitMs() const {
    return properties_.timeoutMs > 0 ? properties_.timeoutMs : kDefaultTimeLimitMs;
}

std::optional<ScriptEngine::Result> ScriptEngine::Perform(Action action, Want want,
                                                          std::string_view code,
                                                          std::span<const std::string_view> args) {
    if (ctx_ == nullptr) {
        return std::nullopt;
    }
    const std::string engineCode = ToEngineText(code);
    std::vector<std::string> engineArgs;
    engineArgs.reserve(args.size());
    for (std::string_view arg : args) {
        engineArgs.push_back(ToEngineText(arg));
    }
    Job job{action,           want, engineCode.data(), engineCode.size(), engineArgs.data(),
            engineArgs.size()};

    DeadlineScope deadline(*budget_, TimeLimitMs());
    if (duk_check_stack(ctx_, 2) == 0) {
        return std::nullopt;
    }
    const bool ok = duk_safe_call(ctx_, RunJob, &job, 0, 1) == DUK_EXEC_SUCCESS;
    std::optional<Result> result;
    if (ok) {
        result.emplace();
        switch (want) {
            case Want::Text: {
                duk_size_t size = 0;
                const char* bytes = duk_get_lstring(ctx_, -1, &size);
                result->text = FromEngineText(std::string_view(bytes, size));
                break;
            }
            case Want::Number:
                result->number = duk_get_number(ctx_, -1);
                break;
            case Want::Boolean:
                result->boolean = duk_get_boolean(ctx_, -1) != 0;
                break;
            case Want::Nothing:
                break;
        }
    }
    duk_pop(ctx_);
    return result;
}

bool ScriptEngine::Execute(std::string_view code) {
    return Perform(Action::Evaluate, Want::Nothing, code, {}).has_value();
}

std::optional<std::string> ScriptEngine::EvalText(std::string_view code) {
    auto result = Perform(Action::Evaluate, Want::Text, code, {});
    return result ? std::optional<std::string>(std::move(result->text)) : std::nullopt;
}

std::optional<double> ScriptEngine::EvalNumber(std::string_view code) {
    auto result = Perform(Action::Evaluate, Want::Number, code, {});
    return result ? std::optional<double>(result->number) : std::nullopt;
}

std::optional<bool> ScriptEngine::EvalBool(std::string_view code) {
    auto result = Perform(Action::Evaluate, Want::Boolean, code, {});
    return result ? std::optional<bool>(result->boolean) : std::nullopt;
}

std::optional<std::string> ScriptEngine::CallGlobal(std::string_view name,
                                                    std::span<const std::string_view> args) {
    auto result = Perform(Action::CallGlobal, Want::Text, name, args);
    return result ? std::optional<std::string>(std::move(result->text)) : std::nullopt;
}

std::optional<std::string> ScriptEngine::CallExpression(std::string_view function,
                                                        std::span<const std::string_view> args) {
    auto result = Perform(Action::CallExpression, Want::Text, function, args);
    return result ? std::optional<std::string>(std::move(result->text)) : std::nullopt;
}

}  // namespace korvane::script
