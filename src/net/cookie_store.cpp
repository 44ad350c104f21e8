#include "net/cookie_store.h"

#include <array>
#include <mutex>

#include "net/curl_handles.h"

namespace korvane::net {

namespace {

class CookieShare {
  public:
    CookieShare() : share_(curl_share_init()) {
        if (share_ == nullptr) {
            return;
        }
        const bool ok =
            curl_share_setopt(share_, CURLSHOPT_LOCKFUNC, &CookieShare::Lock) == CURLSHE_OK &&
            curl_share_setopt(share_, CURLSHOPT_UNLOCKFUNC, &CookieShare::Unlock) == CURLSHE_OK &&
            curl_share_setopt(share_, CURLSHOPT_USERDATA, this) == CURLSHE_OK &&
            curl_share_setopt(share_, CURLSHOPT_SHARE, CURL_LOCK_DATA_COOKIE) == CURLSHE_OK;
        if (!ok) {
            curl_share_cleanup(share_);
            share_ = nullptr;
        }
    }
    ~CookieShare() {
        if (share_ != nullptr) {
            curl_share_cleanup(share_);
        }
    }
    CookieShare(const CookieShare&) = delete;
    CookieShare& operator=(const CookieShare&) = delete;

    CURLSH* Handle() const { return share_; }

  private:
    static void Lock(CURL*, curl_lock_data data, curl_lock_access, void* self) {
        if (static_cast<unsigned>(data) < CURL_LOCK_DATA_LAST) {
            static_cast<CookieShare*>(self)->locks_[data].lock();
        }
    }
    static void Unlock(CURL*, curl_lock_data data, void* self) {
        if (static_cast<unsigned>(data) < CURL_LOCK_DATA_LAST) {
            static_cast<CookieShare*>(self)->locks_[data].unlock();
        }
    }

    std::array<std::mutex, CURL_LOCK_DATA_LAST> locks_;
    CURLSH* share_;
};

}  // namespace

CURLSH* SharedCookieStore() {
    if (!CurlReady()) {
        return nullptr;
    }
    static CookieShare store;
    return store.Handle();
}

}  // namespace korvane::net
