#pragma once

#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>

struct duk_hthread;

namespace korvane::script {

struct EngineBudget;

// Properties of the script control that the engine has no notion of; they live with the
// engine, so every host on it reads the same values.
struct EngineProperties {
    std::string language = "JScript";
    // Milliseconds; -1 is "no limit asked for", which still gets kDefaultTimeLimitMs.
    int timeoutMs = -1;
    int state = 0;
    bool allowUI = true;
    long long sitehWnd = 0;
};

// One script heap of its own, with a memory cap and a time limit on every evaluation. Texts
// are client text (code page 936) on this side; results are converted to text (undefined and
// null give the empty text), a number or true/false. Every call swallows script errors.
class ScriptEngine {
  public:
    // The limit of an evaluation when no positive Timeout was set.
    static constexpr int kDefaultTimeLimitMs = 5000;

    // An empty pointer when no heap can be made.
    static std::shared_ptr<ScriptEngine> Create();
    ~ScriptEngine();
    ScriptEngine(const ScriptEngine&) = delete;
    ScriptEngine& operator=(const ScriptEngine&) = delete;

    // Runs code in the global scope; false when it does not compile or throws.
    bool Execute(std::string_view code);
    // The completion value of code; nullopt when it fails.
    std::optional<std::string> EvalText(std::string_view code);
    std::optional<double> EvalNumber(std::string_view code);
    std::optional<bool> EvalBool(std::string_view code);
    // Calls the global function `name` with string arguments; its result as text.
    std::optional<std::string> CallGlobal(std::string_view name,
                                          std::span<const std::string_view> args);
    // Calls the function that the expression `function` gives with string arguments.
    std::optional<std::string> CallExpression(std::string_view function,
                                              std::span<const std::string_view> args);
    // Drops every value and all code: a fresh heap. When none can be made every call fails.
    void Reset();

    EngineProperties& Properties() { return properties_; }

  private:
    struct Token {
        explicit Token() = default;
    };

  public:
    explicit ScriptEngine(Token);

  private:
    enum class Want { Nothing, Text, Number, Boolean };
    enum class Action { Evaluate, CallGlobal, CallExpression };
    struct Result {
        std::string text;
        double number = 0;
        bool boolean = false;
    };
    struct Job;

    // The body of one protected call into the engine.
    static int RunJob(duk_hthread* ctx, void* udata);

    bool MakeHeap();
    void DestroyHeap();
    std::optional<Result> Perform(Action action, Want want, std::string_view code,
                                  std::span<const std::string_view> args);
    int TimeLimitMs() const;

    std::unique_ptr<EngineBudget> budget_;
    duk_hthread* ctx_ = nullptr;
    EngineProperties properties_;
};

}  // namespace korvane::script
