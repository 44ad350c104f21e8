#include "script/script_host.h"

#include <array>
#include <utility>

#include "script/script_engine.h"

namespace korvane::script {

ScriptHost::ScriptHost() : ScriptHost(ScriptEngine::Create()) {}

ScriptHost::ScriptHost(std::shared_ptr<ScriptEngine> engine) : engine_(std::move(engine)) {
    if (engine_) {
        engine_->Properties().language = "JScript";
    }
}

ScriptHost::~ScriptHost() = default;
ScriptHost::ScriptHost(const ScriptHost& other) = default;
ScriptHost& ScriptHost::operator=(const ScriptHost& other) = default;

bool ScriptHost::ExecuteStatement(std::string_view statement) {
    return engine_ && engine_->Execute(statement);
}

std::string ScriptHost::Eval(std::string_view expression) {
    if (!engine_) {
        return {};
    }
    return engine_->EvalText(expression).value_or(std::string());
}

void ScriptHost::Reset() {
    if (engine_) {
        engine_->Reset();
    }
}

std::shared_ptr<ScriptEngine> ScriptHost::Engine() const {
    return engine_;
}

std::string ScriptHost::Run(std::string_view name, std::optional<std::string_view> a1,
                            std::optional<std::string_view> a2, std::optional<std::string_view> a3,
                            std::optional<std::string_view> a4, std::optional<std::string_view> a5,
                            std::optional<std::string_view> a6) {
    if (!engine_) {
        return {};
    }
    const std::array<std::optional<std::string_view>, 6> given{a1, a2, a3, a4, a5, a6};
    std::array<std::string_view, 6> args;
    std::size_t count = 0;
    while (count < given.size() && given[count]) {
        args[count] = *given[count];
        ++count;
    }
    return engine_->CallGlobal(name, std::span(args.data(), count)).value_or(std::string());
}

std::string ScriptHost::Language(int kind) {
    if (!engine_) {
        return {};
    }
    auto& language = engine_->Properties().language;
    if (kind == 0) {
        language = "JScript";
    } else if (kind == 1) {
        language = "vbs";
    }
    return language;
}

int ScriptHost::Timeout(std::optional<int> milliseconds) {
    if (!engine_) {
        return 0;
    }
    engine_->Properties().timeoutMs = milliseconds.value_or(-1);
    return engine_->Properties().timeoutMs;
}

int ScriptHost::State(std::optional<int> value) {
    if (!engine_) {
        return 0;
    }
    // The control knows two states, initialised (0) and connected (1), and refuses others.
    if (value && (*value == 0 || *value == 1)) {
        engine_->Properties().state = *value;
    }
    return engine_->Properties().state;
}

bool ScriptHost::AllowUI(std::optional<bool> value) {
    if (!engine_) {
        return false;
    }
    if (value) {
        engine_->Properties().allowUI = *value;
    }
    return engine_->Properties().allowUI;
}

long long ScriptHost::SitehWnd(std::optional<long long> handle) {
    if (!engine_) {
        return 0;
    }
    if (handle) {
        engine_->Properties().sitehWnd = *handle;
    }
    return engine_->Properties().sitehWnd;
}

void ScriptHost::AddCode(std::string_view code) {
    if (engine_) {
        engine_->Execute(code);
    }
}

}  // namespace korvane::script
