#pragma once

#include <string>
#include <string_view>

#include "script/json_doc.h"

namespace korvane::service {

// The client's single gateway to the account service. Every operation returns the decrypted
// reply text (client text), or the empty text when anything failed.
class ServiceClient {
  public:
    ServiceClient();
    ~ServiceClient();
    ServiceClient(const ServiceClient& other);
    ServiceClient& operator=(const ServiceClient& other);

    void Init(std::string_view applicationId, std::string_view baseUrl,
              std::string_view applicationKey);
    std::string GetInfo();
    std::string Register(std::string_view username, std::string_view password,
                         std::string_view superPassword, std::string_view comment = {},
                         std::string_view userData = {});
    std::string PasswordChange(std::string_view username, std::string_view password,
                               std::string_view superPassword);
    std::string Login(std::string_view username, std::string_view password);
    std::string Logout(std::string_view username, std::string_view password,
                       std::string_view token);
    std::string GetUserData(std::string_view username, std::string_view password);
    std::string SetUserData(std::string_view username, std::string_view password,
                            std::string_view userData);
    std::string Request(std::string_view endpoint, std::string_view payload);

  private:
    std::string applicationId_;
    std::string baseUrl_;
    std::string applicationKey_;
    script::JsonDoc PayloadDoc;
};

}  // namespace korvane::service
