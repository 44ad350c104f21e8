#include "support/dev_service.h"

#include <curl/curl.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <fstream>
#include <memory>
#include <sstream>
#include <thread>
#include <vector>

#include "korvane/config.h"

namespace korvane::testing {

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

constexpr const char* kPython = "/usr/bin/python3";
// Generous: the service is ready in well under a second, but a loaded machine may be slow.
constexpr auto kStartTimeout = std::chrono::seconds(60);
constexpr auto kStopTimeout = std::chrono::seconds(10);
constexpr auto kPollInterval = std::chrono::milliseconds(10);
constexpr long kConnectTimeoutMs = 5000;
constexpr long kCallTimeoutMs = 30000;
constexpr std::size_t kMaxReply = 64u << 20;

fs::path SourceDir() {
    return fs::path(KORVANE_SOURCE_DIR);
}

// The port of "scheme://host:port/...", or fallback when it names none.
int UrlPort(std::string_view url, int fallback) {
    const std::size_t scheme = url.find("://");
    std::string_view rest = scheme == std::string_view::npos ? url : url.substr(scheme + 3);
    rest = rest.substr(0, rest.find('/'));
    const std::size_t colon = rest.rfind(':');
    if (colon == std::string_view::npos) {
        return fallback;
    }
    int port = 0;
    for (char c : rest.substr(colon + 1)) {
        if (c < '0' || c > '9' || port > 65535) {
            return fallback;
        }
        port = port * 10 + (c - '0');
    }
    return port;
}

std::string ReadFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

fs::path MakeTempDir() {
    std::string pattern = (fs::temp_directory_path() / "korvane-devservice-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) {
        return {};
    }
    return pattern;
}

size_t CollectBody(char* data, size_t size, size_t count, void* sink) {
    auto* body = static_cast<std::string*>(sink);
    const size_t bytes = size * count;
    if (body->size() + bytes > kMaxReply) {
        return 0;  // makes libcurl fail the transfer
    }
    body->append(data, bytes);
    return bytes;
}

}  // namespace

std::string JsonQuote(std::string_view text) {
    std::string out = "\"";
    for (char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\') {
            out += '\\';
            out += c;
        } else if (byte < 0x20) {
            char escape[8];
            std::snprintf(escape, sizeof escape, "\\u%04x", byte);
            out += escape;
        } else {
            out += c;
        }
    }
    return out + "\"";
}

DevService::DevService() : DevService(Options{}) {}

DevService::DevService(Options options) {
    ok_ = Start(options);
    if (!ok_) {
        std::fprintf(stderr, "devservice did not start; its output:\n%s\n", Log().c_str());
    }
}

DevService::~DevService() {
    Stop();
    if (!dataDir_.empty()) {
        std::error_code ignored;
        fs::remove_all(dataDir_, ignored);
    }
}

bool DevService::Start(const Options& options) {
    dataDir_ = MakeTempDir();
    if (dataDir_.empty()) {
        return false;
    }
    caDir_ = SourceDir() / "build" / "dev-ca";
    if (options.fixedPorts) {
        httpPort_ = UrlPort(config::kServiceUrl, 80);
        smsPort_ = UrlPort(config::kSmsGatewayUrl, 443);
        smtpPort_ = config::kSmtpPort;
    }

    // Everything the child needs is built before fork: after it, only async-signal-safe calls.
    std::vector<std::string> args = {
        kPython, (SourceDir() / "devservice" / "korvane_devservice.py").string(), "--data",
        dataDir_.string(), "--ca-dir", caDir_.string(), "--http-port", std::to_string(httpPort_),
        "--sms-port", std::to_string(smsPort_), "--smtp-port", std::to_string(smtpPort_),
        "--notice", options.notice,
        // The service removes its folder itself too, should this program die before it can.
        "--temporary-data"};
    if (options.rawUtf8) {
        args.emplace_back("--raw-utf8");
    }
    std::vector<char*> argv;
    for (std::string& arg : args) {
        argv.push_back(arg.data());
    }
    argv.push_back(nullptr);
    const std::string logPath = (dataDir_ / "devservice.log").string();
    const pid_t parent = getpid();

    pid_ = fork();
    if (pid_ < 0) {
        return false;
    }
    if (pid_ == 0) {
        // The service must not outlive a test program that crashes.
        prctl(PR_SET_PDEATHSIG, SIGTERM);
        if (getppid() != parent) {
            _exit(127);
        }
        sigset_t all;
        sigemptyset(&all);
        sigprocmask(SIG_SETMASK, &all, nullptr);
        const int log = open(logPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
        const int null = open("/dev/null", O_RDONLY | O_CLOEXEC);
        if (log < 0 || null < 0) {
            _exit(127);
        }
        dup2(null, STDIN_FILENO);
        dup2(log, STDOUT_FILENO);
        dup2(log, STDERR_FILENO);
        close_range(3, ~0u, 0);
        execv(kPython, argv.data());
        _exit(127);
    }
    return WaitForPorts();
}

bool DevService::WaitForPorts() {
    const fs::path portsFile = dataDir_ / "ports.json";
    const auto deadline = Clock::now() + kStartTimeout;
    while (Clock::now() < deadline) {
        int status = 0;
        if (waitpid(pid_, &status, WNOHANG) == pid_) {
            pid_ = -1;  // exited early: nothing left to stop
            return false;
        }
        std::error_code missing;
        if (fs::exists(portsFile, missing)) {
            const std::optional<JsonValue> ports = JsonValue::Parse(ReadFile(portsFile));
            if (ports) {
                httpPort_ = static_cast<int>((*ports)["http"].Number());
                smsPort_ = static_cast<int>((*ports)["sms"].Number());
                smtpPort_ = static_cast<int>((*ports)["smtp"].Number());
                return httpPort_ > 0 && smsPort_ > 0 && smtpPort_ > 0;
            }
        }
        std::this_thread::sleep_for(kPollInterval);
    }
    return false;
}

void DevService::Stop() {
    if (pid_ <= 0) {
        return;
    }
    kill(pid_, SIGTERM);
    const auto deadline = Clock::now() + kStopTimeout;
    int status = 0;
    while (Clock::now() < deadline) {
        const pid_t done = waitpid(pid_, &status, WNOHANG);
        if (done == pid_ || done < 0) {
            pid_ = -1;
            return;
        }
        std::this_thread::sleep_for(kPollInterval);
    }
    kill(pid_, SIGKILL);
    waitpid(pid_, &status, 0);
    pid_ = -1;
}

std::string DevService::BaseUrl() const {
    return "http://127.0.0.1:" + std::to_string(httpPort_) + "/";
}

std::string DevService::SmsGatewayUrl() const {
    return "https://127.0.0.1:" + std::to_string(smsPort_);
}

std::string DevService::CaBundle() const {
    return (caDir_ / "ca.pem").string();
}

std::string DevService::Log() const {
    return dataDir_.empty() ? std::string() : ReadFile(dataDir_ / "devservice.log");
}

std::string DevService::Call(std::string_view adminPath, const std::string* postBody) {
    if (!ok_) {
        return {};
    }
    while (!adminPath.empty() && adminPath.front() == '/') {
        adminPath.remove_prefix(1);
    }
    const std::string url = BaseUrl() + std::string(adminPath);
    std::unique_ptr<CURL, decltype(&curl_easy_cleanup)> curl(curl_easy_init(), curl_easy_cleanup);
    std::unique_ptr<curl_slist, decltype(&curl_slist_free_all)> headers(
        curl_slist_append(nullptr, "Content-Type: application/json"), curl_slist_free_all);
    if (!curl || !headers) {
        return {};
    }
    std::string body;
    curl_easy_setopt(curl.get(), CURLOPT_URL, url.c_str());
    curl_easy_setopt(curl.get(), CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(curl.get(), CURLOPT_NOPROXY, "*");
    curl_easy_setopt(curl.get(), CURLOPT_CONNECTTIMEOUT_MS, kConnectTimeoutMs);
    curl_easy_setopt(curl.get(), CURLOPT_TIMEOUT_MS, kCallTimeoutMs);
    curl_easy_setopt(curl.get(), CURLOPT_WRITEFUNCTION, CollectBody);
    curl_easy_setopt(curl.get(), CURLOPT_WRITEDATA, &body);
    if (postBody != nullptr) {
        curl_easy_setopt(curl.get(), CURLOPT_HTTPHEADER, headers.get());
        curl_easy_setopt(curl.get(), CURLOPT_POSTFIELDS, postBody->c_str());
        curl_easy_setopt(curl.get(), CURLOPT_POSTFIELDSIZE_LARGE,
                         static_cast<curl_off_t>(postBody->size()));
    }
    if (curl_easy_perform(curl.get()) != CURLE_OK) {
        return {};
    }
    return body;
}

std::string DevService::Get(std::string_view adminPath) {
    return Call(adminPath, nullptr);
}

std::string DevService::Post(std::string_view adminPath, std::string_view json) {
    const std::string body(json);
    return Call(adminPath, &body);
}

JsonValue DevService::GetJson(std::string_view adminPath) {
    std::optional<JsonValue> value = JsonValue::Parse(Get(adminPath));
    return value ? std::move(*value) : JsonValue();
}

void DevService::CreateAccount(std::string_view user, std::string_view password) {
    Post("admin/accounts", "{\"username\":" + JsonQuote(user) + ",\"password\":" +
                               JsonQuote(password) + ",\"super_password\":\"000000\"}");
}

void DevService::Freeze(std::string_view user) {
    Post("admin/freeze", "{\"username\":" + JsonQuote(user) + "}");
}

}  // namespace korvane::testing
