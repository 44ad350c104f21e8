#pragma once

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace korvane::script {

class ScriptEngine;

enum class JsonType : int { Null = 0, Number = 2, Object = 4, Array = 5, String = 6, Other = -1 };

// One JSON value held as the variable `VarName` inside a private script engine.
class JsonDoc {
  public:
    JsonDoc();
    // A document on an engine the caller made, set up as CreateEngine sets up its own; an empty
    // one is a document whose engine could not be created.
    explicit JsonDoc(std::shared_ptr<ScriptEngine> engine);
    ~JsonDoc();
    // A copy reads and changes the same value: it shares the engine.
    JsonDoc(const JsonDoc& other);
    JsonDoc& operator=(const JsonDoc& other);

    void CreateEngine();
    bool Load(std::string_view text);
    std::string ToJson();
    void SetText(std::string_view path, std::string_view value, bool asJson = false);
    void SetJson(std::string_view path, std::string_view json);
    void SetNumber(std::string_view path, double number);
    double GetNumber(std::string_view path);
    std::string GetJson(std::string_view path);
    std::string GetText(std::string_view path, bool asJson = false);
    JsonDoc GetDoc(std::string_view path);
    int Count(std::string_view path = {});
    void Append(std::string_view value, std::string_view path = {}, bool raw = false);
    JsonDoc GetItemDoc(int index, std::string_view path = {});
    std::string GetItem(int index, std::string_view path = {}, bool asJson = false);
    void SetItem(int index, std::string_view value, bool raw = false);
    void RemoveItem(int index);
    void RemoveMember(std::string_view path);
    void ResetAs(int type);
    void SetRoot(std::string_view value, bool raw = false);
    bool Has(std::string_view path);
    int Keys(std::vector<std::string>& list, std::string_view path = {});
    JsonType TypeOf(std::string_view path = {});
    void Clear();

    const std::string& VarName() const { return varName_; }

  private:
    // The support script and N = {} in a new engine.
    void SetUpEngine();
    // N "." P, or N for the empty path.
    std::string Target(std::string_view path) const;
    // N and P joined with "." unless P begins with "[".
    std::string Joined(std::string_view path) const;
    void Eval(const std::string& code);
    std::string EvalText(const std::string& code);
    std::optional<double> EvalNumber(const std::string& code);
    bool EvalBool(const std::string& code);
    // Whether the support script's JSON.parse accepts the text.
    bool IsJson(std::string_view text);
    static int Truncated(std::optional<double> number);

    std::string varName_;
    std::shared_ptr<ScriptEngine> engine_;
};

}  // namespace korvane::script
