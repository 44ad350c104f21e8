// The real client under a virtual display against devservice on its compiled-in ports: how
// long it takes from being started to its login window's first frame, its peak memory by
// then, and its CPU use while the signed-in main window sits idle with its clock running.
// A minimal Qt window is measured the same way as the floor. Prints one JSON object.
#include <signal.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <optional>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "client_session.h"
#include "first_frame.h"
#include "support/dev_service.h"
#include "x_session.h"

namespace {

using namespace korvane;
using Clock = std::chrono::steady_clock;
using Millis = std::chrono::duration<double, std::milli>;

constexpr const char* kUser = "bench";
constexpr const char* kPassword = "bench-password";
constexpr const char* kTitle = "Korvane";

struct Start {
    double mappedMs = 0;
    double drawnMs = 0;
    long peakRssKb = 0;
};

// A field of /proc/<pid>/status in kB ("VmHWM" is the peak resident set so far).
long StatusKb(pid_t pid, const std::string& field) {
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    for (std::string line; std::getline(status, line);) {
        if (line.rfind(field + ":", 0) == 0) {
            return std::atol(line.c_str() + field.size() + 1);
        }
    }
    return 0;
}

// User plus system time of every thread of `pid`, in clock ticks.
std::optional<long long> CpuTicks(pid_t pid) {
    std::ifstream file("/proc/" + std::to_string(pid) + "/stat");
    const std::string stat((std::istreambuf_iterator<char>(file)),
                           std::istreambuf_iterator<char>());
    // The command name may hold spaces; the fields after it start with the state (field 3).
    const std::size_t close = stat.rfind(')');
    if (close == std::string::npos) {
        return std::nullopt;
    }
    std::istringstream fields(stat.substr(close + 1));
    std::vector<std::string> values{std::istream_iterator<std::string>(fields), {}};
    if (values.size() < 13) {
        return std::nullopt;
    }
    return std::atoll(values[11].c_str()) + std::atoll(values[12].c_str());  // fields 14, 15
}

// Nanoseconds on a CPU of each thread of `pid` by thread id (the scheduler's own count, far
// finer than the 10 ms ticks of /proc/<pid>/stat).
std::map<std::string, long long> ThreadRunNs(pid_t pid) {
    std::map<std::string, long long> threads;
    std::error_code error;
    const std::filesystem::path tasks = "/proc/" + std::to_string(pid) + "/task";
    for (const auto& task : std::filesystem::directory_iterator(tasks, error)) {
        std::ifstream schedstat(task.path() / "schedstat");
        long long ns = 0;
        if (schedstat >> ns) {
            threads[task.path().filename().string()] = ns;
        }
    }
    return threads;
}

// Run time between two samples; a thread that started in between counts from its start, one
// that ended in between is lost.
double RunSeconds(const std::map<std::string, long long>& before,
                  const std::map<std::string, long long>& after) {
    long long ns = 0;
    for (const auto& [thread, total] : after) {
        const auto earlier = before.find(thread);
        ns += total - (earlier == before.end() ? 0 : earlier->second);
    }
    return static_cast<double>(ns) / 1e9;
}

struct Idle {
    double statPercent = 0;
    double schedPercent = 0;
};

std::optional<Start> MeasureStart(e2e::VirtualDisplay& display, const std::string& binary,
                                  const std::filesystem::path& runtime) {
    bench::FirstFrameWatch watch(display.Display());
    if (!watch.Ok()) {
        return std::nullopt;
    }
    const Clock::time_point started = Clock::now();
    e2e::ChildProcess program({binary}, e2e::ClientEnvironment(display, runtime));
    const auto frame = watch.WaitForFirstFrame(kTitle, started + std::chrono::seconds(30));
    if (!frame) {
        return std::nullopt;
    }
    const Start start{Millis(frame->mapped - started).count(),
                      Millis(frame->drawn - started).count(), StatusKb(program.Pid(), "VmHWM")};
    // The figures are taken; a clean close would only cost time (the client, with its notice
    // up, does not end on SIGTERM).
    ::kill(program.Pid(), SIGKILL);
    return start;
}

// One unmeasured start first, so both programs find the same warm caches.
std::optional<std::vector<Start>> MeasureStarts(e2e::VirtualDisplay& display,
                                                const std::string& binary,
                                                const std::filesystem::path& runtime, int runs) {
    std::vector<Start> starts;
    for (int run = 0; run <= runs; ++run) {
        const std::optional<Start> start = MeasureStart(display, binary, runtime);
        if (!start) {
            std::fprintf(stderr, "startup bench: %s drew no window\n", binary.c_str());
            return std::nullopt;
        }
        if (run > 0) {
            starts.push_back(*start);
        }
    }
    return starts;
}

// Signs in as the e2e test does, lets the main window settle, then samples its CPU time.
std::optional<Idle> IdleCpu(e2e::VirtualDisplay& display, const std::filesystem::path& runtime,
                            int seconds) {
    e2e::ChildProcess client({KORVANE_CLIENT_BINARY}, e2e::ClientEnvironment(display, runtime));
    if (!e2e::CloseSystemMessageBox(display)) {
        return std::nullopt;
    }
    const auto login = e2e::WaitForWindow(display, client.Pid(), 760, 470);
    if (!login) {
        return std::nullopt;
    }
    display.Click(login->x + 453 + 120, login->y + 185 + 17);
    display.Type(kUser);
    display.Key("Tab");
    display.Type(kPassword);
    display.Key("Return");
    if (!e2e::WaitForWindow(display, client.Pid(), 1100, 800)) {
        return std::nullopt;
    }
    // The page area's slide and the first clock ticks are over by then.
    std::this_thread::sleep_for(std::chrono::seconds(3));
    const auto ticksBefore = CpuTicks(client.Pid());
    const auto runBefore = ThreadRunNs(client.Pid());
    const Clock::time_point before = Clock::now();
    std::this_thread::sleep_for(std::chrono::seconds(seconds));
    const auto ticksAfter = CpuTicks(client.Pid());
    const auto runAfter = ThreadRunNs(client.Pid());
    const double wall = std::chrono::duration<double>(Clock::now() - before).count();
    if (!ticksBefore || !ticksAfter) {
        return std::nullopt;
    }
    const double cpu = static_cast<double>(*ticksAfter - *ticksBefore) /
                       static_cast<double>(::sysconf(_SC_CLK_TCK));
    return Idle{100.0 * cpu / wall, 100.0 * RunSeconds(runBefore, runAfter) / wall};
}

std::string Json(const std::vector<Start>& starts) {
    std::ostringstream mapped, drawn, rss;
    for (std::size_t i = 0; i < starts.size(); ++i) {
        const char* comma = i == 0 ? "" : ", ";
        mapped << comma << starts[i].mappedMs;
        drawn << comma << starts[i].drawnMs;
        rss << comma << starts[i].peakRssKb;
    }
    std::ostringstream json;
    json << "{\"mapped_ms\": [" << mapped.str() << "], \"drawn_ms\": [" << drawn.str()
         << "], \"peak_rss_kb\": [" << rss.str() << "]}";
    return json.str();
}

// The compiled-in ports may be held for a while by another run of the e2e tests.
std::unique_ptr<testing::DevService> StartService() {
    testing::DevService::Options options;
    options.fixedPorts = true;
    for (int attempt = 0; attempt < 20; ++attempt) {
        auto service = std::make_unique<testing::DevService>(options);
        if (service->Ok()) {
            return service;
        }
        std::fprintf(stderr, "startup bench: devservice did not start, trying again\n");
        std::this_thread::sleep_for(std::chrono::seconds(5));
    }
    return nullptr;
}

}  // namespace

int main(int argc, char** argv) {
    int runs = 10;
    int idleSeconds = 10;
    std::string out;
    for (int i = 1; i + 1 < argc; i += 2) {
        const std::string name = argv[i];
        if (name == "--runs") {
            runs = std::max(1, std::atoi(argv[i + 1]));
        } else if (name == "--idle-seconds") {
            idleSeconds = std::max(1, std::atoi(argv[i + 1]));
        } else if (name == "--out") {
            out = argv[i + 1];
        }
    }

    const auto service = StartService();
    if (!service) {
        std::fprintf(stderr, "startup bench: devservice did not start\n");
        return 1;
    }
    service->CreateAccount(kUser, kPassword);
    e2e::VirtualDisplay display(1400, 1000);
    if (!display.Ok()) {
        std::fprintf(stderr, "startup bench: Xvfb did not start\n");
        return 1;
    }
    const e2e::RuntimeFolder runtime;

    const auto client = MeasureStarts(display, KORVANE_CLIENT_BINARY, runtime.Path(), runs);
    const auto floor = MeasureStarts(display, KORVANE_FLOOR_BINARY, runtime.Path(), runs);
    const auto idle = IdleCpu(display, runtime.Path(), idleSeconds);
    if (!client || !floor || !idle) {
        std::fprintf(stderr, "startup bench: %s\n", idle ? "no start figures" : "no idle figure");
        return 1;
    }
    std::ostringstream json;
    json << "{\"runs\": " << runs << ",\n \"client\": " << Json(*client)
         << ",\n \"floor\": " << Json(*floor) << ",\n \"idle_seconds\": " << idleSeconds
         << ", \"idle_cpu_percent\": " << idle->statPercent
         << ", \"idle_cpu_percent_schedstat\": " << idle->schedPercent << "}\n";
    if (out.empty()) {
        std::fputs(json.str().c_str(), stdout);
    } else {
        std::ofstream(out) << json.str();
    }
    return 0;
}
