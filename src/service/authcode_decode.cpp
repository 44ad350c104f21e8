#include "script/script_host.h"
#include "service/authcode.h"
#include "service/authcode_script.h"

namespace korvane::service {

// A fresh engine per reply, so that nothing a reply did can outlive it. The reply goes in as
// an argument, never as script text.
std::string AuthcodeDecode(std::string_view cipherText, std::string_view key) {
    script::ScriptHost host;
    host.ExecuteStatement(AuthcodeScript);
    return host.Run("uc_authcode", cipherText, "DECODE", key, "0");
}

}  // namespace korvane::service
