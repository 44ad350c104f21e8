// The client-side cost of one Login against devservice on loopback, next to the same POST
// made with plain libcurl, and the parts of a Login on their own.
#include <benchmark/benchmark.h>
#include <curl/curl.h>

#include <cstdio>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <utility>

#include "net/web_fetch.h"
#include "service/authcode.h"
#include "service/request.h"
#include "service/service_client.h"
#include "support/dev_service.h"
#include "text/code_page.h"

namespace {

using namespace korvane;

constexpr std::string_view kKey = "Tq3Hc8WmZr5Bx1NvKe7Lp2YdFs9Gu4JoAi6RwEb0";
constexpr std::string_view kUser = "bench";
constexpr std::string_view kPassword = "bench-password";
const std::string kPayload = R"({"username":"bench","password":"bench-password"})";

std::string LoginUrl(const testing::DevService& devService) {
    return devService.BaseUrl() + "index.php/api/User/login";
}

std::string LoginBody() {
    return "id=1&data=" + service::EscapeFormValue(service::AuthcodeEncode(kPayload, kKey));
}

std::size_t Collect(char* data, std::size_t size, std::size_t count, void* out) {
    static_cast<std::string*>(out)->append(data, size * count);
    return size * count;
}

// One POST on a fresh easy handle, as a plain libcurl program makes it.
std::string CurlPost(const std::string& url, const std::string& body) {
    std::string reply;
    const std::unique_ptr<CURL, decltype(&curl_easy_cleanup)> curl(curl_easy_init(),
                                                                   curl_easy_cleanup);
    curl_easy_setopt(curl.get(), CURLOPT_URL, url.c_str());
    curl_easy_setopt(curl.get(), CURLOPT_POSTFIELDS, body.c_str());
    curl_easy_setopt(curl.get(), CURLOPT_POSTFIELDSIZE, static_cast<long>(body.size()));
    curl_easy_setopt(curl.get(), CURLOPT_WRITEFUNCTION, Collect);
    curl_easy_setopt(curl.get(), CURLOPT_WRITEDATA, &reply);
    return curl_easy_perform(curl.get()) == CURLE_OK ? reply : std::string();
}

void Login(benchmark::State& state, const testing::DevService& devService) {
    service::ServiceClient client;
    client.Init("1", devService.BaseUrl(), kKey);
    if (client.Login(kUser, kPassword).find("\"code\":608") == std::string::npos) {
        state.SkipWithError("login refused");
        return;
    }
    for (auto _ : state) {
        benchmark::DoNotOptimize(client.Login(kUser, kPassword));
    }
}

void PlainCurlPost(benchmark::State& state, const testing::DevService& devService) {
    const std::string url = LoginUrl(devService);
    const std::string body = LoginBody();
    for (auto _ : state) {
        benchmark::DoNotOptimize(CurlPost(url, body));
    }
}

void WebFetchPost(benchmark::State& state, const testing::DevService& devService) {
    const std::string url = LoginUrl(devService);
    const std::string body = LoginBody();
    for (auto _ : state) {
        benchmark::DoNotOptimize(net::WebFetch(url, net::kMethodPost, body));
    }
}

// The cipher alone, on the UTF-8 payload that Request hands it.
void AuthcodeEncodeLogin(benchmark::State& state) {
    state.counters["bytes"] = static_cast<double>(kPayload.size());
    for (auto _ : state) {
        benchmark::DoNotOptimize(service::AuthcodeEncode(kPayload, kKey));
    }
}

void EncodeLoginPayload(benchmark::State& state) {
    const std::string payload = text::Utf8ToLocal(kPayload);
    for (auto _ : state) {
        benchmark::DoNotOptimize(
            service::EscapeFormValue(service::AuthcodeEncode(text::LocalToUtf8(payload), kKey)));
    }
}

void DecodeLoginReply(benchmark::State& state, const testing::DevService& devService) {
    const std::string reply = CurlPost(LoginUrl(devService), LoginBody());
    if (service::AuthcodeDecode(reply, kKey).empty()) {
        state.SkipWithError("reply does not decode");
        return;
    }
    state.counters["bytes"] = static_cast<double>(reply.size());
    for (auto _ : state) {
        benchmark::DoNotOptimize(service::AuthcodeDecode(reply, kKey));
    }
}

BENCHMARK(AuthcodeEncodeLogin)->Unit(benchmark::kMicrosecond);
BENCHMARK(EncodeLoginPayload)->Unit(benchmark::kMicrosecond);

struct Times {
    double realUs = 0;
    double cpuUs = 0;
};

// Keeps the times of every benchmark for the ratios printed at the end.
class RecordingReporter : public benchmark::ConsoleReporter {
  public:
    void ReportRuns(const std::vector<Run>& runs) override {
        for (const auto& run : runs) {
            if (!run.error_occurred && run.run_type == Run::RT_Iteration) {
                const std::string name = run.benchmark_name();
                times[name.substr(0, name.find('/'))] = {run.GetAdjustedRealTime(),
                                                         run.GetAdjustedCPUTime()};
            }
        }
        ConsoleReporter::ReportRuns(runs);
    }
    std::map<std::string, Times> times;
};

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    curl_global_init(CURL_GLOBAL_DEFAULT);
    testing::DevService devService;
    if (!devService.Ok()) {
        std::fprintf(stderr, "devservice did not start\n");
        return 1;
    }
    devService.CreateAccount(kUser, kPassword);
    // These need the service; the exchanges run long enough to even out its jitter. CPU time
    // is the whole process's (libcurl may resolve on a thread of its own), which is the
    // client side alone: the service is another process.
    for (const auto& [name, run] : {std::pair{"Login", &Login},
                                    {"PlainCurlPost", &PlainCurlPost},
                                    {"WebFetchPost", &WebFetchPost},
                                    {"DecodeLoginReply", &DecodeLoginReply}}) {
        benchmark::RegisterBenchmark(name, run, std::cref(devService))
            ->Unit(benchmark::kMicrosecond)
            ->MinTime(2.0)
            ->MeasureProcessCPUTime();
    }

    RecordingReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    // Wall time includes the service's own work (password hashing), the same for both; the
    // process's CPU time is the client side alone.
    const auto& t = reporter.times;
    if (t.count("Login") && t.count("PlainCurlPost")) {
        const Times login = t.at("Login");
        const Times curl = t.at("PlainCurlPost");
        std::printf("Login vs plain libcurl POST, wall: %.0f us / %.0f us = %.2f\n", login.realUs,
                    curl.realUs, login.realUs / curl.realUs);
        std::printf("Login vs plain libcurl POST, client CPU: %.0f us / %.0f us = %.2f\n",
                    login.cpuUs, curl.cpuUs, login.cpuUs / curl.cpuUs);
    }
    benchmark::Shutdown();
    curl_global_cleanup();
    return 0;
}
