// What the client does with its engines, per operation: read a reply, build a payload, and
// the reply decoder's host with its script.
#include <benchmark/benchmark.h>

#include <string>

#include "script/json_doc.h"
#include "script/script_host.h"
#include "text/code_page.h"

namespace {

using korvane::script::JsonDoc;
using korvane::script::ScriptHost;

// A sign-in reply of about 300 bytes.
std::string Reply() {
    return korvane::text::Utf8ToLocal(
        "{\"code\":608,\"msg\":\"登录成功\",\"data\":{\"token\":"
        "\"9f2c1e7a5b3d4f60a8e2c4b6d8f0a1c3e5b7d9f1a3c5e7b9d1f3a5c7e9b1d3f5\","
        "\"user\":\"13800138000\",\"expire\":1767225600,\"level\":3,"
        "\"notice\":\"欢迎使用 Korvane 地图服务。本周六凌晨两点至四点进行系统维护，"
        "期间部分功能暂停使用。\"}}");
}

// A script of about 4 KB: functions of the size and kind of the reply decoder's.
std::string Script4K() {
    std::string script;
    for (int i = 0; script.size() < 4096; ++i) {
        const std::string n = std::to_string(i);
        script += "function step" + n +
                  "(s, key) {\n"
                  "    var out = '', box = [];\n"
                  "    for (var i = 0; i < 256; i++) { box[i] = (i * " +
                  n +
                  " + key.length) % 256; }\n"
                  "    for (var j = 0; j < s.length; j++) {\n"
                  "        out += String.fromCharCode(s.charCodeAt(j) ^ box[j % 256]);\n"
                  "    }\n"
                  "    return out;\n"
                  "}\n";
    }
    return script;
}

void LoadReadClear(benchmark::State& state) {
    const std::string reply = Reply();
    JsonDoc doc;
    for (auto _ : state) {
        benchmark::DoNotOptimize(doc.Load(reply));
        benchmark::DoNotOptimize(doc.GetText("code"));
        benchmark::DoNotOptimize(doc.GetText("data.token"));
        benchmark::DoNotOptimize(doc.GetText("data.notice"));
        doc.Clear();
    }
}
BENCHMARK(LoadReadClear)->Unit(benchmark::kMicrosecond);

// The three steps of handling a reply on their own; the others of each iteration are untimed.
void Load(benchmark::State& state) {
    const std::string reply = Reply();
    JsonDoc doc;
    for (auto _ : state) {
        benchmark::DoNotOptimize(doc.Load(reply));
        state.PauseTiming();
        doc.Clear();
        state.ResumeTiming();
    }
}
BENCHMARK(Load)->Unit(benchmark::kMicrosecond);

void GetText(benchmark::State& state) {
    JsonDoc doc;
    if (!doc.Load(Reply())) {
        state.SkipWithError("reply does not load");
        return;
    }
    for (auto _ : state) {
        benchmark::DoNotOptimize(doc.GetText("data.token"));
    }
}
BENCHMARK(GetText)->Unit(benchmark::kMicrosecond);

void Clear(benchmark::State& state) {
    const std::string reply = Reply();
    JsonDoc doc;
    for (auto _ : state) {
        state.PauseTiming();
        benchmark::DoNotOptimize(doc.Load(reply));
        state.ResumeTiming();
        doc.Clear();
    }
}
BENCHMARK(Clear)->Unit(benchmark::kMicrosecond);

void BuildPayload(benchmark::State& state) {
    JsonDoc doc;
    const std::string nickname = korvane::text::Utf8ToLocal("地图用户");
    for (auto _ : state) {
        doc.Clear();
        doc.SetText("username", "13800138000");
        doc.SetText("password", "s3cret'pass");
        doc.SetText("super_password", "482913");
        doc.SetText("nickname", nickname);
        doc.SetText("token", "9f2c1e7a5b3d4f60a8e2c4b6d8f0a1c3");
        benchmark::DoNotOptimize(doc.ToJson());
    }
}
BENCHMARK(BuildPayload)->Unit(benchmark::kMicrosecond);

void HostWithScript(benchmark::State& state) {
    const std::string script = Script4K();
    state.counters["script_bytes"] = static_cast<double>(script.size());
    for (auto _ : state) {
        ScriptHost host;
        benchmark::DoNotOptimize(host.ExecuteStatement(script));
    }
}
BENCHMARK(HostWithScript)->Unit(benchmark::kMicrosecond);

}  // namespace
