#pragma once

#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace korvane::script {

class ScriptEngine;

// Runs script text that ships with the client in a private engine. Texts are client text
// (code page 936) on this side of the boundary.
class ScriptHost {
  public:
    ScriptHost();
    // A host on an existing engine; an empty one is a host whose engine could not be created.
    explicit ScriptHost(std::shared_ptr<ScriptEngine> engine);
    ~ScriptHost();
    // A copy is a second host on the same engine.
    ScriptHost(const ScriptHost& other);
    ScriptHost& operator=(const ScriptHost& other);

    bool ExecuteStatement(std::string_view statement);
    std::string Eval(std::string_view expression);
    void Reset();
    std::shared_ptr<ScriptEngine> Engine() const;
    // Passes the leading run of given arguments: a1, a2 given, a3 missing, a4 given passes two.
    std::string Run(std::string_view name, std::optional<std::string_view> a1 = std::nullopt,
                    std::optional<std::string_view> a2 = std::nullopt,
                    std::optional<std::string_view> a3 = std::nullopt,
                    std::optional<std::string_view> a4 = std::nullopt,
                    std::optional<std::string_view> a5 = std::nullopt,
                    std::optional<std::string_view> a6 = std::nullopt);
    // 0 "JScript", 1 "vbs", anything else writes nothing; returns the language.
    std::string Language(int kind = 0);
    // Without a value -1 is written.
    int Timeout(std::optional<int> milliseconds = std::nullopt);
    int State(std::optional<int> value = std::nullopt);
    bool AllowUI(std::optional<bool> value = std::nullopt);
    long long SitehWnd(std::optional<long long> handle = std::nullopt);
    void AddCode(std::string_view code);

  private:
    std::shared_ptr<ScriptEngine> engine_;
};

}  // namespace korvane::script
